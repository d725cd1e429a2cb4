// The parts of one scroll bar: where the arrows, the rail and the thumb lie
// for a scroll range, which part a point hits, where a thumb drag leads, and
// drawing them with a scroll-bar skin. Panels and the stand-alone scroll bar
// share it; everything but the drawing is pure arithmetic.
#pragma once

#include <windows.h>

namespace WUI {

struct IRenderTarget;
class SSkinScrollbar;

// Hit-test result when the point lies on no part.
const int kSbPartNone = -1;
// A thumb is never drawn shorter than this; a rail shorter than it shows none.
const int kSbMinThumb = 18;

// Rectangles of one bar's parts. All are empty for a range whose max lies
// below its min, and the rail and thumb are empty when the arrows fill the bar.
struct SbParts {
    RECT lineUp;    // part SB_LINEUP (left arrow of a horizontal bar)
    RECT lineDown;  // SB_LINEDOWN
    RECT pageUp;    // SB_PAGEUP: the rail before the thumb
    RECT pageDown;  // SB_PAGEDOWN: the rail after it
    RECT thumb;     // SB_THUMBTRACK
    RECT rail;      // between the arrows
    int freeLength; // rail length less thumb length: how far the thumb travels

    // The rectangle of a part code; empty for other codes.
    RECT Part(int part) const;
};

// The highest position of the range: nMax - nPage + 1, within int.
int SbMaxPos(const SCROLLINFO& si);
// The position held within [nMin, SbMaxPos]; nMin wins when the page is
// larger than the range.
int SbClampPos(const SCROLLINFO& si, long long pos);
// The parts of a bar occupying `bar`, with arrows `arrow` long, showing the
// thumb at nTrackPos while that is not -1, else at nPos. Products run in 64
// bits, so any int range and page are safe.
SbParts SbComputeParts(const RECT& bar, bool vertical, int arrow, const SCROLLINFO& si);
// The part under the point, tested in the order arrows, thumb, rail before,
// rail after; kSbPartNone when none.
int SbHitTest(const SbParts& parts, POINT pt);
// The position a thumb drag reaches after moving `delta` pixels along the bar
// from where it started at `startPos`; startPos itself when the thumb cannot
// travel. Clamped to the range.
int SbDragPos(const SCROLLINFO& si, int startPos, int delta, int freeLength);
// The thumb drawn during a drag: its rectangle at the start moved by delta,
// kept inside the rail.
RECT SbDragThumb(const RECT& startThumb, const RECT& rail, int delta, bool vertical);
// Distance along the bar from `from` to `to`.
inline int SbAxisDelta(POINT from, POINT to, bool vertical)
{
    return vertical ? to.y - from.y : to.x - from.x;
}

// A thumb drag: where it began and how far the mouse has taken the thumb.
struct SbDrag {
    bool active = false;
    POINT start = {0, 0};
    int startPos = 0;
    RECT startThumb = {0, 0, 0, 0};
    int delta = 0;

    // Begins at the point, with the thumb where it lies; the track position
    // starts at the position.
    void Begin(POINT pt, SCROLLINFO& si, const RECT& thumb);
    // The position the mouse at pt leads to.
    int MoveTo(POINT pt, const SCROLLINFO& si, int freeLength, bool vertical);
    // The thumb under the mouse, kept inside the rail.
    RECT Thumb(const RECT& rail, bool vertical) const { return SbDragThumb(startThumb, rail, delta, vertical); }
};

// Skin states (kSkinState*) of the pieces of one bar.
struct SbLook {
    int lineUp;
    int rail;
    int thumb;
    int lineDown;
};

// The look of a bar. A disabled bar is all disabled. While a part is held,
// it alone shows: pushed while the mouse is on it (a dragged thumb is pushed
// on a lit rail). Otherwise the part under the mouse is lit. The rest is
// normal while the bar is active (the mouse on it), inactive otherwise.
SbLook SbLookFor(bool disabled, bool active, int hitPart, int heldPart, bool dragging);

// Draws the arrows, the rail and the thumb (at `thumb`) with the skin;
// nothing without a skin. Pieces the skin has no image for stay undrawn; a
// state its image has no cell for draws the normal one.
void SbDrawBar(IRenderTarget* rt, SSkinScrollbar* skin, const SbParts& parts, const RECT& thumb, bool vertical,
               const SbLook& look);

}  // namespace WUI
