#include "controls/SButton.h"

#include "controls/ControlAttr.h"
#include "core/CFocusManager.h"

namespace WUI {

namespace {

// A fade starts at this alpha and gains kFadeStep a frame up to 255: ten frames.
const int kFadeStart = 5;
const int kFadeStep = 25;

bool IsPressKey(WPARAM key)
{
    return key == VK_SPACE || key == VK_RETURN;
}

}  // namespace

SButton::SButton()
{
    m_pBgSkin = BuiltinSkin(kSkinSysBtnNormal);
    m_dwFlags |= kFlagFocusable;
}

SImageButton::SImageButton()
{
    m_dwFlags &= ~kFlagFocusable;
}

HRESULT SButton::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"accel") == 0) return AfterSetAttribute(name, value, OnAttrAccel(value));
    static const MemberAttr<SButton, int> ints[] = {{L"animate", &SButton::m_nAnimate, S_FALSE}};
    HRESULT hr;
    if (SetIntAttr(this, ints, name, value, hr)) return AfterSetAttribute(name, value, hr);
    return SWindow::SetAttribute(name, value, loading);
}

IAcceleratorMgr* SButton::AcceleratorMgr() const
{
    return m_pContainer ? m_pContainer->GetFocusManager() : nullptr;
}

// A new key replaces the old one's registration. A button outside a
// container keeps the key without registering it.
HRESULT SButton::OnAttrAccel(const SStringW& value)
{
    IAcceleratorMgr* accels = AcceleratorMgr();
    if (accels && m_accelKey) accels->UnregisterAccelerator(CAccelerator(m_accelKey), this);
    m_accelKey = CAccelerator::ParseAccelKey(value);
    if (!m_accelKey || !accels) return S_FALSE;
    accels->RegisterAccelerator(CAccelerator(m_accelKey), this);
    return S_OK;
}

bool SButton::OnAcceleratorPressed(const CAccelerator&)
{
    if (IsDisabled(TRUE)) return false;
    FireCommand();
    return true;
}

void SButton::OnStateChanged(DWORD oldState, DWORD newState)
{
    SWindow::OnStateChanged(oldState, newState);
    StopFade();
    if (!m_nAnimate || !m_pContainer || GetCapture() == m_swnd) return;
    const bool normalToHover = oldState == WndState_Normal && newState == WndState_Hover;
    const bool hoverToNormal = oldState == WndState_Hover && newState == WndState_Normal;
    // Without ticks (no memory to register) the button changes at once.
    if ((normalToHover || hoverToNormal) && m_pContainer->RegisterTimelineHandler(this)) m_byFadeAlpha = kFadeStart;
}

void SButton::OnNextFrame()
{
    const int alpha = m_byFadeAlpha + kFadeStep;
    if (alpha >= 255) StopFade();
    else m_byFadeAlpha = static_cast<BYTE>(alpha);
    Invalidate();
}

void SButton::StopFade()
{
    if (m_pContainer) m_pContainer->UnregisterTimelineHandler(this);
    m_byFadeAlpha = 255;
}

// During a fade the hover look is blended over the normal one, growing
// towards hover or shrinking towards normal.
void SButton::OnButtonPaint(IRenderTarget* rt)
{
    if (!m_pBgSkin || !rt) return;
    const RECT rc = GetClientRect();
    if (m_byFadeAlpha == 255) {
        m_pBgSkin->Draw(rt, &rc, ClampSkinState(m_pBgSkin, GetStateIndex()));
    } else {
        const BYTE skinAlpha = m_pBgSkin->GetAlpha();
        const BYTE hoverAlpha = static_cast<BYTE>(skinAlpha * m_byFadeAlpha / 256);
        const bool hovered = (m_dwState & WndState_Hover) != 0;
        m_pBgSkin->DrawWithAlpha(rt, &rc, 0, skinAlpha);
        m_pBgSkin->DrawWithAlpha(rt, &rc, ClampSkinState(m_pBgSkin, 1),
                                 hovered ? hoverAlpha : static_cast<BYTE>(skinAlpha - hoverAlpha));
    }
    SWindow::OnPaint(rt);
}

// Auto-repeat of a held key only keeps the button pushed.
LRESULT SButton::OnButtonKeyDown(UINT, WPARAM key, LPARAM)
{
    if (!IsPressKey(key)) {
        SetMsgHandled(FALSE);
        return 0;
    }
    if (!(m_dwState & WndState_PushDown)) ModifyState(WndState_PushDown, 0, TRUE);
    return 0;
}

LRESULT SButton::OnButtonKeyUp(UINT, WPARAM key, LPARAM)
{
    if (!IsPressKey(key)) {
        SetMsgHandled(FALSE);
        return 0;
    }
    if (m_dwState & WndState_PushDown) {
        ModifyState(0, WndState_PushDown, TRUE);
        if (!IsDestroyed()) FireCommand();  // a state handler may have destroyed it
    }
    return 0;
}

void SButton::OnButtonSize(UINT type, SIZE size)
{
    SWindow::OnSize(type, size);
    StopFade();
}

void SButton::OnButtonDestroy()
{
    IAcceleratorMgr* accels = AcceleratorMgr();
    if (accels && m_accelKey) accels->UnregisterAccelerator(CAccelerator(m_accelKey), this);
    StopFade();
    SWindow::OnDestroy();
}

SIZE SButton::MeasureContent(const RECT* limit)
{
    const SIZE skin = SkinSize(m_pBgSkin);
    if (skin.cx && skin.cy) return skin;
    return SWindow::MeasureContent(limit);
}

}  // namespace WUI
