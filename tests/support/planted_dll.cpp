// A library an attacker leaves beside a program under the name of a system
// one ("riched20.dll" in a downloads folder). It exports nothing; when
// loaded it appends its own path to "planted.txt" beside itself, so a test
// sees that its code ran.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return TRUE;
    std::wstring marker = path;
    marker = marker.substr(0, marker.find_last_of(L'\\') + 1) + L"planted.txt";
    HANDLE file = CreateFileW(marker.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    DWORD written = 0;
    WriteFile(file, path, n * sizeof(wchar_t), &written, nullptr);
    WriteFile(file, L"\r\n", 2 * sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
    return TRUE;
}
