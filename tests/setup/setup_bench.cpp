// Archive reader throughput: decodes an archive held in memory and writes
// every entry under a folder (no per-entry pause), timing both steps.
//   setup_bench.exe ARCHIVE OUT_FOLDER
// Prints "note <how 32-bit code runs>", then "open_seconds=<s> write_seconds=<s>
// entries=<n> bytes=<n> peak_mb=<n> start_mb=<n>", start_mb being the
// process's own working set before it read the archive (under an emulator
// this holds the emulator's code cache too).
#include "engine/EntryWriter.h"
#include "engine/SzArchive.h"

#include <windows.h>
#include <psapi.h>

#include "support/BenchClock.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool ReadWholeFile(const wchar_t* path, std::vector<char>& out)
{
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(h, &size) && size.QuadPart < (1ll << 30);
    if (ok) {
        out.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = ReadFile(h, out.data(), static_cast<DWORD>(out.size()), &got, nullptr) && got == out.size();
    }
    CloseHandle(h);
    return ok;
}

double PeakWorkingSetMb()
{
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return memory.PeakWorkingSetSize / 1e6;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: setup_bench ARCHIVE OUT_FOLDER\n");
        return 2;
    }
    std::printf("note %s\n", bench::ExecutionNote());
    const double startMb = PeakWorkingSetMb();
    std::vector<char> packed;
    if (!ReadWholeFile(argv[1], packed)) {
        std::fprintf(stderr, "cannot read the archive\n");
        return 1;
    }
    // The folder may come as a host path ("/work/..."): entries need a full one.
    wchar_t out[MAX_PATH] = {};
    DWORD outChars = GetFullPathNameW(argv[2], MAX_PATH, out, nullptr);
    if (outChars == 0 || outChars >= MAX_PATH) {
        std::fprintf(stderr, "the output folder is not usable\n");
        return 1;
    }
    const double t0 = bench::Now();
    SzArchive archive;
    if (!archive.OpenFromMemory(packed.data(), packed.size())) {
        std::fprintf(stderr, "the archive does not open\n");
        return 1;
    }
    const double t1 = bench::Now();
    unsigned long long bytes = 0;
    CEntryWriter writer(out);
    for (size_t i = 0; i < archive.GetCount(); ++i) {
        const SzArchiveEntry* e = archive.GetEntry(i);
        if (writer.Write(e->name, e->data, e->size) != kExtractOk) {
            std::fprintf(stderr, "writing entry %u failed\n", unsigned(i));
            return 1;
        }
        bytes += e->size;
    }
    const double t2 = bench::Now();
    std::printf("open_seconds=%.3f write_seconds=%.3f entries=%u bytes=%llu peak_mb=%.1f start_mb=%.1f\n", t1 - t0,
                t2 - t1, unsigned(archive.GetCount()), bytes, PeakWorkingSetMb(), startMb);
    return 0;
}
