// The tile view: tiles per row for the view's width and their reflow on a
// resize, the tile rectangles and scroll range, the arrow keys in two
// directions (Down from no selection included), margins, a template
// without both sizes.
#include "GridTestSupport.h"
#include "LeakCheck.h"
#include "RowsAdapter.h"
#include "app/AdoptRef.h"
#include "itemviews/STileView.h"

using namespace WUI;
using namespace gridtest;

class TileViewTest : public LeakChecked {};

namespace {

// Tiles 100 x 80 with margins of 10: a tile and its margin take 110 x 90.
const wchar_t kTiles[] =
    L"<root><tileview name='tv' pos='0,0,@%d,@300' marginSize='%ls'>"
    L"<template itemWidth='100' itemHeight='80'><text name='text' pos='0,0,-0,-0'/></template>"
    L"</tileview></root>";

STileView* LoadTiles(GridHost& host, int width, const wchar_t* margin = L"10")
{
    wchar_t xml[512];
    swprintf(xml, 512, kTiles, width, margin);
    return host.Load<STileView>(xml, L"tv");
}

RECT TileRect(STileView* tv, int index)
{
    RECT rc = {0, 0, 0, 0};
    if (SItemPanel* panel = tv->GetItemPanel(index)) tv->GetItemRect(panel, &rc);
    return rc;
}

}  // namespace

TEST_F(TileViewTest, TilesPerRowFollowTheWidth)
{
    GridHost host(600, 400);
    STileView* tv = LoadTiles(host, 335);
    ASSERT_TRUE(tv);
    auto adapter = AdoptRef(new viewtest::RowsAdapter(10));
    ASSERT_TRUE(tv->SetAdapter(adapter.get()));
    EXPECT_EQ(3, tv->GetColumns());  // 335 / 110
    // Tile 4: second row, second column.
    const RECT four = TileRect(tv, 4);
    EXPECT_EQ(10 + 110, four.left);
    EXPECT_EQ(10 + 90, four.top);
    EXPECT_EQ(four.left + 100, four.right);
    EXPECT_EQ(four.top + 80, four.bottom);
    // Four rows of tiles are taller than the view.
    EXPECT_TRUE(tv->HasScrollBar(TRUE));
    EXPECT_EQ(4 * 90 + 10 - 1, tv->GetScrollInfo(TRUE).nMax);
    EXPECT_EQ(0, tv->GetFirstVisibleIndex());
    EXPECT_EQ(10, tv->GetVisibleCount());  // the fourth row starts at 280, inside the 300 shown

    tv->Move2(0, 0, 445, 300);
    EXPECT_EQ(4, tv->GetColumns());  // 445 / 110
    const RECT reflowed = TileRect(tv, 4);
    EXPECT_EQ(10, reflowed.left);  // now the first of the second row
    EXPECT_EQ(10 + 90, reflowed.top);
    EXPECT_FALSE(tv->HasScrollBar(TRUE));  // three rows: 280 high
    EXPECT_EQ(10, tv->GetVisibleCount());

    // Narrower than one tile: still one per row.
    tv->Move2(0, 0, 60, 300);
    EXPECT_EQ(1, tv->GetColumns());
    EXPECT_EQ(10 + 90, TileRect(tv, 1).top);
}

TEST_F(TileViewTest, ArrowKeysMoveInTwoDirections)
{
    GridHost host;
    STileView* tv = LoadTiles(host, 335);
    ASSERT_TRUE(tv);
    auto adapter = AdoptRef(new viewtest::RowsAdapter(10));  // rows of 3: 0-2, 3-5, 6-8, 9
    ASSERT_TRUE(tv->SetAdapter(adapter.get()));
    tv->SetFocus();
    EventLog log(tv, {EventLVSelChanging::EventID, EventLVSelChanged::EventID});
    const struct {
        int from;
        UINT vk;
        int to;
    } keys[] = {
        {-1, VK_DOWN, 0},  // nothing selected: the first tile
        {-1, VK_RIGHT, 0}, {-1, VK_LEFT, -1}, {-1, VK_UP, -1},
        {0, VK_RIGHT, 1},  {1, VK_DOWN, 4},  {4, VK_UP, 1},   {1, VK_UP, 1},  // first row: stays
        {0, VK_LEFT, 0},   {5, VK_RIGHT, 6}, {6, VK_LEFT, 5},
        {7, VK_DOWN, 9},  // no tile below in the short last row: the last tile
        {6, VK_DOWN, 9},   {9, VK_DOWN, 9},  {9, VK_RIGHT, 9}, {9, VK_UP, 6},
        {4, VK_END, 9},    {9, VK_HOME, 0},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(testing::Message() << "from " << k.from << " key " << k.vk);
        tv->SetSel(k.from, false);
        host.Key(WM_KEYDOWN, k.vk);
        EXPECT_EQ(k.to, tv->GetSel());
    }
    EXPECT_TRUE(log.fired.empty());  // the keyboard selects without events

    // A click on a tile selects it, with both events.
    const RECT two = TileRect(tv, 2);
    host.Click(two.left + 5, two.top + 5);
    EXPECT_EQ(2, tv->GetSel());
    EXPECT_EQ(1, log.Count(EventLVSelChanged::EventID));
}

TEST_F(TileViewTest, EnsureVisibleScrollsTheLeast)
{
    GridHost host;
    STileView* tv = LoadTiles(host, 335);
    ASSERT_TRUE(tv);
    auto adapter = AdoptRef(new viewtest::RowsAdapter(30));  // ten rows: 910 high
    ASSERT_TRUE(tv->SetAdapter(adapter.get()));
    tv->SetFocus();
    host.Key(WM_KEYDOWN, VK_END);
    EXPECT_EQ(29, tv->GetSel());
    EXPECT_EQ(910 - 300, tv->GetScrollPos(TRUE));
    tv->EnsureVisible(13);  // row 4: 370 to 450
    EXPECT_EQ(370, tv->GetScrollPos(TRUE));
    tv->EnsureVisible(22);  // row 7: 640 to 720
    EXPECT_EQ(720 - 300, tv->GetScrollPos(TRUE));
    EXPECT_EQ(12, tv->GetFirstVisibleIndex());  // row 4 (360 to 450) still partly in sight
}

TEST_F(TileViewTest, MarginsAndTemplates)
{
    GridHost host;
    STileView* tv = LoadTiles(host, 335, L"-25");  // a negative margin counts as 0
    ASSERT_TRUE(tv);
    auto adapter = AdoptRef(new viewtest::RowsAdapter(5));
    ASSERT_TRUE(tv->SetAdapter(adapter.get()));
    EXPECT_EQ(3, tv->GetColumns());  // 335 / 100
    EXPECT_EQ(100, TileRect(tv, 1).left);
    EXPECT_EQ(80, TileRect(tv, 3).top);
    EXPECT_EQ(E_FAIL, tv->SetAttribute(L"marginSize", L"wide", FALSE));

    STileView* flat = host.Load<STileView>(
        L"<root><tileview name='flat' pos='0,0,@300,@200'><template itemHeight='80'/></tileview></root>", L"flat");
    ASSERT_TRUE(flat);
    EXPECT_EQ(nullptr, flat->GetTileLocator());
    EXPECT_FALSE(flat->SetAdapter(adapter.get()));  // no width: no locator, no adapter
    EXPECT_TRUE(flat->IsClass(L"tileview"));
    EXPECT_FALSE(flat->IsClass(L"listview"));
}
