// The HTTP client against the scripted loopback server.
#include <gtest/gtest.h>

#include <cstdarg>
#include <regex>
#include <vector>

#include "NBTCPClient.h"
#include "TestRelease.h"

namespace {

class QuietClient : public CNBTCPClient
{
public:
    void OnProgress(int total, int received) override { last = {total, received}; }
    std::pair<int, int> last{-1, -1};
};

// Keeps the error log's lines for the test to read.
class RecordingClient : public CNBTCPClient
{
public:
    void LogError(const char* format, ...) override
    {
        char line[2048];
        va_list args;
        va_start(args, format);
        vsnprintf(line, sizeof line, format, args);
        va_end(args);
        errors.push_back(line);
    }
    void OnProgress(int, int) override {}
    std::vector<std::string> errors;
};

} // namespace

TEST(HttpClient, GetIntoMemoryRespectsTheBuffer)
{
    TestRelease release("mem");
    release.AddFile("600.txt", std::string(600, 'm'));
    release.AddFile("511.txt", std::string(511, 'n'));
    release.AddFile("512.txt", std::string(512, 'o'));
    release.AddFile("empty.txt", "");
    QuietClient client;
    ASSERT_EQ(client.Init(2), 1);
    char buffer[512];
    struct Case { const char* path; int result; size_t length; };
    const Case cases[] = {
        {"600.txt", kHttpTooLarge, 0},
        {"512.txt", kHttpTooLarge, 0},
        {"511.txt", 511, 511},
        {"empty.txt", 0, 0},
        {"missing.txt", kHttpBadStatus, 0},
    };
    for (const Case& c : cases) {
        memset(buffer, 'X', sizeof buffer);
        EXPECT_EQ(client.HTTPGet(release.Url(c.path).c_str(), buffer, sizeof buffer), c.result) << c.path;
        if (c.result >= 0) {
            EXPECT_EQ(strlen(buffer), c.length) << c.path;
        }
    }
    EXPECT_EQ(client.GetStatusCode(), 404);
    EXPECT_EQ(release.CountRequests("600.txt"), 1);
}

TEST(HttpClient, LengthHeaderIsLoggedAsReceived)
{
    TestRelease release("lengthlog");
    for (const char* name : {"plain.txt", "lower.txt", "bad.txt", "none.txt"})
        release.AddFile(name, std::string(511, 'l'));
    release.AddBehaviour("lower.txt lower");
    release.AddBehaviour("bad.txt badlength 123456789012345678901234567890");
    release.AddBehaviour("none.txt nolength");
    struct Case { const char* path; int result; const char* line; };
    const Case cases[] = {
        {"plain.txt", 511, "get content length buf 511"},
        {"lower.txt", 511, "get content length buf 511"},
        {"bad.txt", kHttpNoLength, "get content length buf 12345678901234567890"},  // 20 characters at most
        {"none.txt", kHttpNoLength, nullptr},
    };
    for (const Case& c : cases) {
        RecordingClient client;
        ASSERT_EQ(client.Init(2), 1);
        char buffer[1024];
        EXPECT_EQ(client.HTTPGet(release.Url(c.path).c_str(), buffer, sizeof buffer), c.result) << c.path;
        std::vector<std::string> lines;
        for (const std::string& e : client.errors)
            if (e.compare(0, 23, "get content length buf ") == 0)
                lines.push_back(e);
        if (c.line) {
            ASSERT_EQ(lines.size(), 1u) << c.path;
            EXPECT_EQ(lines[0], c.line) << c.path;
        } else {
            EXPECT_TRUE(lines.empty()) << c.path;
        }
    }
}

TEST(HttpClient, FileGetHandlesServerBehaviours)
{
    const std::string body(150000, 'b');
    struct Case { const char* rule; int result; bool fileLeft; };
    const Case cases[] = {
        {"", 150000, true},
        {"f.bin split", 150000, true},
        {"f.bin lower", 150000, true},
        {"f.bin mixed", 150000, true},
        {"f.bin longer 5000", 150000, true},
        {"f.bin zero", 0, true},
        {"f.bin nolength", kHttpNoLength, false},
        {"f.bin badlength -5", kHttpNoLength, false},
        {"f.bin badlength 99999999999999", kHttpNoLength, false},
        {"f.bin close 1000", kHttpNetFail, false},
        {"f.bin stall 4", kHttpNetFail, false},
        {"f.bin bighead", kHttpNetFail, false},
        {"f.bin status 500", kHttpBadStatus, false},
        {"f.bin status 404", kHttpBadStatus, false},
        {"f.bin redirect 302 http://127.0.0.1:{port2}/beh/real.bin", 150000, true},
        {"f.bin redirect 300 /beh/real.bin", 150000, true},
        {"f.bin redirect_lc 305 real.bin", 150000, true},
        {"f.bin redirect 306 /beh/real.bin", kHttpBadStatus, false},
        {"f.bin redirect 307 /beh/real.bin", kHttpBadStatus, false},
        {"f.bin noloc 302", kHttpBadStatus, false},
        {"f.bin redirect 302 https://127.0.0.1/beh/real.bin", kHttpBadStatus, false},
        {"f.bin redirect 302 /beh/f.bin", kHttpBadStatus, false},
    };
    for (const Case& c : cases) {
        TestRelease release("beh");
        release.AddFile("f.bin", body);
        release.AddFile("real.bin", body);
        if (*c.rule)
            release.AddBehaviour(c.rule);
        QuietClient client;
        ASSERT_EQ(client.Init(1), 1);
        DWORD start = GetTickCount();
        int rc = client.HTTPGetFile(release.Url("f.bin").c_str(), release.InstallDir().c_str(), nullptr, nullptr, 1);
        EXPECT_EQ(rc, c.result) << c.rule;
        EXPECT_LT(GetTickCount() - start, 15000u) << c.rule;
        std::string installed = release.Installed("f.bin");
        EXPECT_EQ(PathExists(release.InstallDir() + "/f.bin"), c.fileLeft) << c.rule;
        if (c.result > 0) {
            EXPECT_EQ(installed, body) << c.rule;
        }
        if (c.result >= 0) {
            EXPECT_EQ(client.last, std::make_pair(c.result, c.result)) << c.rule;
        }
        EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty()) << c.rule;
        EXPECT_FALSE(PathExists(release.InstallDir() + "/real.bin")) << c.rule;
    }
}

// A server that sends a byte every 100 ms would hold a request for minutes:
// the time-out covers the head, and the body's length at 4 KiB a second
// is added to it.
TEST(HttpClient, TricklingServerFailsWithinTheDeadline)
{
    TestRelease release("trickle");
    release.AddFile("slow.txt", std::string(2048, 's'));
    release.AddFile("head.txt", std::string(10, 'h'));
    release.AddBehaviour("slow.txt trickle_body");
    release.AddBehaviour("head.txt trickle");
    QuietClient client;
    ASSERT_EQ(client.Init(2), 1);
    struct Case { const char* path; bool toFile; DWORD deadlineMs; };
    const Case cases[] = {
        {"head.txt", false, 2000},
        {"head.txt", true, 2000},
        {"slow.txt", false, 2500},
        {"slow.txt", true, 2500},
    };
    for (const Case& c : cases) {
        char buffer[4096];
        DWORD start = GetTickCount();
        int rc = c.toFile ? client.HTTPGetFile(release.Url(c.path).c_str(), release.InstallDir().c_str(), nullptr, nullptr, 1)
                          : client.HTTPGet(release.Url(c.path).c_str(), buffer, sizeof buffer);
        DWORD took = GetTickCount() - start;
        EXPECT_EQ(rc, kHttpNetFail) << c.path;
        EXPECT_EQ(client.GetLastErrorCode(), WSAETIMEDOUT) << c.path;
        // Trickled whole, the response would take 20 s or more.
        EXPECT_LT(took, c.deadlineMs + 1500) << c.path;
    }
    EXPECT_FALSE(PathExists(release.InstallDir() + "/slow.txt"));
    EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty());
}

TEST(HttpClient, RedirectChainsAreBounded)
{
    TestRelease release("chain");
    release.AddFile("real.bin", "payload");
    for (int i = 0; i < 6; ++i)
        release.AddBehaviour("r" + std::to_string(i) + " redirect 302 /chain/r" + std::to_string(i + 1));
    release.AddBehaviour("r6 redirect 302 /chain/real.bin");
    QuietClient client;
    ASSERT_EQ(client.Init(1), 1);
    char buffer[64];
    EXPECT_EQ(client.HTTPGet(release.Url("r2").c_str(), buffer, sizeof buffer), 7);  // five hops
    EXPECT_STREQ(buffer, "payload");
    EXPECT_EQ(client.HTTPGet(release.Url("r1").c_str(), buffer, sizeof buffer), kHttpBadStatus);  // six
    EXPECT_EQ(release.CountRequests("r6"), 2);
    EXPECT_EQ(release.CountRequests("real.bin"), 1);
}

TEST(HttpClient, FileGetChecksDigestAndNames)
{
    TestRelease release("names");
    release.AddFile("dir/x.bin", "content");
    release.AddFile("dir/index", "index body");
    release.AddBehaviour("dir/ redirect 302 /names/dir/index");
    QuietClient client;
    ASSERT_EQ(client.Init(1), 1);
    const std::string folder = release.InstallDir();
    EXPECT_EQ(client.HTTPGetFile(release.Url("dir/x.bin").c_str(), folder.c_str(), "y.bin", Md5Of("content").c_str(), 1), 7);
    EXPECT_EQ(release.Installed("y.bin"), "content");
    std::string upper = Md5Of("content");
    for (char& c : upper)
        c = char(toupper(c));
    EXPECT_EQ(client.HTTPGetFile(release.Url("dir/x.bin").c_str(), folder.c_str(), "z.bin", upper.c_str(), 1), kHttpNetFail);
    EXPECT_FALSE(PathExists(folder + "/z.bin"));
    // A URL ending in "/" names the file by the time.
    EXPECT_EQ(client.HTTPGetFile(release.Url("dir/").c_str(), folder.c_str(), nullptr, nullptr, 1), 10);
    std::vector<std::string> stamped = FindFiles(folder, "20");
    ASSERT_EQ(stamped.size(), 1u);
    EXPECT_EQ(stamped[0].size(), folder.size() + 1 + 14);
    EXPECT_TRUE(FindFiles(folder, ".orvobak").empty());
    // A path that would not fit is refused, never cut.
    std::string deep = folder + "/" + std::string(240, 'd');
    EXPECT_EQ(client.HTTPGetFile(release.Url("dir/x.bin").c_str(), deep.c_str(), "x.bin", nullptr, 1), kHttpFileFail);
}

TEST(HttpClient, ConnectionFailuresGiveMinusOne)
{
    QuietClient client;
    ASSERT_EQ(client.Init(1), 1);
    char buffer[16];
    // Port 1 on the loopback refuses at once.
    EXPECT_EQ(client.HTTPGet("http://127.0.0.1:1/x", buffer, sizeof buffer), kHttpNetFail);
    EXPECT_NE(client.GetLastErrorCode(), 0);
    EXPECT_EQ(client.HTTPGet("http://no-such-host.invalid/x", buffer, sizeof buffer), kHttpNetFail);
    EXPECT_EQ(client.HTTPGet("https://127.0.0.1/x", buffer, sizeof buffer), kHttpNetFail);
}

TEST(HttpClient, LogLinesAreBoundedAndDated)
{
    CNBTCPClient client;
    const std::string marker = "long-message-" + std::to_string(GetTickCount());
    client.LogError("%s%s", marker.c_str(), std::string(3000, 'q').c_str());
    client.Log("%s short", marker.c_str());
    SYSTEMTIME t;
    GetLocalTime(&t);
    char suffix[32];
    snprintf(suffix, sizeof suffix, "%04d-%02d-%02d.txt", t.wYear, t.wMonth, t.wDay);
    struct Case { std::string file; size_t length; };
    const Case cases[] = {{std::string("log/UpdateLogError") + suffix, 1022}, {std::string("log/UpdateLog") + suffix, 0}};
    for (const Case& c : cases) {
        std::string text = ReadFileBytes(c.file);
        size_t at = text.find(marker);
        ASSERT_NE(at, std::string::npos) << c.file;
        ASSERT_GE(at, 11u);
        std::string line = text.substr(at - 11, text.find('\n', at) - (at - 11));
        EXPECT_TRUE(std::regex_match(line, std::regex("\\d\\d:\\d\\d:\\d\\d - " + marker + ".*\r"))) << line.substr(0, 40);
        if (c.length) {
            EXPECT_EQ(line.size(), c.length + 1) << c.file;  // 1022 characters, then the CR of CR LF
        } else {
            EXPECT_EQ(line.substr(11 + marker.size()), " short\r");
        }
    }
}

TEST(HttpClient, ConnectToAPeerThatNeverAnswersIsBounded)
{
    QuietClient client;  // starts Winsock for the sockets below
    ASSERT_EQ(client.Init(1), 1);
    // A listener whose backlog is full drops further connection requests, so
    // the handshake never completes.
    SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_NE(listener, INVALID_SOCKET);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 0), 0);
    int length = sizeof address;
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    std::vector<SOCKET> fillers;
    for (int i = 0; i < 4; ++i) {
        SOCKET filler = socket(AF_INET, SOCK_STREAM, 0);
        u_long nonBlocking = 1;
        ioctlsocket(filler, FIONBIO, &nonBlocking);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers.push_back(filler);
    }
    Sleep(200);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/x";
    char buffer[16];
    DWORD start = GetTickCount();
    EXPECT_EQ(client.HTTPGet(url.c_str(), buffer, sizeof buffer), kHttpNetFail);
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_EQ(client.GetLastErrorCode(), WSAETIMEDOUT);
    for (SOCKET filler : fillers)
        closesocket(filler);
    closesocket(listener);
}
