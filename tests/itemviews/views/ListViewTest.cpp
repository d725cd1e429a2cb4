// The list view over a test adapter on a real container: which rows are
// bound and how many panels exist, selection by click (with events) and by
// keys (without), measured rows, the scroll range, view types, and the
// lifetimes of view, adapter, observer and panels when calls cross.
#include "RowsAdapter.h"
#include "ViewHost.h"

#include "LeakCheck.h"
#include "itemviews/SListView.h"

#include <gtest/gtest.h>

using namespace WUI;
using viewtest::RowsAdapter;
using viewtest::ViewHost;

namespace {

class ListViewTest : public LeakChecked {};

// Rows 20 high in a view 100 high: five rows in sight.
const wchar_t* kFixed =
    L"<root><listview name=\"lv\" pos=\"0,0,200,100\" sbSkin=\"\">"
    L"<template itemHeight=\"20\"><text name=\"text\" pos=\"0,0,-0,-0\"/></template></listview></root>";
// Rows measured by the adapter, 30 high until then.
const wchar_t* kFlex =
    L"<root><listview name=\"lv\" pos=\"0,0,200,100\" sbSkin=\"\">"
    L"<template><text name=\"text\" pos=\"0,0,-0,-0\"/></template></listview></root>";

// Rows whose child element takes the mouse capture on a press.
const wchar_t* kCapturing =
    L"<root><listview name=\"lv\" pos=\"0,0,200,100\">"
    L"<template itemHeight=\"20\"><window name=\"text\" pos=\"0,0,-0,-0\"/></template></listview></root>";

// An adapter held by the test, released at the end.
struct Rows {
    explicit Rows(int n, bool* destroyed = nullptr) : adapter(new RowsAdapter(n, destroyed)) {}
    ~Rows() { adapter->Release(); }
    RowsAdapter* operator->() const { return adapter; }
    RowsAdapter* adapter;
};

struct Counter {
    int seen = 0;
    bool cancel = false;
    bool On(EventArgs& args)
    {
        ++seen;
        if (args.GetId() == EventLVSelChanging::EventID) static_cast<EventLVSelChanging&>(args).bCancel = cancel;
        return false;
    }
};

TEST_F(ListViewTest, WithoutTemplateNoAdapterIsTaken)
{
    bool destroyed = false;
    {
        ViewHost host;
        SListView* lv = host.Load<SListView>(L"<root><listview name=\"lv\" pos=\"0,0,200,100\"/></root>", L"lv");
        ASSERT_TRUE(lv);
        Rows rows(10, &destroyed);
        EXPECT_FALSE(lv->SetAdapter(rows.adapter));
        EXPECT_EQ(0, rows->inits);
        host.PaintAll();
        EXPECT_EQ(0, lv->GetPanelCount());
    }
    EXPECT_TRUE(destroyed);
}

TEST_F(ListViewTest, OnlyRowsInSightAreBoundAndPagingMakesNoPanels)
{
    ViewHost host;
    SListView* lv = host.Load<SListView>(kFixed, L"lv");
    ASSERT_TRUE(lv);
    Rows rows(1000);
    ASSERT_TRUE(lv->SetAdapter(rows.adapter));
    EXPECT_EQ(1, rows->inits);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), rows->boundRows);
    EXPECT_EQ(5, lv->GetPanelCount());
    EXPECT_TRUE(lv->GetItemPanel(4));
    EXPECT_FALSE(lv->GetItemPanel(5));

    // Half a row down: six rows show, one panel more.
    lv->OnScroll(TRUE, SB_THUMBPOSITION, 10);
    EXPECT_EQ(6, lv->GetVisibleCount());
    EXPECT_EQ(6, lv->GetPanelCount());
    for (int page = 0; page < 20; ++page) {
        rows->binds = 0;
        lv->OnScroll(TRUE, SB_PAGEDOWN, 0);
        EXPECT_LE(rows->binds, 6) << page;
        EXPECT_LE(lv->GetPanelCount(), 6) << page;
    }
    rows->boundRows.clear();
    lv->OnScroll(TRUE, SB_BOTTOM, 0);
    EXPECT_EQ(20000 - 100, lv->GetScrollPos(TRUE)) << "the last page ends at the last row";
    EXPECT_EQ(995, lv->GetFirstVisibleIndex());
    EXPECT_EQ(999, rows->boundRows.back());
    EXPECT_LE(lv->GetPanelCount(), 6);
    EXPECT_EQ(999, lv->GetItemPanel(999)->GetItemIndex());
}

TEST_F(ListViewTest, AClickFiresBothEventsTheKeyboardNeither)
{
    ViewHost host;
    SListView* lv = host.Load<SListView>(kFixed, L"lv");
    ASSERT_TRUE(lv);
    Rows rows(50);
    lv->SetAdapter(rows.adapter);
    host.ClearEvents();
    host.Click(10, 45);
    EXPECT_EQ(2, lv->GetSel());
    EXPECT_EQ(1, host.Events(15100));
    EXPECT_EQ(1, host.Events(15101));
    EXPECT_TRUE(lv->GetItemPanel(2)->GetState() & kItemStateSelected);

    host.Key(VK_DOWN);
    EXPECT_EQ(3, lv->GetSel());
    EXPECT_FALSE(lv->GetItemPanel(2)->GetState() & kItemStateSelected);
    EXPECT_TRUE(lv->GetItemPanel(3)->GetState() & kItemStateSelected);
    EXPECT_EQ(1, host.Events(15100));
    EXPECT_EQ(1, host.Events(15101));

    Counter canceller;
    canceller.cancel = true;
    lv->GetEventSet()->SubscribeEvent(EventLVSelChanging::EventID, &Counter::On, &canceller);
    host.ClearEvents();
    host.Click(10, 5);
    EXPECT_EQ(1, canceller.seen);
    EXPECT_EQ(3, lv->GetSel()) << "refused";
    EXPECT_EQ(0, host.Events(15101));
}

// The changing event's handler changes the selection or the rows itself:
// one row at most shows selected, and never a row that is gone.
TEST_F(ListViewTest, AChangingHandlerThatMovesTheSelectionOrTheRows)
{
    struct Meddler {
        SListView* lv;
        RowsAdapter* rows;
        bool shrink;
        bool On(EventArgs&)
        {
            if (shrink) {
                rows->count = 2;
                rows->NotifyChanged();
            } else {
                lv->SetSel(1, false);
            }
            return false;
        }
    };
    for (bool shrink : {false, true}) {
        SCOPED_TRACE(shrink);
        ViewHost host;
        SListView* lv = host.Load<SListView>(kFixed, L"lv");
        ASSERT_TRUE(lv);
        Rows rows(5);
        lv->SetAdapter(rows.adapter);
        Meddler meddler{lv, rows.adapter, shrink};
        lv->GetEventSet()->SubscribeEvent(EventLVSelChanging::EventID, &Meddler::On, &meddler);
        host.ClearEvents();
        host.Click(10, 65);  // row 3
        EXPECT_EQ(shrink ? -1 : 3, lv->GetSel());
        EXPECT_EQ(shrink ? 0 : 1, host.Events(EventLVSelChanged::EventID));
        int shown = 0;
        for (int i = 0; i < rows->count; ++i) {
            SItemPanel* panel = lv->GetItemPanel(i);
            ASSERT_TRUE(panel);
            if (panel->GetState() & kItemStateSelected) ++shown;
        }
        EXPECT_EQ(shrink ? 0 : 1, shown);
    }
}

TEST_F(ListViewTest, KeysMoveAndPageTheSelection)
{
    ViewHost host;
    SListView* lv = host.Load<SListView>(kFixed, L"lv");
    ASSERT_TRUE(lv);
    Rows rows(50);
    lv->SetAdapter(rows.adapter);
    lv->SetFocus();
    struct Step {
        UINT vk;
        int sel, pos;
    } steps[] = {
        {VK_DOWN, 0, 0},        // from no selection to the first row
        {VK_UP, 0, 0},          // nothing above the first row
        {VK_END, 49, 900},      // the last row, scrolled to the bottom
        {VK_DOWN, 49, 900},     // nothing below the last row
        {VK_PRIOR, 40, 800},    // a page up, the first row in sight
        {VK_NEXT, 49, 900},     // a page down, the last row in sight
        {VK_HOME, 0, 0},
        {VK_DOWN, 1, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "key " << s.vk);
        host.Key(s.vk);
        EXPECT_EQ(s.sel, lv->GetSel());
        EXPECT_EQ(s.pos, lv->GetScrollPos(TRUE));
    }
    // Moving down past the page scrolls the row fully into sight.
    for (int i = 0; i < 5; ++i) host.Key(VK_DOWN);
    EXPECT_EQ(6, lv->GetSel());
    EXPECT_EQ(40, lv->GetScrollPos(TRUE));
}

TEST_F(ListViewTest, ShrinkingRowsClearsTheSelectionSilentlyAndKeepsTheRangeTight)
{
    ViewHost host;
    SListView* lv = host.Load<SListView>(kFixed, L"lv");
    ASSERT_TRUE(lv);
    Rows rows(1000);
    lv->SetAdapter(rows.adapter);
    lv->SetSel(700, false);
    lv->OnScroll(TRUE, SB_BOTTOM, 0);
    host.ClearEvents();
    rows->count = 50;
    rows->NotifyChanged();
    EXPECT_EQ(-1, lv->GetSel());
    EXPECT_EQ(0, host.Events(15100) + host.Events(15101));
    EXPECT_EQ(1000 - 100, lv->GetScrollPos(TRUE)) << "held at total - page";
    EXPECT_EQ(45, lv->GetFirstVisibleIndex());
    EXPECT_EQ(5, lv->GetVisibleCount());
    rows->count = 3;
    rows->NotifyChanged();
    EXPECT_EQ(0, lv->GetScrollPos(TRUE));
    EXPECT_EQ(3, lv->GetVisibleCount());
    EXPECT_LE(lv->GetPanelCount(), 6);
}

TEST_F(ListViewTest, MeasuredRowsMoveTheScrollRangeInTheSameUpdate)
{
    ViewHost host;
    SListView* lv = host.Load<SListView>(kFlex, L"lv");
    ASSERT_TRUE(lv);
    ASSERT_FALSE(lv->GetItemLocator()->HasFixedHeight());
    Rows rows(100);
    rows->height = [](int) { return 40; };
    lv->SetAdapter(rows.adapter);
    const int total = lv->GetItemLocator()->GetTotalHeight();
    EXPECT_EQ(3000 + 10 * 3, total) << "the three rows in sight measured 40 instead of 30";
    EXPECT_EQ(total - 1, lv->GetScrollInfo(TRUE).nMax);
    EXPECT_EQ(3, lv->GetVisibleCount());
    EXPECT_EQ(40, lv->GetItemLocator()->GetItemTop(1));
    // Each step to the bottom measures the rows it brings in, which moves the
    // bottom further; a few steps reach the true end.
    for (int step = 0; step < 5; ++step) lv->OnScroll(TRUE, SB_BOTTOM, 0);
    EXPECT_EQ(lv->GetItemLocator()->GetTotalHeight() - 100, lv->GetScrollPos(TRUE));
    EXPECT_EQ(99, lv->GetFirstVisibleIndex() + lv->GetVisibleCount() - 1);
}

TEST_F(ListViewTest, HeightsThatNeverSettleAndNotificationsFromInsideABindEnd)
{
    ViewHost host;
    SListView* lv = host.Load<SListView>(kFlex, L"lv");
    ASSERT_TRUE(lv);
    Rows rows(100);
    int grow = 0;
    rows->height = [&](int) { return 10 + (++grow % 50); };  // a new height at every measure
    lv->SetAdapter(rows.adapter);
    EXPECT_LT(rows->measures, 200) << "the passes are capped";

    // An adapter that notifies from inside BindItem: no recursion without end.
    Rows noisy(100);
    int depth = 0, deepest = 0;
    noisy->onBind = [&](int) {
        ++depth;
        deepest = std::max(deepest, depth);
        noisy->NotifyChanged();
        --depth;
    };
    lv->SetAdapter(noisy.adapter);
    EXPECT_EQ(1, deepest);
    EXPECT_LT(noisy->binds, 200);
    EXPECT_GT(lv->GetVisibleCount(), 0);
}

TEST_F(ListViewTest, ARowWhoseTypeChangesGetsAPanelOfTheNewType)
{
    ViewHost host;
    SListView* lv = host.Load<SListView>(kFixed, L"lv");
    ASSERT_TRUE(lv);
    Rows rows(10);
    rows->types = 2;
    rows->viewType = [](int, DWORD state) { return (state & kItemStateSelected) ? 1 : 0; };
    lv->SetAdapter(rows.adapter);
    SItemPanel* before = lv->GetItemPanel(1);
    lv->SetSel(1, false);
    rows->NotifyChanged();
    SItemPanel* after = lv->GetItemPanel(1);
    EXPECT_NE(before, after);
    EXPECT_TRUE(after->GetState() & kItemStateSelected);
    EXPECT_EQ(6, lv->GetPanelCount()) << "the old panel is parked";
    EXPECT_FALSE(before->IsVisible(FALSE));
    EXPECT_FALSE(before->GetState() & kItemStateSelected);
}

TEST_F(ListViewTest, HoverAndCapturePanelsAreForgottenWhenPanelsGo)
{
    ViewHost host;
    SListView* lv = host.Load<SListView>(kCapturing, L"lv");
    ASSERT_TRUE(lv);
    Rows rows(100);
    lv->SetAdapter(rows.adapter);

    // A hovered row scrolled out is parked: it leaves once, and the view
    // no longer sends to it.
    host.Mouse(WM_MOUSEMOVE, 10, 5);
    SItemPanel* row0 = lv->GetItemPanel(0);
    ASSERT_TRUE(row0->GetState() & kItemStateHover);
    Counter leaves;
    row0->GetEventSet()->SubscribeEvent(EventItemPanelLeave::EventID, &Counter::On, &leaves);
    lv->OnScroll(TRUE, SB_PAGEDOWN, 0);
    EXPECT_EQ(1, leaves.seen);
    EXPECT_FALSE(row0->GetState() & kItemStateHover);
    lv->SendSwndMessage(WM_MOUSELEAVE);
    EXPECT_EQ(1, leaves.seen);
    row0->GetEventSet()->UnsubscribeEvent(EventItemPanelLeave::EventID, &Counter::On, &leaves);

    // A row holding the capture (its child took it on the press) whose
    // panels are all destroyed: the capture goes back and nothing points at them.
    host.Mouse(WM_MOUSEMOVE, 10, 25);
    host.Mouse(WM_LBUTTONDOWN, 10, 25);
    EXPECT_EQ(lv->GetSwnd(), host.Container().GetCapture());
    Rows other(5);
    lv->SetAdapter(other.adapter);
    EXPECT_NE(lv->GetSwnd(), host.Container().GetCapture());
    host.Mouse(WM_MOUSEMOVE, 10, 30);
    host.Mouse(WM_LBUTTONUP, 10, 30);
    lv->SendSwndMessage(WM_MOUSELEAVE);
    host.Mouse(WM_MOUSEMOVE, 10, 45);
    EXPECT_TRUE(lv->GetItemPanel(2)->GetState() & kItemStateHover);
}

TEST_F(ListViewTest, AnAdapterThatOutlivesItsViewCallsNothingFreed)
{
    bool destroyed = false;
    RowsAdapter* adapter = new RowsAdapter(20, &destroyed);
    adapter->keepObservers = true;  // it ignores the view's unregistering
    {
        ViewHost host;
        SListView* lv = host.Load<SListView>(kFixed, L"lv");
        ASSERT_TRUE(lv);
        lv->SetAdapter(adapter);
        EXPECT_EQ(1, adapter->Observers());
    }
    adapter->count = 5;
    adapter->NotifyChanged();  // reaches the observer of a view that is gone
    EXPECT_FALSE(destroyed);
    adapter->Release();
    EXPECT_TRUE(destroyed);

    // A well-behaved adapter is left with no observer.
    Rows rows(20);
    {
        ViewHost host;
        SListView* lv = host.Load<SListView>(kFixed, L"lv");
        ASSERT_TRUE(lv);
        lv->SetAdapter(rows.adapter);
        EXPECT_EQ(1, rows->Observers());
        host.Container().DestroyChild(lv);
        EXPECT_EQ(0, rows->Observers());
    }
}

TEST_F(ListViewTest, AViewDestroyedWhileItsAdapterNotifies)
{
    ViewHost host;
    host.Load<SListView>(L"<root><listview name=\"a\" pos=\"0,0,200,100\"><template itemHeight=\"20\"/></listview>"
                         L"<listview name=\"b\" pos=\"0,100,200,200\"><template itemHeight=\"20\"/></listview></root>",
                         L"a");
    SListView* a = sobj_cast<SListView>(host.Container().FindChildByName(L"a", -1));
    SListView* b = sobj_cast<SListView>(host.Container().FindChildByName(L"b", -1));
    ASSERT_TRUE(a && b);
    Rows rows(30);
    a->SetAdapter(rows.adapter);
    b->SetAdapter(rows.adapter);
    ASSERT_EQ(2, rows->Observers());
    // While the first view binds, the second is destroyed; the adapter's
    // walk still holds the second's observer and calls it.
    rows->onBind = [&](int) {
        if (b) {
            SListView* gone = b;
            b = nullptr;
            host.Container().DestroyChild(gone);
        }
    };
    rows->NotifyChanged();
    EXPECT_EQ(1, rows->Observers());

    // A view destroyed from inside its own bind stops binding.
    rows->onBind = [&](int) {
        if (a) {
            SListView* gone = a;
            a = nullptr;
            host.Container().DestroyChild(gone);
        }
    };
    const int before = rows->binds;
    rows->NotifyChanged();
    EXPECT_EQ(before + 1, rows->binds);
    EXPECT_EQ(0, rows->Observers());
}

TEST_F(ListViewTest, TheSelectedRowPaintsItsColour)
{
    ViewHost host;
    SListView* lv = host.Load<SListView>(kFixed, L"lv");
    ASSERT_TRUE(lv);
    Rows rows(10);
    lv->SetAdapter(rows.adapter);
    lv->SetSel(1, false);
    host.PaintAll();
    EXPECT_EQ(0xFF000080u, host.Px(150, 30)) << "the panel's colorSelected";
    EXPECT_NE(0xFF000080u, host.Px(150, 10));
    EXPECT_NE(0xFF000080u, host.Px(150, 50));
}

// The divider skin fills the gap the locator leaves between rows; a
// "dividerSize" set later is kept for the next template, and the strip
// still matches the rows.
TEST_F(ListViewTest, TheDividerFillsTheGapBetweenRows)
{
    ViewHost host;
    host.AddSkins(L"<skin><colorrect name='skin_divider' normal='#ff0000'/></skin>");
    SListView* lv = host.Load<SListView>(
        L"<root><listview name='lv' pos='0,0,200,100' sbSkin='' dividerSize='4' dividerSkin='skin_divider'>"
        L"<template itemHeight='20'><text name='text' pos='0,0,-0,-0'/></template></listview></root>",
        L"lv");
    ASSERT_TRUE(lv);
    Rows rows(10);
    lv->SetAdapter(rows.adapter);
    const DWORD red = 0xFFFF0000u;
    for (const wchar_t* size : {L"4", L"10", L"1"}) {
        SCOPED_TRACE(testing::Message() << "dividerSize " << size);
        lv->SetAttribute(L"dividerSize", size, FALSE);
        host.PaintAll();
        ASSERT_EQ(4, lv->GetItemLocator()->GetDividerHeight());
        EXPECT_NE(red, host.Px(150, 19)) << "row 0";
        EXPECT_EQ(red, host.Px(150, 20)) << "the gap below row 0";
        EXPECT_EQ(red, host.Px(150, 23)) << "the gap below row 0";
        EXPECT_NE(red, host.Px(150, 24)) << "row 1";
        EXPECT_NE(red, host.Px(150, 29)) << "row 1";
        EXPECT_EQ(red, host.Px(150, 45)) << "the gap below row 1";
    }
}

}  // namespace
