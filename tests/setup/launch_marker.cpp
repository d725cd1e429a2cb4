// Stands in for the installed launcher in the install tests: it writes the
// folder it was started in (its current directory) to "launched.txt" beside
// itself, then ends.
#include <windows.h>

#include <string>

int main()
{
    wchar_t self[MAX_PATH] = {}, cwd[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring marker = self;
    marker = marker.substr(0, marker.find_last_of(L'\\') + 1) + L"launched.txt";
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, cwd, static_cast<DWORD>(wcslen(cwd) * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
