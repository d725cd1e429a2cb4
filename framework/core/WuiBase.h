// Base of the framework: the allocation functions every string, container and
// XML document goes through, and the result values of attribute handlers.
#pragma once

#include <windows.h>

#include <cstddef>

// Attribute handlers and container arithmetic report these (from the platform).
static_assert(S_OK == 0 && S_FALSE == 1, "result values of attribute handlers");
static_assert(E_FAIL == static_cast<HRESULT>(0x80004005L), "unknown attribute");

namespace WUI {

// Thin wrappers over the C runtime heap; each returns null on failure.
void* MemAlloc(size_t size);
void* MemCalloc(size_t count, size_t size);
// Null `ptr` allocates; on failure the old block stays valid and null returns.
// Size 0 frees the block and returns null.
void* MemRealloc(void* ptr, size_t size);
// Null is ignored.
void MemFree(void* ptr);

// Blocks handed out and not yet freed: the leak check of the tests reads it.
long MemLiveBlocks();

// Makes the allocation after `count` more successful ones fail (and every one
// after it), so tests can reach the failure paths; a negative count ends it.
void MemFailAfter(long count);

// Overflow-tested size arithmetic; false (result untouched) on overflow.
bool SizeMul(size_t a, size_t b, size_t* result);
bool SizeAdd(size_t a, size_t b, size_t* result);

} // namespace WUI
