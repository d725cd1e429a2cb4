// The slider: the rectangles of its parts across ranges, directions and the
// thumb-in-rail mode (an empty range and 64-bit products among them), rail
// clicks and thumb drags with their events, the hover rule, a rail of no
// length, and what it paints.
#include "InputHost.h"
#include "LeakCheck.h"
#include "SizedSkin.h"
#include "controls/SSliderBar.h"
#include "render/SSkinFactoryMgr.h"

#include <string>
#include <vector>

using namespace WUI;
using namespace inputtest;

class SliderTest : public LeakChecked {};

namespace {

// Background 6 thick, thumb 10 long and 16 thick (transposed when vertical).
const wchar_t kSkins[] =
    L"<skin><sizedrect name='sbg' size='10,6' normal='#ff0000'/><sizedrect name='spos' size='10,6' normal='#0000ff'/>"
    L"<sizedrect name='sthumb' size='10,16' normal='#00ff00' hover='#00ffff' pushdown='#ff00ff'/></skin>";
const DWORD kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00, kCyan = 0xFF00FFFF, kMagenta = 0xFFFF00FF;

struct SliderHost : InputHost {
    SliderHost()
    {
        App().RegisterFactory(TplSkinFactory<SizedRect>());
        AddSkins(kSkins);
    }
    SSliderBar* Load(const std::wstring& attrs)
    {
        const std::wstring xml = L"<root><sliderbar name='s' bkgndSkin='sbg' posSkin='spos' thumbSkin='sthumb' " +
                                 attrs + L"/></root>";
        return InputHost::Load<SSliderBar>(xml.c_str(), L"s");
    }
};

struct PosEvents {
    bool OnPos(EventArgs& args)
    {
        values.push_back(static_cast<EventSliderPos&>(args).nPos);
        return true;
    }
    std::vector<int> values;
};

}  // namespace

TEST_F(SliderTest, PartRectangles)
{
    const struct {
        const wchar_t* attrs;
        RECT rail, filled, thumb, bkgnd;
    } cases[] = {
        // 110 long: the thumb travels 100 pixels, the rail runs 5..105.
        {L"pos='0,0,@110,@20' value='50'", {5, 7, 105, 13}, {5, 7, 55, 13}, {50, 2, 60, 18}, {5, 7, 105, 13}},
        {L"pos='0,0,@110,@20' value='0'", {5, 7, 105, 13}, {5, 7, 5, 13}, {0, 2, 10, 18}, {5, 7, 105, 13}},
        {L"pos='0,0,@110,@20' value='100'", {5, 7, 105, 13}, {5, 7, 105, 13}, {100, 2, 110, 18}, {5, 7, 105, 13}},
        // An empty range: no division, the thumb stays at the start.
        {L"pos='0,0,@110,@20' min='7' max='7' value='7'", {5, 7, 105, 13}, {5, 7, 5, 13}, {0, 2, 10, 18},
         {5, 7, 105, 13}},
        // 100 * 3e9 overflows 32 bits.
        {L"pos='0,0,@110,@20' min='-2000000000' max='2000000000' value='1000000000'", {5, 7, 105, 13},
         {5, 7, 80, 13}, {75, 2, 85, 18}, {5, 7, 105, 13}},
        {L"pos='0,0,@110,@20' value='50' thumbInRail='1'", {5, 7, 105, 13}, {0, 7, 55, 13}, {50, 2, 60, 18},
         {0, 7, 110, 13}},
        // Vertical: the thumb is 16 long and 10 thick, so is the background.
        {L"pos='0,0,@20,@110' vertical='1' value='50'", {5, 8, 15, 102}, {5, 8, 15, 55}, {5, 47, 15, 63},
         {5, 8, 15, 102}},
        // Placed away from the origin.
        {L"pos='30,40,@110,@20' value='25'", {35, 47, 135, 53}, {35, 47, 60, 53}, {55, 42, 65, 58}, {35, 47, 135, 53}},
    };
    for (const auto& c : cases) {
        SliderHost host;
        SSliderBar* s = host.Load(c.attrs);
        ASSERT_TRUE(s) << c.attrs;
        EXPECT_EQ(c.rail, s->GetPartRect(SSliderBar::kPartRail)) << c.attrs;
        EXPECT_EQ(c.filled, s->GetPartRect(SSliderBar::kPartFilled)) << c.attrs;
        EXPECT_EQ(c.thumb, s->GetPartRect(SSliderBar::kPartThumb)) << c.attrs;
        EXPECT_EQ(c.bkgnd, s->GetPartRect(SSliderBar::kPartBkgnd)) << c.attrs;
    }
    SliderHost host;
    SSliderBar* s = host.Load(L"pos='0,0,@110,@20' value='50'");
    ASSERT_TRUE(s);
    const RECT none = s->GetPartRect(7);
    EXPECT_TRUE(::IsRectEmpty(&none));
    const struct {
        POINT pt;
        int part;
    } hits[] = {{{55, 10}, SSliderBar::kPartThumb}, {{55, 3}, SSliderBar::kPartThumb},
                {{20, 10}, SSliderBar::kPartFilled}, {{80, 10}, SSliderBar::kPartRail},
                {{80, 3}, SSliderBar::kPartNone}, {{2, 10}, SSliderBar::kPartNone}};
    for (const auto& h : hits) EXPECT_EQ(h.part, s->HitTestPart(h.pt)) << h.pt.x << "," << h.pt.y;
    EXPECT_EQ(100, s->MeasureContent(nullptr).cx);
    EXPECT_EQ(16, s->MeasureContent(nullptr).cy);
}

TEST_F(SliderTest, RailClickThenDrag)
{
    SliderHost host;
    SSliderBar* s = host.Load(L"pos='0,0,@110,@20' value='0'");
    ASSERT_TRUE(s);
    PosEvents events;
    s->GetEventSet()->SubscribeEvent(EventSliderPos::EventID, &PosEvents::OnPos, &events);

    // The rail at 80: 0 + 101 * 75 / 100 at once; the drag goes on from there.
    host.Mouse(WM_MOUSEMOVE, 80, 10);
    host.Mouse(WM_LBUTTONDOWN, 80, 10);
    EXPECT_EQ(75, s->GetValue());
    EXPECT_TRUE(s->IsDragging());
    EXPECT_EQ(s->GetSwnd(), host.Container().GetCapture());
    host.Mouse(WM_MOUSEMOVE, 90, 10);
    EXPECT_EQ(85, s->GetValue());
    host.Mouse(WM_MOUSEMOVE, 90, 12);  // no change along the axis: no event
    host.Mouse(WM_MOUSEMOVE, 500, 10);
    host.Mouse(WM_MOUSEMOVE, -500, 10);
    host.Mouse(WM_LBUTTONUP, -500, 10);
    EXPECT_FALSE(s->IsDragging());
    EXPECT_EQ(0u, host.Container().GetCapture());
    EXPECT_EQ((std::vector<int>{75, 85, 100, 0}), events.values);

    // On the thumb: no jump, the value follows the offset from the press.
    events.values.clear();
    s->SetValue(50);
    host.Mouse(WM_LBUTTONDOWN, 52, 10);
    host.Mouse(WM_MOUSEMOVE, 62, 10);
    host.Mouse(WM_MOUSEMOVE, 42, 10);
    host.Mouse(WM_LBUTTONUP, 42, 10);
    EXPECT_EQ((std::vector<int>{60, 40}), events.values);
}

TEST_F(SliderTest, AHandlerMayDestroyTheSlider)
{
    SliderHost host;
    SSliderBar* s = host.Load(L"pos='0,0,@110,@20' value='0'");
    ASSERT_TRUE(s);
    struct Destroyer {
        bool OnPos(EventArgs& args)
        {
            args.sender->DestroyWindow();
            return true;
        }
    } destroyer;
    s->GetEventSet()->SubscribeEvent(EventSliderPos::EventID, &Destroyer::OnPos, &destroyer);
    host.Mouse(WM_LBUTTONDOWN, 80, 10);
    host.Mouse(WM_MOUSEMOVE, 90, 10);
    host.Mouse(WM_LBUTTONUP, 90, 10);
    EXPECT_EQ(nullptr, host.Find(L"s"));
}

TEST_F(SliderTest, HoverOnlyEntersAndLeavesTheThumb)
{
    SliderHost host;
    SSliderBar* s = host.Load(L"pos='0,0,@110,@20' value='50'");
    ASSERT_TRUE(s);
    const struct {
        int x;
        int hover;
    } moves[] = {{80, SSliderBar::kPartNone}, {55, SSliderBar::kPartThumb}, {80, SSliderBar::kPartRail},
                 {20, SSliderBar::kPartRail},  // rail to filled part: ignored
                 {55, SSliderBar::kPartThumb}};
    for (const auto& m : moves) {
        host.Mouse(WM_MOUSEMOVE, m.x, 10);
        EXPECT_EQ(m.hover, s->GetHoverPart()) << m.x;
    }
    host.Send(WM_MOUSELEAVE);
    EXPECT_EQ(SSliderBar::kPartNone, s->GetHoverPart());
}

// A client no longer than the 10-pixel thumb leaves its rail no length: a
// press on the thumb or beside it (across the axis, outside the thumb's 16
// pixels) and a drag change nothing.
TEST_F(SliderTest, ARailOfNoLengthKeepsTheValue)
{
    const struct {
        const wchar_t* pos;
        int x, y;
    } presses[] = {
        {L"pos='0,0,@8,@20'", 7, 10},   // on the thumb
        {L"pos='0,0,@8,@20'", 7, 0},    // beside it
        {L"pos='0,0,@8,@20'", 7, 19},
        {L"pos='0,0,@10,@20'", 5, 1},   // the rail runs 5..5
    };
    for (const auto& p : presses) {
        SliderHost host;
        SSliderBar* s = host.Load(std::wstring(p.pos) + L" value='30'");
        ASSERT_TRUE(s) << p.pos;
        PosEvents events;
        s->GetEventSet()->SubscribeEvent(EventSliderPos::EventID, &PosEvents::OnPos, &events);
        host.Mouse(WM_LBUTTONDOWN, p.x, p.y);
        host.Mouse(WM_MOUSEMOVE, 100, p.y);
        host.Mouse(WM_LBUTTONUP, 100, p.y);
        EXPECT_EQ(30, s->GetValue()) << p.pos << " " << p.x << "," << p.y;
        EXPECT_TRUE(events.values.empty()) << p.pos << " " << p.x << "," << p.y;
    }
}

TEST_F(SliderTest, Painting)
{
    const struct {
        const wchar_t* attrs;
        DWORD atStart, thumb;  // x = 2 on the rail line; the thumb's centre
    } cases[] = {
        {L"value='50' thumbInRail='1'", kBlue, kGreen},
        {L"value='50'", 0, kGreen},                    // the rail starts at 5
    };
    for (const auto& c : cases) {
        SliderHost host;
        SSliderBar* s = host.Load(std::wstring(L"pos='0,0,@110,@20' ") + c.attrs);
        ASSERT_TRUE(s) << c.attrs;
        host.PaintAll();
        EXPECT_EQ(c.atStart, host.Px(2, 10)) << c.attrs;
        const RECT thumb = s->GetPartRect(SSliderBar::kPartThumb);
        EXPECT_EQ(c.thumb, host.Px(thumb.left + 5, 3)) << c.attrs;
        EXPECT_EQ(kRed, host.Px(thumb.right + 20, 10)) << c.attrs;
    }
    // The thumb's state: hover, then pressed.
    SliderHost host;
    SSliderBar* s = host.Load(L"pos='0,0,@110,@20' value='50'");
    ASSERT_TRUE(s);
    host.Mouse(WM_MOUSEMOVE, 55, 10);
    host.PaintAll();
    EXPECT_EQ(kCyan, host.Px(55, 3));
    host.Mouse(WM_LBUTTONDOWN, 55, 10);
    host.PaintAll();
    EXPECT_EQ(kMagenta, host.Px(55, 3));
    host.Mouse(WM_LBUTTONUP, 55, 10);
}
