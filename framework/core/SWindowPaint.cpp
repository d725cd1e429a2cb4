// What painting rests on: invalidation, the text style of a state, the cache
// and layered render targets, and the element's own paint handlers.
#include "core/SWindow.h"

#include "core/SApplication.h"
#include "render/IRenderTarget.h"
#include "render/ISkinObj.h"

namespace WUI {

namespace {

IRenderFactory* RenderFactory()
{
    SApplication* app = SApplication::GetSingletonPtr();
    return app ? app->GetRenderFactory() : nullptr;
}

}  // namespace

IRegion* SWindow::NewRegion(const RECT* rect)
{
    IRenderFactory* factory = RenderFactory();
    IRegion* region = nullptr;
    if (!factory || !factory->CreateRegion(&region) || !region) return nullptr;
    if (rect) region->CombineRect(rect, RGN_COPY);
    return region;
}

void SWindow::Invalidate()
{
    const RECT rc = GetClientRect();
    InvalidateRect(&rc);
}

void SWindow::InvalidateRect(const RECT* rect)
{
    InvalidateRectEx(rect, TRUE);
}

void SWindow::InvalidateRectEx(const RECT* rect, BOOL markCacheDirty)
{
    if (markCacheDirty) m_dwFlags |= kFlagCacheDirty;
    if (!IsVisible(TRUE) || IsUpdateLocked()) return;
    const RECT placed = GetPlacedRect();
    RECT rc;
    if (!::IntersectRect(&rc, rect ? rect : &placed, &placed)) return;
    if (m_style.IsBkgndBlend()) {
        if (m_pParent) m_pParent->InvalidateRectEx(&rc, FALSE);
        else if (m_pContainer) m_pContainer->OnRedraw(rc);
        return;
    }
    if (!m_updateRgn) {
        m_updateRgn.Attach(NewRegion(nullptr));
        if (!m_updateRgn) return;
    }
    m_updateRgn->CombineRect(&rc, RGN_OR);
    HWND host = m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
    if (host) ::SendMessageW(host, UM_UPDATESWND, m_swnd, 0);
}

int SWindow::GetStateIndex() const
{
    if (m_dwState & WndState_Disable) return 3;
    if (m_dwState & (WndState_PushDown | WndState_Check)) return 2;
    if (m_dwState & WndState_Hover) return 1;
    return 0;
}

void SWindow::BeforePaint(IRenderTarget* rt, SPaintState& saved)
{
    const int state = GetStateIndex();
    if (IFont* font = m_style.GetTextFont(state)) {
        IRenderObj* old = nullptr;
        rt->SelectObject(font, &old);
        saved.font.Attach(old);
    }
    const COLORREF color = m_style.GetTextColor(state);
    if (color != kColorNone) saved.textColor = rt->SetTextColor(color);
}

void SWindow::AfterPaint(IRenderTarget* rt, SPaintState& saved)
{
    RestoreTextStyle(rt, saved);
}

void LendTextStyle(IRenderTarget* to, IRenderTarget* from, SPaintState& saved)
{
    if (IRenderObj* font = from->GetCurrentObject(OT_FONT)) {
        IRenderObj* old = nullptr;
        to->SelectObject(font, &old);
        saved.font.Attach(old);
    }
    saved.textColor = to->SetTextColor(from->GetTextColor());
}

void RestoreTextStyle(IRenderTarget* rt, SPaintState& saved)
{
    if (saved.font) rt->SelectObject(saved.font, nullptr);
    saved.font = nullptr;
    if (saved.textColor != kColorNone) rt->SetTextColor(saved.textColor);
}

void SWindow::ApplyTextStyleChain(IRenderTarget* rt)
{
    if (m_pParent) m_pParent->ApplyTextStyleChain(rt);
    SPaintState ignored;  // the chain stays selected
    BeforePaint(rt, ignored);
}

void SWindow::SetColorizeColor(COLORREF color)
{
    if (color == m_crColorize) return;
    m_crColorize = color;
    if (m_pNcSkin) m_pNcSkin->OnColorize(color);
    if (m_pBgSkin) m_pBgSkin->OnColorize(color);
}

namespace {

void ColorizeSubtree(SWindow* w, COLORREF color)
{
    w->SetColorizeColor(color);
    for (SWindow* c = w->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) ColorizeSubtree(c, color);
}

}  // namespace

void SWindow::ColorizeTree(COLORREF color)
{
    ColorizeSubtree(this, color);
    InvalidateRect(nullptr);
}

void SWindow::SetWindowRgn(IRegion* rgn, BOOL redraw)
{
    m_shapeRgn = nullptr;
    if (rgn) {
        m_shapeRgn.Attach(NewRegion(nullptr));
        if (m_shapeRgn) m_shapeRgn->CombineRegion(rgn, RGN_COPY);
    }
    if (redraw) InvalidateRect(nullptr);
}

BOOL SWindow::GetWindowRgn(IRegion* rgn) const
{
    if (!m_shapeRgn || !rgn) return FALSE;
    rgn->CombineRegion(m_shapeRgn, RGN_COPY);
    return TRUE;
}

BOOL SWindow::PaintsToCache() const
{
    return (m_dwFlags & kFlagCache) || (!IsLayered() && m_style.m_byAlpha != 255);
}

// A wanted target of the window's size with its viewport at the window's
// top-left, made once the element is placed; an unwanted one is dropped.
void SWindow::FitRenderTarget(SAutoRefPtr<IRenderTarget>& rt, BOOL wanted)
{
    if (!wanted) {
        rt = nullptr;
        return;
    }
    const RECT rc = GetPlacedRect();
    const SIZE size = {rc.right - rc.left, rc.bottom - rc.top};
    if (size.cx <= 0 || size.cy <= 0) return;
    if (rt) {
        rt->Resize(size);
    } else {
        IRenderFactory* factory = RenderFactory();
        IRenderTarget* made = nullptr;
        if (!factory || !factory->CreateRenderTarget(&made, size.cx, size.cy) || !made) return;
        rt.Attach(made);
    }
    rt->SetViewportOrg(POINT{-rc.left, -rc.top});
    m_dwFlags |= kFlagCacheDirty;
}

void SWindow::OnPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    RECT rc;
    GetTextRect(rc);
    DrawText(rt, m_strText, m_strText.GetLength(), &rc, GetTextAlign());
    if (IsFocused()) DrawFocus(rt);
    AfterPaint(rt, saved);
}

// A skin state the skin lacks draws its first state.
LRESULT SWindow::OnEraseBkgnd(IRenderTarget* rt)
{
    if (!rt) return 0;
    const RECT rc = GetClientRect();
    if (m_pBgSkin) {
        int state = GetStateIndex();
        if (state >= m_pBgSkin->GetStates()) state = 0;
        m_pBgSkin->Draw(rt, &rc, state);
    } else if (m_style.m_crBg != kColorNone) {
        rt->FillSolidRect(&rc, m_style.m_crBg);
    }
    return 1;
}

namespace {

bool HasMargin(const RECT& margin)
{
    return margin.left || margin.top || margin.right || margin.bottom;
}

}  // namespace

// Without a target (a hover change) the frame is painted on its own, over
// what lies beneath it and under what lies above. Their paint handlers may
// destroy the element: the painting stops there (the message keeps the
// element alive, the target stays usable until released).
void SWindow::OnNcPaint(IRenderTarget* rt)
{
    if (!IsVisible(TRUE) || !IsPlaced() || !HasMargin(m_style.m_rcMargin)) return;
    const RECT rcWnd = m_rcWindow;
    const RECT rcClient = GetClientRect();
    if (rt) {
        int state = 0;
        rt->SaveClip(&state);
        rt->IntersectClipRect(&rcWnd);
        rt->ExcludeClipRect(&rcClient);
        DrawFrame(rt);
        rt->RestoreClip(state);
        return;
    }
    IRenderTarget* own = GetRenderTargetForRect(&rcWnd, kRtHostImage, FALSE);
    if (!own) return;
    int state = 0;
    own->SaveClip(&state);
    own->ExcludeClipRect(&rcClient);
    PaintBackground(own, &rcWnd);
    if (!m_bDestroyed) DrawFrame(own);
    if (!m_bDestroyed) PaintForeground(own, &rcWnd);
    own->RestoreClip(state);
    ReleaseRenderTarget(own);
}

void SWindow::DrawFrame(IRenderTarget* rt)
{
    const RECT rcWnd = GetPlacedRect();
    if (m_pNcSkin) {
        const BOOL hover = (m_dwState & WndState_Hover) && m_pNcSkin->GetStates() > 1;
        m_pNcSkin->Draw(rt, &rcWnd, hover ? 1 : 0);
    } else if (m_style.m_crBorder != kColorNone) {
        rt->FillSolidRect(&rcWnd, m_style.m_crBorder);
    }
}

void SWindow::DrawText(IRenderTarget* rt, LPCWSTR text, int length, RECT* rect, UINT format)
{
    rt->DrawText(text, length, rect, format);
}

void SWindow::DrawFocus(IRenderTarget* rt)
{
    if (!IsFocusable() || !IsDrawFocusRect()) return;
    RECT rc;
    GetTextRect(rc);
    DrawDefaultFocusRect(rt, rc);
}

void SWindow::DrawDefaultFocusRect(IRenderTarget* rt, const RECT& rect)
{
    RECT rc = rect;
    ::InflateRect(&rc, -2, -2);
    IPen* pen = nullptr;
    if (FAILED(rt->CreatePen(PS_DOT, 0xFF585858, 1, &pen)) || !pen) return;
    IRenderObj* old = nullptr;
    rt->SelectObject(pen, &old);
    rt->DrawRectangle(&rc);
    rt->SelectObject(old, nullptr);
    if (old) old->Release();
    pen->Release();
}

void SWindow::PaintClient(IRenderTarget* rt)
{
    if (!PaintsToCache()) {
        SendSwndMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
        SendSwndMessage(WM_PAINT, reinterpret_cast<WPARAM>(rt));
        return;
    }
    if (!m_cacheRT) return;
    if (m_dwFlags & kFlagCacheDirty) {
        SAutoRefPtr<IRenderTarget> cache(m_cacheRT);  // a handler may drop it
        const RECT rcWnd = m_rcWindow;
        cache->ClearRect(&rcWnd, 0);
        SPaintState saved;
        LendTextStyle(cache, rt, saved);
        SendSwndMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(cache.get()));
        SendSwndMessage(WM_PAINT, reinterpret_cast<WPARAM>(cache.get()));
        RestoreTextStyle(cache, saved);
        m_dwFlags &= ~kFlagCacheDirty;
    }
    BlendCache(rt, FALSE);
}

// The frame is painted into the cache anew each time: its band is cleared
// first, so a translucent frame does not build up.
void SWindow::PaintNonClient(IRenderTarget* rt)
{
    const RECT rcWnd = GetPlacedRect();
    const RECT rcClient = GetClientRect();
    if (::EqualRect(&rcWnd, &rcClient)) return;
    if (!m_cacheRT) {
        SendSwndMessage(WM_NCPAINT, reinterpret_cast<WPARAM>(rt));
        return;
    }
    SAutoRefPtr<IRenderTarget> cache(m_cacheRT);
    int state = 0;
    cache->SaveClip(&state);
    cache->ExcludeClipRect(&rcClient);
    cache->ClearRect(&rcWnd, 0);
    cache->RestoreClip(state);
    SendSwndMessage(WM_NCPAINT, reinterpret_cast<WPARAM>(cache.get()));
    BlendCache(rt, TRUE);
}

// The client part and the frame are blended apart: the frame in the cache
// stands from the last paint that included it, and must reach the target
// only once.
void SWindow::BlendCache(IRenderTarget* rt, BOOL frame)
{
    if (!m_cacheRT) return;
    RECT clip, part;
    const RECT rcClient = GetClientRect();
    const RECT rc = frame ? GetPlacedRect() : rcClient;
    rt->GetClipBox(&clip);
    if (!::IntersectRect(&part, &rc, &clip)) return;
    const BYTE alpha = IsLayered() ? 255 : m_style.m_byAlpha;
    int state = 0;
    if (frame) {
        rt->SaveClip(&state);
        rt->ExcludeClipRect(&rcClient);
    }
    rt->AlphaBlend(&part, m_cacheRT, &part, alpha);
    if (frame) rt->RestoreClip(state);
}

void SWindow::UpdateCacheMode()
{
    FitRenderTarget(m_cacheRT, PaintsToCache());
}

void SWindow::UpdateLayeredMode()
{
    FitRenderTarget(m_layeredRT, IsLayered());
}

}  // namespace WUI
