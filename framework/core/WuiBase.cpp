#include "core/WuiBase.h"

#include <pugixml.hpp>

#include <cstdlib>

namespace WUI {

namespace {

volatile LONG g_liveBlocks = 0;
volatile LONG g_failAfter = -1;

// True when the test hook says this allocation must fail.
bool InjectFailure()
{
    if (g_failAfter < 0) return false;
    if (g_failAfter == 0) return true;
    InterlockedDecrement(&g_failAfter);
    return false;
}

void* Counted(void* p)
{
    if (p) InterlockedIncrement(&g_liveBlocks);
    return p;
}

// pugixml's hooks point at the wrappers before any document exists.
struct XmlHooks {
    XmlHooks() { pugi::set_memory_management_functions(&MemAlloc, &MemFree); }
} g_xmlHooks __attribute__((init_priority(101)));

} // namespace

void* MemAlloc(size_t size)
{
    if (InjectFailure()) return nullptr;
    return Counted(std::malloc(size ? size : 1));
}

void* MemCalloc(size_t count, size_t size)
{
    if (InjectFailure()) return nullptr;
    size_t total;
    if (!SizeMul(count, size, &total)) return nullptr;
    return Counted(std::calloc(total ? total : 1, 1));
}

void* MemRealloc(void* ptr, size_t size)
{
    if (!ptr) return MemAlloc(size);
    if (size == 0) {
        MemFree(ptr);
        return nullptr;
    }
    if (InjectFailure()) return nullptr;
    return std::realloc(ptr, size);
}

void MemFree(void* ptr)
{
    if (!ptr) return;
    InterlockedDecrement(&g_liveBlocks);
    std::free(ptr);
}

long MemLiveBlocks()
{
    return g_liveBlocks;
}

void MemFailAfter(long count)
{
    InterlockedExchange(&g_failAfter, count < 0 ? -1 : count);
}

bool SizeMul(size_t a, size_t b, size_t* result)
{
    if (a != 0 && b > static_cast<size_t>(-1) / a) return false;
    *result = a * b;
    return true;
}

bool SizeAdd(size_t a, size_t b, size_t* result)
{
    if (b > static_cast<size_t>(-1) - a) return false;
    *result = a + b;
    return true;
}

} // namespace WUI
