// Stopping a running program and the shutdown privilege.
#pragma once

#include <windows.h>

#include <string>

// Terminates (exit code 0) the first process in a process snapshot whose
// executable name contains text (case-sensitive), never the calling
// process. False for an empty text, a failed snapshot or no match; true
// when a matching process was found, even if it could not be terminated.
bool KillProcessesByName(const std::wstring& text);

// Terminates the process with exit code 0. False when it cannot be opened
// or terminated.
bool KillProcessById(DWORD processId);

// Enables SeShutdownPrivilege for this process. False when the token
// cannot be opened or the privilege was not granted.
bool EnableShutdownPrivilege();
