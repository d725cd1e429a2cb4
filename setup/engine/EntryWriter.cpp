#include "engine/EntryWriter.h"

#include "syshelpers/SafePaths.h"
#include "syshelpers/WinHandles.h"

#include <windows.h>

#include <cwctype>

namespace {

const DWORD kWriteChunk = 1 << 20;

std::wstring WithBackslashes(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteAllBytes(HANDLE file, const unsigned char* data, uint64_t size)
{
    while (size > 0) {
        DWORD chunk = size < kWriteChunk ? static_cast<DWORD>(size) : kWriteChunk;
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
        data += chunk;
        size -= chunk;
    }
    return true;
}

const wchar_t kTempPrefix[] = L"orv";

// A new, empty file in the folder of path, of a name no file had; empty
// when none can be made there (the folder's path too long included).
std::wstring NewFileBeside(const std::wstring& path)
{
    const std::wstring folder = path.substr(0, path.rfind(L'\\'));
    wchar_t name[MAX_PATH] = {};
    if (folder.size() + 14 > MAX_PATH || !GetTempFileNameW(folder.c_str(), kTempPrefix, 0, name)) return std::wstring();
    return name;
}

bool WriteWholeFile(const std::wstring& path, const void* data, uint64_t size)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file.Valid()) return false;
    bool written = WriteAllBytes(file.Get(), static_cast<const unsigned char*>(data), size);
    // Errors held back by the file system show up at the close.
    return CloseHandle(file.Release()) && written;
}

// Gives temp the name path, replacing what stands there: an earlier file,
// read-only or not, or a link. False when path is a folder or held open.
bool ReplaceWith(const std::wstring& temp, const std::wstring& path)
{
    if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(attributes & FILE_ATTRIBUTE_READONLY) ||
        !SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
        return false;
    if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    SetFileAttributesW(path.c_str(), attributes);
    return false;
}

// Device names ("CON", "nul.txt", "COM1"...) would swallow the data as
// if written; names ending in "." or " " are changed by the file system.
bool IsWritableSegment(const std::wstring& segment)
{
    if (segment.back() == L'.' || segment.back() == L' ') return false;
    return !IsDeviceName(segment);
}

}  // namespace

bool IsEntryWriterTempName(const std::wstring& name)
{
    if (name.size() < 8 || name.size() > 11) return false;
    const size_t digits = name.size() - 7;
    if (_wcsnicmp(name.c_str(), kTempPrefix, 3) != 0 ||
        _wcsicmp(name.c_str() + 3 + digits, L".tmp") != 0)
        return false;
    for (size_t i = 3; i < 3 + digits; ++i)
        if (!iswxdigit(name[i])) return false;
    return true;
}

bool IsSafeEntryName(const std::wstring& name)
{
    if (name.empty()) return false;
    size_t start = 0;
    for (;;) {
        size_t end = name.find_first_of(L"\\/", start);
        std::wstring segment = name.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        // An empty first segment is an absolute path; later ones are "a//b" or a trailing "/".
        if (segment.empty() || segment == L"." || segment == L".." || segment.find(L':') != std::wstring::npos ||
            !IsWritableSegment(segment))
            return false;
        if (end == std::wstring::npos) return true;
        start = end + 1;
    }
}

ExtractResult WriteArchiveEntry(const std::wstring& folder, const std::wstring& name, const void* data, uint64_t size)
{
    return CEntryWriter(folder).Write(name, data, size);
}

// A relative or empty folder would land the files under whatever the current
// folder or drive root is.
CEntryWriter::CEntryWriter(const std::wstring& folder)
    : base_(WithBackslashes(folder)), usable_(!NormalizeFolder(folder).empty())
{
    while (!base_.empty() && base_.back() == L'\\') base_.pop_back();
}

std::wstring CEntryWriter::EntryPath(const std::wstring& name) const
{
    if (!IsSafeEntryName(name)) return std::wstring();
    std::wstring path = base_ + L"\\" + WithBackslashes(name);
    return path.size() < MAX_PATH ? path : std::wstring();
}

bool CEntryWriter::MakeParentFolders(const std::wstring& path)
{
    size_t last = path.rfind(L'\\');
    for (size_t i = path.find(L'\\'); i != std::wstring::npos && i <= last; i = path.find(L'\\', i + 1)) {
        std::wstring folder = path.substr(0, i);
        // Drive roots ("C:") and share roots are not made.
        if (folder.empty() || folder.back() == L':' || folder.size() < 3 || made_.count(folder)) continue;
        if (folder.compare(0, 2, L"\\\\") == 0 && folder.find(L'\\', 2) == std::wstring::npos) continue;
        if (!IsFolder(folder)) {
            if (CreateDirectoryW(folder.c_str(), nullptr)) madeNew_.push_back(folder);
            else if (!IsFolder(folder)) return false;
        }
        made_.insert(folder);
    }
    return true;
}

ExtractResult CEntryWriter::MakeFolder(const std::wstring& name)
{
    if (!usable_) return kFolderFailed;
    std::wstring path = EntryPath(name);
    if (path.empty()) return kCreateFailed;
    return MakeParentFolders(path + L"\\") ? kExtractOk : kFolderFailed;
}

ExtractResult CEntryWriter::Write(const std::wstring& name, const void* data, uint64_t size)
{
    if (!usable_) return kFolderFailed;
    std::wstring path = EntryPath(name);
    if (path.empty()) return kCreateFailed;
    if (!MakeParentFolders(path)) return kFolderFailed;
    // The bytes go to a new file beside the entry, which then takes the
    // entry's name: a failure or a cut leaves an earlier file whole, a file
    // under the entry's name is never half written, and a link standing
    // there is replaced, not written through.
    const std::wstring temp = NewFileBeside(path);
    if (temp.empty()) return kCreateFailed;
    if (!WriteWholeFile(temp, data, size)) {
        DeleteFileW(temp.c_str());
        return kWriteFailed;
    }
    const bool isNew = GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    if (!ReplaceWith(temp, path)) {
        DeleteFileW(temp.c_str());
        return kCreateFailed;
    }
    if (isNew) added_.push_back(path);
    return kExtractOk;
}

void CEntryWriter::RemoveAdded()
{
    for (const std::wstring& file : added_) DeleteFileW(file.c_str());
    // Deepest first: a folder is made before those inside it.
    for (auto it = madeNew_.rbegin(); it != madeNew_.rend(); ++it) {
        RemoveDirectoryW(it->c_str());
        made_.erase(*it);
    }
    added_.clear();
    madeNew_.clear();
}
