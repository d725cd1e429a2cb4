// A seekable input stream of the 7z decoder over bytes held in memory.
#pragma once

#include "7zTypes.h"

#include <cstddef>

// Read position over a borrowed block of bytes; the block must outlive it.
class MemBuffer {
public:
    // Points the buffer at data (size bytes) and rewinds it.
    void Attach(const void* data, size_t size);

    // Copies up to *size bytes from the position, never past the end, and
    // advances; *size reports the count (0 at or past the end). Always SZ_OK.
    SRes Read(void* buf, size_t* size);

    // Moves to *offset from the start, the position or the end and writes
    // the new position back into *offset. A position past the end is kept
    // (reads there give 0 bytes); a negative one, an overflow or an unknown
    // origin give ERROR_INVALID_PARAMETER with nothing moved.
    SRes Seek(Int64* offset, ESzSeek origin);

    size_t Position() const { return pos_; }

private:
    const Byte* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
};

// The decoder-facing stream: its callbacks first, then the buffer.
struct MemInStream {
    MemInStream();
    MemInStream(const MemInStream&) = delete;
    MemInStream& operator=(const MemInStream&) = delete;

    ISeekInStream vt;
    MemBuffer buffer;
};
