#include "engine/WorkerThread.h"

CWorkerThread::CWorkerThread() : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CWorkerThread::~CWorkerThread() { Stop(); }

bool CWorkerThread::Start(std::function<void()> body)
{
    if (!stop_.Valid() || (thread_.Valid() && !Wait(0))) return false;
    ResetEvent(stop_.Get());
    body_ = std::move(body);
    thread_.Reset(CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
    return thread_.Valid();
}

void CWorkerThread::Stop()
{
    if (!thread_.Valid()) return;
    SetEvent(stop_.Get());
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
}

void CWorkerThread::RequestStop()
{
    if (stop_.Valid()) SetEvent(stop_.Get());
}

bool CWorkerThread::Wait(DWORD ms) const
{
    return !thread_.Valid() || WaitForSingleObject(thread_.Get(), ms) == WAIT_OBJECT_0;
}

bool CWorkerThread::Pause(DWORD ms) const { return WaitForSingleObject(stop_.Get(), ms) == WAIT_TIMEOUT; }

DWORD WINAPI CWorkerThread::ThreadProc(void* self)
{
    static_cast<CWorkerThread*>(self)->body_();
    return 0;
}
