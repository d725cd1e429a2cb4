#include "InstallFolder.h"

#include "engine/EntryWriter.h"
#include "syshelpers/RegistryEntries.h"
#include "syshelpers/SafePaths.h"
#include "syshelpers/WinHandles.h"

#include <windows.h>
#include <shlobj.h>

const wchar_t kInstallFolderName[] = L"Orvoesports";

namespace {

bool SameFolder(const std::wstring& a, const std::wstring& b)
{
    return !a.empty() && a.size() == b.size() &&
           CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
               CSTR_EQUAL;
}

// True when folder holds anything but the new file an install cut in its
// first file may have left.
bool HasEntries(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find.Valid()) return false;
    do {
        if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsEntryWriterTempName(data.cFileName)) return true;
    } while (FindNextFileW(find.Get(), &data));
    return false;
}

}  // namespace

std::wstring DefaultInstallFolder()
{
    wchar_t buf[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, buf) != S_OK || !buf[0])
        return std::wstring();
    return InstallFolderUnder(buf);
}

std::wstring InstallFolderUnder(const std::wstring& chosen)
{
    std::wstring folder = chosen;
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder + L"\\" + kInstallFolderName;
}

bool IsEarlierInstall(const std::wstring& folder)
{
    const std::wstring full = NormalizeFolder(folder);
    if (full.empty()) return false;
    DWORD launcher = GetFileAttributesW((full + L"\\OrvoMain.exe").c_str());
    if (launcher != INVALID_FILE_ATTRIBUTES && !(launcher & FILE_ATTRIBUTE_DIRECTORY)) return true;
    std::wstring registered;
    return ReadInstallDir(registered) && SameFolder(NormalizeFolder(registered), full);
}

FolderCheck PrepareInstallFolder(const std::wstring& folder, bool* created, std::wstring* normalized)
{
    *created = false;
    const std::wstring full = NormalizeFolder(folder);
    if (full.empty()) return FolderCheck::kCannotCreate;
    // A drive root or a system folder is never the client's own, even when empty.
    if (IsProtectedFolder(full)) return FolderCheck::kHoldsOtherFiles;
    if (CreateDirectoryW(full.c_str(), nullptr)) {
        *created = true;
    } else {
        if (GetLastError() != ERROR_ALREADY_EXISTS) return FolderCheck::kCannotCreate;
        DWORD attributes = GetFileAttributesW(full.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return FolderCheck::kCannotCreate;
        if (HasEntries(full) && !IsEarlierInstall(full)) return FolderCheck::kHoldsOtherFiles;
    }
    // Short names in a path expand only once the whole path exists.
    const std::wstring made = NormalizeFolder(full);
    *normalized = made.empty() ? full : made;
    return FolderCheck::kReady;
}
