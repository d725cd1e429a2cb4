// Which folder an uninstall may empty.
#pragma once

#include <string>

// The folder the uninstaller may remove: its own folder, and only when that
// is the folder the install registered (both compared in their full form,
// letter case ignored) and no drive root or special folder. Empty, meaning
// the uninstall is refused, for an empty or relative folder on either side,
// a mismatch, or a protected folder.
std::wstring UninstallFolderFor(const std::wstring& ownFolder, const std::wstring& registeredFolder);

// The same for the running uninstaller and the stored registration.
std::wstring CurrentUninstallFolder();
