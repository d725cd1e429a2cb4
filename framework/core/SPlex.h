// Chain of node blocks for the list and the maps: blocks are pushed on the
// front and freed only all at once.
#pragma once

#include "core/WuiBase.h"

namespace WUI {

struct SPlex {
    SPlex* pNext;

    void* data() { return this + 1; }
    // Pushes a block of `count` elements of `elementSize` bytes on `head`;
    // null (chain unchanged) when the size does not fit or allocation fails.
    static SPlex* Create(SPlex*& head, size_t count, size_t elementSize)
    {
        size_t bytes;
        if (!SizeMul(count, elementSize, &bytes) || !SizeAdd(bytes, sizeof(SPlex), &bytes) ||
            bytes > 0xFFFFFFFFu)
            return nullptr;
        SPlex* p = static_cast<SPlex*>(MemAlloc(bytes));
        if (!p) return nullptr;
        p->pNext = head;
        head = p;
        return p;
    }
    // Frees this block and every block behind it.
    void FreeDataChain()
    {
        SPlex* p = this;
        while (p) {
            SPlex* next = p->pNext;
            MemFree(p);
            p = next;
        }
    }
};

} // namespace WUI
