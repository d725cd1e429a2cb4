// What painting rests on: invalidation, the text style of a state, and the
// cache and layered render targets.
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
        IRenderFactory* factory = RenderFactory();
        IRegion* region = nullptr;
        if (!factory || !factory->CreateRegion(&region) || !region) return;
        m_updateRgn.Attach(region);
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

void SWindow::UpdateCacheMode()
{
    FitRenderTarget(m_cacheRT, PaintsToCache());
}

void SWindow::UpdateLayeredMode()
{
    FitRenderTarget(m_layeredRT, IsLayered());
}

}  // namespace WUI
