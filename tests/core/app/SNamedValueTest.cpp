#include "core/SNamedValue.h"
#include "core/SResProviderMgr.h"
#include "core/SResProviderPE.h"
#include "AdoptRef.h"
#include "../LeakCheck.h"
#include <gtest/gtest.h>
#include <atomic>
#include <climits>
#include <thread>

using namespace WUI;

class SNamedValueLeaks : public LeakChecked {};
class SResProviderMgrLeaks : public LeakChecked {};

TEST(SColorParser, Literals)
{
    struct Case {
        const wchar_t *text;
        bool ok;
        COLORREF value;
    } cases[] = {
        {L"#FF000080", true, 0x800000FF},
        {L"#00ff00", true, 0xFF00FF00},
        {L"rgb(0,0,255)", true, 0xFFFF0000},
        {L"RGB(1,2,3)", true, 0xFF030201},
        {L"rgba(1,2,3,4)", true, 0x04030201},
        {L"rgba(1,2,3)", true, 0xFF030201},
        {L"rgb(256,0,0)", true, 0xFF000000}, // low 8 bits
        {L"#fff", false, 0},
        {L"#ff00", false, 0},
        {L"blue", false, 0},
        {L"rgb(1,2)", false, 0},
        {L"rgb 1,2,3", false, 0},
        {L"", false, 0},
        {L"#", false, 0},
        {L"#zz0000", false, 0},
        {L"#fffff", true, 0xFF0FFFFF},     // a short last field still counts
        {L"#ff0000zz", true, 0xFF0000FF},  // text after the fields is ignored
        // Only hexadecimal digits make a field: no sign, space or prefix.
        {L"#-1-1-1", false, 0},
        {L"#+f+f+f", false, 0},
        {L"# ff0000", false, 0},
        {L"#ff 00 00", false, 0},
        {L"#0x0x0x", false, 0},
    };
    for (const Case &c : cases) {
        COLORREF v = 0x12345678;
        EXPECT_EQ(SColorParser::Parse(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST_F(SNamedValueLeaks, TablesAndMissingValues)
{
    pugi::xml_document doc;
    std::wstring longName(50, L'n');
    std::wstring xml = L"<color><b value='#0000ff'/><a value='rgb(1,2,3)'/><bad value='blue'/><" +
                       longName + L" value='#010203'/><a value='#020202'/></color>";
    ASSERT_TRUE(doc.load_string(xml.c_str()));
    SNamedColor colors;
    EXPECT_FALSE(colors.Init(pugi::xml_node()));
    ASSERT_TRUE(colors.Init(doc.first_child()));
    EXPECT_EQ(colors.GetCount(), 3); // "bad" and the over-long name left out
    EXPECT_EQ(colors.Get(L"b"), 0xFFFF0000u);
    COLORREF a = colors.Get(L"a");
    EXPECT_TRUE(a == 0xFF030201u || a == 0xFF020202u);
    EXPECT_EQ(colors.Get(L"bad"), 0x00FFFFFFu);
    EXPECT_EQ(colors.Get(longName.c_str()), 0x00FFFFFFu);
    EXPECT_EQ(colors.Get(L"B"), 0x00FFFFFFu); // names keep their case

    SNamedID ids;
    const SNamedID::TableEntry table[] = {{L"zeta", 30}, {L"alpha", 10}, {L"mid", 20}};
    ids.InitFromTable(table, 3, false);
    EXPECT_EQ(ids.Get(L"alpha"), 10);
    EXPECT_EQ(ids.Get(L"mid"), 20);
    EXPECT_EQ(ids.Get(L"zeta"), 30);
    EXPECT_EQ(ids.Get(L"nothing"), 0);
    EXPECT_EQ(ids.Get(nullptr), 0);

    int n = -1;
    EXPECT_TRUE(SIntParser::Parse(L"12abc", n));
    EXPECT_EQ(n, 12);
    EXPECT_TRUE(SIntParser::Parse(L"x", n));
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(SIntParser::Parse(L"-5", n));
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(SIntParser::Parse(L"123456789012345678901234", n));
    EXPECT_EQ(n, INT_MAX);
}

TEST_F(SResProviderMgrLeaks, NamedValuesOfTheNewestUiDefinition)
{
    SResProviderMgr mgr;
    // No UI definition yet: the missing values, never a crash.
    EXPECT_EQ(mgr.GetColor(L"@color/grey"), 0x00FFFFFFu);
    EXPECT_EQ(mgr.GetString(L"@string/title"), L"");
    EXPECT_EQ(mgr.GetString(L"plain"), L"plain");
    EXPECT_EQ(mgr.GetColor(L"#00ff00"), 0xFF00FF00u);
    EXPECT_EQ(mgr.GetColor(L"nonsense"), 0x00FFFFFFu);

    SAutoRefPtr<IResProvider> pe = AdoptRef<IResProvider>(new SResProviderPE);
    pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    mgr.AddResProvider(pe.get(), L"UIDEF:XML_INIT");
    struct Case {
        const wchar_t *text, *expected;
    } strings[] = {
        {L"@string/title", L"Orvo"}, // from the redirected "values:string"
        {L"@string/empty", L""},
        {L"@string/nope", L""},
        {L"@STRING/title", L"@STRING/title"}, // the prefix is case-sensitive
        {L"", L""},
    };
    for (const Case &c : strings)
        EXPECT_EQ(mgr.GetString(c.text), c.expected) << c.text;
    EXPECT_EQ(mgr.GetColor(L"@color/grey"), 0xFF808080u);
    EXPECT_EQ(mgr.GetColor(L"@color/halfRed"), 0x800000FFu);
    EXPECT_EQ(mgr.GetColor(L"@color/blue"), 0x00FFFFFFu);

    // A newer provider without a UI definition hides the older one's values.
    SAutoRefPtr<IResProvider> bare = AdoptRef<IResProvider>(new SResProviderPE);
    bare->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    mgr.AddResProvider(bare.get());
    EXPECT_EQ(mgr.GetColor(L"@color/grey"), 0x00FFFFFFu);
    mgr.RemoveResProvider(bare.get());
    EXPECT_EQ(mgr.GetColor(L"@color/grey"), 0xFF808080u);
}

TEST_F(SResProviderMgrLeaks, LookupsFromAnotherThreadWhileProvidersChange)
{
    SResProviderMgr mgr;
    SAutoRefPtr<IResProvider> pe = AdoptRef<IResProvider>(new SResProviderPE);
    pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0}, reads{0};
    // Each answer is either the UI definition's value or the missing one, never garbage.
    std::thread reader([&] {
        while (!stop) {
            COLORREF c = mgr.GetColor(L"@color/grey");
            SStringW s = mgr.GetString(L"@string/title");
            if ((c != 0xFF808080u && c != 0x00FFFFFFu) || (!s.IsEmpty() && !(s == L"Orvo")))
                ++wrong;
            ++reads;
        }
    });
    for (int i = 0; i < 100; ++i) {
        mgr.AddResProvider(pe.get(), L"UIDEF:XML_INIT");
        mgr.RemoveResProvider(pe.get());
    }
    while (reads < 10)
        Sleep(1);
    stop = true;
    reader.join();
    EXPECT_EQ(wrong, 0);
}
