#include "syshelpers/Shortcuts.h"

#include "syshelpers/SafePaths.h"
#include "syshelpers/WinHandles.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace {

std::wstring SpecialFolder(int csidl)
{
    wchar_t buf[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buf, csidl, FALSE)) return std::wstring();
    return buf;
}

std::wstring LinkPath(const std::wstring& folder, const std::wstring& name) { return folder + L"\\" + name + L".lnk"; }

// Silent, permanent deletion of a file or a folder tree.
bool ShellDeletePath(const std::wstring& path)
{
    // The source list ends in two NULs.
    std::wstring from = path;
    from.append(2, L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace

bool CreateShortcut(const std::wstring& target, const std::wstring& linkPath)
{
    ComRef<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.ReceiveVoid())))
        return false;
    ComRef<IPersistFile> file;
    if (FAILED(link->SetPath(target.c_str())) || FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid())))
        return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

bool CreateDesktopShortcut(const std::wstring& target, const std::wstring& name)
{
    if (!IsPlainName(name)) return false;
    ComApartment com;
    std::wstring desktop = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    return !desktop.empty() && CreateShortcut(target, LinkPath(desktop, name));
}

bool CreateStartMenuShortcuts(const std::wstring& firstTarget, const std::wstring& firstName,
                              const std::wstring& secondTarget, const std::wstring& secondName)
{
    if (!IsPlainName(firstName) || !IsPlainName(secondName)) return false;
    ComApartment com;
    std::wstring programs = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    if (programs.empty()) return false;
    std::wstring folder = programs + L"\\" + firstName;
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    return CreateShortcut(firstTarget, LinkPath(folder, firstName)) &&
           CreateShortcut(secondTarget, LinkPath(folder, secondName));
}

bool DeleteDesktopShortcut(const std::wstring& name)
{
    if (!IsPlainName(name)) return false;
    ComApartment com;
    std::wstring desktop = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    return !desktop.empty() && ShellDeletePath(LinkPath(desktop, name));
}

bool DeleteStartMenuFolder(const std::wstring& name)
{
    if (!IsPlainName(name)) return false;
    std::wstring programs = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    return !programs.empty() && ShellDeletePath(programs + L"\\" + name);
}
