// A worker thread that can be asked to stop between steps and waited for.
#pragma once

#include "syshelpers/WinHandles.h"

#include <functional>

class CWorkerThread {
public:
    CWorkerThread();
    // Stops and waits for a running thread.
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Runs body on a new thread. False when a thread is already running or
    // cannot be created (body does not run then).
    bool Start(std::function<void()> body);

    // Asks the body to stop and waits until it has returned.
    void Stop();

    // Asks the body to stop and returns at once; Wait tells when it has.
    void RequestStop();

    // Waits up to ms for the body to return; true when it has (or never ran).
    bool Wait(DWORD ms) const;

    // For the body: waits ms, returning false at once when a stop was asked.
    bool Pause(DWORD ms) const;

private:
    static DWORD WINAPI ThreadProc(void* self);

    UniqueHandle stop_;
    UniqueHandle thread_;
    std::function<void()> body_;
};
