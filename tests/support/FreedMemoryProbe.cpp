#include "support/FreedMemoryProbe.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Ahead of every heap block: 16 bytes keep the block as aligned as malloc's.
struct Header {
    unsigned magic;
    unsigned size;
    unsigned spare[2];
};
static_assert(sizeof(Header) == 16, "blocks stay 16-byte aligned");

const unsigned kLive = 0x4556494Cu;  // "LIVE"
const unsigned kDead = 0x44414544u;  // "DEAD"

// Objects are small; thousands of them held keep a use after free in sight
// for the rest of a test. Larger blocks are poisoned and freed at once.
const int kHeldBlocks = 16384;
const unsigned kHeldMaxSize = 64u << 10;
const size_t kHeldMaxBytes = size_t(32) << 20;

const size_t kPage = 4096;
// Address space for the objects made while armed; never given back, since
// an object made there may be deleted long after.
const size_t kArenaBytes = size_t(192) << 20;
const size_t kArenaPages = kArenaBytes / kPage;
// Larger objects come from the heap even while armed.
const size_t kMaxArenaObject = size_t(64) << 10;

enum PageState : unsigned char { kUnused = 0, kLiveStart, kFreedStart, kInside };

// Plain data, ready before any constructor runs: the runtime makes and
// deletes objects before main and after it.
volatile LONG g_lock = 0;
volatile LONG g_armed = 0;
volatile LONG g_doubleDeletes = 0;
volatile LONG g_writesAfterFree = 0;
volatile LONG g_allocations = 0;
Header* g_held[kHeldBlocks];
int g_nextHeld = 0;
size_t g_heldBytes = 0;
char* g_arena = nullptr;
size_t g_arenaUsed = 0;  // pages
unsigned char g_pageState[kArenaPages];
unsigned short g_pageCount[kArenaPages];  // of an object, at its first page

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

unsigned char* Body(Header* h) { return reinterpret_cast<unsigned char*>(h + 1); }

bool AllPoison(const unsigned char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (p[i] != FreedMemoryProbe::kPoison) return false;
    return true;
}

bool InArena(const void* p)
{
    const char* c = static_cast<const char*>(p);
    return g_arena && c >= g_arena && c < g_arena + kArenaBytes;
}

size_t PageOf(const void* p) { return static_cast<size_t>(static_cast<const char*>(p) - g_arena) / kPage; }

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
void Evict(int at)
{
    Header* h = g_held[at];
    if (!h) return;
    if (!AllPoison(Body(h), h->size)) ::InterlockedIncrement(&g_writesAfterFree);
    g_heldBytes -= h->size;
    g_held[at] = nullptr;
    std::free(h);
}

// Under the lock.
void Hold(Header* h)
{
    while (g_held[g_nextHeld] || g_heldBytes + h->size > kHeldMaxBytes) {
        Evict(g_nextHeld);
        g_nextHeld = (g_nextHeld + 1) % kHeldBlocks;
    }
    g_held[g_nextHeld] = h;
    g_heldBytes += h->size;
    g_nextHeld = (g_nextHeld + 1) % kHeldBlocks;
}

void* HeapAllocate(size_t size)
{
    if (size > 0x7FFFFFF0u) return nullptr;
    Header* h = static_cast<Header*>(std::malloc(sizeof(Header) + (size ? size : 1)));
    if (!h) return nullptr;
    h->magic = kLive;
    h->size = static_cast<unsigned>(size);
    return h + 1;
}

void* Allocate(size_t size)
{
    ::InterlockedIncrement(&g_allocations);
    if (g_armed) {
        SpinLock lock;
        if (void* p = ArenaAllocate(size)) return p;
    }
    return HeapAllocate(size);
}

void Delete(void* p)
{
    if (!p) return;
    SpinLock lock;
    if (InArena(p)) {
        // Its own pages tell for sure: no heap behind it to keep going with.
        if (!ArenaDelete(p)) DeletedTwice(p);
        return;
    }
    Header* h = static_cast<Header*>(p) - 1;
    if (h->magic != kLive) {
        ::InterlockedIncrement(&g_doubleDeletes);
        return;
    }
    h->magic = kDead;
    std::memset(Body(h), FreedMemoryProbe::kPoison, h->size);
    if (h->size > kHeldMaxSize) {
        std::free(h);
        return;
    }
    Hold(h);
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

FreedMemoryProbe::FreedMemoryProbe() { ::InterlockedExchange(&g_armed, 1); }

FreedMemoryProbe::~FreedMemoryProbe() { ::InterlockedExchange(&g_armed, 0); }

bool FreedMemoryProbe::IsFreed(const void* p)
{
    if (!p) return false;
    SpinLock lock;
    if (InArena(p)) return reinterpret_cast<UINT_PTR>(p) % kPage == 0 && g_pageState[PageOf(p)] == kFreedStart;
    const Header* h = static_cast<const Header*>(p) - 1;
    for (const Header* held : g_held)
        if (held == h) return true;
    return false;
}

bool FreedMemoryProbe::Linked()
{
    const LONG before = g_allocations;
    char* volatile p = new char;  // volatile: the pair must not be optimised away
    delete p;
    return g_allocations != before;
}

long FreedMemoryProbe::DoubleDeletes() { return g_doubleDeletes; }

long FreedMemoryProbe::WritesAfterFree() { return g_writesAfterFree; }

void FreedMemoryProbe::CheckHeld()
{
    SpinLock lock;
    for (int i = 0; i < kHeldBlocks; ++i) Evict(i);
    g_nextHeld = 0;
}

void* operator new(std::size_t size) { return AllocateOrThrow(size); }

void* operator new[](std::size_t size) { return AllocateOrThrow(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void operator delete(void* p) noexcept { Delete(p); }

void operator delete[](void* p) noexcept { Delete(p); }

void operator delete(void* p, std::size_t) noexcept { Delete(p); }

void operator delete[](void* p, std::size_t) noexcept { Delete(p); }

void operator delete(void* p, const std::nothrow_t&) noexcept { Delete(p); }

void operator delete[](void* p, const std::nothrow_t&) noexcept { Delete(p); }
