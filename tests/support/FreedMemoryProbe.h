// A probe for use after free on a toolchain without a sanitizer. While a
// FreedMemoryProbe lives, every C++ object the program makes gets pages of
// its own, and deleting it takes the pages away: a stale pointer that reads
// or writes the object faults at once, instead of finding the old object or
// a newer one in its place. Objects made before the probe (and, once its
// address space is used up, new ones too) are filled with kPoison when
// deleted and held back from the heap for a while, so reading one gives
// poison. Deleting an object twice stops the program with a message.
//
// A test program gets it by linking orvo_freed_memory_probe, which replaces
// the global operator new and delete; C allocations (MemAlloc, malloc) are
// not watched.
#pragma once

class FreedMemoryProbe {
public:
    enum : unsigned char { kPoison = 0xDD };
    // Arms the probe; one lives at a time.
    FreedMemoryProbe();
    // Disarms it: new objects come from the heap again, and the poisoned
    // blocks held back go back to it.
    ~FreedMemoryProbe();
    FreedMemoryProbe(const FreedMemoryProbe&) = delete;
    FreedMemoryProbe& operator=(const FreedMemoryProbe&) = delete;

    // Whether p is the start of an object deleted while the probe watched
    // (its pages gone, or poisoned and still held); false for null.
    static bool IsFreed(const void* p);
};
