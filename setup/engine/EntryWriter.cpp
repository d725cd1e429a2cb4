#include "engine/EntryWriter.h"

#include "syshelpers/SafePaths.h"
#include "syshelpers/WinHandles.h"

#include <windows.h>

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

// Device names ("CON", "nul.txt", "COM1"...) would swallow the data as
// if written; names ending in "." or " " are changed by the file system.
bool IsWritableSegment(const std::wstring& segment)
{
    if (segment.back() == L'.' || segment.back() == L' ') return false;
    return !IsDeviceName(segment);
}

}  // namespace

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
        if (!IsFolder(folder) && !CreateDirectoryW(folder.c_str(), nullptr) && !IsFolder(folder)) return false;
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
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return kCreateFailed;
    bool written = WriteAllBytes(file.Get(), static_cast<const unsigned char*>(data), size);
    // Errors held back by the file system show up at the close.
    bool closed = CloseHandle(file.Release());
    if (written && closed) return kExtractOk;
    DeleteFileW(path.c_str());
    return kWriteFailed;
}
