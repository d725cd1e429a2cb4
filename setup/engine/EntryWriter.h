// Writing archive entries as files under the install folder.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

enum ExtractResult {
    kExtractOk = 0,
    kEntryMissing = 1,   // no archive resource, or it is damaged
    kFolderFailed = 2,   // a folder could not be made
    kCreateFailed = 3,   // a file could not be created, or its name is unsafe or too long
    kWriteFailed = 4,
    kExtractStopped = 5, // a stop was asked; never posted
};

// True for an entry name that stays under the install folder and is written
// as named: relative, without a drive letter or ":", without an empty, "."
// or ".." segment, a device name, or a segment ending in "." or " ".
bool IsSafeEntryName(const std::wstring& name);

// True for the name of the new file a write puts beside its entry before
// it takes the entry's name: "orv", one to four hexadecimal digits, ".tmp"
// (any letter case). A cut install may leave one.
bool IsEntryWriterTempName(const std::wstring& name);

// Writes one file at folder + "\" + name ("/" read as "\"), making the
// folders on the way. The bytes go to a new file in the same folder, which
// then replaces what has the name (a read-only file or a link included), so
// a failure leaves an earlier file as it was and a cut never leaves a file
// half written under the name. A folder that is not a full path gives
// kFolderFailed; a name that cannot be replaced (a folder, a file held
// open) kCreateFailed; bytes that cannot all be written kWriteFailed.
ExtractResult WriteArchiveEntry(const std::wstring& folder, const std::wstring& name, const void* data, uint64_t size);

// Writes many entries under one folder. The folder is checked once, when the
// writer is made, and every folder it has made or found is remembered, so an
// entry costs little beyond creating and writing its file.
class CEntryWriter {
public:
    explicit CEntryWriter(const std::wstring& folder);

    // False when the folder is not a full path; every call then gives kFolderFailed.
    bool Usable() const { return usable_; }
    // Makes the folder item name (and the folders above it).
    ExtractResult MakeFolder(const std::wstring& name);
    // As WriteArchiveEntry, under this writer's folder.
    ExtractResult Write(const std::wstring& name, const void* data, uint64_t size);
    // Deletes the files this writer wrote where nothing stood before and
    // then the folders it made, once empty; what stood before stays (a
    // replaced file keeps its new bytes). Nothing when it added nothing.
    void RemoveAdded();

private:
    // The entry's full path, or empty when the name is unsafe or the path would reach MAX_PATH.
    std::wstring EntryPath(const std::wstring& name) const;
    // Makes every missing folder of path up to (not including) its last "\".
    bool MakeParentFolders(const std::wstring& path);

    std::wstring base_;  // the folder with "\" separators and no trailing "\"
    bool usable_;
    std::unordered_set<std::wstring> made_;  // folders made or found
    std::vector<std::wstring> madeNew_;      // folders made, in the order made
    std::vector<std::wstring> added_;        // files written where nothing stood
};
