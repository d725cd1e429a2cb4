// The panel's bars: scroll codes, scroll info, geometry, attributes, a
// missing skin, the wheel, held arrows and rails on the element timers,
// thumb drags through the container, and the bars' pixels.
#include "controls/SPanel.h"
#include "panels/PanelTestHost.h"
#include "render/SSkinPool.h"
#include "support/MessageRecorder.h"
#include "LeakCheck.h"

#include <cstdlib>

using namespace WUI;
using namespace paneltest;

class PanelTest : public LeakChecked {};

namespace {

bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

::testing::AssertionResult SameRect(const RECT& got, const RECT& want)
{
    if (got == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << got.left << "," << got.top << "," << got.right << ","
                                         << got.bottom << ") instead of (" << want.left << "," << want.top << ","
                                         << want.right << "," << want.bottom << ")";
}

bool Near(DWORD got, DWORD want, int tolerance = 2)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

// Colours of the built-in scroll-bar image: the rail, and the thumb in its
// normal, hover and pushed rows.
const DWORD kTrack = 0xFFECEEF1, kThumb = 0xFFC4C9D0, kThumbHover = 0xFFAAB2BE, kThumbPushed = 0xFF8C96A5;
const DWORD kWhite = 0xFFFFFFFF;

const wchar_t kPanel[] = L"<root><div name='p' pos='10,10,@200,@150' margin='2' colorBkgnd='#ffffff'/></root>";

}  // namespace

TEST_F(PanelTest, ScrollCodesMoveTheBar)
{
    PaintHost host;
    host.Load(kPanel);
    SPanel* p = As<SPanel>(host.Find(L"p"));
    ASSERT_NE(p, nullptr);
    const struct {
        int nMin, nMax;
        UINT page;
        int pos;
        UINT code;
        int arg, want;
    } cases[] = {
        {0, 99, 10, 50, SB_LINEUP, 0, 40},          {0, 99, 10, 50, SB_LINEDOWN, 0, 60},
        {0, 99, 10, 50, SB_PAGEUP, 0, 40},          {0, 99, 10, 50, SB_PAGEDOWN, 0, 60},
        {0, 99, 10, 50, SB_THUMBPOSITION, 70, 70},  {0, 99, 10, 50, SB_THUMBTRACK, 73, 73},
        {0, 99, 10, 50, SB_TOP, 0, 0},              {0, 99, 10, 50, SB_BOTTOM, 0, 90},
        {0, 99, 10, 50, SB_ENDSCROLL, 7, 50},       {0, 99, 10, 50, 99, 7, 50},
        {0, 99, 10, 50, SB_THUMBPOSITION, 500, 90}, {0, 99, 10, 50, SB_THUMBPOSITION, -5, 0},
        {0, 99, 10, 5, SB_LINEUP, 0, 0},            {0, 99, 10, 88, SB_PAGEDOWN, 0, 90},
        {100, 199, 10, 150, SB_TOP, 0, 100},        {100, 199, 10, 150, SB_BOTTOM, 0, 190},
        {100, 199, 10, 105, SB_LINEUP, 0, 100},     {0, 99, 100, 0, SB_LINEDOWN, 0, 0},
    };
    for (const auto& c : cases) {
        p->SetScrollInfo(ScrollInfo(c.nMin, c.nMax, c.page, c.pos), TRUE);
        ASSERT_EQ(p->GetScrollPos(TRUE), c.pos);
        EXPECT_TRUE(p->OnScroll(TRUE, c.code, c.arg));
        EXPECT_EQ(p->GetScrollPos(TRUE), c.want) << "code " << c.code << " from " << c.pos << " in " << c.nMin
                                                 << ".." << c.nMax << " page " << c.page;
    }
    // With page 0 every scroll ends at position 0, whatever the range says.
    for (UINT code = SB_LINEUP; code <= SB_ENDSCROLL; ++code) {
        p->SetScrollInfo(ScrollInfo(10, 99, 0, 50), FALSE);
        EXPECT_EQ(p->GetScrollPos(FALSE), 0);
        p->OnScroll(FALSE, code, 50);
        EXPECT_EQ(p->GetScrollPos(FALSE), 0) << "code " << code;
    }
    // WM_VSCROLL and WM_HSCROLL carry the code and the position.
    p->SetScrollInfo(ScrollInfo(0, 99, 10, 0), TRUE);
    p->SendSwndMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 33));
    EXPECT_EQ(p->GetScrollPos(TRUE), 33);
    p->SetScrollInfo(ScrollInfo(0, 99, 10, 0), FALSE);
    p->SendSwndMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0));
    EXPECT_EQ(p->GetScrollPos(FALSE), 10);
}

TEST_F(PanelTest, ScrollInfoPositionAndRange)
{
    PaintHost host;
    host.Load(kPanel);
    SPanel* p = As<SPanel>(host.Find(L"p"));
    p->SetScrollInfo(ScrollInfo(0, 99, 10, 50), TRUE);
    // Only the position: the page stays, so 95 is held at 90 (not made 0).
    SCROLLINFO pos = {};
    pos.fMask = SIF_POS;
    pos.nPos = 95;
    p->SetScrollInfo(pos, TRUE);
    EXPECT_EQ(p->GetScrollPos(TRUE), 90);
    EXPECT_EQ(p->GetScrollInfo(TRUE).nPage, 10u);
    SCROLLINFO track = {};
    track.fMask = SIF_TRACKPOS;
    track.nTrackPos = 12;
    p->SetScrollInfo(track, TRUE);
    EXPECT_EQ(p->GetScrollInfo(TRUE).nTrackPos, 12);

    EXPECT_TRUE(p->SetScrollPos(TRUE, -30, TRUE));
    EXPECT_EQ(p->GetScrollPos(TRUE), 0);
    p->SetScrollPos(TRUE, 80, FALSE);
    EXPECT_TRUE(p->SetScrollRange(TRUE, 20, 60, TRUE));
    EXPECT_EQ(p->GetScrollPos(TRUE), 51) << "lowered to max - page + 1";
    p->SetScrollRange(TRUE, 70, 120, FALSE);
    EXPECT_EQ(p->GetScrollPos(TRUE), 70) << "raised to the min";
    int lo = 0, hi = 0;
    EXPECT_TRUE(p->GetScrollRange(TRUE, &lo, &hi));
    EXPECT_EQ(lo, 70);
    EXPECT_EQ(hi, 120);
    EXPECT_TRUE(p->GetScrollRange(TRUE, nullptr, nullptr));
}

TEST_F(PanelTest, BarsTakeTheirPlaceFromTheClientArea)
{
    PaintHost host;
    host.Load(kPanel);
    SPanel* p = As<SPanel>(host.Find(L"p"));
    ASSERT_NE(p->GetSbSkin(), nullptr);
    EXPECT_EQ(p->GetSbWidth(), 16) << "the built-in skin's cell";
    EXPECT_EQ(p->GetSbArrowSize(), 16);
    EXPECT_TRUE(SameRect(p->GetClientRect(), RECT{12, 12, 208, 158}));
    const RECT hidden = p->GetScrollBarRect(TRUE);
    EXPECT_TRUE(IsRectEmpty(&hidden));
    p->ShowScrollBar(SSB_VERT, TRUE);
    EXPECT_TRUE(p->HasScrollBar(TRUE));
    EXPECT_FALSE(p->HasScrollBar(FALSE));
    EXPECT_TRUE(SameRect(p->GetClientRect(), RECT{12, 12, 192, 158}));
    EXPECT_TRUE(SameRect(p->GetScrollBarRect(TRUE), RECT{192, 12, 208, 158}));
    p->ShowScrollBar(SSB_BOTH, TRUE);
    EXPECT_TRUE(SameRect(p->GetClientRect(), RECT{12, 12, 192, 142}));
    EXPECT_TRUE(SameRect(p->GetScrollBarRect(TRUE), RECT{192, 12, 208, 142}));
    EXPECT_TRUE(SameRect(p->GetScrollBarRect(FALSE), RECT{12, 142, 192, 158}));
    // Margins along each bar, a width and arrows of its own.
    p->SetAttribute(L"sbTop", L"4", FALSE);
    p->SetAttribute(L"sbBottom", L"3", FALSE);
    p->SetAttribute(L"sbLeft", L"5", FALSE);
    p->SetAttribute(L"sbRight", L"6", FALSE);
    EXPECT_TRUE(SameRect(p->GetScrollBarRect(TRUE), RECT{192, 16, 208, 139}));
    EXPECT_TRUE(SameRect(p->GetScrollBarRect(FALSE), RECT{17, 142, 186, 158}));
    p->SetAttribute(L"sbWid", L"0x0A", FALSE);
    p->SetAttribute(L"sbArrowSize", L"12", FALSE);
    EXPECT_TRUE(SameRect(p->GetClientRect(), RECT{12, 12, 198, 148}));
    EXPECT_EQ(p->GetSbArrowSize(), 12);
    // The bars are non-client: the panel takes the mouse there, not a child.
    EXPECT_TRUE(p->HitNonClient(POINT{200, 50}));
    EXPECT_FALSE(p->HitNonClient(POINT{100, 50}));
    p->ShowScrollBar(SSB_VERT, FALSE);
    EXPECT_FALSE(p->HitNonClient(POINT{200, 50}));
    EXPECT_TRUE(SameRect(p->GetClientRect(), RECT{12, 12, 208, 148}));
    p->EnableScrollBar(SSB_HORZ, FALSE);
    EXPECT_FALSE(p->IsScrollBarEnable(FALSE));
    EXPECT_TRUE(p->IsScrollBarEnable(TRUE));
}

TEST_F(PanelTest, AttributesRefuseBadValues)
{
    PaintHost host;
    host.Load(L"<root><div name='p' pos='0,0,@100,@100' sbWid='12' scrollSpeed='7' updateInterval='30'"
              L" sbEnable='2' sbSkin='_skin.sys.scrollbar'/></root>");
    SPanel* p = As<SPanel>(host.Find(L"p"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetSbWidth(), 12);
    EXPECT_EQ(p->GetScrollLineSize(TRUE), 7);
    EXPECT_FALSE(p->IsScrollBarEnable(FALSE));
    EXPECT_TRUE(p->IsScrollBarEnable(TRUE));
    const struct {
        const wchar_t *name, *value;
    } bad[] = {
        {L"sbWid", L"12abc"},     {L"sbWid", L""},          {L"sbWid", L"-2"},          {L"sbWid", L"5000"},
        {L"sbArrowSize", L"x"},   {L"sbEnable", L"4"},      {L"scrollSpeed", L"-1"},    {L"updateInterval", L"1e3"},
        {L"sbTop", L"-1"},        {L"sbSkin", L"no.such.skin"}, {L"sbSkin", L"_skin.sys.checkbox"},
    };
    SSkinScrollbar* skin = p->GetSbSkin();
    for (const auto& b : bad) EXPECT_EQ(p->SetAttribute(b.name, b.value, FALSE), E_FAIL) << b.name << "=" << b.value;
    EXPECT_EQ(p->GetSbWidth(), 12);
    EXPECT_EQ(p->GetScrollLineSize(TRUE), 7);
    EXPECT_EQ(p->GetSbSkin(), skin) << "a skin that is no scroll-bar skin is refused";
    EXPECT_EQ(p->SetAttribute(L"SBWID", L"0x10", FALSE), S_OK);
    EXPECT_EQ(p->GetSbWidth(), 16);
    EXPECT_EQ(p->SetAttribute(L"scrollSpeed", L"3", FALSE), S_FALSE);
    EXPECT_TRUE(p->IsClass(L"div"));
    EXPECT_TRUE(p->IsClass(L"window"));
    EXPECT_FALSE(p->IsClass(L"scrollview"));
}

TEST_F(PanelTest, WithoutASkinTheBarsTakeNoRoomAndDrawNothing)
{
    PaintHost host(240, 180, false);
    host.Load(kPanel);
    SPanel* p = As<SPanel>(host.Find(L"p"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetSbSkin(), nullptr);
    EXPECT_EQ(p->GetSbWidth(), 0);
    p->ShowScrollBar(SSB_BOTH, TRUE);
    p->SetScrollInfo(ScrollInfo(0, 99, 10, 50), TRUE);
    EXPECT_TRUE(SameRect(p->GetClientRect(), RECT{12, 12, 208, 158}));
    host.PaintAll();
    EXPECT_EQ(host.Px(207, 80), kWhite) << "the client area reaches the edge";
    p->SendSwndMessage(WM_NCPAINT);
    p->SendSwndMessage(WM_NCLBUTTONDOWN, 0, At(207, 80));
    p->SendSwndMessage(WM_NCMOUSEMOVE, 0, At(207, 90));
    p->SendSwndMessage(WM_NCLBUTTONUP, 0, At(207, 90));
    EXPECT_EQ(host.Container().capture, 0u);
    EXPECT_EQ(p->GetScrollPos(TRUE), 50);
    EXPECT_EQ(p->SetAttribute(L"sbSkin", L"_skin.sys.scrollbar", FALSE), E_FAIL);
}

TEST_F(PanelTest, WheelScrollsWholeNotches)
{
    PaintHost host;
    host.Load(L"<root><div name='outer' pos='0,0,@200,@150'><div name='p' pos='0,0,@100,@100'/></div></root>");
    SPanel* outer = As<SPanel>(host.Find(L"outer"));
    SPanel* p = As<SPanel>(host.Find(L"p"));
    MessageRecorder hostWnd(WM_MOUSEMOVE, WM_MOUSEMOVE);
    host.Container().hostHwnd = hostWnd.Handle();
    p->ShowScrollBar(SSB_VERT, TRUE);
    p->SetScrollInfo(ScrollInfo(0, 999, 100, 500), TRUE);
    const struct {
        short delta;
        int want;
    } cases[] = {{240, 480}, {-119, 480}, {119, 480}, {-360, 510}, {120, 500}};
    for (const auto& c : cases) {
        EXPECT_EQ(p->SendSwndMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, c.delta), At(30, 40)), 0);
        EXPECT_EQ(p->GetScrollPos(TRUE), c.want) << c.delta;
    }
    // Each wheel that scrolled tells the host the mouse moved, at the same
    // client point, so hover follows the moved content.
    ASSERT_EQ(hostWnd.Messages().size(), 3u);
    EXPECT_EQ(hostWnd.Messages()[0].wParam, WPARAM(MK_SHIFT));
    EXPECT_EQ(hostWnd.Messages()[0].lParam, At(30, 40));
    // A panel without a usable vertical bar passes the wheel to its parent.
    outer->ShowScrollBar(SSB_VERT, TRUE);
    outer->SetScrollInfo(ScrollInfo(0, 999, 100, 500), TRUE);
    p->EnableScrollBar(SSB_VERT, FALSE);
    p->SendSwndMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -240), At(30, 40));
    EXPECT_EQ(p->GetScrollPos(TRUE), 500);
    EXPECT_EQ(outer->GetScrollPos(TRUE), 520);
    p->ShowScrollBar(SSB_VERT, FALSE);
    p->SendSwndMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), At(30, 40));
    EXPECT_EQ(outer->GetScrollPos(TRUE), 510);
    host.Container().hostHwnd = nullptr;
}

TEST_F(PanelTest, HeldArrowRepeatsOnTimerOneThenTwo)
{
    PaintHost host;
    host.Load(kPanel);
    SPanel* p = As<SPanel>(host.Find(L"p"));
    TimerHost timers;
    host.Container().hostHwnd = timers.Handle();
    p->ShowScrollBar(SSB_VERT, TRUE);
    p->SetScrollInfo(ScrollInfo(0, 999, 100, 500), TRUE);
    // Vertical bar (192,12)-(208,158): the up arrow is its top 16 pixels.
    p->SendSwndMessage(WM_NCMOUSEMOVE, 0, At(200, 20));
    p->SendSwndMessage(WM_NCLBUTTONDOWN, 0, At(200, 20));
    EXPECT_EQ(p->GetScrollPos(TRUE), 490) << "one step at once";
    EXPECT_EQ(host.Container().capture, p->GetSwnd());
    timers.PumpTicks(4, 10000);
    ASSERT_GE(timers.ticks.size(), 4u);
    EXPECT_EQ(timers.ticks[0], 1u) << "the first repeat comes from the delay timer";
    for (size_t i = 1; i < timers.ticks.size(); ++i) EXPECT_EQ(timers.ticks[i], 2u) << "then the repeat timer";
    EXPECT_EQ(p->GetScrollPos(TRUE), 490 - 10 * int(timers.ticks.size())) << "a step per tick";
    EXPECT_FALSE(KillTimer(timers.Handle(), ElementTimerId(1, p->GetSwnd()))) << "the delay timer killed itself";

    // Off the arrow the repeats pause; back on it they go on.
    const int before = p->GetScrollPos(TRUE);
    p->SendSwndMessage(WM_NCMOUSEMOVE, 0, At(100, 60));
    p->SendSwndMessage(WM_TIMER, 2);
    EXPECT_EQ(p->GetScrollPos(TRUE), before);
    p->SendSwndMessage(WM_NCMOUSEMOVE, 0, At(200, 20));
    p->SendSwndMessage(WM_TIMER, 2);
    EXPECT_EQ(p->GetScrollPos(TRUE), before - 10);

    p->SendSwndMessage(WM_NCLBUTTONUP, 0, At(200, 20));
    EXPECT_EQ(host.Container().capture, 0u);
    EXPECT_FALSE(KillTimer(timers.Handle(), ElementTimerId(2, p->GetSwnd()))) << "the release kills the repeat";
    const int released = p->GetScrollPos(TRUE);
    p->SendSwndMessage(WM_TIMER, 2);
    EXPECT_EQ(p->GetScrollPos(TRUE), released);
    p->SendSwndMessage(WM_TIMER, 9);
    host.Container().hostHwnd = nullptr;
}

TEST_F(PanelTest, HeldRailStopsUnderTheMouse)
{
    PaintHost host;
    host.Load(kPanel);
    SPanel* p = As<SPanel>(host.Find(L"p"));
    p->ShowScrollBar(SSB_VERT, TRUE);
    p->SetScrollInfo(ScrollInfo(0, 99, 10, 0), TRUE);
    // Rail 28..142 (114 long), thumb 18 long at the top: below it is page down.
    const SbParts parts = p->GetScrollBarParts(TRUE);
    ASSERT_EQ(parts.thumb.top, 28);
    p->SendSwndMessage(WM_NCLBUTTONDOWN, 0, At(200, 100));
    EXPECT_EQ(p->GetScrollPos(TRUE), 10);
    for (int i = 0; i < 20; ++i) p->SendSwndMessage(WM_TIMER, 2);
    const SbParts now = p->GetScrollBarParts(TRUE);
    EXPECT_TRUE(now.thumb.top <= 100 && 100 < now.thumb.bottom) << "the thumb stopped under the mouse";
    EXPECT_LT(p->GetScrollPos(TRUE), 90);
    p->SendSwndMessage(WM_NCLBUTTONUP, 0, At(200, 100));
    // A disabled bar takes no press.
    p->SetScrollPos(TRUE, 0, FALSE);
    p->EnableScrollBar(SSB_VERT, FALSE);
    p->SendSwndMessage(WM_NCLBUTTONDOWN, 0, At(200, 100));
    EXPECT_EQ(p->GetScrollPos(TRUE), 0);
    EXPECT_EQ(host.Container().capture, 0u);
}

TEST_F(PanelTest, ThumbDragThroughTheContainer)
{
    MouseHost host;
    host.Load(kPanel);
    SPanel* p = As<SPanel>(host.Find(L"p"));
    p->ShowScrollBar(SSB_VERT, TRUE);
    p->SetScrollInfo(ScrollInfo(100, 199, 10, 100), TRUE);
    const SbParts parts = p->GetScrollBarParts(TRUE);  // rail 28..142: 96 free pixels for 90 positions
    ASSERT_EQ(parts.freeLength, 96);
    const int y = parts.thumb.top + 5;
    host.Mouse(WM_MOUSEMOVE, 200, y);
    host.Mouse(WM_LBUTTONDOWN, 200, y);
    EXPECT_EQ(host.Container().GetCapture(), p->GetSwnd());
    EXPECT_TRUE(p->HitNonClient(POINT{100, 60})) << "while dragging every point is the bars'";
    host.Mouse(WM_MOUSEMOVE, 200, y + 48);
    EXPECT_EQ(p->GetScrollPos(TRUE), 145) << "half the free length: half the travel from the min";
    EXPECT_EQ(p->GetScrollInfo(TRUE).nTrackPos, 145);
    // Off the element, beyond the end: held at max - page + 1, not at the
    // travel (nMax - nPage - nMin + 1) alone.
    host.Mouse(WM_MOUSEMOVE, 230, y + 400);
    EXPECT_EQ(p->GetScrollPos(TRUE), 190);
    host.Mouse(WM_LBUTTONUP, 230, y + 400);
    EXPECT_EQ(host.Container().GetCapture(), 0u);
    EXPECT_EQ(p->GetScrollInfo(TRUE).nTrackPos, -1);
    EXPECT_EQ(p->GetScrollPos(TRUE), 190);
    EXPECT_FALSE(p->HitNonClient(POINT{100, 60}));

    // Hiding the panel mid-drag ends the drag where it was.
    const SbParts end = p->GetScrollBarParts(TRUE);
    host.Mouse(WM_MOUSEMOVE, 200, end.thumb.top + 2);
    host.Mouse(WM_LBUTTONDOWN, 200, end.thumb.top + 2);
    host.Mouse(WM_MOUSEMOVE, 200, end.thumb.top - 46);
    EXPECT_EQ(p->GetScrollPos(TRUE), 145);
    p->SetVisible(FALSE);
    EXPECT_EQ(host.Container().GetCapture(), 0u);
    EXPECT_EQ(p->GetScrollInfo(TRUE).nTrackPos, -1);
    EXPECT_EQ(p->GetScrollPos(TRUE), 145);
    EXPECT_FALSE(p->HitNonClient(POINT{100, 60}));
}

TEST_F(PanelTest, BarPixelsAndFeedbackPaintedAtOnce)
{
    PaintHost host;
    host.Load(kPanel);
    SPanel* p = As<SPanel>(host.Find(L"p"));
    p->ShowScrollBar(SSB_BOTH, TRUE);
    p->SetScrollInfo(ScrollInfo(0, 99, 10, 45), TRUE);
    p->SetScrollInfo(ScrollInfo(0, 99, 50, 0), FALSE);
    host.PaintAll();
    host.SavePicture(L"panel_bars.png");
    const SbParts v = p->GetScrollBarParts(TRUE);
    const int x = 200, thumbY = (v.thumb.top + v.thumb.bottom) / 2;
    EXPECT_EQ(host.Px(100, 60), kWhite) << "client area";
    EXPECT_TRUE(Near(host.Px(x, thumbY), kThumb)) << std::hex << host.Px(x, thumbY);
    EXPECT_TRUE(Near(host.Px(x, v.thumb.top - 5), kTrack)) << std::hex << host.Px(x, v.thumb.top - 5);
    EXPECT_TRUE(Near(host.Px(193, 13), kTrack)) << "the up arrow's ground";
    EXPECT_TRUE(Near(host.Px(200, 150), kTrack)) << "the corner";
    const SbParts h = p->GetScrollBarParts(FALSE);
    EXPECT_TRUE(Near(host.Px(h.thumb.left + 10, 150), kThumb)) << std::hex << host.Px(h.thumb.left + 10, 150);

    // Hover and drag show at once, without a paint of the element: only the
    // bar is repainted.
    host.Container().redraws.clear();
    host.Container().targetsTaken.clear();
    p->SendSwndMessage(WM_NCMOUSEMOVE, 0, At(x, thumbY));
    EXPECT_TRUE(Near(host.Px(x, thumbY), kThumbHover)) << std::hex << host.Px(x, thumbY);
    ASSERT_EQ(host.Container().targetsTaken.size(), 1u);
    EXPECT_TRUE(SameRect(host.Container().targetsTaken[0].rect, p->GetScrollBarRect(TRUE)));
    EXPECT_TRUE(host.Container().redraws.empty());
    p->SendSwndMessage(WM_NCLBUTTONDOWN, 0, At(x, thumbY));
    EXPECT_TRUE(Near(host.Px(x, thumbY), kThumbPushed)) << std::hex << host.Px(x, thumbY);
    p->SendSwndMessage(WM_NCMOUSEMOVE, 0, At(x, thumbY + 30));
    EXPECT_TRUE(Near(host.Px(x, thumbY + 30), kThumbPushed)) << "the thumb follows the mouse";
    EXPECT_TRUE(Near(host.Px(x, thumbY - 5), kTrack)) << "the rail shows where it was";
    p->SendSwndMessage(WM_NCLBUTTONUP, 0, At(100, 60));
    p->SendSwndMessage(WM_NCMOUSELEAVE);
    const SbParts after = p->GetScrollBarParts(TRUE);
    const int afterY = (after.thumb.top + after.thumb.bottom) / 2;
    EXPECT_TRUE(Near(host.Px(x, afterY), kThumb)) << std::hex << host.Px(x, afterY) << std::dec << " at " << afterY;
    host.SavePicture(L"panel_bars_after_drag.png");
}

namespace {

// A vertical-only bar skin of three solid thumbs (normal, hover, pushed),
// 8 pixels wide each, under the name "vbar".
void AddVerticalBarSkin(PaintHost& host, const DWORD (&colors)[3])
{
    std::vector<DWORD> px(24 * 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 24; ++x) px[y * 24 + x] = colors[x / 8];
    IBitmap* image = nullptr;
    host.App().GetRenderFactory()->CreateBitmap(&image);
    image->Init(24, 40, px.data());
    SSkinVScrollbar* skin = new SSkinVScrollbar;
    skin->SetImage(image);
    image->Release();
    SSkinPool* pool = new SSkinPool;
    pool->InsertIfAbsent(L"vbar", skin);
    SSkinPoolMgr::GetSingletonPtr()->PushSkinPool(pool);
    pool->Release();
}

}  // namespace

// The look of a read-only text's bar: no arrows, no rail (what lies beneath
// shows, not the frame), only the thumb.
TEST_F(PanelTest, VerticalOnlyBarSkin)
{
    PaintHost host;
    const DWORD colors[3] = {0xFF3070C0, 0xFF4080D0, 0xFF2060B0};
    AddVerticalBarSkin(host, colors);
    host.Load(L"<root><window pos='0,0,-0,-0' colorBkgnd='#e0e0e0'>"
              L"<div name='p' pos='10,10,@200,@150' margin='1' colorBorder='#000000' colorBkgnd='#ffffff'"
              L" sbSkin='vbar'/></window></root>");
    SPanel* p = As<SPanel>(host.Find(L"p"));
    ASSERT_TRUE(p->GetSbSkin()->IsClass(L"vscrollbar"));
    EXPECT_EQ(p->GetSbWidth(), 8);
    EXPECT_EQ(p->GetSbArrowSize(), 0);
    p->ShowScrollBar(SSB_VERT, TRUE);
    p->SetScrollInfo(ScrollInfo(0, 299, 100, 100), TRUE);
    host.PaintAll();
    host.SavePicture(L"panel_vscrollbar_skin.png");
    const SbParts v = p->GetScrollBarParts(TRUE);  // the bar: (201,11)-(209,159)
    EXPECT_EQ(v.rail.top, 11) << "no arrows";
    EXPECT_EQ(v.thumb.top, 60);
    EXPECT_EQ(v.thumb.bottom, 109);
    const DWORD grey = 0xFFE0E0E0, black = 0xFF000000;
    EXPECT_EQ(host.Px(205, 80), colors[0]) << "the thumb";
    EXPECT_EQ(host.Px(205, 30), grey) << "no rail: the parent shows";
    EXPECT_EQ(host.Px(200, 80), kWhite) << "the client area ends at the bar";
    EXPECT_EQ(host.Px(10, 80), black) << "the frame";
    EXPECT_EQ(host.Px(209, 30), black) << "the frame beside the bar";
    p->SendSwndMessage(WM_NCMOUSEMOVE, 0, At(205, 80));
    EXPECT_EQ(host.Px(205, 80), colors[1]);
    p->SendSwndMessage(WM_NCLBUTTONDOWN, 0, At(205, 80));
    p->SendSwndMessage(WM_NCMOUSEMOVE, 0, At(205, 120));
    EXPECT_EQ(host.Px(205, 125), colors[2]) << "the dragged thumb";
    EXPECT_EQ(host.Px(205, 65), grey) << "what it left shows the parent again";
    EXPECT_EQ(host.Px(209, 65), black);
    p->SendSwndMessage(WM_NCLBUTTONUP, 0, At(205, 120));
    EXPECT_EQ(p->GetScrollPos(TRUE), 180);
    // Three thumb images have no disabled one: a disabled bar shows the normal thumb.
    p->EnableScrollBar(SSB_VERT, FALSE);
    host.PaintAll();
    EXPECT_EQ(host.Px(205, 140), colors[0]);
}
