#include "syshelpers/RegistryEntries.h"

#include "syshelpers/WinHandles.h"

#include <vector>

const wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kAutoRunValue[] = L"Orvoesports";
const wchar_t kUninstallKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kUninstallSubkey[] = L"Orvoesports";
const wchar_t kDisplayVersion[] = L"3.0.0.462";

namespace {

// Text values are stored with their terminating NUL, as readers of the
// uninstall list expect; our own readers accept either form.
LSTATUS SetText(HKEY key, const wchar_t* name, const std::wstring& text)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LSTATUS SetDword(HKEY key, const wchar_t* name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

std::wstring UninstallKeyFullPath() { return std::wstring(kUninstallKeyPath) + L"\\" + kUninstallSubkey; }

// Reads a REG_SZ value whether or not it was stored with its NUL.
bool ReadText(HKEY key, const wchar_t* name, std::wstring& text)
{
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ) return false;
    std::vector<wchar_t> buf(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    size_t n = size / sizeof(wchar_t);
    while (n > 0 && buf[n - 1] == L'\0') --n;
    text.assign(buf.data(), n);
    return true;
}

}  // namespace

bool SetAutoRun(const std::wstring& launcherPath)
{
    RegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    return SetText(key.Get(), kAutoRunValue, L"\"" + launcherPath + L"\"") == ERROR_SUCCESS;
}

bool RemoveAutoRun()
{
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_WRITE, key.Receive()) != ERROR_SUCCESS) return true;
    return RegDeleteValueW(key.Get(), kAutoRunValue) == ERROR_SUCCESS;
}

LSTATUS WriteUninstallKey(const UninstallInfo& info)
{
    RegKey parent, key;
    LSTATUS r = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, nullptr, 0, KEY_CREATE_SUB_KEY, nullptr,
                                parent.Receive(), nullptr);
    if (r != ERROR_SUCCESS) return r;
    r = RegCreateKeyExW(parent.Get(), kUninstallSubkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr);
    if (r != ERROR_SUCCESS) return r;
    const LSTATUS results[] = {
        SetText(key.Get(), L"UninstallString", L"\"" + info.uninstallerPath + L"\""),
        SetText(key.Get(), L"DisplayIcon", info.iconPath),
        SetText(key.Get(), L"IsClientApp", L"1"),
        SetText(key.Get(), L"DisplayName", info.displayName),
        SetText(key.Get(), L"DisplayVersion", kDisplayVersion),
        SetText(key.Get(), L"Publisher", info.publisher),
        SetDword(key.Get(), L"EstimatedSize", info.estimatedSizeKb),
        SetDword(key.Get(), L"ILang", info.languageIndex),
    };
    for (LSTATUS each : results)
        if (each != ERROR_SUCCESS) return each;
    return key.Close();
}

LSTATUS DeleteUninstallKey()
{
    RegKey parent;
    LSTATUS r = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_WRITE, parent.Receive());
    if (r != ERROR_SUCCESS) return r;
    return RegDeleteKeyW(parent.Get(), kUninstallSubkey);
}

DWORD ReadInstalledLanguage()
{
    RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallKeyFullPath().c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return 0;
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(key.Get(), L"ILang", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return 0;
    return value;
}

bool ReadInstallDir(std::wstring& folder)
{
    RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallKeyFullPath().c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    std::wstring text;
    if (!ReadText(key.Get(), L"UninstallString", text)) return false;
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = text.substr(1, text.size() - 2);
    size_t cut = text.find_last_of(L"\\/");
    // A separator in the first place leaves no folder before it.
    if (cut == std::wstring::npos || cut == 0) return false;
    folder = text.substr(0, cut);
    return true;
}
