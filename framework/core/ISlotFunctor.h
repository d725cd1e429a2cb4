// Subscriptions to events: a functor the event set clones when subscribing
// and compares when unsubscribing. Applications bind member functions.
#pragma once

#include <new>

namespace WUI {

class EventArgs;

enum { kSlotMemberFunction = 1 };

struct ISlotFunctor {
    virtual ~ISlotFunctor() {}
    // True when the subscriber handled the event.
    virtual bool Invoke(EventArgs& args) = 0;
    // A new copy owned by the caller; null when out of memory.
    virtual ISlotFunctor* Clone() const = 0;
    virtual bool Equal(const ISlotFunctor& other) const = 0;
    virtual int GetSlotType() const = 0;
};

// A member function bool T::fn(EventArgs&) called on one object.
template <class T>
class MemberFunctionSlot : public ISlotFunctor {
public:
    typedef bool (T::*MemberFn)(EventArgs& args);
    MemberFunctionSlot(MemberFn fn, T* obj) : m_fn(fn), m_obj(obj) {}

    bool Invoke(EventArgs& args) override { return (m_obj->*m_fn)(args); }
    ISlotFunctor* Clone() const override { return new (std::nothrow) MemberFunctionSlot(m_fn, m_obj); }
    // Same kind, same class, same function on the same object.
    bool Equal(const ISlotFunctor& other) const override
    {
        if (other.GetSlotType() != kSlotMemberFunction) return false;
        const MemberFunctionSlot* same = dynamic_cast<const MemberFunctionSlot*>(&other);
        return same && same->m_fn == m_fn && same->m_obj == m_obj;
    }
    int GetSlotType() const override { return kSlotMemberFunction; }

private:
    MemberFn m_fn;
    T* m_obj;
};

template <class T>
MemberFunctionSlot<T> Subscriber(bool (T::*fn)(EventArgs&), T* obj)
{
    return MemberFunctionSlot<T>(fn, obj);
}

}  // namespace WUI
