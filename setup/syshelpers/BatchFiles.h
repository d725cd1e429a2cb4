// The two self-removing batch files: "clean.bat" removes the uninstalled
// folder after the uninstaller has exited, "del.bat" removes the launcher's
// backup files.
#pragma once

#include "syshelpers/WinHandles.h"

#include <string>

// Writes "clean.bat" into a new folder of its own under the temporary
// folder (a batch inside the folder it removes would keep that folder alive
// while it runs; a fixed name in the shared folder could be another
// program's file). The batch waits, removes folder with everything in it
// (retrying while the uninstaller is still exiting), then its own folder
// with itself. False, with nothing written, for a protected folder (see
// IsProtectedFolder), a folder that still holds a link (its target must not
// be emptied), a path the batch cannot spell in the console code page, or
// when the file cannot be written.
bool WriteCleanBat(const std::wstring& folder, std::wstring* batPath);

// Writes "del.bat" into folder (text in the system code page, "/" or "\"):
// it waits, deletes every "*.orvobak" directly in folder, then itself.
// False for a relative or empty folder or when the file cannot be written.
bool WriteDelBat(const std::string& folder, std::wstring* batPath);
// The same for a folder given in UTF-16 (any characters).
bool WriteDelBat(const std::wstring& folder, std::wstring* batPath);

// Runs a batch file hidden, in its own folder. The process handle, or none
// when it could not be started.
UniqueHandle StartHiddenBatch(const std::wstring& batPath);

// Writes and starts "clean.bat" for folder, then ends the process (exit
// code 0), also when the batch could not be written.
[[noreturn]] void SelfDeleteWithCleanBat(const std::wstring& folder);

// Writes and starts "del.bat" for folder. False when either step fails.
bool WriteDelBatAndRun(const std::string& folder);
bool WriteDelBatAndRun(const std::wstring& folder);
