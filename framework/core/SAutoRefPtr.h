// Holder of one reference to an IObjRef object: add-refs what it stores,
// releases what it replaces or drops; storing the held pointer does nothing.
#pragma once

#include "core/IObjRef.h"

namespace WUI {

template <class T>
class SAutoRefPtr {
public:
    SAutoRefPtr() = default;
    SAutoRefPtr(T* p) : m_p(p)
    {
        if (m_p) m_p->AddRef();
    }
    SAutoRefPtr(const SAutoRefPtr& other) : SAutoRefPtr(other.m_p) {}
    ~SAutoRefPtr()
    {
        if (m_p) m_p->Release();
    }
    SAutoRefPtr& operator=(const SAutoRefPtr& other)
    {
        Set(other.m_p);
        return *this;
    }
    SAutoRefPtr& operator=(T* p)
    {
        Set(p);
        return *this;
    }
    // Takes over the caller's reference (e.g. of a new object) without AddRef.
    void Attach(T* p)
    {
        if (m_p) m_p->Release();
        m_p = p;
    }
    // Hands the reference to the caller.
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }
    T* get() const { return m_p; }

private:
    void Set(T* p)
    {
        if (p == m_p) return;
        if (p) p->AddRef();
        T* old = m_p;
        m_p = p;
        if (old) old->Release();
    }

    T* m_p = nullptr;
};

} // namespace WUI
