// The client archive: a 7z archive decoded into memory at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One decoded file of the archive.
struct SzArchiveEntry {
    std::wstring name;                // as stored, "/" between folders
    uint32_t archiveIndex = 0;        // index in the archive's file table, folders included
    const unsigned char* data = nullptr;  // inside the archive's decoded block; null for an empty file
    uint64_t size = 0;
};

class SzCappedAlloc;

class SzArchive {
public:
    SzArchive();
    ~SzArchive();
    SzArchive(const SzArchive&) = delete;
    SzArchive& operator=(const SzArchive&) = delete;

    // Limits on what an archive may ask of memory.
    static constexpr uint64_t kMaxUnpackedTotal = 1536ull << 20;
    static constexpr uint32_t kMaxItems = 200000;
    static constexpr size_t kMaxNameChars = 32767;

    // Decodes every file of the archive in the buffer (read during the call
    // only). False, with the archive left empty, for a damaged or truncated
    // archive, a failed extraction (a CRC error included), an archive over
    // the limits above, or lack of memory. The decoder's memory is capped by
    // the archive's size (see SzCappedAlloc::CapFor).
    bool OpenFromMemory(const void* buffer, size_t size);

    // The same from a file. False also when the file cannot be opened.
    bool OpenFromFileW(const std::wstring& path);
    // The same for a path in the system code page. False also for a null
    // path or one that code page does not define.
    bool OpenFromFileA(const char* path);

    size_t GetCount() const { return entries_.size(); }
    // The entry at position i (0 .. GetCount() - 1), in archive order; null past the end.
    const SzArchiveEntry* GetEntry(size_t i) const { return i < entries_.size() ? &entries_[i] : nullptr; }
    // Folder items of the archive, in archive order.
    const std::vector<std::wstring>& GetFolders() const { return folders_; }

    // Lookups take the first match; null when none.
    const SzArchiveEntry* FindByIndex(uint32_t archiveIndex) const;
    // The entry whose name equals name exactly (letter case and length).
    const SzArchiveEntry* FindEntry(const std::wstring& name) const;

    // Calls on the entry of an archive index (folders counted, as in
    // SzArchiveEntry::archiveIndex). Each gives false, with the outputs
    // untouched, when no file entry has that index or an output is null.
    bool GetEntrySize(uint32_t archiveIndex, uint64_t* size) const;
    // Name length in characters, the terminating NUL included.
    bool GetNameLength(uint32_t archiveIndex, uint32_t* length) const;
    // Copies the entry's data; false when bufferSize is smaller than the entry.
    bool CopyEntryData(uint32_t archiveIndex, void* buffer, size_t bufferSize) const;
    // The data and the whole NUL-terminated name; false, with nothing
    // copied, when either buffer is too small (a name is never cut).
    bool CopyEntryDataAndName(uint32_t archiveIndex, void* buffer, size_t bufferSize, wchar_t* name,
                              size_t nameChars) const;

    void Clear();

private:
    bool Decode(const struct ISeekInStream_* input, uint64_t size);
    bool DecodeAll(const struct ISeekInStream_* input, uint64_t size);

    std::vector<SzArchiveEntry> entries_;
    std::vector<std::wstring> folders_;
    // The decoder's allocator, kept after the decoding: it owns every solid
    // block decoded, which the entries point into, so the archive holds each
    // decoded byte once.
    std::unique_ptr<SzCappedAlloc> alloc_;
};
