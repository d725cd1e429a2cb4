#include "support/CostMeter.h"

#include <windows.h>

#include <malloc.h>

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);
}

namespace {

// Plain integers, ready before any constructor runs: the runtime allocates
// before main.
volatile LONG64 g_live = 0;
volatile LONG64 g_peak = 0;

// A whole 64-bit read on a 32-bit machine.
LONG64 Read(volatile LONG64* v) { return InterlockedCompareExchange64(v, 0, 0); }

void Count(int64_t delta)
{
    LONG64 live = InterlockedExchangeAdd64(&g_live, delta) + delta;
    LONG64 peak = Read(&g_peak);
    while (live > peak) {
        LONG64 seen = InterlockedCompareExchange64(&g_peak, live, peak);
        if (seen == peak) break;
        peak = seen;
    }
}

uint64_t ThreadCpu100ns()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return ticks(kernel) + ticks(user);
}

}  // namespace

extern "C" {

void* __wrap_malloc(size_t size)
{
    void* p = __real_malloc(size);
    if (p) Count(int64_t(_msize(p)));
    return p;
}

void* __wrap_calloc(size_t count, size_t size)
{
    void* p = __real_calloc(count, size);
    if (p) Count(int64_t(_msize(p)));
    return p;
}

void* __wrap_realloc(void* block, size_t size)
{
    int64_t old = block ? int64_t(_msize(block)) : 0;
    void* p = __real_realloc(block, size);
    if (p) Count(int64_t(_msize(p)) - old);
    else if (block && size == 0) Count(-old);
    return p;
}

void __wrap_free(void* block)
{
    if (block) Count(-int64_t(_msize(block)));
    __real_free(block);
}

}  // extern "C"

CostMeter::CostMeter() : startLive_(Read(&g_live)), startCpu_(ThreadCpu100ns())
{
    // The peak restarts here; a measurement runs on one thread at a time.
    InterlockedExchange64(&g_peak, startLive_);
}

int64_t CostMeter::PeakRise() const { return Read(&g_peak) - startLive_; }

int64_t CostMeter::Rise() const { return Read(&g_live) - startLive_; }

double CostMeter::CpuMs() const { return double(ThreadCpu100ns() - startCpu_) / 10000.0; }
