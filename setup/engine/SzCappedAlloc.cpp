#include "engine/SzCappedAlloc.h"

#include <windows.h>

#include <cstdlib>

namespace {

const uint64_t kBytesPerArchiveByte = 8192;
const uint64_t kFixedState = 16u << 20;

volatile LONG g_blocks = 0;

}  // namespace

SzCappedAlloc::SzCappedAlloc(size_t cap) : cap_(cap)
{
    vt_.Alloc = AllocCallback;
    vt_.Free = FreeCallback;
    ring_.prev = ring_.next = &ring_;
    ring_.size = 0;
}

SzCappedAlloc::~SzCappedAlloc()
{
    while (ring_.next != &ring_) Free(ring_.next + 1);
}

size_t SzCappedAlloc::CapFor(uint64_t archiveSize, uint64_t maxUnpacked)
{
    uint64_t most = 2 * maxUnpacked;
    uint64_t scaled = archiveSize < most / kBytesPerArchiveByte ? archiveSize * kBytesPerArchiveByte : most;
    uint64_t cap = scaled + kFixedState;
    return cap < SIZE_MAX ? static_cast<size_t>(cap) : SIZE_MAX;
}

long SzCappedAlloc::BlocksInProcess() { return g_blocks; }

void* SzCappedAlloc::AllocCallback(ISzAllocPtr p, size_t size)
{
    return const_cast<SzCappedAlloc*>(reinterpret_cast<const SzCappedAlloc*>(p))->Alloc(size);
}

void SzCappedAlloc::FreeCallback(ISzAllocPtr p, void* address)
{
    const_cast<SzCappedAlloc*>(reinterpret_cast<const SzCappedAlloc*>(p))->Free(address);
}

void* SzCappedAlloc::Alloc(size_t size)
{
    if (size > cap_ - held_ || size > SIZE_MAX - sizeof(Block)) return nullptr;
    Block* b = static_cast<Block*>(std::malloc(sizeof(Block) + size));
    if (!b) return nullptr;
    b->size = size;
    b->next = ring_.next;
    b->prev = &ring_;
    ring_.next->prev = b;
    ring_.next = b;
    held_ += size;
    InterlockedIncrement(&g_blocks);
    return b + 1;
}

void SzCappedAlloc::Free(void* address)
{
    if (!address) return;
    Block* b = static_cast<Block*>(address) - 1;
    b->prev->next = b->next;
    b->next->prev = b->prev;
    held_ -= b->size;
    InterlockedDecrement(&g_blocks);
    std::free(b);
}
