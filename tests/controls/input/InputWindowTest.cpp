// The hot-key field, the spin button, the calendar, a slider and a split
// window together in one real host window under Xvfb, driven through the
// window's own messages; the host's image is read back and the screen saved
// as "input_controls.png" for a person to look at.
#include "LeakCheck.h"
#include "controls/CommonControls.h"
#include "controls/DragControls.h"
#include "controls/InputControls.h"
#include "controls/SCalendar.h"
#include "controls/SHotKeyCtrl.h"
#include "controls/SSliderBar.h"
#include "controls/SSplitWnd.h"
#include "controls/SSpinButtonCtrl.h"
#include "host/HostTestSupport.h"

using namespace WUI;

class InputWindowTest : public LeakChecked {};

namespace {

// 760 x 340. The calendar's client is 292 x 194 at (111, 127): cells of
// 41 x 26 below a title band of 26. On the right a slider and a split
// window of three panes (300 wide less two bars of 5: 100 for each pane's
// ideal, the rest to the lowest priority).
const wchar_t kInputWindow[] =
    L"<WUI title='Input controls' size='760,340'>"
    L"<skin><colorrect name='skin_cal_day' normal='#FFFFFF00' hover='#DCE8F5' pushdown='#2F6FB7'/>"
    L"<colorrect name='skin_cal_title' normal='#EEF2F7'/></skin>"
    L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff' font='size:12' colorText='#1d232b'>"
    L"<text pos='16,20,@90,@24' align='left'>Hot key</text>"
    L"<hotkey name='hk' pos='110,18,@200,@28' margin='1' colorBorder='#7d9ebc' padding='6,0,6,0'"
    L" hotKey='0x74' combKey='6'/>"
    L"<text pos='16,60,@90,@24' align='left'>Spin button</text>"
    L"<text name='spin_value' pos='110,58,@60,@28' margin='1' colorBorder='#7d9ebc' align='right'"
    L" padding='0,0,6,0'/>"
    L"<spinButton name='spin' pos='171,58,@18,@28' buddy='spin_value' max='59' value='42'>"
    L"<button name='btn_up' font='size:13'>▲</button><button name='btn_down' font='size:13'>▼</button>"
    L"</spinButton>"
    L"<text pos='16,102,@90,@24' align='left'>Calendar</text>"
    L"<text name='cal_month' pos='110,100,@200,@24' align='left'/>"
    L"<calendar name='cal' pos='110,126,@294,@196' margin='1' colorBorder='#7d9ebc' titleHeight='26'"
    L" footerHeight='8' titleSkin='skin_cal_title' daySkin='skin_cal_day' colorDay='#ffffff'"
    L" colorWeekend='#c0392b'/>"
    L"<text pos='440,20,@80,@24' align='left'>Slider</text>"
    L"<sliderbar name='slider' pos='530,18,@200,@28' max='100' value='40'/>"
    L"<text pos='440,60,@200,@24' align='left'>Split window</text>"
    L"<splitcol name='split' pos='440,90,@300,@232' sepSize='6' margin='1' colorBorder='#7d9ebc'>"
    L"<pane name='left' idealSize='90' priority='1' colorBkgnd='#dce8f5'>"
    L"<text pos='0,0,-0,-0' align='center' valign='middle'>Left</text></pane>"
    L"<pane name='middle' idealSize='90' colorBkgnd='#eef2f7'>"
    L"<text pos='0,0,-0,-0' align='center'>Middle</text></pane>"
    L"<pane name='right' idealSize='90' priority='2' colorBkgnd='#f5e6dc'>"
    L"<text pos='0,0,-0,-0' align='center'>Right</text></pane>"
    L"</splitcol>"
    L"</window></root></WUI>";

// Away from where the other window tests put theirs: the pointer is moved onto it.
const int kHostX = 500, kHostY = 660;

// The centre of a calendar day's cell, in host coordinates.
POINT DayCentre(SCalendar* cal, int day)
{
    const RECT rc = cal->GetDayRect(day);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace

TEST_F(InputWindowTest, InputControlsInAHostWindow)
{
    SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
    SWindowFactoryMgr::AddStandardFactories(&RegisterInputControls);
    SWindowFactoryMgr::AddStandardFactories(&RegisterDragControls);
    hosttest::HostApp app;
    ASSERT_EQ(0, app.MissingSystemResources());
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, kInputWindow, true, kHostX, kHostY));
    SHotKeyCtrl* hk = sobj_cast<SHotKeyCtrl>(host.FindChildByName(L"hk"));
    SSpinButtonCtrl* spin = sobj_cast<SSpinButtonCtrl>(host.FindChildByName(L"spin"));
    SCalendar* cal = sobj_cast<SCalendar>(host.FindChildByName(L"cal"));
    SWindow* buddy = host.FindChildByName(L"spin_value");
    SSliderBar* slider = sobj_cast<SSliderBar>(host.FindChildByName(L"slider"));
    SSplitWnd* split = sobj_cast<SSplitWnd>(host.FindChildByName(L"split"));
    ASSERT_TRUE(hk && spin && cal && buddy && slider && split);
    EXPECT_STREQ(L"42", buddy->GetWindowText());
    ASSERT_NE(nullptr, slider->GetThumbSkin());  // the built-in thumb

    // The panes fill the split window's client (441..739) with bars of 6.
    ASSERT_EQ(3, split->GetPaneCount());
    EXPECT_EQ(441, split->GetPane(0)->GetWindowRect().left);
    EXPECT_EQ(739, split->GetPane(2)->GetWindowRect().right);
    EXPECT_EQ(90, split->GetPane(2)->GetWindowRect().right - split->GetPane(2)->GetWindowRect().left);
    EXPECT_EQ(split->GetPane(0)->GetWindowRect().right + 6, split->GetPane(1)->GetWindowRect().left);

    // The slider's rail clicked near its end through the window: the value follows.
    const RECT rail = slider->GetPartRect(SSliderBar::kPartRail);
    const POINT nearEnd = {rail.right - 20, (rail.top + rail.bottom) / 2};
    hosttest::PostMouse(host.m_hWnd, WM_LBUTTONDOWN, nearEnd);
    hosttest::PostMouse(host.m_hWnd, WM_LBUTTONUP, nearEnd);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return slider->GetValue() > 80; }, 5000)) << slider->GetValue();

    // The month above the calendar, from the calendar's own texts.
    cal->SetDate(2024, 2, 14, FALSE);
    SStringW month;
    ASSERT_TRUE(SCalendar::GetMonthName(2, month));
    host.FindChildByName(L"cal_month")->SetWindowText(cal->GetYearText() + L" 年 " + month + L"月");

    // The up button clicked through the window: 43; the pointer then rests on the 20th.
    const RECT up = spin->GetUpButton()->GetWindowRect();
    const POINT upCentre = {(up.left + up.right) / 2, (up.top + up.bottom) / 2};
    hosttest::PostClick(host.m_hWnd, upCentre);
    const POINT day20 = DayCentre(cal, 20);
    SetCursorPos(kHostX + day20.x, kHostY + day20.y);
    hosttest::PostMouse(host.m_hWnd, WM_MOUSEMOVE, day20);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return cal->GetHoverDay() == 20; }, 5000));
    EXPECT_STREQ(L"43", buddy->GetWindowText());
    EXPECT_EQ(43, spin->GetValue());

    const int paints = host.GetPaintCount();
    host.InvalidateRect(nullptr);
    ASSERT_TRUE(hosttest::WaitPainted(host, paints));
    const RECT picked = cal->GetDayRect(14), hover = cal->GetDayRect(20);
    EXPECT_EQ(0xFF2F6FB7u, hosttest::HostPixel(host, picked.left + 2, picked.top + 2));
    EXPECT_EQ(0xFFDCE8F5u, hosttest::HostPixel(host, hover.left + 2, hover.top + 2));
    EXPECT_EQ(0xFFEEF2F7u, hosttest::HostPixel(host, 113, 129));  // the title band
    // The middle pane's colour, and the bars between the panes drawn over the background.
    const RECT middle = split->GetPane(1)->GetWindowRect();
    EXPECT_EQ(0xFFEEF2F7u, hosttest::HostPixel(host, middle.left + 3, middle.bottom - 3));
    for (int bar : {split->GetPane(0)->GetWindowRect().right, middle.right}) {
        int barInk = 0;
        for (int y = middle.top; y < middle.bottom; ++y)
            for (int x = bar; x < bar + 6; ++x) barInk += hosttest::HostPixel(host, x, y) != 0xFFFFFFFF;
        EXPECT_GT(barInk, 30) << "bar at " << bar;
    }
    // The hot key's text and every weekday title have ink.
    int ink = 0;
    for (int y = 22; y < 42; ++y)
        for (int x = 118; x < 300; ++x) ink += hosttest::HostPixel(host, x, y) != 0xFFFFFFFF;
    EXPECT_GT(ink, 30) << hk->GetHotKeyText().c_str();
    for (int column = 0; column < 7; ++column) {
        int titleInk = 0;
        for (int y = 128; y < 152; ++y)
            for (int x = 111 + column * 41; x < 111 + (column + 1) * 41; ++x)
                titleInk += hosttest::HostPixel(host, x, y) != 0xFFEEF2F7;
        EXPECT_GT(titleInk, 5) << "weekday " << column;
    }
    EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"input_controls.png"));
    host.DestroyWindow();
}
