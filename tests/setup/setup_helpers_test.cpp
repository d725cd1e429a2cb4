// System helpers against the Wine prefix: registry values read back, shell
// links read back, real processes and real batch files run by cmd.
#include "syshelpers/BatchFiles.h"
#include "syshelpers/Processes.h"
#include "syshelpers/RegistryEntries.h"
#include "syshelpers/SafePaths.h"
#include "syshelpers/Shortcuts.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::wstring Special(int csidl)
{
    wchar_t buf[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    return buf;
}

// ---- path checks ----

TEST(SafePaths, ProtectedFoldersAreRecognised)
{
    const std::wstring profile = Special(CSIDL_PROFILE);
    const std::wstring users = profile.substr(0, profile.rfind(L'\\'));
    struct Case {
        std::wstring path;
        bool protectedFolder;
    } cases[] = {
        {L"", true},
        {L"relative\\folder", true},
        {L"C:", true},
        {L"C:\\", true},
        {L"c:/", true},
        {L"D:\\", true},
        {L"Q:\\", true},
        {L"C:\\windows\\..", true},
        {L"\\\\server\\share", true},
        {L"\\\\server\\share\\", true},
        {L"\\\\?\\C:\\Games\\Orvo", true},
        {L"\\\\.\\C:\\Games\\Orvo", true},
        {Special(CSIDL_WINDOWS), true},
        {Special(CSIDL_SYSTEM), true},
        {Special(CSIDL_PROGRAM_FILES), true},
        {Special(CSIDL_PROGRAM_FILES) + L"\\", true},
        {Special(CSIDL_PROFILE), true},
        {users, true},
        {Special(CSIDL_DESKTOPDIRECTORY), true},
        {Special(CSIDL_COMMON_DESKTOPDIRECTORY), true},
        {Special(CSIDL_PERSONAL), true},
        {Special(CSIDL_COMMON_PROGRAMS), true},
        {Special(CSIDL_APPDATA), true},
        {Special(CSIDL_PROGRAM_FILES) + L"\\Orvo", false},
        {L"C:\\Games\\Orvo esports", false},
        {L"D:\\Orvo", false},
        {Cwd(), false},
        // Links are judged by what they lead to (made by the fixture step).
        {Cwd() + L"\\fixtures\\link-to-root", true},
        {Cwd() + L"\\fixtures\\link-to-root\\", true},
        {Cwd() + L"\\fixtures\\clean-link\\sub\\link", false},
        {Cwd() + L"\\fixtures\\link-to-root\\not-there\\Orvo", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.protectedFolder, IsProtectedFolder(c.path)) << Narrow(c.path);
}

// A 32-bit program on 64-bit Windows is told the 32-bit Program Files for
// both of its ids; the native one, its Common Files and both system folders
// must stay protected all the same. CTest runs this in a 64-bit prefix too
// (with ORVO_EXPECT_WOW64 set), where these paths are the native ones.
TEST(SafePaths, NativeFoldersOf64BitWindowsAreProtected)
{
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    wchar_t expect[8] = {};
    if (GetEnvironmentVariableW(L"ORVO_EXPECT_WOW64", expect, 8)) {
        ASSERT_TRUE(wow64) << "this run is meant for a 64-bit prefix";
    }
    struct Case {
        std::wstring path;
        bool protectedFolder;
    } cases[] = {
        {L"C:\\Program Files", true},
        {L"c:\\program files\\", true},
        {L"C:\\Program Files\\Common Files", true},
        {L"C:\\windows\\system32", true},
        {L"C:\\Program Files\\Orvoesports", false},
        {L"C:\\Program Files\\Common Files\\Orvo", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.protectedFolder, IsProtectedFolder(c.path)) << Narrow(c.path);
    if (wow64) {
        for (const wchar_t* path : {L"C:\\Program Files (x86)", L"C:\\Program Files (x86)\\Common Files",
                                    L"C:\\windows\\syswow64"})
            EXPECT_TRUE(IsProtectedFolder(path)) << Narrow(path);
        EXPECT_FALSE(IsProtectedFolder(L"C:\\Program Files (x86)\\Orvoesports"));
    }
}

TEST(SafePaths, PlainNamesAndModuleFolder)
{
    struct Case {
        const wchar_t* name;
        bool plain;
    } cases[] = {{L"Orvoesports", true}, {L"Orvo\u5bf9\u6218\u5e73\u53f0", true}, {L"", false}, {L".", false},
                 {L"..", false},         {L"a\\b", false},                      {L"a/b", false}, {L"C:x", false},
                 // Wildcards would make a shell deletion take every match.
                 {L"*", false},          {L"?", false},                         {L"Orvo*", false},
                 {L"<a>", false},        {L"a|b", false},                       {L"a\"b", false}, {L"a\tb", false}};
    for (const Case& c : cases) EXPECT_EQ(c.plain, IsPlainName(c.name)) << Narrow(c.name);
    EXPECT_EQ(0, _wcsicmp(NormalizeFolder(Cwd()).c_str(), GetModuleFolder(nullptr).c_str()));
}

TEST(SafePaths, FileNamePartIsTheTextAfterTheLastSeparator)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\Games\\Orvo\\OrvoUninstall.exe", L"OrvoUninstall.exe"},
        {L"bin/a.dll", L"a.dll"},
        // Whichever separator comes last, so a folder joined to an archive
        // name still gives the file's own name.
        {L"C:\\Orvo\\bin/a.dll", L"a.dll"},
        {L"C:/Orvo/bin\\a.dll", L"a.dll"},
        {L"readme.txt", L"readme.txt"},
        {L"C:\\Games\\", L""},
        {L"bin/", L""},
        {L"\\", L""},
        {L"", L""},
        {nullptr, L""},
        {L"\\\\server\\share\\\u5ba2\u6237\u7aef.ini", L"\u5ba2\u6237\u7aef.ini"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.name), GetFileNamePart(c.path)) << (c.path ? Narrow(c.path) : "(null)");
}

// ---- registry ----

struct RegValue {
    DWORD type = 0;
    std::string bytes;
    bool found = false;
};

RegValue ReadValue(HKEY root, const std::wstring& key, const wchar_t* name)
{
    RegValue v;
    HKEY h;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return v;
    DWORD size = 0;
    if (RegQueryValueExW(h, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.bytes.resize(size);
        v.found = RegQueryValueExW(h, name, nullptr, &v.type, reinterpret_cast<BYTE*>(&v.bytes[0]), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(h);
    return v;
}

// A text value as stored: its characters and the terminating NUL.
std::string Utf16Bytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
}

std::string DwordBytes(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

TEST(Registry, AutoRunValueIsSetAndRemoved)
{
    const std::wstring target = L"C:\\Games\\Orvo esports\\OrvoMain.exe";
    ASSERT_TRUE(SetAutoRun(target));
    RegValue v = ReadValue(HKEY_CURRENT_USER, kRunKeyPath, L"Orvoesports");
    ASSERT_TRUE(v.found);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), v.type);
    // Quoted: unquoted, the logon would first try to run "C:\Games\Orvo.exe".
    EXPECT_EQ(Utf16Bytes(L"\"" + target + L"\""), v.bytes);
    EXPECT_TRUE(RemoveAutoRun());
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kRunKeyPath, L"Orvoesports").found);
    // Already gone: deleting fails.
    EXPECT_FALSE(RemoveAutoRun());
}

TEST(Registry, UninstallKeyHoldsItsValuesAndReadsBack)
{
    UninstallInfo info;
    info.displayName = L"Orvo\u5bf9\u6218\u5e73\u53f0";
    info.uninstallerPath = L"C:\\Games\\Orvo esports\\OrvoUninstall.exe";
    info.iconPath = L"C:\\Games\\Orvo esports\\OrvoMain.exe";
    info.publisher = L"Orvo";
    info.estimatedSizeKb = 12345;
    info.languageIndex = 1;
    ASSERT_EQ(ERROR_SUCCESS, WriteUninstallKey(info));
    const std::wstring key = std::wstring(kUninstallKeyPath) + L"\\" + kUninstallSubkey;
    struct Expected {
        const wchar_t* name;
        DWORD type;
        std::string bytes;
    } values[] = {
        {L"UninstallString", REG_SZ, Utf16Bytes(L"\"" + info.uninstallerPath + L"\"")},
        {L"DisplayIcon", REG_SZ, Utf16Bytes(info.iconPath)},
        {L"IsClientApp", REG_SZ, Utf16Bytes(L"1")},
        {L"DisplayName", REG_SZ, Utf16Bytes(info.displayName)},
        {L"DisplayVersion", REG_SZ, Utf16Bytes(L"3.0.0.462")},
        {L"Publisher", REG_SZ, Utf16Bytes(L"Orvo")},
        {L"EstimatedSize", REG_DWORD, DwordBytes(12345)},
        {L"ILang", REG_DWORD, DwordBytes(1)},
    };
    for (const Expected& e : values) {
        RegValue v = ReadValue(HKEY_LOCAL_MACHINE, key, e.name);
        ASSERT_TRUE(v.found) << Narrow(e.name);
        EXPECT_EQ(e.type, v.type) << Narrow(e.name);
        EXPECT_EQ(e.bytes, v.bytes) << Narrow(e.name);
    }
    EXPECT_EQ(20u, ReadValue(HKEY_LOCAL_MACHINE, key, L"DisplayVersion").bytes.size());
    EXPECT_EQ(1u, ReadInstalledLanguage());
    std::wstring folder = L"untouched";
    ASSERT_TRUE(ReadInstallDir(folder));
    EXPECT_EQ(L"C:\\Games\\Orvo esports", folder);

    EXPECT_EQ(ERROR_SUCCESS, DeleteUninstallKey());
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, key, L"DisplayName").found);
    EXPECT_EQ(0u, ReadInstalledLanguage());
    folder = L"untouched";
    EXPECT_FALSE(ReadInstallDir(folder));
    EXPECT_EQ(L"untouched", folder);
}

TEST(Registry, InstallDirReadsAnyLengthAndRefusesEmptyFolders)
{
    const std::wstring key = std::wstring(kUninstallKeyPath) + L"\\" + kUninstallSubkey;
    const std::wstring longFolder = L"C:\\" + std::wstring(140, L'x');
    struct Case {
        std::wstring stored;
        bool found;
        std::wstring folder;
    } cases[] = {
        {L"C:\\Orvo\\OrvoUninstall.exe", true, L"C:\\Orvo"},
        {L"\"C:\\Orvo esports\\OrvoUninstall.exe\"", true, L"C:\\Orvo esports"},
        {L"C:/Orvo/OrvoUninstall.exe", true, L"C:/Orvo"},
        {longFolder + L"\\OrvoUninstall.exe", true, longFolder},
        {L"OrvoUninstall.exe", false, L""},
        {L"\\OrvoUninstall.exe", false, L""},
        {L"", false, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.stored));
        HKEY h;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr));
        RegSetValueExW(h, L"UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.stored.c_str()),
                       static_cast<DWORD>(c.stored.size() * 2));
        RegCloseKey(h);
        std::wstring folder = L"untouched";
        EXPECT_EQ(c.found, ReadInstallDir(folder));
        EXPECT_EQ(c.found ? c.folder : L"untouched", folder);
    }
    EXPECT_EQ(ERROR_SUCCESS, DeleteUninstallKey());
}

// ---- shortcuts ----

std::wstring LinkTarget(const std::wstring& link)
{
    CoInitialize(nullptr);
    std::wstring target;
    IShellLinkW* shell = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&shell)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t buf[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) && SUCCEEDED(shell->GetPath(buf, MAX_PATH, nullptr, 0)))
                target = buf;
            file->Release();
        }
        shell->Release();
    }
    CoUninitialize();
    return target;
}

TEST(Shortcuts, DesktopLinkIsCreatedAndDeleted)
{
    const std::wstring target = Cwd() + L"\\orvo_dummy_process.exe";
    const std::wstring name = L"Orvo\u5bf9\u6218\u5e73\u53f0";
    const std::wstring link = Special(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\" + name + L".lnk";
    ASSERT_TRUE(CreateDesktopShortcut(target, name));
    EXPECT_EQ(0, _wcsicmp(target.c_str(), LinkTarget(link).c_str())) << Narrow(LinkTarget(link));
    EXPECT_TRUE(DeleteDesktopShortcut(name));
    EXPECT_FALSE(Exists(link));
    for (const wchar_t* bad : {L"", L"..", L"..\\x"}) EXPECT_FALSE(DeleteDesktopShortcut(bad)) << Narrow(bad);
}

TEST(Shortcuts, StartMenuFolderHoldsBothLinksAndIsDeleted)
{
    const std::wstring programs = Special(CSIDL_COMMON_PROGRAMS);
    const std::wstring main = Cwd() + L"\\orvo_dummy_process.exe";
    const std::wstring uninstaller = Cwd() + L"\\setup_helpers_test.exe";
    ASSERT_TRUE(CreateStartMenuShortcuts(main, L"A", uninstaller, L"B"));
    EXPECT_EQ(0, _wcsicmp(main.c_str(), LinkTarget(programs + L"\\A\\A.lnk").c_str()));
    EXPECT_EQ(0, _wcsicmp(uninstaller.c_str(), LinkTarget(programs + L"\\A\\B.lnk").c_str()));
    // An empty name must never stand for the Programs folder itself.
    for (const wchar_t* bad : {L"", L".", L"..", L"A\\..\\.."}) EXPECT_FALSE(DeleteStartMenuFolder(bad)) << Narrow(bad);
    EXPECT_TRUE(Exists(programs + L"\\A\\A.lnk"));
    EXPECT_TRUE(DeleteStartMenuFolder(L"A"));
    EXPECT_FALSE(Exists(programs + L"\\A"));
    EXPECT_TRUE(Exists(programs));
}

// ---- processes ----

struct Child {
    PROCESS_INFORMATION pi = {};
    bool Alive() const { return WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }
};

Child StartDummy(const std::wstring& exe)
{
    Child c;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\"";
    CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &c.pi);
    return c;
}

std::vector<DWORD> SnapshotIdsContaining(const std::wstring& text)
{
    std::vector<DWORD> ids;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W e = {};
    e.dwSize = sizeof e;
    for (BOOL more = Process32FirstW(snap, &e); more; more = Process32NextW(snap, &e))
        if (std::wstring(e.szExeFile).find(text) != std::wstring::npos) ids.push_back(e.th32ProcessID);
    CloseHandle(snap);
    return ids;
}

TEST(Processes, KillsOnlyTheFirstMatchAndNeverItself)
{
    const std::wstring second = Cwd() + L"\\work\\orvo_dummy_process_b.exe";
    CreateDirectoryW((Cwd() + L"\\work").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(L"orvo_dummy_process.exe", second.c_str(), FALSE));
    Child a = StartDummy(Cwd() + L"\\orvo_dummy_process.exe");
    Child b = StartDummy(second);
    ASSERT_TRUE(a.pi.hProcess && b.pi.hProcess);
    std::vector<DWORD> order = SnapshotIdsContaining(L"orvo_dummy");
    ASSERT_EQ(2u, order.size());
    Child& first = order[0] == a.pi.dwProcessId ? a : b;
    Child& other = order[0] == a.pi.dwProcessId ? b : a;

    EXPECT_TRUE(KillProcessesByName(L"orvo_dummy"));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.pi.hProcess, 30000));
    EXPECT_TRUE(other.Alive());
    // Case-sensitive, and an empty text matches nothing.
    EXPECT_FALSE(KillProcessesByName(L"ORVO_DUMMY"));
    EXPECT_FALSE(KillProcessesByName(L""));
    EXPECT_TRUE(other.Alive());
    // This process's own name matches, but it is never the one terminated.
    EXPECT_FALSE(KillProcessesByName(L"setup_helpers_test"));

    EXPECT_TRUE(KillProcessById(other.pi.dwProcessId));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(other.pi.hProcess, 30000));
    for (Child* c : {&a, &b}) {
        CloseHandle(c->pi.hProcess);
        CloseHandle(c->pi.hThread);
    }
}

TEST(Processes, ShutdownPrivilegeIsEnabled) { EXPECT_TRUE(EnableShutdownPrivilege()); }

// ---- batch files ----

bool RunAndWait(const std::wstring& bat)
{
    UniqueHandle process = StartHiddenBatch(bat);
    return process.Valid() && WaitForSingleObject(process.Get(), 120000) == WAIT_OBJECT_0;
}

TEST(BatchFiles, CleanBatRefusesProtectedFolders)
{
    for (const std::wstring& folder : {std::wstring(), std::wstring(L"C:\\"), std::wstring(L"D:\\"),
                                       Special(CSIDL_PROGRAM_FILES), Special(CSIDL_WINDOWS), Special(CSIDL_PROFILE),
                                       Special(CSIDL_DESKTOPDIRECTORY)}) {
        std::wstring bat = L"none";
        EXPECT_FALSE(WriteCleanBat(folder, &bat)) << Narrow(folder);
        EXPECT_EQ(L"none", bat);
    }
}

TEST(BatchFiles, CleanBatRefusesAFolderThatStillHoldsALink)
{
    // Made by the fixture step: fixtures\clean-link\sub\link -> fixtures\clean-link-outside.
    const std::wstring folder = Cwd() + L"\\fixtures\\clean-link";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder + L"\\sub\\link").c_str()));
    std::wstring bat = L"none";
    EXPECT_FALSE(WriteCleanBat(folder, &bat));
    EXPECT_EQ(L"none", bat);
    EXPECT_TRUE(Exists(Cwd() + L"\\fixtures\\clean-link-outside\\precious.txt"));
}

// Runs a batch as cmd does where the registry turns delayed expansion on
// for every command interpreter: "!" then takes text out of a line.
bool RunWithDelayedExpansionAndWait(const std::wstring& bat)
{
    std::wstring cmd = L"cmd.exe /v:on /c \"" + bat + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return false;
    const bool ended = WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ended;
}

TEST(BatchFiles, CleanBatRemovesExactlyTheFolderWhateverItsName)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* decoy;  // a folder beside it that a misread name would hit
        bool delayedExpansion;
    } cases[] = {
        {L"Orvo 100% \u5ba2\u6237\u7aef", L"Orvo 100 \u5ba2\u6237\u7aef", false},
        {L"My!Games", L"MyGames", true},
        {L"a&b^c! d", L"a&bc d", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        const std::wstring parent = FreshFolder(L"clean");
        const std::wstring folder = parent + L"\\" + c.name;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((folder + L"\\sub dir").c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(folder + L"\\OrvoUninstall.exe", "x"));
        ASSERT_TRUE(WriteBytes(folder + L"\\sub dir\\.hidden", "x"));
        ASSERT_TRUE(CreateDirectoryW((parent + L"\\" + c.decoy).c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(parent + L"\\" + c.decoy + L"\\precious.txt", "stay"));
        std::wstring bat;
        ASSERT_TRUE(WriteCleanBat(folder, &bat));
        EXPECT_EQ(std::wstring::npos, bat.find(folder));
        ASSERT_TRUE(c.delayedExpansion ? RunWithDelayedExpansionAndWait(bat) : RunAndWait(bat));
        EXPECT_FALSE(Exists(folder));
        EXPECT_FALSE(Exists(bat));
        EXPECT_EQ("stay", ReadBytes(parent + L"\\" + c.decoy + L"\\precious.txt"));
    }
}

std::wstring TempFolder()
{
    wchar_t buf[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    std::wstring folder(buf, n);
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

// "clean.bat" goes into the shared temporary folder, where another program
// may keep a file or a folder of that name.
TEST(BatchFiles, CleanBatNeverTouchesAnotherFileOfItsNameInTheTemporaryFolder)
{
    const std::wstring planted = TempFolder() + L"\\clean.bat";
    enum Kind { kFile, kReadOnlyFile, kFolder };
    for (Kind kind : {kFile, kReadOnlyFile, kFolder}) {
        SCOPED_TRACE(kind);
        RemoveTree(planted);
        if (kind == kFolder) {
            ASSERT_TRUE(CreateDirectoryW(planted.c_str(), nullptr));
            ASSERT_TRUE(WriteBytes(planted + L"\\inside.txt", "theirs"));
        } else {
            ASSERT_TRUE(WriteBytes(planted, "echo another program's batch"));
            if (kind == kReadOnlyFile) { ASSERT_TRUE(SetFileAttributesW(planted.c_str(), FILE_ATTRIBUTE_READONLY)); }
        }
        const std::wstring folder = FreshFolder(L"clean-beside-planted");
        ASSERT_TRUE(WriteBytes(folder + L"\\OrvoUninstall.exe", "x"));
        std::wstring bat;
        ASSERT_TRUE(WriteCleanBat(folder, &bat));
        EXPECT_NE(planted, bat);
        EXPECT_EQ(L"clean.bat", GetFileNamePart(bat.c_str()));
        ASSERT_TRUE(RunAndWait(bat));
        EXPECT_FALSE(Exists(folder));
        EXPECT_FALSE(Exists(bat));
        // Windows removes the batch's own folder with it; Wine's cmd holds
        // its batch open until it ends, which keeps that folder, empty.
        const std::wstring own = bat.substr(0, bat.rfind(L'\\'));
        ASSERT_NE(TempFolder(), own);
        if (!RunningUnderWine()) { EXPECT_FALSE(Exists(own)); }
        EXPECT_TRUE(ReadTree(own).empty());
        if (kind == kFolder) {
            EXPECT_EQ("theirs", ReadBytes(planted + L"\\inside.txt"));
        } else {
            EXPECT_EQ("echo another program's batch", ReadBytes(planted));
            EXPECT_EQ(kind == kReadOnlyFile, (GetFileAttributesW(planted.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
        }
        SetFileAttributesW(planted.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveTree(own);
    }
    RemoveTree(planted);
}

TEST(BatchFiles, CleanBatRemovesTheFolderItWasStartedFrom)
{
    const std::wstring folder = FreshFolder(L"clean-started-inside");
    ASSERT_TRUE(WriteBytes(folder + L"\\OrvoUninstall.exe", "x"));
    std::wstring bat;
    ASSERT_TRUE(WriteCleanBat(folder, &bat));
    // An uninstaller run from its own folder: the batch must not keep it as
    // its current folder, or the folder cannot be removed.
    const std::wstring cwd = Cwd();
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    UniqueHandle process = StartHiddenBatch(bat);
    ASSERT_TRUE(SetCurrentDirectoryW(cwd.c_str()));
    ASSERT_TRUE(process.Valid());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.Get(), 120000));
    EXPECT_FALSE(Exists(folder));
}

TEST(BatchFiles, UninstallerFolderIsGoneAfterItExits)
{
    const std::wstring folder = FreshFolder(L"Orvo \u5ba2\u6237\u7aef uninstall");
    const std::wstring exe = folder + L"\\OrvoUninstall.exe";
    ASSERT_TRUE(CopyFileW(L"orvo_dummy_process.exe", exe.c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(folder + L"\\OrvoMain.exe", "x"));
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + exe + L"\" --self-delete";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 60000));
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    // The batch runs on after the process has ended.
    for (int i = 0; i < 600 && Exists(folder); ++i) Sleep(100);
    EXPECT_FALSE(Exists(folder));
    EXPECT_TRUE(Exists(Cwd() + L"\\work"));
}

TEST(BatchFiles, DelBatRemovesOnlyTopLevelBackups)
{
    const std::wstring folder = FreshFolder(L"del bat 50%");
    CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);
    for (const wchar_t* f : {L"\\a.dll.orvobak", L"\\b b.exe.orvobak", L"\\keep.txt", L"\\sub\\c.orvobak"})
        ASSERT_TRUE(WriteBytes(folder + f, "x"));
    std::wstring bat;
    // The launcher's own spelling: system code page, "/" between folders.
    std::string eightBit;
    for (wchar_t c : folder) eightBit += c == L'\\' ? '/' : static_cast<char>(c);
    ASSERT_TRUE(WriteDelBat(eightBit, &bat));
    EXPECT_EQ(folder + L"\\del.bat", bat);
    ASSERT_TRUE(RunAndWait(bat));
    std::map<std::wstring, std::string> left = {{L"keep.txt", "x"}, {L"sub\\", ""}, {L"sub\\c.orvobak", "x"}};
    EXPECT_EQ(left, ReadTree(folder));
    EXPECT_FALSE(WriteDelBat("", &bat));
    EXPECT_FALSE(WriteDelBat("relative", &bat));
}

}  // namespace
