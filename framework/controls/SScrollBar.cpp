#include "controls/SScrollBar.h"

#include "controls/ScrollEvents.h"
#include "controls/ControlAttr.h"
#include "core/AttrParse.h"

#include <climits>

namespace WUI {

namespace {

const int kMaxArrowSize = 1024;

bool IsArrow(int part)
{
    return part == SB_LINEUP || part == SB_LINEDOWN;
}

}  // namespace

SScrollBar::SScrollBar() : m_si()
{
    m_si.cbSize = sizeof m_si;
    m_si.nTrackPos = -1;
    m_evtSet.AddEvent<EventScroll>();
    m_skin = sobj_cast<SSkinScrollbar>(BuiltinSkin(kSkinSysScrollbar));
}

// ---- attributes ----

HRESULT SScrollBar::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"skin") == 0) return AfterSetAttribute(name, value, OnAttrSkin(value, loading));
    static const struct {
        LPCWSTR name;
        int low, high;
    } kInts[] = {
        {L"arrowSize", -1, kMaxArrowSize}, {L"min", INT_MIN, INT_MAX},  {L"max", INT_MIN, INT_MAX},
        {L"value", INT_MIN, INT_MAX},      {L"page", 0, INT_MAX},        {L"vertical", INT_MIN, INT_MAX},
    };
    for (int i = 0; i < int(sizeof kInts / sizeof kInts[0]); ++i) {
        if (_wcsicmp(name, kInts[i].name) != 0) continue;
        int n = 0;
        if (!AttrParseInt(value, n, true, kInts[i].low, kInts[i].high)) return E_FAIL;
        switch (i) {
        case 0: m_nArrowSize = n; break;
        case 1: m_si.nMin = n; break;
        case 2: m_si.nMax = n; break;
        case 3:
            if (loading) m_si.nPos = n;  // the range may come later in the layout
            else SetPos(n);
            break;
        case 4: m_si.nPage = UINT(n); break;
        default: m_bVertical = n != 0; break;
        }
        return AfterSetAttribute(name, value, S_FALSE);
    }
    return SWindow::SetAttribute(name, value, loading);
}

// Only a scroll-bar skin will do; anything else keeps the one there is.
HRESULT SScrollBar::OnAttrSkin(const SStringW& value, BOOL loading)
{
    SSkinScrollbar* skin = sobj_cast<SSkinScrollbar>(FindSkin(value));
    if (!skin) return E_FAIL;
    m_skin = skin;
    return loading ? S_FALSE : S_OK;
}

// ---- geometry and look ----

int SScrollBar::GetArrowSize() const
{
    if (!m_skin || !m_skin->HasArrow()) return 0;
    return m_nArrowSize != -1 ? m_nArrowSize : m_skin->GetIdealSize();
}

SbParts SScrollBar::GetParts() const
{
    return SbComputeParts(GetPlacedRect(), m_bVertical != FALSE, GetArrowSize(), m_si);
}

SbLook SScrollBar::Look() const
{
    return SbLookFor(IsDisabled(TRUE) != FALSE, true, m_nHoverPart, m_nClickPart, m_drag.active);
}

RECT SScrollBar::ThumbRect(const SbParts& parts) const
{
    return m_drag.active ? m_drag.Thumb(parts.rail, m_bVertical != FALSE) : parts.thumb;
}

void SScrollBar::OnBarPaint(IRenderTarget* rt)
{
    const SbParts parts = GetParts();
    SbDrawBar(rt, m_skin, parts, ThumbRect(parts), m_bVertical != FALSE, Look());
}

void SScrollBar::RedrawArea(const RECT& area)
{
    if (::IsRectEmpty(&area) || !IsVisible(TRUE)) return;
    IRenderTarget* rt = GetRenderTargetForRect(&area, kRtBackground, FALSE);
    if (!rt) return;
    SendSwndMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    SendSwndMessage(WM_PAINT, reinterpret_cast<WPARAM>(rt));
    ReleaseRenderTarget(rt);
}

void SScrollBar::FireScroll(int code)
{
    EventScroll evt(this, code, m_si.nPos, m_bVertical);
    FireEvent(evt);
}

int SScrollBar::SetPos(int pos)
{
    const int now = SbClampPos(m_si, pos);
    if (now == m_si.nPos) return now;
    RECT old = GetParts().thumb;
    m_si.nPos = now;
    if (!m_drag.active) {
        const RECT thumb = GetParts().thumb;
        ::UnionRect(&old, &old, &thumb);
        RedrawArea(old);
    }
    return now;
}

// ---- the mouse ----

void SScrollBar::OnBarLButtonDown(UINT, POINT pt)
{
    SetCapture();
    m_ptLast = pt;
    const SbParts parts = GetParts();
    const int part = SbHitTest(parts, pt);
    m_nHoverPart = part;
    if (part == kSbPartNone) return;
    m_nClickPart = part;
    if (part == SB_THUMBTRACK) {
        m_drag.Begin(pt, m_si, parts.thumb);
        RedrawArea(parts.rail);
        return;
    }
    RedrawArea(IsArrow(part) ? parts.Part(part) : parts.rail);
    FireScroll(part);
}

void SScrollBar::OnBarMouseMove(UINT, POINT pt)
{
    m_ptLast = pt;
    const SbParts parts = GetParts();
    if (m_drag.active) {
        const int pos = m_drag.MoveTo(pt, m_si, parts.freeLength, m_bVertical != FALSE);
        RedrawArea(parts.rail);
        if (pos == m_si.nTrackPos) return;
        m_si.nTrackPos = pos;
        EventScroll evt(this, SB_THUMBTRACK, pos, m_bVertical);
        FireEvent(evt);
        return;
    }
    const int part = SbHitTest(parts, pt);
    if (part == m_nHoverPart) return;
    m_nHoverPart = part;
    RedrawArea(GetPlacedRect());
}

void SScrollBar::OnBarLButtonUp(UINT flags, POINT pt)
{
    ReleaseCapture();
    if (m_drag.active) {
        m_drag.active = false;
        m_nClickPart = kSbPartNone;
        if (m_si.nTrackPos != -1) m_si.nPos = m_si.nTrackPos;
        m_si.nTrackPos = -1;
        m_nHoverPart = kSbPartNone;
        RedrawArea(GetParts().rail);
        OnBarMouseMove(flags, pt);
        FireScroll(SB_THUMBPOSITION);
        return;
    }
    KillTimer(1);
    KillTimer(2);
    const int clicked = m_nClickPart;
    m_nClickPart = kSbPartNone;
    if (IsArrow(clicked)) RedrawArea(GetParts().Part(clicked));
    else if (clicked != kSbPartNone) RedrawArea(GetParts().rail);
}

void SScrollBar::OnBarMouseLeave()
{
    if (!m_drag.active) OnBarMouseMove(0, POINT{-1, -1});
}

// A repeat timer that a handler started stops at the end of the range, or
// once the thumb has come under the mouse of a held rail.
LRESULT SScrollBar::OnBarTimer(UINT, WPARAM wParam, LPARAM)
{
    if (wParam != 1 && wParam != 2) {
        SetMsgHandled(FALSE);
        return 0;
    }
    bool stop;
    switch (m_nClickPart) {
    case SB_LINEUP: stop = m_si.nPos <= m_si.nMin; break;
    case SB_LINEDOWN: stop = m_si.nPos >= SbMaxPos(m_si); break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: stop = SbHitTest(GetParts(), m_ptLast) == SB_THUMBTRACK; break;
    default: stop = true; break;
    }
    if (stop) KillTimer(UINT(wParam));
    return 0;
}

// ---- scroll info messages ----

LRESULT SScrollBar::OnSetScrollInfo(UINT, WPARAM wParam, LPARAM lParam)
{
    const SCROLLINFO* info = reinterpret_cast<const SCROLLINFO*>(lParam);
    if (!info) return 0;
    if (info->fMask & SIF_PAGE) m_si.nPage = info->nPage;
    if (info->fMask & SIF_POS) m_si.nPos = info->nPos;
    if (info->fMask & SIF_RANGE) {
        m_si.nMin = info->nMin;
        m_si.nMax = info->nMax;
    }
    m_si.nPos = SbClampPos(m_si, m_si.nPos);
    if (wParam) InvalidateRect(nullptr);
    return 1;
}

LRESULT SScrollBar::OnGetScrollInfo(UINT, WPARAM, LPARAM lParam)
{
    SCROLLINFO* info = reinterpret_cast<SCROLLINFO*>(lParam);
    if (!info) return 0;
    if (info->fMask & SIF_PAGE) info->nPage = m_si.nPage;
    if (info->fMask & SIF_POS) info->nPos = m_si.nPos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = m_si.nTrackPos;
    if (info->fMask & SIF_RANGE) {
        info->nMin = m_si.nMin;
        info->nMax = m_si.nMax;
    }
    return 1;
}

}  // namespace WUI
