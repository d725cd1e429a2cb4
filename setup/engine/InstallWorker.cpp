#include "engine/InstallWorker.h"

#include "engine/SzArchive.h"
#include "engine/WorkerMessages.h"
#include "syshelpers/SafePaths.h"
#include "syshelpers/WinHandles.h"

namespace {

const int kAttempts = 3;
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

// Makes every missing folder of path up to (not including) its last "\".
bool MakeParentFolders(const std::wstring& path)
{
    size_t last = path.rfind(L'\\');
    for (size_t i = path.find(L'\\'); i != std::wstring::npos && i <= last; i = path.find(L'\\', i + 1)) {
        std::wstring folder = path.substr(0, i);
        // Drive roots ("C:") and share roots are not made.
        if (folder.empty() || folder.back() == L':' || folder.size() < 3 || IsFolder(folder)) continue;
        if (folder.compare(0, 2, L"\\\\") == 0 && folder.find(L'\\', 2) == std::wstring::npos) continue;
        if (!CreateDirectoryW(folder.c_str(), nullptr) && !IsFolder(folder)) return false;
    }
    return true;
}

// The entry's full path, or empty when it would reach MAX_PATH.
std::wstring EntryPath(const std::wstring& folder, const std::wstring& name)
{
    std::wstring base = WithBackslashes(folder);
    while (!base.empty() && base.back() == L'\\') base.pop_back();
    std::wstring path = base + L"\\" + WithBackslashes(name);
    return path.size() < MAX_PATH ? path : std::wstring();
}

// A relative or empty folder would land the files under whatever the
// current folder or drive root is.
bool IsFullFolder(const std::wstring& folder) { return !NormalizeFolder(folder).empty(); }

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
    if (!IsFullFolder(folder)) return kFolderFailed;
    if (!IsSafeEntryName(name)) return kCreateFailed;
    std::wstring path = EntryPath(folder, name);
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

CInstallWorker::CInstallWorker(HMODULE archiveModule, std::wstring folder, HWND notify, DWORD pauseMs)
    : module_(archiveModule), folder_(std::move(folder)), notify_(notify), pauseMs_(pauseMs)
{
}

CInstallWorker::~CInstallWorker() { thread_.Stop(); }

bool CInstallWorker::Start()
{
    return thread_.Start([this] { Run(); });
}

void CInstallWorker::Stop() { thread_.Stop(); }

void CInstallWorker::Run()
{
    ExtractResult result = kExtractOk;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        result = ExtractAll();
        if (result == kExtractOk || result == kExtractStopped) break;
    }
    if (result != kExtractStopped) PostMessageW(notify_, kMsgInstallDone, result, 0);
}

ExtractResult CInstallWorker::ExtractAll()
{
    HRSRC info = FindResourceW(module_, L"profile", L"_7Z");
    HGLOBAL loaded = info ? LoadResource(module_, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return kEntryMissing;
    SzArchive archive;
    if (!archive.OpenFromMemory(bytes, SizeofResource(module_, info))) return kEntryMissing;
    return WriteAll(archive);
}

ExtractResult CInstallWorker::WriteAll(const SzArchive& archive)
{
    if (!IsFullFolder(folder_)) return kFolderFailed;
    // Folder items first, so empty folders of the archive exist too.
    for (const std::wstring& name : archive.GetFolders()) {
        if (!IsSafeEntryName(name)) return kCreateFailed;
        std::wstring path = EntryPath(folder_, name);
        if (path.empty()) return kCreateFailed;
        if (!MakeParentFolders(path + L"\\")) return kFolderFailed;
    }
    const size_t n = archive.GetCount();
    for (size_t i = 0; i < n; ++i) {
        if (!thread_.Pause(pauseMs_)) return kExtractStopped;
        const SzArchiveEntry* entry = archive.GetEntry(i);
        ExtractResult r = WriteArchiveEntry(folder_, entry->name, entry->data.data(), entry->data.size());
        if (r != kExtractOk) return r;
        PostMessageW(notify_, kMsgInstallProgress, n, i);
    }
    return kExtractOk;
}
