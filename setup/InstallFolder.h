// Where the client is installed: the default folder, a folder chosen in the
// browser, and the checks a folder must pass before anything is written.
#pragma once

#include <string>

// The name of the client's own folder under the folder a user picks.
extern const wchar_t kInstallFolderName[];  // "Orvoesports"

// "<Program Files>\Orvoesports"; empty when the system does not name
// Program Files.
std::wstring DefaultInstallFolder();

// chosen with its trailing backslashes removed, then "\Orvoesports".
std::wstring InstallFolderUnder(const std::wstring& chosen);

// Whether folder already holds the client: it has an "OrvoMain.exe", or it
// is the folder the uninstall registration names.
bool IsEarlierInstall(const std::wstring& folder);

enum class FolderCheck {
    kReady,          // exists (perhaps made just now) and may receive the files
    kCannotCreate,   // not a full path, its parent is missing, or a file has the name
    kHoldsOtherFiles,// not empty and not an earlier install, or a system folder
};

// Makes the install folder when missing (only its last level, so a
// mistyped parent is not made) and checks that installing there cannot mix
// the client with other files, which the uninstall would later remove.
// created tells whether the call made the folder; normalized gets the full
// form of the path on kReady.
FolderCheck PrepareInstallFolder(const std::wstring& folder, bool* created, std::wstring* normalized);
