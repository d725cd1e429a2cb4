#include "LeakCheck.h"

#include "core/SplitString.h"
#include "core/StringConv.h"
#include "core/TStringT.h"

#include <string>
#include <thread>

using namespace WUI;

using StringTest = LeakChecked;

TEST_F(StringTest, EmptyTextsShareTheEmptyBufferAndAllocateNothing)
{
    long before = MemLiveBlocks();
    {
        SStringW a, b((const wchar_t*)nullptr), c(L""), d(L"abc", 0), e(nullptr, -1);
        SStringA f, g((const char*)nullptr), h("", 0);
        SStringW copy(a);
        SStringW assigned;
        assigned = b;
        for (const SStringW* s : {&a, &b, &c, &d, &e, &copy, &assigned}) {
            EXPECT_EQ(s->GetRefCount(), -1);
            EXPECT_EQ(s->c_str(), a.c_str());
            EXPECT_EQ(s->GetLength(), 0);
        }
        EXPECT_EQ(f.GetRefCount(), -1);
        EXPECT_EQ(g.c_str()[0], 0);
        EXPECT_EQ(MemLiveBlocks(), before);
    }
    EXPECT_EQ(SStringW().GetRefCount(), -1);
    EXPECT_EQ(MemLiveBlocks(), before);
}

TEST_F(StringTest, EmptyBufferIsNeverWritten)
{
    // The buffer is read-only: any write would fault here.
    SStringW s;
    EXPECT_TRUE(s.AllocBeforeWrite(0));
    s.Empty();
    s.MakeLower();
    s.TrimRight();
    s.TrimBlank();
    EXPECT_EQ(s.Replace(L"a", L"b"), 0);
    EXPECT_NE(s.CopyBeforeWrite(), nullptr);
    EXPECT_TRUE(s.ReallocBuffer(0));
    EXPECT_NE(s.LockBuffer(), nullptr);
    s.UnlockBuffer();
    s.ReleaseBuffer(5);
    s = L"";
    s += L"";
    EXPECT_EQ(s.GetRefCount(), -1);
    EXPECT_EQ(s.GetLength(), 0);
}

TEST_F(StringTest, CountedConstructionCopiesEmbeddedNuls)
{
    SStringW s(L"a\0b", 3);
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(s.GetAt(2), L'b');
    SStringA n("xyz", -1);
    EXPECT_EQ(n.GetLength(), 3);
    EXPECT_EQ(n.GetCapacity(), 3);
}

TEST_F(StringTest, CopiesShareUntilOneIsChanged)
{
    SStringW a(L"aXa");
    SStringW b(a);
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(a.GetRefCount(), 2);
    EXPECT_EQ(b.Replace(L"a", L"bb"), 2);
    EXPECT_STREQ(b, L"bbXbb");
    EXPECT_STREQ(a, L"aXa");
    EXPECT_EQ(a.GetRefCount(), 1);
    EXPECT_EQ(b.GetRefCount(), 1);

    SStringW shrunk(a);
    EXPECT_EQ(shrunk.Replace(L"X", L""), 1);
    EXPECT_STREQ(shrunk, L"aa");
    EXPECT_STREQ(a, L"aXa");

    SStringW c;
    c = a;
    EXPECT_EQ(c.c_str(), a.c_str());
    c += L"!";
    EXPECT_STREQ(a, L"aXa");
    EXPECT_STREQ(c, L"aXa!");
}

TEST_F(StringTest, LockedBuffersAreCopiedNotShared)
{
    SStringW a(L"locked");
    wchar_t* p = a.LockBuffer();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(a.IsLocked());
    SStringW b(a);
    EXPECT_NE(b.c_str(), a.c_str());
    EXPECT_STREQ(b, L"locked");
    SStringW c(L"other");
    a = c; // copied into the locked block
    EXPECT_EQ(a.c_str(), p);
    EXPECT_STREQ(a, L"other");
    a.Empty();
    EXPECT_EQ(a.c_str(), p);
    EXPECT_EQ(a.GetLength(), 0);
    a.UnlockBuffer();
}

TEST_F(StringTest, DirectWritingThroughGetBuffer)
{
    SStringW a(L"abc");
    SStringW b(a);
    wchar_t* p = b.GetBuffer(10);
    ASSERT_NE(p, nullptr);
    EXPECT_NE(p, a.c_str()); // separated from the shared buffer, text kept
    EXPECT_STREQ(p, L"abc");
    wcscpy(p + 3, L"defghij");
    b.ReleaseBuffer();
    EXPECT_STREQ(b, L"abcdefghij");
    EXPECT_EQ(b.GetLength(), 10);
    b.ReleaseBuffer(2);
    EXPECT_STREQ(b, L"ab");
    b.ReleaseBuffer(99); // clipped to the capacity
    EXPECT_EQ(b.GetLength(), 10);
    EXPECT_STREQ(a, L"abc");
    EXPECT_EQ(SStringW().GetBuffer(-1), nullptr);
}

TEST_F(StringTest, AssigningEmptyKeepsAPrivateBuffer)
{
    SStringW s(L"private");
    const wchar_t* block = s.c_str();
    s = SStringW();
    EXPECT_EQ(s.c_str(), block);
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_EQ(s.GetRefCount(), 1);
    s = L"";
    EXPECT_EQ(s.c_str(), block);
}

TEST_F(StringTest, AssignFromOwnCharacters)
{
    SStringW s(L"hello world");
    s = s.c_str() + 6;
    EXPECT_STREQ(s, L"world");
    s.Append(s.c_str());
    EXPECT_STREQ(s, L"worldworld");
}

TEST_F(StringTest, SubstringTable)
{
    const SStringW s(L"abcdef");
    struct Case {
        SStringW got;
        const wchar_t* want;
    } cases[] = {
        {s.Mid(-3, 2), L"ab"},   {s.Mid(10, 2), L""},     {s.Mid(2, 100), L"cdef"}, {s.Mid(1, -1), L""},
        {s.Mid(3), L"def"},      {s.Mid(6, 1), L""},      {s.Right(10), L"abcdef"}, {s.Right(2), L"ef"},
        {s.Right(-1), L""},      {s.Left(-1), L""},       {s.Left(3), L"abc"},      {s.Left(99), L"abcdef"},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.got, c.want);
}

TEST_F(StringTest, FindTable)
{
    const SStringW s(L"abcabc");
    struct Case {
        int got, want;
    } cases[] = {
        {s.Find(L'b'), 1},       {s.Find(L'b', 2), 4}, {s.Find(L'z'), -1},    {s.Find(L'a', -5), 0},
        {s.Find(L'a', 6), -1},   {s.Find(L'a', 99), -1}, {s.Find(L"ca"), 2},  {s.Find(L"bc", 3), 4},
        {s.Find(L"", 0), -1},    {s.Find((const wchar_t*)nullptr), -1},      {s.Find(L"abc", -2), 0},
        {SStringW().Find(L'a'), -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST_F(StringTest, CompareAndEquality)
{
    SStringW a(L"abc"), b(L"abd");
    EXPECT_EQ(a.Compare(b), -1);
    EXPECT_EQ(b.Compare(a), 1);
    EXPECT_EQ(a.Compare(L"abc"), 0);
    // Unsigned 16-bit order: U+FF21 sorts after ASCII.
    EXPECT_EQ(SStringW(L"\xFF21").Compare(L"a"), 1);
    EXPECT_TRUE(a == L"abc");
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(SStringW() == L"");
    EXPECT_TRUE(SStringA("x") == "x");
}

TEST_F(StringTest, ConcatenationAndAppend)
{
    SStringW a(L"ab");
    SStringW c = a + L"cd";
    EXPECT_STREQ(c, L"abcd");
    EXPECT_STREQ(a + (const wchar_t*)nullptr, L"ab");
    EXPECT_STREQ(L"x" + a, L"xab");
    SStringW d;
    for (int i = 0; i < 5; ++i) d += static_cast<wchar_t>(L'0' + i);
    EXPECT_STREQ(d, L"01234");
    EXPECT_EQ(d.GetCapacity(), 5);
}

TEST_F(StringTest, ReplaceTable)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* from;
        const wchar_t* to;
        int count;
        const wchar_t* want;
    } cases[] = {
        {L"aXa", L"a", L"bb", 2, L"bbXbb"},
        {L"aaaa", L"aa", L"a", 2, L"aa"},
        {L"abc", L"b", nullptr, 1, L"ac"},
        {L"abc", L"b", L"", 1, L"ac"},
        {L"abc", L"z", L"y", 0, L"abc"},
        {L"abc", L"", L"y", 0, L"abc"},
        {L"abc", nullptr, L"y", 0, L"abc"},
        {L"aaa", L"a", L"aa", 3, L"aaaaaa"},
        {L"xx", L"xx", L"", 1, L""},
        {L"", L"a", L"b", 0, L""},
    };
    for (const Case& c : cases) {
        SStringW s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.text;
        EXPECT_STREQ(s, c.want) << c.text;
    }
}

TEST_F(StringTest, ReplaceWalksEveryNulSeparatedSegment)
{
    SStringW s(L"ab\0ab", 5);
    EXPECT_EQ(s.Replace(L"b", L"ccc"), 2);
    EXPECT_EQ(s.GetLength(), 9);
    EXPECT_EQ(std::wstring(s.c_str(), 9), std::wstring(L"accc\0accc", 9));
}

TEST_F(StringTest, ReplaceWithArgumentsInsideTheString)
{
    SStringW s(L"abcabc");
    EXPECT_EQ(s.Replace(s.c_str() + 3, s.c_str()), 2); // "abc" by "abcabc"
    EXPECT_STREQ(s, L"abcabcabcabc");
    SStringW t(L"a-b-c");
    EXPECT_EQ(t.Replace(t.c_str() + 1, L"+++"), 1); // "-b-c"
    EXPECT_STREQ(t, L"a+++");
}

TEST_F(StringTest, FailedGrowthLeavesTheStringIntact)
{
    SStringW s(L"abcd");
    const wchar_t* block = s.c_str();
    MemFailAfter(0);
    EXPECT_FALSE(s.ReallocBuffer(100));
    EXPECT_FALSE(s.AppendChars(3, L"xyz"));
    EXPECT_EQ(s.Replace(L"b", L"bbbbbb"), -1);
    EXPECT_FALSE(s.AllocBeforeWrite(50));
    MemFailAfter(-1);
    EXPECT_EQ(s.c_str(), block);
    EXPECT_STREQ(s, L"abcd");

    SStringW shared(s);
    MemFailAfter(0);
    EXPECT_EQ(shared.CopyBeforeWrite(), nullptr);
    EXPECT_EQ(shared.Replace(L"a", L"z"), -1);
    MemFailAfter(-1);
    EXPECT_STREQ(s, L"abcd");
    EXPECT_STREQ(shared, L"abcd");
}

TEST_F(StringTest, TrimTable)
{
    struct Case {
        const wchar_t* text;
        bool blank;
        const wchar_t* want;
    } cases[] = {
        {L"C:\\dir\\\\", false, L"C:\\dir"}, {L"C:\\dir\\file", false, L"C:\\dir\\file"},
        {L"\\\\", false, L""},               {L" \t a b \r\n", true, L"a b"},
        {L" \r\n\t", true, L""},             {L"ab", true, L"ab"},
        {L"", true, L""},
    };
    for (const Case& c : cases) {
        SStringW s(c.text);
        SStringW other(s);
        if (c.blank) s.TrimBlank();
        else s.TrimRight();
        EXPECT_STREQ(s, c.want) << c.text;
        EXPECT_STREQ(other, c.text);
    }
    SStringW blanks(L"   ");
    blanks.TrimBlank();
    EXPECT_EQ(blanks.GetRefCount(), -1);
}

TEST_F(StringTest, MakeLowerFoldsAscii)
{
    SStringW s(L"#AbC12");
    SStringW keep(s);
    s.MakeLower();
    EXPECT_STREQ(s, L"#abc12");
    EXPECT_STREQ(keep, L"#AbC12");
}

TEST_F(StringTest, FormatTable)
{
    SStringW s(L"before");
    EXPECT_STREQ(s.Format(L"%d-%s-%ls", 7, L"wide", L"x"), L"7-wide-x");
    EXPECT_STREQ(s, L"7-wide-x");
    EXPECT_EQ(s.FormatV(nullptr, nullptr), 0);
    EXPECT_TRUE(s.IsEmpty());

    SStringW kept(L"kept");
    kept.Format(L"%s", L"");
    EXPECT_STREQ(kept, L"kept");
    kept.Format(L"");
    EXPECT_TRUE(kept.IsEmpty());

    SStringA n;
    EXPECT_STREQ(n.Format("%s=%04x", "v", 0x1F), "v=001f");
    SStringW big;
    big.Format(L"%0*d", 3000, 1);
    EXPECT_EQ(big.GetLength(), 3000);
}

TEST_F(StringTest, SplitTable)
{
    struct Case {
        const wchar_t* text;
        int count;
        const wchar_t* pieces[3];
    } cases[] = {
        {L",a,,b,", 2, {L"a", L"b"}},
        {L"a", 1, {L"a"}},
        {L",,,", 0, {}},
        {L"", 0, {}},
        {L"x,y,z", 3, {L"x", L"y", L"z"}},
    };
    for (const Case& c : cases) {
        SArray<SStringW> out;
        out.Add(L"pre");
        EXPECT_EQ(SplitString(SStringW(c.text), L',', out), c.count + 1) << c.text;
        for (int i = 0; i < c.count && i + 1 < out.GetCount(); ++i) EXPECT_STREQ(out[i + 1], c.pieces[i]);
    }
    SArray<SStringA> narrow;
    EXPECT_EQ(SplitString(SStringA("1|2"), '|', narrow), 2);
}

TEST_F(StringTest, CodePageConversions)
{
    const wchar_t chinese[] = L"\x4E2D\x6587"; // two characters, GBK D6D0 CEC4
    SStringA gbk = StrW2A(chinese, 936);
    EXPECT_EQ(gbk, SStringA("\xD6\xD0\xCE\xC4"));
    EXPECT_STREQ(StrA2W(gbk, 936), chinese);
    SStringA utf8 = StrA2A(gbk, 936, CP_UTF8);
    EXPECT_EQ(utf8, SStringA("\xE4\xB8\xAD\xE6\x96\x87"));
    EXPECT_STREQ(StrA2A(utf8, CP_UTF8, CP_UTF8), utf8);
    EXPECT_STREQ(StrW2W(L"same"), L"same");
    EXPECT_TRUE(StrA2W(SStringA(), CP_UTF8).IsEmpty());
    EXPECT_TRUE(StrA2W("abc", 12345).IsEmpty()); // no such code page
}

TEST_F(StringTest, LongConversionsTakeTheHeapPath)
{
    std::string text;
    for (int i = 0; i < 3000; ++i) text += static_cast<char>('a' + i % 26);
    text += "\xE4\xB8\xAD";
    SStringW wide = StrA2W(SStringA(text.c_str()), CP_UTF8);
    ASSERT_EQ(wide.GetLength(), 3001);
    EXPECT_EQ(wide.GetAt(2999), L'a' + 2999 % 26);
    EXPECT_EQ(wide.GetAt(3000), 0x4E2D);
    SStringA back = StrW2A(wide, CP_UTF8);
    EXPECT_EQ(back.GetLength(), 3003);
    EXPECT_STREQ(back, text.c_str());
    SStringA gbk = StrW2A(wide, 936);
    EXPECT_EQ(gbk.GetLength(), 3002);
}

TEST_F(StringTest, CopyBeforeWriteAcrossThreads)
{
    // Each thread drops its shared copy while the other separates from it.
    for (int round = 0; round < 200; ++round) {
        SStringW base(L"shared text");
        SStringW a(base), b(base);
        base.Empty();
        std::thread t([&] { a += L"1"; });
        b += L"2";
        t.join();
        EXPECT_STREQ(a, L"shared text1");
        EXPECT_STREQ(b, L"shared text2");
    }
}
