// The launcher's window in this process, on the launcher's own resources:
// what it shows for each message of the worker, its translations, and whole
// updates against the loopback server up to the start of a stand-in client.
#include "LauncherTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

#include "CMainDlg.h"
#include "controls/SProgress.h"
#include "ClientLaunch.h"
#include "ProgressText.h"
#include "TestRelease.h"
#include "host/HostTestSupport.h"
#include "syshelpers/WinHandles.h"

using WUI::SStringW;

namespace {

std::wstring TextOf(WUI::SHostWnd& host, LPCWSTR name);

// The client's start is recorded here instead of ending the process, and so
// is every file name and speed the window shows as the worker's reports come.
class TestDlg : public CMainDlg
{
public:
    using CMainDlg::CMainDlg;
    std::wstring startedIn;
    int starts = 0;
    struct Report
    {
        DWORD tick;
        std::string name;   // the last file name that came
        DWORD nameTick;     // when it came
        int received;       // KB
        std::wstring speed; // "txt_speed" once the report was shown
    };
    std::vector<Report> reports;

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (msg == kMsgFileName && wParam) {
            m_name = reinterpret_cast<const char*>(wParam);
            m_nameTick = GetTickCount();
        }
        const DWORD tick = GetTickCount();
        const BOOL handled = CMainDlg::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
        if (msg == kMsgProgress)
            reports.push_back({tick, m_name, m_nameTick, int(lParam), TextOf(*this, L"txt_speed")});
        return handled;
    }

protected:
    void OnClientStarted(const std::wstring& folder) override
    {
        startedIn = folder;
        ++starts;
    }

private:
    std::string m_name;
    DWORD m_nameTick = 0;
};

std::wstring TextOf(WUI::SHostWnd& host, LPCWSTR name)
{
    WUI::SWindow* element = host.FindChildByName(name);
    return element ? std::wstring(element->GetWindowText().c_str()) : L"<missing>";
}

char* HeapText(const std::string& text, size_t size)
{
    char* buffer = new char[size]();
    memcpy(buffer, text.data(), text.size() < size ? text.size() : size - 1);
    return buffer;
}

// Creates the window as the launcher does (initialised when asked), shown
// without activation beside the other tests' windows.
bool Open(TestDlg& dlg, bool initialise)
{
    if (!dlg.Create(nullptr))
        return false;
    if (initialise)
        ::SendMessageW(dlg.m_hWnd, WM_INITDIALOG, 0, 0);
    // Wholly on the 1280 x 1024 screen, clear of its top-left corner.
    SetWindowPos(dlg.m_hWnd, nullptr, 480, 420, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int before = dlg.GetPaintCount();
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    return hosttest::WaitPainted(dlg, before);
}

std::wstring CommandLineFor(const TestRelease& release, const std::wstring& folder)
{
    return L"OrvoMain.exe --appPath \"" + folder + L"\" --updateUrl " + WideOf(release.Url("updater.ini"));
}

// One whole update in this process: the window and its engine.
struct LauncherRun
{
    std::wstring folder;
    OrvoClientUpdater updater;
    std::unique_ptr<TestDlg> dlg;

    // The install folder is release's, or the folder below it named sub.
    explicit LauncherRun(const TestRelease& release, const std::wstring& sub = L"")
        : folder(FullPathOf(WideOf(release.InstallDir()) + (sub.empty() ? L"" : L"\\" + sub))),
          dlg(new TestDlg(updater, CommandLineFor(release, folder).c_str()))
    {
        MakeFoldersWide(folder);
    }
    ~LauncherRun()
    {
        if (dlg->m_hWnd)
            dlg->DestroyWindow();
    }
    // Until the client started or the worker ended and its messages were shown.
    void Finish()
    {
        hosttest::PumpUntil([&] { return dlg->starts > 0 || updater.WaitForWorker(0); }, 60000);
        hosttest::Pump(300);
    }
};

TEST(LauncherFigures, PercentSpeedAndTheSpeedClock)
{
    const struct { int total, received, percent; } percents[] = {
        {0, 0, 1}, {0, 77, 1}, {200, 0, 1}, {200, 50, 26}, {200, 199, 100}, {200, 200, 100},
        {3, 1, 34}, {100, 98, 99}, {100, 99, 100}, {2000000000, 1999999999, 100}, {300, 600, 100},
    };
    for (const auto& c : percents)
        EXPECT_EQ(ProgressPercent(c.total, c.received), c.percent) << c.received << " of " << c.total;

    EXPECT_EQ(SpeedKBps(500, 1000), 500);
    EXPECT_EQ(SpeedKBps(500, 0), 0);
    EXPECT_EQ(SpeedKBps(3000000, 1000), 3000000);
    EXPECT_EQ(SpeedKBps(0, 500), 0);

    SpeedClock clock;
    int speed = -1;
    EXPECT_TRUE(clock.Report(0, 10000, &speed));  // the first report shows
    EXPECT_EQ(speed, 0);
    EXPECT_FALSE(clock.Report(100, 10400, &speed));  // within 500 ms
    EXPECT_TRUE(clock.Report(300, 11000, &speed));
    EXPECT_EQ(speed, 300);  // 300 KB in one second
    // A new file within 500 ms of the last display starts its own clock.
    EXPECT_FALSE(clock.Report(0, 11200, &speed));
    EXPECT_TRUE(clock.Report(400, 12200, &speed));
    EXPECT_EQ(speed, 400);
    // So does a file's name, when its first report already holds bytes.
    clock.StartFile(13000);
    EXPECT_TRUE(clock.Report(64, 14000, &speed));
    EXPECT_EQ(speed, 64);
}

TEST(LauncherFigures, VersionTextsAndClientNames)
{
    const std::string name255(251, 'n'), name256(252, 'n');
    const struct { const char* text; bool accepted, namesClient; std::string client, shown; } versions[] = {
        {"Client.exe:1.2.3\r\n", true, true, "Client.exe", "1.2.3"},
        {"1.2.3", true, false, "", "1.2.3"},
        {"Client.exe:", true, true, "Client.exe", "Client.exe:"},
        {"a:b:2.0", true, true, "a:b", "2.0"},
        {"", true, false, "", ""},
    };
    for (const auto& c : versions) {
        VersionText v = ParseVersionText(c.text);
        EXPECT_EQ(v.accepted, c.accepted) << c.text;
        EXPECT_EQ(v.namesClient, c.namesClient) << c.text;
        EXPECT_EQ(v.clientName, c.client) << c.text;
        EXPECT_EQ(v.shown, c.shown) << c.text;
    }
    EXPECT_TRUE(ParseVersionText((name255 + ".exe:1").c_str()).accepted);
    EXPECT_FALSE(ParseVersionText((name256 + ".exe:1").c_str()).accepted);  // 256 characters
    EXPECT_FALSE(ParseVersionText(("C.exe:" + std::string(256, '9')).c_str()).accepted);
    EXPECT_FALSE(ParseVersionText(std::string(256, '9').c_str()).accepted);
    EXPECT_TRUE(ParseVersionText(nullptr).accepted);

    const struct { const wchar_t* name; bool ok; } names[] = {
        {L"Client.exe", true}, {L"", false}, {L"..\\Client.exe", false}, {L"bin\\Client.exe", false},
        {L"bin/Client.exe", false}, {L"C:Client.exe", false}, {L"a..exe", false}, {L"orvomain.EXE", false},
        {L"OrvoMain.exe", false}, {L"OrvoMain2.exe", true},
        // Windows drops trailing dots and blanks: these are the launcher too.
        {L"OrvoMain.exe.", false}, {L"OrvoMain.exe ", false}, {L"orvomain.exe. .", false}, {L"Client.exe.", false},
    };
    for (const auto& c : names)
        EXPECT_EQ(IsAcceptableClientName(c.name, L"OrvoMain.exe"), c.ok) << Utf8Of(c.name);
    EXPECT_TRUE(IsAcceptableClientName(std::wstring(255, L'x'), L"OrvoMain.exe"));
    EXPECT_FALSE(IsAcceptableClientName(std::wstring(256, L'x'), L"OrvoMain.exe"));
    EXPECT_EQ(LauncherFileName(), L"launcher_window_test.exe");
}

TEST(LauncherWindow, ShowsWhatTheWorkerPostsInChinese)
{
    LauncherApp app;
    ASSERT_TRUE(app.Translated());
    OrvoClientUpdater updater;
    TestDlg dlg(updater);
    ASSERT_TRUE(Open(dlg, false));
    RECT rc;
    GetWindowRect(dlg.m_hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 719);
    EXPECT_EQ(rc.bottom - rc.top, 418);
    EXPECT_TRUE(GetWindowLongW(dlg.m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    // Every initial text of the layout is a key, translated.
    EXPECT_EQ(TextOf(dlg, L"server_status"), L"正在更新……");
    EXPECT_EQ(TextOf(dlg, L"current_version"), L"当前版本");
    EXPECT_EQ(TextOf(dlg, L"txt_number"), L"1/1");
    EXPECT_EQ(TextOf(dlg, L"txt_progress"), L"0%");

    HWND w = dlg.m_hWnd;
    // Shown within one repaint period.
    ::SendMessageW(w, kMsgFileName, WPARAM(HeapText("bin/game.dll", 256)), 0);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return TextOf(dlg, L"txt_speed") == L"bin/game.dll"; }, 1000));
    ::SendMessageW(w, kMsgCounter, 3, 7);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return TextOf(dlg, L"txt_number") == L"3/7"; }, 1000));
    ::SendMessageW(w, kMsgVersion, WPARAM(HeapText("Client.exe:2.0.1\r\n", 2048)), 0);
    EXPECT_EQ(TextOf(dlg, L"current_version"), L"2.0.1");
    EXPECT_EQ(dlg.ClientName(), "Client.exe");
    ::SendMessageW(w, kMsgVersion, WPARAM(HeapText("2.0.2", 2048)), 0);  // no name: the client stays
    EXPECT_EQ(TextOf(dlg, L"current_version"), L"2.0.2");
    EXPECT_EQ(dlg.ClientName(), "Client.exe");
    ::SendMessageW(w, kMsgVersion, 0, 0);  // ignored
    EXPECT_EQ(TextOf(dlg, L"current_version"), L"2.0.2");

    // Percentages, each shown by the time the throttle lets it through.
    const struct { int total, received; const wchar_t* text; int rangeMax, value; } progress[] = {
        {200, 50, L"26%", 200, 50}, {200, 199, L"100%", 200, 199}, {0, 0, L"1%", 100, 100},
        {4000, 0, L"1%", 4000, 0}, {4000, 1200, L"31%", 4000, 1200},
    };
    DWORD fileStart = 0;
    for (const auto& c : progress) {
        if (c.received == 1200)
            Sleep(600);  // a speed worth showing: 1200 KB in about 0.6 s
        else
            fileStart = GetTickCount();
        ::SendMessageW(w, kMsgProgress, c.total, c.received);
        auto* bar = WUI::sobj_cast<WUI::SProgress>(dlg.FindChildByName(L"progress"));
        ASSERT_NE(bar, nullptr);
        int lo = -1, hi = -1;
        EXPECT_TRUE(hosttest::PumpUntil(
            [&] {
                bar->GetRange(&lo, &hi);
                return TextOf(dlg, L"txt_progress") == c.text && hi == c.rangeMax && bar->GetValue() == c.value;
            },
            2000))
            << Utf8Of(c.text) << " " << hi << " " << bar->GetValue();
    }
    const std::wstring speed = TextOf(dlg, L"txt_speed");
    ASSERT_EQ(speed.rfind(L"bin/game.dll:", 0), 0u) << Utf8Of(speed);
    ASSERT_EQ(speed.substr(speed.size() - 4), L"KB/s");
    const int kbps = _wtoi(speed.c_str() + wcslen(L"bin/game.dll:"));
    const DWORD took = GetTickCount() - fileStart;
    EXPECT_LE(kbps, int(1200 * 1000 / 600) + 1);
    EXPECT_GE(kbps, int(1200 * 1000 / took) - 1) << took;

    ::SendMessageW(w, kMsgNotice, WPARAM(HeapText("Season 3 opens on Friday.\r\nNew maps: Harbour, Canyon.", 2048)), 0);
    WUI::SWindow* notice = dlg.FindChildByName(L"txt_notice");
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(notice->IsClass(L"richedit"));
    EXPECT_NE(std::wstring(notice->GetWindowText().c_str()).find(L"Season 3 opens"), std::wstring::npos);

    hosttest::Pump(200);
    EXPECT_TRUE(SaveWindowPicture(w, L"launcher_window.png"));

    // Another launcher has the folder, then it is this one's.
    ::SendMessageW(w, kMsgWaiting, 1, 0);
    EXPECT_EQ(TextOf(dlg, L"server_status"), L"正在等待本文件夹的另一个更新完成……");
    ::SendMessageW(w, kMsgWaiting, 0, 0);
    EXPECT_EQ(TextOf(dlg, L"server_status"), L"正在更新……");

    ::SendMessageW(w, kMsgError, WPARAM(HeapText("Updater Get updater.txt fail", 1024)), 10060);
    EXPECT_EQ(TextOf(dlg, L"server_status"), L"更新失败:Updater Get updater.txt fail_10060");
    // Too long a version text is refused whole, never cut to another name.
    ::SendMessageW(w, kMsgVersion, WPARAM(HeapText(std::string(300, 'x') + ".exe:1.0", 2048)), 0);
    EXPECT_EQ(dlg.ClientName(), "");
    EXPECT_EQ(TextOf(dlg, L"current_version"), L"2.0.2");
    EXPECT_EQ(TextOf(dlg, L"server_status"), L"更新失败:version.txt_123");
    EXPECT_TRUE(IsWindow(w));

    // The caption's buttons.
    WUI::SWindow* minimize = dlg.FindChildByName(L"btn_min");
    WUI::SWindow* restore = dlg.FindChildByName(L"btn_restore");
    WUI::SWindow* close = dlg.FindChildByName(L"btn_close");
    ASSERT_TRUE(minimize && restore && close);
    EXPECT_FALSE(restore->IsVisible(FALSE));
    minimize->FireCommand();
    EXPECT_TRUE(IsIconic(w));
    restore->FireCommand();
    EXPECT_FALSE(IsIconic(w));
    close->FireCommand();
    EXPECT_FALSE(IsWindow(w));
}

TEST(LauncherWindow, EnglishWhenTheChineseTableCannotLoad)
{
    const struct { const char* what; bool cnBroken, cnMissing, enMissing; const wchar_t* status; const wchar_t* title;
                   const wchar_t* waiting; } cases[] = {
        {"both load", false, false, false, L"正在更新……", L"Orvo对战平台正在更新", L"正在等待本文件夹的另一个更新完成……"},
        {"no Chinese", false, true, false, L"Updating...", L"Orvoesports is updating",
         L"Waiting for another update of this folder to finish..."},
        {"Chinese malformed", true, false, false, L"Updating...", L"Orvoesports is updating",
         L"Waiting for another update of this folder to finish..."},
        {"neither", false, true, true, L"Updateing", L"PlatformUpdating", L"UpdateWaiting"},
    };
    for (const auto& c : cases) {
        TranslationLoader load = [&c](pugi::xml_document& doc, LPCWSTR name) {
            const bool cn = wcscmp(name, L"lang_cn") == 0;
            if ((cn && c.cnMissing) || (!cn && c.enMissing))
                return false;
            if (cn && c.cnBroken)
                return bool(doc.load_string(L"<languages><context name='dlg_main'/></languages>"));
            return WUI::SApplication::GetSingletonPtr()->LoadXmlDocument(doc, name, L"translator");
        };
        LauncherApp app(&load);
        EXPECT_EQ(app.Translated(), !(c.cnMissing && c.enMissing)) << c.what;
        OrvoClientUpdater updater;
        TestDlg dlg(updater);
        ASSERT_TRUE(dlg.Create(nullptr)) << c.what;
        EXPECT_EQ(TextOf(dlg, L"server_status"), c.status) << c.what;
        bool titleFound = false;
        std::function<void(WUI::SWindow*)> walk = [&](WUI::SWindow* e) {
            for (WUI::SWindow* child = e->GetWindow(WUI::GSW_FIRSTCHILD); child; child = child->GetWindow(WUI::GSW_NEXTSIBLING)) {
                titleFound |= std::wstring(child->GetWindowText().c_str()) == c.title;
                walk(child);
            }
        };
        walk(&dlg);
        EXPECT_TRUE(titleFound) << c.what;
        ::SendMessageW(dlg.m_hWnd, kMsgWaiting, 1, 0);
        EXPECT_EQ(TextOf(dlg, L"server_status"), c.waiting) << c.what;
        dlg.DestroyWindow();
    }
}

TEST(LauncherWindow, ProgressRepaintsAreThrottled)
{
    LauncherApp app;
    OrvoClientUpdater updater;
    TestDlg dlg(updater);
    ASSERT_TRUE(Open(dlg, false));
    // A report every 5 ms for a second, as fast as a worker never posts.
    const int before = dlg.GetPaintCount();
    const DWORD start = GetTickCount();
    int sent = 0;
    while (GetTickCount() - start < 1000) {
        ::SendMessageW(dlg.m_hWnd, kMsgProgress, 100000, ++sent);
        hosttest::Pump(5);
    }
    const DWORD elapsed = GetTickCount() - start;
    ::SendMessageW(dlg.m_hWnd, kMsgProgress, 100000, 50000);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return TextOf(dlg, L"txt_progress") == L"51%"; }, 1000));
    const int paints = dlg.GetPaintCount() - before;
    EXPECT_GT(sent, 50);
    EXPECT_LE(paints, int(elapsed / CMainDlg::kProgressRepaintMs) + 4) << sent << " reports";
    EXPECT_GE(paints, 3);
}

TEST(LauncherRun, UpdatesTheFolderAndStartsTheClientThere)
{
    LauncherApp app;
    TestRelease release("launch_ok");
    release.AddFile("Client.exe", StandInClientBytes());
    release.AddFile("data/a.bin", std::string(300000, 'a'));
    release.AddFile("version.txt", "Client.exe:3.1.4");
    release.SetManifest("data|0\r\n" + release.ManifestFor({"Client.exe", "data/a.bin"}));
    // The client must not get the launcher's handles: this one is inheritable.
    InheritProbe probe;
    ASSERT_TRUE(probe.Valid());

    LauncherRun run(release);
    ASSERT_TRUE(Open(*run.dlg, true));
    run.Finish();
    EXPECT_EQ(run.dlg->starts, 1) << Utf8Of(TextOf(*run.dlg, L"server_status"));
    EXPECT_EQ(run.dlg->startedIn, run.folder);
    const std::string record = WaitForClientRecord(run.folder, 20000);
    EXPECT_NE(record.find("cwd=" + Utf8Of(run.folder) + "\n"), std::string::npos) << record;
    EXPECT_NE(record.find("inherited=0\n"), std::string::npos) << record;
    EXPECT_FALSE(probe.Signalled());
    EXPECT_EQ(release.Installed("data/a.bin"), std::string(300000, 'a'));
    EXPECT_EQ(TextOf(*run.dlg, L"current_version"), L"3.1.4");
    EXPECT_EQ(TextOf(*run.dlg, L"server_status"), L"更新完成");
    EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty());
    EXPECT_FALSE(PathExists(release.InstallDir() + "/updater.txt"));
}

TEST(LauncherRun, TheSpeedOfEachFileIsTakenOverItsOwnTime)
{
    // Head and first bytes come in one piece, so no file's first report is
    // one of 0 KB: the file's name starts its clock.
    LauncherApp app;
    TestRelease release("launch_speed");
    for (const char* name : {"a.bin", "b.bin"}) {
        release.AddFile(name, std::string(1500000, name[0]));
        release.AddBehaviour(std::string(name) + " pace_joined 1000000");
    }
    release.SetManifest(release.ManifestFor({"a.bin", "b.bin"}));
    LauncherRun run(release);
    ASSERT_TRUE(Open(*run.dlg, true));
    run.Finish();
    ASSERT_EQ(release.Installed("b.bin"), std::string(1500000, 'b'));
    // Each speed shown for b.bin, half a second or more into it, is what
    // came of it over the time since its name.
    int checked = 0;
    std::wstring before;
    for (const TestDlg::Report& r : run.dlg->reports) {
        const bool shownNow = r.speed != before && r.speed.rfind(L"b.bin:", 0) == 0;
        before = r.speed;
        if (r.name != "b.bin" || !shownNow || r.tick - r.nameTick < 500)
            continue;
        const int shown = _wtoi(r.speed.c_str() + 6);
        const int expected = int((long long)r.received * 1000 / (r.tick - r.nameTick));
        EXPECT_GE(shown, expected * 9 / 10 - 2) << Utf8Of(r.speed) << " after " << r.tick - r.nameTick << " ms";
        EXPECT_LE(shown, expected * 11 / 10 + 2) << Utf8Of(r.speed) << " after " << r.tick - r.nameTick << " ms";
        ++checked;
    }
    EXPECT_GE(checked, 1);
}

TEST(LauncherRun, AFailedSwapNamesItsFileInAChineseFolder)
{
    LauncherApp app;
    TestRelease release("launch_swap");
    release.AddFile("a.txt", "new alpha");
    release.AddFile("b.txt", "new bravo");
    release.SetManifest(release.ManifestFor({"a.txt", "b.txt"}));
    LauncherRun run(release, L"游戏");
    WriteWide(run.folder + L"\\a.txt", "old alpha");
    WriteWide(run.folder + L"\\b.txt", "old bravo");
    // Held without sharing its deletion, b.txt cannot be moved aside.
    UniqueHandle hold(CreateFileW((run.folder + L"\\b.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(hold.Valid());
    ASSERT_TRUE(Open(*run.dlg, true));
    run.Finish();
    const std::wstring status = TextOf(*run.dlg, L"server_status");
    const std::wstring prefix = L"更新失败:b.txt_";
    ASSERT_EQ(status.rfind(prefix, 0), 0u) << Utf8Of(status);
    EXPECT_GT(_wtoi(status.c_str() + prefix.size()), 0) << Utf8Of(status);
    EXPECT_EQ(ReadWide(run.folder + L"\\a.txt"), "old alpha");
    EXPECT_EQ(run.dlg->starts, 0);
}

TEST(LauncherRun, AClientThatCannotStartLeavesTheErrorAndTheWindow)
{
    LauncherApp app;
    const struct { const char* name; std::string version; const wchar_t* status; } cases[] = {
        {"launch_absent", "Absent.exe:1.0", L"更新失败:2"},
        {"launch_path", "..\\Client.exe:1.0", L"更新失败:123"},
        {"launch_self", "launcher_window_test.exe:1.0", L"更新失败:123"},
    };
    for (const auto& c : cases) {
        TestRelease release(c.name);
        release.AddFile("Client.exe", StandInClientBytes());
        release.AddFile("version.txt", c.version);
        release.SetManifest(release.ManifestFor({"Client.exe"}));
        LauncherRun run(release);
        ASSERT_TRUE(Open(*run.dlg, true));
        run.Finish();
        EXPECT_EQ(run.dlg->starts, 0) << c.name;
        EXPECT_EQ(TextOf(*run.dlg, L"server_status"), c.status) << c.name;
        EXPECT_TRUE(IsWindow(run.dlg->m_hWnd)) << c.name;
        EXPECT_FALSE(ExistsWide(run.folder + L"\\client_started.txt")) << c.name;
    }
}

TEST(LauncherRun, AFailedUpdateShowsItsErrorAndNeverStartsTheClient)
{
    LauncherApp app;
    TestRelease release("launch_fail");
    release.AddFile("Client.exe", StandInClientBytes());
    release.AddFile("bad.bin", std::string(5000, 'b'));
    release.AddFile("version.txt", "Client.exe:1.0");
    release.SetManifest(release.ManifestFor({"Client.exe", "bad.bin"}));
    release.AddBehaviour("bad.bin corrupt");
    LauncherRun run(release);
    ASSERT_TRUE(Open(*run.dlg, true));
    run.Finish();
    EXPECT_EQ(run.dlg->starts, 0);
    EXPECT_EQ(TextOf(*run.dlg, L"server_status").rfind(L"更新失败:bad.bin_", 0), 0u)
        << Utf8Of(TextOf(*run.dlg, L"server_status"));
    EXPECT_FALSE(PathExists(release.InstallDir() + "/Client.exe"));  // nothing of the run swapped in
    EXPECT_TRUE(IsWindow(run.dlg->m_hWnd));
    hosttest::Pump(500);
    EXPECT_FALSE(ExistsWide(run.folder + L"\\client_started.txt"));
}

TEST(LauncherRun, TheWindowPaintsBeforeAServerThatNeverAnswers)
{
    LauncherApp app;
    WSADATA wsa;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    // Takes the connection and never says a word.
    SOCKET silent = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    int size = sizeof address;
    getsockname(silent, reinterpret_cast<sockaddr*>(&address), &size);
    const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(ntohs(address.sin_port)) + L"/updater.ini";

    OrvoClientUpdater updater;
    updater.SetTimeout(2);
    TestDlg dlg(updater, (L"OrvoMain.exe --appPath \"" + FullPathOf(L"inst") + L"\" --updateUrl " + url).c_str());
    const DWORD start = GetTickCount();
    ASSERT_TRUE(Open(dlg, true));
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_EQ(TextOf(dlg, L"server_status"), L"正在更新……");  // still waiting for the address
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(dlg.m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &answer), 0);
    EXPECT_TRUE(hosttest::PumpUntil(
        [&] { return TextOf(dlg, L"server_status") == L"更新失败:Updater Get updater.ini fail_10060"; }, 15000))
        << Utf8Of(TextOf(dlg, L"server_status"));
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    dlg.DestroyWindow();
    closesocket(silent);
    WSACleanup();
}

TEST(LauncherRun, ClosingTheWindowStopsTheWorkerAndKeepsTheFolder)
{
    LauncherApp app;
    TestRelease release("launch_close");
    release.AddFile("big.bin", std::string(2000000, 'n'));
    release.AddFile("small.txt", "new");
    release.SetManifest("old.dll|-\r\n" + release.ManifestFor({"small.txt", "big.bin"}));
    release.AddBehaviour("big.bin stall 10");
    WriteFileBytes(release.InstallDir() + "/big.bin", "old big");
    WriteFileBytes(release.InstallDir() + "/small.txt", "old");
    WriteFileBytes(release.InstallDir() + "/old.dll", "old library");

    LauncherRun run(release);
    ASSERT_TRUE(Open(*run.dlg, true));
    ASSERT_TRUE(hosttest::PumpUntil([&] { return release.CountRequests("big.bin") > 0; }, 30000));
    hosttest::Pump(300);
    const DWORD start = GetTickCount();
    ::SendMessageW(run.dlg->m_hWnd, WM_CLOSE, 0, 0);
    const DWORD took = GetTickCount() - start;
    EXPECT_FALSE(IsWindow(run.dlg->m_hWnd));
    EXPECT_TRUE(run.updater.WaitForWorker(0));
    EXPECT_LT(took, 3000u);
    EXPECT_EQ(release.CountRequests("big.bin"), 1);  // no retry after the stop
    EXPECT_EQ(release.Installed("big.bin"), "old big");
    EXPECT_EQ(release.Installed("small.txt"), "old");  // fetched, never swapped in
    EXPECT_EQ(release.Installed("old.dll"), "old library");  // listed for deletion, never deleted
    EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty());
    EXPECT_EQ(run.dlg->starts, 0);
}

} // namespace
