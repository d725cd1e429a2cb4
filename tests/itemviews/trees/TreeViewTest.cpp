// The tree locator over a test adapter (sizes, offsets across collapse and
// expand, lookups at row boundaries) and the tree view on a real container:
// keys, clicks on rows and on empty space, a null adapter, refused indent.
#include "TreeAdapter.h"
#include "ViewHost.h"

#include "LeakCheck.h"
#include "itemviews/STreeView.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace WUI;
using treetest::TreeAdapter;
using viewtest::ViewHost;

namespace {

class TreeViewTest : public LeakChecked {};

// f1 (c1, c2), f2 (c3), leaf: six items, all expanded.
struct Tree {
    Tree() : adapter(new TreeAdapter)
    {
        f1 = adapter->Add(L"f1");
        c1 = adapter->Add(L"c1", f1);
        c2 = adapter->Add(L"c2", f1);
        f2 = adapter->Add(L"f2");
        c3 = adapter->Add(L"c3", f2);
        leaf = adapter->Add(L"leaf");
    }
    ~Tree() { adapter->Release(); }
    TreeAdapter* adapter;
    HSTREEITEM f1, c1, c2, f2, c3, leaf;
};

TEST_F(TreeViewTest, TheLocatorSumsBranchesAndFollowsCollapse)
{
    Tree t;
    SAutoRefPtr<STreeViewItemLocator> loc;
    loc.Attach(new STreeViewItemLocator(10));
    loc->SetAdapter(t.adapter);
    loc->OnBranchChanged(STVI_ROOT);
    // Every item starts 50 high: six rows.
    EXPECT_EQ(300, loc->GetTotalHeight());
    EXPECT_EQ(100, loc->GetItemTop(t.c2));
    EXPECT_EQ(250, loc->GetItemTop(t.leaf));
    EXPECT_EQ(10, loc->GetItemIndent(t.c1));
    EXPECT_EQ(0, loc->GetItemIndent(t.f2));

    // Measured heights shift what follows.
    loc->RecordItemHeight(t.c1, 20);
    EXPECT_EQ(270, loc->GetTotalHeight());
    EXPECT_EQ(70, loc->GetItemTop(t.c2));
    EXPECT_EQ(120, loc->GetItemTop(t.f2));

    struct Case {
        int y;
        HSTREEITEM item;
    };
    const Case open[] = {{-1, 0}, {0, t.f1}, {49, t.f1}, {50, t.c1}, {69, t.c1}, {70, t.c2}, {119, t.c2},
                         {120, t.f2}, {169, t.f2}, {170, t.c3}, {219, t.c3}, {220, t.leaf}, {269, t.leaf}, {270, 0}};
    for (const Case& c : open) EXPECT_EQ(c.item, loc->GetItemAt(c.y)) << c.y;

    // Collapsing f1 takes its children's 120 away and moves f2 and leaf up.
    t.adapter->ExpandItem(t.f1, kTvCollapse);  // no observer: tell the locator by hand
    loc->OnExpandStateChanged(t.f1, TRUE, FALSE);
    EXPECT_EQ(200, loc->GetTotalHeight());
    EXPECT_EQ(50, loc->GetItemTop(t.f2));
    EXPECT_EQ(-1, loc->GetItemTop(t.c1)) << "hidden";
    const Case closed[] = {{49, t.f1}, {50, t.f2}, {100, t.c3}, {149, t.c3}, {150, t.leaf}, {199, t.leaf}, {200, 0}};
    for (const Case& c : closed) EXPECT_EQ(c.item, loc->GetItemAt(c.y)) << c.y;

    t.adapter->ExpandItem(t.f1, kTvExpand);
    loc->OnExpandStateChanged(t.f1, FALSE, TRUE);
    EXPECT_EQ(270, loc->GetTotalHeight());
    EXPECT_EQ(120, loc->GetItemTop(t.f2));
    EXPECT_EQ(t.c2, loc->GetItemAt(70));

    // Widths: the widest branch, indented, is the total; a narrower one changes nothing.
    loc->RecordItemWidth(t.c1, 200);
    EXPECT_EQ(210, loc->GetTotalWidth());
    loc->RecordItemWidth(t.leaf, 100);
    EXPECT_EQ(210, loc->GetTotalWidth());
    loc->RecordItemWidth(t.c1, 50);
    EXPECT_EQ(100, loc->GetTotalWidth()) << "the widest shrank: the next widest counts";
}

// The total width is the widest shown branch, indented, through every
// collapse, expand, change of a branch and new measure, so the end of the
// widest row can always be scrolled to.
TEST_F(TreeViewTest, TheTotalWidthFollowsCollapseChangeAndExpand)
{
    Tree t;
    SAutoRefPtr<STreeViewItemLocator> loc;
    loc.Attach(new STreeViewItemLocator(10));
    loc->SetAdapter(t.adapter);
    loc->OnBranchChanged(STVI_ROOT);
    for (HSTREEITEM item : {t.f1, t.c1, t.c2, t.f2, t.c3, t.leaf}) loc->RecordItemWidth(item, 100);
    loc->RecordItemWidth(t.c1, 300);
    loc->RecordItemWidth(t.leaf, 400);
    ASSERT_EQ(400, loc->GetTotalWidth());
    auto expand = [&](HSTREEITEM item, UINT code) {
        const BOOL was = t.adapter->IsItemExpanded(item);
        t.adapter->ExpandItem(item, code);  // no observer: tell the locator by hand
        loc->OnExpandStateChanged(item, was, t.adapter->IsItemExpanded(item));
    };
    const struct Step {
        const char* what;
        std::function<void()> act;
        int total;
    } steps[] = {
        {"leaf narrower: c1 is the widest", [&] { loc->RecordItemWidth(t.leaf, 50); }, 310},
        {"f1 collapsed: f2 with c3 is", [&] { expand(t.f1, kTvCollapse); }, 110},
        {"c3 wider while f1 is collapsed", [&] { loc->RecordItemWidth(t.c3, 150); }, 160},
        {"f2 narrower than its child: no change", [&] { loc->RecordItemWidth(t.f2, 90); }, 160},
        {"f1 expanded again: c1 counts", [&] { expand(t.f1, kTvExpand); }, 310},
        {"f1's branch rebuilt: its children back at the defaults", [&] { loc->OnBranchChanged(t.f1); }, 160},
        {"c1 measured again", [&] { loc->RecordItemWidth(t.c1, 300); }, 310},
        {"the whole tree rebuilt", [&] { loc->OnBranchChanged(STVI_ROOT); }, 20},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(s.total, loc->GetTotalWidth()) << s.what;
    }
}

TEST_F(TreeViewTest, TheWidestRowCanBeScrolledToAfterCollapseChangeAndExpand)
{
    ViewHost host;
    STreeView* tv = host.Load<STreeView>(
        L"<root><treeview name='tv' pos='0,0,200,100' sbSkin=''>"
        L"<template><text name='text' pos='0,0,-0,-0'/></template></treeview></root>",
        L"tv");
    ASSERT_TRUE(tv);
    TreeAdapter* adapter = new TreeAdapter;
    const HSTREEITEM f1 = adapter->Add(L"f1"), c1 = adapter->Add(L"c1", f1), leaf = adapter->Add(L"leaf");
    adapter->SetWidth(c1, 300);
    adapter->SetWidth(leaf, 400);
    tv->SetAdapter(adapter);
    EXPECT_EQ(400, tv->GetLocator()->GetTotalWidth());
    adapter->ExpandItem(f1, kTvCollapse);
    adapter->SetWidth(leaf, 50);  // the leaf's text got shorter: the next bind measures it again
    tv->UpdateVisibleItems();
    EXPECT_EQ(120, tv->GetLocator()->GetTotalWidth());
    adapter->ExpandItem(f1, kTvExpand);
    EXPECT_EQ(310, tv->GetLocator()->GetTotalWidth()) << "c1, one indent in";
    EXPECT_EQ(309, tv->GetScrollInfo(FALSE).nMax);
    tv->OnScroll(FALSE, SB_BOTTOM, 0);
    SItemPanel* panel = tv->GetItemPanel(c1);
    ASSERT_TRUE(panel);
    RECT row;
    ASSERT_TRUE(tv->GetItemRect(panel, &row));
    EXPECT_EQ(tv->GetClientRect().right, row.right) << "the end of c1 in sight";
    tv->SetAdapter(nullptr);
    adapter->Release();
}

// Rows 20 high in a view 100 high.
const wchar_t* kView =
    L"<root><treeview name='tv' pos='0,0,200,100' sbSkin=''>"
    L"<template><text name='text' pos='0,0,-0,-0'/></template></treeview></root>";

TEST_F(TreeViewTest, LeftAndRightKeysCollapseExpandAndMove)
{
    ViewHost host;
    STreeView* tv = host.Load<STreeView>(kView, L"tv");
    ASSERT_TRUE(tv);
    Tree t;
    ASSERT_TRUE(tv->SetAdapter(t.adapter));
    tv->SetFocus();
    EXPECT_EQ(5, tv->GetVisibleCount()) << "five 20-high rows fill the view";
    EXPECT_EQ(5 * 20 + 50, tv->GetLocator()->GetTotalHeight()) << "the sixth row is not measured yet";

    host.ClearEvents();
    struct Step {
        UINT vk;
        HSTREEITEM sel;
        bool f1Expanded;
    } steps[] = {
        {VK_DOWN, t.f1, true},   // the first visible item
        {VK_LEFT, t.f1, false},  // an expanded folder collapses
        {VK_DOWN, t.f2, false},  // past the hidden children
    };
    for (const Step& s : steps) {
        host.Key(s.vk);
        EXPECT_EQ(s.sel, tv->GetSel()) << s.vk;
        EXPECT_EQ(s.f1Expanded, t.adapter->IsItemExpanded(t.f1) != FALSE) << s.vk;
    }
    EXPECT_EQ(80, tv->GetLocator()->GetTotalHeight());
    host.Key(VK_UP);
    host.Key(VK_RIGHT);  // a collapsed folder expands
    EXPECT_EQ(t.f1, tv->GetSel());
    EXPECT_TRUE(t.adapter->IsItemExpanded(t.f1));
    host.Key(VK_RIGHT);  // an expanded one moves to the next visible item
    EXPECT_EQ(t.c1, tv->GetSel());
    host.Key(VK_RIGHT);  // a leaf too
    EXPECT_EQ(t.c2, tv->GetSel());
    host.Key(VK_LEFT);  // a leaf moves to the previous visible item
    EXPECT_EQ(t.c1, tv->GetSel());
    EXPECT_TRUE(tv->GetItemPanel(t.c1)->GetState() & kItemStateSelected);
    EXPECT_EQ(0, host.Events(EventTVSelChanged::EventID)) << "keys select without events";
}

TEST_F(TreeViewTest, ClicksSelectRowsAndEmptySpaceClearsTheSelection)
{
    ViewHost host;
    STreeView* tv = host.Load<STreeView>(kView, L"tv");
    ASSERT_TRUE(tv);
    Tree t;
    t.adapter->ExpandItem(t.f1, kTvCollapse);
    t.adapter->ExpandItem(t.f2, kTvCollapse);
    tv->SetAdapter(t.adapter);
    EXPECT_EQ(3, tv->GetVisibleCount());
    host.ClearEvents();
    host.Click(20, 30);  // f2
    EXPECT_EQ(t.f2, tv->GetSel());
    EXPECT_EQ(1, host.Events(EventTVSelChanging::EventID));
    EXPECT_EQ(1, host.Events(EventTVSelChanged::EventID));
    SItemPanel* panel = tv->GetItemPanel(t.f2);
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panel->GetState() & kItemStateSelected);

    // A double click toggles a folder.
    host.Mouse(WM_LBUTTONDBLCLK, 20, 30);
    EXPECT_TRUE(t.adapter->IsItemExpanded(t.f2));
    EXPECT_EQ(4, tv->GetVisibleCount());

    host.Click(20, 95);  // below the last row
    EXPECT_EQ(0u, tv->GetSel());
    EXPECT_FALSE(panel->GetState() & kItemStateSelected) << "the panel shows itself unselected";
    EXPECT_EQ(1, host.Events(EventTVSelChanged::EventID)) << "without events";
    host.PaintAll();
}

// A changing handler that selects another item itself: one panel at most
// shows selected.
TEST_F(TreeViewTest, AChangingHandlerThatMovesTheSelection)
{
    ViewHost host;
    STreeView* tv = host.Load<STreeView>(kView, L"tv");
    ASSERT_TRUE(tv);
    Tree t;
    tv->SetAdapter(t.adapter);
    struct Meddler {
        STreeView* tv;
        HSTREEITEM item;
        bool On(EventArgs&)
        {
            tv->SetSel(item, false);
            return false;
        }
    } meddler{tv, t.c1};
    tv->GetEventSet()->SubscribeEvent(EventTVSelChanging::EventID, &Meddler::On, &meddler);
    host.Click(20, 50);  // c2
    EXPECT_EQ(t.c2, tv->GetSel());
    int shown = 0;
    for (HSTREEITEM item : {t.f1, t.c1, t.c2, t.f2, t.c3})
        if (SItemPanel* panel = tv->GetItemPanel(item)) shown += (panel->GetState() & kItemStateSelected) != 0;
    EXPECT_EQ(1, shown);
    EXPECT_TRUE(tv->GetItemPanel(t.c2)->GetState() & kItemStateSelected);
}

TEST_F(TreeViewTest, ANullAdapterLeavesNoPanelsAndNoSelection)
{
    ViewHost host;
    STreeView* tv = host.Load<STreeView>(kView, L"tv");
    ASSERT_TRUE(tv);
    Tree t;
    tv->SetAdapter(t.adapter);
    EXPECT_EQ(1, t.adapter->Observers());
    host.Mouse(WM_MOUSEMOVE, 20, 10);
    host.Click(20, 10);
    EXPECT_EQ(t.f1, tv->GetSel());
    EXPECT_GT(tv->GetPanelCount(), 0);

    // Indent only while loading: the locator and its sizes stay.
    ITreeViewItemLocator* before = tv->GetLocator();
    EXPECT_EQ(E_FAIL, tv->SetAttribute(L"indent", L"30", FALSE));
    EXPECT_EQ(before, tv->GetLocator());
    EXPECT_EQ(10, tv->GetLocator()->GetItemIndent(t.c1));

    EXPECT_TRUE(tv->SetAdapter(nullptr));
    EXPECT_EQ(0, tv->GetPanelCount());
    EXPECT_EQ(0, tv->GetVisibleCount());
    EXPECT_EQ(0u, tv->GetSel());
    EXPECT_EQ(0, t.adapter->Observers());
    host.Mouse(WM_MOUSEMOVE, 30, 15);
    host.Key(VK_DOWN);
    host.PaintAll();
    t.adapter->NotifyChanged(STVI_ROOT);  // nobody listens any more
    EXPECT_EQ(0, tv->GetPanelCount());
}

TEST_F(TreeViewTest, AnEmptyTreeShowsNothingAndPagingBindsOnlyWhatIsInSight)
{
    ViewHost host;
    STreeView* tv = host.Load<STreeView>(kView, L"tv");
    ASSERT_TRUE(tv);
    TreeAdapter* empty = new TreeAdapter;
    tv->SetAdapter(empty);
    EXPECT_EQ(0, tv->GetLocator()->GetTotalHeight());
    EXPECT_EQ(0, tv->GetPanelCount());
    empty->Release();

    TreeAdapter* big = new TreeAdapter;
    for (int f = 0; f < 50; ++f) {
        const HSTREEITEM folder = big->Add(L"folder");
        for (int c = 0; c < 20; ++c) big->Add(L"item", folder);
    }
    tv->SetAdapter(big);
    EXPECT_GT(tv->GetLocator()->GetTotalHeight(), 1000 * 20) << "unmeasured items count 50";
    EXPECT_LE(tv->GetPanelCount(), 6);
    for (int i = 0; i < 30; ++i) {
        big->binds = 0;
        tv->OnScroll(TRUE, SB_PAGEDOWN, 0);
        // Rows coming in are measured: a second pass binds what then fits.
        EXPECT_LE(big->binds, 12) << i;
    }
    EXPECT_LE(tv->GetPanelCount(), 12);
    tv->SetAdapter(nullptr);
    big->Release();
}

// The six items of Tree with one kind of link made to loop. A count of the
// links followed far beyond what a tree of six items needs cuts the walk
// short (the links then end) and is reported.
class LoopingAdapter : public TreeAdapter {
public:
    enum Loop { kParent, kNextSibling, kPrevSibling, kChild };
    explicit LoopingAdapter(Loop loop) : m_loop(loop)
    {
        f1 = Add(L"f1");
        c1 = Add(L"c1", f1);
        c2 = Add(L"c2", f1);
        f2 = Add(L"f2");
        c3 = Add(L"c3", f2);
        leaf = Add(L"leaf");
    }
    // Whether the links followed since the last call ran away; counts afresh.
    bool RanAway()
    {
        const bool ran = m_steps > kRunaway;
        m_steps = 0;
        return ran;
    }
    // f1 under c1 under f1.
    HSTREEITEM GetParentItem(HSTREEITEM item) override
    {
        if (Cut()) return 0;
        return m_loop == kParent && item == f1 ? c1 : TreeAdapter::GetParentItem(item);
    }
    // Round the top level: after leaf comes f1, before f1 leaf.
    HSTREEITEM GetNextSiblingItem(HSTREEITEM item) override
    {
        if (Cut()) return 0;
        return m_loop == kNextSibling && item == leaf ? f1 : TreeAdapter::GetNextSiblingItem(item);
    }
    HSTREEITEM GetPrevSiblingItem(HSTREEITEM item) override
    {
        if (Cut()) return 0;
        return m_loop == kPrevSibling && item == f1 ? leaf : TreeAdapter::GetPrevSiblingItem(item);
    }
    // f1 is c1's only child.
    HSTREEITEM GetFirstChildItem(HSTREEITEM item) override
    {
        if (Cut()) return 0;
        return m_loop == kChild && item == c1 ? f1 : TreeAdapter::GetFirstChildItem(item);
    }
    HSTREEITEM GetLastChildItem(HSTREEITEM item) override
    {
        if (Cut()) return 0;
        return m_loop == kChild && item == c1 ? f1 : TreeAdapter::GetLastChildItem(item);
    }

    HSTREEITEM f1, c1, c2, f2, c3, leaf;

private:
    static const long kRunaway = 1000000;
    bool Cut() { return ++m_steps > kRunaway; }

    Loop m_loop;
    long m_steps = 0;
};

// Whatever the links say, every walk of the locator and of the view ends;
// an item whose ancestors never reach the root is not shown.
TEST_F(TreeViewTest, LinksThatLoopEndEveryWalk)
{
    const struct {
        const char* what;
        LoopingAdapter::Loop loop;
    } loops[] = {{"parents", LoopingAdapter::kParent},
                 {"next siblings", LoopingAdapter::kNextSibling},
                 {"previous siblings", LoopingAdapter::kPrevSibling},
                 {"children", LoopingAdapter::kChild}};
    for (const auto& l : loops) {
        SCOPED_TRACE(l.what);
        LoopingAdapter* a = new LoopingAdapter(l.loop);
        {
            SAutoRefPtr<STreeViewItemLocator> loc;
            loc.Attach(new STreeViewItemLocator(10));
            loc->SetAdapter(a);
            const std::pair<const char*, std::function<void()>> steps[] = {
                {"layout", [&] { loc->OnBranchChanged(STVI_ROOT); }},
                {"tops",
                 [&] {
                     for (HSTREEITEM item : {a->f1, a->c1, a->c2, a->f2, a->c3, a->leaf}) {
                         loc->GetItemTop(item);
                         loc->GetItemIndent(item);
                     }
                 }},
                {"lookups",
                 [&] {
                     for (int y = 0; y < 400; y += 10) loc->GetItemAt(y);
                 }},
                {"heights", [&] { loc->RecordItemHeight(a->c1, 20); }},
                {"widths",
                 [&] {
                     loc->RecordItemWidth(a->c1, 200);
                     loc->RecordItemWidth(a->c1, 50);
                 }},
                {"collapse",
                 [&] {
                     a->ExpandItem(a->f1, kTvCollapse);
                     loc->OnExpandStateChanged(a->f1, TRUE, FALSE);
                 }},
                {"expand",
                 [&] {
                     a->ExpandItem(a->f1, kTvExpand);
                     loc->OnExpandStateChanged(a->f1, FALSE, TRUE);
                 }},
                {"branch rebuilt", [&] { loc->OnBranchChanged(a->f1); }},
            };
            a->RanAway();
            for (const auto& step : steps) {
                step.second();
                EXPECT_FALSE(a->RanAway()) << step.first;
            }
            if (l.loop == LoopingAdapter::kParent) {
                for (HSTREEITEM item : {a->f1, a->c1, a->c2}) EXPECT_EQ(-1, loc->GetItemTop(item)) << item;
            }
        }
        {
            ViewHost host;
            STreeView* tv = host.Load<STreeView>(kView, L"tv");
            ASSERT_TRUE(tv);
            ASSERT_TRUE(tv->SetAdapter(a));
            tv->SetFocus();
            host.PaintAll();
            for (UINT vk : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_NEXT, VK_END, VK_HOME}) host.Key(vk);
            host.Click(20, 30);
            host.PaintAll();
            EXPECT_FALSE(a->RanAway()) << "the view";
        }
        a->Release();
    }
}

}  // namespace
