// The host window's painting: the off-screen image, the invalid region, the
// paint step, render targets for a rectangle, element updates, the caret and
// the timers that drive the caret blink and the animation tick.
#include "core/SHostWnd.h"

#include "core/SApplication.h"
#include "render/SFontPool.h"

namespace WUI {

namespace {

// The text colour the tree starts from: opaque black.
const COLORREF kRootTextColor = 0xFF000000;

RECT Union(const RECT& a, const RECT& b)
{
    if (::IsRectEmpty(&a)) return b;
    if (::IsRectEmpty(&b)) return a;
    RECT u;
    ::UnionRect(&u, &a, &b);
    return u;
}

}  // namespace

HWND SHostWnd::PaintHwnd() const
{
    return m_attr.m_bTranslucent && m_dummyWnd.m_hWnd ? m_dummyWnd.m_hWnd : m_hWnd;
}

void SHostWnd::InvalidateNative(const RECT* rc)
{
    if (HWND target = PaintHwnd()) ::InvalidateRect(target, rc, FALSE);
}

void SHostWnd::OnRedraw(const RECT& rect)
{
    if (!m_hWnd) return;
    if (m_rgnInvalidate) m_rgnInvalidate->CombineRect(&rect, RGN_OR);
    m_bNeedRepaint = TRUE;
    // The dummy window repaints a layered host: the host's own paint
    // messages only validate. A host in the dummy's paint is already there.
    InvalidateNative(m_attr.m_bTranslucent ? nullptr : &rect);
}

void SHostWnd::UpdateWindow()
{
    if (HWND target = PaintHwnd()) ::UpdateWindow(target);
}

void SHostWnd::BeforePaint(IRenderTarget* rt, SPaintState& saved)
{
    SFontPool* fonts = SFontPool::GetSingletonPtr();
    if (IFont* font = fonts ? fonts->GetDefaultFont() : nullptr) {
        IRenderObj* old = nullptr;
        rt->SelectObject(font, &old);
        saved.font.Attach(old);
    }
    saved.textColor = rt->SetTextColor(kRootTextColor);
}

void SHostWnd::AfterPaint(IRenderTarget* rt, SPaintState& saved)
{
    rt->SelectDefaultObject(OT_FONT, nullptr);
    saved.font = nullptr;
    if (saved.textColor != kColorNone) rt->SetTextColor(saved.textColor);
}

// Wine still sends WM_PAINT to a layered window: validating is all a
// translucent host does here, its image goes through the dummy window.
void SHostWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (!m_attr.m_bTranslucent) OnPrint(dc, 0);
    ::EndPaint(m_hWnd, &ps);
}

// Rectangles shown by render targets while the step runs are deferred to
// its end, so the painting flag stands for the whole step.
void SHostWnd::OnPrint(HDC dc, UINT flags)
{
    if (!m_memRT || !m_rgnInvalidate || m_bPainting) return;
    SAutoRefPtr<SWindow> keep(this);  // paint handlers may destroy the window
    m_bPainting = TRUE;
    ++m_paintCount;
    UpdateLayout();
    if (m_bNeedAllRepaint) {
        m_rgnInvalidate->Clear();
        m_bNeedAllRepaint = FALSE;
        m_bNeedRepaint = TRUE;
    }
    const RECT client = GetClientRect();
    RECT area = {0, 0, 0, 0};
    if (m_bNeedRepaint && m_memRT) {
        m_bNeedRepaint = FALSE;
        SAutoRefPtr<IRegion> rgn(m_rgnInvalidate);
        IRegion* fresh = nullptr;
        SApplication::GetSingletonPtr()->GetRenderFactory()->CreateRegion(&fresh);
        m_rgnInvalidate.Attach(fresh);
        if (rgn->IsEmpty()) rgn->CombineRect(&client, RGN_COPY);
        rgn->GetRgnBox(&area);
        // The caret comes off the whole picture before the area is painted
        // anew, and goes back on top afterwards.
        const BOOL caretWasDrawn = m_bCaretDrawn;
        if (caretWasDrawn) ToggleCaret();
        SAutoRefPtr<IRenderTarget> rt(m_memRT);
        SPaintState saved;
        BeforePaint(rt, saved);
        rt->PushClipRegion(rgn, RGN_COPY);
        rt->ClearRect(&area, 0);
        UpdateZorder();
        RedrawRegion(rt, rgn);
        rt->PopClip();
        AfterPaint(rt, saved);
        if (caretWasDrawn && !m_bCaretDrawn) ToggleCaret();
    } else if (m_rgnInvalidate) {
        m_rgnInvalidate->GetRgnBox(&area);
        m_rgnInvalidate->Clear();
    }
    if (!(flags & kPaintInvalidOnly)) area = client;
    FlushPendingUpdates(area);
    m_bPainting = FALSE;
    ShowArea(dc, area);
}

void SHostWnd::FlushPendingUpdates(RECT& area)
{
    SArray<SWND> pending;
    for (SList<SWND>::Node* n = m_pendingUpdates.GetHead(); n; n = n->pNext) pending.Add(n->data);
    m_pendingUpdates.RemoveAll();
    for (int i = 0; i < pending.GetCount(); ++i)
        if (SWindow* element = SWindowMgr::GetWindow(pending[i])) element->UpdateSwnd();
    for (SList<RECT>::Node* n = m_deferredRects.GetHead(); n; n = n->pNext) area = Union(area, n->data);
    m_deferredRects.RemoveAll();
}

void SHostWnd::ShowArea(HDC dc, const RECT& area)
{
    if (!m_memRT || ::IsRectEmpty(&area)) return;
    if (m_attr.m_bTranslucent) {
        RECT wnd;
        ::GetWindowRect(m_hWnd, &wnd);
        POINT dst = {wnd.left, wnd.top};
        SIZE size = {wnd.right - wnd.left, wnd.bottom - wnd.top};
        POINT src = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_attr.m_byAlpha, AC_SRC_ALPHA};
        RECT dirty = area;
        UPDATELAYEREDWINDOWINFO info = {sizeof(info), nullptr, &dst, &size, nullptr, &src, 0, &blend, ULW_ALPHA, &dirty};
        info.hdcSrc = m_memRT->GetDC(0);
        SApplication* app = SApplication::GetSingletonPtr();
        if (app && app->UpdateLayered(m_hWnd, &info)) ++m_layeredUpdates;
        m_memRT->ReleaseDC(info.hdcSrc);
        return;
    }
    HDC own = dc ? nullptr : ::GetDC(m_hWnd);
    HDC src = m_memRT->GetDC(0);
    ::BitBlt(dc ? dc : own, area.left, area.top, area.right - area.left, area.bottom - area.top, src, area.left,
             area.top, SRCCOPY);
    m_memRT->ReleaseDC(src);
    if (own) ::ReleaseDC(m_hWnd, own);
}

IRenderTarget* SHostWnd::GetRenderTarget(const RECT& rect, int mode)
{
    SApplication* app = SApplication::GetSingletonPtr();
    IRenderFactory* factory = app ? app->GetRenderFactory() : nullptr;
    IRenderTarget* rt = nullptr;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (!factory || !factory->CreateRenderTarget(&rt, width > 0 ? width : 0, height > 0 ? height : 0) || !rt)
        return nullptr;
    rt->SetViewportOrg(POINT{-rect.left, -rect.top});
    if (mode != kRtEmpty && m_memRT) {
        if (m_bCaretDrawn) ToggleCaret();
        rt->BitBlt(&rect, m_memRT, rect.left, rect.top, SRCCOPY);
    }
    return rt;
}

void SHostWnd::ReleaseRenderTarget(IRenderTarget* rt, const RECT& rect, int mode)
{
    if (!rt) return;
    if (mode != kRtEmpty && m_memRT) {
        m_memRT->BitBlt(&rect, rt, rect.left, rect.top, SRCCOPY);
        if (m_bCaretShown && !m_bCaretDrawn) ToggleCaret();
        if (m_bPainting) m_deferredRects.AddTail(rect);
        else ShowArea(nullptr, rect);
    }
    rt->Release();
}

// An element with background blending off asks to be repainted alone; the
// requests gather until the next paint step.
void SHostWnd::OnUpdateSwnd(SWND swnd)
{
    if (!swnd || m_pendingUpdates.Find(swnd)) return;
    if (m_pendingUpdates.GetCount() == 0) InvalidateNative(nullptr);
    m_pendingUpdates.AddTail(swnd);
}

// ---- caret ----

BOOL SHostWnd::CreateCaret(SWND owner, HBITMAP bitmap, int width, int height)
{
    if (m_bCaretDrawn) ToggleCaret();
    ::CreateCaret(m_hWnd, bitmap, width, height);
    ::HideCaret(m_hWnd);
    m_caret.Attach(new SCaret(owner, bitmap, width, height));
    return TRUE;
}

BOOL SHostWnd::ShowCaret(BOOL show)
{
    m_bCaretShown = show;
    if (show) {
        SWindow::SetTimer(kTimerCaret, ::GetCaretBlinkTime());
        if (!m_bCaretDrawn) ToggleCaret();
    } else {
        SWindow::KillTimer(kTimerCaret);
        if (m_bCaretDrawn) ToggleCaret();
    }
    return TRUE;
}

BOOL SHostWnd::SetCaretPos(int x, int y)
{
    ::SetCaretPos(x, y);
    const BOOL drawn = m_bCaretDrawn;
    if (drawn) ToggleCaret();
    m_ptCaret = POINT{x, y};
    if (drawn) ToggleCaret();
    return TRUE;
}

void SHostWnd::ToggleCaret()
{
    if (!m_caret || !m_memRT) {
        m_bCaretDrawn = FALSE;
        return;
    }
    const RECT changed = m_caret->Draw(m_memRT, m_ptCaret.x, m_ptCaret.y);
    m_bCaretDrawn = !m_bCaretDrawn;
    if (::IsRectEmpty(&changed)) return;
    if (m_attr.m_bTranslucent && m_rgnInvalidate) m_rgnInvalidate->CombineRect(&changed, RGN_OR);
    InvalidateNative(&changed);
}

// ---- timers ----

BOOL SHostWnd::IsRootTimer(UINT_PTR id) const
{
    return (id & 0xFFFFFF) == (m_swnd & 0xFFFFFF);
}

void SHostWnd::OnTimer(UINT_PTR id, BOOL& handled)
{
    if (!(id & 0x80000000u)) {
        handled = FALSE;
        return;
    }
    const UINT elementId = static_cast<UINT>((id >> 24) & 0x7F);
    if (IsRootTimer(id)) {
        if (elementId == kTimerCaret && m_bCaretShown) ToggleCaret();
        else if (elementId == kTimerTimeline && !::IsIconic(m_hWnd)) OnNextFrame();
        return;
    }
    SWindow* element = SWindowMgr::GetWindow(static_cast<SWND>(id & 0xFFFFFF));
    if (!element || element->GetContainer() != this) {
        ::KillTimer(m_hWnd, id);
        return;
    }
    element->SendSwndMessage(WM_TIMER, elementId);
}

}  // namespace WUI
