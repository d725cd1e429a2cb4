#include "engine/SzArchiveApi.h"

#include "engine/SzArchive.h"

#include <windows.h>

#include <cstring>
#include <new>
#include <string>

struct SzArchiveHandle {
    SzArchive archive;
};

namespace {

const SzArchiveEntry* Entry(const SzArchiveHandle* handle, uint32_t archiveIndex)
{
    return handle ? handle->archive.FindByIndex(archiveIndex) : nullptr;
}

bool AnsiToWide(const char* text, std::wstring& out)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0) return false;
    out.assign(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], n);
    out.pop_back();
    return true;
}

}  // namespace

SzArchiveHandle* SzArchiveOpenMemory(const void* buffer, size_t size)
{
    SzArchiveHandle* handle = new (std::nothrow) SzArchiveHandle;
    if (handle && !handle->archive.OpenFromMemory(buffer, size)) {
        delete handle;
        return nullptr;
    }
    return handle;
}

SzArchiveHandle* SzArchiveOpenFileW(const wchar_t* path, SzArchiveHandle* handle)
{
    if (!handle) handle = new (std::nothrow) SzArchiveHandle;
    if (handle && (!path || !handle->archive.OpenFromFileW(path))) {
        delete handle;
        return nullptr;
    }
    return handle;
}

SzArchiveHandle* SzArchiveOpenFileA(const char* path, SzArchiveHandle* handle)
{
    std::wstring wide;
    if (!path || !AnsiToWide(path, wide)) {
        delete handle;
        return nullptr;
    }
    return SzArchiveOpenFileW(wide.c_str(), handle);
}

uint32_t SzArchiveGetCount(const SzArchiveHandle* handle, uint32_t* count)
{
    if (!handle || !count) return kSzFail;
    *count = static_cast<uint32_t>(handle->archive.GetCount());
    return kSzOk;
}

uint32_t SzArchiveGetEntrySize(uint32_t archiveIndex, const SzArchiveHandle* handle, uint64_t* size)
{
    const SzArchiveEntry* e = Entry(handle, archiveIndex);
    if (!e || !size) return kSzFail;
    *size = e->size;
    return kSzOk;
}

uint32_t SzArchiveFindW(const wchar_t* name, const SzArchiveHandle* handle, uint32_t* archiveIndex, uint64_t* size)
{
    if (!name || !handle || !archiveIndex || !size) return kSzFail;
    const SzArchiveEntry* e = handle->archive.FindByName(name);
    if (!e) return kSzFail;
    *archiveIndex = e->archiveIndex;
    *size = e->size;
    return kSzOk;
}

uint32_t SzArchiveFindA(const char* name, const SzArchiveHandle* handle, uint32_t* archiveIndex, uint64_t* size)
{
    std::wstring wide;
    if (!name || !AnsiToWide(name, wide)) return kSzFail;
    return SzArchiveFindW(wide.c_str(), handle, archiveIndex, size);
}

uint32_t SzArchiveGetData(uint32_t archiveIndex, const SzArchiveHandle* handle, void* buffer, size_t bufferSize)
{
    const SzArchiveEntry* e = Entry(handle, archiveIndex);
    if (!e || (!buffer && e->size) || bufferSize < e->size) return kSzFail;
    if (e->size) std::memcpy(buffer, e->data, static_cast<size_t>(e->size));
    return kSzOk;
}

uint32_t SzArchiveGetDataAndName(uint32_t archiveIndex, const SzArchiveHandle* handle, void* buffer,
                                 size_t bufferSize, wchar_t* name, size_t nameChars)
{
    const SzArchiveEntry* e = Entry(handle, archiveIndex);
    if (!e || !name || nameChars < e->name.size() + 1) return kSzFail;
    if (SzArchiveGetData(archiveIndex, handle, buffer, bufferSize) != kSzOk) return kSzFail;
    std::memcpy(name, e->name.c_str(), (e->name.size() + 1) * sizeof(wchar_t));
    return kSzOk;
}

uint32_t SzArchiveGetNameLength(uint32_t archiveIndex, const SzArchiveHandle* handle, uint32_t* length)
{
    const SzArchiveEntry* e = Entry(handle, archiveIndex);
    if (!e || !length) return kSzFail;
    *length = static_cast<uint32_t>(e->name.size() + 1);
    return kSzOk;
}

uint32_t SzArchiveFree(SzArchiveHandle* handle)
{
    if (!handle) return kSzFail;
    delete handle;
    return kSzOk;
}
