#include "engine/SzArchive.h"

#include "engine/MemInStream.h"
#include "engine/SzCappedAlloc.h"
#include "engine/SzHeaderRead.h"
#include "engine/SzText.h"

#include "7z.h"
#include "7zFile.h"

#include <cstring>
#include <new>

namespace {

const size_t kLookAheadSize = 1 << 18;

// The header read plus the solid-block cache, all from one allocator; the
// block goes first.
class DecodeState : public SzHeaderRead {
public:
    DecodeState(ISeekInStreamPtr input, const SzCappedAlloc& allocator)
        : SzHeaderRead(input, allocator, kLookAheadSize)
    {
    }
    ~DecodeState() { ISzAlloc_Free(alloc.Get(), block); }

    UInt32 blockIndex = 0xFFFFFFFF;
    Byte* block = nullptr;
    size_t blockSize = 0;
};

std::wstring NameOf(const CSzArEx& db, UInt32 i)
{
    // A header may hold no names at all; the decoder's lookup assumes it does.
    if (!db.FileNameOffsets) return std::wstring();
    size_t len = SzArEx_GetFileNameUtf16(&db, i, nullptr);
    if (len == 0 || len - 1 > SzArchive::kMaxNameChars) return std::wstring();
    std::vector<UInt16> raw(len);
    SzArEx_GetFileNameUtf16(&db, i, raw.data());
    return std::wstring(raw.begin(), raw.end() - 1);
}

}  // namespace

SzArchive::SzArchive() = default;

SzArchive::~SzArchive() = default;

bool SzArchive::OpenFromMemory(const void* buffer, size_t size)
{
    Clear();
    if (!buffer) return false;
    MemInStream stream;
    stream.buffer.Attach(buffer, size);
    return Decode(&stream.vt, size);
}

bool SzArchive::OpenFromFileW(const std::wstring& path)
{
    Clear();
    CFileInStream file;
    FileInStream_CreateVTable(&file);
    File_Construct(&file.file);
    if (InFile_OpenW(&file.file, path.c_str()) != 0) return false;
    file.wres = 0;
    UInt64 size = 0;
    bool ok = File_GetLength(&file.file, &size) == 0 && Decode(&file.vt, size);
    File_Close(&file.file);
    return ok;
}

bool SzArchive::OpenFromFileA(const char* path)
{
    Clear();
    std::unique_ptr<wchar_t[]> wide = AnsiToWideAlloc(path);
    return wide && OpenFromFileW(wide.get());
}

bool SzArchive::Decode(ISeekInStreamPtr input, uint64_t size)
{
    bool ok = false;
    try {
        ok = DecodeAll(input, size);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    // Never a partial archive: a later entry that failed must not look absent.
    if (!ok) Clear();
    return ok;
}

bool SzArchive::DecodeAll(ISeekInStreamPtr input, uint64_t size)
{
    alloc_.reset(new SzCappedAlloc(SzCappedAlloc::CapFor(size, kMaxUnpackedTotal)));
    DecodeState state(input, *alloc_);
    if (!state.Open()) return false;
    const CSzArEx& db = state.db;
    if (db.NumFiles > kMaxItems) return false;
    uint64_t total = 0;
    for (UInt32 i = 0; i < db.NumFiles; ++i) {
        total += SzArEx_GetFileSize(&db, i);
        if (total > kMaxUnpackedTotal) return false;
    }
    for (UInt32 i = 0; i < db.NumFiles; ++i) {
        std::wstring name = NameOf(db, i);
        if (name.empty()) return false;
        if (SzArEx_IsDir(&db, i)) {
            folders_.push_back(std::move(name));
            continue;
        }
        // A file of another block (or of none) would make the decoder free
        // the current one, which earlier entries point into: it is left to
        // the allocator, which keeps it until the archive goes.
        if (state.block && db.FileToFolder[i] != state.blockIndex) {
            state.block = nullptr;
            state.blockSize = 0;
            state.blockIndex = 0xFFFFFFFF;
        }
        size_t offset = 0, processed = 0;
        if (SzArEx_Extract(&db, &state.look.vt, i, &state.blockIndex, &state.block, &state.blockSize, &offset,
                           &processed, state.alloc.Get(), state.alloc.Get()) != SZ_OK ||
            processed != SzArEx_GetFileSize(&db, i))
            return false;
        SzArchiveEntry entry;
        entry.name = std::move(name);
        entry.archiveIndex = i;
        entry.size = processed;
        entry.data = processed ? state.block + offset : nullptr;
        entries_.push_back(std::move(entry));
    }
    state.block = nullptr;  // kept by the allocator, as above
    return true;
}

const SzArchiveEntry* SzArchive::FindByIndex(uint32_t archiveIndex) const
{
    for (const SzArchiveEntry& e : entries_)
        if (e.archiveIndex == archiveIndex) return &e;
    return nullptr;
}

const SzArchiveEntry* SzArchive::FindEntry(const std::wstring& name) const
{
    for (const SzArchiveEntry& e : entries_)
        if (e.name.size() == name.size() && WideCharsEqual(e.name.c_str(), name.c_str(), name.size() + 1)) return &e;
    return nullptr;
}

bool SzArchive::GetEntrySize(uint32_t archiveIndex, uint64_t* size) const
{
    const SzArchiveEntry* e = FindByIndex(archiveIndex);
    if (!e || !size) return false;
    *size = e->size;
    return true;
}

bool SzArchive::GetNameLength(uint32_t archiveIndex, uint32_t* length) const
{
    const SzArchiveEntry* e = FindByIndex(archiveIndex);
    if (!e || !length) return false;
    *length = static_cast<uint32_t>(e->name.size() + 1);
    return true;
}

bool SzArchive::CopyEntryData(uint32_t archiveIndex, void* buffer, size_t bufferSize) const
{
    const SzArchiveEntry* e = FindByIndex(archiveIndex);
    if (!e || (!buffer && e->size) || bufferSize < e->size) return false;
    if (e->size) std::memcpy(buffer, e->data, static_cast<size_t>(e->size));
    return true;
}

bool SzArchive::CopyEntryDataAndName(uint32_t archiveIndex, void* buffer, size_t bufferSize, wchar_t* name,
                                     size_t nameChars) const
{
    const SzArchiveEntry* e = FindByIndex(archiveIndex);
    if (!e || !name || nameChars < e->name.size() + 1) return false;
    if (!CopyEntryData(archiveIndex, buffer, bufferSize)) return false;
    std::memcpy(name, e->name.c_str(), (e->name.size() + 1) * sizeof(wchar_t));
    return true;
}

void SzArchive::Clear()
{
    entries_.clear();
    folders_.clear();
    alloc_.reset();
}
