#include "controls/SToggle.h"

#include "controls/ControlAttr.h"

namespace WUI {

SToggle::SToggle() : m_pSkin(BuiltinSkin(kSkinSysTreeToggle)) {}

HRESULT SToggle::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SToggle, int> ints[] = {{L"toggled", &SToggle::m_bToggled, S_OK}};
    static const MemberAttr<SToggle, ISkinObj*> skins[] = {{L"skin", &SToggle::m_pSkin, S_OK}};
    HRESULT hr;
    if (SetIntAttr(this, ints, name, value, hr) || SetSkinAttr(this, skins, name, value, hr))
        return AfterSetAttribute(name, value, hr);
    return SWindow::SetAttribute(name, value, loading);
}

void SToggle::SetToggle(BOOL toggled, BOOL redraw)
{
    m_bToggled = toggled;
    if (redraw) InvalidateRect(nullptr);
}

void SToggle::OnTogglePaint(IRenderTarget* rt)
{
    if (!rt || !m_pSkin) return;
    DWORD state = 0;
    if (m_dwState & WndState_PushDown) state = 2;
    else if (m_dwState & WndState_Hover) state = 1;
    if (m_bToggled) state += 3;
    const RECT rc = GetPlacedRect();
    m_pSkin->Draw(rt, &rc, state);
}

void SToggle::OnToggleButtonUp(UINT flags, POINT pt)
{
    const RECT rc = GetPlacedRect();
    if (::PtInRect(&rc, pt)) SetToggle(!m_bToggled);
    SWindow::OnLButtonUp(flags, pt);
}

SIZE SToggle::MeasureContent(const RECT*)
{
    return SkinSize(m_pSkin);
}

void SToggle::SetColorizeColor(COLORREF color)
{
    SWindow::SetColorizeColor(color);
    ColorizeSkin(m_pSkin, color);
}

}  // namespace WUI
