#include "syshelpers/Processes.h"

#include "syshelpers/WinHandles.h"

#include <tlhelp32.h>

bool KillProcessesByName(const std::wstring& text)
{
    // An empty text would match the first process of the system.
    if (text.empty()) return false;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return false;
    const DWORD self = GetCurrentProcessId();
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == self) continue;
        if (std::wstring(entry.szExeFile).find(text) == std::wstring::npos) continue;
        KillProcessById(entry.th32ProcessID);
        return true;
    }
    return false;
}

bool KillProcessById(DWORD processId)
{
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    return process.Valid() && TerminateProcess(process.Get(), 0);
}

bool EnableShutdownPrivilege()
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return false;
    UniqueHandle token(raw);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return false;
    // Success of the call alone does not mean the privilege was granted.
    if (!AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr)) return false;
    return GetLastError() == ERROR_SUCCESS;
}
