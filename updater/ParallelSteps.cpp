#include "ParallelSteps.h"

#include <windows.h>

#include <atomic>
#include <vector>

namespace {

struct SharedSteps
{
    const std::function<bool(size_t)>& step;
    size_t count;
    std::atomic<size_t> next{0};
    std::atomic<bool> stopped{false};

    void Work()
    {
        for (size_t i; !stopped && (i = next++) < count;)
            if (!step(i))
                stopped = true;
    }
    static DWORD WINAPI ThreadProc(void* self)
    {
        static_cast<SharedSteps*>(self)->Work();
        return 0;
    }
};

} // namespace

unsigned CoreThreads()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    unsigned cores = info.dwNumberOfProcessors;
    return cores < 1 ? 1 : cores > 8 ? 8 : cores;
}

void RunInParallel(size_t count, unsigned threads, const std::function<bool(size_t)>& step)
{
    SharedSteps shared{step, count};
    std::vector<HANDLE> helpers;
    for (unsigned i = 1; i < threads && i < count; ++i) {
        HANDLE thread = CreateThread(nullptr, 0, SharedSteps::ThreadProc, &shared, 0, nullptr);
        if (!thread)
            break;
        helpers.push_back(thread);
    }
    shared.Work();
    for (HANDLE thread : helpers) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}
