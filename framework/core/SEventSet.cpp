#include "core/SEventSet.h"

#include <cwchar>
#include <new>

namespace WUI {

SEvent::~SEvent()
{
    for (int i = 0; i < m_slots.GetCount(); ++i) delete m_slots[i].fn;
}

bool SEvent::Subscribe(const ISlotFunctor& fn)
{
    for (int i = 0; i < m_slots.GetCount(); ++i)
        if (m_slots[i].live && m_slots[i].fn->Equal(fn)) return false;
    ISlotFunctor* copy = fn.Clone();
    if (!copy) return false;
    if (m_slots.Add(Slot{copy, true}) < 0) {
        delete copy;
        return false;
    }
    return true;
}

bool SEvent::Unsubscribe(const ISlotFunctor& fn)
{
    for (int i = 0; i < m_slots.GetCount(); ++i) {
        if (!m_slots[i].live || !m_slots[i].fn->Equal(fn)) continue;
        if (m_firing) {
            m_slots[i].live = false;  // a walk may be running it: deleted after the walk
        } else {
            delete m_slots[i].fn;
            m_slots.RemoveAt(i);
        }
        return true;
    }
    return false;
}

int SEvent::GetSubscriberCount() const
{
    int n = 0;
    for (int i = 0; i < m_slots.GetCount(); ++i) n += m_slots[i].live;
    return n;
}

void SEvent::Fire(EventArgs& args)
{
    ++m_firing;
    // Slots are never removed during a walk, so the indexes below stay valid;
    // subscribers added meanwhile sit above the start and are not called.
    for (int i = m_slots.GetCount() - 1; i >= 0; --i) {
        if (!m_slots[i].live) continue;
        ISlotFunctor* fn = m_slots[i].fn;
        if (fn->Invoke(args)) {
            ++args.handled;
            if (!args.bubbleUp) break;
        }
    }
    if (--m_firing) return;
    if (m_disposed) {
        delete this;
        return;
    }
    Purge();
}

void SEvent::Purge()
{
    for (int i = m_slots.GetCount() - 1; i >= 0; --i) {
        if (m_slots[i].live) continue;
        delete m_slots[i].fn;
        m_slots.RemoveAt(i);
    }
}

void SEvent::Dispose()
{
    if (m_firing) m_disposed = true;
    else delete this;
}

SEventSet::~SEventSet()
{
    for (int i = 0; i < m_events.GetCount(); ++i) m_events[i]->Dispose();
}

bool SEventSet::AddEvent(int id, LPCWSTR name)
{
    if (IsEventExist(id)) return false;
    SEvent* event = new (std::nothrow) SEvent(id, name ? name : L"");
    if (!event) return false;
    if (m_events.Add(event) < 0) {
        delete event;
        return false;
    }
    return true;
}

void SEventSet::RemoveEvent(int id)
{
    for (int i = 0; i < m_events.GetCount(); ++i) {
        if (m_events[i]->GetID() != id) continue;
        SEvent* event = m_events[i];
        m_events.RemoveAt(i);
        event->Dispose();
        return;
    }
}

SEvent* SEventSet::GetEvent(int id) const
{
    for (int i = 0; i < m_events.GetCount(); ++i)
        if (m_events[i]->GetID() == id) return m_events[i];
    return nullptr;
}

SEvent* SEventSet::GetEventByName(LPCWSTR name) const
{
    if (!name) return nullptr;
    for (int i = 0; i < m_events.GetCount(); ++i)
        if (wcscmp(m_events[i]->GetName(), name) == 0) return m_events[i];
    return nullptr;
}

bool SEventSet::SubscribeEvent(int id, const ISlotFunctor& fn)
{
    SEvent* event = GetEvent(id);
    return event && event->Subscribe(fn);
}

bool SEventSet::UnsubscribeEvent(int id, const ISlotFunctor& fn)
{
    SEvent* event = GetEvent(id);
    return event && event->Unsubscribe(fn);
}

void SEventSet::FireEvent(EventArgs& args)
{
    if (m_muted) return;
    if (SEvent* event = GetEvent(args.GetId())) event->Fire(args);
}

bool SEventSet::SetScriptHandler(LPCWSTR eventName, const SStringA& handler)
{
    SEvent* event = GetEventByName(eventName);
    if (!event) return false;
    event->SetScriptHandler(handler);
    return true;
}

SStringA SEventSet::GetScriptHandler(LPCWSTR eventName) const
{
    SEvent* event = GetEventByName(eventName);
    return event ? event->GetScriptHandler() : SStringA();
}

}  // namespace WUI
