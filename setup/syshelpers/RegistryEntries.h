// The client's registry entries: start at logon and the uninstall registration.
#pragma once

#include <windows.h>

#include <string>

// Names the rest of the system reads back.
extern const wchar_t kRunKeyPath[];        // under HKEY_CURRENT_USER
extern const wchar_t kAutoRunValue[];      // "Orvoesports"
extern const wchar_t kUninstallKeyPath[];  // under HKEY_LOCAL_MACHINE
extern const wchar_t kUninstallSubkey[];   // "Orvoesports"
extern const wchar_t kDisplayVersion[];    // "3.0.0.462"

// Sets the "Orvoesports" Run value to the launcher's path, quoted (the
// value is run as a command line, where a path with spaces would be cut).
// False when the key cannot be created or the value not set.
bool SetAutoRun(const std::wstring& launcherPath);

// True when the Run key cannot be opened (nothing to remove) or the value
// was deleted; false when deleting fails, also when the value is absent.
bool RemoveAutoRun();

struct UninstallInfo {
    std::wstring displayName;
    std::wstring uninstallerPath;  // stored quoted, so a path with spaces runs as one program
    std::wstring iconPath;
    std::wstring publisher;
    DWORD estimatedSizeKb = 0;
    DWORD languageIndex = 0;  // 0 Chinese, 1 English
};

// Creates the uninstall key and writes its eight values in order. Returns
// ERROR_SUCCESS, or the first registry error (a key that cannot be created
// skips the values; a failed value does not stop the others).
LSTATUS WriteUninstallKey(const UninstallInfo& info);

// Deletes the "Orvoesports" uninstall key: the error of opening its parent,
// else the result of the deletion.
LSTATUS DeleteUninstallKey();

// The stored "ILang" value; 0 when the key or a 4-byte DWORD value is missing.
DWORD ReadInstalledLanguage();

// The install folder, taken from the stored "UninstallString" (quotes
// removed, cut at its last "\" or "/"). False, with folder untouched, when
// the key or value is missing, not text, or leaves an empty folder.
bool ReadInstallDir(std::wstring& folder);
