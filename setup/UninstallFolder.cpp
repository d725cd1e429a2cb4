#include "UninstallFolder.h"

#include "syshelpers/RegistryEntries.h"
#include "syshelpers/SafePaths.h"

#include <windows.h>

std::wstring UninstallFolderFor(const std::wstring& ownFolder, const std::wstring& registeredFolder)
{
    const std::wstring own = NormalizeFolder(ownFolder);
    const std::wstring registered = NormalizeFolder(registeredFolder);
    if (own.empty() || registered.empty()) return std::wstring();
    if (CompareStringOrdinal(own.c_str(), static_cast<int>(own.size()), registered.c_str(),
                             static_cast<int>(registered.size()), TRUE) != CSTR_EQUAL)
        return std::wstring();
    if (IsProtectedFolder(own)) return std::wstring();
    return own;
}

std::wstring CurrentUninstallFolder()
{
    std::wstring registered;
    if (!ReadInstallDir(registered)) return std::wstring();
    return UninstallFolderFor(GetModuleFolder(nullptr), registered);
}
