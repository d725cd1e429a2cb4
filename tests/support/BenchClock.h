// Timing for the benchmark programs: a monotonic clock, best-of-three runs and
// one report line per measurement as a ratio against its baseline.
#pragma once

#include <windows.h>

#include <cstdio>

namespace bench {

// Seconds since an arbitrary start.
inline double Now()
{
    static const LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Best of three runs of f, in milliseconds.
template <class F>
double BestOfThreeMs(F f)
{
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        double t0 = Now();
        f();
        double t = (Now() - t0) * 1000;
        if (t < best) best = t;
    }
    return best;
}

// "what  ours … ms  baseline … ms  ratio …"; a zero baseline prints ratio 0.
inline void Report(const char* what, double ours, const char* baseName, double base)
{
    std::printf("%-34s ours %9.2f ms  %-24s %9.2f ms  ratio %.2f\n", what, ours, baseName, base,
                base > 0 ? ours / base : 0.0);
}

}  // namespace bench
