// A tree control with check boxes and a tree view side by side in a real
// host window under Xvfb: clicks through the window's messages toggle and
// check, and the screen is saved as "itemviews_trees.png" for a person to
// look at.
#include "TreeAdapter.h"

#include "LeakCheck.h"
#include "host/HostTestSupport.h"
#include "itemviews/FrameworkTags.h"
#include "itemviews/STreeCtrl.h"
#include "itemviews/STreeView.h"

using namespace WUI;

class TreesWindowTest : public LeakChecked {};

namespace {

const wchar_t kTreesWindow[] =
    L"<WUI title='Trees' size='460,280'>"
    L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff' font='size:12' colorText='#1d232b'>"
    L"<text pos='16,10,@180,@20' align='left'>Tree control</text>"
    L"<treectrl name='tc' pos='16,34,@200,@220' margin='1' colorBorder='#7d9ebc' checkBox='1' itemHeight='22'"
    L" colorItemSelBkgnd='#3991d1'>"
    L"<item text='Game client'><item text='Binaries'><item text='OrvoMain.exe'/><item text='client.dll'/></item>"
    L"<item text='Maps' expand='0'><item text='arena'/></item><item text='Sounds'/></item>"
    L"<item text='Logs'><item text='today.txt'/><item text='yesterday.txt'/></item>"
    L"<item text='Settings'/></treectrl>"
    L"<text pos='240,10,@180,@20' align='left'>Tree view</text>"
    L"<treeview name='tv' pos='240,34,@200,@220' margin='1' colorBorder='#7d9ebc' indent='16'>"
    L"<template><window pos='0,0,-0,-0' colorBkgnd='#f3f6fa' msgTransparent='1'>"
    L"<text name='text' pos='6,0,-0,-0' align='left' valign='middle' msgTransparent='1'/></window></template>"
    L"</treeview></window></root></WUI>";

const int kHostX = 680, kHostY = 60;

void PostClick(SHostWnd& host, POINT pt)
{
    PostMessageW(host.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    PostMessageW(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    PostMessageW(host.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

HSTREEITEM Find(STreeCtrl* tc, const wchar_t* text)
{
    for (HSTREEITEM h = tc->GetRootItem(); h; h = tc->GetNextItem(h))
        if (tc->GetItemText(h) == text) return h;
    return 0;
}

}  // namespace

TEST_F(TreesWindowTest, ATreeControlWithChecksAndATreeViewInAHostWindow)
{
    AddFrameworkTags();
    hosttest::HostApp app;
    ASSERT_EQ(0, app.MissingSystemResources());
    hosttest::RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, kTreesWindow, true, kHostX, kHostY));
    STreeCtrl* tc = sobj_cast<STreeCtrl>(host.FindChildByName(L"tc"));
    STreeView* tv = sobj_cast<STreeView>(host.FindChildByName(L"tv"));
    ASSERT_TRUE(tc && tv);
    EXPECT_EQ(10, tc->GetVisibleCount()) << "'Maps' starts collapsed";

    treetest::TreeAdapter* tree = new treetest::TreeAdapter;
    tree->height = 24;
    const HSTREEITEM media = tree->Add(L"Media");
    for (const wchar_t* name : {L"Trailer", L"Screens", L"Music"}) tree->Add(name, media);
    const HSTREEITEM teams = tree->Add(L"Teams");
    tree->Add(L"Red", teams);
    const HSTREEITEM blueItem = tree->Add(L"Blue", teams);
    tree->Add(L"Replays");
    ASSERT_TRUE(tv->SetAdapter(tree));
    tree->Release();
    EXPECT_EQ(8, tv->GetVisibleCount());

    // Through the window: check 'Logs' (both children follow), expand 'Maps'
    // by its toggle, select 'Blue' in the view.
    const HSTREEITEM logs = Find(tc, L"Logs"), maps = Find(tc, L"Maps");
    const RECT logsRow = tc->GetItemRect(logs);
    PostClick(host, POINT{logsRow.left + 16 + 8, logsRow.top + 11});
    const RECT mapsRow = tc->GetItemRect(maps);
    PostClick(host, POINT{mapsRow.left + 8, mapsRow.top + 11});
    SItemPanel* blue = tv->GetItemPanel(blueItem);
    ASSERT_TRUE(blue);
    RECT blueRow;
    ASSERT_TRUE(tv->GetItemRect(blue, &blueRow));
    PostClick(host, POINT{blueRow.left + 10, blueRow.top + 10});
    EXPECT_TRUE(hosttest::PumpUntil([&] { return tc->GetCheckState(logs) == 1 && !tc->IsCollapsed(maps) && tv->GetSel() == blueItem; },
                                    5000));
    EXPECT_EQ(1, tc->GetCheckState(Find(tc, L"today.txt")));
    EXPECT_EQ(0, tc->GetCheckState(Find(tc, L"Game client"))) << "none of its rows checked";
    tc->SetCheckState(Find(tc, L"client.dll"), TRUE);
    EXPECT_EQ(2, tc->GetCheckState(Find(tc, L"Binaries")));
    EXPECT_EQ(2, tc->GetCheckState(Find(tc, L"Game client")));
    EXPECT_EQ(11, tc->GetVisibleCount());
    EXPECT_EQ(1, host.EventCount(EventTVSelChanged::EventID));

    const int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"itemviews_trees.png"));
    host.DestroyWindow();
}
