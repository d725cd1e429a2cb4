// The whole update procedure against the loopback server.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <thread>

#include "OrvoClientUpdater.h"  // winsock2.h before windows.h
#include "FolderLock.h"
#include "FsPath.h"
#include "LoopbackListener.h"
#include "TestRelease.h"
#include "UpdateDriver.h"

namespace {

FILETIME WriteTime(const std::string& path)
{
    FILETIME t = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        t = data.ftLastWriteTime;
    return t;
}

UpdateOutcome RunUpdate(TestRelease& release, UpdateDriver& driver, int timeout = 1)
{
    OrvoClientUpdater updater;
    updater.SetTimeout(timeout);
    return driver.Run(updater, release.Url("updater.ini").c_str(), release.InstallDir().c_str());
}

std::vector<std::string> Texts(const std::vector<PostedMessage>& messages)
{
    std::vector<std::string> texts;
    for (const PostedMessage& m : messages)
        texts.push_back(m.text);
    return texts;
}

std::string TodayLog(const char* tag)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char name[64];
    snprintf(name, sizeof name, "log/%s%04d-%02d-%02d.txt", tag, t.wYear, t.wMonth, t.wDay);
    return ReadFileBytes(name);
}

std::vector<std::string> ServerFiles(const std::string& name)
{
    return {"GET /" + name + "/updater.ini HTTP/1.1", "GET /" + name + "/updater.txt HTTP/1.1",
            "GET /" + name + "/notice.txt HTTP/1.1", "GET /" + name + "/version.txt HTTP/1.1"};
}

} // namespace

TEST(Update, FirstRunThenNothingToDo)
{
    TestRelease release("full");
    std::string big(300 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = char(i * 31 + i / 7);
    release.AddFile("a.txt", "alpha");
    release.AddFile("bin/b.dll", big);
    release.AddFile("bin/sub/c d.dat", "charlie with blank");
    release.AddFile("empty.dat", "");
    WriteFileBytes(release.InstallDir() + "/old.txt", "to be removed");
    WriteFileBytes(release.InstallDir() + "/keep.orvobak.txt", "a user's file");
    const std::string manifest = "bin|0\r\nbin/sub|0\r\nold.txt|-\r\n" +
                                 release.ManifestFor({"a.txt", "bin/b.dll", "bin/sub/c d.dat", "empty.dat"});
    release.SetManifest(manifest);

    UpdateDriver driver;
    ASSERT_EQ(RunUpdate(release, driver), UpdateOutcome::Done);
    EXPECT_TRUE(PathExists(release.InstallDir() + "/empty.dat"));
    for (const char* path : {"a.txt", "bin/b.dll", "bin/sub/c d.dat", "empty.dat"})
        EXPECT_EQ(release.Installed(path), ReadFileBytes(release.ServedDir() + "/" + path)) << path;
    EXPECT_FALSE(PathExists(release.InstallDir() + "/old.txt"));
    EXPECT_TRUE(PathExists(release.InstallDir() + "/keep.orvobak.txt"));
    EXPECT_EQ(FindFiles(release.InstallDir(), ".orvobak"), std::vector<std::string>{release.InstallDir() + "/keep.orvobak.txt"});
    EXPECT_FALSE(PathExists(release.InstallDir() + "/updater.txt"));
    EXPECT_EQ(release.CountRequests("bin/sub/c%20d.dat"), 1);

    // Notice and version first, then the counter and name of each line, done last.
    std::vector<PostedMessage> m;
    for (const PostedMessage& posted : driver.Messages())
        if (posted.message != kMsgProgress)
            m.push_back(posted);
    ASSERT_GE(m.size(), 4u);
    EXPECT_EQ(m[0].message, kMsgNotice);
    EXPECT_EQ(m[0].text, "Notice of full");
    EXPECT_EQ(m[1].message, kMsgVersion);
    EXPECT_EQ(m[1].text, "OrvoClient.exe:3.1.4");
    EXPECT_EQ(m.back().message, kMsgDone);
    std::vector<std::pair<WPARAM, LPARAM>> counters;
    for (const PostedMessage& c : driver.Of(kMsgCounter))
        counters.push_back({c.wParam, c.lParam});
    std::vector<std::pair<WPARAM, LPARAM>> expected = {{1, 7}, {1, 7}, {2, 7}, {3, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}};
    EXPECT_EQ(counters, expected);
    std::vector<std::string> names = {"bin", "bin/sub", "old.txt", "a.txt", "bin/b.dll", "bin/sub/c d.dat", "empty.dat"};
    EXPECT_EQ(Texts(driver.Of(kMsgFileName)), names);
    size_t lastName = 0, lastCounter = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        if (m[i].message == kMsgFileName) {
            EXPECT_EQ(m[i - 1].message, UINT(kMsgCounter));  // each name right after its counter
            lastName = i;
        }
        if (m[i].message == kMsgCounter)
            lastCounter = i;
    }
    EXPECT_EQ(lastCounter + 1, lastName);
    // The large file's last block is always reported.
    bool finalProgress = false;
    for (const PostedMessage& p : driver.Of(kMsgProgress))
        finalProgress |= p.wParam == 300 && p.lParam == 300;
    EXPECT_TRUE(finalProgress);
    EXPECT_TRUE(driver.Of(kMsgError).empty());

    std::regex success("(^|\n)\\d\\d:\\d\\d:\\d\\d - Update success bin/b.dll " + Md5Of(big) + "\r?\n");
    EXPECT_TRUE(std::regex_search(TodayLog("UpdateLog"), success));

    // Nothing changed: only the four server files are fetched and nothing is rewritten.
    FILETIME before = WriteTime(release.InstallDir() + "/bin/b.dll");
    release.ClearRequests();
    UpdateDriver second;
    ASSERT_EQ(RunUpdate(release, second), UpdateOutcome::Done);
    EXPECT_EQ(release.Requests(), ServerFiles("full"));
    FILETIME after = WriteTime(release.InstallDir() + "/bin/b.dll");
    EXPECT_EQ(CompareFileTime(&before, &after), 0);
}

TEST(Update, WrongBodyIsFetchedThreeTimesAndNothingIsSwapped)
{
    // The digest is checked off the receiving thread: a wrong file found only
    // after later ones have come in still fails alone, and nothing is swapped.
    // Files after it may or may not have been fetched once by then.
    struct Case { std::vector<std::string> order; size_t size; int minC; int maxC; };
    const Case cases[] = {
        {{"a.txt", "b.txt"}, 9, 0, 0},
        {{"b.txt", "a.txt", "c.txt"}, 1500000, 0, 1},
        {{"a.txt", "c.txt", "b.txt"}, 1500000, 1, 1},
    };
    for (const Case& c : cases) {
        TestRelease release("wrong");
        std::string body(c.size, 'n');
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
            release.AddFile(name, std::string("new ") + name + body);
            WriteFileBytes(release.InstallDir() + "/" + name, std::string("old ") + name);
        }
        release.SetManifest(release.ManifestFor(c.order));
        release.AddBehaviour("b.txt corrupt");
        UpdateDriver driver;
        EXPECT_EQ(RunUpdate(release, driver), UpdateOutcome::Error) << c.order[0];
        EXPECT_EQ(release.CountRequests("b.txt"), 3) << c.order[0];
        EXPECT_GE(release.CountRequests("c.txt"), c.minC) << c.order[0];
        EXPECT_LE(release.CountRequests("c.txt"), c.maxC) << c.order[0];
        EXPECT_EQ(Texts(driver.Of(kMsgError)), std::vector<std::string>{"b.txt"}) << c.order[0];
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            EXPECT_EQ(release.Installed(name), std::string("old ") + name) << c.order[0];
        EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty()) << c.order[0];
        EXPECT_TRUE(PathExists(release.InstallDir() + "/updater.txt")) << c.order[0];
    }
}

TEST(Update, ProgressFollowsTheNameOfItsFile)
{
    TestRelease release("order");
    const std::vector<std::string> names = {"a.bin", "b.bin", "c.bin"};
    const size_t sizes[] = {700 * 1024, 1200 * 1024, 400 * 1024};
    for (size_t i = 0; i < names.size(); ++i) {
        std::string bytes(sizes[i], '\0');
        for (size_t j = 0; j < bytes.size(); ++j)
            bytes[j] = char(j * (i + 3) + j / 1001);
        release.AddFile(names[i], bytes);
    }
    release.SetManifest(release.ManifestFor(names));
    // b.bin is found wrong off the receiving thread, before or after c.bin is
    // shown: in the second case it is shown again for its retry.
    release.AddBehaviour("b.bin corrupt times=1");
    UpdateDriver driver;
    ASSERT_EQ(RunUpdate(release, driver), UpdateOutcome::Done);
    for (const std::string& name : names)
        EXPECT_EQ(release.Installed(name), ReadFileBytes(release.ServedDir() + "/" + name)) << name;
    EXPECT_EQ(release.CountRequests("b.bin"), 2);

    std::vector<std::string> shown = Texts(driver.Of(kMsgFileName));
    std::vector<std::string> again = {"a.bin", "b.bin", "c.bin", "b.bin"};
    EXPECT_TRUE(shown == names || shown == again) << shown.size();
    // Each name follows the counter of its own line.
    std::vector<std::pair<WPARAM, LPARAM>> counters, expectedCounters = {{1, 3}};
    for (const PostedMessage& c : driver.Of(kMsgCounter))
        counters.push_back({c.wParam, c.lParam});
    for (const std::string& name : shown)
        expectedCounters.push_back({WPARAM(std::find(names.begin(), names.end(), name) - names.begin() + 1), 3});
    EXPECT_EQ(counters, expectedCounters);

    // Between one name and the next, progress is that file's only; it goes
    // back only when an attempt that reached the last byte is tried again
    // (b.bin, when its retry follows at once), and it ends with the last byte.
    std::string current;
    std::vector<std::pair<WPARAM, LPARAM>> segment;
    auto checkSegment = [&] {
        if (current.empty())
            return;
        size_t index = std::find(names.begin(), names.end(), current) - names.begin();
        ASSERT_LT(index, names.size());
        ASSERT_FALSE(segment.empty()) << current;
        const LPARAM whole = LPARAM(sizes[index] / 1024);
        for (size_t i = 0; i < segment.size(); ++i) {
            EXPECT_EQ(segment[i].first, WPARAM(whole)) << current;
            if (i > 0 && segment[i - 1].second != whole) {
                EXPECT_GE(segment[i].second, segment[i - 1].second) << current;
            }
        }
        EXPECT_EQ(segment.back().second, whole) << current;
    };
    for (const PostedMessage& m : driver.Messages()) {
        if (m.message == kMsgFileName) {
            checkSegment();
            current = m.text;
            segment.clear();
        } else if (m.message == kMsgProgress) {
            segment.push_back({m.wParam, m.lParam});
        }
    }
    checkSegment();
}

TEST(Update, FailedAttemptsOfAnyKindAreRetriedThenReported)
{
    struct Case { const char* rule; UpdateOutcome outcome; int requests; };
    const Case cases[] = {
        {"f.bin status 404", UpdateOutcome::Error, 3},
        {"f.bin status 500", UpdateOutcome::Error, 3},
        {"f.bin nolength", UpdateOutcome::Error, 3},
        {"f.bin close 10", UpdateOutcome::Error, 3},
        {"f.bin stall 3", UpdateOutcome::Error, 3},
        {"f.bin status 500 times=2", UpdateOutcome::Done, 3},
        {"f.bin redirect 302 http://127.0.0.1:{port2}/retry/real.bin", UpdateOutcome::Done, 1},
    };
    for (const Case& c : cases) {
        TestRelease release("retry");
        release.AddFile("f.bin", "fresh bytes");
        release.AddFile("real.bin", "fresh bytes");
        WriteFileBytes(release.InstallDir() + "/f.bin", "stale");
        release.SetManifest(release.ManifestFor({"f.bin"}));
        release.AddBehaviour(c.rule);
        UpdateDriver driver;
        EXPECT_EQ(RunUpdate(release, driver), c.outcome) << c.rule;
        EXPECT_EQ(release.CountRequests("f.bin"), c.requests) << c.rule;
        bool done = c.outcome == UpdateOutcome::Done;
        EXPECT_EQ(release.Installed("f.bin"), done ? "fresh bytes" : "stale") << c.rule;
        if (!done) {
            EXPECT_EQ(Texts(driver.Of(kMsgError)), std::vector<std::string>{"f.bin"}) << c.rule;
        }
        EXPECT_FALSE(PathExists(release.InstallDir() + "/real.bin")) << c.rule;
        EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty()) << c.rule;
    }
}

TEST(Update, ServerFileFailuresAreReported)
{
    struct Case { const char* rule; const char* error; };
    const Case cases[] = {
        {"updater.ini status 404", "Updater Get updater.ini fail"},
        {"updater.ini zero", "Updater Get updater.ini fail"},
        {"updater.txt status 500", "Updater Get updater.txt fail"},
        {"updater.txt nolength", "Updater Get updater.txt fail"},
    };
    for (const Case& c : cases) {
        TestRelease release("srvfail");
        release.AddFile("a.txt", "alpha");
        release.SetManifest(release.ManifestFor({"a.txt"}));
        release.AddBehaviour(c.rule);
        UpdateDriver driver;
        EXPECT_EQ(RunUpdate(release, driver), UpdateOutcome::Error) << c.rule;
        EXPECT_EQ(Texts(driver.Of(kMsgError)), std::vector<std::string>{c.error}) << c.rule;
        EXPECT_FALSE(PathExists(release.InstallDir() + "/a.txt")) << c.rule;
    }
    UpdateDriver driver;
    OrvoClientUpdater updater;
    EXPECT_EQ(driver.Run(updater, "http://127.0.0.1:1/updater.ini", "inst"), UpdateOutcome::Error);
    EXPECT_EQ(Texts(driver.Of(kMsgError)), std::vector<std::string>{"Updater Get updater.ini fail"});
}

TEST(Update, RedirectedManifestKeepsItsName)
{
    TestRelease release("redir");
    release.AddFile("a.txt", "alpha");
    release.AddFile("elsewhere/manifest.dat", release.ManifestFor({"a.txt"}));
    release.AddBehaviour("updater.txt redirect 302 http://127.0.0.1:{port2}/redir/elsewhere/manifest.dat");
    release.AddBehaviour("updater.ini redirect 301 /redir/elsewhere/base.ini");
    release.AddFile("elsewhere/base.ini", release.Base());
    UpdateDriver driver;
    ASSERT_EQ(RunUpdate(release, driver), UpdateOutcome::Done);
    EXPECT_EQ(release.Installed("a.txt"), "alpha");
    EXPECT_FALSE(PathExists(release.InstallDir() + "/manifest.dat"));
    EXPECT_FALSE(PathExists(release.InstallDir() + "/updater.txt"));
}

TEST(Update, ManifestShapes)
{
    const std::string digestA = Md5Of("alpha");
    struct Case { std::string manifest; UpdateOutcome outcome; bool folder; bool fileA; int lines; };
    const Case cases[] = {
        {"", UpdateOutcome::Done, false, false, 0},
        // Lines without CR are not folder lines: the run stops there and completes.
        {"dir|0\na.txt|" + digestA + "\n", UpdateOutcome::Done, false, false, 2},
        {"a.txt|" + digestA + "\ndir|0\r\n", UpdateOutcome::Done, true, true, 2},
        {"a.txt|" + digestA + "\r\n\r\ndir|0\r\n", UpdateOutcome::Done, false, true, 3},
        {"a.txt|" + digestA + "\r\nb.txt|short\r\ndir|0\r\n", UpdateOutcome::Done, false, true, 3},
        {std::string(3000, 'x') + "|0\r\n", UpdateOutcome::Done, false, false, 2},
    };
    for (const Case& c : cases) {
        TestRelease release("shapes");
        release.AddFile("a.txt", "alpha");
        release.SetManifest(c.manifest);
        UpdateDriver driver;
        EXPECT_EQ(RunUpdate(release, driver), c.outcome) << c.manifest.substr(0, 40);
        EXPECT_EQ(PathExists(release.InstallDir() + "/dir"), c.folder) << c.manifest.substr(0, 40);
        EXPECT_EQ(PathExists(release.InstallDir() + "/a.txt"), c.fileA) << c.manifest.substr(0, 40);
        auto counters = driver.Of(kMsgCounter);
        ASSERT_FALSE(counters.empty());
        EXPECT_EQ(counters[0].wParam, 1u);
        EXPECT_EQ(counters[0].lParam, c.lines) << c.manifest.substr(0, 40);
        EXPECT_FALSE(PathExists(release.InstallDir() + "/updater.txt"));
    }
}

TEST(Update, PathsLeavingTheFolderFailTheRunBeforeAnyChange)
{
    const std::string digest = Md5Of("evil");
    const char* paths[] = {"../evil.txt", "..\\evil.txt", "sub/../../evil.txt", "C:/evil.txt", "/evil.txt",
                           "\\evil.txt", "a:evil.txt", "..", std::string(300, 'p').c_str()};
    std::string longPath(300, 'p');
    paths[8] = longPath.c_str();
    for (const char* path : paths) {
        TestRelease release("trav");
        release.AddFile("evil.txt", "evil");
        release.AddFile("a.txt", "alpha");
        WriteFileBytes(release.InstallDir() + "/victim.txt", "stays");
        release.SetManifest("victim.txt|-\r\na.txt|" + Md5Of("alpha") + "\r\n" + path + "|" + digest + "\r\n");
        UpdateDriver driver;
        EXPECT_EQ(RunUpdate(release, driver), UpdateOutcome::Error) << path;
        std::vector<std::string> errors = Texts(driver.Of(kMsgError));
        ASSERT_EQ(errors.size(), 1u) << path;
        EXPECT_EQ(errors[0], std::string(path).substr(0, 1023)) << path;
        EXPECT_TRUE(PathExists(release.InstallDir() + "/victim.txt")) << path;
        EXPECT_FALSE(PathExists(release.InstallDir() + "/a.txt")) << path;
        EXPECT_FALSE(PathExists("inst/evil.txt")) << path;
        EXPECT_EQ(release.Requests(), ServerFiles("trav")) << path;
    }
}

TEST(Update, ServerFilesNamedAsTheLaunchersOwnAreRefused)
{
    // Swapped in, each would go again: backups and downloads with the
    // clean-up, the manifest after the run, the batch under the launcher's
    // own; and "a.txt.orvobak" is a.txt's backup besides.
    const char* names[] = {"a.txt.orvobak", "A.TXT.OrvoBak", "bin/b.dll.orvobak", "UPDATER.TXT", "del.bat"};
    for (const char* name : names) {
        TestRelease release("own_names");
        release.AddFile("a.txt", "new alpha");
        // Served under any letter case, beside the server's own updater.txt.
        release.AddFile("shipped.bin", "shipped");
        release.AddBehaviour(std::string(name) + " redirect 302 /own_names/shipped.bin");
        WriteFileBytes(release.InstallDir() + "/a.txt", "old alpha");
        release.SetManifest("bin|0\r\n" + release.ManifestFor({"a.txt"}) + name + "|" + Md5Of("shipped") + "\r\n");
        UpdateDriver driver;
        EXPECT_EQ(RunUpdate(release, driver), UpdateOutcome::Error) << name;
        EXPECT_EQ(Texts(driver.Of(kMsgError)), std::vector<std::string>{name}) << name;
        EXPECT_EQ(release.Installed("a.txt"), "old alpha") << name;
        EXPECT_NE(release.Installed(name), "shipped") << name;
        EXPECT_EQ(release.Requests(), ServerFiles("own_names")) << name;
    }
}

TEST(Update, LockedTargetRollsBackEverySwap)
{
    TestRelease release("locked");
    release.AddFile("a.txt", "new alpha");
    release.AddFile("b.txt", "new bravo");
    release.AddFile("c.txt", "new charlie");
    WriteFileBytes(release.InstallDir() + "/a.txt", "old alpha");
    WriteFileBytes(release.InstallDir() + "/b.txt", "old bravo");
    release.SetManifest(release.ManifestFor({"a.txt", "c.txt", "b.txt"}));
    const std::string locked = release.InstallDir() + "/b.txt";
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    UpdateDriver driver;
    UpdateOutcome outcome = RunUpdate(release, driver);
    CloseHandle(hold);
    EXPECT_EQ(outcome, UpdateOutcome::Error);
    // Named as the manifest names it, as a failed download is.
    EXPECT_EQ(Texts(driver.Of(kMsgError)), std::vector<std::string>{"b.txt"});
    EXPECT_EQ(release.Installed("a.txt"), "old alpha");
    EXPECT_EQ(release.Installed("b.txt"), "old bravo");
    EXPECT_FALSE(PathExists(release.InstallDir() + "/c.txt"));
    EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty());
}

TEST(Update, DriverTakesTheCommandLine)
{
    TestRelease release("cmdline");
    release.AddFile("a.txt", "alpha");
    release.SetManifest(release.ManifestFor({"a.txt"}));
    const std::string folder = "inst/cmdline/with space";
    MakeFolders(folder);
    WriteFileBytes("driver_args.txt", "--appPath \"" + folder + "\"\n--updateUrl " + release.Url("updater.ini") + "\n");
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    char command[] = "update_driver.exe @driver_args.txt --timeout 2";
    ASSERT_TRUE(CreateProcessA("update_driver.exe", command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 120000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadFileBytes(folder + "/a.txt"), "alpha");
}

TEST(Update, TemporaryFileThatCannotBeMadeIsAFailedAttempt)
{
    TestRelease release("nodir");
    release.AddFile("sub/a.txt", "alpha");
    release.SetManifest(release.ManifestFor({"sub/a.txt"}));  // no folder line for "sub"
    UpdateDriver driver;
    EXPECT_EQ(RunUpdate(release, driver), UpdateOutcome::Error);
    EXPECT_EQ(release.CountRequests("sub/a.txt"), 3);
    EXPECT_EQ(Texts(driver.Of(kMsgError)), std::vector<std::string>{"sub/a.txt"});
    EXPECT_EQ(TodayLog("UpdateLog").find("Update success sub/a.txt"), std::string::npos);
}

TEST(Update, TargetListedTwiceKeepsItsOldCopyForTheRollback)
{
    // "A.txt" names the same file as "a.txt" on this file system.
    struct Case { const char* second; bool locked; };
    const Case cases[] = {{"a.txt", true}, {"A.txt", true}, {"a.txt", false}};
    for (const Case& c : cases) {
        TestRelease release("twice");
        release.AddFile("a.txt", "new alpha");
        release.AddBehaviour("A.txt redirect 302 /twice/a.txt");
        release.AddFile("b.txt", "new bravo");
        WriteFileBytes(release.InstallDir() + "/a.txt", "old alpha");
        WriteFileBytes(release.InstallDir() + "/b.txt", "old bravo");
        release.SetManifest(release.ManifestFor({"a.txt", c.second, "b.txt"}));
        const std::string locked = release.InstallDir() + "/b.txt";
        HANDLE hold = c.locked ? CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                             nullptr)
                               : INVALID_HANDLE_VALUE;
        UpdateDriver driver;
        UpdateOutcome outcome = RunUpdate(release, driver);
        if (hold != INVALID_HANDLE_VALUE)
            CloseHandle(hold);
        EXPECT_EQ(outcome, c.locked ? UpdateOutcome::Error : UpdateOutcome::Done) << c.second;
        EXPECT_EQ(release.Installed("a.txt"), c.locked ? "old alpha" : "new alpha") << c.second;
        EXPECT_EQ(release.Installed("b.txt"), c.locked ? "old bravo" : "new bravo") << c.second;
        EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty()) << c.second;
    }
}

TEST(Update, BackupLeftByAnInterruptedSwapGoesBack)
{
    // As a process ended between the two renames of a swap leaves the folder.
    // The file may be the launcher itself: it goes back even while the server
    // is down (refused), silent, or answers nothing useful.
    LoopbackListener silent;  // takes connections and never answers
    // Leftovers are removed by a run that gets as far as its manifest.
    struct Case { const char* rule; std::string url; UpdateOutcome outcome; const char* a; bool cleaned; };
    const Case cases[] = {
        {"a.txt status 500", "", UpdateOutcome::Error, "old alpha", true},
        {"", "", UpdateOutcome::Done, "new alpha", true},
        {"updater.ini status 500", "", UpdateOutcome::Error, "old alpha", false},
        {"refused", "http://127.0.0.1:1/updater.ini", UpdateOutcome::Error, "old alpha", false},
        {"silent", "http://127.0.0.1:" + std::to_string(silent.port) + "/updater.ini", UpdateOutcome::Error, "old alpha", false},
    };
    for (const Case& c : cases) {
        TestRelease release("orphan");
        release.AddFile("a.txt", "new alpha");
        WriteFileBytes(release.InstallDir() + "/a.txt.orvobak", "old alpha");
        WriteFileBytes(release.InstallDir() + "/a.txt_20260101000000.orvobak", "partial");
        release.SetManifest(release.ManifestFor({"a.txt"}));
        if (c.url.empty() && *c.rule)
            release.AddBehaviour(c.rule);
        UpdateDriver driver;
        OrvoClientUpdater updater;
        updater.SetTimeout(1);
        const std::string url = c.url.empty() ? release.Url("updater.ini") : c.url;
        EXPECT_EQ(driver.Run(updater, url.c_str(), release.InstallDir().c_str()), c.outcome) << c.rule;
        EXPECT_EQ(release.Installed("a.txt"), c.a) << c.rule;
        EXPECT_FALSE(PathExists(release.InstallDir() + "/a.txt_20260101000000")) << c.rule;
        EXPECT_FALSE(PathExists(release.InstallDir() + "/a.txt.orvobak")) << c.rule;
        EXPECT_EQ(FindFiles(release.InstallDir(), ".orvobak").empty(), c.cleaned) << c.rule;
    }
}

TEST(Update, ReadOnlyFilesAreReplacedAndLeaveNoBackup)
{
    TestRelease release("readonly");
    release.AddFile("a.txt", "new alpha");
    const std::string a = release.InstallDir() + "/a.txt", gone = release.InstallDir() + "/gone.txt";
    WriteFileBytes(a, "old alpha");
    WriteFileBytes(gone, "old file");
    for (const std::string& path : {a, gone})
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    release.SetManifest("gone.txt|-\r\n" + release.ManifestFor({"a.txt"}));
    UpdateDriver first;
    EXPECT_EQ(RunUpdate(release, first), UpdateOutcome::Done);
    EXPECT_EQ(release.Installed("a.txt"), "new alpha");
    EXPECT_FALSE(PathExists(gone));
    EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty());
    // A backup left read-only by an earlier run does not block the next swap.
    ASSERT_TRUE(SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_READONLY));
    WriteFileBytes(a + ".orvobak", "older alpha");
    ASSERT_TRUE(SetFileAttributesA((a + ".orvobak").c_str(), FILE_ATTRIBUTE_READONLY));
    release.AddFile("a.txt", "newer alpha");
    release.SetManifest(release.ManifestFor({"a.txt"}));
    UpdateDriver second;
    EXPECT_EQ(RunUpdate(release, second), UpdateOutcome::Done);
    EXPECT_EQ(release.Installed("a.txt"), "newer alpha");
    EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty());
}

TEST(Update, AStopDuringTheSwapReturnsOnlyOnceEveryFileIsIn)
{
    TestRelease release("stop_swap");
    std::vector<std::string> paths;
    for (int i = 0; i < 400; ++i) {
        char name[16];
        snprintf(name, sizeof name, "f%03d.txt", i);
        paths.push_back(name);
        release.AddFile(name, "new " + std::to_string(i));
        // Files already there take the longer way, through their backups.
        WriteFileBytes(release.InstallDir() + "/" + name, "old");
    }
    release.SetManifest(release.ManifestFor(paths));
    OrvoClientUpdater updater;
    ASSERT_TRUE(updater.Init(release.Url("updater.ini").c_str(), release.InstallDir().c_str()));
    const DWORD start = GetTickCount();
    while (!updater.IsSwapping() && !updater.WaitForWorker(0) && GetTickCount() - start < 120000)
        Sleep(1);
    ASSERT_TRUE(updater.IsSwapping()) << "the swap went by unseen";
    // As the closing window does, with no time to spare: the process would end right after.
    EXPECT_TRUE(updater.StopWorker(0));
    int stale = 0;
    for (size_t i = 0; i < paths.size(); ++i)
        stale += release.Installed(paths[i]) != "new " + std::to_string(i);
    EXPECT_EQ(stale, 0);
    EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty());
}

TEST(Update, DeletionsWaitForTheSwapAndRollBackWithIt)
{
    // Install folder: old.dll, f.bin "stale" (c.fresh: already as served),
    // the folder sub with a file in it.
    struct Case { const char* what; std::string manifest; const char* rule; bool lockOld; bool fresh;
                  UpdateOutcome outcome; const char* error; bool oldLeft; const char* f; };
    const std::string fLine = "f.bin|" + Md5Of("fresh") + "\r\n";
    const Case cases[] = {
        {"download fails", "old.dll|-\r\n" + fLine, "f.bin corrupt", false, false, UpdateOutcome::Error, "f.bin", true, "stale"},
        {"all well", "old.dll|-\r\n" + fLine, "", false, false, UpdateOutcome::Done, nullptr, false, "fresh"},
        // A deletion that cannot be done fails the swap as a replacement does.
        {"deletion fails", "old.dll|-\r\n" + fLine, "", true, false, UpdateOutcome::Error, "old.dll", true, "stale"},
        // Of two lines for one file the later one wins.
        {"fetched, then deleted", fLine + "f.bin|-\r\n", "", false, false, UpdateOutcome::Done, nullptr, true, nullptr},
        {"deleted, then as listed", "f.bin|-\r\n" + fLine, "", false, true, UpdateOutcome::Done, nullptr, true, "fresh"},
        // Only files are deleted.
        {"a folder", "sub|-\r\n" + fLine, "", false, false, UpdateOutcome::Done, nullptr, true, "fresh"},
    };
    for (const Case& c : cases) {
        TestRelease release("deletion");
        release.AddFile("f.bin", "fresh");
        const std::string dir = release.InstallDir();
        WriteFileBytes(dir + "/old.dll", "old library");
        WriteFileBytes(dir + "/f.bin", c.fresh ? "fresh" : "stale");
        WriteFileBytes(dir + "/sub/x.txt", "inside");
        release.SetManifest(c.manifest);
        if (*c.rule)
            release.AddBehaviour(c.rule);
        HANDLE hold = c.lockOld ? CreateFileA((dir + "/old.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, 0, nullptr)
                                : INVALID_HANDLE_VALUE;
        UpdateDriver driver;
        UpdateOutcome outcome = RunUpdate(release, driver);
        if (hold != INVALID_HANDLE_VALUE)
            CloseHandle(hold);
        EXPECT_EQ(outcome, c.outcome) << c.what;
        EXPECT_EQ(Texts(driver.Of(kMsgError)), c.error ? std::vector<std::string>{c.error} : std::vector<std::string>{})
            << c.what;
        EXPECT_EQ(PathExists(dir + "/old.dll"), c.oldLeft) << c.what;
        if (c.oldLeft) {
            EXPECT_EQ(release.Installed("old.dll"), "old library") << c.what;
        }
        EXPECT_EQ(PathExists(dir + "/f.bin"), c.f != nullptr) << c.what;
        if (c.f) {
            EXPECT_EQ(release.Installed("f.bin"), c.f) << c.what;
        }
        EXPECT_EQ(release.Installed("sub/x.txt"), "inside") << c.what;
        EXPECT_TRUE(FindFiles(dir, ".orvobak").empty()) << c.what;
        EXPECT_FALSE(PathExists(dir + "/sub.orvobak")) << c.what;
    }
}

TEST(Update, ATricklingServerFailsTheLineInBoundedTime)
{
    // 50 MB announced, one byte every half second: at 4 KiB a second the
    // deadline alone would allow hours for each of the three attempts.
    TestRelease release("drip");
    release.AddFile("f.bin", "fresh");
    WriteFileBytes(release.InstallDir() + "/f.bin", "stale");
    release.SetManifest(release.ManifestFor({"f.bin"}));
    release.AddBehaviour("f.bin drip 50000000 0.5 20");
    OrvoClientUpdater updater;
    updater.SetTimeout(1);
    const DWORD window = 2000;
    updater.SetRateWindow(window);
    UpdateDriver driver;
    const DWORD start = GetTickCount();
    EXPECT_EQ(driver.Run(updater, release.Url("updater.ini").c_str(), release.InstallDir().c_str()),
              UpdateOutcome::Error);
    const DWORD took = GetTickCount() - start;
    ASSERT_EQ(Texts(driver.Of(kMsgError)), std::vector<std::string>{"f.bin"});
    EXPECT_EQ(driver.Of(kMsgError)[0].lParam, WSAETIMEDOUT);
    EXPECT_EQ(release.CountRequests("f.bin"), 3);
    // Each attempt waits its window out, and no more than that and the time-out.
    EXPECT_GE(took, 3 * window);
    EXPECT_LT(took, 3 * (window + 1000) + 6000);
    EXPECT_EQ(release.Installed("f.bin"), "stale");
    EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty());
}

TEST(Update, TwoRunsOnOneFolderTakeTurns)
{
    // A player who starts the launcher twice: the second run begins with the
    // first, while the first fetches, or while it swaps. Either way the folder
    // ends wholly new, both runs say so, and the second finds nothing to fetch.
    enum class When { Together, Fetching, Swapping };
    struct Case { const char* what; When when; };
    const Case cases[] = {
        {"together", When::Together}, {"while the first fetches", When::Fetching},
        {"while the first swaps", When::Swapping},
    };
    for (const Case& c : cases) {
        TestRelease release("take_turns");
        const std::string dir = release.InstallDir();
        std::vector<std::string> paths, gone;
        std::string deletions;
        // Enough files that the swap takes a while; those there already take
        // the longer way, through their backups.
        for (int i = 0; i < 200; ++i) {
            const std::string name = "f" + std::to_string(i) + ".txt";
            paths.push_back(name);
            release.AddFile(name, "new " + name);
            WriteFileBytes(dir + "/" + name, "old " + name);
        }
        for (int i = 0; i < 10; ++i) {
            gone.push_back("g" + std::to_string(i) + ".txt");
            WriteFileBytes(dir + "/" + gone.back(), "old");
            deletions += gone.back() + "|-\r\n";
        }
        paths.push_back("slow.bin");
        release.AddFile("slow.bin", std::string(120000, 's'));
        release.AddBehaviour("slow.bin pace 40000");  // three seconds
        release.SetManifest(deletions + release.ManifestFor(paths));

        struct Run
        {
            OrvoClientUpdater updater;
            UpdateOutcome outcome = UpdateOutcome::None;
            std::vector<std::string> errors;
            std::vector<WPARAM> waits;  // what its waiting messages said
        };
        Run runs[2];
        auto update = [&](Run& run) {
            run.updater.SetTimeout(2);
            UpdateDriver driver;
            run.outcome = driver.Run(run.updater, release.Url("updater.ini").c_str(), dir.c_str());
            run.errors = Texts(driver.Of(kMsgError));
            for (const PostedMessage& m : driver.Of(kMsgWaiting))
                run.waits.push_back(m.wParam);
        };
        std::thread first(update, std::ref(runs[0]));
        const DWORD start = GetTickCount();
        auto due = [&] {
            if (c.when == When::Fetching)
                return release.CountRequests("slow.bin") > 0;
            return c.when == When::Together || runs[0].updater.IsSwapping();
        };
        while (!due() && GetTickCount() - start < 60000)
            Sleep(1);
        std::thread second(update, std::ref(runs[1]));
        first.join();
        second.join();

        for (const Run& run : runs) {
            EXPECT_EQ(run.outcome, UpdateOutcome::Done) << c.what;
            EXPECT_TRUE(run.errors.empty()) << c.what << ": " << (run.errors.empty() ? "" : run.errors[0]);
        }
        // One of them said it waits, and then that it goes on.
        const std::vector<WPARAM> waited = {1, 0};
        EXPECT_TRUE((runs[0].waits.empty() && runs[1].waits == waited) ||
                    (runs[1].waits.empty() && runs[0].waits == waited))
            << c.what << ": " << runs[0].waits.size() << " and " << runs[1].waits.size();
        int stale = 0, fetchedAgain = 0, left = 0;
        for (const std::string& name : paths) {
            stale += release.Installed(name) != ReadFileBytes(release.ServedDir() + "/" + name);
            fetchedAgain += release.CountRequests(name) != 1;
        }
        for (const std::string& name : gone)
            left += PathExists(dir + "/" + name);
        EXPECT_EQ(stale, 0) << c.what;
        EXPECT_EQ(fetchedAgain, 0) << c.what;
        EXPECT_EQ(left, 0) << c.what;
        EXPECT_TRUE(FindFiles(dir, ".orvobak").empty()) << c.what;
        EXPECT_FALSE(PathExists(dir + "/updater.txt")) << c.what;
    }
}

TEST(Update, EverySpellingOfAFolderHasOneLock)
{
    const std::string folder = "inst/lock_name/Orvo Game";
    MakeFolders(folder);
    MakeFolders("inst/lock_name/Orvo Game 2");
    const std::wstring full = FsFullPath(folder.c_str());
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(full.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortPath), full);  // "ORVOGA~1"
    std::wstring upper = full;
    CharUpperBuffW(&upper[0], DWORD(upper.size()));
    const std::wstring name = FolderLockName(full);
    EXPECT_EQ(name.rfind(L"Local\\", 0), 0u);
    EXPECT_LE(name.size(), size_t(MAX_PATH));
    struct Case { std::wstring spelling; bool same; };
    const Case cases[] = {
        {WideFromUtf8(folder.c_str()), true},
        {L"inst\\lock_name\\Orvo Game\\", true},
        {L"inst/lock_name/sub/../Orvo Game", true},
        {upper, true},
        {shortPath, true},
        {L"inst/lock_name/Orvo Game 2", false},
        {L"inst/lock_name", false},
        // Not there yet: still one name for its spellings.
        {L"inst/lock_name/missing", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FolderLockName(c.spelling) == name, c.same) << Utf8FromWide(c.spelling.c_str());
    EXPECT_EQ(FolderLockName(L"inst/lock_name/missing/"), FolderLockName(L"INST\\LOCK_NAME\\MISSING"));
    const std::wstring deep = L"inst/lock_name/" + std::wstring(300, L'd');
    EXPECT_LE(FolderLockName(deep).size(), size_t(MAX_PATH));
    EXPECT_NE(FolderLockName(deep), FolderLockName(deep + L"e"));
}

TEST(Update, ARunWaitsItsTurnForTheFolder)
{
    // What holds the folder: another launcher (a thread of the test here),
    // or the "del.bat" of one that has just ended. The run asks the server
    // nothing until that is gone; a stop ends the wait. A holder that ended
    // without letting go (a killed launcher) and a batch left from long ago
    // hold nothing.
    enum class Holder { Launcher, Killed, StopWhileHeld, FreshBatch, OldBatch };
    struct Case { const char* what; Holder holder; UpdateOutcome outcome; std::vector<WPARAM> waits; };
    const Case cases[] = {
        {"another launcher", Holder::Launcher, UpdateOutcome::Done, {1, 0}},
        {"a killed launcher", Holder::Killed, UpdateOutcome::Done, {}},
        {"a stop while held", Holder::StopWhileHeld, UpdateOutcome::None, {1}},
        {"a batch just written", Holder::FreshBatch, UpdateOutcome::Done, {1, 0}},
        {"a batch from long ago", Holder::OldBatch, UpdateOutcome::Done, {}},
    };
    for (const Case& c : cases) {
        TestRelease release("wait_turn");
        release.AddFile("a.txt", "new alpha");
        release.SetManifest(release.ManifestFor({"a.txt"}));
        const std::string dir = release.InstallDir();
        const std::string batch = dir + "/del.bat";
        OrvoClientUpdater updater;
        updater.SetTimeout(2);

        // Kept open here, so that the mutex outlives a holder that ends.
        UniqueHandle mutex(CreateMutexW(nullptr, FALSE, FolderLockName(WideFromUtf8(dir.c_str())).c_str()));
        ASSERT_TRUE(mutex.Valid());
        UniqueHandle taken(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        size_t requestsWhileHeld = 99;
        bool stopped = false;
        std::thread holder([&] {
            if (c.holder == Holder::Launcher || c.holder == Holder::Killed || c.holder == Holder::StopWhileHeld)
                WaitForSingleObject(mutex.Get(), INFINITE);
            if (c.holder == Holder::FreshBatch || c.holder == Holder::OldBatch)
                WriteFileBytes(batch, "@echo off\r\n");
            if (c.holder == Holder::OldBatch) {
                FILETIME t;
                GetSystemTimeAsFileTime(&t);
                ULARGE_INTEGER ago = {{t.dwLowDateTime, t.dwHighDateTime}};
                ago.QuadPart -= 600ull * 10000000;  // ten minutes
                t = {ago.LowPart, ago.HighPart};
                UniqueHandle file(FsCreateFile(batch.c_str(), FILE_WRITE_ATTRIBUTES, 0, OPEN_EXISTING, 0));
                SetFileTime(file.Get(), nullptr, nullptr, &t);
            }
            SetEvent(taken.Get());
            if (c.holder == Holder::Killed || c.holder == Holder::OldBatch)
                return;  // the mutex is abandoned as the thread ends
            Sleep(1500);
            requestsWhileHeld = release.Requests().size();
            if (c.holder == Holder::StopWhileHeld)
                stopped = updater.StopWorker(3000);
            if (c.holder == Holder::FreshBatch)
                DeleteFileA(batch.c_str());
            else
                ReleaseMutex(mutex.Get());
        });
        WaitForSingleObject(taken.Get(), INFINITE);
        if (c.holder == Holder::Killed || c.holder == Holder::OldBatch)
            holder.join();
        UpdateDriver driver;
        const UpdateOutcome outcome = driver.Run(updater, release.Url("updater.ini").c_str(), dir.c_str());
        if (holder.joinable())
            holder.join();

        EXPECT_EQ(outcome, c.outcome) << c.what;
        std::vector<WPARAM> waits;
        for (const PostedMessage& m : driver.Of(kMsgWaiting))
            waits.push_back(m.wParam);
        EXPECT_EQ(waits, c.waits) << c.what;
        if (!c.waits.empty()) {
            EXPECT_EQ(requestsWhileHeld, 0u) << c.what;
        }
        const bool done = c.outcome == UpdateOutcome::Done;
        EXPECT_EQ(release.Installed("a.txt"), done ? "new alpha" : "") << c.what;
        if (c.holder == Holder::StopWhileHeld) {
            EXPECT_TRUE(stopped);
            EXPECT_TRUE(driver.Of(kMsgError).empty());
            EXPECT_TRUE(release.Requests().empty());
        }
        // The launcher leaves the batch to remove itself.
        EXPECT_EQ(PathExists(batch), c.holder == Holder::OldBatch) << c.what;
    }
}

TEST(Update, AFinishedRunKeepsTheFolderUntilTheWindowLetsGo)
{
    // Until the window has started the client and written "del.bat", whose
    // deletion of every backup would catch the next run's.
    TestRelease release("hand_over");
    release.AddFile("a.txt", "new alpha");
    release.SetManifest(release.ManifestFor({"a.txt"}));
    const std::string dir = release.InstallDir();
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, FolderLockName(WideFromUtf8(dir.c_str())).c_str()));
    ASSERT_TRUE(mutex.Valid());
    OrvoClientUpdater updater;  // no window: the done message goes nowhere
    ASSERT_TRUE(updater.Init(release.Url("updater.ini").c_str(), dir.c_str()));
    const DWORD start = GetTickCount();
    while (PathExists(dir + "/updater.txt") || release.Installed("a.txt") != "new alpha") {
        ASSERT_LT(GetTickCount() - start, 60000u);
        Sleep(10);
    }
    EXPECT_FALSE(updater.WaitForWorker(500));
    EXPECT_EQ(WaitForSingleObject(mutex.Get(), 0), DWORD(WAIT_TIMEOUT));
    updater.ReleaseFolder();
    EXPECT_TRUE(updater.WaitForWorker(5000));
    EXPECT_EQ(WaitForSingleObject(mutex.Get(), 0), DWORD(WAIT_OBJECT_0));
    ReleaseMutex(mutex.Get());
}
