// The stand-alone scroll bar: it reports presses, moves only under a drag,
// keeps its info through SBM_* messages, and stops repeat timers at the end.
#include "controls/SScrollBar.h"
#include "panels/PanelTestHost.h"
#include "LeakCheck.h"

using namespace WUI;
using namespace paneltest;

class ScrollBarTest : public LeakChecked {};

namespace {

const wchar_t kBar[] = L"<root><scrollbar name='sb' pos='0,0,@16,@200' max='99' page='10' value='45'/></root>";

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

}  // namespace

TEST_F(ScrollBarTest, PressesAreReportedNotActedOn)
{
    PaintHost host;
    host.Load(kBar);
    SScrollBar* sb = As<SScrollBar>(host.Find(L"sb"));
    ASSERT_NE(sb, nullptr);
    EXPECT_TRUE(sb->IsVertical());
    EXPECT_EQ(sb->GetArrowSize(), 16);
    EXPECT_EQ(sb->GetParts().thumb.top, 91);
    ScrollLog log(sb);
    sb->SendSwndMessage(WM_LBUTTONDOWN, 0, At(8, 190));
    EXPECT_EQ(host.Container().capture, sb->GetSwnd());
    sb->SendSwndMessage(WM_LBUTTONUP, 0, At(8, 190));
    EXPECT_EQ(host.Container().capture, 0u);
    sb->SendSwndMessage(WM_LBUTTONDOWN, 0, At(8, 150));
    sb->SendSwndMessage(WM_LBUTTONUP, 0, At(8, 150));
    sb->SendSwndMessage(WM_LBUTTONDOWN, 0, At(8, 5));
    sb->SendSwndMessage(WM_LBUTTONUP, 0, At(8, 5));
    const std::vector<ScrollLog::Entry> presses = {
        {SB_LINEDOWN, 45, TRUE}, {SB_PAGEDOWN, 45, TRUE}, {SB_LINEUP, 45, TRUE}};
    EXPECT_EQ(log.entries, presses);
    EXPECT_EQ(sb->GetPos(), 45) << "a handler moves the bar, not the bar itself";
    log.entries.clear();
    // A thumb drag moves it.
    sb->SendSwndMessage(WM_LBUTTONDOWN, 0, At(8, 100));
    sb->SendSwndMessage(WM_MOUSEMOVE, 0, At(8, 175));
    sb->SendSwndMessage(WM_MOUSEMOVE, 0, At(9, 176));
    sb->SendSwndMessage(WM_LBUTTONUP, 0, At(9, 176));
    const std::vector<ScrollLog::Entry> drag = {{SB_THUMBTRACK, 90, TRUE}, {SB_THUMBPOSITION, 90, TRUE}};
    EXPECT_EQ(log.entries, drag);
    EXPECT_EQ(sb->GetPos(), 90);
    EXPECT_EQ(sb->GetScrollInfo().nTrackPos, -1);
    EXPECT_EQ(sb->SetPos(-5), 0);
    EXPECT_EQ(sb->SetPos(200), 90);
}

TEST_F(ScrollBarTest, ScrollInfoMessagesAndAttributes)
{
    PaintHost host;
    host.Load(L"<root><scrollbar name='sb' pos='0,0,@200,@16' vertical='0' arrowSize='20'/></root>");
    SScrollBar* sb = As<SScrollBar>(host.Find(L"sb"));
    EXPECT_FALSE(sb->IsVertical());
    EXPECT_EQ(sb->GetParts().lineUp.right, 20);
    SCROLLINFO in = {};
    in.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    in.nMin = 100;
    in.nMax = 199;
    in.nPage = 10;
    in.nPos = 500;
    EXPECT_EQ(sb->SendSwndMessage(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&in)), 1);
    EXPECT_EQ(sb->GetPos(), 190);
    SCROLLINFO out = {};
    out.fMask = SIF_ALL;
    EXPECT_EQ(sb->SendSwndMessage(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&out)), 1);
    EXPECT_EQ(out.nMin, 100);
    EXPECT_EQ(out.nMax, 199);
    EXPECT_EQ(out.nPage, 10u);
    EXPECT_EQ(out.nPos, 190);
    EXPECT_EQ(out.nTrackPos, -1);
    SCROLLINFO pageOnly = {};
    pageOnly.fMask = SIF_PAGE;
    pageOnly.nPos = 7;
    sb->SendSwndMessage(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&pageOnly));
    EXPECT_EQ(pageOnly.nPos, 7) << "only what the mask asks for";
    EXPECT_EQ(sb->SendSwndMessage(SBM_SETSCROLLINFO, TRUE, 0), 0);
    EXPECT_EQ(sb->SendSwndMessage(SBM_GETSCROLLINFO, 0, 0), 0);
    for (const wchar_t* name : {L"min", L"max", L"value", L"page", L"arrowSize", L"skin"})
        EXPECT_EQ(sb->SetAttribute(name, L"x", FALSE), E_FAIL) << name;
    EXPECT_EQ(sb->SetAttribute(L"page", L"-1", FALSE), E_FAIL);
    EXPECT_EQ(sb->SetAttribute(L"skin", L"_skin.sys.checkbox", FALSE), E_FAIL);
    EXPECT_EQ(sb->SetAttribute(L"value", L"150", FALSE), S_FALSE);
    EXPECT_EQ(sb->GetPos(), 150);
}

TEST_F(ScrollBarTest, RepeatTimersStopAtTheEnd)
{
    PaintHost host;
    host.Load(kBar);
    SScrollBar* sb = As<SScrollBar>(host.Find(L"sb"));
    TimerHost timers;
    host.Container().hostHwnd = timers.Handle();
    const UINT_PTR timer1 = ElementTimerId(1, sb->GetSwnd());
    // A handler repeating the down arrow: the timer stops once the bar is at its end.
    sb->SendSwndMessage(WM_LBUTTONDOWN, 0, At(8, 190));
    sb->SetTimer(1, 60000);
    sb->SendSwndMessage(WM_TIMER, 1);
    EXPECT_TRUE(KillTimer(timers.Handle(), timer1)) << "not at the end yet";
    sb->SetPos(90);
    sb->SetTimer(1, 60000);
    sb->SendSwndMessage(WM_TIMER, 1);
    EXPECT_FALSE(KillTimer(timers.Handle(), timer1));
    sb->SendSwndMessage(WM_LBUTTONUP, 0, At(8, 190));
    // The rail: until the thumb comes under the mouse.
    sb->SetPos(50);  // thumb 99..117
    sb->SendSwndMessage(WM_LBUTTONDOWN, 0, At(8, 30));
    sb->SetPos(10);  // 32..50
    sb->SetTimer(1, 60000);
    sb->SendSwndMessage(WM_TIMER, 1);
    EXPECT_TRUE(KillTimer(timers.Handle(), timer1));
    sb->SetPos(5);  // 24..42
    sb->SetTimer(1, 60000);
    sb->SendSwndMessage(WM_TIMER, 1);
    EXPECT_FALSE(KillTimer(timers.Handle(), timer1));
    sb->SetTimer(2, 60000);
    sb->SendSwndMessage(WM_LBUTTONUP, 0, At(8, 30));
    EXPECT_FALSE(KillTimer(timers.Handle(), ElementTimerId(2, sb->GetSwnd()))) << "the release kills it";
    host.Container().hostHwnd = nullptr;
}

TEST_F(ScrollBarTest, PaintsItsPartsAndFeedback)
{
    PaintHost host;
    host.Load(kBar);
    SScrollBar* sb = As<SScrollBar>(host.Find(L"sb"));
    host.PaintAll();
    const DWORD thumb = 0xFFC4C9D0, track = 0xFFECEEF1, hoverGround = 0xFFEBF3FD;
    EXPECT_EQ(host.Px(8, 100), thumb);
    EXPECT_EQ(host.Px(8, 60), track);
    EXPECT_EQ(host.Px(3, 3), track);
    sb->SendSwndMessage(WM_MOUSEMOVE, 0, At(8, 5));
    EXPECT_EQ(host.Px(3, 3), hoverGround) << "the arrow under the mouse lights up at once";
    sb->SendSwndMessage(WM_MOUSELEAVE);
    EXPECT_EQ(host.Px(3, 3), track);

    PaintHost bare(240, 180, false);
    bare.Load(kBar);
    SScrollBar* none = As<SScrollBar>(bare.Find(L"sb"));
    EXPECT_EQ(none->GetArrowSize(), 0);
    bare.PaintAll();
    EXPECT_EQ(bare.Px(8, 100), 0u) << "no skin: nothing drawn";
}
