#include "ClientLaunch.h"

#include <cstring>
#include <vector>

#include "syshelpers/WinHandles.h"

namespace {

const size_t kMaxName = 255;

} // namespace

VersionText ParseVersionText(const char* text)
{
    VersionText result;
    result.accepted = true;
    if (!text)
        return result;
    std::string whole = text;
    while (!whole.empty() && (whole.back() == '\r' || whole.back() == '\n'))
        whole.pop_back();
    size_t colon = whole.rfind(':');
    std::string version = colon == std::string::npos ? std::string() : whole.substr(colon + 1);
    if (colon != std::string::npos) {
        result.namesClient = true;
        result.clientName = whole.substr(0, colon);
    }
    result.shown = version.empty() ? whole : version;
    // A name or version cut to fit would name another file or show a wrong
    // version: too long is refused whole.
    result.accepted = result.clientName.size() <= kMaxName && result.shown.size() <= kMaxName;
    return result;
}

bool IsAcceptableClientName(const std::wstring& name, const std::wstring& launcherName)
{
    if (name.empty() || name.size() > kMaxName)
        return false;
    if (name.find_first_of(L"\\/:") != std::wstring::npos || name.find(L"..") != std::wstring::npos)
        return false;
    // Windows drops trailing dots and blanks, so "OrvoMain.exe." is the launcher.
    if (name.back() == L'.' || name.back() == L' ')
        return false;
    return _wcsicmp(name.c_str(), launcherName.c_str()) != 0;
}

std::wstring LauncherFileName()
{
    std::vector<wchar_t> path(MAX_PATH);
    DWORD n;
    while ((n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()))) >= path.size() && path.size() < 32768)
        path.resize(path.size() * 2);
    std::wstring full(path.data(), n < path.size() ? n : 0);
    return full.substr(full.find_last_of(L"\\/") + 1);
}

DWORD StartClient(const std::wstring& folder, const std::wstring& name)
{
    std::wstring application = folder + L"\\" + name;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // No handle of the launcher (its last socket among them) goes along.
    if (!CreateProcessW(application.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return GetLastError();
    UniqueHandle ownProcess(process.hProcess), ownThread(process.hThread);
    return 0;
}
