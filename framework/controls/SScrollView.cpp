#include "controls/SScrollView.h"

#include "controls/ScrollEvents.h"
#include "core/AttrParse.h"

#include <algorithm>

namespace WUI {

namespace {

// Bound of a view's size and origin in layouts.
const int kMaxViewExtent = 0x3FFFFFFF;

bool operator!=(const SIZE& a, const SIZE& b)
{
    return a.cx != b.cx || a.cy != b.cy;
}

bool operator!=(const POINT& a, const POINT& b)
{
    return a.x != b.x || a.y != b.y;
}

}  // namespace

SScrollView::SScrollView()
{
    m_dwFlags |= kFlagClipClient;
    m_evtSet.AddEvent<EventScrollViewOriginChanged>();
    m_evtSet.AddEvent<EventScrollViewSizeChanged>();
    m_evtSet.AddEvent<EventScroll>();
}

HRESULT SScrollView::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result;
    if (_wcsicmp(name, L"viewSize") == 0) result = OnAttrViewSize(value, loading);
    else if (_wcsicmp(name, L"origin-x") == 0) result = OnAttrOrigin(value, loading, FALSE);
    else if (_wcsicmp(name, L"origin-y") == 0) result = OnAttrOrigin(value, loading, TRUE);
    else return SPanel::SetAttribute(name, value, loading);
    return AfterSetAttribute(name, value, result);
}

// "cx,cy"; a value of 0 or less makes the view follow its children.
HRESULT SScrollView::OnAttrViewSize(const SStringW& value, BOOL loading)
{
    int n[2];
    if (AttrParseIntList(value, n, 2, -kMaxViewExtent, kMaxViewExtent) != 2) return E_FAIL;
    m_bViewSizeRelative = n[0] <= 0 || n[1] <= 0;
    if (m_bViewSizeRelative) {
        if (!loading) {
            const RECT client = GetClientRect();
            SetViewSize(MeasureView(SIZE{client.right - client.left, client.bottom - client.top}));
        }
    } else if (loading) {
        m_szView = SIZE{n[0], n[1]};
    } else {
        SetViewSize(SIZE{n[0], n[1]});
    }
    return S_FALSE;
}

// While loading the bar takes the position too, so the first layout keeps it
// as far as the view allows.
HRESULT SScrollView::OnAttrOrigin(const SStringW& value, BOOL loading, BOOL vertical)
{
    int n;
    if (!AttrParseInt(value, n, true, -kMaxViewExtent, kMaxViewExtent)) return E_FAIL;
    if (!loading) {
        SetViewOrigin(vertical ? POINT{m_ptOrigin.x, n} : POINT{n, m_ptOrigin.y});
        return S_FALSE;
    }
    (vertical ? m_ptOrigin.y : m_ptOrigin.x) = n;
    Info(vertical).nPos = n;
    return S_FALSE;
}

// The children's size handlers and the view's own events may destroy the
// view: it is kept to the end, and fires nothing once destroyed (and so in
// SetViewOrigin and OnScroll).
void SScrollView::SetViewSize(SIZE size)
{
    if (!(size != m_szView)) return;
    SAutoRefPtr<SWindow> keep(this);
    const SIZE old = m_szView;
    m_szView = size;
    UpdateScrollBar();
    if (IsDestroyed()) return;
    LayoutChildren();
    if (!IsDestroyed()) OnViewSizeChanged(old, size);
}

// The bars are set for the origin asked; where they hold it back (a view
// that fits, or an origin past the end), the origin follows them.
void SScrollView::SetViewOrigin(POINT origin)
{
    if (!(origin != m_ptOrigin)) return;
    SAutoRefPtr<SWindow> keep(this);
    const POINT old = m_ptOrigin;
    const BOOL wasMoving = m_bMovingOrigin;
    m_bMovingOrigin = TRUE;
    m_ptOrigin = origin;
    if (origin.x != old.x) SetScrollPos(FALSE, origin.x, TRUE);
    if (origin.y != old.y) SetScrollPos(TRUE, origin.y, TRUE);
    m_bMovingOrigin = wasMoving;
    m_ptOrigin = POINT{GetScrollPos(FALSE), GetScrollPos(TRUE)};
    if (!(m_ptOrigin != old)) return;
    OnViewOriginChanged(old, m_ptOrigin);
    if (!IsDestroyed()) Invalidate();
}

void SScrollView::SetBar(BOOL vertical, BOOL show, int extent, int page)
{
    SCROLLINFO& si = Info(vertical);
    const int mask = vertical ? SSB_VERT : SSB_HORZ;
    if (show) m_wBarVisible |= mask;
    else m_wBarVisible &= ~mask;
    si.nMin = 0;
    si.nMax = extent - 1;
    si.nPage = UINT(std::max(0, page));
    if (!show) si.nPos = 0;
}

void SScrollView::UpdateScrollBar()
{
    RECT rc;
    SWindow::ComputeClientRect(rc);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top, bar = GetSbWidth();
    const int cx = m_szView.cx, cy = m_szView.cy;
    // A horizontal bar takes height, which may make the vertical one needed.
    const bool vertical = height < cy || (height < cy + bar && width < cx);
    const bool horizontal = vertical ? width < cx + bar : width < cx;
    if (vertical) SetBar(TRUE, TRUE, cy, horizontal ? height - bar : height);
    else SetBar(TRUE, FALSE, height, height);
    if (horizontal) SetBar(FALSE, TRUE, cx, vertical ? width - bar : width);
    else SetBar(FALSE, FALSE, width, width);
    SetScrollPos(FALSE, GetScrollPos(FALSE), FALSE);
    SetScrollPos(TRUE, GetScrollPos(TRUE), FALSE);
    SendSwndMessage(WM_NCCALCSIZE);
    InvalidateRect(nullptr);
}

// One EventScroll per scroll asked for: the bar moves that SetViewOrigin
// makes on the way fire none of their own.
BOOL SScrollView::OnScroll(BOOL vertical, UINT code, int pos)
{
    const BOOL nested = m_bMovingOrigin;
    SAutoRefPtr<SWindow> keep(this);
    SPanel::OnScroll(vertical, code, pos);
    if (!nested) {
        POINT origin = m_ptOrigin;
        (vertical ? origin.y : origin.x) = GetScrollPos(vertical);
        if (origin != m_ptOrigin) SetViewOrigin(origin);
    }
    if (IsDestroyed()) return TRUE;
    if (code == SB_THUMBTRACK) ThrottledUpdate();
    if (nested) return TRUE;
    EventScroll evt(this, int(code), GetScrollPos(vertical), vertical);
    FireEvent(evt);
    return TRUE;
}

RECT SScrollView::GetChildrenLayoutRect() const
{
    const RECT client = GetClientRect();
    const LONG left = client.left - m_ptOrigin.x, top = client.top - m_ptOrigin.y;
    return RECT{left, top, left + m_szView.cx, top + m_szView.cy};
}

SIZE SScrollView::MeasureView(SIZE client)
{
    const RECT limit = {0, 0, std::max(0L, client.cx), std::max(0L, client.cy)};
    return MeasureChildren(limit);
}

void SScrollView::OnViewWndSize(UINT type, SIZE size)
{
    SWindow::OnSize(type, size);
    if (m_bViewSizeRelative) {
        const SIZE measured = MeasureView(size);
        if (measured != m_szView) {
            SetViewSize(measured);
            return;
        }
    }
    UpdateScrollBar();
}

void SScrollView::OnViewSizeChanged(SIZE oldSize, SIZE newSize)
{
    EventScrollViewSizeChanged evt(this, oldSize, newSize);
    FireEvent(evt);
}

void SScrollView::OnViewOriginChanged(POINT oldOrigin, POINT newOrigin)
{
    LayoutChildren();
    if (IsDestroyed()) return;
    EventScrollViewOriginChanged evt(this, oldOrigin, newOrigin);
    FireEvent(evt);
}

}  // namespace WUI
