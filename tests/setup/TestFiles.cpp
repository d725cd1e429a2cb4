#include "TestFiles.h"

#include <windows.h>

#include <vector>

namespace {

void Walk(const std::wstring& root, const std::wstring& rel, std::map<std::wstring, std::string>& out)
{
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((root + L"\\" + rel + L"*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = d.cFileName;
        if (name == L"." || name == L"..") continue;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[rel + name + L"\\"] = std::string();
            if (!(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) Walk(root, rel + name + L"\\", out);
        } else {
            out[rel + name] = ReadBytes(root + L"\\" + rel + name);
        }
    } while (FindNextFileW(h, &d));
    FindClose(h);
}

}  // namespace

std::map<std::wstring, std::string> ReadTree(const std::wstring& root)
{
    std::map<std::wstring, std::string> out;
    Walk(root, L"", out);
    return out;
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    std::string out;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
    CloseHandle(h);
    return out;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
    CloseHandle(h);
    return ok;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring Cwd()
{
    wchar_t buf[MAX_PATH];
    DWORD n = GetCurrentDirectoryW(MAX_PATH, buf);
    return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : std::wstring(L".");
}

std::wstring FreshFolder(const std::wstring& name)
{
    std::wstring path = Cwd() + L"\\work\\" + name;
    RemoveTree(path);
    CreateDirectoryW((Cwd() + L"\\work").c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}
