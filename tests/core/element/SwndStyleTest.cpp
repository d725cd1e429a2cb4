// The element style: defaults, its attribute table, refused values.
#include "core/SwndStyle.h"
#include "element/ElementHost.h"
#include "LeakCheck.h"
#include "render/SFontPool.h"

using namespace WUI;
using namespace elemtest;

class SwndStyleTest : public LeakChecked {};

TEST_F(SwndStyleTest, DefaultsOfANewElement)
{
    SwndStyle s;
    EXPECT_EQ(s.GetTextColor(0), kColorNone);
    EXPECT_EQ(s.m_nTextAlign, 256u);
    EXPECT_EQ(s.m_nVAlign, 4096u);
    EXPECT_EQ(s.GetTextAlign(), 0x25u);
    EXPECT_EQ(s.m_strCursor, L"arrow");
    EXPECT_EQ(s.m_byAlpha, 255);
    EXPECT_EQ(s.m_bySepSpace, 5);
    EXPECT_TRUE(s.IsBkgndBlend());
    EXPECT_EQ(s.GetStates(), 1);
    EXPECT_STREQ(s.GetClassName(), L"style");
}

TEST_F(SwndStyleTest, BandsAlignmentAndFlags)
{
    struct Case {
        const wchar_t *name, *value;
        HRESULT result;  // loading
        RECT margin, padding;
    } cases[] = {
        {L"margin", L"4", S_FALSE, {4, 4, 4, 4}, {0, 0, 0, 0}},
        {L"margin", L"4,2", S_FALSE, {4, 2, 4, 2}, {0, 0, 0, 0}},
        {L"margin", L"1,2,3,4", S_FALSE, {1, 2, 3, 4}, {0, 0, 0, 0}},
        {L"MARGIN", L"-3", S_FALSE, {-3, -3, -3, -3}, {0, 0, 0, 0}},
        {L"margin-x", L"6", S_FALSE, {6, 0, 6, 0}, {0, 0, 0, 0}},
        {L"margin-y", L"6", S_FALSE, {0, 6, 0, 6}, {0, 0, 0, 0}},
        {L"padding", L"7", S_OK, {0, 0, 0, 0}, {7, 0, 0, 0}},
        {L"inset", L"1,2,3", S_OK, {0, 0, 0, 0}, {1, 2, 3, 0}},
        // Refused: the bands keep their values.
        {L"margin", L"1,2,3", E_FAIL, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {L"margin", L"1,,2", E_FAIL, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {L"margin", L"4x", E_FAIL, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {L"margin", L"99999999999", E_FAIL, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {L"margin", L"40000", E_FAIL, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {L"margin-x", L"0x10", E_FAIL, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {L"padding", L"1,2,3,4,5", E_FAIL, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {L"padding", L"", E_FAIL, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SwndStyle s;
        EXPECT_EQ(s.SetAttribute(c.name, c.value, TRUE), c.result) << c.name << "=" << c.value;
        EXPECT_TRUE(EqualRect(&s.m_rcMargin, &c.margin)) << c.name << "=" << c.value;
        EXPECT_TRUE(EqualRect(&s.m_rcInset, &c.padding)) << c.name << "=" << c.value;
    }
    SwndStyle live;
    EXPECT_EQ(live.SetAttribute(L"margin", L"2", FALSE), S_OK);  // redraw when not loading

    SwndStyle s;
    EXPECT_EQ(s.SetAttribute(L"align", L"Center", TRUE), E_FAIL);  // words keep their case
    EXPECT_EQ(s.m_nTextAlign, 256u);
    EXPECT_EQ(s.SetAttribute(L"ALIGN", L"right", TRUE), S_OK);     // names do not
    EXPECT_EQ(s.SetAttribute(L"valign", L"bottom", TRUE), S_OK);
    EXPECT_EQ(s.GetTextAlign(), static_cast<UINT>(DT_RIGHT | DT_BOTTOM | DT_SINGLELINE));
    EXPECT_EQ(s.SetAttribute(L"valign", L"center", TRUE), E_FAIL);
    EXPECT_EQ(s.SetAttribute(L"dotted", L"1", TRUE), S_FALSE);
    EXPECT_EQ(s.GetTextAlign(), static_cast<UINT>(DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS));
    EXPECT_EQ(s.SetAttribute(L"textMode", L"0x10", TRUE), S_OK);  // overrides alignment and "dotted"
    EXPECT_EQ(s.GetTextAlign(), 0x10u);
    EXPECT_EQ(s.SetAttribute(L"textMode", L"ten", TRUE), E_FAIL);
    EXPECT_EQ(s.GetTextAlign(), 0x10u);

    EXPECT_EQ(s.SetAttribute(L"alpha", L"128", TRUE), S_OK);
    EXPECT_EQ(s.SetAttribute(L"alpha", L"256", TRUE), E_FAIL);  // would wrap to 0
    EXPECT_EQ(s.m_byAlpha, 128);
    EXPECT_EQ(s.SetAttribute(L"sepSpace", L"0x0C", TRUE), S_OK);
    EXPECT_EQ(s.m_bySepSpace, 12);
    EXPECT_EQ(s.SetAttribute(L"bkgndBlend", L"2", TRUE), S_OK);  // the lowest bit
    EXPECT_FALSE(s.IsBkgndBlend());
    EXPECT_EQ(s.SetAttribute(L"trackMouseEvent", L"1", TRUE), S_FALSE);
    EXPECT_TRUE(s.IsTrackMouseEvent());
    EXPECT_EQ(s.SetAttribute(L"cursor", L"hand", TRUE), S_FALSE);
    EXPECT_EQ(s.m_strCursor, L"hand");
    EXPECT_EQ(s.SetAttribute(L"unknown", L"1", TRUE), E_NOTIMPL);
}

TEST_F(SwndStyleTest, ColoursFontsAndStates)
{
    ElementHost host;  // the application's font pool and named colours
    SwndStyle s;
    EXPECT_EQ(s.SetAttribute(L"colorText", L"#ff0000", TRUE), S_OK);
    EXPECT_EQ(s.SetAttribute(L"colorBkgnd", L"rgb(0,0,255)", TRUE), S_OK);
    EXPECT_EQ(s.m_crBg, 0xFFFF0000u);
    EXPECT_EQ(s.SetAttribute(L"colorBkgnd", L"", TRUE), E_FAIL);
    EXPECT_EQ(s.SetAttribute(L"colorBkgnd", L"blue", TRUE), E_FAIL);
    EXPECT_EQ(s.m_crBg, 0xFFFF0000u);
    EXPECT_EQ(s.SetAttribute(L"colorBorder", L"@color/none", TRUE), S_OK);  // a name the table lacks
    EXPECT_EQ(s.m_crBorder, kColorNone);

    // An unset state draws with the normal colour and font.
    EXPECT_EQ(s.GetTextColor(1), 0xFF0000FFu);
    EXPECT_EQ(s.GetStates(), 1);
    EXPECT_EQ(s.SetAttribute(L"colorTextHover", L"#00ff00", TRUE), S_OK);
    EXPECT_EQ(s.SetAttribute(L"colorTextDisable", L"#808080", TRUE), S_OK);
    EXPECT_EQ(s.GetTextColor(1), 0xFF00FF00u);
    EXPECT_EQ(s.GetTextColor(2), 0xFF0000FFu);
    EXPECT_EQ(s.GetStates(), 3);

    EXPECT_EQ(s.GetTextFont(0), nullptr);
    EXPECT_EQ(s.SetAttribute(L"font", L"size:20", TRUE), S_OK);
    ASSERT_NE(s.GetTextFont(0), nullptr);
    EXPECT_EQ(s.GetTextFont(0), SFontPool::GetSingletonPtr()->GetFontByDescription(L"size:20"));
    EXPECT_EQ(s.GetTextFont(2), s.GetTextFont(0));
    EXPECT_EQ(s.SetAttribute(L"fontPush", L"size:22", TRUE), S_OK);
    EXPECT_NE(s.GetTextFont(2), s.GetTextFont(0));
    EXPECT_EQ(s.GetStates(), 3);  // the larger of colours (3) and fonts (2)
}
