// The list control: cells kept by column number through column inserts,
// header drags and column deletes; rows going with the last column; rows
// from SetItemCount; selection with Shift and Ctrl through the container;
// geometry and scrolling; sorting; a list without a header.
#include "GridTestSupport.h"
#include "LeakCheck.h"
#include "itemviews/SListCtrl.h"

#include <algorithm>
#include <string>

using namespace WUI;
using namespace gridtest;

class ListCtrlTest : public LeakChecked {};

namespace {

// 300 x 200: a header of 24, rows of 20 below it; columns A, B, C 60 wide.
const wchar_t kList[] =
    L"<root><listctrl name='lc' pos='0,0,@300,@200' headerHeight='24' itemHeight='20' %ls>"
    L"<header name='hdr'><items><item width='60'>A</item><item width='60'>B</item><item width='60'>C</item>"
    L"</items></header></listctrl></root>";

SListCtrl* LoadList(GridHost& host, const wchar_t* attrs = L"")
{
    wchar_t xml[512];
    swprintf(xml, 512, kList, attrs);
    return host.Load<SListCtrl>(xml, L"lc");
}

std::wstring Cell(wchar_t column, int row)
{
    return std::wstring(1, column) + std::to_wstring(row);
}

// Rows 0..n-1 with cells "a<row>", "b<row>", "c<row>" in columns 0, 1, 2 and data 100 + row.
void FillRows(SListCtrl* lc, int n)
{
    for (int row = 0; row < n; ++row) {
        ASSERT_EQ(row, lc->InsertItem(-1, Cell(L'a', row).c_str()));
        ASSERT_TRUE(lc->SetSubItemText(row, 1, Cell(L'b', row).c_str()));
        ASSERT_TRUE(lc->SetSubItemText(row, 2, Cell(L'c', row).c_str()));
        lc->SetItemData(row, 100 + row);
    }
}

std::wstring Text(SListCtrl* lc, int row, int column)
{
    return static_cast<LPCWSTR>(lc->GetSubItemText(row, column));
}

std::vector<int> Selected(SListCtrl* lc)
{
    std::vector<int> rows;
    for (int i = 0; i < lc->GetItemCount(); ++i)
        if (lc->IsItemSelected(i)) rows.push_back(i);
    return rows;
}

// The middle of a row, in the first column.
POINT RowPoint(int row)
{
    return POINT{100, 24 + row * 20 + 10};
}

const int kChanging = EventLCSelChanging::EventID;
const int kChanged = EventLCSelChanged::EventID;
const int kDeleted = EventLCItemDeleted::EventID;

}  // namespace

TEST_F(ListCtrlTest, ColumnInsertedAtZeroKeepsEveryCellWithItsColumn)
{
    GridHost host;
    SListCtrl* lc = LoadList(host);
    ASSERT_TRUE(lc && lc->GetHeaderCtrl());
    FillRows(lc, 3);
    ASSERT_EQ(0, lc->InsertColumn(0, L"N", 40));
    ASSERT_EQ(4, lc->GetColumnCount());
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(L"", Text(lc, row, 0));  // the new column is column 0 now
        EXPECT_EQ(Cell(L'a', row), Text(lc, row, 1));
        EXPECT_EQ(Cell(L'b', row), Text(lc, row, 2));
        EXPECT_EQ(Cell(L'c', row), Text(lc, row, 3));
        EXPECT_EQ(4, lc->GetRow(row)->cells.GetCount());
    }
    // Column 1 (A) stands under the header's second item.
    const RECT a = lc->GetItemRect(1, 1);
    EXPECT_EQ(40, a.left);
    EXPECT_EQ(100, a.right);
    EXPECT_EQ(24 + 20, a.top);

    // Rows added by count have a cell for every column.
    EXPECT_TRUE(lc->SetItemCount(5));
    EXPECT_TRUE(lc->SetItemCount(2));  // never shrinks
    ASSERT_EQ(5, lc->GetItemCount());
    EXPECT_EQ(4, lc->GetRow(4)->cells.GetCount());
    EXPECT_TRUE(lc->SetSubItemText(4, 3, L"x"));
    EXPECT_EQ(L"x", Text(lc, 4, 3));
    EXPECT_FALSE(lc->SetSubItemText(4, 4, L"y"));
    EXPECT_FALSE(lc->SetSubItemText(5, 0, L"y"));
    EXPECT_EQ(L"", Text(lc, 5, 0));
}

TEST_F(ListCtrlTest, DeletingASwappedColumnKeepsTheOthersCells)
{
    GridHost host;
    SListCtrl* lc = LoadList(host);
    ASSERT_TRUE(lc);
    FillRows(lc, 3);
    SHeaderCtrl* hdr = lc->GetHeaderCtrl();
    // A dragged onto C: the header shows B, C, A.
    host.Drag(POINT{20, 10}, {POINT{21, 10}, POINT{150, 10}});
    ASSERT_STREQ(L"A", hdr->GetItemInfo(2)->text);
    ASSERT_EQ(0, hdr->GetItemOrder(2));
    EXPECT_EQ(120, lc->GetItemRect(0, 0).left);  // column A's cells follow its header item

    ASSERT_TRUE(lc->DeleteColumn(0));  // B, column 1
    ASSERT_EQ(2, lc->GetColumnCount());
    EXPECT_EQ(1, hdr->GetItemOrder(0));  // C moved down to column 1
    EXPECT_EQ(0, hdr->GetItemOrder(1));
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Cell(L'a', row), Text(lc, row, 0));
        EXPECT_EQ(Cell(L'c', row), Text(lc, row, 1));
        EXPECT_EQ(2, lc->GetRow(row)->cells.GetCount());
    }
    EXPECT_FALSE(lc->DeleteColumn(2));
    EXPECT_FALSE(lc->DeleteColumn(-1));
}

TEST_F(ListCtrlTest, RowsGoWithTheLastColumn)
{
    GridHost host;
    SListCtrl* lc = LoadList(host);
    ASSERT_TRUE(lc);
    FillRows(lc, 3);
    lc->SetSel(-1, 1);
    EventLog log(lc, {kDeleted});
    ASSERT_TRUE(lc->DeleteColumn(0));
    ASSERT_TRUE(lc->DeleteColumn(0));
    EXPECT_TRUE(log.Take().empty());
    ASSERT_TRUE(lc->DeleteColumn(0));
    EXPECT_EQ((std::vector<Fired>{{kDeleted, 0, 100}, {kDeleted, 1, 101}, {kDeleted, 2, 102}}), log.Take());
    EXPECT_EQ(0, lc->GetItemCount());
    EXPECT_EQ(-1, lc->InsertItem(0, L"none"));
    EXPECT_FALSE(lc->SetItemCount(3));
    // A new column starts an empty list, not the old rows with no cells.
    ASSERT_EQ(0, lc->InsertColumn(-1, L"New", 80));
    EXPECT_EQ(0, lc->GetItemCount());
    EXPECT_EQ(-1, lc->GetSelectedItem());
    EXPECT_EQ(-1, lc->GetCurrentItem());
    EXPECT_EQ(0, lc->InsertItem(5, L"first"));
    EXPECT_EQ(L"first", Text(lc, 0, 0));
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(ListCtrlTest, ShiftAndCtrlSelection)
{
    GridHost host;
    SListCtrl* lc = LoadList(host, L"multiSelection='1'");
    ASSERT_TRUE(lc);
    FillRows(lc, 6);
    EventLog log(lc, {kChanging, kChanged});
    const struct {
        BYTE hold;
        int row;
        std::vector<int> selected;
        int current;
    } steps[] = {
        {inputtest::kHoldNone, 1, {1}, 1},
        {inputtest::kHoldShift, 4, {1, 2, 3, 4}, 1},  // the current row stays the anchor
        {inputtest::kHoldShift, 0, {0, 1}, 1},
        {inputtest::kHoldCtrl, 3, {0, 1, 3}, 3},
        {inputtest::kHoldCtrl, 1, {0, 3}, 1},  // toggled off, yet current
        {inputtest::kHoldShift, 2, {1, 2}, 1},
        {inputtest::kHoldNone, 5, {5}, 5},
        {inputtest::kHoldNone, 7, {}, -1},  // below the rows: nothing selected
    };
    int old = -1;
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "hold " << int(s.hold) << " row " << s.row);
        GridHost::Hold(s.hold);
        const POINT pt = RowPoint(s.row);
        host.Click(pt.x, pt.y);
        EXPECT_EQ(s.selected, Selected(lc));
        EXPECT_EQ(s.current, lc->GetCurrentItem());
        const int hit = s.row < 6 ? s.row : -1;
        EXPECT_EQ((std::vector<Fired>{{kChanging, hit, old}, {kChanged, hit, old}}), log.Take());
        old = s.current;
    }
    GridHost::Hold(inputtest::kHoldNone);

    // Shift from no current row starts at row 0.
    lc->SetSelectedItem(-1);
    GridHost::Hold(inputtest::kHoldShift);
    host.Click(RowPoint(2).x, RowPoint(2).y);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), Selected(lc));
    EXPECT_EQ(0, lc->GetSelectedItem());
    EXPECT_EQ(2, lc->GetLastSelectedItem());
    EXPECT_EQ(3, lc->GetSelectedCount());

    // Without multiple selection the keys change nothing.
    lc->SetAttribute(L"multiSelection", L"0", FALSE);
    host.Click(RowPoint(4).x, RowPoint(4).y);
    EXPECT_EQ((std::vector<int>{4}), Selected(lc));
    GridHost::Hold(inputtest::kHoldNone);

    // A handler that cancels keeps the selection as it is.
    struct Veto {
        bool OnChanging(EventArgs& args)
        {
            static_cast<EventLCSelChanging&>(args).bCancel = TRUE;
            return true;
        }
    } veto;
    lc->GetEventSet()->SubscribeEvent(kChanging, &Veto::OnChanging, &veto);
    log.Take();
    host.Click(RowPoint(1).x, RowPoint(1).y);
    EXPECT_EQ((std::vector<int>{4}), Selected(lc));
    EXPECT_EQ(0, log.Count(kChanged));
}

TEST_F(ListCtrlTest, GeometryAndScrolling)
{
    GridHost host;
    SListCtrl* lc = LoadList(host);
    ASSERT_TRUE(lc);
    FillRows(lc, 20);
    // 176 pixels below the header: 8 whole rows, a 9th in part.
    EXPECT_EQ(8, lc->GetCountPerPage(FALSE));
    EXPECT_EQ(9, lc->GetCountPerPage(TRUE));
    EXPECT_TRUE(lc->HasScrollBar(TRUE));
    EXPECT_FALSE(lc->HasScrollBar(FALSE));
    EXPECT_EQ(399, lc->GetScrollInfo(TRUE).nMax);
    EXPECT_EQ(UINT(8 * 20), lc->GetScrollInfo(TRUE).nPage);  // whole rows only
    EXPECT_EQ(2, lc->HitTest(POINT{10, 24 + 45}));
    EXPECT_EQ(-1, lc->HitTest(POINT{10, 23}));  // on the header

    lc->SetScrollPos(TRUE, 50, TRUE);
    EXPECT_EQ(2, lc->GetTopIndex());
    EXPECT_EQ(2, lc->HitTest(POINT{10, 24}));
    EXPECT_EQ(24 + 40 - 50, lc->GetItemRect(2, 0).top);
    lc->SetScrollPos(TRUE, 10000, TRUE);
    EXPECT_EQ(400 - 160, lc->GetScrollPos(TRUE));

    // Wider columns than the list: the header scrolls with the rows.
    lc->InsertColumn(-1, L"Wide", 400);
    EXPECT_TRUE(lc->HasScrollBar(FALSE));
    EXPECT_EQ(579, lc->GetScrollInfo(FALSE).nMax);
    lc->SetScrollPos(FALSE, 100, TRUE);
    EXPECT_EQ(-100, lc->GetHeaderCtrl()->GetWindowRect().left);
    EXPECT_EQ(-100 + 60, lc->GetItemRect(0, 1).left);
    lc->DeleteColumn(3);  // no horizontal bar any more: back to the left
    EXPECT_FALSE(lc->HasScrollBar(FALSE));
    EXPECT_EQ(0, lc->GetScrollPos(FALSE));
    EXPECT_EQ(0, lc->GetHeaderCtrl()->GetWindowRect().left);

    // Widening C by its divider brings the horizontal bar back while dragging;
    // the first move already leaves the list.
    host.Drag(POINT{178, 10}, {POINT{400, 10}}, false);
    EXPECT_EQ(60 + 222, lc->GetHeaderCtrl()->GetItemWidth(2));
    EXPECT_TRUE(lc->HasScrollBar(FALSE));
    EXPECT_EQ(60 + 60 + 282 - 1, lc->GetScrollInfo(FALSE).nMax);
    host.Send(WM_LBUTTONUP, 0, MAKELPARAM(400, 10));
}

// Heights set at run time take effect at once: the header takes its new
// strip and the scroll range covers every row again.
TEST_F(ListCtrlTest, HeightsSetAtRunTimeResizeTheListAndItsRange)
{
    GridHost host;
    SListCtrl* lc = LoadList(host);
    ASSERT_TRUE(lc);
    FillRows(lc, 20);
    ASSERT_EQ(399, lc->GetScrollInfo(TRUE).nMax);
    EXPECT_TRUE(SUCCEEDED(lc->SetAttribute(L"itemHeight", L"30", FALSE)));
    EXPECT_EQ(20 * 30 - 1, lc->GetScrollInfo(TRUE).nMax);
    EXPECT_TRUE(SUCCEEDED(lc->SetAttribute(L"headerHeight", L"40", FALSE)));
    EXPECT_EQ(40, lc->GetHeaderCtrl()->GetWindowRect().bottom);
    EXPECT_EQ(UINT(5 * 30), lc->GetScrollInfo(TRUE).nPage) << "whole rows below the taller header";
    lc->SetScrollPos(TRUE, 10000, TRUE);
    EXPECT_EQ(19, lc->HitTest(POINT{10, 200 - 15})) << "the last row can be scrolled to";
}

TEST_F(ListCtrlTest, PaintsRowsBelowTheHeaderAtTheScrollOffset)
{
    GridHost host;
    SListCtrl* lc = LoadList(host);
    ASSERT_TRUE(lc);
    FillRows(lc, 20);
    lc->SetSel(-1, 2);
    lc->SetScrollPos(TRUE, 10, TRUE);
    host.PaintAll();
    const int x = 250;  // right of the columns' text
    EXPECT_EQ(0u, host.Px(x, 10));  // the header's strip: no row paints over it
    EXPECT_EQ(0xFFFFFFFFu, host.Px(x, 24));  // the lower half of row 0
    EXPECT_EQ(0xFFE2E2E2u, host.Px(x, 24 + 10));  // row 1, odd
    EXPECT_EQ(0xFF3991D1u, host.Px(x, 24 + 30));  // row 2, selected
    lc->SetAttribute(L"colorItemBkgnd2", L"#FFFFFF00", FALSE);  // no colour: odd rows as even ones
    host.PaintAll();
    EXPECT_EQ(0xFFFFFFFFu, host.Px(x, 24 + 10));
    // The selected row's text is drawn in the selected text colour.
    int yellow = 0;
    for (int y = 24 + 30; y < 24 + 50; ++y)
        for (int px = 0; px < 60; ++px) yellow += (host.Px(px, y) & 0x00FFFF00) == 0x00FFFF00;
    EXPECT_GT(yellow, 0);

    // With hot tracking the row under the mouse takes the hot colour instead
    // of the white; the mouse leaving takes it away.
    lc->SetAttribute(L"hotTrack", L"1", FALSE);
    host.Mouse(WM_MOUSEMOVE, x, 24 + 50);  // row 3
    EXPECT_EQ(3, lc->GetHotItem());
    host.PaintAll();
    const DWORD hot = host.Px(x, 24 + 50);
    EXPECT_NE(0xFFFFFFFFu, hot);
    EXPECT_NE(0u, hot);
    host.Mouse(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(-1, lc->GetHotItem());
}

TEST_F(ListCtrlTest, SortAndDelete)
{
    GridHost host;
    SListCtrl* lc = LoadList(host);
    ASSERT_TRUE(lc);
    FillRows(lc, 4);
    lc->SetSel(-1, 2);
    struct Descending {
        static int Compare(void* context, const SListCtrlRow& a, const SListCtrlRow& b)
        {
            ++*static_cast<int*>(context);
            return int(b.data - a.data);
        }
    };
    int calls = 0;
    lc->SortItems(&Descending::Compare, &calls);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(L"a3", Text(lc, 0, 0));
    EXPECT_EQ(L"c0", Text(lc, 3, 2));
    EXPECT_EQ(-1, lc->GetCurrentItem());
    EXPECT_EQ(1, lc->GetSelectedItem());  // the selected row moved with its data

    EventLog log(lc, {kDeleted});
    EXPECT_TRUE(lc->DeleteItem(1));
    EXPECT_FALSE(lc->DeleteItem(3));
    EXPECT_EQ((std::vector<Fired>{{kDeleted, 1, 102}}), log.Take());
    EXPECT_EQ(3, lc->GetItemCount());
    EXPECT_EQ(-1, lc->GetSelectedItem());
    wchar_t buf[3];
    SLCSUBITEM cell;
    cell.mask = SLCIF_TEXT | SLCIF_IMAGE;
    cell.pszText = buf;
    cell.cchTextMax = 2;  // "b1" and no room for the zero
    EXPECT_FALSE(lc->GetSubItem(1, 1, &cell));
    cell.cchTextMax = 3;
    ASSERT_TRUE(lc->GetSubItem(1, 1, &cell));
    EXPECT_STREQ(L"b1", buf);
    EXPECT_EQ(-1, cell.nImage);
    lc->DeleteAllItems();
    EXPECT_EQ(3, log.Count(kDeleted));
    EXPECT_EQ(0, lc->GetItemCount());
}

std::vector<std::wstring> Column0(SListCtrl* lc)
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < lc->GetItemCount(); ++row) texts.push_back(Text(lc, row, 0));
    return texts;
}

// The deleted event's handler changes the rows before the row goes: the
// row asked for goes, and only it.
TEST_F(ListCtrlTest, DeleteItemDeletesItsRowWhateverTheHandlerDid)
{
    enum Action { kDeleteEarlier, kReplaceItself, kClearAll };
    const struct Case {
        Action action;
        std::vector<std::wstring> rows;
        std::vector<Fired> events;
        int current;  // the current row was a3
    } cases[] = {
        {kDeleteEarlier, {L"a1", L"a3"}, {{kDeleted, 2, 102}, {kDeleted, 0, 100}}, 1},
        {kReplaceItself, {L"a0", L"a1", L"new", L"a3"}, {{kDeleted, 2, 102}, {kDeleted, 2, 102}}, 3},
        {kClearAll, {}, {{kDeleted, 2, 102}, {kDeleted, 0, 100}, {kDeleted, 1, 101}, {kDeleted, 2, 102}, {kDeleted, 3, 103}}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.action));
        GridHost host;
        SListCtrl* lc = LoadList(host);
        ASSERT_TRUE(lc);
        FillRows(lc, 4);
        lc->SetSel(-1, 3);
        struct Meddler {
            SListCtrl* lc;
            Action action;
            bool done = false;
            bool On(EventArgs&)
            {
                if (done) return false;
                done = true;
                if (action == kDeleteEarlier) lc->DeleteItem(0);
                if (action == kReplaceItself) {
                    lc->DeleteItem(2);
                    lc->InsertItem(2, L"new");
                }
                if (action == kClearAll) lc->DeleteAllItems();
                return false;
            }
        } meddler{lc, c.action};
        lc->GetEventSet()->SubscribeEvent(kDeleted, &Meddler::On, &meddler);
        EventLog log(lc, {kDeleted});  // the newest subscriber: it sees each event first
        EXPECT_TRUE(lc->DeleteItem(2));
        EXPECT_EQ(c.rows, Column0(lc));
        EXPECT_EQ(c.events, log.Take());
        EXPECT_EQ(c.current, lc->GetCurrentItem());
        host.PaintAll();
    }
}

// A click selects the row it was on, also when the changing event's
// handler deleted a row above it.
TEST_F(ListCtrlTest, TheSelectionFollowsItsRowThroughTheChangingEvent)
{
    GridHost host;
    SListCtrl* lc = LoadList(host);
    ASSERT_TRUE(lc);
    FillRows(lc, 5);
    struct Deleter {
        SListCtrl* lc;
        bool On(EventArgs&)
        {
            lc->DeleteItem(0);
            return false;
        }
    } deleter{lc};
    lc->GetEventSet()->SubscribeEvent(kChanging, &Deleter::On, &deleter);
    EventLog log(lc, {kChanged});
    host.Click(RowPoint(3).x, RowPoint(3).y);
    EXPECT_EQ((std::vector<int>{2}), Selected(lc));
    EXPECT_EQ(L"a3", Text(lc, 2, 0));
    EXPECT_EQ(2, lc->GetCurrentItem());
    EXPECT_EQ((std::vector<Fired>{{kChanged, 2, -1}}), log.Take());

    // The row to select deleted by the handler: nothing more changes.
    struct Remover {
        SListCtrl* lc;
        bool On(EventArgs& args)
        {
            lc->DeleteItem(static_cast<EventLCSelChanging&>(args).nNewSel);
            return false;
        }
    } remover{lc};
    lc->GetEventSet()->UnsubscribeEvent(kChanging, &Deleter::On, &deleter);
    lc->GetEventSet()->SubscribeEvent(kChanging, &Remover::On, &remover);
    host.Click(RowPoint(0).x, RowPoint(0).y);
    EXPECT_EQ((std::vector<std::wstring>{L"a2", L"a3", L"a4"}), Column0(lc));
    EXPECT_EQ((std::vector<int>{1}), Selected(lc));
    EXPECT_EQ(1, lc->GetCurrentItem());
    EXPECT_TRUE(log.Take().empty());
}

// Compare functions that are no ordering, throw, or change the list while
// it sorts: each row they are handed is one of the list's, and the list
// keeps each row exactly once (the leak check sees every row freed once).
TEST_F(ListCtrlTest, SortItemsSurvivesAHostileCompareFunction)
{
    struct Thrown {};
    struct Hostile {
        enum Mode { kStable, kFlipping, kAlwaysLess, kThrowing, kDeleting, kClearing } mode;
        SListCtrl* lc = nullptr;
        std::vector<const SListCtrlRow*> rows{};  // the rows before the sort
        int calls = 0;
        int strays = 0;
        bool Known(const SListCtrlRow* row) const
        {
            return std::find(rows.begin(), rows.end(), row) != rows.end();
        }
        static int Compare(void* context, const SListCtrlRow& a, const SListCtrlRow& b)
        {
            Hostile& h = *static_cast<Hostile*>(context);
            ++h.calls;
            if (!h.Known(&a) || !h.Known(&b)) {
                ++h.strays;
                return 1;  // a stray row is never read
            }
            switch (h.mode) {
            case kStable: return int(a.data % 2) - int(b.data % 2);  // even rows first, each kind in order
            case kFlipping: return h.calls == 1 ? 1 : -1;
            case kAlwaysLess: return -1;
            case kThrowing:
                if (h.calls == 30) throw Thrown();
                break;
            case kDeleting:
                if (h.calls == 10) {
                    h.lc->DeleteItem(0);
                    h.lc->InsertItem(-1, L"new");
                }
                break;
            case kClearing:
                if (h.calls == 10) h.lc->DeleteAllItems();
                break;
            }
            return int(b.data - a.data);
        }
    };
    for (Hostile::Mode mode : {Hostile::kStable, Hostile::kFlipping, Hostile::kAlwaysLess, Hostile::kThrowing,
                               Hostile::kDeleting, Hostile::kClearing}) {
        SCOPED_TRACE(int(mode));
        GridHost host;
        SListCtrl* lc = LoadList(host);
        ASSERT_TRUE(lc);
        FillRows(lc, 20);
        Hostile hostile{mode, lc};
        for (int row = 0; row < lc->GetItemCount(); ++row) hostile.rows.push_back(lc->GetRow(row));
        const std::vector<std::wstring> before = Column0(lc);
        if (mode == Hostile::kThrowing) EXPECT_THROW(lc->SortItems(&Hostile::Compare, &hostile), Thrown);
        else lc->SortItems(&Hostile::Compare, &hostile);
        EXPECT_EQ(0, hostile.strays);
        std::vector<std::wstring> after = Column0(lc);
        if (mode == Hostile::kStable) {
            EXPECT_EQ((std::vector<std::wstring>{L"a0", L"a2", L"a4", L"a6", L"a8", L"a10", L"a12", L"a14", L"a16",
                                                 L"a18", L"a1", L"a3", L"a5", L"a7", L"a9", L"a11", L"a13", L"a15",
                                                 L"a17", L"a19"}),
                      after);
        } else if (mode == Hostile::kThrowing) {
            EXPECT_EQ(before, after) << "a sort that did not finish changes nothing";
        } else if (mode == Hostile::kDeleting) {
            std::vector<std::wstring> expected(before.begin() + 1, before.end());
            expected.push_back(L"new");
            EXPECT_EQ(expected, after) << "the changes made during the sort stand, the order it found does not";
        } else if (mode == Hostile::kClearing) {
            EXPECT_TRUE(after.empty());
        } else {
            std::sort(after.begin(), after.end());
            std::vector<std::wstring> sorted = before;
            std::sort(sorted.begin(), sorted.end());
            EXPECT_EQ(sorted, after) << "every row once";
        }
        host.PaintAll();
    }
}

TEST_F(ListCtrlTest, WithoutAHeaderNothingGoesIn)
{
    GridHost host;
    SListCtrl* lc = host.Load<SListCtrl>(L"<root><listctrl name='lc' pos='0,0,@300,@200'/></root>", L"lc");
    ASSERT_TRUE(lc);
    EXPECT_EQ(nullptr, lc->GetHeaderCtrl());
    EXPECT_EQ(-1, lc->InsertColumn(0, L"A", 50));
    EXPECT_EQ(-1, lc->InsertItem(0, L"row"));
    EXPECT_EQ(0, lc->GetItemCount());
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<listctrl><window/></listctrl>"));
    EXPECT_FALSE(lc->CreateChildren(doc.first_child()));
    EXPECT_EQ(E_FAIL, lc->SetAttribute(L"colorText", L"", FALSE));
    EXPECT_EQ(E_FAIL, lc->SetAttribute(L"itemHeight", L"0", FALSE));
    EXPECT_EQ(S_OK, lc->SetAttribute(L"checkBox", L"1", FALSE));
}
