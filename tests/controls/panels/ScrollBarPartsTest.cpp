// Scroll-bar geometry as pure arithmetic: parts, hit test, drag positions
// and the look of each piece, each as a table.
#include "controls/SScrollBarParts.h"
#include "panels/PanelTestHost.h"
#include "render/ISkinObj.h"
#include "LeakCheck.h"

#include <climits>

using namespace WUI;
using paneltest::ScrollInfo;

class ScrollBarPartsTest : public LeakChecked {};

namespace {

// Start and end of a part along a vertical bar.
struct Span {
    int from, to;
};

Span Along(const RECT& rc, bool vertical)
{
    return vertical ? Span{rc.top, rc.bottom} : Span{rc.left, rc.right};
}

const RECT kBar = {0, 0, 16, 200};  // arrows 16: a rail of 168

}  // namespace

TEST_F(ScrollBarPartsTest, PartsAlongTheBar)
{
    const struct {
        RECT bar;
        int arrow;
        SCROLLINFO si;
        Span up, pageUp, thumb, pageDown, down;
        const char* what;
    } cases[] = {
        {kBar, 16, ScrollInfo(0, 99, 10, 0), {0, 16}, {16, 16}, {16, 34}, {34, 184}, {184, 200},
         "a computed thumb of 16 is drawn 18 long, at the top"},
        {kBar, 16, ScrollInfo(0, 99, 10, 45), {0, 16}, {16, 91}, {91, 109}, {109, 184}, {184, 200}, "half way"},
        {kBar, 16, ScrollInfo(0, 99, 10, 90), {0, 16}, {16, 166}, {166, 184}, {184, 184}, {184, 200}, "at the end"},
        {kBar, 16, ScrollInfo(100, 199, 10, 145), {0, 16}, {16, 91}, {91, 109}, {109, 184}, {184, 200},
         "a range starting at 100 places by the position less the min"},
        {kBar, 16, ScrollInfo(-50, 49, 10, -5), {0, 16}, {16, 91}, {91, 109}, {109, 184}, {184, 200}, "a negative min"},
        {kBar, 16, ScrollInfo(0, 9, 5, 5), {0, 16}, {16, 100}, {100, 184}, {184, 184}, {184, 200},
         "the thumb is the page's share of the rail"},
        {kBar, 16, ScrollInfo(0, 99, 100, 0), {0, 16}, {16, 16}, {16, 184}, {184, 184}, {184, 200},
         "a page covering the range fills the rail"},
        {kBar, 16, ScrollInfo(0, 9, 50, 0), {0, 16}, {16, 16}, {16, 184}, {184, 184}, {184, 200},
         "a page larger than the range fills the rail"},
        {kBar, 16, ScrollInfo(0, 99, 0, 0), {0, 16}, {16, 16}, {16, 34}, {34, 184}, {184, 200}, "page 0: the shortest thumb"},
        {kBar, 16, ScrollInfo(0, 99, 10, 0, 90), {0, 16}, {16, 166}, {166, 184}, {184, 184}, {184, 200},
         "a drag's track position places the thumb"},
        {RECT{0, 0, 16, 48}, 16, ScrollInfo(0, 99, 10, 45), {0, 16}, {16, 24}, {24, 24}, {24, 32}, {32, 48},
         "a rail shorter than 18 shows no thumb"},
        {RECT{0, 0, 16, 30}, 16, ScrollInfo(0, 99, 10, 45), {0, 15}, {0, 0}, {0, 0}, {0, 0}, {15, 30},
         "no room for a rail: the arrows share the bar"},
        {kBar, 0, ScrollInfo(0, 99, 10, 90), {0, 0}, {0, 180}, {180, 200}, {200, 200}, {200, 200},
         "no arrows: the rail is the bar"},
        {kBar, 16, ScrollInfo(0, 2000000000, 1000000000, 1000000000), {0, 16}, {16, 100}, {100, 183}, {183, 184},
         {184, 200}, "products beyond 32 bits"},
        {RECT{10, 100, 210, 116}, 16, ScrollInfo(0, 99, 10, 90), {10, 26}, {26, 176}, {176, 194}, {194, 194},
         {194, 210}, "a horizontal bar runs along x"},
    };
    for (const auto& c : cases) {
        const bool vertical = c.bar.bottom - c.bar.top > c.bar.right - c.bar.left;
        const SbParts p = SbComputeParts(c.bar, vertical, c.arrow, c.si);
        const struct {
            RECT got;
            Span want;
            const char* part;
        } parts[] = {{p.lineUp, c.up, "up"},
                     {p.pageUp, c.pageUp, "page up"},
                     {p.thumb, c.thumb, "thumb"},
                     {p.pageDown, c.pageDown, "page down"},
                     {p.lineDown, c.down, "down"}};
        for (const auto& part : parts) {
            const Span got = Along(part.got, vertical);
            EXPECT_EQ(got.from, part.want.from) << c.what << ": " << part.part;
            EXPECT_EQ(got.to, part.want.to) << c.what << ": " << part.part;
            if (got.from == got.to) continue;
            // Across the bar every part spans the bar's full thickness.
            const Span across = Along(part.got, !vertical), bar = Along(c.bar, !vertical);
            EXPECT_EQ(across.from, bar.from) << c.what << ": " << part.part;
            EXPECT_EQ(across.to, bar.to) << c.what << ": " << part.part;
        }
    }
}

TEST_F(ScrollBarPartsTest, AnInvalidRangeOrBarHasNoParts)
{
    for (const SbParts& p : {SbComputeParts(kBar, true, 16, ScrollInfo(10, 5, 1, 7)),
                             SbComputeParts(RECT{0, 0, 16, 0}, true, 16, ScrollInfo(0, 99, 10, 0))}) {
        for (int part : {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK}) {
            const RECT rc = p.Part(part);
            EXPECT_TRUE(IsRectEmpty(&rc)) << part;
        }
        EXPECT_EQ(SbHitTest(p, POINT{8, 8}), kSbPartNone);
    }
}

TEST_F(ScrollBarPartsTest, HitTestFindsEachPart)
{
    const SbParts p = SbComputeParts(kBar, true, 16, ScrollInfo(0, 99, 10, 45));  // thumb 91..109
    const struct {
        int x, y, part;
    } cases[] = {
        {8, 0, SB_LINEUP},      {8, 15, SB_LINEUP},       {8, 16, SB_PAGEUP},     {8, 90, SB_PAGEUP},
        {8, 91, SB_THUMBTRACK}, {15, 108, SB_THUMBTRACK}, {8, 109, SB_PAGEDOWN},  {0, 183, SB_PAGEDOWN},
        {8, 184, SB_LINEDOWN},  {8, 199, SB_LINEDOWN},    {8, 200, kSbPartNone},  {16, 100, kSbPartNone},
        {-1, 100, kSbPartNone},
    };
    for (const auto& c : cases) EXPECT_EQ(SbHitTest(p, POINT{c.x, c.y}), c.part) << c.x << "," << c.y;
}

TEST_F(ScrollBarPartsTest, DragPositionsStayInTheRange)
{
    const struct {
        SCROLLINFO si;
        int start, delta, free, want;
        const char* what;
    } cases[] = {
        {ScrollInfo(0, 99, 10, 0), 0, 75, 150, 45, "half the free length: half the travel"},
        {ScrollInfo(0, 99, 10, 0), 0, 1000, 150, 90, "past the end: the last position (max - page + 1)"},
        {ScrollInfo(0, 99, 10, 0), 20, -50, 150, 0, "before the start: the min"},
        {ScrollInfo(100, 199, 10, 145), 145, 75, 150, 190, "a range from 100 ends at 190"},
        {ScrollInfo(100, 199, 10, 145), 145, 300, 150, 190, "and is held there"},
        {ScrollInfo(100, 199, 10, 145), 145, -150, 150, 100, "and starts at 100"},
        {ScrollInfo(0, 99, 10, 0), 30, 40, 0, 30, "a thumb that cannot travel keeps its position"},
        {ScrollInfo(0, 2000000000, 1000000000, 0), 0, 42, 85, 494117647, "products beyond 32 bits"},
        {ScrollInfo(0, 2000000000, 1000000000, 0), 0, 85, 85, 1000000001, "the last position of a huge range"},
        {ScrollInfo(INT_MIN, INT_MAX, 1, 0), 0, 1000, 10, INT_MAX, "the whole int range"},
    };
    for (const auto& c : cases) EXPECT_EQ(SbDragPos(c.si, c.start, c.delta, c.free), c.want) << c.what;
}

TEST_F(ScrollBarPartsTest, ClampingAndTheDraggedThumb)
{
    EXPECT_EQ(SbMaxPos(ScrollInfo(0, 99, 10, 0)), 90);
    EXPECT_EQ(SbClampPos(ScrollInfo(0, 9, 50, 0), 5), 0) << "a page larger than the range: the min wins";
    EXPECT_EQ(SbClampPos(ScrollInfo(-10, 9, 5, 0), -20), -10);
    EXPECT_EQ(SbClampPos(ScrollInfo(INT_MIN, INT_MAX, 0, 0), (long long)INT_MAX + 5), INT_MAX);
    const RECT thumb = {0, 16, 16, 34}, rail = {0, 16, 16, 184};
    const struct {
        int delta, top;
    } drags[] = {{10, 26}, {500, 166}, {-50, 16}, {0, 16}};
    for (const auto& d : drags) {
        const RECT rc = SbDragThumb(thumb, rail, d.delta, true);
        EXPECT_EQ(rc.top, d.top) << d.delta;
        EXPECT_EQ(rc.bottom - rc.top, 18) << d.delta;
        EXPECT_EQ(rc.left, 0);
    }
    const RECT across = SbDragThumb(RECT{16, 0, 34, 16}, RECT{16, 0, 184, 16}, 30, false);
    EXPECT_EQ(across.left, 46);
    EXPECT_EQ(across.right, 64);
}

TEST_F(ScrollBarPartsTest, LookOfThePieces)
{
    const int N = kSkinStateNormal, H = kSkinStateHover, P = kSkinStatePushed, D = kSkinStateDisabled,
              I = kSkinStateInactive, none = kSbPartNone;
    const struct {
        bool disabled, active;
        int hit, held;
        bool dragging;
        SbLook want;
        const char* what;
    } cases[] = {
        {true, true, SB_LINEUP, SB_LINEUP, false, {D, D, D, D}, "disabled"},
        {false, false, none, none, false, {I, I, I, I}, "the mouse away"},
        {false, true, SB_LINEDOWN, none, false, {N, N, N, H}, "hovering an arrow"},
        {false, true, SB_PAGEUP, none, false, {N, H, N, N}, "hovering the rail"},
        {false, true, SB_THUMBTRACK, none, false, {N, N, H, N}, "hovering the thumb"},
        {false, true, SB_LINEUP, SB_LINEUP, false, {P, N, N, N}, "holding an arrow"},
        {false, true, SB_PAGEUP, SB_LINEUP, false, {N, N, N, N}, "holding an arrow, the mouse off it"},
        {false, true, SB_PAGEDOWN, SB_PAGEDOWN, false, {N, P, N, N}, "holding the rail"},
        {false, true, none, SB_THUMBTRACK, true, {N, H, P, N}, "dragging the thumb"},
    };
    for (const auto& c : cases) {
        const SbLook got = SbLookFor(c.disabled, c.active, c.hit, c.held, c.dragging);
        EXPECT_EQ(got.lineUp, c.want.lineUp) << c.what;
        EXPECT_EQ(got.rail, c.want.rail) << c.what;
        EXPECT_EQ(got.thumb, c.want.thumb) << c.what;
        EXPECT_EQ(got.lineDown, c.want.lineDown) << c.what;
    }
}
