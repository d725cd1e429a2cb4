// The space an install needs (from the client archive's header) and the
// space the install folder's own volume has.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Sum of the sizes of the files of the 7z archive in data, read from its
// header alone: no file is decoded. False, with total untouched, for a
// damaged or truncated archive or lack of memory.
bool ReadArchiveUnpackedSize(const void* data, size_t size, uint64_t* total);

// The same for the client archive that module carries as "_7Z"/"profile".
// False when the module has no such resource.
bool ReadClientArchiveSize(HMODULE module, uint64_t* total);

// Whole MiB an install of total bytes needs: rounded down, plus 2 for the
// registration, the links and the file system's own bookkeeping.
uint64_t RequiredMiB(uint64_t total);

// Bytes free to the caller on the volume that holds folder. The folder need
// not exist yet: the nearest existing folder above it decides, so a mounted
// folder or a share (UNC path) gives its own volume. False for a relative or
// empty path and when no folder of the path can be read.
bool GetAvailableBytes(const std::wstring& folder, uint64_t* bytes);
