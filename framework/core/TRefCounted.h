#pragma once
#include <windows.h>

namespace WUI {

// Interlocked reference count over an interface that declares AddRef, Release
// and OnFinalRelease; born with count 1, deleted by the release to 0.
template <class I> class TRefCounted : public I {
public:
    long AddRef() override { return InterlockedIncrement(&m_ref); }
    long Release() override
    {
        long n = InterlockedDecrement(&m_ref);
        if (n == 0)
            this->OnFinalRelease();
        return n;
    }
    void OnFinalRelease() override { delete this; }

protected:
    virtual ~TRefCounted() = default;

private:
    volatile LONG m_ref = 1;
};

// Holds one reference to an interface; replacing or dropping it releases the old one.
template <class T> class SRefPtr {
public:
    SRefPtr() = default;
    // Takes an extra reference.
    SRefPtr(T *p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    SRefPtr(const SRefPtr &o) : SRefPtr(o.m_p) {}
    ~SRefPtr() { Reset(nullptr); }
    SRefPtr &operator=(const SRefPtr &o)
    {
        Reset(o.m_p);
        return *this;
    }
    // Adopts a pointer whose reference the caller hands over.
    static SRefPtr Adopt(T *p)
    {
        SRefPtr r;
        r.m_p = p;
        return r;
    }
    // Same pointer: nothing; otherwise add-refs the new, releases the old.
    void Reset(T *p)
    {
        if (p == m_p)
            return;
        if (p)
            p->AddRef();
        T *old = m_p;
        m_p = p;
        if (old)
            old->Release();
    }
    T *Get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T *m_p = nullptr;
};

} // namespace WUI
