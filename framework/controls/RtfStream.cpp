#include "controls/RtfStream.h"

#include <algorithm>
#include <cstring>

namespace WUI {

namespace {

const DWORD kStreamError = 1;

EDITSTREAM MakeStream(void* cookie, EDITSTREAMCALLBACK callback)
{
    EDITSTREAM es = {};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(cookie);
    es.pfnCallback = callback;
    return es;
}

}  // namespace

EDITSTREAM RtfMemoryReader::Stream()
{
    return MakeStream(this, &RtfMemoryRead);
}

EDITSTREAM RtfFileReader::Stream()
{
    return MakeStream(this, &RtfFileRead);
}

EDITSTREAM RtfFileWriter::Stream()
{
    return MakeStream(this, &RtfFileWrite);
}

DWORD CALLBACK RtfMemoryRead(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    *done = 0;
    auto* reader = reinterpret_cast<RtfMemoryReader*>(cookie);
    if (!reader || !buffer || count <= 0 || reader->pos >= reader->size) return 0;
    const size_t n = std::min(static_cast<size_t>(count), reader->size - reader->pos);
    memcpy(buffer, reader->data + reader->pos, n);
    reader->pos += n;
    *done = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK RtfFileRead(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    *done = 0;
    auto* reader = reinterpret_cast<RtfFileReader*>(cookie);
    if (!reader || !reader->file || !buffer || count <= 0) return 0;
    // One byte past the limit is read so that a longer file is noticed.
    const size_t room = kMaxRtfBytes + 1 - std::min(reader->total, kMaxRtfBytes + 1);
    const size_t n = fread(buffer, 1, std::min(static_cast<size_t>(count), room), reader->file);
    reader->total += n;
    if (reader->total > kMaxRtfBytes) return kStreamError;
    *done = static_cast<LONG>(n);
    return ferror(reader->file) ? kStreamError : 0;
}

DWORD CALLBACK RtfFileWrite(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    *done = 0;
    auto* writer = reinterpret_cast<RtfFileWriter*>(cookie);
    if (!writer || !writer->file || !buffer || count <= 0) return 0;
    const size_t n = fwrite(buffer, 1, static_cast<size_t>(count), writer->file);
    *done = static_cast<LONG>(n);
    return n == static_cast<size_t>(count) ? 0 : kStreamError;
}

}  // namespace WUI
