#include "controls/SImageWnd.h"

#include "controls/ControlAttr.h"
#include "render/IRenderObj.h"

namespace WUI {

SImageWnd::SImageWnd()
{
    m_dwFlags |= kFlagMsgTransparent;
}

SImageWnd::~SImageWnd()
{
    DropOwnedSkin();
}

void SImageWnd::DropOwnedSkin()
{
    if (m_bOwnsSkin && m_pSkin) {
        m_pSkin->Release();
        m_pSkin = nullptr;
    }
    m_bOwnsSkin = 0;
}

// A skin named by the layout belongs to its pool: one the element owned
// before is released, not leaked, and the pool's is never released.
HRESULT SImageWnd::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"skin") == 0) {
        DropOwnedSkin();
        m_pSkin = FindSkin(value);
        return AfterSetAttribute(name, value, S_OK);
    }
    static const MemberAttr<SImageWnd, int> ints[] = {{L"iconIndex", &SImageWnd::m_nIconIndex, S_FALSE}};
    HRESULT hr;
    if (SetIntAttr(this, ints, name, value, hr)) return AfterSetAttribute(name, value, hr);
    return SWindow::SetAttribute(name, value, loading);
}

// The new skin may be the one the element owns: its reference is taken
// before the old one goes.
BOOL SImageWnd::SetSkin(ISkinObj* skin, int iconIndex, BOOL autoFree)
{
    if (IsVisible(TRUE)) InvalidateRect(nullptr);
    if (skin && autoFree) skin->AddRef();
    DropOwnedSkin();
    if (!skin) return FALSE;
    m_pSkin = skin;
    m_nIconIndex = iconIndex;
    m_bOwnsSkin = autoFree ? 1 : 0;
    RelayoutForContent();
    if (IsVisible(TRUE)) InvalidateRect(nullptr);
    return TRUE;
}

void SImageWnd::SetImage(IBitmap* image, int filter)
{
    m_image = image;
    m_nFilter = filter;
    RelayoutForContent();
    InvalidateRect(nullptr);
}

BOOL SImageWnd::SetIconIndex(int index)
{
    if (!m_pSkin || index < 0 || index >= m_pSkin->GetStates()) return FALSE;
    m_nIconIndex = index;
    InvalidateRect(nullptr);
    return TRUE;
}

void SImageWnd::RelayoutForContent()
{
    if (m_layout.IsFitContent(kAxisBoth) && m_pParent) InvalidateLayout();
}

void SImageWnd::OnImagePaint(IRenderTarget* rt)
{
    if (!rt) return;
    const RECT rc = GetPlacedRect();
    if (m_image) {
        const RECT src = {0, 0, static_cast<LONG>(m_image->Width()), static_cast<LONG>(m_image->Height())};
        rt->DrawBitmapEx(&rc, m_image, &src, MAKELONG(1, m_nFilter), 255);
    } else if (m_pSkin) {
        m_pSkin->Draw(rt, &rc, m_nIconIndex);
    }
}

SIZE SImageWnd::MeasureContent(const RECT*)
{
    if (m_image) return SIZE{static_cast<LONG>(m_image->Width()), static_cast<LONG>(m_image->Height())};
    return SkinSize(m_pSkin);
}

void SImageWnd::SetColorizeColor(COLORREF color)
{
    SWindow::SetColorizeColor(color);
    ColorizeSkin(m_pSkin, color);
}

}  // namespace WUI
