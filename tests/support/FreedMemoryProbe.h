// A test program that links the object library orvo_freed_memory_probe has
// its global operator new and delete replaced: a deleted block is filled with
// 0xDD and held back for a while before the heap may hand it out again. Code
// that goes on using a freed object then reads poison (a pointer read from it
// faults at 0xDDDDDDDD) instead of whatever happened to stay there, and a
// second delete of a held block is counted instead of corrupting the heap.
// There is no address sanitizer for this toolchain; this is the stand-in.
#pragma once

namespace freedprobe {

const unsigned char kPoison = 0xDD;

// Whether operator new goes through the probe in this program.
bool Active();
// Deletes of a block that was already deleted and still held, since start.
long DoubleDeletes();
// Held blocks found written to after their delete, since start. Blocks are
// checked as they leave the hold, or at CheckHeld.
long WritesAfterFree();
// Checks every held block now and gives them all back to the heap.
void CheckHeld();

}  // namespace freedprobe
