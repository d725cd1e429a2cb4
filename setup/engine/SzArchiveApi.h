// C-style handle calls over SzArchive, for callers that keep an archive by
// handle. Every call returns kSzOk or kSzFail unless said otherwise; a null
// handle, a null name or out pointer, or an entry that is not there gives
// kSzFail with the outputs untouched.
#pragma once

#include <cstddef>
#include <cstdint>

struct SzArchiveHandle;

const uint32_t kSzOk = 0;
const uint32_t kSzFail = 0x10000;

// A new handle over the archive in buffer; null when it does not open.
SzArchiveHandle* SzArchiveOpenMemory(const void* buffer, size_t size);

// Opens the file into the given handle (its previous archive is released)
// or into a new one when handle is null. On failure the handle, a given one
// too, is freed and null returned, so `h = SzArchiveOpenFileW(path, h)` is
// always safe.
SzArchiveHandle* SzArchiveOpenFileW(const wchar_t* path, SzArchiveHandle* handle);
// The same for a path in the system code page.
SzArchiveHandle* SzArchiveOpenFileA(const char* path, SzArchiveHandle* handle);

uint32_t SzArchiveGetCount(const SzArchiveHandle* handle, uint32_t* count);
uint32_t SzArchiveGetEntrySize(uint32_t archiveIndex, const SzArchiveHandle* handle, uint64_t* size);

// First entry whose name equals name exactly (case and length).
uint32_t SzArchiveFindW(const wchar_t* name, const SzArchiveHandle* handle, uint32_t* archiveIndex, uint64_t* size);
uint32_t SzArchiveFindA(const char* name, const SzArchiveHandle* handle, uint32_t* archiveIndex, uint64_t* size);

// Copies the entry's data; kSzFail when bufferSize is smaller than the entry.
uint32_t SzArchiveGetData(uint32_t archiveIndex, const SzArchiveHandle* handle, void* buffer, size_t bufferSize);
// Data and the whole NUL-terminated name; kSzFail, with nothing copied, when
// either buffer is too small (a name is never cut).
uint32_t SzArchiveGetDataAndName(uint32_t archiveIndex, const SzArchiveHandle* handle, void* buffer,
                                 size_t bufferSize, wchar_t* name, size_t nameChars);
// Name length in characters, the terminating NUL included.
uint32_t SzArchiveGetNameLength(uint32_t archiveIndex, const SzArchiveHandle* handle, uint32_t* length);

// Releases the handle, its archive and every entry.
uint32_t SzArchiveFree(SzArchiveHandle* handle);
