// The events of one element and their subscribers.
#pragma once

#include "core/EventArgs.h"
#include "core/ISlotFunctor.h"
#include "core/SArray.h"
#include "core/TStringT.h"

namespace WUI {

// One event: its id, name, script handler and subscribers. Subscribers may
// come and go while the event is being fired: the walk covers those present
// when it began, and one unsubscribed meanwhile is skipped and deleted once
// the walk is over (even when it is the one running).
class SEvent {
public:
    // The name must outlive the event (a literal, as the event table's are).
    SEvent(int id, LPCWSTR name) : m_id(id), m_name(name) {}
    ~SEvent();
    SEvent(const SEvent&) = delete;
    SEvent& operator=(const SEvent&) = delete;

    int GetID() const { return m_id; }
    LPCWSTR GetName() const { return m_name; }
    const SStringA& GetScriptHandler() const { return m_script; }
    void SetScriptHandler(const SStringA& handler) { m_script = handler; }

    // Appends a clone of fn; false when an equal subscriber is there or out of memory.
    bool Subscribe(const ISlotFunctor& fn);
    // Removes the first equal subscriber; false when there is none.
    bool Unsubscribe(const ISlotFunctor& fn);
    // Newest subscriber first; each that returns true counts as handled and,
    // once bubbleUp is cleared, ends the walk. One returning false never ends it.
    void Fire(EventArgs& args);
    int GetSubscriberCount() const;

private:
    friend class SEventSet;
    struct Slot {
        ISlotFunctor* fn;
        bool live;
    };
    void Purge();
    // Deletes the event now, or after the walk that is running.
    void Dispose();

    int m_id;
    LPCWSTR m_name;
    SStringA m_script;  // UTF-8
    SArray<Slot> m_slots;
    int m_firing = 0;
    bool m_disposed = false;
};

class SEventSet {
public:
    SEventSet() = default;
    ~SEventSet();
    SEventSet(const SEventSet&) = delete;
    SEventSet& operator=(const SEventSet&) = delete;

    // Appends an event; false when the id is there already or out of memory.
    // The name must outlive the set.
    bool AddEvent(int id, LPCWSTR name);
    template <class E>
    bool AddEvent()
    {
        return AddEvent(EventInfo<E>::id, EventInfo<E>::name());
    }
    // Nothing when there is no such event.
    void RemoveEvent(int id);
    bool IsEventExist(int id) const { return GetEvent(id) != nullptr; }
    // Null when there is no such event.
    SEvent* GetEvent(int id) const;
    // Room for n events without growing.
    void Reserve(int n) { m_events.Grow(n); }

    // False when no event has the id; else the event's Subscribe/Unsubscribe.
    bool SubscribeEvent(int id, const ISlotFunctor& fn);
    bool UnsubscribeEvent(int id, const ISlotFunctor& fn);
    template <class T>
    bool SubscribeEvent(int id, bool (T::*fn)(EventArgs&), T* obj)
    {
        return SubscribeEvent(id, MemberFunctionSlot<T>(fn, obj));
    }
    template <class T>
    bool UnsubscribeEvent(int id, bool (T::*fn)(EventArgs&), T* obj)
    {
        return UnsubscribeEvent(id, MemberFunctionSlot<T>(fn, obj));
    }

    // The event of the arguments' id, when there is one and the set is not muted.
    void FireEvent(EventArgs& args);

    // Of the event with exactly that name; false (nothing stored) when none has it.
    bool SetScriptHandler(LPCWSTR eventName, const SStringA& handler);
    // Empty when no event has the name.
    SStringA GetScriptHandler(LPCWSTR eventName) const;

    void SetMuted(bool muted) { m_muted = muted; }
    bool IsMuted() const { return m_muted; }

private:
    SEvent* GetEventByName(LPCWSTR name) const;

    SArray<SEvent*> m_events;
    bool m_muted = false;
};

}  // namespace WUI
