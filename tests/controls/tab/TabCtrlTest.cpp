// The tab control in a real element container without a window: geometry of
// the four sides, the selection rules, keys and mouse with their events,
// tooltips, painting of the strip, and the slide ticked by hand.
#include "LeakCheck.h"
#include "TabHost.h"

#include "controls/STabSlider.h"
#include "support/FreedMemoryProbe.h"

#include <algorithm>
#include <functional>

using namespace WUI;
using tabtest::TabEventLog;
using tabtest::TabHost;

namespace {

bool SameRect(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// A control at (10, 20) of 200 x 100: tabs of 40 x 20, 5 apart, the first 3 in.
std::wstring GeometryLayout(const wchar_t* side)
{
    return std::wstring(L"<c><tabctrl name='tab' pos='10,20,@200,@100' tabWidth='40' tabHeight='20'"
                        L" tabInterSize='5' tabPos='3' tabAlign='") +
           side + L"'><page name='p0'/><page/><page/><page/><page/></tabctrl></c>";
}

// Three coloured pages of 200 x 80 under a top strip of 20; steps from 0 up.
std::wstring SlideLayout(const wchar_t* side, int steps)
{
    return std::wstring(L"<c><tabctrl name='tab' pos='0,0,@200,@100' tabWidth='20' tabHeight='20' tabAlign='") +
           side + L"' animateSteps='" + std::to_wstring(steps) +
           L"'><page name='p0' colorBkgnd='#ff0000'/><page name='p1' colorBkgnd='#0000ff'/>"
           L"<page name='p2' colorBkgnd='#00ff00'/></tabctrl></c>";
}

const wchar_t kThreePages[] =
    L"<c><tabctrl name='tab' pos='0,0,@300,@100' tabWidth='50' tabHeight='20'>"
    L"<page name='p0' title='First'/><page name='p1' title='Second' tip='Second page'/>"
    L"<page name='p2' title='Third'/></tabctrl></c>";

// The indexes of the visible pages.
std::vector<int> VisiblePages(STabCtrl* tab)
{
    std::vector<int> shown;
    for (int i = 0; i < tab->GetItemCount(); ++i)
        if (tab->GetItem(i)->IsVisible(FALSE)) shown.push_back(i);
    return shown;
}

using Log = std::vector<std::wstring>;

}  // namespace

class TabCtrlTest : public LeakChecked {};

TEST_F(TabCtrlTest, GeometryOfTheFourSides)
{
    const struct {
        const wchar_t* side;
        RECT title, pages, item1, item4;  // item 4 runs past the strip's end
    } cases[] = {
        {L"top", {10, 20, 210, 40}, {10, 40, 210, 120}, {58, 20, 98, 40}, {193, 20, 210, 40}},
        {L"left", {10, 20, 50, 120}, {50, 20, 210, 120}, {10, 48, 50, 68}, {0, 0, 0, 0}},
        {L"bottom", {10, 100, 210, 120}, {10, 20, 210, 100}, {58, 100, 98, 120}, {193, 100, 210, 120}},
        {L"right", {170, 20, 210, 120}, {10, 20, 170, 120}, {170, 48, 210, 68}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.side);
        TabHost host;
        STabCtrl* tab = host.Load(GeometryLayout(c.side).c_str());
        ASSERT_NE(nullptr, tab);
        RECT item1, item4;
        ASSERT_TRUE(tab->GetItemRect(1, item1));
        ASSERT_TRUE(tab->GetItemRect(4, item4));
        EXPECT_TRUE(SameRect(c.title, tab->GetTitleRect())) << Show(tab->GetTitleRect());
        EXPECT_TRUE(SameRect(c.pages, tab->GetChildrenLayoutRect())) << Show(tab->GetChildrenLayoutRect());
        EXPECT_TRUE(SameRect(c.item1, item1)) << Show(item1);
        EXPECT_EQ(::IsRectEmpty(&c.item4) != FALSE, ::IsRectEmpty(&item4) != FALSE) << Show(item4);
        if (!::IsRectEmpty(&c.item4)) {
            EXPECT_TRUE(SameRect(c.item4, item4)) << Show(item4);
        }
        // Every page fills the page area.
        EXPECT_TRUE(SameRect(c.pages, tab->GetItem(0)->GetWindowRect())) << Show(tab->GetItem(0)->GetWindowRect());
        // Hit testing follows the item rectangles; the gap and the pages hit no tab.
        EXPECT_EQ(1, tab->HitTest(POINT{(item1.left + item1.right) / 2, (item1.top + item1.bottom) / 2}));
        EXPECT_EQ(-1, tab->HitTest(POINT{(c.pages.left + c.pages.right) / 2, (c.pages.top + c.pages.bottom) / 2}));
        RECT none = {1, 2, 3, 4};
        EXPECT_FALSE(tab->GetItemRect(5, none));
        EXPECT_FALSE(tab->GetItemRect(-1, none));
        EXPECT_EQ(1, none.left) << "a bad index leaves the rectangle alone";
    }
}

TEST_F(TabCtrlTest, AttributesAndTheirBadValues)
{
    TabHost host;
    STabCtrl* tab = host.Load(L"<c><tabctrl name='tab' pos='0,0,@100,@100' tabSize='30,12' tabAlign='bottom'/></c>");
    ASSERT_NE(nullptr, tab);
    EXPECT_EQ(30, tab->GetTabSize().cx);
    EXPECT_EQ(12, tab->GetTabSize().cy);
    EXPECT_EQ(STabCtrl::AlignBottom, tab->GetTabAlign());
    EXPECT_EQ(E_FAIL, tab->SetAttribute(L"tabAlign", L"middle", FALSE));
    EXPECT_EQ(E_FAIL, tab->SetAttribute(L"tabAlign", L"Left", FALSE)) << "keywords keep their case";
    EXPECT_EQ(STabCtrl::AlignBottom, tab->GetTabAlign());
    EXPECT_EQ(E_FAIL, tab->SetAttribute(L"textDir", L"diagonal", FALSE));
    EXPECT_TRUE(SUCCEEDED(tab->SetAttribute(L"textDir", L"vert", FALSE)));
    EXPECT_EQ(E_FAIL, tab->SetAttribute(L"tabSize", L"30", FALSE));
    EXPECT_EQ(30, tab->GetTabSize().cx);
    EXPECT_TRUE(SUCCEEDED(tab->SetAttribute(L"TABWIDTH", L"0x20", FALSE))) << "names ignore case, hex allowed";
    EXPECT_EQ(32, tab->GetTabSize().cx);
    // No pages: no selection.
    EXPECT_EQ(-1, tab->GetCurSel());
    EXPECT_TRUE(tab->IsFocusable());
}

TEST_F(TabCtrlTest, SelectionAfterLoading)
{
    const struct {
        const wchar_t* curSel;
        int expected;
    } cases[] = {{L"", 0}, {L"2", 2}, {L"7", 0}, {L"-1", 0}, {L"-5", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "curSel '" << c.curSel << "'");
        TabHost host;
        std::wstring xml = L"<c><tabctrl name='tab' pos='0,0,@300,@100' tabWidth='50' tabHeight='20'";
        if (*c.curSel) xml += std::wstring(L" curSel='") + c.curSel + L"'";
        xml += L"><page/><text name='stray'/><page/><page/></tabctrl></c>";
        STabCtrl* tab = host.Load(xml.c_str());
        ASSERT_NE(nullptr, tab);
        EXPECT_EQ(3, tab->GetItemCount()) << "nodes other than pages are ignored";
        EXPECT_EQ(nullptr, host.Find(L"stray"));
        EXPECT_EQ(c.expected, tab->GetCurSel());
        EXPECT_EQ(std::vector<int>{c.expected}, VisiblePages(tab));
    }
}

TEST_F(TabCtrlTest, InsertingPages)
{
    TabHost host;
    STabCtrl* tab = host.Load(L"<c><tabctrl name='tab' pos='0,0,@300,@100' tabWidth='50' tabHeight='20'/></c>");
    ASSERT_NE(nullptr, tab);
    TabEventLog log(tab);
    ASSERT_EQ(-1, tab->GetCurSel());
    // The first page after loading is selected, -1 counting as its real position.
    EXPECT_EQ(0, tab->InsertItem(L"<page name='a' title='A'/>", -1));
    EXPECT_EQ(0, tab->GetCurSel());
    EXPECT_EQ((Log{L"changing -1>0", L"changed -1>0"}), log.Take());
    EXPECT_EQ(std::vector<int>{0}, VisiblePages(tab));
    // Appending with -1 or past the end leaves the selection.
    EXPECT_EQ(1, tab->InsertItem(L"<page name='b'/>", -1));
    EXPECT_EQ(2, tab->InsertItem(L"<page name='c'/>", 9));
    EXPECT_EQ(0, tab->GetCurSel());
    EXPECT_TRUE(log.Take().empty());
    // Inserting before the current page moves the selection with its page.
    ASSERT_TRUE(tab->SetCurSel(1));
    log.Take();
    EXPECT_EQ(0, tab->InsertItem(L"<page name='z'/>", 0));
    EXPECT_EQ(2, tab->GetCurSel());
    EXPECT_STREQ(L"b", tab->GetItem(2)->GetName());
    EXPECT_EQ(std::vector<int>{2}, VisiblePages(tab)) << "a page inserted after loading is hidden";
    EXPECT_TRUE(SameRect(tab->GetChildrenLayoutRect(), tab->GetItem(0)->GetWindowRect()));
    EXPECT_TRUE(log.Take().empty());
    // Not a page, or no XML: nothing.
    EXPECT_EQ(-1, tab->InsertItem(L"<text/>", 0));
    EXPECT_EQ(-1, tab->InsertItem(L"<page", 0));
    EXPECT_EQ(-1, tab->InsertItem(static_cast<LPCWSTR>(nullptr), 0));
    EXPECT_EQ(4, tab->GetItemCount());
    // Lookups by name and title.
    EXPECT_EQ(1, tab->GetPageIndex(L"A", TRUE));
    EXPECT_EQ(3, tab->GetPageIndex(L"c", FALSE));
    EXPECT_EQ(-1, tab->GetPageIndex(L"A", FALSE));
    EXPECT_TRUE(tab->SetCurSel(L"A", TRUE));
    EXPECT_EQ(1, tab->GetCurSel());
    EXPECT_FALSE(tab->SetCurSel(L"none", FALSE));
    EXPECT_FALSE(tab->SetItemTitle(4, L"x"));
    EXPECT_TRUE(tab->SetItemTitle(3, L"Cee"));
    EXPECT_EQ(tab->GetItem(3), tab->GetPage(L"Cee", TRUE));
}

TEST_F(TabCtrlTest, RefusedSelectionsChangeNothing)
{
    TabHost host;
    STabCtrl* tab = host.Load(kThreePages);
    ASSERT_NE(nullptr, tab);
    TabEventLog log(tab);
    log.vetoTo = 2;
    for (int index : {-1, 3, 0, 2}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(tab->SetCurSel(index));
        EXPECT_EQ(0, tab->GetCurSel());
        EXPECT_EQ(std::vector<int>{0}, VisiblePages(tab));
    }
    EXPECT_EQ((Log{L"changing 0>2"}), log.Take()) << "only the vetoed change asked";
}

TEST_F(TabCtrlTest, RemovingPages)
{
    TabHost host;
    STabCtrl* tab = host.Load(
        L"<c><tabctrl name='tab' pos='0,0,@300,@100' tabWidth='50' tabHeight='20' curSel='2'>"
        L"<page name='p0'/><page name='p1'/><page name='p2'/><page name='p3'/></tabctrl></c>");
    ASSERT_NE(nullptr, tab);
    EXPECT_FALSE(tab->RemoveItem(4));
    EXPECT_FALSE(tab->RemoveItem(-1));
    EXPECT_EQ(4, tab->GetItemCount());
    // Before the current page: the selection follows its page.
    EXPECT_TRUE(tab->RemoveItem(0));
    EXPECT_EQ(1, tab->GetCurSel());
    EXPECT_STREQ(L"p2", tab->GetItem(1)->GetName());
    EXPECT_EQ(nullptr, host.Find(L"p0")) << "the page is destroyed";
    // The current page: the given selection, clamped to the pages left.
    EXPECT_TRUE(tab->RemoveItem(1, 9));
    EXPECT_EQ(1, tab->GetCurSel());
    EXPECT_STREQ(L"p3", tab->GetItem(1)->GetName());
    EXPECT_EQ(std::vector<int>{1}, VisiblePages(tab));
    tab->RemoveAllItems();
    EXPECT_EQ(0, tab->GetItemCount());
    EXPECT_EQ(-1, tab->GetCurSel());
    EXPECT_EQ(nullptr, host.Find(L"p1"));
    // Removing the last page leaves no selection either.
    EXPECT_EQ(0, tab->InsertItem(L"<page/>"));
    EXPECT_TRUE(tab->RemoveItem(0, 0));
    EXPECT_EQ(-1, tab->GetCurSel());
}

TEST_F(TabCtrlTest, KeysStepAndWrapWithChangingThenChanged)
{
    TabHost host;
    STabCtrl* tab = host.Load(kThreePages);
    ASSERT_NE(nullptr, tab);
    tab->SetFocus();
    ASSERT_TRUE(tab->IsFocused());
    TabEventLog log(tab);
    const struct {
        UINT key;
        int veto;
        int sel;
        Log events;
    } steps[] = {
        {VK_RIGHT, -1, 1, {L"changing 0>1", L"changed 0>1"}},
        {VK_DOWN, -1, 2, {L"changing 1>2", L"changed 1>2"}},
        {VK_RIGHT, -1, 0, {L"changing 2>0", L"changed 2>0"}},  // past the last: the first
        {VK_LEFT, -1, 2, {L"changing 0>2", L"changed 0>2"}},   // before the first: the last
        {VK_UP, -1, 1, {L"changing 2>1", L"changed 2>1"}},
        {VK_LEFT, 0, 2, {L"changing 1>0", L"changing 1>2", L"changed 1>2"}},  // a vetoed step wraps too
        {VK_HOME, -1, 0, {L"changing 2>0", L"changed 2>0"}},
        {VK_END, -1, 2, {L"changing 0>2", L"changed 0>2"}},
        {VK_END, -1, 2, {}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "key " << s.key << " to " << s.sel);
        log.vetoTo = s.veto;
        host.Key(s.key);
        EXPECT_EQ(s.sel, tab->GetCurSel());
        EXPECT_EQ(s.events, log.Take());
        EXPECT_EQ(std::vector<int>{s.sel}, VisiblePages(tab));
    }
}

TEST_F(TabCtrlTest, MouseSelectsAndHoverFollowsTheTabs)
{
    TabHost host;
    STabCtrl* tab = host.Load(kThreePages);
    ASSERT_NE(nullptr, tab);
    TabEventLog log(tab);
    host.Mouse(WM_MOUSEMOVE, 25, 10);  // the current tab
    host.Mouse(WM_MOUSEMOVE, 30, 12);
    host.Mouse(WM_MOUSEMOVE, 75, 10);
    EXPECT_EQ((Log{L"hover 0", L"leave 0", L"hover 1"}), log.Take());
    EXPECT_EQ(1, tab->GetHoverIndex());
    host.Mouse(WM_LBUTTONDOWN, 75, 10);
    host.Mouse(WM_LBUTTONUP, 75, 10);
    EXPECT_EQ(1, tab->GetCurSel());
    EXPECT_EQ((Log{L"changing 0>1", L"changed 0>1"}), log.Take());
    host.Mouse(WM_LBUTTONDOWN, 75, 10);  // the current tab again: nothing
    host.Mouse(WM_LBUTTONUP, 75, 10);
    EXPECT_TRUE(log.Take().empty());
    // Off the strip, then out of the control.
    host.Mouse(WM_MOUSEMOVE, 75, 60);
    EXPECT_EQ((Log{L"leave 1"}), log.Take());
    host.Mouse(WM_MOUSEMOVE, 125, 10);
    tab->SendSwndMessage(WM_MOUSELEAVE);
    EXPECT_EQ((Log{L"hover 2", L"leave 2"}), log.Take());
    EXPECT_EQ(-1, tab->GetHoverIndex());
}

TEST_F(TabCtrlTest, TooltipsBelongToTheTabs)
{
    TabHost host;
    STabCtrl* tab = host.Load(kThreePages);
    ASSERT_NE(nullptr, tab);
    SwndToolTipInfo info;
    ASSERT_TRUE(tab->GetToolTipInfo(POINT{75, 10}, info));
    EXPECT_EQ(tab->GetSwnd(), info.swnd);
    EXPECT_EQ(1u, info.key);
    EXPECT_TRUE(SameRect(RECT{50, 0, 100, 20}, info.rcTarget));
    EXPECT_STREQ(L"Second page", info.strTip);
    EXPECT_FALSE(tab->GetToolTipInfo(POINT{25, 10}, info)) << "the first page has no tip";
    EXPECT_FALSE(tab->GetToolTipInfo(POINT{75, 60}, info)) << "no tab there";
    EXPECT_FALSE(tab->GetItem(1)->GetToolTipInfo(POINT{75, 60}, info));
}

// Tab skin states: current pushed, hovered hover, others normal; the spacer
// between tabs; the frame around the pages.
TEST_F(TabCtrlTest, PaintsTabsSpacersAndFrame)
{
    TabHost host;
    host.AddSkins(L"<skin><colorrect name='skin_tab' normal='#808080' hover='#00ff00' pushdown='#0000ff'/>"
                  L"<colorrect name='skin_gap' normal='#ff00ff'/><colorrect name='skin_frame' normal='#ffff00'/>"
                  L"</skin>");
    STabCtrl* tab = host.Load(
        L"<c><tabctrl name='tab' pos='0,0,@300,@100' tabWidth='50' tabHeight='20' tabInterSize='10'"
        L" tabSkin='skin_tab' tabInterSkin='skin_gap' frameSkin='skin_frame'>"
        L"<page/><page/><page/></tabctrl></c>");
    ASSERT_NE(nullptr, tab);
    host.Mouse(WM_MOUSEMOVE, 150, 10);  // the third tab (120..170)
    host.PaintAll();
    EXPECT_EQ(0xFF0000FFu, host.Px(25, 10)) << "the current tab";
    EXPECT_EQ(0xFF808080u, host.Px(85, 10));
    EXPECT_EQ(0xFF00FF00u, host.Px(135, 10)) << "the hovered tab";
    EXPECT_EQ(0xFFFF00FFu, host.Px(55, 10)) << "the spacer";
    EXPECT_EQ(0u, host.Px(200, 10)) << "past the last tab";
    EXPECT_EQ(0xFFFFFF00u, host.Px(150, 60)) << "the frame over the page area";
}

TEST_F(TabCtrlTest, ASlideOfNStepsEndsAtTickNPlusOne)
{
    const struct {
        const wchar_t* side;
        int from, to;
        bool vertical;
        int start, step;  // along the slide's axis
    } cases[] = {
        {L"top", 0, 1, false, 0, 50},      // 200 / 4
        {L"top", 1, 0, false, 200, -50},   // backward starts at the far half
        {L"left", 0, 2, true, 0, 25},      // 100 / 4
        {L"right", 2, 1, true, 100, -25},
        {L"bottom", 0, 1, false, 0, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.side << " " << c.from << ">" << c.to);
        TabHost host;
        STabCtrl* tab = host.Load(SlideLayout(c.side, 0).c_str());
        ASSERT_NE(nullptr, tab);
        if (c.from != 0) {
            ASSERT_TRUE(tab->SetCurSel(c.from));
        }
        tab->SetAttribute(L"animateSteps", L"4", FALSE);
        TabEventLog log(tab);
        ASSERT_TRUE(tab->SetCurSel(c.to));
        EXPECT_EQ(c.to, tab->GetCurSel());
        EXPECT_EQ((Log{L"changing " + std::to_wstring(c.from) + L">" + std::to_wstring(c.to),
                       L"changed " + std::to_wstring(c.from) + L">" + std::to_wstring(c.to)}),
                  log.Take());
        STabSlider* slider = tab->GetSlider();
        ASSERT_NE(nullptr, slider);
        EXPECT_EQ(c.vertical, slider->IsVertical() != FALSE);
        EXPECT_TRUE(SameRect(tab->GetChildrenLayoutRect(), slider->GetWindowRect()));
        EXPECT_TRUE(VisiblePages(tab).empty()) << "the slider shows both pages";
        for (int tick = 1; tick <= 4; ++tick) {
            host.Tick();
            ASSERT_TRUE(tab->IsSliding()) << "tick " << tick;
            const POINT at = slider->GetOffset();
            EXPECT_EQ(c.start + tick * c.step, c.vertical ? at.y : at.x) << "tick " << tick;
            EXPECT_EQ(0, c.vertical ? at.x : at.y);
        }
        host.Tick();
        EXPECT_FALSE(tab->IsSliding());
        EXPECT_EQ(std::vector<int>{c.to}, VisiblePages(tab));
        EXPECT_EQ(3, tab->GetChildrenCount()) << "the slider is gone";
        host.Tick();  // nothing is left registered
    }
}

// Half-way through a forward slide the old page shows on the left half of the
// page area and the new one on the right.
TEST_F(TabCtrlTest, TheSlidePaintsBothPages)
{
    TabHost host;
    STabCtrl* tab = host.Load(SlideLayout(L"top", 4).c_str());
    ASSERT_NE(nullptr, tab);
    ASSERT_TRUE(tab->SetCurSel(1));
    host.PaintAll();
    EXPECT_EQ(0xFFFF0000u, host.Px(10, 50)) << "tick 0: the old page";
    EXPECT_EQ(0xFFFF0000u, host.Px(190, 50));
    host.Tick();
    host.Tick();
    host.PaintAll();
    EXPECT_EQ(0xFFFF0000u, host.Px(10, 50));
    EXPECT_EQ(0xFF0000FFu, host.Px(110, 50));
    EXPECT_EQ(0xFF0000FFu, host.Px(190, 50));
    for (int i = 0; i < 3; ++i) host.Tick();
    host.PaintAll();
    EXPECT_EQ(0xFF0000FFu, host.Px(10, 50)) << "the new page itself";
}

TEST_F(TabCtrlTest, WhatEndsASlideEarly)
{
    enum Ender { kSelectAgain, kRemoveOld, kResize, kDestroy, kNoSteps };
    for (Ender ender : {kSelectAgain, kRemoveOld, kResize, kDestroy, kNoSteps}) {
        SCOPED_TRACE(testing::Message() << "case " << ender);
        TabHost host;
        STabCtrl* tab = host.Load(SlideLayout(L"top", ender == kNoSteps ? -3 : 4).c_str());
        ASSERT_NE(nullptr, tab);
        ASSERT_TRUE(tab->SetCurSel(1));
        if (ender == kNoSteps) {
            EXPECT_FALSE(tab->IsSliding()) << "negative steps: no animation";
            EXPECT_EQ(std::vector<int>{1}, VisiblePages(tab));
            continue;
        }
        ASSERT_TRUE(tab->IsSliding());
        host.Tick();
        switch (ender) {
        case kSelectAgain:
            // The running slide ends at once and the next one starts from page 1.
            ASSERT_TRUE(tab->SetCurSel(2));
            EXPECT_TRUE(tab->IsSliding());
            EXPECT_EQ(0, tab->GetSlider()->GetTicks());
            EXPECT_EQ(4, tab->GetChildrenCount()) << "one slider only";
            break;
        case kRemoveOld:
            ASSERT_TRUE(tab->RemoveItem(0));
            EXPECT_FALSE(tab->IsSliding());
            EXPECT_EQ(0, tab->GetCurSel());
            EXPECT_EQ(std::vector<int>{0}, VisiblePages(tab));
            EXPECT_STREQ(L"p1", tab->GetItem(0)->GetName());
            break;
        case kResize: {
            const RECT bigger = {0, 0, 260, 100};
            tab->Move(&bigger);
            EXPECT_FALSE(tab->IsSliding());
            EXPECT_EQ(std::vector<int>{1}, VisiblePages(tab));
            break;
        }
        case kDestroy:
            tab->DestroyWindow();
            tab = nullptr;
            break;
        default: break;
        }
        // Later ticks reach no freed slider.
        for (int i = 0; i < 6; ++i) host.Tick();
        if (tab) {
            EXPECT_FALSE(tab->IsSliding());
            EXPECT_EQ(std::vector<int>{tab->GetCurSel()}, VisiblePages(tab));
        }
    }
}

namespace {

// Runs its action the first time the page it watches is hidden or shown.
struct OnceOnVisibility {
    std::function<void()> act;
    bool onShow = false;
    int calls = 0;
    bool On(EventArgs& args)
    {
        if (calls > 0 || (args.sender->IsVisible(FALSE) != FALSE) != onShow) return false;
        ++calls;
        act();
        return false;
    }
};

}  // namespace

// The pages' visibility handlers run while a selection moves: as the old page
// is hidden (with or without a slide) and as a running slide ends and shows
// its page. One that destroys the control or takes a page away leaves the
// selection running on nothing freed and one page, the current one, showing.
TEST_F(TabCtrlTest, PageVisibilityHandlersMayDestroyTheControlOrTakePagesAway)
{
    FreedMemoryProbe probe;
    enum Act { kDestroy, kRemoveTarget, kRemoveOld };
    const struct Case {
        const char* what;
        int steps;
        bool slideFirst;  // a slide 0>1 runs, and the one watched is page 1 shown as it ends
        Act act;
    } cases[] = {
        {"old page hidden, no slide, control destroyed", 0, false, kDestroy},
        {"old page hidden, no slide, new page removed", 0, false, kRemoveTarget},
        {"old page hidden, no slide, old page removed", 0, false, kRemoveOld},
        {"old page hidden for a slide, control destroyed", 4, false, kDestroy},
        {"old page hidden for a slide, new page removed", 4, false, kRemoveTarget},
        {"old page hidden for a slide, old page removed", 4, false, kRemoveOld},
        {"running slide ends, control destroyed", 4, true, kDestroy},
        {"running slide ends, page to select removed", 4, true, kRemoveTarget},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TabHost host;
        STabCtrl* tab = host.Load(SlideLayout(L"top", c.steps).c_str());
        ASSERT_NE(nullptr, tab);
        const int from = c.slideFirst ? 1 : 0, to = 2;
        if (c.slideFirst) {
            ASSERT_TRUE(tab->SetCurSel(1));
            ASSERT_TRUE(tab->IsSliding());
        }
        STabPage* target = tab->GetItem(to);
        OnceOnVisibility watch;
        watch.onShow = c.slideFirst;
        watch.act = [&] {
            if (c.act == kDestroy) tab->DestroyWindow();
            else tab->RemoveItem(tab->GetPageIndex(c.act == kRemoveOld ? L"p0" : L"p2", FALSE), 0);
        };
        tab->GetItem(from)->GetEventSet()->SubscribeEvent(EventSwndVisibleChanged::EventID, &OnceOnVisibility::On,
                                                           &watch);
        const BOOL moved = tab->SetCurSel(to);
        EXPECT_EQ(1, watch.calls);
        if (c.act == kDestroy) {
            EXPECT_TRUE(FreedMemoryProbe::IsFreed(tab));
            EXPECT_EQ(nullptr, host.Find(L"tab"));
            for (int i = 0; i < 6; ++i) host.Tick();
            continue;
        }
        EXPECT_EQ(2, tab->GetItemCount());
        if (c.act == kRemoveTarget) {
            EXPECT_FALSE(moved) << "the page to select went";
            EXPECT_TRUE(FreedMemoryProbe::IsFreed(target));
        } else {
            EXPECT_TRUE(moved);
            EXPECT_EQ(target, tab->GetItem(tab->GetCurSel()));
        }
        for (int i = 0; i < 6; ++i) host.Tick();
        EXPECT_FALSE(tab->IsSliding());
        EXPECT_EQ(std::vector<int>{tab->GetCurSel()}, VisiblePages(tab));
    }
}

// An arrow key wraps round only when its step was refused: a step whose
// handler moved the selection elsewhere, or destroyed the control, stands.
TEST_F(TabCtrlTest, AnArrowKeyDoesNotWrapOverAHandlersOwnSelection)
{
    for (bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "control destroyed" : "selection moved");
        TabHost host;
        STabCtrl* tab = host.Load(SlideLayout(L"top", 0).c_str());
        ASSERT_NE(nullptr, tab);
        ASSERT_TRUE(tab->SetCurSel(2));
        tab->SetFocus();
        OnceOnVisibility watch;
        watch.act = [&] {
            if (destroy) tab->DestroyWindow();
            else tab->SetCurSel(0);
        };
        tab->GetItem(2)->GetEventSet()->SubscribeEvent(EventSwndVisibleChanged::EventID, &OnceOnVisibility::On,
                                                        &watch);
        TabEventLog log(tab);
        host.Key(VK_LEFT);
        EXPECT_EQ(1, watch.calls);
        if (destroy) {
            EXPECT_EQ(nullptr, host.Find(L"tab"));
            continue;
        }
        EXPECT_EQ(0, tab->GetCurSel());
        EXPECT_EQ(std::vector<int>{0}, VisiblePages(tab));
        EXPECT_EQ((Log{L"changing 2>1", L"changing 1>0", L"changed 1>0"}), log.Take());
    }
}

namespace {

// The box around the pixels of a tab that differ from its white skin.
RECT InkBox(TabHost& host, const RECT& area)
{
    RECT box = {area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            if (host.Px(x, y) == 0xFFFFFFFFu) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
}

}  // namespace

// Where a title lands in its 120 x 60 tab for the text offsets and direction.
TEST_F(TabCtrlTest, TitlePlacement)
{
    const struct {
        const wchar_t* attrs;
        int left, right;   // the ink's left edge lies in [left, right]
        int top, bottom;   // its top edge in [top, bottom]
        bool taller;       // higher than wide
    } cases[] = {
        {L"", 30, 55, 12, 26, false},                       // centred by the style
        {L" text-x='6' text-y='4'", 6, 9, 4, 10, false},    // at the point
        {L" text-y='36'", 30, 55, 36, 42, false},           // centred across, below 36
        {L" text-x='70'", 70, 73, 12, 26, false},           // from 70 on, centred down
        {L" textDir='vert'", 50, 58, 0, 16, true},          // stacked, centred
        {L" textDir='vert' text-x='4' text-y='2'", 4, 7, 2, 8, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "attributes:" << c.attrs);
        TabHost host;
        host.AddSkins(L"<skin><colorrect name='skin_white' normal='#ffffff'/></skin>");
        const std::wstring xml = std::wstring(L"<c><tabctrl name='tab' pos='0,0,@240,@200' tabWidth='120'"
                                              L" tabHeight='60' tabSkin='skin_white' colorText='#000000'"
                                              L" align='center' valign='middle'") +
                                 c.attrs + L"><page title='WWW'/><page/></tabctrl></c>";
        ASSERT_NE(nullptr, host.Load(xml.c_str()));
        host.PaintAll();
        const RECT ink = InkBox(host, RECT{0, 0, 120, 60});
        ASSERT_LT(ink.left, ink.right) << "the title shows";
        EXPECT_GE(ink.left, c.left);
        EXPECT_LE(ink.left, c.right);
        EXPECT_GE(ink.top, c.top);
        EXPECT_LE(ink.top, c.bottom);
        EXPECT_EQ(c.taller, ink.bottom - ink.top > ink.right - ink.left) << Show(ink);
    }
}
