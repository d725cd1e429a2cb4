// A list box and a list view side by side in a real host window under Xvfb:
// the rows paint from the window's own image, a click through the window's
// messages selects a row of each, and the screen is saved as
// "itemviews_lists.png" for a person to look at.
#include "RowsAdapter.h"

#include "LeakCheck.h"
#include "controls/CommonControls.h"
#include "host/HostTestSupport.h"
#include "itemviews/FrameworkTags.h"
#include "itemviews/SListBox.h"
#include "itemviews/SListView.h"

using namespace WUI;

class ViewsWindowTest : public LeakChecked {};

namespace {

const wchar_t kListsWindow[] =
    L"<WUI title='Lists' size='440,260'>"
    L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff' font='size:12' colorText='#1d232b'>"
    L"<text pos='16,10,@180,@20' align='left'>List box</text>"
    L"<listbox name='lb' pos='16,34,@190,@200' margin='1' colorBorder='#7d9ebc' itemHeight='24'"
    L" colorItemBkgnd2='#f3f6fa' colorSelText='#ffffff' text-x='8' curSel='2'>"
    L"<items><item text='Beijing'/><item text='Shanghai'/><item text='Guangzhou'/><item text='Shenzhen'/>"
    L"<item text='Chengdu'/><item text='Hangzhou'/><item text='Wuhan'/><item text='Xi&apos;an'/>"
    L"<item text='Nanjing'/><item text='Tianjin'/></items></listbox>"
    L"<text pos='230,10,@180,@20' align='left'>List view</text>"
    L"<listview name='lv' pos='230,34,@190,@200' margin='1' colorBorder='#7d9ebc' dividerSize='1'"
    L" dividerSkin='skin_divider'>"
    L"<template itemHeight='28'><text name='text' pos='10,0,-0,-0' align='left' valign='middle'"
    L" msgTransparent='1'/></template></listview>"
    L"</window></root>"
    L"<skin><colorrect name='skin_divider' normal='#d5dde6'/></skin></WUI>";

const int kHostX = 700, kHostY = 40;

}  // namespace

TEST_F(ViewsWindowTest, AListBoxAndAListViewInAHostWindow)
{
    AddFrameworkTags();
    hosttest::HostApp app;
    ASSERT_EQ(0, app.MissingSystemResources());
    hosttest::RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, kListsWindow, true, kHostX, kHostY));
    SListBox* lb = sobj_cast<SListBox>(host.FindChildByName(L"lb"));
    SListView* lv = sobj_cast<SListView>(host.FindChildByName(L"lv"));
    ASSERT_TRUE(lb && lv);
    viewtest::RowsAdapter* rows = new viewtest::RowsAdapter(200);
    rows->selectedColor = L"#cce4f7";
    ASSERT_TRUE(lv->SetAdapter(rows));
    rows->Release();
    EXPECT_EQ(7, lv->GetVisibleCount()) << "198 pixels of rows 28 high with a divider of 1";

    // The fourth row of each clicked through the window.
    const RECT lbRow = lb->GetItemRect(3);
    hosttest::PostClick(host.m_hWnd, POINT{lbRow.left + 20, lbRow.top + 10});
    const RECT lvClient = lv->GetClientRect();
    hosttest::PostClick(host.m_hWnd, POINT{lvClient.left + 20, lvClient.top + 3 * 29 + 10});
    EXPECT_TRUE(hosttest::PumpUntil([&] { return lb->GetCurSel() == 3 && lv->GetSel() == 3; }, 5000));
    EXPECT_EQ(1, host.EventCount(12001));
    EXPECT_EQ(1, host.EventCount(15101));

    const int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_EQ(0xFF3991D1u, hosttest::HostPixel(host, lbRow.right - 4, lbRow.top + 4)) << "the selected row";
    const RECT odd = lb->GetItemRect(1);
    EXPECT_EQ(0xFFF3F6FAu, hosttest::HostPixel(host, odd.right - 4, odd.top + 4)) << "an odd row";
    EXPECT_EQ(0xFFD5DDE6u, hosttest::HostPixel(host, lvClient.right - 4, lvClient.top + 28)) << "a divider";
    EXPECT_EQ(0xFFCCE4F7u, hosttest::HostPixel(host, lvClient.right - 4, lvClient.top + 3 * 29 + 4))
        << "the selected row's panel colour";
    EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"itemviews_lists.png"));
    host.DestroyWindow();
}
