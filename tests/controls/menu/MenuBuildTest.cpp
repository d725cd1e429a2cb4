// Menus built from XML and item by item: items, flags and sub-menus, texts
// and mnemonics, loading by resource id and its failures, limits on what a
// definition may build, who frees what (copies, views, inserted sub-menus),
// views that outlive the views they came from, failed allocations, and the rich edit's menu greying.
#include "MenuEnv.h"

#include "controls/RicheditMenu.h"
#include "core/SRicheditMenuDef.h"
#include "core/WuiBase.h"
#include "support/FreedMemoryProbe.h"

#include <memory>
#include <string>

using namespace WUI;
using namespace menutest;

class MenuBuildTest : public MenuTest {};

namespace {

const wchar_t kTree[] =
    L"<menu itemHeight='22'>"
    L"  <item id='10' check='1'>Checked</item>"
    L"  <item id='11' disable='1'>Grey</item>"
    L"  <item id='12' radio='1'>Radio</item>"
    L"  <sep/>"
    L"  <item id='13' icon='4'>Icon</item>"
    L"  <item id='99' check='1' radio='1' disable='yes' icon='2'>Sub"
    L"    <item id='20'>Inner</item>"
    L"    <sep/>"
    L"    <item id='21'>Deep<item id='30'>Deepest</item></item>"
    L"  </item>"
    L"  <unknown id='50'>not an item</unknown>"
    L"  <item id='0x0e' icon='bad'>   padded  text \t</item>"
    L"  <item id='70000'>id out of range</item>"
    L"</menu>";

// A definition nested `levels` menus deep.
std::wstring Nested(int levels)
{
    std::wstring xml = L"<menu>";
    for (int i = 1; i < levels; ++i) xml += L"<item>level";
    xml += L"<item id='1'>leaf</item>";
    for (int i = 1; i < levels; ++i) xml += L"</item>";
    return xml + L"</menu>";
}

std::wstring Flat(int items)
{
    std::wstring xml = L"<menu>";
    for (int i = 0; i < items; ++i) xml += (i % 8 == 7) ? L"<sep/>" : L"<item id='1'>x</item>";
    return xml + L"</menu>";
}

}  // namespace

TEST_F(MenuBuildTest, XmlGivesItemsFlagsAndSubMenus)
{
    SMenu menu;
    ASSERT_TRUE(Load(menu, kTree));
    HMENU h = menu.GetHMenu();
    ASSERT_EQ(8, ::GetMenuItemCount(h));
    const UINT kCheck = MFS_CHECKED, kGrey = MF_GRAYED, kRadio = MFT_RADIOCHECK, kOd = MFT_OWNERDRAW;
    const struct {
        UINT id;      // command id; for sub-menus ignored
        UINT state;   // checked, grey
        UINT type;    // beyond MFT_OWNERDRAW
        bool hasData;
        const wchar_t* text;
        int icon;
        int subCount;  // -1: no sub-menu
        const char* what;
    } rows[] = {
        {10, kCheck, 0, true, L"Checked", -1, -1, "check"},
        {11, kGrey, 0, true, L"Grey", -1, -1, "disable greys"},
        {12, kCheck, kRadio, true, L"Radio", -1, -1, "radio is a checked radio item without check"},
        {0, 0, MFT_SEPARATOR, false, nullptr, -1, -1, "separator: owner-drawn, no record"},
        {13, 0, 0, true, L"Icon", 4, -1, "icon index"},
        {0, kGrey, 0, true, L"Sub", 2, 3, "children make a sub-menu: id, check and radio ignored, disable kept"},
        {14, 0, 0, true, L"padded  text", -1, -1, "text trimmed, hexadecimal id, a bad icon is none"},
        {0, 0, 0, true, L"id out of range", -1, -1, "an id past 16 bits is none"},
    };
    for (int i = 0; i < 8; ++i) {
        const auto& row = rows[i];
        SCOPED_TRACE(row.what);
        MENUITEMINFOW info = ItemInfo(h, i);
        if (row.hasData) {
            EXPECT_EQ(row.state, info.fState & (MFS_CHECKED | MFS_GRAYED));
        }
        EXPECT_EQ(row.type | kOd, info.fType);
        const SMenuItemData* data = ItemData(h, i);
        ASSERT_EQ(row.hasData, data != nullptr);
        if (row.subCount >= 0) {
            ASSERT_NE(nullptr, info.hSubMenu);
            EXPECT_EQ(row.subCount, ::GetMenuItemCount(info.hSubMenu));
            EXPECT_EQ(reinterpret_cast<UINT_PTR>(info.hSubMenu), data->nId);
        } else {
            EXPECT_EQ(nullptr, info.hSubMenu);
            EXPECT_EQ(row.id, info.wID);
            if (data) {
                EXPECT_EQ(row.id, data->nId);
            }
        }
        if (!data) continue;
        EXPECT_EQ(h, data->hMenu);
        EXPECT_STREQ(row.text, data->strText);
        EXPECT_EQ(row.icon, data->iIcon);
        EXPECT_EQ((row.type & kRadio) != 0, data->bRadio);
    }
    // Sub-menus of sub-menus, their records pointing at their own menus.
    HMENU sub = ::GetSubMenu(h, 5);
    EXPECT_EQ(sub, ItemData(sub, 0)->hMenu);
    EXPECT_EQ(20u, ItemInfo(sub, 0).wID);
    EXPECT_EQ(nullptr, ItemData(sub, 1));
    HMENU deep = ::GetSubMenu(sub, 2);
    ASSERT_NE(nullptr, deep);
    EXPECT_STREQ(L"Deepest", ItemData(deep, 0)->strText);
    EXPECT_EQ(22, menu.GetAttr().m_nItemHei);
}

TEST_F(MenuBuildTest, Mnemonics)
{
    const struct {
        const wchar_t* text;
        wchar_t key;
    } cases[] = {
        {L"&Open", L'o'},
        {L"x&", 0},
        {L"Save &As", L'a'},
        {L"plain", 0},
        {L"", 0},
        {L"A&&B", 0},       // "&&" is a plain ampersand, drawn as one
        {L"A&&&B", L'b'},
        {L"&&&", 0},
        {L"&1 first", L'1'},
        {L"\x0416&\x0418", L'\x0438'},  // Cyrillic capital I lower-cased
        {L"first &x, then &y", L'x'},
    };
    for (const auto& c : cases) EXPECT_EQ(c.key, MenuMnemonic(c.text)) << std::hex << int(c.key);
    EXPECT_EQ(0, MenuMnemonic(nullptr));
    // Items take theirs from their final text.
    SMenu menu;
    ASSERT_TRUE(Load(menu, L"<menu><item id='1'>&amp;Open</item><item id='2'>x&amp;</item></menu>"));
    ASSERT_TRUE(menu.InsertMenu(2, MF_BYPOSITION, 3, L"Save &As"));
    EXPECT_EQ(L'o', ItemData(menu.GetHMenu(), 0)->vHotKey);
    EXPECT_EQ(0, ItemData(menu.GetHMenu(), 1)->vHotKey);
    EXPECT_EQ(L'a', ItemData(menu.GetHMenu(), 2)->vHotKey);
}

// XML texts are resolved, translated without context, then in the menu's
// context; inserted texts only in the menu's context.
TEST_F(MenuBuildTest, TextsTranslateTwiceFromXmlOnceWhenInserted)
{
    Env().TranslateIn(L";ctx");
    SMenu menu;
    ASSERT_TRUE(Load(menu, L"<menu trCtx='ctx'><item id='1'>&amp;cut</item><item id='2'>@string/missing</item></menu>"));
    ASSERT_TRUE(menu.InsertMenu(0, MF_BYPOSITION, 3, L"paste"));
    HMENU h = menu.GetHMenu();
    EXPECT_STREQ(L"ctx:paste", ItemData(h, 0)->strText);
    EXPECT_STREQ(L"ctx::&cut", ItemData(h, 1)->strText);
    EXPECT_EQ(L'c', ItemData(h, 1)->vHotKey);
    EXPECT_STREQ(L"ctx::", ItemData(h, 2)->strText) << "an unknown named string is empty";
}

TEST_F(MenuBuildTest, LoadByResourceIdAndItsFailures)
{
    SMenu menu;
    const struct {
        const wchar_t* id;
        const char* what;
    } failures[] = {
        {L"MENU_MAIN", "one part"},
        {L"", "empty"},
        {L"XML:NOT_THERE", "missing resource"},
        {L"XML:NO_MENU", "no menu element"},
        {L"XML:BROKEN", "does not parse"},
        {L"LAYOUT:MENU_MAIN", "another type"},
    };
    for (const auto& f : failures) {
        EXPECT_FALSE(menu.LoadMenu(f.id)) << f.what;
        EXPECT_EQ(nullptr, menu.GetHMenu()) << f.what;
    }
    EXPECT_FALSE(menu.LoadMenu(nullptr));
    ASSERT_TRUE(menu.LoadMenu(L"xml:menu_main"));
    HMENU first = menu.GetHMenu();
    EXPECT_EQ(3, ::GetMenuItemCount(first));
    EXPECT_STREQ(L"E&xit", ItemData(first, 2)->strText);
    EXPECT_EQ(22, menu.GetAttr().m_nItemHei);
    EXPECT_STREQ(L"main", menu.GetAttr().m_strTrCtx);
    // Loaded once: later loads change nothing.
    EXPECT_FALSE(menu.LoadMenu(L"XML:MENU_MAIN"));
    EXPECT_FALSE(Load(menu, L"<menu><item id='5'>other</item></menu>"));
    EXPECT_EQ(first, menu.GetHMenu());
    EXPECT_EQ(3, ::GetMenuItemCount(first));
    EXPECT_FALSE(menu.LoadMenu(pugi::xml_node()));
}

TEST_F(MenuBuildTest, DepthAndItemCountAreBounded)
{
    const struct {
        std::wstring xml;
        bool loads;
        const char* what;
    } cases[] = {
        {Nested(SMenu::kMaxDepth), true, "as deep as allowed"},
        {Nested(SMenu::kMaxDepth + 1), false, "one level deeper"},
        {Flat(SMenu::kMaxItems), true, "as many items as allowed"},
        {Flat(SMenu::kMaxItems + 1), false, "one item more"},
    };
    for (const auto& c : cases) {
        SMenu menu;
        menu.GetAttr().m_nItemHei = 7;
        EXPECT_EQ(c.loads, Load(menu, c.xml.c_str())) << c.what;
        EXPECT_EQ(c.loads, menu.GetHMenu() != nullptr) << c.what;
        // A refused definition leaves the old attributes.
        if (!c.loads) {
            EXPECT_EQ(7, menu.GetAttr().m_nItemHei) << c.what;
        }
    }
}

// Only the root frees: copies and views of a built menu share its native
// menu and records, and neither frees them (the leak check counts the
// records' texts, so a second free or none shows).
TEST_F(MenuBuildTest, CopiesAndViewsFreeNothing)
{
    SMenu root;
    ASSERT_TRUE(Load(root, kTree));
    HMENU h = root.GetHMenu();
    {
        SMenu copy(root);
        EXPECT_TRUE(copy.IsView());
        EXPECT_EQ(h, copy.GetHMenu());
        EXPECT_EQ(22, copy.GetAttr().m_nItemHei);
        SMenu copyOfCopy(copy);
        EXPECT_TRUE(copyOfCopy.IsView());
        // A view cannot be loaded, and items inserted through it belong to the root.
        EXPECT_FALSE(Load(copyOfCopy, L"<menu><item id='1'>x</item></menu>"));
        EXPECT_TRUE(copyOfCopy.InsertMenu(0, MF_BYPOSITION, 77, L"through a copy"));
    }
    EXPECT_TRUE(::IsMenu(h));
    EXPECT_STREQ(L"through a copy", ItemData(h, 0)->strText);
    {
        SMenu sub = root.GetSubMenu(6);
        EXPECT_TRUE(sub.IsView());
        EXPECT_EQ(::GetSubMenu(h, 6), sub.GetHMenu());
        SMenu deep = sub.GetSubMenu(2);
        EXPECT_TRUE(deep.InsertMenu(0, MF_BYPOSITION, 78, L"into a view"));
        SMenu none = root.GetSubMenu(1);
        EXPECT_EQ(nullptr, none.GetHMenu());
        EXPECT_FALSE(Load(none, L"<menu><item id='1'>x</item></menu>")) << "a view of nothing builds nothing";
    }
    EXPECT_TRUE(::IsMenu(::GetSubMenu(h, 6)));
    // A copy of a menu not built yet is a menu of its own.
    SMenu empty;
    empty.GetAttr().m_nTextMargin = 9;
    SMenu own(empty);
    EXPECT_FALSE(own.IsView());
    EXPECT_EQ(9, own.GetAttr().m_nTextMargin);
    EXPECT_TRUE(Load(own, L"<menu><item id='1'>mine</item></menu>"));
    EXPECT_EQ(nullptr, empty.GetHMenu());
}

// A view leans on the root alone: the view it was taken from, or the view a
// menu was inserted through, may go first.
TEST_F(MenuBuildTest, ViewsOutliveTheViewsTheyCameFrom)
{
    FreedMemoryProbe probe;
    SMenu root;
    ASSERT_TRUE(Load(root, kTree));
    HMENU h = root.GetHMenu();
    auto sub = std::make_unique<SMenu>(root.GetSubMenu(5));
    SMenu deep = sub->GetSubMenu(2);
    SMenu copyOfDeep(deep);
    SMenu inserted;
    ASSERT_TRUE(Load(inserted, L"<menu><item id='60'>sixty</item></menu>"));
    ASSERT_TRUE(sub->InsertMenu(0, MF_BYPOSITION, inserted, L"inserted"));
    const void* volatile gone = sub.get();  // only looked up once freed
    sub.reset();
    ASSERT_TRUE(FreedMemoryProbe::IsFreed(gone));

    EXPECT_TRUE(deep.InsertMenu(0, MF_BYPOSITION, 80, L"into deep"));
    EXPECT_TRUE(copyOfDeep.InsertMenu(0, MF_BYPOSITION, 81, L"into its copy"));
    EXPECT_TRUE(inserted.InsertMenu(0, MF_BYPOSITION, 82, L"into the inserted"));
    HMENU subHandle = ::GetSubMenu(h, 5);
    EXPECT_STREQ(L"into its copy", ItemData(::GetSubMenu(subHandle, 3), 0)->strText);
    EXPECT_STREQ(L"into deep", ItemData(::GetSubMenu(subHandle, 3), 1)->strText);
    EXPECT_STREQ(L"into the inserted", ItemData(::GetSubMenu(subHandle, 0), 0)->strText);
    // The records are the root's: the leak check sees them freed with it.
}

TEST_F(MenuBuildTest, InsertingItemsSeparatorsAndSubMenus)
{
    SMenu unbuilt;
    EXPECT_FALSE(unbuilt.InsertMenu(0, MF_BYPOSITION, 1, L"nowhere"));

    SMenu root;
    ASSERT_TRUE(Load(root, L"<menu><item id='1'>one</item></menu>"));
    HMENU h = root.GetHMenu();
    EXPECT_TRUE(root.InsertMenu(1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr));
    EXPECT_TRUE(root.InsertMenu(2, MF_BYPOSITION | MFT_RADIOCHECK | MF_CHECKED, 5, L"&radio", 3));
    EXPECT_TRUE(root.InsertMenu(3, MF_BYPOSITION | MF_GRAYED, 6, nullptr));
    EXPECT_FALSE(root.InsertMenu(0, MF_BYPOSITION | MF_POPUP, 7, L"raw popup")) << "sub-menus only as SMenu";
    SMenu nothing = root.GetSubMenu(0);
    EXPECT_FALSE(nothing.InsertMenu(0, MF_BYPOSITION, 8, L"into no menu"));
    ASSERT_EQ(4, ::GetMenuItemCount(h));
    EXPECT_EQ(UINT(MFT_SEPARATOR | MFT_OWNERDRAW), ItemInfo(h, 1).fType);
    EXPECT_EQ(nullptr, ItemData(h, 1));
    const SMenuItemData* radio = ItemData(h, 2);
    EXPECT_TRUE(radio->bRadio);
    EXPECT_EQ(5u, radio->nId);
    EXPECT_EQ(3, radio->iIcon);
    EXPECT_EQ(L'r', radio->vHotKey);
    EXPECT_EQ(UINT(MFT_RADIOCHECK | MFT_OWNERDRAW), ItemInfo(h, 2).fType);
    EXPECT_STREQ(L"", ItemData(h, 3)->strText);
    EXPECT_EQ(UINT(MF_GRAYED), ItemInfo(h, 3).fState & MFS_GRAYED);

    // A built root goes in whole: its records now belong to this root, and it
    // frees nothing when it goes first.
    {
        SMenu sub;
        ASSERT_TRUE(Load(sub, L"<menu><item id='40'>a</item><item>b<item id='41'>c</item></item></menu>"));
        HMENU subHandle = sub.GetHMenu();
        EXPECT_TRUE(root.InsertMenu(4, MF_BYPOSITION, sub, L"&more", 1));
        EXPECT_TRUE(sub.IsView());
        EXPECT_EQ(subHandle, ::GetSubMenu(h, 4));
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(subHandle), ItemData(h, 4)->nId);
        EXPECT_FALSE(root.InsertMenu(5, MF_BYPOSITION, sub, L"again")) << "no longer a root";
        EXPECT_TRUE(sub.InsertMenu(0, MF_BYPOSITION, 42, L"added through the view"));
    }
    EXPECT_TRUE(::IsMenu(::GetSubMenu(h, 4)));
    EXPECT_STREQ(L"c", ItemData(::GetSubMenu(::GetSubMenu(h, 4), 2), 0)->strText);

    // No cycles, and nothing that is not built.
    SMenu notBuilt;
    EXPECT_FALSE(root.InsertMenu(0, MF_BYPOSITION, notBuilt, L"empty"));
    SMenu view = root.GetSubMenu(4);
    EXPECT_FALSE(view.InsertMenu(0, MF_BYPOSITION, root, L"itself"));
    EXPECT_FALSE(root.InsertMenu(0, MF_BYPOSITION, root, L"itself"));
}

// The root may also go before a menu it took in.
TEST_F(MenuBuildTest, RootGoingFirstLeavesInsertedMenusHarmless)
{
    SMenu sub;
    auto root = std::make_unique<SMenu>();
    ASSERT_TRUE(Load(*root, L"<menu><item id='1'>one</item></menu>"));
    ASSERT_TRUE(Load(sub, L"<menu><item id='2'>two</item></menu>"));
    ASSERT_TRUE(root->InsertMenu(0, MF_BYPOSITION, sub, L"sub"));
    root.reset();
    EXPECT_FALSE(::IsMenu(sub.GetHMenu()));
}

// Every allocation of a build may fail: no leak, no half-made menu kept.
TEST_F(MenuBuildTest, FailedAllocationsLeaveNothingBehind)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(kTree));
    bool built = false;
    for (long n = 0; n < 400 && !built; ++n) {
        SMenu menu;
        MemFailAfter(n);
        const BOOL fromNode = menu.LoadMenu(doc.first_child());
        SMenu byId;
        const BOOL fromResource = byId.LoadMenu(L"XML:MENU_MAIN");
        SMenu sub;
        sub.LoadMenu(doc.first_child());
        const BOOL inserted = menu.InsertMenu(0, MF_BYPOSITION, sub, L"sub");
        MemFailAfter(-1);
        EXPECT_EQ(fromNode != FALSE, menu.GetHMenu() != nullptr);
        EXPECT_EQ(fromResource != FALSE, byId.GetHMenu() != nullptr);
        if (inserted) {
            EXPECT_TRUE(sub.IsView());
        }
        built = fromNode && fromResource && inserted;
    }
    EXPECT_TRUE(built) << "some run went through whole";
}

TEST_F(MenuBuildTest, RicheditMenuGreying)
{
    pugi::xml_document def;
    ASSERT_TRUE(def.load_string(
        L"<editmenu trCtx='editmenu' iconSkin='_skin.sys.icons' itemHeight='26' iconMargin='4' textMargin='8'>"
        L"<item id='1' icon='3'>cut</item><item id='2' icon='4'>copy</item><item id='3' icon='5'>paste</item>"
        L"<item id='4'>delete</item><sep/><item id='5'>select all</item></editmenu>"));
    SMenu unbuilt;
    EXPECT_FALSE(GreyRicheditMenu(unbuilt, RicheditMenuState()));
    SRicheditMenuDef::GetSingletonPtr()->SetMenu(pugi::xml_node());
    EXPECT_FALSE(LoadRicheditMenu(unbuilt));
    SRicheditMenuDef::GetSingletonPtr()->SetMenu(def.first_child());

    // Which of cut, copy, paste, delete, select all are grey.
    const struct {
        bool sel, readOnly, canPaste, empty;
        const char* grey;
    } cases[] = {
        {true, false, true, false, "....."},
        {false, false, true, false, "xx.x."},
        {true, true, true, false, "x.xx."},
        {true, false, false, false, "..x.."},
        {false, false, false, true, "xxxxx"},
        {false, true, true, false, "xxxx."},
    };
    for (const auto& c : cases) {
        SMenu menu;
        ASSERT_TRUE(LoadRicheditMenu(menu));
        RicheditMenuState state;
        state.hasSelection = c.sel;
        state.readOnly = c.readOnly;
        state.canPaste = c.canPaste;
        state.empty = c.empty;
        EXPECT_TRUE(GreyRicheditMenu(menu, state));
        std::string grey;
        for (UINT id = kRicheditMenuCut; id <= kRicheditMenuSelectAll; ++id)
            grey += (::GetMenuState(menu.GetHMenu(), id, MF_BYCOMMAND) & MF_GRAYED) ? 'x' : '.';
        EXPECT_EQ(c.grey, grey) << "selection " << c.sel << " read-only " << c.readOnly << " can paste "
                                << c.canPaste << " empty " << c.empty;
        EXPECT_EQ(26, menu.GetAttr().m_nItemHei);
    }
    SRicheditMenuDef::GetSingletonPtr()->SetMenu(pugi::xml_node());
}
