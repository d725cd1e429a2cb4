#include "syshelpers/SafePaths.h"

#include "syshelpers/WinHandles.h"

#include <shlobj.h>

#include <cwchar>
#include <vector>

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// Calls fn(buffer, capacity) with a growing buffer until the text fits.
template <class Fn>
std::wstring GrowingCall(Fn fn)
{
    std::vector<wchar_t> buf(MAX_PATH);
    for (int tries = 0; tries < 8; ++tries) {
        DWORD n = fn(buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return std::wstring();
        if (n < buf.size()) return std::wstring(buf.data(), n);
        buf.resize(n + 1);
    }
    return std::wstring();
}

// Length of the root part: 3 for "C:\", the "\\server\share\" prefix for
// a share; 0 when the path has neither form.
size_t RootLength(const std::wstring& p)
{
    if (p.size() >= 3 && IsDriveLetter(p[0]) && p[1] == L':' && p[2] == L'\\') return 3;
    if (p.size() >= 2 && p[0] == L'\\' && p[1] == L'\\') {
        // Device paths ("\\?\", "\\.\") are not taken apart here.
        if (p.size() >= 3 && (p[2] == L'?' || p[2] == L'.')) return 0;
        size_t server = p.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2) return 0;
        size_t share = p.find(L'\\', server + 1);
        if (share == server + 1) return 0;
        return share == std::wstring::npos ? p.size() : share + 1;
    }
    return 0;
}

bool EqualNoCase(const wchar_t* a, int na, const wchar_t* b, int nb)
{
    return CompareStringOrdinal(a, na, b, nb, TRUE) == CSTR_EQUAL;
}

// True when folder equals inner or is one of its ancestors.
bool IsSameOrAncestor(const std::wstring& folder, const std::wstring& inner)
{
    if (folder.size() > inner.size()) return false;
    if (!EqualNoCase(folder.data(), static_cast<int>(folder.size()), inner.data(), static_cast<int>(folder.size())))
        return false;
    return folder.size() == inner.size() || inner[folder.size()] == L'\\' || folder.back() == L'\\';
}

const int kSpecialFolders[] = {
    CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY,
    CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_MYMUSIC, CSIDL_MYPICTURES,
    CSIDL_MYVIDEO, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_STARTMENU,
    CSIDL_COMMON_STARTMENU, CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_STARTUP, CSIDL_COMMON_STARTUP,
    CSIDL_FONTS, CSIDL_TEMPLATES,
};

// A 32-bit program on 64-bit Windows is told the 32-bit Program Files for
// both Program Files ids: the native ones are named by the environment and
// by the 64-bit view of the registry (either may be missing).
const wchar_t* const kNativeFolderVariables[] = {L"ProgramW6432", L"CommonProgramW6432"};
const wchar_t* const kNativeFolderValues[] = {L"ProgramFilesDir", L"CommonFilesDir"};

// Every folder that, with its ancestors, is never removed as a whole; those
// the system does not name are left out.
std::vector<std::wstring> SystemFolders()
{
    std::vector<std::wstring> folders;
    for (int csidl : kSpecialFolders) {
        wchar_t buf[MAX_PATH] = {};
        if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf) == S_OK) folders.push_back(buf);
    }
    folders.push_back(GrowingCall([](wchar_t* buf, DWORD cap) { return GetSystemDirectoryW(buf, cap); }));
    folders.push_back(GrowingCall([](wchar_t* buf, DWORD cap) { return GetSystemWow64DirectoryW(buf, cap); }));
    for (const wchar_t* name : kNativeFolderVariables)
        folders.push_back(GrowingCall([&](wchar_t* buf, DWORD cap) { return GetEnvironmentVariableW(name, buf, cap); }));
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
        for (const wchar_t* name : kNativeFolderValues) {
            wchar_t buf[MAX_PATH] = {};
            DWORD bytes = sizeof(buf) - sizeof(wchar_t);
            DWORD type = 0;
            if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &bytes) == ERROR_SUCCESS &&
                type == REG_SZ)
                folders.push_back(buf);
        }
        RegCloseKey(key);
    }
    return folders;
}

// "\\?\C:\x" as "C:\x" and "\\?\UNC\server\share" as "\\server\share"; empty
// for any other device path.
std::wstring WithoutDevicePrefix(const std::wstring& path)
{
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + path.substr(8);
    if (path.compare(0, 4, L"\\\\?\\") == 0 && path.size() >= 6 && IsDriveLetter(path[4]) && path[5] == L':')
        return path.substr(4);
    return std::wstring();
}

// The folder (in its full form) with every link on its way resolved, for
// the part of it that exists; the folder as given when that cannot be read.
std::wstring ResolveLinks(const std::wstring& folder)
{
    std::wstring head = folder, tail;
    for (;;) {
        UniqueHandle file(CreateFileW(head.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (file.Valid()) {
            const std::wstring real = WithoutDevicePrefix(GrowingCall([&](wchar_t* buf, DWORD cap) {
                return GetFinalPathNameByHandleW(file.Get(), buf, cap, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
            }));
            const std::wstring resolved = real.empty() ? std::wstring() : NormalizeFolder(real + tail);
            return resolved.empty() ? folder : resolved;
        }
        const size_t cut = head.rfind(L'\\');
        if (cut == std::wstring::npos || cut < RootLength(head)) return folder;
        tail = head.substr(cut) + tail;
        head = head.substr(0, cut);
    }
}

// The protection test on one spelling of a folder (in its full form).
bool IsProtectedSpelling(const std::wstring& folder, const std::vector<std::wstring>& specials)
{
    if (folder.size() <= RootLength(folder)) return true;
    for (const std::wstring& special : specials)
        if (IsSameOrAncestor(folder, special)) return true;
    return false;
}

}  // namespace

std::wstring NormalizeFolder(const std::wstring& path)
{
    std::wstring p = path;
    for (wchar_t& c : p)
        if (c == L'/') c = L'\\';
    if (RootLength(p) == 0) return std::wstring();
    std::wstring full = GrowingCall([&](wchar_t* buf, DWORD cap) { return GetFullPathNameW(p.c_str(), cap, buf, nullptr); });
    if (RootLength(full) == 0) return std::wstring();
    std::wstring longer = GrowingCall([&](wchar_t* buf, DWORD cap) { return GetLongPathNameW(full.c_str(), buf, cap); });
    if (RootLength(longer) != 0) full = longer;
    size_t root = RootLength(full);
    while (full.size() > root && full.back() == L'\\') full.pop_back();
    return full;
}

bool IsProtectedFolder(const std::wstring& path)
{
    const std::wstring folder = NormalizeFolder(path);
    if (folder.empty()) return true;
    std::vector<std::wstring> specials;
    for (const std::wstring& system : SystemFolders()) {
        std::wstring special = NormalizeFolder(system);
        if (!special.empty()) specials.push_back(std::move(special));
    }
    // A link (or a junction) is judged by where it leads as well.
    return IsProtectedSpelling(folder, specials) || IsProtectedSpelling(ResolveLinks(folder), specials);
}

bool IsPlainName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L"..") return false;
    for (wchar_t c : name)
        if (IsSeparator(c) || c < 0x20 || std::wcschr(L":*?\"<>|", c)) return false;
    return true;
}

bool IsDeviceName(const std::wstring& name)
{
    std::wstring stem = name.substr(0, name.find(L'.'));
    // Blanks before the extension are dropped too: "nul .txt" is the device.
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (stem == device) return true;
    if (stem.size() != 4 || (stem.compare(0, 3, L"COM") != 0 && stem.compare(0, 3, L"LPT") != 0)) return false;
    wchar_t n = stem[3];
    return (n >= L'1' && n <= L'9') || n == L'\u00b9' || n == L'\u00b2' || n == L'\u00b3';
}

std::wstring GetModuleFolder(HMODULE module)
{
    std::wstring file = GrowingCall([&](wchar_t* buf, DWORD cap) {
        DWORD n = GetModuleFileNameW(module, buf, cap);
        // A full buffer means the name was cut: ask again with more room.
        return n == cap ? cap : n;
    });
    size_t slash = file.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return std::wstring();
    return NormalizeFolder(file.substr(0, slash));
}

std::wstring GetFileNamePart(const wchar_t* path)
{
    if (!path) return std::wstring();
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (IsSeparator(*p)) name = p + 1;
    return name;
}
