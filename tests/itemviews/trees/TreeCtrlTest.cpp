// The tree control on a real container: rows of an XML tree with a collapsed
// branch, hits at row boundaries, tri-state checks, expand events, handles
// of deleted items (also deleted from inside their own events), sorting all
// the way down and refused attributes.
#include "ViewHost.h"

#include "LeakCheck.h"
#include "itemviews/STreeCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace WUI;
using viewtest::ViewHost;

namespace {

class TreeCtrlTest : public LeakChecked {};

// Rows 20 high in a 200 x 100 client: a, a1, a2 (with a2x hidden), b.
const wchar_t* kTree =
    L"<root><treectrl name='tc' pos='0,0,200,100' checkBox='1' sbSkin=''>"
    L"<item text='a'><item text='a1'/><item text='a2' expand='0'><item text='a2x'/></item></item>"
    L"<item text='b' data='7'/></treectrl></root>";

STreeCtrl* LoadTree(ViewHost& host)
{
    return host.Load<STreeCtrl>(kTree, L"tc");
}

HSTREEITEM Find(STreeCtrl* tc, const wchar_t* text)
{
    for (HSTREEITEM h = tc->GetRootItem(); h; h = tc->GetNextItem(h))
        if (tc->GetItemText(h) == text) return h;
    return 0;
}

struct Recorder {
    std::vector<int> ids;
    std::vector<BOOL> collapsed;
    bool On(EventArgs& args)
    {
        ids.push_back(args.GetId());
        if (args.GetId() == EventTCExpand::EventID) collapsed.push_back(static_cast<EventTCExpand&>(args).bCollapsed);
        return false;
    }
};

TEST_F(TreeCtrlTest, ACollapsedBranchTakesNoRowsAndHitsFollowTheRows)
{
    ViewHost host;
    STreeCtrl* tc = LoadTree(host);
    ASSERT_TRUE(tc);
    EXPECT_EQ(5, tc->GetCount());
    EXPECT_EQ(4, tc->GetVisibleCount());
    EXPECT_EQ(80, tc->GetViewSize().cy);
    EXPECT_EQ(7, tc->GetItemData(Find(tc, L"b")));
    const RECT client = tc->GetClientRect();
    struct Case {
        int y;
        const wchar_t* item;  // null: no item
    } cases[] = {{-1, nullptr}, {0, L"a"}, {19, L"a"}, {20, L"a1"}, {59, L"a2"}, {60, L"b"}, {79, L"b"}, {80, nullptr}};
    for (const Case& c : cases) {
        POINT pt = {client.left + 40, client.top + c.y};
        const HSTREEITEM hit = tc->ItemFromPoint(pt);
        EXPECT_EQ(c.item ? Find(tc, c.item) : 0, hit) << c.y;
        if (hit) {
            EXPECT_EQ(c.y % 20, pt.y) << "relative to the row";
        }
    }
    // A level-1 row starts one indent in.
    EXPECT_EQ(client.left + 16, tc->GetItemRect(Find(tc, L"a1")).left);
    const RECT hidden = tc->GetItemRect(Find(tc, L"a2x"));
    EXPECT_TRUE(::IsRectEmpty(&hidden)) << "hidden rows have no rectangle";

    // Expanding shows the row; EnsureVisible expands the way down.
    tc->Expand(Find(tc, L"a"), kTvCollapse);
    EXPECT_EQ(2, tc->GetVisibleCount());
    EXPECT_TRUE(tc->EnsureVisible(Find(tc, L"a2x")));
    EXPECT_EQ(5, tc->GetVisibleCount());
    EXPECT_EQ(100, tc->GetViewSize().cy);
}

TEST_F(TreeCtrlTest, ChecksPropagateInThreeStates)
{
    ViewHost host;
    STreeCtrl* tc = LoadTree(host);
    ASSERT_TRUE(tc);
    const HSTREEITEM a = Find(tc, L"a"), a1 = Find(tc, L"a1"), a2 = Find(tc, L"a2"), a2x = Find(tc, L"a2x");
    struct Step {
        HSTREEITEM item;
        BOOL checked;
        int a, a1, a2, a2x;
    } steps[] = {
        {a, TRUE, 1, 1, 1, 1},     // a whole branch
        {a2x, FALSE, 2, 1, 0, 0},  // a2 has one child: it follows; a is mixed
        {a1, FALSE, 0, 0, 0, 0},   // all unchecked again
        {a2x, TRUE, 2, 0, 1, 1},
        {a1, TRUE, 1, 1, 1, 1},
    };
    for (const Step& s : steps) {
        EXPECT_TRUE(tc->SetCheckState(s.item, s.checked));
        EXPECT_EQ(s.a, tc->GetCheckState(a));
        EXPECT_EQ(s.a1, tc->GetCheckState(a1));
        EXPECT_EQ(s.a2, tc->GetCheckState(a2));
        EXPECT_EQ(s.a2x, tc->GetCheckState(a2x));
    }
    // Deleting the only unchecked child leaves the parent checked.
    tc->SetCheckState(a1, FALSE);
    EXPECT_EQ(2, tc->GetCheckState(a));
    tc->DeleteItem(a1);
    EXPECT_EQ(1, tc->GetCheckState(a));

    // (The click on a check box and its event are shown in the window test,
    // where the built-in skins give the row its parts.)
    const HSTREEITEM b = Find(tc, L"b");
    tc->SetAttribute(L"checkBox", L"0", FALSE);
    EXPECT_EQ(0, tc->GetCheckState(b));
    EXPECT_FALSE(tc->SetCheckState(b, FALSE));
}

// top (p (a (x, y)), q): deleting a leaves p without children.
TEST_F(TreeCtrlTest, AParentLeftWithoutChildrenIsNoLongerPartlyChecked)
{
    const struct Case {
        const wchar_t* checked;  // checked before a goes
        int p, top;              // their states after
    } cases[] = {
        {L"x", 0, 0},  // p was partly checked through a: a leaf cannot be
        {L"a", 1, 2},  // p was wholly checked: it stays so
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.checked);
        ViewHost host;
        STreeCtrl* tc = host.Load<STreeCtrl>(
            L"<root><treectrl name='tc' pos='0,0,200,100' checkBox='1'><item text='top'><item text='p'>"
            L"<item text='a'><item text='x'/><item text='y'/></item></item><item text='q'/></item></treectrl></root>",
            L"tc");
        ASSERT_TRUE(tc);
        ASSERT_TRUE(tc->SetCheckState(Find(tc, c.checked), TRUE));
        const HSTREEITEM p = Find(tc, L"p"), top = Find(tc, L"top");
        EXPECT_EQ(2, tc->GetCheckState(top));
        ASSERT_TRUE(tc->DeleteItem(Find(tc, L"a")));
        EXPECT_EQ(c.p, tc->GetCheckState(p));
        EXPECT_EQ(c.top, tc->GetCheckState(top));
    }
}

// top (p (x, y), q): a new child is unchecked, so its parent and every item
// above take their states from their children again.
TEST_F(TreeCtrlTest, AnUncheckedChildInsertedMakesItsParentsStatesAgain)
{
    const struct Case {
        const wchar_t* checked;  // checked before the insert
        const wchar_t* parent;   // the new child's parent
        int p, q, top;           // their states after
    } cases[] = {
        {L"top", L"p", 2, 1, 2},    // a checked parent is only partly checked now
        {L"top", L"top", 1, 1, 2},  // right under the top
        {L"q", L"p", 0, 1, 2},      // an unchecked parent stays so
        {L"top", L"q", 1, 0, 2},    // a checked leaf's first child decides its state
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.checked) + L" checked, under " + c.parent);
        ViewHost host;
        STreeCtrl* tc = host.Load<STreeCtrl>(
            L"<root><treectrl name='tc' pos='0,0,200,100' checkBox='1'><item text='top'><item text='p'>"
            L"<item text='x'/><item text='y'/></item><item text='q'/></item></treectrl></root>",
            L"tc");
        ASSERT_TRUE(tc);
        ASSERT_TRUE(tc->SetCheckState(Find(tc, c.checked), TRUE));
        const HSTREEITEM added = tc->InsertItem(L"new", Find(tc, c.parent), STVI_LAST, FALSE);
        ASSERT_TRUE(added);
        EXPECT_EQ(0, tc->GetCheckState(added));
        EXPECT_EQ(c.p, tc->GetCheckState(Find(tc, L"p")));
        EXPECT_EQ(c.q, tc->GetCheckState(Find(tc, L"q")));
        EXPECT_EQ(c.top, tc->GetCheckState(Find(tc, L"top")));
    }
}

TEST_F(TreeCtrlTest, TheToggleExpandsAndCollapsesWithEvents)
{
    ViewHost host;
    STreeCtrl* tc = LoadTree(host);
    ASSERT_TRUE(tc);
    Recorder rec;
    tc->GetEventSet()->SubscribeEvent(EventTCExpand::EventID, &Recorder::On, &rec);
    const HSTREEITEM a = Find(tc, L"a");
    RECT row = tc->GetItemRect(a);
    EXPECT_TRUE(tc->Expand(a, kTvToggle));
    EXPECT_TRUE(tc->IsCollapsed(a));
    EXPECT_EQ(2, tc->GetVisibleCount());
    EXPECT_EQ(40, tc->GetViewSize().cy);
    EXPECT_TRUE(tc->Expand(a, kTvExpand));
    EXPECT_FALSE(tc->IsCollapsed(a));
    EXPECT_EQ((std::vector<BOOL>{TRUE, FALSE}), rec.collapsed);
    EXPECT_FALSE(tc->Expand(Find(tc, L"b"), kTvToggle)) << "a leaf has nothing to expand";
    EXPECT_FALSE(tc->Expand(a, kTvExpand)) << "no change";
    EXPECT_EQ(2u, rec.collapsed.size());

    // A double click on the text toggles once more after its event.
    row = tc->GetItemRect(a);
    host.Mouse(WM_LBUTTONDBLCLK, row.left + 60, row.top + 10);
    EXPECT_TRUE(tc->IsCollapsed(a));
}

TEST_F(TreeCtrlTest, HandlesAreCheckedAgainstTheLiveItems)
{
    ViewHost host;
    STreeCtrl* tc = LoadTree(host);
    ASSERT_TRUE(tc);
    const HSTREEITEM a = Find(tc, L"a"), a1 = Find(tc, L"a1"), b = Find(tc, L"b");
    EXPECT_FALSE(tc->InsertItem(L"x", b, a1)) << "after an item of another parent";
    const HSTREEITEM top = tc->InsertItem(L"top", HSTREEITEM(0), STVI_FIRST);
    EXPECT_EQ(top, tc->GetRootItem()) << "parent 0 is the root";
    EXPECT_EQ(0, tc->GetItemLevel(top));

    host.ClearEvents();
    ASSERT_TRUE(tc->SelectItem(a1));
    EXPECT_EQ(1, host.Events(EventTCSelChanged::EventID));
    EXPECT_TRUE(tc->DeleteItem(a));
    EXPECT_EQ(0u, tc->GetSelectedItem()) << "the selection went with its branch";
    EXPECT_EQ(1, host.Events(EventTCSelChanged::EventID)) << "without events";
    for (HSTREEITEM gone : {a, a1}) {
        EXPECT_FALSE(tc->IsItem(gone));
        EXPECT_FALSE(tc->DeleteItem(gone));
        EXPECT_FALSE(tc->SelectItem(gone));
        EXPECT_FALSE(tc->EnsureVisible(gone));
        EXPECT_FALSE(tc->SetItemText(gone, L"x"));
        EXPECT_EQ(0, tc->InsertItem(L"x", gone));
    }
    EXPECT_EQ(2, tc->GetCount());
    EXPECT_EQ(2, tc->GetVisibleCount());
    EXPECT_EQ(40, tc->GetViewSize().cy);
    EXPECT_FALSE(tc->SelectItem(STVI_ROOT));
}

// Each event's handler deletes the item it is about; the control goes on
// without touching it (the leak check sees every record freed).
TEST_F(TreeCtrlTest, AnItemDeletedFromItsOwnEventHandler)
{
    for (int id : {int(EventTCExpand::EventID), int(EventTCSelChanged::EventID), int(EventTCSelChanging::EventID),
                   int(EventTCDbClick::EventID)}) {
        SCOPED_TRACE(id);
        ViewHost host;
        STreeCtrl* tc = LoadTree(host);
        ASSERT_TRUE(tc);
        struct Deleter {
            STreeCtrl* tc;
            HSTREEITEM item;
            bool On(EventArgs&)
            {
                tc->DeleteItem(item);
                return false;
            }
        } deleter{tc, Find(tc, L"a")};
        tc->GetEventSet()->SubscribeEvent(id, &Deleter::On, &deleter);
        const RECT row = tc->GetItemRect(deleter.item);
        // A click selects (the selection events); a double click fires its
        // own event, then toggles (the expand event).
        const int x = row.left + 40;
        if (id == EventTCSelChanged::EventID || id == EventTCSelChanging::EventID) host.Click(x, row.top + 10);
        else host.Mouse(WM_LBUTTONDBLCLK, x, row.top + 10);
        host.Mouse(WM_LBUTTONDBLCLK, x, row.top + 10);
        EXPECT_FALSE(tc->IsItem(deleter.item));
        EXPECT_EQ(1, tc->GetVisibleCount());
        EXPECT_EQ(Find(tc, L"b"), tc->GetRootItem());
        host.PaintAll();
    }
}

int __cdecl ByText(void* context, const void* a, const void* b)
{
    STreeCtrl* tc = static_cast<STreeCtrl*>(context);
    return wcscmp(tc->GetItemText(*static_cast<const HSTREEITEM*>(a)),
                  tc->GetItemText(*static_cast<const HSTREEITEM*>(b)));
}

std::wstring Children(STreeCtrl* tc, HSTREEITEM parent)
{
    std::wstring s;
    for (HSTREEITEM h = tc->GetChildItem(parent); h; h = tc->GetNextSiblingItem(h)) s += tc->GetItemText(h);
    return s;
}

TEST_F(TreeCtrlTest, SortingReachesEveryLevel)
{
    ViewHost host;
    STreeCtrl* tc = host.Load<STreeCtrl>(
        L"<root><treectrl name='tc' pos='0,0,200,100'>"
        L"<item text='c'><item text='z'><item text='3'/><item text='1'/><item text='2'/></item><item text='y'/></item>"
        L"<item text='a'><item text='q'><item text='9'/></item><item text='p'/></item>"
        L"<item text='b'/></treectrl></root>",
        L"tc");
    ASSERT_TRUE(tc);
    EXPECT_TRUE(tc->SortChildren(STVI_ROOT, &ByText, tc));
    EXPECT_EQ(L"abc", Children(tc, STVI_ROOT));
    EXPECT_EQ(L"pq", Children(tc, Find(tc, L"a")));
    EXPECT_EQ(L"yz", Children(tc, Find(tc, L"c")));
    EXPECT_EQ(L"123", Children(tc, Find(tc, L"z"))) << "a child with children of its own is sorted too";
    EXPECT_EQ(Find(tc, L"c"), tc->GetChildItem(STVI_ROOT, FALSE)) << "the last child follows the order";
    POINT pt = {20, 5};
    EXPECT_EQ(Find(tc, L"a"), tc->ItemFromPoint(pt)) << "rows follow the new order";
    EXPECT_FALSE(tc->SortChildren(STVI_ROOT, nullptr, nullptr));
}

// A compare function that answers anything, or changes the tree under the
// sort: every handle it is given is a live child of one parent, and the
// tree stays whole (the leak check sees every record freed once).
TEST_F(TreeCtrlTest, SortingSurvivesAHostileCompareFunction)
{
    struct Hostile {
        enum Mode { kCyclic, kFlipping, kDeleting, kInserting } mode;
        STreeCtrl* tc = nullptr;
        int calls = 0;
        int strays = 0;  // handles that were no item
        static int __cdecl Compare(void* context, const void* pa, const void* pb)
        {
            Hostile& h = *static_cast<Hostile*>(context);
            const HSTREEITEM a = *static_cast<const HSTREEITEM*>(pa), b = *static_cast<const HSTREEITEM*>(pb);
            ++h.calls;
            if (!h.tc->IsItem(a) || !h.tc->IsItem(b)) {
                ++h.strays;
                return 0;
            }
            const int da = int(h.tc->GetItemData(a)), db = int(h.tc->GetItemData(b));
            switch (h.mode) {
            case kCyclic:  // each pair answers consistently, the whole never orders
                return (da - db + 3) % 3 == 1 ? -1 : (db - da + 3) % 3 == 1 ? 1 : 0;
            case kFlipping:  // the same pair answers differently each time
                return h.calls % 3 ? -1 : 1;
            case kDeleting:
                if (h.calls == 5) h.tc->DeleteItem(h.tc->GetChildItem(STVI_ROOT));
                break;
            case kInserting:
                if (h.calls == 5) h.tc->InsertItem(L"new", STVI_ROOT, STVI_FIRST);
                break;
            }
            return db - da;
        }
    };
    for (Hostile::Mode mode : {Hostile::kCyclic, Hostile::kFlipping, Hostile::kDeleting, Hostile::kInserting}) {
        SCOPED_TRACE(int(mode));
        ViewHost host;
        STreeCtrl* tc = host.Load<STreeCtrl>(L"<root><treectrl name='tc' pos='0,0,200,100'/></root>", L"tc");
        ASSERT_TRUE(tc);
        for (int i = 0; i < 40; ++i) {
            const HSTREEITEM item = tc->InsertItem(L"item", -1, -1, LPARAM(i));
            if (i % 10 == 0) tc->InsertItem(L"child", -1, -1, LPARAM(100 + i), item);
        }
        const int count = tc->GetCount();
        Hostile hostile{mode, tc};
        EXPECT_TRUE(tc->SortChildren(STVI_ROOT, &Hostile::Compare, &hostile));
        EXPECT_EQ(0, hostile.strays);
        // Every child is an item, once, with its parent and level; the rows agree.
        int seen = 0;
        for (HSTREEITEM h = tc->GetChildItem(STVI_ROOT); h && seen <= count; h = tc->GetNextSiblingItem(h)) {
            ASSERT_TRUE(tc->IsItem(h));
            EXPECT_EQ(0u, tc->GetParentItem(h));
            ++seen;
            for (HSTREEITEM c = tc->GetChildItem(h); c; c = tc->GetNextSiblingItem(c)) {
                ASSERT_TRUE(tc->IsItem(c));
                EXPECT_EQ(h, tc->GetParentItem(c));
                ++seen;
            }
        }
        EXPECT_EQ(tc->GetCount(), seen);
        EXPECT_EQ(tc->GetCount(), tc->GetVisibleCount());
        const int expected = mode == Hostile::kDeleting ? count - 2 : mode == Hostile::kInserting ? count + 1 : count;
        EXPECT_EQ(expected, tc->GetCount());
        host.PaintAll();
    }
}

TEST_F(TreeCtrlTest, ARowHeightOfZeroIsRefused)
{
    ViewHost host;
    STreeCtrl* tc = LoadTree(host);
    ASSERT_TRUE(tc);
    EXPECT_EQ(E_FAIL, tc->SetAttribute(L"itemHeight", L"0", FALSE));
    EXPECT_EQ(E_FAIL, tc->SetAttribute(L"colorItemText", L"", FALSE));
    EXPECT_EQ(20, tc->GetItemHeight());
    EXPECT_EQ(S_OK, tc->SetAttribute(L"itemHeight", L"30", FALSE));
    EXPECT_EQ(120, tc->GetViewSize().cy);
    EXPECT_FALSE(tc->CreateChildren(pugi::xml_node())) << "an empty node";
    EXPECT_EQ(5, tc->GetCount()) << "leaves the items";
}

}  // namespace
