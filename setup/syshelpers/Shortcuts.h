// Desktop and start-menu shortcuts of the client (shell links to a target path).
#pragma once

#include <string>

// Saves a shell link at linkPath whose target is target. False when the
// link object cannot be made or saved. The caller has COM initialised.
bool CreateShortcut(const std::wstring& target, const std::wstring& linkPath);

// "<common desktop>\<name>.lnk" to target. False for a name that is not a
// plain file name or when the link cannot be saved.
bool CreateDesktopShortcut(const std::wstring& target, const std::wstring& name);

// The folder "<common programs>\<firstName>" with the links firstName and
// secondName in it. False for a name that is not plain or on any failure;
// what was made before the failure stays.
bool CreateStartMenuShortcuts(const std::wstring& firstTarget, const std::wstring& firstName,
                              const std::wstring& secondTarget, const std::wstring& secondName);

// Deletes "<common desktop>\<name>.lnk". False for a name that is not
// plain (an empty one included) or when nothing was deleted.
bool DeleteDesktopShortcut(const std::wstring& name);

// Deletes "<common programs>\<name>" and everything in it. An empty or
// non-plain name is refused (false), so the Programs folder itself is never
// removed.
bool DeleteStartMenuFolder(const std::wstring& name);
