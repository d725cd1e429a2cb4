#include "controls/SScrollBarParts.h"

#include "render/ISkinObj.h"
#include "render/SSkinScrollbar.h"

#include <algorithm>
#include <climits>

namespace WUI {

namespace {

int ToInt(long long v)
{
    return int(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v)));
}

// A span [from, to) along the bar, full width across it.
RECT Span(const RECT& bar, bool vertical, long long from, long long to)
{
    if (vertical) return RECT{bar.left, ToInt(bar.top + from), bar.right, ToInt(bar.top + to)};
    return RECT{ToInt(bar.left + from), bar.top, ToInt(bar.left + to), bar.bottom};
}

// Positions the thumb can take beyond nMin: nMax - nPage - nMin + 1.
long long TravelRange(const SCROLLINFO& si)
{
    return (long long)si.nMax - (long long)si.nPage - si.nMin + 1;
}

}  // namespace

RECT SbParts::Part(int part) const
{
    switch (part) {
    case SB_LINEUP: return lineUp;
    case SB_LINEDOWN: return lineDown;
    case SB_PAGEUP: return pageUp;
    case SB_PAGEDOWN: return pageDown;
    case SB_THUMBTRACK: return thumb;
    default: return RECT{0, 0, 0, 0};
    }
}

int SbMaxPos(const SCROLLINFO& si)
{
    return ToInt((long long)si.nMax - (long long)si.nPage + 1);
}

int SbClampPos(const SCROLLINFO& si, long long pos)
{
    pos = std::min<long long>(pos, SbMaxPos(si));
    return ToInt(std::max<long long>(pos, si.nMin));
}

SbParts SbComputeParts(const RECT& bar, bool vertical, int arrow, const SCROLLINFO& si)
{
    SbParts p = {};
    const long long length = vertical ? (long long)bar.bottom - bar.top : (long long)bar.right - bar.left;
    if (si.nMax < si.nMin || length <= 0) return p;
    const long long a = std::max(0, arrow);
    const long long rail = std::max(0LL, length - 2 * a);
    if (rail <= 0) {
        p.lineUp = Span(bar, vertical, 0, length / 2);
        p.lineDown = Span(bar, vertical, length / 2, length);
        return p;
    }
    const long long page = si.nPage;
    const long long effMax = std::max<long long>(si.nMax, si.nMin + page - 1);
    long long thumb = si.nMin + page == effMax + 1 ? rail : rail * page / (effMax - si.nMin + 1);
    thumb = rail < kSbMinThumb ? 0 : std::max<long long>(thumb, kSbMinThumb);
    const long long free = rail - thumb;
    const long long travel = TravelRange(si);
    const long long pos = si.nTrackPos != -1 ? si.nTrackPos : si.nPos;
    long long offset = travel == 0 ? free / 2 : free * (pos - si.nMin) / travel;
    offset = std::max(0LL, std::min(offset, free));
    p.lineUp = Span(bar, vertical, 0, a);
    p.pageUp = Span(bar, vertical, a, a + offset);
    p.thumb = Span(bar, vertical, a + offset, a + offset + thumb);
    p.pageDown = Span(bar, vertical, a + offset + thumb, length - a);
    p.lineDown = Span(bar, vertical, length - a, length);
    p.rail = Span(bar, vertical, a, length - a);
    p.freeLength = int(free);
    return p;
}

int SbHitTest(const SbParts& parts, POINT pt)
{
    for (int part : {SB_LINEUP, SB_LINEDOWN, SB_THUMBTRACK, SB_PAGEUP, SB_PAGEDOWN}) {
        const RECT rc = parts.Part(part);
        if (::PtInRect(&rc, pt)) return part;
    }
    return kSbPartNone;
}

int SbDragPos(const SCROLLINFO& si, int startPos, int delta, int freeLength)
{
    if (freeLength <= 0) return SbClampPos(si, startPos);
    return SbClampPos(si, startPos + TravelRange(si) * delta / freeLength);
}

RECT SbDragThumb(const RECT& startThumb, const RECT& rail, int delta, bool vertical)
{
    LONG RECT::*const lo = vertical ? &RECT::top : &RECT::left;
    LONG RECT::*const hi = vertical ? &RECT::bottom : &RECT::right;
    RECT rc = startThumb;
    const long long len = (long long)(rc.*hi) - rc.*lo;
    long long start = (long long)(rc.*lo) + delta;
    start = std::max<long long>(rail.*lo, std::min<long long>(start, rail.*hi - len));
    rc.*lo = ToInt(start);
    rc.*hi = ToInt(start + len);
    return rc;
}

void SbDrag::Begin(POINT pt, SCROLLINFO& si, const RECT& thumb)
{
    active = true;
    start = pt;
    startPos = si.nPos;
    si.nTrackPos = si.nPos;
    startThumb = thumb;
    delta = 0;
}

int SbDrag::MoveTo(POINT pt, const SCROLLINFO& si, int freeLength, bool vertical)
{
    delta = SbAxisDelta(start, pt, vertical);
    return SbDragPos(si, startPos, delta, freeLength);
}

SbLook SbLookFor(bool disabled, bool active, int hitPart, int heldPart, bool dragging)
{
    if (disabled) return SbLook{kSkinStateDisabled, kSkinStateDisabled, kSkinStateDisabled, kSkinStateDisabled};
    const int base = active ? kSkinStateNormal : kSkinStateInactive;
    SbLook look = {base, base, base, base};
    if (dragging) {
        look.rail = kSkinStateHover;
        look.thumb = kSkinStatePushed;
        return look;
    }
    if (heldPart != kSbPartNone && hitPart != heldPart) return look;
    const int state = heldPart != kSbPartNone ? kSkinStatePushed : kSkinStateHover;
    switch (hitPart) {
    case SB_LINEUP: look.lineUp = state; break;
    case SB_LINEDOWN: look.lineDown = state; break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: look.rail = state; break;
    case SB_THUMBTRACK: look.thumb = state; break;
    default: break;
    }
    return look;
}

namespace {

// A skin of three thumb images has no disabled or inactive cell.
int StateWithCell(SSkinScrollbar* skin, int part, int state, bool vertical)
{
    IBitmap* image = skin->GetImage();
    if (!image) return state;
    const RECT src = skin->GetPartRect(part, state, vertical);
    const bool inside = src.right <= LONG(image->Width()) && src.bottom <= LONG(image->Height());
    return inside ? state : kSkinStateNormal;
}

}  // namespace

void SbDrawBar(IRenderTarget* rt, SSkinScrollbar* skin, const SbParts& parts, const RECT& thumb, bool vertical,
               const SbLook& look)
{
    if (!rt || !skin) return;
    const struct {
        const RECT& rc;
        int part;
        int state;
    } pieces[] = {
        {parts.lineUp, SB_LINEUP, look.lineUp},
        {parts.rail, SB_PAGEUP, look.rail},
        {thumb, SB_THUMBTRACK, look.thumb},
        {parts.lineDown, SB_LINEDOWN, look.lineDown},
    };
    for (const auto& piece : pieces) {
        if (::IsRectEmpty(&piece.rc)) continue;
        const int state = StateWithCell(skin, piece.part, piece.state, vertical);
        skin->Draw(rt, &piece.rc, MakeSbState(piece.part, state, vertical));
    }
}

}  // namespace WUI
