// The list control under its header, the tile view and the multi-column
// list view, each in a real host window under Xvfb with the framework's own
// skins: check boxes, tiles, rows and header items clicked through the
// window's own messages, the host's image read back, and the screens saved
// as "listctrl_header.png", "tileview.png" and "mclistview.png" for a person
// to look at.
#include "ColumnsAdapter.h"
#include "RowsAdapter.h"

#include "LeakCheck.h"
#include "controls/CommonControls.h"
#include "controls/ControlAttr.h"
#include "host/HostTestSupport.h"
#include "itemviews/GridViews.h"
#include "itemviews/SListCtrl.h"
#include "itemviews/SMCListView.h"
#include "itemviews/STileView.h"

using namespace WUI;

class GridWindowTest : public LeakChecked {};

namespace {

// The list's client starts at (12, 40): the header 26 high, rows of 24.
const wchar_t kListWindow[] =
    L"<WUI title='List control' size='480,300'>"
    L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff' font='size:12' colorText='#1d232b'>"
    L"<text pos='12,10,@300,@24' align='left'>Installed files</text>"
    L"<listctrl name='lc' pos='12,40,-12,-12' headerHeight='26' itemHeight='24' checkBox='1'"
    L" colorItemBkgnd='#ffffff' colorItemBkgnd2='#f2f5f9' colorItemSelBkgnd='#cfe3fa' colorSelText='#0b3d91'"
    L" colorText='#1d232b'>"
    L"<header name='hdr' align='left' padding='6,0,0,0'><items>"
    L"<item width='190'>File</item><item width='90'>Size</item><item width='150'>Modified</item>"
    L"</items></header></listctrl>"
    L"</window></root></WUI>";

const int kHostX = 700, kHostY = 120;

const wchar_t* const kRows[][3] = {
    {L"OrvoMain.exe", L"2.4 MB", L"2026-12-01 10:12"}, {L"OrvoUninstall.exe", L"1.1 MB", L"2026-12-01 10:12"},
    {L"client/game.dat", L"812 MB", L"2026-11-28 21:40"}, {L"client/maps.pak", L"96 MB", L"2026-11-28 21:41"},
    {L"notice.txt", L"2 KB", L"2026-12-09 08:00"},       {L"version.txt", L"12 B", L"2026-12-09 08:00"},
    {L"updater.log", L"41 KB", L"2026-12-10 19:03"},
};

// Tiles of 100 x 70 with margins of 10 in a client 456 wide: four a row.
const wchar_t kTileWindow[] =
    L"<WUI title='Tile view' size='480,330'>"
    L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff' font='size:12' colorText='#1d232b'>"
    L"<text pos='12,10,@300,@24' align='left'>Servers</text>"
    L"<tileview name='tv' pos='12,40,-12,-12' marginSize='10'>"
    L"<template itemWidth='100' itemHeight='70'>"
    L"<window pos='0,0,-0,-0' margin='1' colorBorder='#9fb3c8' msgTransparent='1'/>"
    L"<text name='text' pos='0,0,-0,-0' align='center' valign='middle' msgTransparent='1'/>"
    L"</template></tileview>"
    L"</window></root></WUI>";

// The header 26 high over rows of 28 with a divider of 1; the header's items
// 170, 110 and 90 wide.
const wchar_t kColumnsWindow[] =
    L"<WUI title='Multi-column list view' size='480,300'>"
    L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff' font='size:12' colorText='#1d232b'>"
    L"<text pos='12,10,@300,@24' align='left'>Update servers</text>"
    L"<mclistview name='mc' pos='12,40,-12,-12' headerHeight='26' dividerSize='1' dividerSkin='skin_divider'>"
    L"<header name='hdr' align='left' padding='6,0,0,0'><items>"
    L"<item width='170'>Server</item><item width='110'>Region</item><item width='90'>Ping</item>"
    L"</items></header>"
    L"<template itemHeight='28'>"
    L"<text name='c0' align='left' valign='middle' padding='6,0,0,0' msgTransparent='1'/>"
    L"<text name='c1' align='left' valign='middle' padding='6,0,0,0' msgTransparent='1'/>"
    L"<text name='c2' align='right' valign='middle' padding='0,0,8,0' msgTransparent='1'/>"
    L"</template></mclistview>"
    L"</window></root>"
    L"<skin><colorrect name='skin_divider' normal='#d5dde6'/></skin></WUI>";

}  // namespace

TEST_F(GridWindowTest, ListControlWithHeaderInAHostWindow)
{
    SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
    SWindowFactoryMgr::AddStandardFactories(&RegisterGridViews);
    hosttest::HostApp app;
    ASSERT_EQ(0, app.MissingSystemResources());
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, kListWindow, true, kHostX, kHostY));
    SListCtrl* lc = sobj_cast<SListCtrl>(host.FindChildByName(L"lc"));
    ASSERT_TRUE(lc && lc->GetHeaderCtrl());
    for (int row = 0; row < int(sizeof kRows / sizeof kRows[0]); ++row) {
        ASSERT_EQ(row, lc->InsertItem(-1, kRows[row][0]));
        lc->SetSubItemText(row, 1, kRows[row][1]);
        lc->SetSubItemText(row, 2, kRows[row][2]);
    }
    const RECT list = lc->GetListRect();
    EXPECT_EQ(40 + 26, list.top);

    // The box of row 2 and then of row 4: each toggles alone.
    const SIZE box = SkinSize(BuiltinSkin(kSkinSysCheckbox));
    ASSERT_GT(box.cx, 0);
    const int boxX = list.left + 4 + 3 + box.cx / 2;
    hosttest::PostClick(host.m_hWnd, POINT{boxX, list.top + 2 * 24 + 12});
    hosttest::PostClick(host.m_hWnd, POINT{boxX, list.top + 4 * 24 + 12});
    EXPECT_TRUE(hosttest::PumpUntil([&] { return lc->IsItemSelected(4); }, 5000));
    EXPECT_TRUE(lc->IsItemSelected(2));
    EXPECT_EQ(2, lc->GetSelectedCount());
    hosttest::PostClick(host.m_hWnd, POINT{boxX, list.top + 2 * 24 + 12});
    EXPECT_TRUE(hosttest::PumpUntil([&] { return !lc->IsItemSelected(2); }, 5000));
    EXPECT_TRUE(lc->IsItemSelected(4));
    // A click on a row away from its box selects that row alone.
    hosttest::PostClick(host.m_hWnd, POINT{list.left + 250, list.top + 1 * 24 + 12});
    EXPECT_TRUE(hosttest::PumpUntil([&] { return lc->IsItemSelected(1); }, 5000));
    EXPECT_FALSE(lc->IsItemSelected(4));
    lc->SetSubItemText(5, 0, L"version.txt (new)");
    // Rows 3 and 4: check the box of row 3 too, so the picture shows one.
    hosttest::PostClick(host.m_hWnd, POINT{boxX, list.top + 3 * 24 + 12});
    EXPECT_TRUE(hosttest::PumpUntil([&] { return lc->IsItemSelected(3); }, 5000));

    const int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    const int x = list.left + 300;  // in the third column, away from the text
    EXPECT_EQ(0xFFCFE3FAu, hosttest::HostPixel(host, x, list.top + 1 * 24 + 2));  // selected
    EXPECT_EQ(0xFFF2F5F9u, hosttest::HostPixel(host, x, list.top + 5 * 24 + 2));  // an odd row
    EXPECT_EQ(0xFFFFFFFFu, hosttest::HostPixel(host, x, list.top + 6 * 24 + 2));
    // The header's skin is drawn above the rows, and each column title has ink.
    EXPECT_NE(0xFFFFFFFFu, hosttest::HostPixel(host, list.left + 100, 40 + 13));
    EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"listctrl_header.png"));
    host.DestroyWindow();
}

TEST_F(GridWindowTest, TileViewInAHostWindow)
{
    SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
    SWindowFactoryMgr::AddStandardFactories(&RegisterGridViews);
    hosttest::HostApp app;
    ASSERT_EQ(0, app.MissingSystemResources());
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, kTileWindow, true, kHostX, kHostY));
    STileView* tv = sobj_cast<STileView>(host.FindChildByName(L"tv"));
    ASSERT_TRUE(tv);
    viewtest::RowsAdapter* tiles = new viewtest::RowsAdapter(14);
    tiles->selectedColor = L"#cfe3fa";
    ASSERT_TRUE(tv->SetAdapter(tiles));
    tiles->Release();
    EXPECT_EQ(4, tv->GetColumns());

    // Tile 5 clicked through the window, then Down: tile 9.
    RECT five;
    ASSERT_TRUE(tv->GetItemRect(tv->GetItemPanel(5), &five));
    hosttest::PostClick(host.m_hWnd, POINT{five.left + 50, five.top + 35});
    PostMessageW(host.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return tv->GetSel() == 9; }, 5000));

    const int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    RECT nine;
    ASSERT_TRUE(tv->GetItemRect(tv->GetItemPanel(9), &nine));
    EXPECT_EQ(12 + 10 + 110, nine.left);
    EXPECT_EQ(0xFFCFE3FAu, hosttest::HostPixel(host, nine.left + 4, nine.top + 4));  // selected
    EXPECT_EQ(0xFF9FB3C8u, hosttest::HostPixel(host, five.left, five.top + 30));    // a tile's border
    EXPECT_EQ(0xFFFFFFFFu, hosttest::HostPixel(host, five.left - 5, five.top + 30));  // the margin
    EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"tileview.png"));
    host.DestroyWindow();
}

TEST_F(GridWindowTest, MultiColumnListViewInAHostWindow)
{
    SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
    SWindowFactoryMgr::AddStandardFactories(&RegisterGridViews);
    hosttest::HostApp app;
    ASSERT_EQ(0, app.MissingSystemResources());
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, kColumnsWindow, true, kHostX, kHostY));
    SMCListView* mc = sobj_cast<SMCListView>(host.FindChildByName(L"mc"));
    ASSERT_TRUE(mc && mc->GetHeaderCtrl());
    gridtest::ColumnsAdapter* rows = new gridtest::ColumnsAdapter(6);
    rows->texts = {{L"cn-east-1.orvo.example", L"Shanghai", L"18 ms"},
                   {L"cn-north-2.orvo.example", L"Beijing", L"31 ms"},
                   {L"cn-south-1.orvo.example", L"Guangzhou", L"27 ms"},
                   {L"hk-1.orvo.example", L"Hong Kong", L"44 ms"},
                   {L"sg-1.orvo.example", L"Singapore", L"73 ms"},
                   {L"eu-west-1.orvo.example", L"Frankfurt", L"212 ms"}};
    rows->selectedColor = L"#cfe3fa";
    ASSERT_TRUE(mc->SetAdapter(rows));
    rows->Release();

    // Row 2 clicked, then Ping's header item: sorted by column 2.
    RECT row2;
    ASSERT_TRUE(mc->GetItemRect(mc->GetItemPanel(2), &row2));
    hosttest::PostClick(host.m_hWnd, POINT{row2.left + 40, row2.top + 14});
    const RECT ping = mc->GetHeaderCtrl()->GetItemRect(2);
    hosttest::PostClick(host.m_hWnd, POINT{(ping.left + ping.right) / 2, (ping.top + ping.bottom) / 2});
    EXPECT_TRUE(hosttest::PumpUntil([&] { return mc->GetSel() == 2 && rows->sortedColumn == 2; }, 5000));
    EXPECT_EQ(UINT(ST_UP), mc->GetHeaderCtrl()->GetItemInfo(2)->sortFlag);

    const int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    const RECT list = mc->GetListRect();
    EXPECT_EQ(40 + 26, list.top);
    EXPECT_EQ(0xFFCFE3FAu, hosttest::HostPixel(host, row2.left + 2, row2.top + 2));  // selected
    EXPECT_EQ(0xFFD5DDE6u, hosttest::HostPixel(host, row2.left + 100, row2.bottom));  // the divider below
    // Every cell of row 0 has ink within its column.
    RECT row0;
    ASSERT_TRUE(mc->GetItemRect(mc->GetItemPanel(0), &row0));
    const int edges[] = {0, 170, 280, 370};
    for (int column = 0; column < 3; ++column) {
        int ink = 0;
        for (int y = row0.top; y < row0.bottom; ++y)
            for (int x = row0.left + edges[column]; x < row0.left + edges[column + 1]; ++x)
                ink += hosttest::HostPixel(host, x, y) != 0xFFFFFFFF;
        EXPECT_GT(ink, 10) << "column " << column;
    }
    EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"mclistview.png"));
    host.DestroyWindow();
}
