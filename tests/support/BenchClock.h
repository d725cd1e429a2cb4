// Timing for the benchmark programs: a monotonic clock, best-of-three runs and
// one report line per measurement as a ratio against its baseline.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>

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

// True when the host file (a path on Wine's Z: drive) starts with text.
inline bool HostFileStartsWith(const wchar_t* path, const char* text)
{
    HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    char head[16] = {};
    DWORD got = 0;
    ReadFile(f, head, sizeof head - 1, &got, nullptr);
    CloseHandle(f);
    return std::strncmp(head, text, std::strlen(text)) == 0;
}

// How this machine runs the benchmark's 32-bit code under Wine: emulated when
// the kernel hands 32-bit programs to qemu (binfmt_misc and its entry both
// enabled, seen through Wine's Z: drive), else natively.
inline const char* ExecutionNote()
{
    bool emulated = HostFileStartsWith(L"Z:\\proc\\sys\\fs\\binfmt_misc\\status", "enabled") &&
                    HostFileStartsWith(L"Z:\\proc\\sys\\fs\\binfmt_misc\\qemu-i386", "enabled");
    return emulated ? "32-bit code runs emulated (qemu)" : "32-bit code runs natively";
}

// "what  ours … ms  baseline … ms  ratio …"; a zero baseline prints ratio 0.
inline void Report(const char* what, double ours, const char* baseName, double base)
{
    std::printf("%-34s ours %9.2f ms  %-24s %9.2f ms  ratio %.2f\n", what, ours, baseName, base,
                base > 0 ? ours / base : 0.0);
}

}  // namespace bench
