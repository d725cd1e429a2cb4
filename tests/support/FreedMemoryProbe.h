// A probe for use after free on a toolchain without a sanitizer. A test
// program that links the object library orvo_freed_memory_probe has its
// global operator new and delete replaced:
// - always, a deleted block is filled with kPoison and held back for a while
//   before the heap may have it again, so code still using a freed object
//   reads poison (a pointer read from it faults at 0xDDDDDDDD); a second
//   delete of a held block is counted instead of corrupting the heap, and a
//   held block written to after its delete is counted when it leaves the hold;
// - while a FreedMemoryProbe object lives, every object made gets pages of its
//   own, and deleting it takes the pages away: a stale pointer faults at once,
//   reading or writing, instead of finding the old object or a newer one in
//   its place; deleting such an object twice stops the program with a message.
// C allocations (MemAlloc, malloc) are not watched.
#pragma once

class FreedMemoryProbe {
public:
    enum : unsigned char { kPoison = 0xDD };
    // Gives each object made from now on pages of its own; one lives at a time.
    FreedMemoryProbe();
    // New objects come from the heap again; those made meanwhile keep their pages.
    ~FreedMemoryProbe();
    FreedMemoryProbe(const FreedMemoryProbe&) = delete;
    FreedMemoryProbe& operator=(const FreedMemoryProbe&) = delete;

    // Whether p is the start of an object deleted under the probe whose pages
    // are gone or which is still held; false for null.
    static bool IsFreed(const void* p);
    // Whether operator new goes through the probe in this program.
    static bool Linked();
    // Deletes of an object already deleted, since the program started.
    static long DoubleDeletes();
    // Held blocks found written to after their delete, since the program
    // started; blocks are checked as they leave the hold, or at CheckHeld.
    static long WritesAfterFree();
    // Checks every held block now and gives them all back to the heap.
    static void CheckHeld();
};
