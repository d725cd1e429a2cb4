#pragma once
#include <windows.h>
#include <string>
#include <vector>

// A fresh folder under the test's working directory, removed with its files.
class TempFolder {
public:
    explicit TempFolder(const wchar_t *name)
    {
        wchar_t cwd[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, cwd);
        m_path = std::wstring(cwd) + L"\\" + name;
        Clear();
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder() { Clear(); }
    const std::wstring &Path() const { return m_path; }
    std::wstring File(const wchar_t *name) const { return m_path + L"\\" + name; }
    void Write(const wchar_t *name, const std::string &bytes)
    {
        HANDLE h = CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
        CloseHandle(h);
        m_files.push_back(name);
    }

private:
    void Clear()
    {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((m_path + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileW(File(fd.cFileName).c_str());
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(m_path.c_str());
    }

    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

// A 32x32 monochrome cursor file.
inline std::string MakeCursorFile()
{
    std::string f;
    auto u16 = [&f](unsigned v) { f += char(v & 0xFF), f += char(v >> 8); };
    auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
    u16(0), u16(2), u16(1);                    // header: cursor, one image
    f += char(32), f += char(32), f += '\0', f += '\0';
    u16(1), u16(1), u32(40 + 8 + 128 + 128), u32(22); // hot spot, size, offset
    u32(40), u32(32), u32(64), u16(1), u16(1), u32(0), u32(0), u32(0), u32(0), u32(0), u32(0);
    u32(0x000000), u32(0xFFFFFF);              // palette
    f += std::string(128, '\0');               // colour mask
    f += std::string(128, '\x0F');             // transparency mask
    return f;
}
