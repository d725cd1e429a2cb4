// Reference counting of every shared object: born with count 1 (owned by its
// creator), destroyed by the Release that brings the count to 0.
#pragma once

#include "core/WuiBase.h"

namespace WUI {

struct IObjRef {
    virtual long AddRef() = 0;
    virtual long Release() = 0;
    virtual void OnFinalRelease() = 0;
};

template <class T>
class TObjRefImpl : public T {
public:
    TObjRefImpl() : m_cRef(1) {}
    TObjRefImpl(const TObjRefImpl&) = delete;
    TObjRefImpl& operator=(const TObjRefImpl&) = delete;

    long AddRef() override { return InterlockedIncrement(&m_cRef); }
    // The new count; 0 after the final release, which destroyed the object.
    long Release() override
    {
        long count = InterlockedDecrement(&m_cRef);
        if (count == 0) OnFinalRelease();
        return count;
    }
    void OnFinalRelease() override { delete this; }
    virtual ~TObjRefImpl() {}

protected:
    volatile LONG m_cRef;
};

// For classes whose count lives in a base: the final release deletes the
// outer object `T2`.
template <class T, class T2>
class TObjRefImpl2 : public TObjRefImpl<T> {
public:
    void OnFinalRelease() override { delete static_cast<T2*>(this); }
};

} // namespace WUI
