/* What stb_image may allocate: the side cap it checks itself, and a byte
   budget for the blocks one decode holds at once. Plain C, since the unit that
   carries stb_image's implementation is C. */
#pragma once

#include <stddef.h>

/* stb_image refuses a longer side before allocating; the framework's image cap. */
#define ORVO_STB_MAX_SIDE 16384

#ifdef __cplusplus
extern "C" {
#endif

/* Starts counting stb_image's blocks on the calling thread anew, against a
   budget of that many bytes: a request that would take the blocks counted
   since past it fails (stb then reports out of memory). 0 lifts the budget. */
void OrvoStbSetBudget(size_t bytes);

#ifdef __cplusplus
}
#endif
