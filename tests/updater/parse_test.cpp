// Parsing of what the server sends: URLs, response heads, manifest lines.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "HttpResponseHead.h"
#include "HttpUrl.h"
#include "ManifestLine.h"
#include "TextSearch.h"

TEST(HttpUrl, ParsesHostPortAndPath)
{
    struct Case { const char* text; bool ok; const char* host; int port; const char* path; bool numeric; };
    const Case cases[] = {
        {"http://10.0.0.5:8080/a/b.txt", true, "10.0.0.5", 8080, "a/b.txt", true},
        {"HTTP://10.0.0.5/x", true, "10.0.0.5", 80, "x", true},
        {"host/x", true, "host", 80, "x", false},
        {"update.example:81", true, "update.example", 81, "", false},
        {"http://h/", true, "h", 80, "", false},
        {"https://h/x", false, "", 0, "", false},
        {"ftp://h/x", false, "", 0, "", false},
        {"http://:80/x", false, "", 0, "", false},
        {"http://h:0/x", false, "", 0, "", false},
        {"http://h:65536/x", false, "", 0, "", false},
        {"http://h:8x/x", false, "", 0, "", false},
        {"http://a b/x", false, "", 0, "", false},
        {"", false, "", 0, "", false},
    };
    for (const Case& c : cases) {
        HttpUrl url;
        ASSERT_EQ(ParseHttpUrl(c.text, url), c.ok) << c.text;
        if (!c.ok)
            continue;
        EXPECT_EQ(url.host, c.host) << c.text;
        EXPECT_EQ(url.port, c.port) << c.text;
        EXPECT_EQ(url.path, c.path) << c.text;
        EXPECT_EQ(url.numeric, c.numeric) << c.text;
    }
    HttpUrl longHost;
    EXPECT_FALSE(ParseHttpUrl("http://" + std::string(256, 'h') + "/x", longHost));
}

TEST(HttpUrl, ResolvesRedirectTargets)
{
    HttpUrl current;
    ASSERT_TRUE(ParseHttpUrl("http://127.0.0.1:8080/rel/dir/file.txt", current));
    struct Case { const char* location; bool ok; const char* url; };
    const Case cases[] = {
        {"http://10.1.2.3:9000/x/y", true, "http://10.1.2.3:9000/x/y"},
        {"/other/z", true, "http://127.0.0.1:8080/other/z"},
        {"sibling.txt", true, "http://127.0.0.1:8080/rel/dir/sibling.txt"},
        {"//host2/p", true, "http://host2:80/p"},
        {"/next?from=http://h/x", true, "http://127.0.0.1:8080/next?from=http://h/x"},
        {"again.txt?via=ftp://h", true, "http://127.0.0.1:8080/rel/dir/again.txt?via=ftp://h"},
        {"https://secure/x", false, ""},
        {"mailto://x", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        HttpUrl next;
        ASSERT_EQ(ResolveRedirect(current, c.location, next), c.ok) << c.location;
        if (c.ok) {
            EXPECT_EQ(next.ToString(), c.url) << c.location;
        }
    }
}

TEST(HttpUrl, EncodesManifestPaths)
{
    EXPECT_EQ(EncodeUrlPath("bin/a b.dll"), "bin/a%20b.dll");
    EXPECT_EQ(EncodeUrlPath("x#1?y%"), "x%231%3Fy%25");
    EXPECT_EQ(EncodeUrlPath("\xd6\xd0.txt"), "%D6%D0.txt");
    EXPECT_EQ(EncodeUrlPath("Data-1_~.pak"), "Data-1_~.pak");
}

TEST(HttpResponseHead, FindsStatusLengthAndLocation)
{
    const char head[] = "HTTP/1.1 302 Found\r\nContent-Location: /wrong\r\nX-Location: /wrong2\r\n"
                        "location :  http://h/right  \r\nCONTENT-LENGTH: 12\r\n\r\nbody";
    int length = int(strlen(head));
    EXPECT_EQ(FindHeadEnd(head, length), length - 4);
    EXPECT_EQ(ParseStatusCode(head, length), 302);
    std::string value;
    ASSERT_TRUE(FindHeaderValue(head, length, "Location", value));
    EXPECT_EQ(value, "http://h/right");
    EXPECT_EQ(GetContentLength(head, length, 1000), 12);
    EXPECT_FALSE(FindHeaderValue(head, length, "Server", value));
}

TEST(HttpResponseHead, RefusesMalformedHeads)
{
    struct Case { const char* head; int status; long long length; };
    const Case cases[] = {
        {"HTTP", 0, -3},
        {"HTTP/1.1\r\n\r\n", 0, -3},
        {"HTTP/1.1 200 OK\r\n\r\n", 200, -3},
        {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 200, 0},
        {"HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\n", 200, -3},
        {"HTTP/1.1 200 OK\r\nContent-Length: 12x\r\n\r\n", 200, -3},
        {"HTTP/1.1 200 OK\r\nContent-Length:\r\n\r\n", 200, -3},
        {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n", 200, -3},
        {"HTTP/1.1 200 OK\r\nContent-Length: 9999999999999999999\r\n\r\n", 200, -3},
        {"HTTP/1.1 200 OK\r\nContent-Length: 9223372036854775808\r\n\r\n", 200, -3},
        {"HTTP/1.1 200 OK\r\nContent-Length: 2147483648\r\n\r\n", 200, -3},
        {"HTTP/1.1 200 OK\r\nX-Content-Length: 5\r\n\r\n", 200, -3},
        {"HTTP/1.1 200 OK\r\ncontent-length: 7\r\n\r\n", 200, 7},
        // A status only from a well-formed "HTTP/1.x NNN" line.
        {"HTTP/1.1 99999 Odd\r\n\r\n", 0, -3},
        {"HTTP/1.1 0200 OK\r\nContent-Length: 7\r\n\r\n", 0, 7},
        {"JUNK/9 200junk\r\n\r\n", 0, -3},
        {"HTTP/1.1 200junk\r\n\r\n", 0, -3},
        {"HTTP/1.1  200 OK\r\n\r\n", 0, -3},
        {"HTTP/1.x 200 OK\r\n\r\n", 0, -3},
        {"HTTP/2 200 OK\r\n\r\n", 0, -3},
        {"http/1.1 200 OK\r\n\r\n", 0, -3},
        {" HTTP/1.1 200 OK\r\n\r\n", 0, -3},
        {"HTTP/1.1 20 OK\r\n\r\n", 0, -3},
        {"HTTP/1.0 404 Not Found\r\n\r\n", 404, -3},
        {"HTTP/1.1 200\r\nContent-Length: 3\r\n\r\n", 200, 3},
        {"HTTP/1.1 204", 204, -3},
    };
    for (const Case& c : cases) {
        int n = int(strlen(c.head));
        EXPECT_EQ(ParseStatusCode(c.head, n), c.status) << c.head;
        EXPECT_EQ(GetContentLength(c.head, n, 2147483647LL), c.length) << c.head;
    }
    EXPECT_EQ(FindHeadEnd("HTTP/1.1 200 OK\r\n\r", 18), -1);
}

TEST(HttpResponseHead, OkOnlyForAStatusLineOf200)
{
    struct Case { const char* text; bool ok; };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n", true},
        {"HTTP/1.0 200", true},
        // A 200 anywhere but in the status is no success.
        {"HTTP/1.1 404 Not Found\r\nContent-Length: 200\r\n\r\n", false},
        {"HTTP/1.1 302 Found\r\nLocation: /200\r\n\r\n", false},
        {"HTTP/1.1 2000 OK\r\n\r\n", false},
        {"200 OK", false},
        {"", false},
        {nullptr, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsHttpOk(c.text), c.ok) << (c.text ? c.text : "(null)");
}

TEST(TextSearch, FindsTheFirstOccurrence)
{
    struct Case { const char* text; const char* pattern; int index; int indexNoCase; };
    const Case cases[] = {
        {"Content-Length: 5", "Length", 8, 8},
        {"Content-Length: 5", "length", -1, 8},
        {"content-length: 5", "Content-Length", -1, 0},
        {"aXbXb", "Xb", 1, 1},
        {"abc", "abcd", -1, -1},
        {"abc", "", 0, 0},
        {"", "", 0, 0},
        {"", "a", -1, -1},
        {nullptr, "a", -1, -1},
        {"a", nullptr, -1, -1},
        // Letters beyond ASCII fold as the locale has them (code page 1252 here).
        {"Caf\xc9 Orvo", "caf\xe9", -1, 0},
    };
    for (const Case& c : cases) {
        const char* text = c.text ? c.text : "(null)";
        const char* pattern = c.pattern ? c.pattern : "(null)";
        EXPECT_EQ(StrFindIndex(c.text, c.pattern), c.index) << text << " / " << pattern;
        const char* found = StrStrNoCase(c.text, c.pattern);
        EXPECT_EQ(found ? int(found - c.text) : -1, c.indexNoCase) << text << " / " << pattern;
    }
}

TEST(ManifestLine, ClassifiesLines)
{
    const std::string digest(32, 'a');
    struct Case { std::string line; ManifestKind kind; const char* path; };
    const Case cases[] = {
        {"bin|0\r\n", ManifestKind::Folder, "bin"},
        {"old.dll|-\r\n", ManifestKind::Delete, "old.dll"},
        {"bin/a.dll|" + digest + "\r\n", ManifestKind::File, "bin/a.dll"},
        {"bin/a.dll|" + digest + "\n", ManifestKind::File, "bin/a.dll"},
        {"bin/a.dll|" + digest, ManifestKind::File, "bin/a.dll"},
        {"bin|0\n", ManifestKind::BadDigest, "bin"},
        {"old|-\n", ManifestKind::BadDigest, "old"},
        {"a|" + digest + "0\r\n", ManifestKind::BadDigest, "a"},
        {"a|\r\n", ManifestKind::BadDigest, "a"},
        {"a|", ManifestKind::BadDigest, "a"},
        {"\r\n", ManifestKind::NoBar, ""},
        {"no bar here\r\n", ManifestKind::NoBar, "no bar here"},
        {"", ManifestKind::NoBar, ""},
    };
    for (const Case& c : cases) {
        ManifestLine parsed = ParseManifestLine(c.line.c_str());
        EXPECT_EQ(int(parsed.kind), int(c.kind)) << c.line;
        EXPECT_EQ(parsed.path, c.path) << c.line;
    }
    EXPECT_EQ(ParseManifestLine(("x|" + digest + "\r\n").c_str()).digest, digest);
}

TEST(ManifestLine, RefusesPathsLeavingTheFolder)
{
    struct Case { std::string path; bool safe; };
    const Case cases[] = {
        {"a.txt", true},
        {"bin/sub/a.dll", true},
        {"bin\\a.dll", true},
        {"..a/b..c", true},
        {"", false},
        {"..", false},
        {"../x", false},
        {"..\\x", false},
        {"a/../../x", false},
        {"a\\..\\..\\x", false},
        {"a/..", false},
        {"a/.../x", false},
        {"a/.. /x", false},
        {"/etc/x", false},
        {"\\x", false},
        {"C:/Windows/x", false},
        {"c:x", false},
        {"a:b", false},
        {std::string(255, 'p'), true},
        {std::string(256, 'p'), false},
        // Device names open a device wherever they stand.
        {"COM1", false},
        {"bin/nul", false},
        {"Aux.txt", false},
        {"lpt9 .log/x", false},
        {"con/x", false},
        {"PRN", false},
        {"CONIN$", false},
        {"com10", true},
        {"console.txt", true},
        {"bin/nullable.dll", true},
        {"lpt/x", true},
        // The install folder itself, however written.
        {".", false},
        {"./a", false},
        {"a/.", false},
        {"a/./b", false},
        {". /x", false},
        {".hidden/a", true},
        // The launcher's own files: backups and downloads anywhere, the
        // manifest and the clean-up batch beside the launcher.
        {"a.txt.orvobak", false},
        {"bin/A.DLL.OrvoBak", false},
        {"a_20260101000000.orvobak", false},
        {".orvobak", false},
        {"a.orvobak. ", false},
        {"bin\\a.orvobak/", false},
        {"a.orvobak.txt", true},
        {"x.orvobak/a.txt", true},
        {"updater.txt", false},
        {"Updater.TXT.", false},
        {"del.bat", false},
        {"DEL.BAT ", false},
        {"del.bat/", false},
        {"bin/updater.txt", true},
        {"bin\\del.bat", true},
        {"del.bat.txt", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSafeManifestPath(c.path), c.safe) << c.path;
    // The superscript device forms, in the system code page the file
    // functions will read them in (where it has them).
    struct WideCase { const wchar_t* path; bool safe; };
    const WideCase superscripts[] = {
        {L"COM\u00b9", false}, {L"bin/lpt\u00b3.dll", false}, {L"Com\u00b2 .log/x", false},
        {L"COM\u00b9\u00b9", true}, {L"LPT\u00b9x", true},
    };
    for (const WideCase& c : superscripts) {
        char narrow[64];
        BOOL lossy = FALSE;
        int n = WideCharToMultiByte(CP_ACP, 0, c.path, -1, narrow, sizeof narrow, nullptr, &lossy);
        if (n <= 0 || lossy)
            continue;
        EXPECT_EQ(IsSafeManifestPath(narrow), c.safe) << narrow;
    }
}
