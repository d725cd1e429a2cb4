#include "support/FreedMemoryProbe.h"

#include <windows.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

const size_t kPage = 4096;
// Address space for the objects made while armed; never given back, since
// an object made there may be deleted long after.
const size_t kArenaBytes = size_t(192) << 20;
const size_t kArenaPages = kArenaBytes / kPage;
// Larger objects come from the heap and are poisoned instead.
const size_t kMaxArenaObject = size_t(64) << 10;
// Poisoned blocks held back at most; the oldest goes back first.
const int kMaxHeld = 16384;
const size_t kMaxHeldBytes = size_t(32) << 20;

enum PageState : unsigned char { kUnused = 0, kLiveStart, kFreedStart, kInside };

// Plain data, ready before any constructor runs: the runtime makes and
// deletes objects before main and after it.
volatile LONG g_lock = 0;
volatile LONG g_armed = 0;
char* g_arena = nullptr;
size_t g_arenaUsed = 0;  // pages
unsigned char g_pageState[kArenaPages];
unsigned short g_pageCount[kArenaPages];  // of an object, at its first page
void* g_held[kMaxHeld];
size_t g_sizes[kMaxHeld];
int g_first = 0;
int g_count = 0;
size_t g_heldBytes = 0;

// Objects are made and deleted on any thread; nothing here may allocate.
class SpinLock {
public:
    SpinLock()
    {
        while (::InterlockedExchange(&g_lock, 1)) ::Sleep(0);
    }
    ~SpinLock() { ::InterlockedExchange(&g_lock, 0); }
};

[[noreturn]] void DeletedTwice(const void* p)
{
    std::fprintf(stderr, "FreedMemoryProbe: the object at %p is not alive: deleted twice?\n", p);
    std::fflush(stderr);
    std::abort();
}

bool InArena(const void* p)
{
    const char* c = static_cast<const char*>(p);
    return g_arena && c >= g_arena && c < g_arena + kArenaBytes;
}

size_t PageOf(const void* p)
{
    return static_cast<size_t>(static_cast<const char*>(p) - g_arena) / kPage;
}

// Under the lock; null when the arena cannot take it.
void* ArenaAllocate(size_t size)
{
    if (!g_arena) g_arena = static_cast<char*>(::VirtualAlloc(nullptr, kArenaBytes, MEM_RESERVE, PAGE_NOACCESS));
    const size_t pages = (size + kPage - 1) / kPage + (size == 0);
    if (!g_arena || size > kMaxArenaObject || g_arenaUsed + pages > kArenaPages) return nullptr;
    void* p = ::VirtualAlloc(g_arena + g_arenaUsed * kPage, pages * kPage, MEM_COMMIT, PAGE_READWRITE);
    if (!p) return nullptr;
    g_pageState[g_arenaUsed] = kLiveStart;
    g_pageCount[g_arenaUsed] = static_cast<unsigned short>(pages);
    for (size_t i = 1; i < pages; ++i) g_pageState[g_arenaUsed + i] = kInside;
    g_arenaUsed += pages;
    return p;
}

// Under the lock; false when p is not a live object of the arena.
bool ArenaDelete(void* p)
{
    const size_t page = PageOf(p);
    if (reinterpret_cast<UINT_PTR>(p) % kPage != 0 || g_pageState[page] != kLiveStart) return false;
    ::VirtualFree(p, g_pageCount[page] * kPage, MEM_DECOMMIT);
    g_pageState[page] = kFreedStart;
    return true;
}

// Under the lock.
int FindHeld(const void* p)
{
    for (int i = 0; i < g_count; ++i)
        if (g_held[(g_first + i) % kMaxHeld] == p) return (g_first + i) % kMaxHeld;
    return -1;
}

bool StartsPoisoned(const void* p, size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < size && i < sizeof(void*); ++i)
        if (bytes[i] != FreedMemoryProbe::kPoison) return false;
    return size > 0;
}

// Under the lock.
void ReleaseOldest()
{
    std::free(g_held[g_first]);
    g_heldBytes -= g_sizes[g_first];
    g_first = (g_first + 1) % kMaxHeld;
    --g_count;
}

// Under the lock; false when p is held already.
bool Hold(void* p)
{
    const size_t size = _msize(p);
    if (StartsPoisoned(p, size) && FindHeld(p) >= 0) return false;
    std::memset(p, FreedMemoryProbe::kPoison, size);
    if (size > kMaxHeldBytes) {
        std::free(p);
        return true;
    }
    while (g_count == kMaxHeld || g_heldBytes + size > kMaxHeldBytes) ReleaseOldest();
    const int at = (g_first + g_count) % kMaxHeld;
    g_held[at] = p;
    g_sizes[at] = size;
    g_heldBytes += size;
    ++g_count;
    return true;
}

void* Allocate(size_t size)
{
    if (g_armed) {
        SpinLock lock;
        if (void* p = ArenaAllocate(size)) return p;
    }
    return std::malloc(size ? size : 1);
}

void Delete(void* p)
{
    if (!p) return;
    if (InArena(p)) {
        bool deleted;
        {
            SpinLock lock;
            deleted = ArenaDelete(p);
        }
        if (!deleted) DeletedTwice(p);
        return;
    }
    if (!g_armed) {
        std::free(p);
        return;
    }
    bool held;
    {
        SpinLock lock;
        held = Hold(p);
    }
    if (!held) DeletedTwice(p);
}

void* AllocateOrThrow(size_t size)
{
    for (;;) {
        if (void* p = Allocate(size)) return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

}  // namespace

FreedMemoryProbe::FreedMemoryProbe()
{
    ::InterlockedExchange(&g_armed, 1);
}

FreedMemoryProbe::~FreedMemoryProbe()
{
    ::InterlockedExchange(&g_armed, 0);
    SpinLock lock;
    while (g_count > 0) ReleaseOldest();
}

bool FreedMemoryProbe::IsFreed(const void* p)
{
    if (!p) return false;
    SpinLock lock;
    if (InArena(p)) return reinterpret_cast<UINT_PTR>(p) % kPage == 0 && g_pageState[PageOf(p)] == kFreedStart;
    return FindHeld(p) >= 0;
}

void* operator new(std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new[](std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* p) noexcept
{
    Delete(p);
}

void operator delete[](void* p) noexcept
{
    Delete(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    Delete(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    Delete(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    Delete(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    Delete(p);
}
