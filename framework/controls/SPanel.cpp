#include "controls/SPanel.h"

#include "controls/ControlAttr.h"
#include "core/AttrParse.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace WUI {

namespace {

// Bounds of the bars' sizes in layouts.
const int kMaxBarSize = 1024;

SCROLLINFO EmptyInfo()
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.nTrackPos = -1;
    return si;
}

bool IsArrow(int part)
{
    return part == SB_LINEUP || part == SB_LINEDOWN;
}

bool IsPage(int part)
{
    return part == SB_PAGEUP || part == SB_PAGEDOWN;
}

bool HasMargin(const RECT& m)
{
    return m.left || m.top || m.right || m.bottom;
}

}  // namespace

SPanel::SPanel() : m_siVer(EmptyInfo()), m_siHoz(EmptyInfo())
{
    m_sbSkin = sobj_cast<SSkinScrollbar>(BuiltinSkin(kSkinSysScrollbar));
}

// ---- attributes ----

const SPanel::IntAttr* SPanel::FindIntAttr(const SStringW& name)
{
    static const IntAttr kAttrs[] = {
        {L"sbArrowSize", &SPanel::m_nSbArrowSize, -1, kMaxBarSize, S_FALSE, true},
        {L"sbWid", &SPanel::m_nSbWid, -1, kMaxBarSize, S_OK, true},
        {L"sbEnable", &SPanel::m_wBarEnable, SSB_NULL, SSB_BOTH, S_OK, false},
        {L"updateInterval", &SPanel::m_nUpdateInterval, 0, 60000, S_FALSE, false},
        {L"scrollSpeed", &SPanel::m_nScrollSpeed, 0, 0x7FFF, S_FALSE, false},
        {L"sbLeft", &SPanel::m_nSbLeft, 0, kMaxBarSize, S_OK, true},
        {L"sbRight", &SPanel::m_nSbRight, 0, kMaxBarSize, S_OK, true},
        {L"sbTop", &SPanel::m_nSbTop, 0, kMaxBarSize, S_OK, true},
        {L"sbBottom", &SPanel::m_nSbBottom, 0, kMaxBarSize, S_OK, true},
    };
    for (const IntAttr& attr : kAttrs)
        if (_wcsicmp(name, attr.name) == 0) return &attr;
    return nullptr;
}

HRESULT SPanel::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"sbSkin") == 0) return AfterSetAttribute(name, value, OnAttrSbSkin(value, loading));
    const IntAttr* attr = FindIntAttr(name);
    if (!attr) return SWindow::SetAttribute(name, value, loading);
    int n = 0;
    if (!AttrParseInt(value, n, true, attr->low, attr->high)) return E_FAIL;
    this->*attr->field = n;
    if (attr->geometry && !loading) SendSwndMessage(WM_NCCALCSIZE);
    return AfterSetAttribute(name, value, attr->result);
}

// Only a scroll-bar skin will do; anything else keeps the one there is.
HRESULT SPanel::OnAttrSbSkin(const SStringW& value, BOOL loading)
{
    SSkinScrollbar* skin = sobj_cast<SSkinScrollbar>(FindSkin(value));
    if (!skin) return E_FAIL;
    m_sbSkin = skin;
    if (loading) return S_FALSE;
    SendSwndMessage(WM_NCCALCSIZE);
    return S_OK;
}

// ---- geometry ----

int SPanel::GetSbWidth() const
{
    if (!m_sbSkin) return 0;
    return m_nSbWid != -1 ? m_nSbWid : m_sbSkin->GetIdealSize();
}

int SPanel::GetSbArrowSize() const
{
    if (!m_sbSkin || !m_sbSkin->HasArrow()) return 0;
    return m_nSbArrowSize != -1 ? m_nSbArrowSize : GetSbWidth();
}

BOOL SPanel::HasScrollBar(BOOL vertical) const
{
    return (m_wBarVisible & (vertical ? SSB_VERT : SSB_HORZ)) != 0;
}

BOOL SPanel::IsScrollBarEnable(BOOL vertical) const
{
    return (m_wBarEnable & (vertical ? SSB_VERT : SSB_HORZ)) != 0;
}

void SPanel::ComputeClientRect(RECT& rc) const
{
    SWindow::ComputeClientRect(rc);
    const int w = GetSbWidth();
    if (HasScrollBar(TRUE)) rc.right = std::max(rc.left, rc.right - w);
    if (HasScrollBar(FALSE)) rc.bottom = std::max(rc.top, rc.bottom - w);
}

RECT SPanel::GetClientRect() const
{
    RECT rc;
    ComputeClientRect(rc);
    return rc;
}

RECT SPanel::GetScrollBarRect(BOOL vertical) const
{
    if (!HasScrollBar(vertical)) return RECT{0, 0, 0, 0};
    RECT rc = SWindow::GetClientRect();
    const int w = GetSbWidth();
    if (vertical) {
        rc.left = std::max(rc.left, rc.right - w);
        rc.top += m_nSbTop;
        rc.bottom -= m_nSbBottom + (HasScrollBar(FALSE) ? w : 0);
    } else {
        rc.top = std::max(rc.top, rc.bottom - w);
        rc.left += m_nSbLeft;
        rc.right -= m_nSbRight + (HasScrollBar(TRUE) ? w : 0);
    }
    rc.right = std::max(rc.left, rc.right);
    rc.bottom = std::max(rc.top, rc.bottom);
    return rc;
}

SbParts SPanel::GetScrollBarParts(BOOL vertical) const
{
    return SbComputeParts(GetScrollBarRect(vertical), vertical != FALSE, GetSbArrowSize(), GetScrollInfo(vertical));
}

RECT SPanel::CornerRect() const
{
    if (!HasScrollBar(TRUE) || !HasScrollBar(FALSE)) return RECT{0, 0, 0, 0};
    const RECT client = SWindow::GetClientRect();
    const int w = GetSbWidth();
    return RECT{std::max(client.left, client.right - w), std::max(client.top, client.bottom - w), client.right,
                client.bottom};
}

BOOL SPanel::HitNonClient(POINT pt)
{
    if (m_drag.active) return TRUE;
    const RECT client = GetClientRect();
    return !::PtInRect(&client, pt);
}

SPanel::BarPart SPanel::HitBars(POINT pt) const
{
    BarPart hit;
    const RECT horz = GetScrollBarRect(FALSE), vert = GetScrollBarRect(TRUE);
    if (::PtInRect(&horz, pt)) hit.vertical = FALSE;
    else if (::PtInRect(&vert, pt)) hit.vertical = TRUE;
    else return hit;
    hit.part = SbHitTest(GetScrollBarParts(hit.vertical), pt);
    return hit;
}

void SPanel::SetColorizeColor(COLORREF color)
{
    if (color == GetColorizeColor()) return;
    SWindow::SetColorizeColor(color);
    if (m_sbSkin) m_sbSkin->OnColorize(color);
}

// ---- the bars' state ----

void SPanel::ShowScrollBar(int mask, BOOL show)
{
    if (show) m_wBarVisible |= mask & SSB_BOTH;
    else m_wBarVisible &= ~mask;
    SendSwndMessage(WM_NCCALCSIZE);
    InvalidateRect(nullptr);
}

void SPanel::EnableScrollBar(int mask, BOOL enable)
{
    if (enable) m_wBarEnable |= mask & SSB_BOTH;
    else m_wBarEnable &= ~mask;
    for (BOOL vertical : {FALSE, TRUE}) {
        if (!(mask & (vertical ? SSB_VERT : SSB_HORZ))) continue;
        const RECT rc = GetScrollBarRect(vertical);
        if (!::IsRectEmpty(&rc)) InvalidateRect(&rc);
    }
}

// The position follows the bar's page as it now stands: a call that sets only
// the position keeps the page it has.
void SPanel::SetScrollInfo(const SCROLLINFO& info, BOOL vertical)
{
    SCROLLINFO& si = Info(vertical);
    if (info.fMask & SIF_RANGE) {
        si.nMin = info.nMin;
        si.nMax = info.nMax;
    }
    if (info.fMask & SIF_PAGE) si.nPage = info.nPage;
    if (info.fMask & SIF_POS) si.nPos = info.nPos;
    if (info.fMask & SIF_TRACKPOS) si.nTrackPos = info.nTrackPos;
    si.nPos = si.nPage ? SbClampPos(si, si.nPos) : 0;
    const RECT rc = GetScrollBarRect(vertical);
    if (!::IsRectEmpty(&rc)) InvalidateRect(&rc);
}

BOOL SPanel::SetScrollPos(BOOL vertical, int pos, BOOL redraw)
{
    SCROLLINFO& si = Info(vertical);
    si.nPos = SbClampPos(si, pos);
    if (redraw) {
        const RECT rc = GetScrollBarRect(vertical);
        if (!::IsRectEmpty(&rc)) InvalidateRect(&rc);
    }
    OnScroll(vertical, SB_THUMBPOSITION, si.nPos);
    return TRUE;
}

BOOL SPanel::SetScrollRange(BOOL vertical, int minPos, int maxPos, BOOL redraw)
{
    SCROLLINFO& si = Info(vertical);
    si.nMin = minPos;
    si.nMax = maxPos;
    si.nPos = SbClampPos(si, si.nPos);
    if (redraw) {
        const RECT rc = GetScrollBarRect(vertical);
        if (!::IsRectEmpty(&rc)) InvalidateRect(&rc);
    }
    return TRUE;
}

BOOL SPanel::GetScrollRange(BOOL vertical, int* minPos, int* maxPos) const
{
    const SCROLLINFO& si = GetScrollInfo(vertical);
    if (minPos) *minPos = si.nMin;
    if (maxPos) *maxPos = si.nMax;
    return TRUE;
}

void SPanel::ThrottledUpdate()
{
    const DWORD now = ::GetTickCount();
    if (now - m_dwUpdateTime < DWORD(m_nUpdateInterval)) return;
    if (m_pContainer) m_pContainer->UpdateWindow();
    m_dwUpdateTime = now;
}

int SPanel::GetScrollLineSize(BOOL)
{
    return m_nScrollSpeed;
}

BOOL SPanel::OnScroll(BOOL vertical, UINT code, int pos)
{
    SCROLLINFO& si = Info(vertical);
    long long target = si.nPos;
    switch (code) {
    case SB_LINEUP: target -= GetScrollLineSize(vertical); break;
    case SB_LINEDOWN: target += GetScrollLineSize(vertical); break;
    case SB_PAGEUP: target -= (long long)si.nPage; break;
    case SB_PAGEDOWN: target += (long long)si.nPage; break;
    case SB_TOP: target = si.nMin; break;
    case SB_BOTTOM: target = SbMaxPos(si); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = pos; break;
    default: break;  // other codes keep the position
    }
    const int now = si.nPage ? SbClampPos(si, target) : 0;
    if (now != si.nPos) {
        si.nPos = now;
        if (code != SB_THUMBTRACK) {
            si.nTrackPos = -1;
            const SbParts parts = GetScrollBarParts(vertical);
            RedrawBar(vertical, &parts.rail);
        }
    }
    Invalidate();
    return TRUE;
}

// ---- painting ----

LRESULT SPanel::OnNcCalcSize(UINT, WPARAM, LPARAM)
{
    InvalidateRect(nullptr);
    return 0;
}

SbLook SPanel::BarLook(BOOL vertical) const
{
    const bool pressing = m_pressed.part != kSbPartNone && m_pressed.vertical == vertical;
    const bool hovering = m_hit.part != kSbPartNone && m_hit.vertical == vertical;
    return SbLookFor(IsDisabled(TRUE) || !IsScrollBarEnable(vertical), pressing || hovering,
                     hovering ? m_hit.part : kSbPartNone, pressing ? m_pressed.part : kSbPartNone,
                     pressing && m_drag.active);
}

void SPanel::PaintBars(IRenderTarget* rt)
{
    for (BOOL vertical : {TRUE, FALSE}) {
        if (!HasScrollBar(vertical)) continue;
        const SbParts parts = GetScrollBarParts(vertical);
        const bool dragged = m_drag.active && m_pressed.vertical == vertical;
        const RECT thumb = dragged ? m_drag.Thumb(parts.rail, vertical != FALSE) : parts.thumb;
        SbDrawBar(rt, m_sbSkin, parts, thumb, vertical != FALSE, BarLook(vertical));
    }
    const RECT corner = CornerRect();
    if (m_sbSkin && !::IsRectEmpty(&corner))
        m_sbSkin->Draw(rt, &corner, MakeSbState(kSbPartCorner, kSkinStateNormal, true));
}

// Without a target (a frame repaint asked for outside a paint) each bar is
// repainted on its own.
void SPanel::OnPanelNcPaint(IRenderTarget* rt)
{
    if (!rt) {
        RedrawBar(TRUE, nullptr);
        RedrawBar(FALSE, nullptr);
        const RECT corner = CornerRect();
        if (!::IsRectEmpty(&corner)) RedrawArea(corner);
        return;
    }
    PaintFrame(rt);
    PaintBars(rt);
}

// The frame is the margin band: the bars keep what lies beneath them where
// their skin leaves gaps (a skin without rail shows only its thumb).
void SPanel::PaintFrame(IRenderTarget* rt)
{
    int state = 0;
    rt->SaveClip(&state);
    for (const RECT& bar : {GetScrollBarRect(TRUE), GetScrollBarRect(FALSE), CornerRect()})
        if (!::IsRectEmpty(&bar)) rt->ExcludeClipRect(&bar);
    SWindow::OnNcPaint(rt);
    rt->RestoreClip(state);
}

void SPanel::RedrawBar(BOOL vertical, const RECT* area)
{
    if (!HasScrollBar(vertical) || !IsVisible(TRUE)) return;
    RECT rc = GetScrollBarRect(vertical);
    if (area && !::IntersectRect(&rc, &rc, area)) return;
    RedrawArea(rc);
}

// The bars (and the frame) over what lies beneath, under what lies above.
void SPanel::RedrawArea(const RECT& area)
{
    if (::IsRectEmpty(&area)) return;
    IRenderTarget* rt = GetRenderTargetForRect(&area, kRtBackground, FALSE);
    if (!rt) return;
    PaintFrame(rt);
    PaintBars(rt);
    ReleaseRenderTarget(rt);
}

// The frame repaint of a hover change covers the bars: they are put back.
void SPanel::OnPanelMouseHover(UINT flags, POINT pt)
{
    SWindow::OnMouseHover(flags, pt);
    if (HasMargin(m_style.m_rcMargin)) OnPanelNcPaint(nullptr);
}

void SPanel::OnPanelMouseLeave()
{
    SWindow::OnMouseLeave();
    if (HasMargin(m_style.m_rcMargin)) OnPanelNcPaint(nullptr);
}

// ---- the mouse on the bars ----

void SPanel::OnNcLButtonDown(UINT, POINT pt)
{
    m_ptLast = pt;
    m_hit = HitBars(pt);
    if (m_hit.part == kSbPartNone || !IsScrollBarEnable(m_hit.vertical)) return;
    const BOOL vertical = m_hit.vertical;
    const int part = m_hit.part;
    SCROLLINFO& si = Info(vertical);
    const SbParts parts = GetScrollBarParts(vertical);
    SetCapture();
    m_pressed = m_hit;
    if (part == SB_THUMBTRACK) {
        m_drag.Begin(pt, si, parts.thumb);
        m_dwUpdateTime = ::GetTickCount() - DWORD(m_nUpdateInterval);
        RedrawBar(vertical, &parts.rail);
        return;
    }
    if (IsArrow(part)) {
        const RECT arrow = parts.Part(part);
        RedrawBar(vertical, &arrow);
    }
    OnScroll(vertical, part, si.nPos);
    SetTimer(kTimerRepeatDelay, kRepeatDelayMs);
}

void SPanel::DragThumb(POINT pt)
{
    const BOOL vertical = m_pressed.vertical;
    SCROLLINFO& si = Info(vertical);
    const SbParts parts = GetScrollBarParts(vertical);
    const int pos = m_drag.MoveTo(pt, si, parts.freeLength, vertical != FALSE);
    RedrawBar(vertical, &parts.rail);
    if (pos == si.nTrackPos) return;
    si.nTrackPos = pos;
    OnScroll(vertical, SB_THUMBTRACK, pos);
}

void SPanel::OnNcMouseMove(UINT, POINT pt)
{
    m_ptLast = pt;
    if (m_drag.active) {
        DragThumb(pt);
        return;
    }
    const BarPart hit = HitBars(pt);
    if (hit.part == kSbPartNone) {
        OnNcMouseLeave();
        return;
    }
    if (hit == m_hit) return;
    const BarPart old = m_hit;
    m_hit = hit;
    if (old.part != kSbPartNone && old.vertical != hit.vertical) RedrawBar(old.vertical, nullptr);
    RedrawBar(hit.vertical, nullptr);
}

void SPanel::OnNcLButtonUp(UINT flags, POINT pt)
{
    EndPress();
    OnNcMouseMove(flags, pt);
}

// A press on a bar that ends off the element comes back as a client button-up.
void SPanel::OnPanelLButtonUp(UINT flags, POINT pt)
{
    if (m_pressed.part == kSbPartNone) {
        SWindow::OnLButtonUp(flags, pt);
        return;
    }
    OnNcLButtonUp(flags, pt);
}

void SPanel::EndPress()
{
    const BarPart pressed = m_pressed;
    m_pressed = BarPart();
    m_hit = BarPart();  // the bar shows released; the next move finds the hover anew
    if (GetCapture() == m_swnd) ReleaseCapture();
    KillTimer(kTimerRepeatDelay);
    KillTimer(kTimerRepeat);
    if (pressed.part == kSbPartNone) return;
    const BOOL vertical = pressed.vertical;
    if (m_drag.active) {
        m_drag.active = false;
        SCROLLINFO& si = Info(vertical);
        const int track = si.nTrackPos;
        si.nTrackPos = -1;
        if (track != -1) OnScroll(vertical, SB_THUMBPOSITION, track);
        const SbParts parts = GetScrollBarParts(vertical);
        RedrawBar(vertical, &parts.rail);
    } else if (IsArrow(pressed.part)) {
        const RECT arrow = GetScrollBarParts(vertical).Part(pressed.part);
        RedrawBar(vertical, &arrow);
    }
}

void SPanel::OnNcMouseLeave()
{
    if (m_drag.active) return;
    const BarPart old = m_hit;
    m_hit = BarPart();
    if (old.part != kSbPartNone && IsVisible(TRUE)) RedrawBar(old.vertical, nullptr);
}

LRESULT SPanel::OnPanelTimer(UINT, WPARAM wParam, LPARAM)
{
    if (wParam == kTimerRepeatDelay) {
        KillTimer(kTimerRepeatDelay);
        SetTimer(kTimerRepeat, kRepeatMs);
    } else if (wParam != kTimerRepeat) {
        SetMsgHandled(FALSE);
        return 0;
    }
    RepeatPress();
    return 0;
}

// A held rail stops once the thumb has come under the mouse; a held arrow
// pauses while the mouse is off it.
void SPanel::RepeatPress()
{
    const BarPart pressed = m_pressed;
    if (!IsArrow(pressed.part) && !IsPage(pressed.part)) return;
    if (IsPage(pressed.part)) {
        const BarPart hit = HitBars(m_ptLast);
        if (hit != m_hit) {
            m_hit = hit;
            RedrawBar(pressed.vertical, nullptr);
        }
    }
    if (m_hit == pressed) OnScroll(pressed.vertical, pressed.part, 0);
}

void SPanel::OnPanelShowWindow(BOOL show, UINT status)
{
    if (!show && m_pressed.part != kSbPartNone) EndPress();
    if (!show) m_hit = BarPart();
    SWindow::OnShowWindow(show, status);
}

void SPanel::OnPanelEnable(BOOL enable, UINT status)
{
    SWindow::OnEnable(enable, status);
    if (IsDisabled(TRUE) && m_pressed.part != kSbPartNone) EndPress();
}

// ---- wheel and scroll messages ----

// Without a usable vertical bar the wheel goes on to the parent, so a plain
// "div" does not swallow it. After scrolling, the host is told the mouse
// moved, so hover and cursor follow the content that moved under it.
LRESULT SPanel::OnPanelMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!HasScrollBar(TRUE) || !IsScrollBarEnable(TRUE)) return SWindow::OnMouseWheel(msg, wParam, lParam);
    const int steps = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    // A scroll handler may destroy the panel: the notches left go nowhere.
    for (int i = 0; i < std::abs(steps) && !IsDestroyed(); ++i) OnScroll(TRUE, steps > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    HWND host = m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
    if (!steps || !host) return 0;
    ::SendMessageW(host, WM_MOUSEMOVE, GET_KEYSTATE_WPARAM(wParam), lParam);
    ::SendMessageW(host, WM_SETCURSOR, reinterpret_cast<WPARAM>(host), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return 0;
}

LRESULT SPanel::OnScrollMessage(UINT msg, WPARAM wParam, LPARAM)
{
    OnScroll(msg == WM_VSCROLL, LOWORD(wParam), HIWORD(wParam));
    return 0;
}

}  // namespace WUI
