#pragma once
// Reference counting for render objects. Stands in for the framework's
// core reference counting until that lands; same names and slot order.
#include <windows.h>

namespace WUI {

#ifndef WUI_CORE_OBJREF_DEFINED
#define WUI_CORE_OBJREF_DEFINED
struct IObjRef {
    virtual long AddRef() = 0;
    virtual long Release() = 0;
    virtual void OnFinalRelease() = 0;
};

// Count starts at 1: a new object is owned by its creator.
template <class T>
class TObjRefImpl : public T {
public:
    TObjRefImpl() = default;
    TObjRefImpl(const TObjRefImpl&) = delete;
    TObjRefImpl& operator=(const TObjRefImpl&) = delete;
    virtual ~TObjRefImpl() = default;
    long AddRef() override { return InterlockedIncrement(&m_cRef); }
    long Release() override {
        long n = InterlockedDecrement(&m_cRef);
        if (n == 0) OnFinalRelease();
        return n;
    }
    void OnFinalRelease() override { delete this; }

private:
    volatile LONG m_cRef = 1;
};
#endif

// Owning smart pointer: adopts a reference on construction from a raw pointer.
template <class T>
class SAutoRefPtr {
public:
    SAutoRefPtr() = default;
    explicit SAutoRefPtr(T* p, bool addRef = false) : m_p(p) { if (m_p && addRef) m_p->AddRef(); }
    SAutoRefPtr(const SAutoRefPtr& o) : m_p(o.m_p) { if (m_p) m_p->AddRef(); }
    SAutoRefPtr& operator=(const SAutoRefPtr& o) { Set(o.m_p); return *this; }
    ~SAutoRefPtr() { if (m_p) m_p->Release(); }
    // Stores p with a reference of its own; the same pointer again does nothing.
    void Set(T* p) {
        if (p == m_p) return;
        if (p) p->AddRef();
        T* old = m_p;
        m_p = p;
        if (old) old->Release();
    }
    // Takes over the caller's reference.
    void Attach(T* p) { if (m_p) m_p->Release(); m_p = p; }
    T* Detach() { T* p = m_p; m_p = nullptr; return p; }
    T* Get() const { return m_p; }
    T** Receive() { Attach(nullptr); return &m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

}  // namespace WUI
