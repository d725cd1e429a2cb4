// Which client the launcher starts, and starting it.
#pragma once
#include <windows.h>

#include <string>

// The launcher's client name until "version.txt" names another; as the
// launcher's own name it is never started.
const char* const kDefaultClientName = "OrvoMain.exe";

// What "version.txt" says: "<client executable>:<version>".
struct VersionText
{
    bool accepted = false;   // false: a part has 256 characters or more
    bool namesClient = false; // a ":" was there: clientName replaces the client
    std::string clientName;  // the part before the last ":"
    std::string shown;       // the version, or the whole text when it has none
};

// Splits text (system code page; a trailing CR or LF is dropped) at its last
// ":". A null text gives an empty, accepted result that names no client.
VersionText ParseVersionText(const char* text);

// True when name may be started from the install folder: not empty, no
// "\", "/", ":" or "..", no trailing dot or blank, fewer than 256
// characters, and not the launcher's own executable name (letter case
// ignored).
bool IsAcceptableClientName(const std::wstring& name, const std::wstring& launcherName);

// The file name of the running executable.
std::wstring LauncherFileName();

// Starts folder\name in folder, inheriting no handle. 0 when it runs, else
// the system error.
DWORD StartClient(const std::wstring& folder, const std::wstring& name);
