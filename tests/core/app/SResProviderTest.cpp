#include "core/SResProviderFiles.h"
#include "core/SResProviderMgr.h"
#include "core/SResProviderPE.h"
#include "TempFolder.h"
#include "AdoptRef.h"
#include "../LeakCheck.h"
#include <gtest/gtest.h>
#include <vector>

using namespace WUI;

class ParseResIdLeaks : public LeakChecked {};
class SResProviderPELeaks : public LeakChecked {};
class SResProviderFilesLeaks : public LeakChecked {};
class SResProviderMgrLeaks : public LeakChecked {};

namespace {

SAutoRefPtr<IResProvider> PeProvider()
{
    IResProvider *p = nullptr;
    EXPECT_TRUE(CreateResProvider(0, &p));
    p->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    return AdoptRef<IResProvider>(p);
}

SAutoRefPtr<IResProvider> FolderProvider(const TempFolder &folder, BOOL *ok = nullptr)
{
    IResProvider *p = nullptr;
    EXPECT_TRUE(CreateResProvider(1, &p));
    BOOL r = p->Init(reinterpret_cast<WPARAM>(folder.Path().c_str()));
    if (ok)
        *ok = r;
    return AdoptRef<IResProvider>(p);
}

std::string Read(SResProviderMgr &mgr, const wchar_t *type, const wchar_t *name)
{
    size_t n = mgr.GetRawBufferSize(type, name);
    std::string s(n, '\0');
    if (!n || !mgr.GetRawBuffer(type, name, &s[0], n))
        return "<none>";
    return s;
}

} // namespace

TEST_F(ParseResIdLeaks, Parts)
{
    struct Case {
        const wchar_t *id;
        int count;
        const wchar_t *type, *name;
    } cases[] = {
        {L"LAYOUT:XML_MAINWND", 2, L"LAYOUT", L"XML_MAINWND"},
        {L"a:b:c", 2, L"a", L"b:c"},
        {L"LAYOUT", 1, L"LAYOUT", L""},
        {L":name", 2, L"", L"name"},
        {L"", 1, L"", L""},
    };
    for (const Case &c : cases) {
        SStringW parts[2];
        EXPECT_EQ(ParseResId(c.id, parts), c.count) << c.id;
        EXPECT_EQ(parts[0], c.type);
        EXPECT_EQ(parts[1], c.name);
    }
    SStringW parts[2];
    EXPECT_EQ(ParseResId(nullptr, parts), 0);
    IResProvider *p = reinterpret_cast<IResProvider *>(1);
    EXPECT_FALSE(CreateResProvider(2, &p));
    EXPECT_EQ(p, nullptr);
}

TEST_F(SResProviderPELeaks, CaseInsensitiveIdsAndTooSmallBuffer)
{
    SAutoRefPtr<IResProvider> pe = PeProvider();
    EXPECT_TRUE(pe->HasResource(L"LAYOUT", L"XML_MAINWND"));
    EXPECT_TRUE(pe->HasResource(L"layout", L"xml_mainwnd"));
    EXPECT_FALSE(pe->HasResource(L"LAYOUT", L"NOPE"));
    EXPECT_EQ(pe->GetRawBufferSize(L"LAYOUT", L"NOPE"), 0u);
    size_t n = pe->GetRawBufferSize(L"Layout", L"Xml_MainWnd");
    ASSERT_GT(n, 10u);
    std::vector<char> buf(n);
    SetLastError(0);
    EXPECT_FALSE(pe->GetRawBuffer(L"LAYOUT", L"XML_MAINWND", buf.data(), n - 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_TRUE(pe->GetRawBuffer(L"LAYOUT", L"XML_MAINWND", buf.data(), n));
    EXPECT_EQ(std::string(buf.data(), 5), "<WUI>");
}

namespace {

POINT HotSpot(HCURSOR cursor)
{
    ICONINFO ii = {};
    if (!GetIconInfo(cursor, &ii))
        return POINT{-1, -1};
    DeleteObject(ii.hbmMask);
    DeleteObject(ii.hbmColor);
    return POINT{static_cast<LONG>(ii.xHotspot), static_cast<LONG>(ii.yHotspot)};
}

// The system's frame lookup of animated cursors, which the headers do not declare.
typedef HCURSOR(WINAPI *FnCursorFrame)(HCURSOR, DWORD, DWORD, DWORD *, DWORD *);

} // namespace

TEST_F(SResProviderPELeaks, CursorsAndAnimatedCursors)
{
    SAutoRefPtr<IResProvider> pe = PeProvider();
    // A cursor group loads as such; a name found only as an animated cursor is one.
    EXPECT_TRUE(pe->HasResource(L"CURSOR", L"GRAB"));
    EXPECT_TRUE(pe->HasResource(L"cursor", L"spin"));
    EXPECT_FALSE(pe->HasResource(L"CURSOR", L"NOPE"));
    EXPECT_EQ(pe->GetRawBufferSize(L"CURSOR", L"SPIN"), 736u); // the RIFF file as written
    EXPECT_EQ(pe->LoadCursor(L"NOPE"), nullptr);

    HCURSOR grab = pe->LoadCursor(L"GRAB");
    ASSERT_NE(grab, nullptr);
    EXPECT_EQ(HotSpot(grab).x, 3);
    EXPECT_EQ(HotSpot(grab).y, 4);

    HCURSOR spin = pe->LoadCursor(L"SPIN");
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(HotSpot(spin).x, 9);
    EXPECT_EQ(HotSpot(spin).y, 10);
    FnCursorFrame frameOf = reinterpret_cast<FnCursorFrame>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetCursorFrameInfo")));
    ASSERT_NE(frameOf, nullptr);
    DWORD rate = 0, steps = 0;
    HCURSOR second = frameOf(spin, 0, 1, &rate, &steps);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(steps, 2u);
    EXPECT_EQ(rate, 10u);
    EXPECT_EQ(HotSpot(second).x, 20);
    EXPECT_EQ(HotSpot(second).y, 21);
    DestroyCursor(spin); // made from the bytes, so the caller's (the grab cursor is the module's)
}

TEST_F(SResProviderFilesLeaks, IndexKeysAndMalformedIndexes)
{
    TempFolder dir(L"res_index");
    std::wstring longName(100, L'x');
    std::string longNameA(100, 'x');
    dir.Write(L"uires.idx", "<resource><LAYOUT><file name='main' path='main.xml'/>"
                            "<file name='" + longNameA.substr(0, 99) + "' path='main.xml'/>"
                            "<file name='" + longNameA + "' path='main.xml'/></LAYOUT>"
                            "<Png><FILE name='dup' path='one.bin'/><file name='dup' path='two.bin'/></Png>"
                            "</resource>");
    dir.Write(L"main.xml", "<WUI/>");
    dir.Write(L"two.bin", "22");
    BOOL ok = FALSE;
    SAutoRefPtr<IResProvider> files = FolderProvider(dir, &ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(files->HasResource(L"LAYOUT", L"main"));
    EXPECT_TRUE(files->HasResource(L"layout", L"MAIN"));
    EXPECT_TRUE(files->HasResource(L"LAYOUT", longName.substr(0, 99).c_str()));
    // Over-long names are refused: cut down they would name the 99-character entry.
    EXPECT_FALSE(files->HasResource(L"LAYOUT", longName.c_str()));
    EXPECT_EQ(files->GetRawBufferSize(L"LAYOUT", longName.c_str()), 0u);
    std::wstring longType(30, L'L');
    EXPECT_FALSE(files->HasResource(longType.c_str(), L"main"));
    EXPECT_EQ(files->GetRawBufferSize(L"png", L"dup"), 2u); // the later entry wins
    EXPECT_EQ(files->GetRawBufferSize(L"LAYOUT", L"main"), 6u);
    EXPECT_EQ(files->GetRawBufferSize(L"LAYOUT", L"absent"), 0u);

    struct Case {
        const char *index;
        bool loads;
    } cases[] = {
        {"", false},
        {"<resource><LAYOUT>", false},
        {"<other/>", false},
        {"\xEF\xBB\xBF<RESOURCE/>", true},
        {"<resource><LAYOUT><file path='a'/></LAYOUT></resource>", true},
    };
    for (const Case &c : cases) {
        TempFolder bad(L"res_bad");
        bad.Write(L"uires.idx", c.index);
        BOOL loaded = FALSE;
        FolderProvider(bad, &loaded);
        EXPECT_EQ(loaded != FALSE, c.loads) << c.index;
    }
    TempFolder empty(L"res_none");
    BOOL loaded = TRUE;
    FolderProvider(empty, &loaded);
    EXPECT_FALSE(loaded);
}

TEST_F(SResProviderMgrLeaks, NewestProviderAnswersAndRemovalRestores)
{
    TempFolder a(L"res_a"), b(L"res_b");
    a.Write(L"uires.idx", "<resource><LAYOUT><file name='XML_MAINWND' path='m.xml'/></LAYOUT></resource>");
    a.Write(L"m.xml", "from a");
    b.Write(L"uires.idx", "<resource><LAYOUT><file name='xml_mainwnd' path='m.xml'/></LAYOUT></resource>");
    b.Write(L"m.xml", "from b");
    SResProviderMgr mgr;
    SAutoRefPtr<IResProvider> pe = PeProvider(), pa = FolderProvider(a), pb = FolderProvider(b);
    EXPECT_EQ(mgr.FindProvider(L"LAYOUT", L"XML_MAINWND"), nullptr);
    mgr.AddResProvider(pe.get());
    mgr.AddResProvider(pa.get());
    mgr.AddResProvider(pb.get());
    EXPECT_EQ(Read(mgr, L"LAYOUT", L"XML_MAINWND"), "from b");
    mgr.RemoveResProvider(pb.get());
    EXPECT_EQ(Read(mgr, L"LAYOUT", L"XML_MAINWND"), "from a");
    mgr.RemoveResProvider(pa.get());
    EXPECT_EQ(Read(mgr, L"LAYOUT", L"XML_MAINWND").substr(0, 5), "<WUI>");
    EXPECT_EQ(mgr.FindProvider(nullptr, L"XML_MAINWND"), nullptr);
    mgr.RemoveResProvider(pa.get()); // absent: nothing
    EXPECT_TRUE(mgr.HasResource(L"LAYOUT", L"XML_MAINWND"));
    // The manager held its own references and gave them back.
    mgr.RemoveAll();
    EXPECT_EQ(pe->AddRef(), 2);
    pe->Release();
}

TEST_F(SResProviderMgrLeaks, FilePseudoType)
{
    TempFolder dir(L"res_file");
    dir.Write(L"data.bin", "0123456789");
    SResProviderMgr mgr; // no provider at all
    const std::wstring path = dir.File(L"data.bin");
    EXPECT_TRUE(mgr.HasResource(L"file", path.c_str()));
    EXPECT_TRUE(mgr.HasResource(L"FILE", path.c_str()));
    EXPECT_EQ(mgr.GetRawBufferSize(L"file", path.c_str()), 10u);
    // A pattern names no file, even though one would match it.
    EXPECT_EQ(mgr.GetRawBufferSize(L"file", dir.File(L"d*.bin").c_str()), 0u);
    EXPECT_EQ(mgr.GetRawBufferSize(L"file", dir.Path().c_str()), 0u); // a folder
    EXPECT_FALSE(mgr.HasResource(L"file", dir.File(L"missing").c_str()));
    char buf[10];
    SetLastError(0);
    EXPECT_FALSE(mgr.GetRawBuffer(L"file", path.c_str(), buf, 9));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_TRUE(mgr.GetRawBuffer(L"file", path.c_str(), buf, 10));
    EXPECT_EQ(std::string(buf, 10), "0123456789");
    EXPECT_FALSE(mgr.GetRawBuffer(L"file", dir.File(L"missing").c_str(), buf, 10));
}

TEST_F(SResProviderMgrLeaks, SystemAndCachedCursors)
{
    TempFolder dir(L"res_cursor");
    dir.Write(L"uires.idx", "<resource><CURSOR><file name='grab' path='grab.cur'/></CURSOR></resource>");
    dir.Write(L"grab.cur", MakeCursorFile());
    SResProviderMgr mgr;
    SAutoRefPtr<IResProvider> files = FolderProvider(dir);
    mgr.AddResProvider(files.get());

    EXPECT_EQ(mgr.LoadCursor(L"HAND"), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(mgr.LoadCursor(L"ibeam"), LoadCursorW(nullptr, IDC_IBEAM));
    EXPECT_EQ(mgr.LoadCursor(MAKEINTRESOURCEW(32512)), LoadCursorW(nullptr, IDC_ARROW));
    HCURSOR grab = mgr.LoadCursor(L"grab");
    ASSERT_NE(grab, nullptr);
    EXPECT_NE(grab, LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(mgr.LoadCursor(L"grab"), grab);
    EXPECT_EQ(mgr.LoadCursor(L"nothing"), nullptr);
    HCURSOR fromFile = mgr.LoadCursor(dir.File(L"grab.cur").c_str(), TRUE);
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(mgr.LoadCursor(dir.File(L"grab.cur").c_str(), TRUE), fromFile);
    mgr.RemoveAll();
    // System cursors were never cached, so removal left them alone.
    EXPECT_EQ(mgr.LoadCursor(L"hand"), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(SResProviderMgrLeaks, UiDefinitionRedirectionFallsBackToTheElement)
{
    TempFolder dir(L"res_uidef");
    dir.Write(L"uires.idx", "<resource><uidef><file name='init' path='uidef.xml'/></uidef>"
                            "<values><file name='colors' path='colors.xml'/></values></resource>");
    // "string" names a missing resource and keeps its own children; "color" is redirected.
    dir.Write(L"uidef.xml", "<uidef><string src='values:nothing'><title value='inline'/></string>"
                            "<color src='values:colors'><red value='#ff0000'/></color></uidef>");
    dir.Write(L"colors.xml", "<Color><green value='#00ff00'/></Color>");
    SResProviderMgr mgr;
    SAutoRefPtr<IResProvider> files = FolderProvider(dir);
    mgr.AddResProvider(files.get(), L"uidef:init");
    EXPECT_EQ(mgr.GetString(L"@string/title"), L"inline");
    EXPECT_EQ(mgr.GetColor(L"@color/green"), 0xFF00FF00u);
    EXPECT_EQ(mgr.GetColor(L"@color/red"), 0x00FFFFFFu);

    // A UI definition id of one part, or one that does not parse, loads nothing.
    SResProviderMgr other;
    other.AddResProvider(files.get(), L"uidef");
    EXPECT_EQ(other.GetString(L"@string/title"), L"");
}

TEST_F(SResProviderMgrLeaks, IconsAndBitmapsFromProvidersAndFiles)
{
    SResProviderMgr mgr;
    EXPECT_EQ(mgr.LoadIconById(L"SQUARE"), nullptr); // no provider yet
    SAutoRefPtr<IResProvider> pe = PeProvider();
    mgr.AddResProvider(pe.get());
    struct Case {
        const wchar_t *id;
        int size; // 0: none loads
    } cases[] = {
        {L"SQUARE", GetSystemMetrics(SM_CXICON)},
        {L"square:16", 16},
        {L"SQUARE:48", 48},
        {L"MISSING:16", 0},
        // Icons are at most 256 pixels wide: a size from a layout past that
        // (or below 0) is refused, not scaled to.
        {L"SQUARE:256", 256},
        {L"SQUARE:4000", 0},
        {L"SQUARE:-16", 0},
        {L"SQUARE:99999999999", 0},
    };
    for (const Case &c : cases) {
        HICON icon = mgr.LoadIconById(c.id);
        EXPECT_EQ(icon != nullptr, c.size != 0) << c.id;
        if (!icon)
            continue;
        ICONINFO ii = {};
        ASSERT_TRUE(GetIconInfo(icon, &ii));
        BITMAP bm = {};
        GetObjectW(ii.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, c.size) << c.id;
        DeleteObject(ii.hbmMask);
        if (ii.hbmColor)
            DeleteObject(ii.hbmColor);
        DestroyIcon(icon);
    }
    HBITMAP red = mgr.LoadBitmap(L"RED");
    ASSERT_NE(red, nullptr);
    BITMAP bm = {};
    GetObjectW(red, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 4);
    EXPECT_EQ(bm.bmHeight, 2);
    DeleteObject(red);
    EXPECT_EQ(mgr.LoadBitmap(L"BLUE"), nullptr);

    EXPECT_GT(mgr.GetRawBufferSize(L"icon", L"square"), 0u); // "ICON" is the icon group

    // The same bitmap through a folder and by path: a resource bitmap lacks the file header.
    TempFolder dir(L"res_images");
    HRSRC bmpRes = FindResourceW(nullptr, L"RED", RT_BITMAP);
    ASSERT_NE(bmpRes, nullptr);
    std::string bmpFile("BM");
    DWORD bmpSize = SizeofResource(nullptr, bmpRes);
    DWORD total = 14 + bmpSize, zero = 0, offset = 54;
    bmpFile.append(reinterpret_cast<char *>(&total), 4).append(reinterpret_cast<char *>(&zero), 4);
    bmpFile.append(reinterpret_cast<char *>(&offset), 4);
    bmpFile.append(static_cast<const char *>(LockResource(LoadResource(nullptr, bmpRes))), bmpSize);
    dir.Write(L"red.bmp", bmpFile);
    dir.Write(L"uires.idx", "<resource><BITMAP><file name='red' path='red.bmp'/></BITMAP></resource>");
    SAutoRefPtr<IResProvider> files = FolderProvider(dir);
    mgr.AddResProvider(files.get());
    HBITMAP fromFolder = mgr.LoadBitmap(L"red");
    ASSERT_NE(fromFolder, nullptr);
    DeleteObject(fromFolder);
    HBITMAP byPath = mgr.LoadBitmap(dir.File(L"red.bmp").c_str(), TRUE);
    ASSERT_NE(byPath, nullptr);
    DeleteObject(byPath);
}

TEST_F(SResProviderMgrLeaks, MalformedUiDefinitionsLoadNothingOrFallBack)
{
    struct Case {
        const char *uidef;
        const wchar_t *title; // what "@string/title" gives afterwards
    } cases[] = {
        {"", L""},
        {"<uidef><string><title value='x'/>", L""},            // does not parse
        {"<other><string><title value='x'/></string></other>", L""}, // no uidef root
        {"<uidef/>", L""},
        {"<uidef><string src='values:broken'><title value='own'/></string></uidef>", L"own"},
        {"<uidef><string src='values'><title value='own'/></string></uidef>", L"own"},
        {"<uidef><string src='values:other'><title value='own'/></string></uidef>", L""}, // no string there
        {"<uidef><string><title/></string></uidef>", L""},
    };
    for (const Case &c : cases) {
        TempFolder dir(L"res_baduidef");
        dir.Write(L"uires.idx", "<resource><uidef><file name='init' path='u.xml'/></uidef><values>"
                                "<file name='broken' path='b.xml'/><file name='other' path='o.xml'/>"
                                "</values></resource>");
        dir.Write(L"u.xml", c.uidef);
        dir.Write(L"b.xml", "<string><title value='lost'");
        dir.Write(L"o.xml", "<color/>");
        SResProviderMgr mgr;
        SAutoRefPtr<IResProvider> files = FolderProvider(dir);
        mgr.AddResProvider(files.get(), L"uidef:init");
        EXPECT_EQ(mgr.GetString(L"@string/title"), c.title) << c.uidef;
    }
}
