// One read of a 7z archive's header: the decoder's database and look-ahead
// buffer, freed into the allocator they came from, which outlives them.
#pragma once

#include "engine/SzCappedAlloc.h"

#include "7z.h"

class SzHeaderRead {
public:
    // Makes the CRC table on first use; a look-ahead buffer that cannot be
    // had makes Open fail.
    SzHeaderRead(ISeekInStreamPtr input, const SzCappedAlloc& allocator, size_t lookAheadSize);
    ~SzHeaderRead();
    SzHeaderRead(const SzHeaderRead&) = delete;
    SzHeaderRead& operator=(const SzHeaderRead&) = delete;

    // Reads the header into db. False without a look-ahead buffer or for a
    // header the decoder refuses.
    bool Open();

    const SzCappedAlloc& alloc;
    CSzArEx db;
    CLookToRead2 look;
};
