#include "support/TestTree.h"

#include <windows.h>

#include <vector>

void RemoveTree(const std::wstring& root)
{
    DWORD attributes = GetFileAttributesW(root.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // Listed before anything goes: deleting during a search can skip entries.
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileW((root + L"\\*").c_str(), &d);
        std::vector<std::wstring> names;
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = d.cFileName;
                if (name != L"." && name != L"..") names.push_back(name);
            } while (FindNextFileW(h, &d));
            FindClose(h);
        }
        for (const std::wstring& name : names) RemoveTree(root + L"\\" + name);
        RemoveDirectoryW(root.c_str());
        return;
    }
    SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(root.c_str())) RemoveDirectoryW(root.c_str());
}
