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

class SzArchive {
public:
    // Limits on what an archive may ask of memory.
    static constexpr uint64_t kMaxUnpackedTotal = 1536ull << 20;
    static constexpr uint32_t kMaxItems = 200000;
    static constexpr size_t kMaxNameChars = 32767;

    // Decodes every file of the archive in the buffer (read during the call
    // only). False, with the archive left empty, for a damaged or truncated
    // archive, a failed extraction (a CRC error included), an archive over
    // the limits above, or lack of memory.
    bool OpenFromMemory(const void* buffer, size_t size);

    // The same from a file. False also when the file cannot be opened.
    bool OpenFromFileW(const std::wstring& path);

    size_t GetCount() const { return entries_.size(); }
    // The entry at position i (0 .. GetCount() - 1), in archive order; null past the end.
    const SzArchiveEntry* GetEntry(size_t i) const { return i < entries_.size() ? &entries_[i] : nullptr; }
    // Folder items of the archive, in archive order.
    const std::vector<std::wstring>& GetFolders() const { return folders_; }

    // Lookups take the first match; null when none.
    const SzArchiveEntry* FindByIndex(uint32_t archiveIndex) const;
    const SzArchiveEntry* FindByName(const std::wstring& name) const;

    void Clear();

private:
    // Frees a decoded block with the allocator the decoder made it with.
    struct BlockFree {
        void operator()(unsigned char* block) const;
    };


    bool Decode(const struct ISeekInStream_* input);
    bool DecodeAll(const struct ISeekInStream_* input);

    std::vector<SzArchiveEntry> entries_;
    std::vector<std::wstring> folders_;
    // Every solid block decoded, kept whole: entries point into them, so the
    // archive holds each decoded byte once.
    std::vector<std::unique_ptr<unsigned char, BlockFree>> blocks_;
};
