#pragma once
#include <windows.h>

namespace WUI {

// A Win32 critical section; re-entrant on its owning thread.
class SCriticalSection {
public:
    SCriticalSection() { InitializeCriticalSection(&m_cs); }
    virtual ~SCriticalSection() { DeleteCriticalSection(&m_cs); }
    SCriticalSection(const SCriticalSection &) = delete;
    SCriticalSection &operator=(const SCriticalSection &) = delete;

    void Enter() { EnterCriticalSection(&m_cs); }
    void Leave() { LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

// Holds a critical section for the lifetime of the guard.
class SAutoLock {
public:
    explicit SAutoLock(SCriticalSection &cs) : m_cs(cs) { m_cs.Enter(); }
    ~SAutoLock() { m_cs.Leave(); }
    SAutoLock(const SAutoLock &) = delete;
    SAutoLock &operator=(const SAutoLock &) = delete;

private:
    SCriticalSection &m_cs;
};

} // namespace WUI
