// The uninstaller driven end to end as a user would, in a fresh Wine prefix:
// the start-up checks, the three pages in both languages, the questions, the
// removal of files, links, the Run value and the key, the folder gone after
// the program exits, and folders it must never empty (canary files).
#include "ProgramDriver.h"
#include "TestFiles.h"

#include "syshelpers/RegistryEntries.h"
#include "syshelpers/Shortcuts.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

using e2e::Element;
using e2e::ProgramDriver;

namespace {

const wchar_t kUninstaller[] = ORVOUNINSTALL_EXE;
const DWORD kLong = 120000;  // a program's start, under emulation

std::wstring Special(int csidl)
{
    wchar_t buf[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    return buf;
}

std::wstring Join(const std::wstring& folder, const std::wstring& name)
{
    return folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

std::wstring Shot(const std::wstring& name) { return Cwd() + L"\\" + name + L".png"; }

bool RunValueExists()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    const bool exists = RegQueryValueExW(key, kAutoRunValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

bool UninstallKeyExists()
{
    HKEY key;
    const std::wstring path = std::wstring(kUninstallKeyPath) + L"\\" + kUninstallSubkey;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void MakeFolders(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

// Registers folder as the install folder, in the language index given.
void Register(const std::wstring& folder, DWORD languageIndex)
{
    UninstallInfo info;
    info.displayName = languageIndex ? L"Orvoesports" : L"Orvo对战平台";
    info.uninstallerPath = folder + L"\\OrvoUninstall.exe";
    info.iconPath = folder + L"\\OrvoMain.exe";
    info.publisher = L"Orvo";
    info.estimatedSizeKb = 1;
    info.languageIndex = languageIndex;
    ASSERT_EQ(ERROR_SUCCESS, WriteUninstallKey(info));
}

// The link name the install used: the translation of "Orvoesports".
std::wstring LinkName(DWORD languageIndex) { return languageIndex ? L"Orvoesports" : L"Orvo对战平台"; }

// What an install leaves: the uninstaller and files (some in sub-folders)
// in folder, the links, the Run value and the registration.
void InstallFixture(const std::wstring& folder, DWORD languageIndex, int files)
{
    MakeFolders(folder + L"\\data\\maps");
    ASSERT_TRUE(CopyFileW(kUninstaller, (folder + L"\\OrvoUninstall.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(folder + L"\\OrvoMain.exe", "MZ launcher"));
    for (int i = 0; i < files; ++i) {
        const wchar_t* sub = i % 3 == 0 ? L"\\" : i % 3 == 1 ? L"\\data\\" : L"\\data\\maps\\";
        ASSERT_TRUE(WriteBytes(folder + sub + L"file" + std::to_wstring(i) + L".bin", std::string(100 + i, 'x')));
    }
    const std::wstring name = LinkName(languageIndex);
    ASSERT_TRUE(CreateDesktopShortcut(folder + L"\\OrvoMain.exe", name));
    ASSERT_TRUE(CreateStartMenuShortcuts(folder + L"\\OrvoMain.exe", name, folder + L"\\OrvoUninstall.exe",
                                         languageIndex ? L"Uninstall Orvoesports" : L"卸载Orvo对战平台"));
    ASSERT_TRUE(SetAutoRun(folder + L"\\OrvoMain.exe"));
    Register(folder, languageIndex);
}

std::wstring DesktopLink(DWORD languageIndex)
{
    return Special(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\" + LinkName(languageIndex) + L".lnk";
}
std::wstring StartMenuFolder(DWORD languageIndex)
{
    return Special(CSIDL_COMMON_PROGRAMS) + L"\\" + LinkName(languageIndex);
}

class UninstallE2E : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};

// Runs the uninstaller of folder through confirm, removing and done, taking
// screenshots "<tag>_confirm", "<tag>_removing", "<tag>_done"; the program
// still runs on the done page.
void RemoveUpToDonePage(ProgramDriver& p, HWND* wizard, const std::wstring& tag)
{
    HWND w = *wizard = p.WaitHost(L"unmainWindow", kLong);
    ASSERT_TRUE(w) << "no uninstall wizard";
    EXPECT_TRUE(p.WaitVisible(w, L"page_unconfig", 1000));
    EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"uninstall_" + tag + L"_confirm")));
    ASSERT_TRUE(p.Click(w, L"btn_to_uninstall"));
    ASSERT_TRUE(p.WaitVisible(w, L"page_uninstalling", 30000));
    EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"uninstall_" + tag + L"_removing")));
    ASSERT_TRUE(p.WaitVisible(w, L"page_unend", kLong));
    Element unconfig;
    ASSERT_TRUE(p.Find(w, L"page_unconfig", &unconfig));
    EXPECT_FALSE(unconfig.visible);
    EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"uninstall_" + tag + L"_done")));
}

// ---- start-up checks ----

TEST_F(UninstallE2E, StartupChecksAskBeforeAnythingRuns)
{
    const std::wstring root = L"C:\\startup";
    MakeFolders(root + L"\\first");
    MakeFolders(root + L"\\second");
    ASSERT_TRUE(CopyFileW(kUninstaller, (root + L"\\first\\OrvoSetup.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(kUninstaller, (root + L"\\second\\OrvoUninstall.exe").c_str(), FALSE));

    {  // the client runs: Cancel ends the program before any window
        HANDLE client = CreateMutexW(nullptr, FALSE, L"Fraymark");
        ASSERT_TRUE(client);
        ProgramDriver p;
        ASSERT_TRUE(p.Start(root + L"\\second\\OrvoUninstall.exe"));
        HWND box = p.WaitMessageBox(kLong);
        ASSERT_TRUE(box);
        EXPECT_EQ(L"当前正在运行Orvo客户端，是否继续安装？", ProgramDriver::MessageBoxText(box));
        EXPECT_EQ(L"Orvo安装", ProgramDriver::WindowTitle(box));
        ASSERT_TRUE(ProgramDriver::PressMessageBoxButton(box, IDCANCEL));
        DWORD code = 99;
        ASSERT_TRUE(p.WaitExit(30000, &code));
        EXPECT_EQ(0u, code);
        EXPECT_FALSE(p.WaitHost(L"unmainWindow", 0));

        // OK stops the client's launcher first, then the wizard opens.
        MakeFolders(root + L"\\client");
        ASSERT_TRUE(CopyFileW(ORVO_DUMMY_EXE, (root + L"\\client\\OrvoMain.exe").c_str(), FALSE));
        ProgramDriver launcher;
        ASSERT_TRUE(launcher.Start(root + L"\\client\\OrvoMain.exe"));
        ProgramDriver q;
        ASSERT_TRUE(q.Start(root + L"\\second\\OrvoUninstall.exe"));
        box = q.WaitMessageBox(kLong);
        ASSERT_TRUE(box);
        ASSERT_TRUE(ProgramDriver::PressMessageBoxButton(box, IDOK));
        EXPECT_TRUE(launcher.WaitExit(30000)) << "the launcher still runs";
        HWND w = q.WaitHost(L"unmainWindow", kLong);
        ASSERT_TRUE(w);
        CloseHandle(client);
        ASSERT_TRUE(q.Click(w, L"btn_to_cancel"));
        HWND question = q.WaitHost(L"queryWindow", 30000);
        ASSERT_TRUE(question);
        ASSERT_TRUE(q.Click(question, L"#1"));
        ASSERT_TRUE(q.WaitExit(30000));
    }

    ProgramDriver first;  // a setup already running, by the name the check stops
    ASSERT_TRUE(first.Start(root + L"\\first\\OrvoSetup.exe"));
    ASSERT_TRUE(first.WaitHost(L"unmainWindow", kLong));
    {  // a second one: Cancel leaves the first running
        ProgramDriver second;
        ASSERT_TRUE(second.Start(root + L"\\second\\OrvoUninstall.exe"));
        HWND box = second.WaitMessageBox(kLong);
        ASSERT_TRUE(box);
        EXPECT_EQ(L"当前已经有Orvo安装程序在运行中，确定继续安装，取消退出安装", ProgramDriver::MessageBoxText(box));
        EXPECT_EQ(L"Orvo安装", ProgramDriver::WindowTitle(box));
        EXPECT_TRUE(ProgramDriver::Screenshot(box, Shot(L"startup_second_instance")));
        ASSERT_TRUE(ProgramDriver::PressMessageBoxButton(box, IDCANCEL));
        DWORD code = 99;
        ASSERT_TRUE(second.WaitExit(30000, &code));
        EXPECT_EQ(0u, code);
        EXPECT_TRUE(first.Running());
    }
    {  // OK stops the first and goes on
        ProgramDriver third;
        ASSERT_TRUE(third.Start(root + L"\\second\\OrvoUninstall.exe"));
        HWND box = third.WaitMessageBox(kLong);
        ASSERT_TRUE(box);
        ASSERT_TRUE(ProgramDriver::PressMessageBoxButton(box, IDOK));
        EXPECT_TRUE(first.WaitExit(30000));
        HWND w = third.WaitHost(L"unmainWindow", kLong);
        ASSERT_TRUE(w);
        // Cancel on the first page asks; the question's close button answers Cancel.
        ASSERT_TRUE(third.Click(w, L"btn_to_cancel"));
        HWND q = third.WaitHost(L"queryWindow", 30000);
        ASSERT_TRUE(q);
        ASSERT_TRUE(third.Click(q, L"btn_close"));
        ASSERT_TRUE(ProgramDriver::WaitFor([&] { return !IsWindow(q) || !IsWindowVisible(q); }, 30000));
        EXPECT_TRUE(third.Running());
        // Closing the window asks too, and OK ends the program with nothing removed.
        PostMessageW(w, WM_CLOSE, 0, 0);
        q = third.WaitHost(L"queryWindow", 30000);
        ASSERT_TRUE(q);
        ASSERT_TRUE(third.Click(q, L"#1"));
        ASSERT_TRUE(third.WaitExit(30000));
        EXPECT_TRUE(Exists(root + L"\\second\\OrvoUninstall.exe"));
    }
}

// A setup started while the uninstaller runs would install files that the
// uninstaller and its batch file then remove: OK stops the uninstaller too,
// and where the running one cannot be stopped the setup does not go on.
TEST_F(UninstallE2E, ASetupNeverRunsBesideAnUninstaller)
{
    const std::wstring folder = L"C:\\both\\Orvoesports";
    InstallFixture(folder, 1, 3);
    {  // OK stops the uninstaller and the setup goes on
        ProgramDriver uninstaller;
        ASSERT_TRUE(uninstaller.Start(folder + L"\\OrvoUninstall.exe"));
        ASSERT_TRUE(uninstaller.WaitHost(L"unmainWindow", kLong));
        ProgramDriver setup;
        ASSERT_TRUE(setup.Start(ORVOSETUP_EXE));
        HWND box = setup.WaitMessageBox(kLong);
        ASSERT_TRUE(box);
        EXPECT_EQ(L"当前已经有Orvo安装程序在运行中，确定继续安装，取消退出安装", ProgramDriver::MessageBoxText(box));
        ASSERT_TRUE(ProgramDriver::PressMessageBoxButton(box, IDOK));
        EXPECT_TRUE(uninstaller.WaitExit(30000)) << "the uninstaller still runs beside the setup";
        EXPECT_TRUE(setup.WaitHost(L"selLangWindow", kLong));
    }
    {  // one that cannot be stopped (a copy by another name): the setup says so and ends
        const std::wstring other = L"C:\\both\\other";
        MakeFolders(other);
        ASSERT_TRUE(CopyFileW(kUninstaller, (other + L"\\Remover.exe").c_str(), FALSE));
        ProgramDriver remover;
        ASSERT_TRUE(remover.Start(other + L"\\Remover.exe"));
        ASSERT_TRUE(remover.WaitHost(L"unmainWindow", kLong));
        ProgramDriver setup;
        ASSERT_TRUE(setup.Start(ORVOSETUP_EXE));
        HWND box = setup.WaitMessageBox(kLong);
        ASSERT_TRUE(box);
        ASSERT_TRUE(ProgramDriver::PressMessageBoxButton(box, IDOK));
        ASSERT_TRUE(ProgramDriver::WaitFor([&] { return !IsWindow(box); }, 30000));
        HWND refusal = setup.WaitMessageBox(30000);
        ASSERT_TRUE(refusal) << "the setup went on beside a running uninstaller";
        EXPECT_EQ(L"安装程序运行出错, 代码:258", ProgramDriver::MessageBoxText(refusal));
        EXPECT_EQ(L"Orvo安装程序", ProgramDriver::WindowTitle(refusal));
        ASSERT_TRUE(ProgramDriver::PressMessageBoxButton(refusal, IDOK));
        DWORD code = 99;
        ASSERT_TRUE(setup.WaitExit(30000, &code));
        EXPECT_EQ(0u, code);
        EXPECT_FALSE(setup.WaitHost(L"selLangWindow", 0));
        EXPECT_TRUE(remover.Running());
    }
}

// ---- the whole removal ----

TEST_F(UninstallE2E, RemovesTheInstallInEnglish)
{
    const std::wstring folder = Special(CSIDL_PROGRAM_FILES) + L"\\Orvoesports";
    const std::wstring neighbour = Special(CSIDL_PROGRAM_FILES) + L"\\Neighbour";
    MakeFolders(neighbour);
    ASSERT_TRUE(WriteBytes(neighbour + L"\\keep.txt", "canary"));
    ASSERT_TRUE(WriteBytes(Special(CSIDL_PROGRAM_FILES) + L"\\keep.txt", "canary"));
    InstallFixture(folder, 1, 40);
    ASSERT_TRUE(Exists(DesktopLink(1)));
    ASSERT_TRUE(Exists(StartMenuFolder(1)));

    ProgramDriver p;
    ASSERT_TRUE(p.Start(folder + L"\\OrvoUninstall.exe"));
    HWND w = p.WaitHost(L"unmainWindow", kLong);
    ASSERT_TRUE(w);
    EXPECT_EQ(L"Orvoesports", ProgramDriver::WindowTitle(w)) << "the title, translated";

    // Cancel asks; answering Cancel keeps the wizard on its first page.
    ASSERT_TRUE(p.Click(w, L"btn_to_cancel"));
    HWND q = p.WaitHost(L"queryWindow", 30000);
    ASSERT_TRUE(q);
    Element ok, cancel;
    ASSERT_TRUE(p.Find(q, L"#1", &ok));
    ASSERT_TRUE(p.Find(q, L"#2", &cancel));
    EXPECT_TRUE(ok.visible && cancel.visible);
    EXPECT_LT(ok.rect.right, cancel.rect.left);
    EXPECT_TRUE(ProgramDriver::Screenshot(q, Shot(L"query_exit_en")));
    ASSERT_TRUE(p.Click(q, L"#2"));
    ASSERT_TRUE(ProgramDriver::WaitFor([&] { return !IsWindow(q) || !IsWindowVisible(q); }, 30000));
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(p.WaitVisible(w, L"page_unconfig", 1000));

    RemoveUpToDonePage(p, &w, L"en");
    // The registration is gone once the done page shows.
    EXPECT_FALSE(UninstallKeyExists());
    EXPECT_FALSE(RunValueExists());
    EXPECT_FALSE(Exists(DesktopLink(1)));
    EXPECT_FALSE(Exists(StartMenuFolder(1)));
    EXPECT_FALSE(Exists(folder + L"\\data"));
    EXPECT_FALSE(Exists(folder + L"\\OrvoMain.exe"));

    // Finish by real input: the program ends and its folder goes after it.
    ASSERT_TRUE(p.ClickReal(w, L"btn_finish"));
    ASSERT_TRUE(p.WaitExit(30000));
    EXPECT_TRUE(ProgramDriver::WaitFor([&] { return !Exists(folder); }, 60000)) << "install folder left behind";
    EXPECT_EQ("canary", ReadBytes(neighbour + L"\\keep.txt"));
    EXPECT_EQ("canary", ReadBytes(Special(CSIDL_PROGRAM_FILES) + L"\\keep.txt"));
}

TEST_F(UninstallE2E, ClosingWhileRemovingStopsTheWorkerInChinese)
{
    const std::wstring folder = L"C:\\Games\\Orvo对战平台";
    InstallFixture(folder, 0, 300);
    {
        ProgramDriver p;
        ASSERT_TRUE(p.Start(folder + L"\\OrvoUninstall.exe"));
        HWND w = p.WaitHost(L"unmainWindow", kLong);
        ASSERT_TRUE(w);
        EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"uninstall_cn_confirm")));
        ASSERT_TRUE(p.Click(w, L"btn_to_uninstall"));
        ASSERT_TRUE(p.WaitVisible(w, L"page_uninstalling", 30000));
        EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"uninstall_cn_removing")));
        // Closing while the worker runs asks first; OK stops the worker and ends the program.
        PostMessageW(w, WM_CLOSE, 0, 0);
        HWND q = p.WaitHost(L"queryWindow", 30000);
        ASSERT_TRUE(q);
        EXPECT_TRUE(ProgramDriver::Screenshot(q, Shot(L"query_exit_cn")));
        ASSERT_TRUE(p.Click(q, L"#1"));
        ASSERT_TRUE(p.WaitExit(20000));
    }
    // Stopped part way: files remain, so does the registration, and nothing removes the folder.
    Sleep(3000);
    EXPECT_TRUE(Exists(folder + L"\\OrvoUninstall.exe"));
    const size_t left = ReadTree(folder).size();
    EXPECT_GT(left, 20u);
    EXPECT_TRUE(UninstallKeyExists());
    EXPECT_TRUE(RunValueExists());

    // A second run finishes the job; closing on the done page does not ask.
    ProgramDriver p;
    ASSERT_TRUE(p.Start(folder + L"\\OrvoUninstall.exe"));
    HWND w = nullptr;
    RemoveUpToDonePage(p, &w, L"cn");
    EXPECT_FALSE(UninstallKeyExists());
    EXPECT_FALSE(Exists(DesktopLink(0)));
    EXPECT_FALSE(Exists(StartMenuFolder(0)));
    ASSERT_TRUE(p.Click(w, L"btn_close"));
    ASSERT_TRUE(p.WaitExit(30000));
    EXPECT_TRUE(ProgramDriver::WaitFor([&] { return !Exists(folder); }, 60000)) << "install folder left behind";
    EXPECT_TRUE(Exists(L"C:\\Games"));
}

// ---- folders it must never empty ----

TEST_F(UninstallE2E, RefusesFoldersThatAreNotItsOwnInstall)
{
    struct Case {
        const wchar_t* what;
        std::wstring exeFolder;   // where the uninstaller runs from
        std::wstring registered;  // the registered install folder; empty: no registration
        DWORD languageIndex;
    } cases[] = {
        {L"drive root", L"C:\\", L"C:\\", 1},
        {L"desktop", Special(CSIDL_DESKTOPDIRECTORY), Special(CSIDL_DESKTOPDIRECTORY), 0},
        {L"parent holding other files", L"C:\\Shared\\Orvoesports", L"C:\\Shared", 0},
        {L"folder of other files, registered elsewhere", L"C:\\Shared", L"C:\\Shared\\Orvoesports", 1},
        {L"no registration", L"C:\\Shared\\Orvoesports", L"", 1},
    };
    // Wine links the desktop to the Unix home folder unless the prefix has its
    // own: the files of this test must stay in the prefix.
    const DWORD desktop = GetFileAttributesW(Special(CSIDL_DESKTOPDIRECTORY).c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, desktop);
    ASSERT_FALSE(desktop & FILE_ATTRIBUTE_REPARSE_POINT) << "the desktop lies outside the prefix";
    int shot = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what, c.what + wcslen(c.what)));
        MakeFolders(c.exeFolder);
        MakeFolders(L"C:\\Shared\\Orvoesports");
        const std::wstring exe = Join(c.exeFolder, L"OrvoUninstall.exe");
        ASSERT_TRUE(CopyFileW(kUninstaller, exe.c_str(), FALSE));
        const std::wstring canaries[] = {Join(c.exeFolder, L"canary.txt"), L"C:\\Shared\\canary.txt",
                                         L"C:\\Shared\\Orvoesports\\canary.txt"};
        for (const std::wstring& canary : canaries) ASSERT_TRUE(WriteBytes(canary, "canary"));
        if (c.registered.empty()) DeleteUninstallKey();
        else Register(c.registered, c.languageIndex);

        ProgramDriver p;
        ASSERT_TRUE(p.Start(exe));
        HWND w = p.WaitHost(L"unmainWindow", kLong);
        ASSERT_TRUE(w);
        // The language the install stored, Chinese without a registration.
        const bool english = !c.registered.empty() && c.languageIndex == 1;
        EXPECT_EQ(english ? L"Orvoesports" : L"Orvo对战平台", ProgramDriver::WindowTitle(w));
        ASSERT_TRUE(p.Click(w, L"btn_to_uninstall"));
        HWND q = p.WaitHost(L"queryWindow", 30000);
        ASSERT_TRUE(q) << "no refusal";
        Element ok, cancel;
        ASSERT_TRUE(p.Find(q, L"#1", &ok));
        ASSERT_TRUE(p.Find(q, L"#2", &cancel));
        EXPECT_TRUE(ok.visible);
        EXPECT_FALSE(cancel.visible);
        RECT client = {};
        GetClientRect(q, &client);
        EXPECT_NEAR(client.right / 2, (ok.rect.left + ok.rect.right) / 2, 2) << "OK alone is centred";
        if (shot < 2) {
            const std::wstring lang = c.languageIndex ? L"en" : L"cn";
            EXPECT_TRUE(ProgramDriver::Screenshot(q, Shot(L"query_failed_" + lang)));
            ++shot;
        }
        ASSERT_TRUE(p.Click(q, L"#1"));
        ASSERT_TRUE(p.WaitExit(30000));
        Sleep(3000);  // time for a removal batch, were one started
        for (const std::wstring& canary : canaries) EXPECT_EQ("canary", ReadBytes(canary)) << "lost " << std::string(canary.begin(), canary.end());
        EXPECT_TRUE(Exists(exe));
        EXPECT_EQ(!c.registered.empty(), UninstallKeyExists());
        DeleteFileW(exe.c_str());
    }
}

}  // namespace
