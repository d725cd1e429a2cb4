// The look of menus: attributes and their defaults, item measuring, item
// drawing read back pixel by pixel, and finding items by mnemonic.
#include "MenuEnv.h"

#include "controls/SMenuODWnd.h"
#include "render/SFontPool.h"

#include <cstdlib>

using namespace WUI;
using namespace menutest;

class MenuDrawTest : public MenuTest {};

namespace {

// Pixels as a render target stores them: 0xAARRGGBB.
const DWORD kWhite = 0xFFFFFFFF, kBlue = 0xFF0000FF, kRed = 0xFFFF0000, kGreen = 0xFF00FF00,
            kMagenta = 0xFFFF00FF, kNavy = 0xFF000080, kMaroon = 0xFF800000;

const wchar_t kSkins[] =
    L"<skin>"
    L"<colorrect name='t.item' normal='#ffffff' hover='#0000ff'/>"
    L"<colorrect name='t.item3' normal='#ffffff' hover='#0000ff' pushdown='#00ff0080'/>"
    L"<colorrect name='t.check' normal='#ff0000' hover='#00ff00'/>"
    L"<colorrect name='t.icons' normal='#000080' hover='#008000' pushdown='#800000'/>"
    L"<colorrect name='t.sep' normal='#ff00ff'/>"
    L"</skin>";

DWORD Argb(COLORREF c)
{
    return (c & 0xFF000000) | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

bool Near(DWORD got, DWORD want, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

// The item at the position drawn into a fresh target of width x height, as
// the menu's hidden window draws it.
SAutoRefPtr<IRenderTarget> DrawItemOf(MenuEnv& env, SMenu& menu, int position, UINT state, int width, int height)
{
    SAutoRefPtr<IRenderTarget> rt = env.NewTarget(width, height);
    SMenuODWnd drawer(nullptr, menu.GetAttr());
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemState = state;
    dis.hDC = rt->GetDC(0);
    dis.rcItem = {0, 0, width, height};
    dis.itemData = reinterpret_cast<ULONG_PTR>(ItemData(menu.GetHMenu(), position));
    drawer.DrawItem(&dis);
    rt->ReleaseDC(dis.hDC);
    return rt;
}

bool HasPixelNear(IRenderTarget* rt, const RECT& box, DWORD colour, int tolerance)
{
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (Near(rt->GetPixel(x, y), colour, tolerance)) return true;
    return false;
}

MEASUREITEMSTRUCT Measure(const SMenuAttr& attr, HMENU menu, int position)
{
    SMenuODWnd drawer(nullptr, attr);
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = reinterpret_cast<ULONG_PTR>(ItemData(menu, position));
    drawer.MeasureItem(&mis);
    return mis;
}

}  // namespace

TEST_F(MenuDrawTest, AttributeDefaultsAndValues)
{
    SMenuAttr attr;
    EXPECT_STREQ(L"menuattr", attr.GetClassName());
    EXPECT_TRUE(attr.IsClass(L"menuattr"));
    SSkinPoolMgr* skins = SSkinPoolMgr::GetSingletonPtr();
    EXPECT_EQ(skins->FindSkinByName(SStringW(L"_skin.sys.menu.skin")), attr.m_pItemSkin.get());
    EXPECT_EQ(skins->FindSkinByName(SStringW(L"_skin.sys.menu.sep")), attr.m_pSepSkin.get());
    EXPECT_EQ(skins->FindSkinByName(SStringW(L"_skin.sys.menu.check")), attr.m_pCheckSkin.get());
    EXPECT_EQ(nullptr, attr.m_pIconSkin.get());
    EXPECT_NE(nullptr, attr.m_pItemSkin.get());
    EXPECT_EQ(0, attr.m_nItemHei);
    EXPECT_EQ(2, attr.m_nIconMargin);
    EXPECT_EQ(5, attr.m_nTextMargin);
    EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT) | 0xFF000000, attr.m_crTxtNormal);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHTTEXT) | 0xFF000000, attr.m_crTxtSel);
    EXPECT_EQ(::GetSysColor(COLOR_GRAYTEXT) | 0xFF000000, attr.m_crTxtGray);
    EXPECT_EQ(16, attr.m_szIcon.cx);
    EXPECT_EQ(-1, attr.m_nMaxWidth);
    EXPECT_EQ(nullptr, attr.m_hFont.get());
    // No font set: the default font is what draws.
    EXPECT_EQ(SFontPool::GetSingletonPtr()->GetDefaultFont(), attr.GetFont());

    Env().AddSkins(kSkins);
    const struct {
        const wchar_t* name;
        const wchar_t* value;
        HRESULT result;
    } rows[] = {
        {L"itemHeight", L"0x1A", S_OK},    {L"ITEMHEIGHT", L"-1", E_FAIL},     {L"iconMargin", L"3", S_OK},
        {L"textMargin", L"7px", E_FAIL},   {L"textMargin", L"6", S_OK},        {L"colorText", L"#102030", S_OK},
        {L"colorTextSel", L"", S_FALSE},   {L"cororTextGray", L"grey", E_FAIL}, {L"iconSize", L"20,18", S_OK},
        {L"iconSize", L"20", E_FAIL},      {L"iconSize", L"1,2,3", E_FAIL},    {L"maxWidth", L"-2", E_FAIL},
        {L"maxWidth", L"300", S_OK},       {L"trCtx", L"edit", S_OK},          {L"font", L"size:20,bold:1", S_OK},
        {L"itemSkin", L"t.item", S_OK},    {L"iconSkin", L"t.icons", S_OK},    {L"sepSkin", L"no.such.skin", S_OK},
        {L"colorTextGray", L"#000000", E_FAIL},  // only the spelling the format has
        {L"itemHeight", L"99999999", E_FAIL},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.result, attr.SetAttribute(SStringW(r.name), SStringW(r.value), TRUE)) << r.name << "=" << r.value;
    EXPECT_EQ(26, attr.m_nItemHei);
    EXPECT_EQ(3, attr.m_nIconMargin);
    EXPECT_EQ(6, attr.m_nTextMargin);
    EXPECT_EQ(0xFF302010u, attr.m_crTxtNormal);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHTTEXT) | 0xFF000000, attr.m_crTxtSel);
    EXPECT_EQ(::GetSysColor(COLOR_GRAYTEXT) | 0xFF000000, attr.m_crTxtGray);
    EXPECT_EQ(20, attr.m_szIcon.cx);
    EXPECT_EQ(18, attr.m_szIcon.cy);
    EXPECT_EQ(300, attr.m_nMaxWidth);
    EXPECT_STREQ(L"edit", attr.m_strTrCtx);
    ASSERT_NE(nullptr, attr.m_hFont.get());
    EXPECT_EQ(-20, attr.m_hFont->LogFont()->lfHeight);
    EXPECT_EQ(attr.m_hFont.get(), attr.GetFont());
    EXPECT_EQ(nullptr, attr.m_pSepSkin.get()) << "an unknown skin name leaves none";

    // Copies share the font and the skins.
    SMenuAttr copy(attr);
    EXPECT_EQ(attr.m_hFont.get(), copy.m_hFont.get());
    EXPECT_EQ(attr.m_pItemSkin.get(), copy.m_pItemSkin.get());
    EXPECT_STREQ(L"edit", copy.m_strTrCtx);
}

TEST_F(MenuDrawTest, InitFinishedTakesSkinHeightAndDefaultFont)
{
    SMenu fromSkin, zeroSkin, given;
    Env().AddSkins(kSkins);
    ASSERT_TRUE(Load(fromSkin, L"<menu><item id='1'>a</item></menu>"));
    ASSERT_TRUE(Load(zeroSkin, L"<menu itemSkin='t.item'><item id='1'>a</item></menu>"));
    ASSERT_TRUE(Load(given, L"<menu itemHeight='30' font='size:18'><item id='1'>a</item></menu>"));
    EXPECT_EQ(24, fromSkin.GetAttr().m_nItemHei) << "the built-in item skin is 24 high";
    EXPECT_EQ(0, zeroSkin.GetAttr().m_nItemHei) << "a colour skin has no height";
    EXPECT_EQ(30, given.GetAttr().m_nItemHei);
    EXPECT_EQ(SFontPool::GetSingletonPtr()->GetDefaultFont(), fromSkin.GetAttr().m_hFont.get());
    EXPECT_EQ(-18, given.GetAttr().m_hFont->LogFont()->lfHeight);
}

TEST_F(MenuDrawTest, MeasureItemWidthsAndHeights)
{
    Env().AddSkins(kSkins);
    auto textWidth = [&](IFont* font, const wchar_t* text) {
        SAutoRefPtr<IRenderTarget> rt = Env().NewTarget(0, 0);
        IRenderObj* old = nullptr;
        rt->SelectObject(font, &old);
        SIZE size = {};
        rt->MeasureText(text, -1, &size);
        rt->SelectObject(old, nullptr);
        old->Release();
        return int(size.cx);
    };
    const struct {
        const wchar_t* xml;
        int position;
        int width;   // -1: icon + margins + text
        int height;
        const char* what;
    } cases[] = {
        {L"<menu itemHeight='22'><item id='1'>Open file</item></menu>", 0, -1, 22, "16 + 2x2 + text + 2x5"},
        {L"<menu itemHeight='22' iconSize='20,12' iconMargin='3' textMargin='8'><item id='1'>Open file</item></menu>", 0,
         -1, 22, "20 + 2x3 + text + 2x8"},
        {L"<menu itemHeight='22' maxWidth='40'><item id='1'>Open file</item></menu>", 0, 40, 22, "capped"},
        {L"<menu itemHeight='22' maxWidth='2000'><item id='1'>Open file</item></menu>", 0, -1, 22, "cap above"},
        {L"<menu itemHeight='22' maxWidth='-1'><item id='1'>Open file</item></menu>", 0, -1, 22, "no cap"},
        {L"<menu itemSkin='t.item'><item id='1'>Open file</item></menu>", 0, -1, 0, "a skin 0 high: items 0 high"},
        {L"<menu><sep/></menu>", 0, 0, 3, "the built-in separator is 3 high"},
        {L"<menu sepSkin='_skin.sys.menu.skin'><sep/></menu>", 0, 0, 24, "the separator skin's height"},
        {L"<menu sepSkin='none'><sep/></menu>", 0, 0, 3, "no separator skin: 3"},
    };
    for (const auto& c : cases) {
        SMenu menu;
        ASSERT_TRUE(Load(menu, c.xml)) << c.what;
        const SMenuAttr& a = menu.GetAttr();
        MEASUREITEMSTRUCT mis = Measure(a, menu.GetHMenu(), c.position);
        int width = c.width;
        if (width == -1)
            width = a.m_szIcon.cx + 2 * a.m_nIconMargin + textWidth(a.GetFont(), L"Open file") + 2 * a.m_nTextMargin;
        EXPECT_EQ(UINT(width), mis.itemWidth) << c.what;
        EXPECT_EQ(UINT(c.height), mis.itemHeight) << c.what;
    }

    // Built item by item, the attributes never saw the XML: the item skin
    // still gives the height and the default font still measures.
    SMenu bare;
    ASSERT_TRUE(Load(bare, L"<menu/>"));
    SMenuAttr plain;
    ASSERT_TRUE(bare.InsertMenu(0, MF_BYPOSITION, 1, L"Open file"));
    MEASUREITEMSTRUCT mis = Measure(plain, bare.GetHMenu(), 0);
    EXPECT_EQ(24u, mis.itemHeight);
    EXPECT_EQ(UINT(16 + 4 + textWidth(SFontPool::GetSingletonPtr()->GetDefaultFont(), L"Open file") + 10), mis.itemWidth);
    // Without any item skin the item fits icon or text, whichever is higher.
    plain.m_pItemSkin = nullptr;
    plain.m_hFont = SFontPool::GetSingletonPtr()->GetFontByDescription(L"size:40");
    EXPECT_GT(Measure(plain, bare.GetHMenu(), 0).itemHeight, 40u);
    plain.m_hFont = nullptr;
    plain.m_szIcon.cy = 30;
    EXPECT_EQ(34u, Measure(plain, bare.GetHMenu(), 0).itemHeight);
    // Only menus are measured.
    SMenuODWnd drawer(nullptr, plain);
    MEASUREITEMSTRUCT listItem = {};
    listItem.CtlType = ODT_LISTBOX;
    listItem.itemHeight = 5;
    drawer.MeasureItem(&listItem);
    EXPECT_EQ(5u, listItem.itemHeight);
}

TEST_F(MenuDrawTest, DrawItemStatesChecksIconsAndTextColours)
{
    Env().AddSkins(kSkins);
    SMenu menu;
    // The radio item has id 0 behind a separator (id 0 too): its mark must
    // come from its own record, not from a lookup by command id.
    ASSERT_TRUE(Load(menu,
                     L"<menu itemSkin='t.item' checkSkin='t.check' iconSkin='t.icons' itemHeight='24' "
                     L"font='size:22,bold:1' colorText='#000000' colorTextSel='#ffffff' cororTextGray='#ff8000'>"
                     L"<item id='1' icon='2'>WWWW</item>"
                     L"<sep/>"
                     L"<item radio='1'>WWWW</item>"
                     L"<item id='3' check='1' icon='2'>WWWW</item>"
                     L"</menu>"));
    const int w = 160, h = 24;
    const RECT iconBox = {2, 4, 18, 20};
    const RECT textBox = {25, 0, w - 5, h};
    const struct {
        int position;
        UINT state;
        DWORD back, icon, ink;
        const char* what;
    } cases[] = {
        {0, 0, kWhite, kMaroon, 0xFF000000, "normal: skin state 0, icon state 2, text colour"},
        {0, ODS_SELECTED, kBlue, kMaroon, kWhite, "selected: skin state 1, selected text colour"},
        {0, ODS_GRAYED, kWhite, kMaroon, 0xFFFF8000, "grey text colour"},
        {0, ODS_GRAYED | ODS_SELECTED, kBlue, kMaroon, 0xFFFF8000, "grey wins over selected"},
        {2, ODS_CHECKED, kWhite, kGreen, 0xFF000000, "radio mark: check skin state 1"},
        {3, ODS_CHECKED, kWhite, kRed, 0xFF000000, "check mark: state 0, over the icon"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SAutoRefPtr<IRenderTarget> rt = DrawItemOf(Env(), menu, c.position, c.state, w, h);
        EXPECT_EQ(c.back, rt->GetPixel(w - 2, 1));
        EXPECT_EQ(c.back, rt->GetPixel(1, 1)) << "left of the icon box";
        EXPECT_EQ(c.icon, rt->GetPixel((iconBox.left + iconBox.right) / 2, (iconBox.top + iconBox.bottom) / 2));
        EXPECT_EQ(c.back, rt->GetPixel(iconBox.left + 1, iconBox.top - 1)) << "above the icon box";
        EXPECT_TRUE(HasPixelNear(rt, textBox, c.ink, 40)) << "text ink " << std::hex << c.ink;
        EXPECT_EQ(c.back, rt->GetPixel(textBox.left - 2, h / 2)) << "no ink left of the text box";
    }
    // Separator: its skin over the menu colour (what the built-in line leaves
    // see-through is never black), or the menu colour alone without a skin.
    const DWORD menuColour = Argb(::GetSysColor(COLOR_MENU) | 0xFF000000);
    SAutoRefPtr<IRenderTarget> sep = DrawItemOf(Env(), menu, 1, 0, w, 3);
    EXPECT_EQ(0xFFD6DAE0, sep->GetPixel(w / 2, 1)) << "the built-in separator's line";
    EXPECT_EQ(menuColour, sep->GetPixel(w / 2, 0));
    EXPECT_EQ(menuColour, sep->GetPixel(5, 1)) << "left of the line";
    menu.GetAttr().SetAttribute(SStringW(L"sepSkin"), SStringW(L"t.sep"), FALSE);
    sep = DrawItemOf(Env(), menu, 1, 0, w, 3);
    EXPECT_EQ(kMagenta, sep->GetPixel(w / 2, 1));
    menu.GetAttr().SetAttribute(SStringW(L"sepSkin"), SStringW(L"none"), FALSE);
    sep = DrawItemOf(Env(), menu, 1, 0, w, 3);
    EXPECT_EQ(menuColour, sep->GetPixel(w / 2, 1));
}

TEST_F(MenuDrawTest, DrawItemOverlayAndFallbacks)
{
    Env().AddSkins(kSkins);
    SMenu menu;
    ASSERT_TRUE(Load(menu, L"<menu itemSkin='t.item3' itemHeight='20'><item id='1' icon='1'>x</item></menu>"));
    // A skin of more than two states lays its third over a selected item.
    SAutoRefPtr<IRenderTarget> rt = DrawItemOf(Env(), menu, 0, ODS_SELECTED, 80, 20);
    EXPECT_TRUE(Near(rt->GetPixel(78, 1), 0xFF007F80, 2)) << std::hex << rt->GetPixel(78, 1);
    rt = DrawItemOf(Env(), menu, 0, 0, 80, 20);
    EXPECT_EQ(kWhite, rt->GetPixel(78, 1)) << "not when unselected";
    EXPECT_EQ(kWhite, rt->GetPixel(10, 10)) << "no icon skin: no icon";
    // No item skin: the menu colour, the highlight when selected.
    menu.GetAttr().m_pItemSkin = nullptr;
    rt = DrawItemOf(Env(), menu, 0, 0, 80, 20);
    EXPECT_EQ(Argb(::GetSysColor(COLOR_MENU) | 0xFF000000), rt->GetPixel(78, 1));
    rt = DrawItemOf(Env(), menu, 0, ODS_SELECTED, 80, 20);
    EXPECT_EQ(Argb(::GetSysColor(COLOR_HIGHLIGHT) | 0xFF000000), rt->GetPixel(78, 1));
    // The item lands where the system asked, and nothing else of the DC changes.
    SAutoRefPtr<IRenderTarget> big = Env().NewTarget(100, 60);
    const RECT all = {0, 0, 100, 60};
    big->FillSolidRect(&all, 0xFF00FF00);
    SMenuODWnd drawer(nullptr, menu.GetAttr());
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.hDC = big->GetDC(0);
    dis.rcItem = {10, 20, 90, 40};
    dis.itemData = reinterpret_cast<ULONG_PTR>(ItemData(menu.GetHMenu(), 0));
    drawer.DrawItem(&dis);
    big->ReleaseDC(dis.hDC);
    EXPECT_EQ(kGreen, big->GetPixel(9, 30));
    EXPECT_EQ(kGreen, big->GetPixel(50, 19));
    EXPECT_EQ(kGreen, big->GetPixel(50, 40));
    EXPECT_EQ(Argb(::GetSysColor(COLOR_MENU) | 0xFF000000) & 0xFFFFFF, big->GetPixel(88, 22) & 0xFFFFFF);
}

TEST_F(MenuDrawTest, MenuCharFindsItemsByMnemonic)
{
    SMenu menu;
    ASSERT_TRUE(Load(menu,
                     L"<menu><sep/><item id='1'>&amp;Open</item><item id='2'>&amp;Save</item><item id='3'>x&amp;</item>"
                     L"<item>Sub&amp;menu<item id='4'>a</item></item><item id='5'>E&amp;xit</item>"
                     L"<item id='6'>no mnemonic</item></menu>"));
    // Items inserted by hand without a record of ours are passed over too.
    ::AppendMenuW(menu.GetHMenu(), MF_OWNERDRAW, 7, nullptr);
    SMenuODWnd drawer(nullptr, menu.GetAttr());
    const struct {
        wchar_t ch;
        LRESULT result;
    } cases[] = {
        {L'o', MAKELRESULT(1, MNC_EXECUTE)}, {L'O', MAKELRESULT(1, MNC_EXECUTE)}, {L's', MAKELRESULT(2, MNC_EXECUTE)},
        {L'x', MAKELRESULT(5, MNC_EXECUTE)}, {L'M', MAKELRESULT(4, MNC_EXECUTE)}, {L'z', 0},
        {L'&', 0},                           {L' ', 0},                           {0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, drawer.OnMenuChar(c.ch, MF_POPUP, menu.GetHMenu())) << char(c.ch);
    EXPECT_EQ(0, drawer.OnMenuChar(L'o', MF_POPUP, nullptr));
    // Through the window's message handling, as the menu loop sends it.
    LRESULT result = -1;
    EXPECT_TRUE(drawer.ProcessWindowMessage(nullptr, WM_MENUCHAR, MAKEWPARAM(L'S', MF_POPUP),
                                            reinterpret_cast<LPARAM>(menu.GetHMenu()), result, 0));
    EXPECT_EQ(MAKELRESULT(2, MNC_EXECUTE), result);
}
