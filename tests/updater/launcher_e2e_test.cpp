// The launcher as players run it: OrvoMain.exe in its install folder,
// started with "--appPath" and "--updateUrl" against the loopback server,
// updating the folder and starting the stand-in client there.
#include "LauncherTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "TestRelease.h"
#include "syshelpers/WinHandles.h"

namespace {

struct Launcher
{
    UniqueHandle process;
    DWORD id = 0;

    Launcher() = default;
    Launcher(Launcher&&) = default;
    // A launcher a failed test left waiting would hold the test's output open.
    ~Launcher()
    {
        if (process.Valid() && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(process.Get(), 1);
    }
};

// Copies OrvoMain.exe into folder, as the setup installs it, and starts it
// there. It gets this process's inheritable handles (an InheritProbe's), so
// that a client it handed its own handles to would hold one the test knows.
Launcher StartLauncher(const std::wstring& folder, const TestRelease& release)
{
    Launcher launcher;
    const std::wstring exe = folder + L"\\OrvoMain.exe";
    // A launcher already there may be running.
    if (!CopyFileW(ORVO_MAIN_EXE, exe.c_str(), TRUE) && GetLastError() != ERROR_FILE_EXISTS)
        return launcher;
    std::wstring commandLine =
        L"\"" + exe + L"\" --appPath \"" + folder + L"\" --updateUrl " + WideOf(release.Url("updater.ini"));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return launcher;
    CloseHandle(info.hThread);
    launcher.process.Reset(info.hProcess);
    launcher.id = info.dwProcessId;
    return launcher;
}

struct WindowSearch
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND w, LPARAM p)
{
    auto* search = reinterpret_cast<WindowSearch*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    RECT rc;
    if (owner != search->processId || !IsWindowVisible(w) || !GetWindowRect(w, &rc) || rc.right - rc.left != 719)
        return TRUE;
    search->found = w;
    return FALSE;
}

// The launcher's visible 719-wide top-level window, waited for up to ms.
HWND WaitForWindow(DWORD processId, DWORD ms)
{
    WindowSearch search = {processId, nullptr};
    const DWORD start = GetTickCount();
    do {
        EnumWindows(MatchWindow, LPARAM(&search));
        if (search.found)
            return search.found;
        Sleep(100);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

DWORD ExitCodeWithin(const Launcher& launcher, DWORD ms)
{
    if (WaitForSingleObject(launcher.process.Get(), ms) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(launcher.process.Get(), &code);
    return code;
}

bool WaitGone(const std::wstring& path, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (ExistsWide(path)) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(100);
    }
    return true;
}

// True once done says so, asked every 50 ms for up to ms (nothing of this
// process's own is pumped: the launchers are other processes).
bool WaitUntil(const std::function<bool()>& done, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms)
            return false;
        Sleep(50);
    }
    return true;
}

// True once a line of the launcher's logs in folder holds text, waited for up to ms.
bool WaitForLogLine(const std::wstring& folder, const std::string& text, DWORD ms)
{
    return WaitUntil(
        [&] {
            for (const std::string& log : FindFiles(Utf8Of(folder + L"\\log"), "UpdateLog"))
                if (ReadWide(WideOf(log)).find(text) != std::string::npos)
                    return true;
            return false;
        },
        ms);
}

// A release with the stand-in client and a little data, named in version.txt.
void FillRelease(TestRelease& release)
{
    release.AddFile("Client.exe", StandInClientBytes());
    release.AddFile("data/maps.pak", std::string(1500000, 'm'));
    release.AddFile("readme.txt", "Welcome to Orvo.");
    release.AddFile("notice.txt", "Season 3 opens on Friday. New maps: Harbour and Canyon.\r\n"
                                  "Servers restart at 06:00 for maintenance.");
    release.AddFile("version.txt", "Client.exe:5.0.1");
    release.SetManifest("data|0\r\n" + release.ManifestFor({"Client.exe", "readme.txt", "data/maps.pak"}));
}

TEST(LauncherProgram, UpdatesStartsTheClientExitsAndDelBatRemovesTheBackups)
{
    TestRelease release("e2e_space");
    FillRelease(release);
    // The big file comes slowly, so the window can be seen at work.
    release.AddBehaviour("data/maps.pak pace 400000");
    const std::wstring folder = FullPathOf(WideOf(release.InstallDir()) + L"\\Orvo Game");
    MakeFoldersWide(folder);
    WriteWide(folder + L"\\readme.txt", "Welcome to Orvo.");
    // A backup the launcher cannot remove while something holds it: "del.bat" must.
    const std::wstring backup = folder + L"\\readme.txt.orvobak";
    WriteWide(backup, "old readme");
    UniqueHandle held(CreateFileW(backup.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.Valid());
    InheritProbe probe;
    ASSERT_TRUE(probe.Valid());

    Launcher launcher = StartLauncher(folder, release);
    ASSERT_TRUE(launcher.process.Valid());
    HWND window = WaitForWindow(launcher.id, 60000);
    ASSERT_NE(window, nullptr);
    // While the big file comes: notice, version, counter, progress and speed.
    Sleep(2500);
    EXPECT_TRUE(SaveWindowPicture(window, L"launcher_program.png"));

    EXPECT_EQ(ExitCodeWithin(launcher, 60000), 0u);
    const std::string record = WaitForClientRecord(folder, 20000);
    EXPECT_NE(record.find("cwd=" + Utf8Of(folder) + "\n"), std::string::npos) << record;
    EXPECT_NE(record.find("inherited=0\n"), std::string::npos) << record;
    EXPECT_FALSE(probe.Signalled());
    // Every request as the client sends it: the host without its port, and the agent.
    const std::vector<std::string> heads = release.RequestHeads();
    EXPECT_EQ(heads.size(), release.Requests().size());
    EXPECT_GE(heads.size(), 6u);  // the four server files and the two that differ
    const std::regex request("GET /e2e_space/[^ \r\n]+ HTTP/1\\.1\r\nHost: 127\\.0\\.0\\.1\r\n"
                             "User-Agent: OrvoNetwork\r\n\r\n");
    for (const std::string& head : heads)
        EXPECT_TRUE(std::regex_match(head, request)) << head;
    EXPECT_TRUE(ReadWide(folder + L"\\data\\maps.pak") == std::string(1500000, 'm'));
    EXPECT_TRUE(ReadWide(folder + L"\\Client.exe") == StandInClientBytes());
    EXPECT_FALSE(ExistsWide(folder + L"\\updater.txt"));
    EXPECT_TRUE(ExistsWide(folder + L"\\log"));
    held.Reset();
    EXPECT_TRUE(WaitGone(backup, 30000));
    EXPECT_TRUE(WaitGone(folder + L"\\del.bat", 30000));
    EXPECT_EQ(ReadWide(folder + L"\\readme.txt"), "Welcome to Orvo.");
}

TEST(LauncherProgram, UpdatesAFolderOutsideTheSystemCodePage)
{
    ASSERT_EQ(GetACP(), 1252u);  // the prefix's: "游戏" has no spelling in it
    TestRelease release("e2e_wide");
    FillRelease(release);
    const std::wstring folder = FullPathOf(WideOf(release.InstallDir()) + L"\\游戏\\Orvoesports");
    MakeFoldersWide(folder);
    // A download left by a run that was cut short.
    const std::wstring leftover = folder + L"\\readme.txt_20250101120000.orvobak";
    WriteWide(leftover, "left by an older run");

    Launcher launcher = StartLauncher(folder, release);
    ASSERT_TRUE(launcher.process.Valid());
    EXPECT_EQ(ExitCodeWithin(launcher, 90000), 0u);
    const std::string record = WaitForClientRecord(folder, 20000);
    EXPECT_NE(record.find("cwd=" + Utf8Of(folder) + "\n"), std::string::npos) << record;
    EXPECT_TRUE(ReadWide(folder + L"\\data\\maps.pak") == std::string(1500000, 'm'));
    EXPECT_EQ(ReadWide(folder + L"\\readme.txt"), "Welcome to Orvo.");
    EXPECT_FALSE(ExistsWide(leftover));
    EXPECT_FALSE(ExistsWide(folder + L"\\updater.txt"));
    EXPECT_TRUE(ExistsWide(folder + L"\\log"));
    EXPECT_TRUE(WaitGone(folder + L"\\del.bat", 30000));
}

TEST(LauncherProgram, AFailedUpdateKeepsTheWindowAndNeverStartsTheClient)
{
    TestRelease release("e2e_fail");
    FillRelease(release);
    release.AddBehaviour("readme.txt corrupt");
    const std::wstring folder = FullPathOf(WideOf(release.InstallDir()));

    Launcher launcher = StartLauncher(folder, release);
    ASSERT_TRUE(launcher.process.Valid());
    HWND window = WaitForWindow(launcher.id, 60000);
    ASSERT_NE(window, nullptr);
    // Three tries of the file, then the error; the launcher waits for the player.
    ASSERT_TRUE(WaitUntil([&] { return release.CountRequests("readme.txt") >= 3; }, 60000));
    EXPECT_EQ(ExitCodeWithin(launcher, 3000), DWORD(STILL_ACTIVE));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(WaitForClientRecord(folder, 500).empty());
    EXPECT_FALSE(ExistsWide(folder + L"\\Client.exe"));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_NE(ExitCodeWithin(launcher, 30000), DWORD(STILL_ACTIVE));
}

TEST(LauncherProgram, ASecondLauncherOnTheFolderWaitsItsTurn)
{
    // Started twice, as by a double click too many: the second waits while
    // the first updates, and says so; then it waits for the first one's
    // "del.bat", which deletes every backup in the folder a moment after the
    // first has ended. The second is sent to a later release, so it has
    // files to fetch then, some of them waiting as downloads while the last
    // one comes.
    TestRelease first("e2e_first");
    FillRelease(first);
    first.AddFile("slow.pak", std::string(2000000, 's'));
    first.AddBehaviour("slow.pak pace_gate 8000 _gate");  // until the test opens the gate
    first.SetManifest("data|0\r\n" + first.ManifestFor({"Client.exe", "readme.txt", "data/maps.pak", "slow.pak"}));
    TestRelease second("e2e_second");
    FillRelease(second);
    second.AddFile("readme.txt", "Welcome to season 4.");
    std::vector<std::string> fetched = {"readme.txt"};
    for (int i = 0; i < 5; ++i) {
        fetched.push_back("new" + std::to_string(i) + ".txt");
        second.AddFile(fetched.back(), "new in season 4");
    }
    fetched.push_back("late.bin");
    second.AddFile("late.bin", std::string(600000, 'l'));
    second.AddBehaviour("late.bin pace 100000");
    std::vector<std::string> listed = fetched;
    listed.insert(listed.begin(), {"Client.exe", "data/maps.pak"});
    second.SetManifest("data|0\r\n" + second.ManifestFor(listed));
    const std::wstring folder = FullPathOf(WideOf(first.InstallDir()));

    Launcher one = StartLauncher(folder, first);
    ASSERT_TRUE(one.process.Valid());
    ASSERT_TRUE(WaitUntil([&] { return first.CountRequests("slow.pak") > 0; }, 90000));
    Launcher two = StartLauncher(folder, second);
    ASSERT_TRUE(two.process.Valid());
    HWND window = WaitForWindow(two.id, 60000);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForLogLine(folder, "waiting for another update", 60000));
    EXPECT_TRUE(second.Requests().empty());  // its server not asked yet
    Sleep(500);
    EXPECT_TRUE(SaveWindowPicture(window, L"launcher_waiting.png"));

    WriteFileBytes(first.ServedDir() + "/_gate", "");
    EXPECT_EQ(ExitCodeWithin(one, 60000), 0u);
    EXPECT_EQ(ExitCodeWithin(two, 90000), 0u);
    EXPECT_FALSE(WaitForClientRecord(folder, 20000).empty());
    for (const std::string& name : fetched) {
        EXPECT_TRUE(ReadWide(folder + L"\\" + WideOf(name)) == ReadFileBytes(second.ServedDir() + "/" + name)) << name;
        EXPECT_EQ(second.CountRequests(name), 1) << name;
    }
    EXPECT_TRUE(ReadWide(folder + L"\\slow.pak") == std::string(2000000, 's'));
    EXPECT_TRUE(WaitGone(folder + L"\\del.bat", 30000));
    EXPECT_TRUE(FindFiles(Utf8Of(folder), ".orvobak").empty());
    EXPECT_FALSE(ExistsWide(folder + L"\\updater.txt"));
}

} // namespace
