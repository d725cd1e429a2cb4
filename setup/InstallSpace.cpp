#include "InstallSpace.h"

#include "engine/MemInStream.h"
#include "engine/SzArchive.h"
#include "engine/SzCappedAlloc.h"
#include "engine/SzHeaderRead.h"
#include "syshelpers/SafePaths.h"

#include "7z.h"

#include <new>

namespace {

const size_t kLookAheadSize = 1 << 16;

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool ReadArchiveUnpackedSize(const void* data, size_t size, uint64_t* total)
{
    if (!data || !total) return false;
    try {
        SzCappedAlloc alloc(SzCappedAlloc::CapFor(size, SzArchive::kMaxUnpackedTotal));
        MemInStream stream;
        stream.buffer.Attach(data, size);
        SzHeaderRead read(&stream.vt, alloc, kLookAheadSize);
        if (!read.Open()) return false;
        uint64_t sum = 0;
        for (UInt32 i = 0; i < read.db.NumFiles; ++i)
            if (!SzArEx_IsDir(&read.db, i)) sum += SzArEx_GetFileSize(&read.db, i);
        *total = sum;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ReadClientArchiveSize(HMODULE module, uint64_t* total)
{
    HRSRC info = FindResourceW(module, L"profile", L"_7Z");
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes && ReadArchiveUnpackedSize(bytes, SizeofResource(module, info), total);
}

uint64_t RequiredMiB(uint64_t total) { return total / (1024 * 1024) + 2; }

bool GetAvailableBytes(const std::wstring& folder, uint64_t* bytes)
{
    std::wstring path = NormalizeFolder(folder);
    while (!path.empty() && !IsFolder(path)) {
        size_t slash = path.find_last_of(L'\\');
        if (slash == std::wstring::npos) return false;
        // A root keeps its backslash ("C:\", "\\server\share\").
        std::wstring parent = NormalizeFolder(path.substr(0, slash + 1));
        if (parent == path) return false;
        path = parent;
    }
    if (path.empty()) return false;
    // Asked of the folder itself, not of its drive's root: the answer is then
    // the volume the folder lies on, a mounted one or a share included.
    if (path.back() != L'\\') path += L'\\';
    ULARGE_INTEGER freeToCaller;
    if (!GetDiskFreeSpaceExW(path.c_str(), &freeToCaller, nullptr, nullptr)) return false;
    *bytes = freeToCaller.QuadPart;
    return true;
}
