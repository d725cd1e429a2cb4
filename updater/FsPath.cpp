#include "FsPath.h"

#include <vector>

namespace {

std::wstring Widen(UINT codePage, const char* text)
{
    if (!text || !*text)
        return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, &out[0], n);
    out.pop_back();
    return out;
}

} // namespace

std::wstring WideFromUtf8(const char* text) { return Widen(CP_UTF8, text); }

std::string Utf8FromWide(const wchar_t* text)
{
    if (!text || !*text)
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
    out.pop_back();
    return out;
}

std::string Utf8FromSystem(const char* text) { return Utf8FromWide(Widen(CP_ACP, text).c_str()); }

std::string SystemFromUtf8(const char* text)
{
    const std::wstring wide = WideFromUtf8(text);
    BOOL lost = FALSE;
    int n = wide.empty() ? 0
                         : WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr,
                                               &lost);
    if (n <= 0 || lost)
        return std::string();
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.pop_back();
    return out;
}

std::wstring ExecutableFolderW()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0)
            return std::wstring();
        if (n < path.size()) {
            std::wstring full(path.data(), n);
            size_t cut = full.find_last_of(L'\\');
            return cut == std::wstring::npos ? std::wstring() : full.substr(0, cut);
        }
        if (path.size() >= 32768)
            return std::wstring();
        path.resize(path.size() * 2);
    }
}

FILE* FsOpen(const char* path, const wchar_t* mode) { return _wfopen(WideFromUtf8(path).c_str(), mode); }

bool FsMove(const char* from, const char* to, DWORD flags)
{
    return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), flags) != 0;
}

bool FsDelete(const char* path) { return DeleteFileW(WideFromUtf8(path).c_str()) != 0; }

DWORD FsAttributes(const char* path) { return GetFileAttributesW(WideFromUtf8(path).c_str()); }

bool FsSetAttributes(const char* path, DWORD attributes)
{
    return SetFileAttributesW(WideFromUtf8(path).c_str(), attributes) != 0;
}

bool FsCreateFolder(const char* path) { return CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr) != 0; }

HANDLE FsCreateFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    return CreateFileW(WideFromUtf8(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}

std::wstring FsFullPath(const std::wstring& path)
{
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::vector<wchar_t> full(n);
    DWORD got = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    return got > 0 && got < n ? std::wstring(full.data(), got) : path;
}

std::wstring FsFullPath(const char* path) { return FsFullPath(WideFromUtf8(path)); }
