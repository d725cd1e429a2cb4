// A scroll view with both bars in a real host window under Xvfb: what the
// window shows (screenshot "scrollview_window.png"), the wheel coming from
// the system in screen coordinates, and a thumb drag with posted mouse input.
#include "controls/PanelFactories.h"
#include "controls/SScrollView.h"
#include "core/SHostWnd.h"
#include "host/HostTestSupport.h"
#include "LeakCheck.h"

#include <string>

using namespace WUI;

namespace {

class ScrollViewWindowTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        SWindowFactoryMgr::AddStandardFactories(&RegisterPanelFactories);
        app.reset(new hosttest::HostApp);
    }
    void TearDown() override
    {
        app.reset();
        SWindowFactoryMgr::RemoveStandardFactories(&RegisterPanelFactories);
        LeakChecked::TearDown();
    }
    std::unique_ptr<hosttest::HostApp> app;
};

// A view of 600 x 800 in a client of 280 x 200: rows 40 high, two colours.
std::wstring Layout()
{
    std::wstring xml =
        L"<WUI title='Scroll view' size='320,240' sendWheel2Hover='1'><root colorBkgnd='#F0F2F5'>"
        L"<scrollview name='view' pos='20,20,@280,@200' viewSize='600,800' scrollSpeed='40' colorBkgnd='#FFFFFF'>";
    for (int row = 0; row < 20; ++row) {
        const wchar_t* color = row % 2 ? L"#E04040" : L"#3070C0";
        xml += L"<window name='row" + std::to_wstring(row) + L"' pos='10," + std::to_wstring(row * 40 + 5) +
               L",@560,@30' colorBkgnd='" + color + L"'/>";
    }
    return xml + L"</scrollview></root></WUI>";
}

const DWORD kBlue = 0xFF3070C0, kRed = 0xFFE04040, kThumb = 0xFFC4C9D0, kTrack = 0xFFECEEF1;
const POINT kWindowAt = {100, 100};

LPARAM ScreenPoint(int x, int y)
{
    return MAKELPARAM(kWindowAt.x + x, kWindowAt.y + y);
}

}  // namespace

TEST_F(ScrollViewWindowTest, BarsWheelAndDragInARealWindow)
{
    ASSERT_EQ(app->MissingSystemResources(), 0);
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, Layout().c_str(), true, kWindowAt.x, kWindowAt.y));
    SScrollView* view = sobj_cast<SScrollView>(host.FindChildByName(L"view"));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->HasScrollBar(TRUE));
    ASSERT_TRUE(view->HasScrollBar(FALSE));
    // The view (20,20)-(300,220): bars 16 wide at its right and bottom.
    EXPECT_EQ(hosttest::HostPixel(host, 100, 40), kBlue) << "row 0";
    EXPECT_EQ(hosttest::HostPixel(host, 100, 80), kRed) << "row 1";
    EXPECT_EQ(hosttest::HostPixel(host, 292, 50), kThumb) << "the vertical thumb at the top";
    EXPECT_EQ(hosttest::HostPixel(host, 292, 150), kTrack) << "the rail";
    EXPECT_EQ(hosttest::HostPixel(host, 100, 40 + 170), kThumb) << "the horizontal thumb";
    EXPECT_EQ(hosttest::HostPixel(host, 295, 215), kTrack) << "the corner";

    // The system's wheel comes in screen coordinates; the host makes them
    // its client's, and the move the view re-sends after scrolling puts the
    // hover on the row that came under the mouse.
    SendMessageW(host.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(60, 50));
    EXPECT_EQ(host.GetHover(), host.FindChildByName(L"row0")->GetSwnd());
    int paints = host.GetPaintCount();
    SendMessageW(host.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), ScreenPoint(60, 50));
    EXPECT_EQ(view->GetViewOrigin().y, 40);
    EXPECT_EQ(host.GetHover(), host.FindChildByName(L"row1")->GetSwnd());
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_EQ(hosttest::HostPixel(host, 100, 40), kRed) << "row 1 moved up to where row 0 was";

    // A drag of the vertical thumb with posted mouse input: rail 36..188,
    // thumb 34 long, 118 free pixels for 616 positions.
    const SbParts parts = view->GetScrollBarParts(TRUE);
    ASSERT_EQ(parts.freeLength, 118);
    const int y = parts.thumb.top + 10;
    paints = host.GetPaintCount();
    PostMessageW(host.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(292, y));
    PostMessageW(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(292, y));
    PostMessageW(host.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(292, y + 59));
    hosttest::Pump(0);
    EXPECT_EQ(view->GetScrollInfo(TRUE).nTrackPos, 40 + 308) << "half the free length: half the travel";
    EXPECT_EQ(view->GetViewOrigin().y, 348) << "the view follows the thumb";
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    EXPECT_EQ(hosttest::HostPixel(host, 292, parts.thumb.top + 59 + 17), 0xFF8C96A5) << "the pushed thumb under the mouse";
    EXPECT_TRUE(hosttest::SaveScreenshot(app->Factory(), host.m_hWnd, L"scrollview_window.png"));
    PostMessageW(host.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(292, y + 59));
    hosttest::Pump(0);
    EXPECT_EQ(view->GetScrollInfo(TRUE).nTrackPos, -1);
    EXPECT_EQ(view->GetScrollPos(TRUE), 348);
    EXPECT_EQ(host.GetCapture(), 0u);
    host.DestroyWindow();
}
