#include "engine/SzArchiveApi.h"

#include "engine/SzArchive.h"
#include "engine/SzText.h"

#include <memory>
#include <new>

struct SzArchiveHandle {
    SzArchive archive;
};

namespace {

uint32_t Result(bool ok) { return ok ? kSzOk : kSzFail; }

// Opens into the given handle, or a new one when it is null; frees the
// handle, a given one too, when the open fails.
template <class Open>
SzArchiveHandle* OpenInto(SzArchiveHandle* handle, Open open)
{
    if (!handle) handle = new (std::nothrow) SzArchiveHandle;
    if (handle && !open(handle->archive)) {
        delete handle;
        return nullptr;
    }
    return handle;
}

}  // namespace

SzArchiveHandle* SzArchiveOpenMemory(const void* buffer, size_t size)
{
    return OpenInto(nullptr, [&](SzArchive& a) { return a.OpenFromMemory(buffer, size); });
}

SzArchiveHandle* SzArchiveOpenFileW(const wchar_t* path, SzArchiveHandle* handle)
{
    return OpenInto(handle, [&](SzArchive& a) { return path && a.OpenFromFileW(path); });
}

SzArchiveHandle* SzArchiveOpenFileA(const char* path, SzArchiveHandle* handle)
{
    return OpenInto(handle, [&](SzArchive& a) { return a.OpenFromFileA(path); });
}

uint32_t SzArchiveGetCount(const SzArchiveHandle* handle, uint32_t* count)
{
    if (!handle || !count) return kSzFail;
    *count = static_cast<uint32_t>(handle->archive.GetCount());
    return kSzOk;
}

uint32_t SzArchiveGetEntrySize(uint32_t archiveIndex, const SzArchiveHandle* handle, uint64_t* size)
{
    return Result(handle && handle->archive.GetEntrySize(archiveIndex, size));
}

uint32_t SzArchiveFindW(const wchar_t* name, const SzArchiveHandle* handle, uint32_t* archiveIndex, uint64_t* size)
{
    if (!name || !handle || !archiveIndex || !size) return kSzFail;
    const SzArchiveEntry* e = handle->archive.FindEntry(name);
    if (!e) return kSzFail;
    *archiveIndex = e->archiveIndex;
    *size = e->size;
    return kSzOk;
}

uint32_t SzArchiveFindA(const char* name, const SzArchiveHandle* handle, uint32_t* archiveIndex, uint64_t* size)
{
    std::unique_ptr<wchar_t[]> wide = AnsiToWideAlloc(name);
    return wide ? SzArchiveFindW(wide.get(), handle, archiveIndex, size) : kSzFail;
}

uint32_t SzArchiveGetData(uint32_t archiveIndex, const SzArchiveHandle* handle, void* buffer, size_t bufferSize)
{
    return Result(handle && handle->archive.CopyEntryData(archiveIndex, buffer, bufferSize));
}

uint32_t SzArchiveGetDataAndName(uint32_t archiveIndex, const SzArchiveHandle* handle, void* buffer,
                                 size_t bufferSize, wchar_t* name, size_t nameChars)
{
    return Result(handle && handle->archive.CopyEntryDataAndName(archiveIndex, buffer, bufferSize, name, nameChars));
}

uint32_t SzArchiveGetNameLength(uint32_t archiveIndex, const SzArchiveHandle* handle, uint32_t* length)
{
    return Result(handle && handle->archive.GetNameLength(archiveIndex, length));
}

uint32_t SzArchiveFree(SzArchiveHandle* handle)
{
    if (!handle) return kSzFail;
    delete handle;
    return kSzOk;
}
