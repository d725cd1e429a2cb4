// The multi-column list view: each row's cells placed under the header's
// items and following a divider drag and an item drag, rows below the
// header, both scroll bars, sorting through the adapter by column number,
// a view without a header.
#include "GridTestSupport.h"
#include "ColumnsAdapter.h"
#include "LeakCheck.h"
#include "app/AdoptRef.h"
#include "itemviews/SMCListView.h"

#include <string>

using namespace WUI;
using namespace gridtest;

class MCListViewTest : public LeakChecked {};

namespace {

const wchar_t kView[] =
    L"<root><mclistview name='mc' pos='0,0,@300,@200'>"
    L"<header name='hdr'><items><item width='80'>Name</item><item width='60'>Size</item>"
    L"<item width='100'>Date</item></items></header>"
    L"<template itemHeight='30'><text name='c0'/><text name='c1'/><text name='c2'/></template>"
    L"</mclistview></root>";

// Left and right edge of each column number's cell in a row, in column-number order.
std::vector<int> CellEdges(SMCListView* mc, int row)
{
    std::vector<int> edges;
    SItemPanel* panel = mc->GetItemPanel(row);
    if (!panel) return edges;
    for (int column = 0; column < 3; ++column) {
        SStringW name;
        name.Format(L"c%d", column);
        const RECT rc = panel->FindChildByName(name)->GetWindowRect();
        edges.push_back(rc.left);
        edges.push_back(rc.right);
    }
    return edges;
}

std::vector<UINT> Marks(SHeaderCtrl* hdr)
{
    std::vector<UINT> marks;
    for (int i = 0; i < hdr->GetItemCount(); ++i) marks.push_back(hdr->GetItemInfo(i)->sortFlag);
    return marks;
}

}  // namespace

TEST_F(MCListViewTest, CellsFollowTheHeader)
{
    GridHost host;
    SMCListView* mc = host.Load<SMCListView>(kView, L"mc");
    ASSERT_TRUE(mc && mc->GetHeaderCtrl());
    auto adapter = AdoptRef(new ColumnsAdapter(5));
    ASSERT_TRUE(mc->SetAdapter(adapter.get()));
    ASSERT_EQ(5, mc->GetVisibleCount());
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ((std::vector<int>{0, 80, 80, 140, 140, 240}), CellEdges(mc, row));
        EXPECT_EQ(240, mc->GetItemPanel(row)->GetWindowRect().right);
    }
    RECT row0;
    ASSERT_TRUE(mc->GetItemRect(mc->GetItemPanel(0), &row0));
    EXPECT_EQ(25, row0.top);  // below the default header
    EXPECT_EQ(240, row0.right);

    // Name's divider dragged 20 to the right: the cells move while it goes on.
    host.Drag(POINT{78, 10}, {POINT{98, 10}}, false);
    EXPECT_EQ((std::vector<int>{0, 100, 100, 160, 160, 260}), CellEdges(mc, 3));
    EXPECT_EQ(260, mc->GetItemPanel(3)->GetWindowRect().right);
    host.Send(WM_LBUTTONUP, 0, MAKELPARAM(98, 10));

    // Name dragged onto Date: Size, Date, Name; each column's cells go with it.
    host.Drag(POINT{40, 10}, {POINT{41, 10}, POINT{200, 10}});
    ASSERT_STREQ(L"Name", mc->GetHeaderCtrl()->GetItemInfo(2)->text);
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ((std::vector<int>{160, 260, 0, 60, 60, 160}), CellEdges(mc, row));
        EXPECT_STREQ(std::to_wstring(row * 10).c_str(), mc->GetItemPanel(row)->FindChildByName(L"c0")->GetWindowText());
    }
}

TEST_F(MCListViewTest, RowsScrollBothWaysUnderTheHeader)
{
    GridHost host;
    SMCListView* mc = host.Load<SMCListView>(kView, L"mc");
    ASSERT_TRUE(mc);
    auto adapter = AdoptRef(new ColumnsAdapter(20));
    ASSERT_TRUE(mc->SetAdapter(adapter.get()));
    EXPECT_EQ(25, mc->GetListRect().top);
    EXPECT_TRUE(mc->HasScrollBar(TRUE));
    EXPECT_FALSE(mc->HasScrollBar(FALSE));
    EXPECT_EQ(20 * 30 - 1, mc->GetScrollInfo(TRUE).nMax);
    EXPECT_EQ(UINT(200 - 25), mc->GetScrollInfo(TRUE).nPage);

    EXPECT_EQ(3, mc->InsertColumn(-1, L"Wide", 200));
    EXPECT_EQ(4, mc->GetColumnCount());
    EXPECT_TRUE(mc->HasScrollBar(FALSE));
    EXPECT_EQ(440 - 1, mc->GetScrollInfo(FALSE).nMax);
    mc->SetScrollPos(FALSE, 50, TRUE);
    EXPECT_EQ(-50, mc->GetHeaderCtrl()->GetWindowRect().left);
    RECT row;
    ASSERT_TRUE(mc->GetItemRect(mc->GetItemPanel(0), &row));
    EXPECT_EQ(-50, row.left);
    EXPECT_EQ(-50 + 440, row.right);

    mc->SetScrollPos(TRUE, 45, TRUE);  // row 1 at the list's top
    EXPECT_EQ(1, mc->GetFirstVisibleIndex());
    ASSERT_TRUE(mc->GetItemRect(mc->GetItemPanel(2), &row));
    EXPECT_EQ(25 + 60 - 45, row.top);

    EXPECT_TRUE(mc->DeleteColumn(3));
    EXPECT_FALSE(mc->DeleteColumn(3));
    EXPECT_FALSE(mc->HasScrollBar(FALSE));
    EXPECT_EQ(0, mc->GetHeaderCtrl()->GetWindowRect().left);
}

// Scrolled to the right the header starts left of the view: what lies
// there is not painted over.
TEST_F(MCListViewTest, AScrolledHeaderStaysInsideTheView)
{
    GridHost host;
    SMCListView* mc = host.Load<SMCListView>(
        L"<root><window name='left' pos='0,0,100,200' colorBkgnd='#ff0000'/>"
        L"<mclistview name='mc' pos='100,0,@300,@200'>"
        L"<header name='hdr'><items><item width='200'>Name</item><item width='200'>Size</item></items></header>"
        L"<template itemHeight='30'><text name='c0'/><text name='c1'/></template></mclistview></root>",
        L"mc");
    ASSERT_TRUE(mc);
    auto adapter = AdoptRef(new ColumnsAdapter(3));
    ASSERT_TRUE(mc->SetAdapter(adapter.get()));
    ASSERT_TRUE(mc->HasScrollBar(FALSE));
    host.PaintAll();
    const DWORD neighbour = host.Px(60, 10), header = host.Px(150, 10);
    ASSERT_EQ(0xFFFF0000u, neighbour);
    ASSERT_NE(neighbour, header);
    mc->SetScrollPos(FALSE, 80, TRUE);
    ASSERT_EQ(100 - 80, mc->GetHeaderCtrl()->GetWindowRect().left);
    host.PaintAll();
    for (int x : {20, 60, 99}) EXPECT_EQ(neighbour, host.Px(x, 10)) << x;
    EXPECT_EQ(header, host.Px(150, 10)) << "the header still paints in the view";
}

TEST_F(MCListViewTest, AHeaderHeightSetAtRunTimeMovesTheHeaderAndTheRows)
{
    GridHost host;
    SMCListView* mc = host.Load<SMCListView>(kView, L"mc");
    ASSERT_TRUE(mc);
    auto adapter = AdoptRef(new ColumnsAdapter(20));
    ASSERT_TRUE(mc->SetAdapter(adapter.get()));
    EXPECT_TRUE(SUCCEEDED(mc->SetAttribute(L"headerHeight", L"45", FALSE)));
    EXPECT_EQ(45, mc->GetHeaderCtrl()->GetWindowRect().bottom);
    EXPECT_EQ(UINT(200 - 45), mc->GetScrollInfo(TRUE).nPage);
    RECT row;
    ASSERT_TRUE(mc->GetItemRect(mc->GetItemPanel(0), &row));
    EXPECT_EQ(45, row.top);
    mc->SetScrollPos(TRUE, 10000, TRUE);
    EXPECT_EQ(20 * 30 - (200 - 45), mc->GetScrollPos(TRUE)) << "the last row ends at the bottom";
    EXPECT_TRUE(mc->GetItemPanel(19)) << "and is bound";
}

TEST_F(MCListViewTest, HeaderClickSortsByColumnNumber)
{
    GridHost host;
    SMCListView* mc = host.Load<SMCListView>(kView, L"mc");
    ASSERT_TRUE(mc);
    auto adapter = AdoptRef(new ColumnsAdapter(4));
    ASSERT_TRUE(mc->SetAdapter(adapter.get()));
    SHeaderCtrl* hdr = mc->GetHeaderCtrl();

    int binds = adapter->binds;
    host.Click(110, 10);  // Size
    EXPECT_EQ(1, adapter->sortedColumn);
    EXPECT_EQ((std::vector<UINT>{ST_NULL, ST_NULL, ST_NULL}), adapter->given);
    EXPECT_EQ((std::vector<UINT>{ST_NULL, ST_UP, ST_NULL}), Marks(hdr));
    EXPECT_GT(adapter->binds, binds);  // the rows were bound again
    host.Click(110, 10);
    EXPECT_EQ((std::vector<UINT>{ST_NULL, ST_UP, ST_NULL}), adapter->given);
    EXPECT_EQ((std::vector<UINT>{ST_NULL, ST_DOWN, ST_NULL}), Marks(hdr));

    // Name moved to the end: the marks still travel by column number.
    host.Drag(POINT{40, 10}, {POINT{41, 10}, POINT{200, 10}});
    ASSERT_EQ(1, hdr->GetItemOrder(0));
    host.Click(30, 10);  // Size, now shown first
    EXPECT_EQ(1, adapter->sortedColumn);
    EXPECT_EQ((std::vector<UINT>{ST_NULL, ST_DOWN, ST_NULL}), adapter->given);
    EXPECT_EQ((std::vector<UINT>{ST_UP, ST_NULL, ST_NULL}), Marks(hdr));

    // A sort that the adapter refuses leaves marks and rows alone.
    adapter->allowSort = false;
    binds = adapter->binds;
    host.Click(200, 10);  // Name, column 0
    EXPECT_EQ(0, adapter->sortedColumn);
    EXPECT_EQ((std::vector<UINT>{ST_UP, ST_NULL, ST_NULL}), Marks(hdr));
    EXPECT_EQ(binds, adapter->binds);
}

TEST_F(MCListViewTest, WithoutAHeaderTheChildrenFail)
{
    GridHost host;
    SMCListView* mc = host.Load<SMCListView>(
        L"<root><mclistview name='mc' pos='0,0,@300,@200' headerHeight='40'>"
        L"<template itemHeight='30'/></mclistview></root>",
        L"mc");
    ASSERT_TRUE(mc);
    EXPECT_EQ(nullptr, mc->GetHeaderCtrl());
    EXPECT_EQ(0, mc->GetColumnCount());
    EXPECT_EQ(-1, mc->InsertColumn(0, L"A", 50));
    EXPECT_EQ(40, mc->GetListRect().top);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<mclistview><template itemHeight='30'/></mclistview>"));
    EXPECT_FALSE(mc->CreateChildren(doc.first_child()));
    EXPECT_TRUE(mc->IsClass(L"mclistview"));
    EXPECT_FALSE(mc->IsClass(L"listview"));
}
