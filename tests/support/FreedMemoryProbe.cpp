#include "support/FreedMemoryProbe.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Ahead of every block: 16 bytes keep the block as aligned as malloc's.
struct Header {
    unsigned magic;
    unsigned size;
    unsigned spare[2];
};
static_assert(sizeof(Header) == 16, "blocks stay 16-byte aligned");

const unsigned kLive = 0x4556494Cu;  // "LIVE"
const unsigned kDead = 0x44414544u;  // "DEAD"

// Objects are small; a few thousand of them held keep a use after free in
// sight for the rest of a test. Larger blocks are poisoned and freed at once.
const int kHeldBlocks = 8192;
const unsigned kHeldMaxSize = 4096;

// Plain data, ready before any constructor runs: the runtime allocates
// before main.
Header* g_held[kHeldBlocks];
int g_nextHeld = 0;
volatile LONG g_lock = 0;
volatile LONG g_doubleDeletes = 0;
volatile LONG g_writesAfterFree = 0;
volatile LONG g_allocations = 0;

class Lock {
public:
    Lock()
    {
        while (InterlockedExchange(&g_lock, 1)) Sleep(0);
    }
    ~Lock() { InterlockedExchange(&g_lock, 0); }
};

unsigned char* Body(Header* h)
{
    return reinterpret_cast<unsigned char*>(h + 1);
}

bool AllPoison(const unsigned char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (p[i] != freedprobe::kPoison) return false;
    return true;
}

// Under the lock.
void Evict(Header* h)
{
    if (!AllPoison(Body(h), h->size)) InterlockedIncrement(&g_writesAfterFree);
    std::free(h);
}

void* Allocate(size_t size)
{
    if (size > 0x7FFFFFF0u) return nullptr;
    Header* h = static_cast<Header*>(std::malloc(sizeof(Header) + (size ? size : 1)));
    if (!h) return nullptr;
    h->magic = kLive;
    h->size = static_cast<unsigned>(size);
    InterlockedIncrement(&g_allocations);
    return h + 1;
}

void Free(void* p)
{
    if (!p) return;
    Header* h = static_cast<Header*>(p) - 1;
    Lock lock;
    if (h->magic == kDead) {
        InterlockedIncrement(&g_doubleDeletes);
        return;
    }
    h->magic = kDead;
    std::memset(Body(h), freedprobe::kPoison, h->size);
    if (h->size > kHeldMaxSize) {
        std::free(h);
        return;
    }
    if (Header* old = g_held[g_nextHeld]) Evict(old);
    g_held[g_nextHeld] = h;
    g_nextHeld = (g_nextHeld + 1) % kHeldBlocks;
}

}  // namespace

namespace freedprobe {

bool Active()
{
    const LONG before = g_allocations;
    char* volatile p = new char;  // volatile: the pair must not be optimised away
    delete p;
    return g_allocations != before;
}

long DoubleDeletes()
{
    return g_doubleDeletes;
}

long WritesAfterFree()
{
    return g_writesAfterFree;
}

void CheckHeld()
{
    Lock lock;
    for (Header*& h : g_held) {
        if (h) Evict(h);
        h = nullptr;
    }
    g_nextHeld = 0;
}

}  // namespace freedprobe

void* operator new(size_t size)
{
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* p) noexcept
{
    Free(p);
}

void operator delete[](void* p) noexcept
{
    Free(p);
}

void operator delete(void* p, size_t) noexcept
{
    Free(p);
}

void operator delete[](void* p, size_t) noexcept
{
    Free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    Free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    Free(p);
}
