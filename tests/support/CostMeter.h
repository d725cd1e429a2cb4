// What one call cost: how far the C runtime heap rose above where it stood
// when the meter started, at its highest, and the calling thread's CPU time.
// A test program gets the heap count by linking orvo_cost_meter, which routes
// malloc, calloc, realloc and free (and so operator new) through a counter;
// what the platform's DLLs allocate for themselves is not seen.
#pragma once

#include <cstdint>

class CostMeter {
public:
    CostMeter();
    // Bytes the live heap rose above its level at construction, at its highest since.
    int64_t PeakRise() const;
    // Bytes the live heap stands above that level now.
    int64_t Rise() const;
    // Milliseconds of CPU time the constructing thread has spent since.
    double CpuMs() const;

private:
    int64_t startLive_;
    uint64_t startCpu_;
};
