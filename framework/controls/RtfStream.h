// The stream callbacks of EM_STREAMIN and EM_STREAMOUT for RTF held in
// memory or in a file. Every callback bounds what it copies by the size the
// services offer, so it never writes past their buffer.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstdio>

namespace WUI {

// Largest RTF the edit takes from a resource or a file.
const size_t kMaxRtfBytes = 16u << 20;

// Bytes read from memory, front to back.
struct RtfMemoryReader {
    const BYTE* data;
    size_t size;
    size_t pos = 0;
    RtfMemoryReader(const void* bytes, size_t count) : data(static_cast<const BYTE*>(bytes)), size(count) {}
    // Stream-in record whose callback reads from this reader.
    EDITSTREAM Stream();
};

// Bytes read from an open file, at most kMaxRtfBytes in all: a longer file
// stops the stream with an error.
struct RtfFileReader {
    FILE* file;
    size_t total = 0;
    explicit RtfFileReader(FILE* f) : file(f) {}
    EDITSTREAM Stream();
};

// Bytes appended to an open file; a short write stops the stream with an error.
struct RtfFileWriter {
    FILE* file;
    explicit RtfFileWriter(FILE* f) : file(f) {}
    EDITSTREAM Stream();
};

// The callbacks themselves (cookie: the reader or writer); each sets *done
// to the bytes moved (0 for a non-positive count) and returns 0, or an error
// code that ends the stream.
DWORD CALLBACK RtfMemoryRead(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
DWORD CALLBACK RtfFileRead(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
DWORD CALLBACK RtfFileWrite(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);

}  // namespace WUI
