#include "engine/MemInStream.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

void MemBuffer::Attach(const void* data, size_t size)
{
    data_ = static_cast<const Byte*>(data);
    size_ = size;
    pos_ = 0;
}

SRes MemBuffer::Read(void* buf, size_t* size)
{
    size_t left = pos_ < size_ ? size_ - pos_ : 0;
    size_t n = *size < left ? *size : left;
    if (n) std::memcpy(buf, data_ + pos_, n);
    pos_ += n;
    *size = n;
    return SZ_OK;
}

SRes MemBuffer::Seek(Int64* offset, ESzSeek origin)
{
    Int64 base;
    switch (origin) {
    case SZ_SEEK_SET: base = 0; break;
    case SZ_SEEK_CUR: base = static_cast<Int64>(pos_); break;
    case SZ_SEEK_END: base = static_cast<Int64>(size_); break;
    default: return ERROR_INVALID_PARAMETER;
    }
    if (*offset > 0 && base > INT64_MAX - *offset) return ERROR_INVALID_PARAMETER;
    Int64 target = base + *offset;
    if (target < 0 || static_cast<UInt64>(target) > SIZE_MAX) return ERROR_INVALID_PARAMETER;
    pos_ = static_cast<size_t>(target);
    *offset = target;
    return SZ_OK;
}

namespace {

MemBuffer& BufferOf(ISeekInStreamPtr p)
{
    // vt is the first member, so the stream's address is the callbacks' address.
    return const_cast<MemInStream*>(reinterpret_cast<const MemInStream*>(p))->buffer;
}

SRes ReadCallback(ISeekInStreamPtr p, void* buf, size_t* size) { return BufferOf(p).Read(buf, size); }

SRes SeekCallback(ISeekInStreamPtr p, Int64* pos, ESzSeek origin) { return BufferOf(p).Seek(pos, origin); }

}  // namespace

MemInStream::MemInStream()
{
    vt.Read = ReadCallback;
    vt.Seek = SeekCallback;
}
