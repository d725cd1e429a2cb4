// The 7z decoder's allocator for one archive.
#pragma once

#include "7zTypes.h"

#include <cstddef>
#include <cstdint>

// Hands the decoder blocks while the bytes it holds stay within a cap, and
// owns every block it handed out: the decoder forgets some (a header that
// repeats its names or a time property leaks the earlier copy), and they go
// when this allocator goes. Serves one archive on one thread.
class SzCappedAlloc {
public:
    explicit SzCappedAlloc(size_t cap);
    ~SzCappedAlloc();
    SzCappedAlloc(const SzCappedAlloc&) = delete;
    SzCappedAlloc& operator=(const SzCappedAlloc&) = delete;

    // The decoder-facing interface, for both its main and temporary allocations.
    ISzAllocPtr Get() const { return &vt_; }

    // Bytes handed out and not given back.
    size_t Held() const { return held_; }

    // What one archive of archiveSize bytes may hold at once: LZMA codes at
    // most about 7,600 bytes per byte it reads, so the blocks an archive
    // legitimately needs (a solid block or a packed header, with an
    // executable filter's side streams) fit in 8 KiB per archive byte beside
    // 16 MiB of fixed state (look-ahead buffer, probability tables, a small
    // archive's item arrays). Never more than twice maxUnpacked, plus that state.
    static size_t CapFor(uint64_t archiveSize, uint64_t maxUnpacked);

    // Blocks held by every allocator of the process (what a test checks goes
    // back to where it was).
    static long BlocksInProcess();

private:
    // Header of each block: 16 bytes on the 32-bit target keep the data
    // aligned as malloc's own.
    struct Block {
        Block* prev;
        Block* next;
        size_t size;
        size_t unused;
    };

    static void* AllocCallback(ISzAllocPtr p, size_t size);
    static void FreeCallback(ISzAllocPtr p, void* address);
    void* Alloc(size_t size);
    void Free(void* address);

    ISzAlloc vt_;  // first member: the callbacks find the allocator from it
    Block ring_;   // sentinel of the ring of blocks held
    size_t cap_;
    size_t held_ = 0;
};
