#include "controls/SCheckBox.h"

#include "controls/ControlAttr.h"

#include <algorithm>

namespace WUI {

namespace {

// Between the box and the text.
const int kBoxGap = 4;
// Added to the box state of a checked box.
const DWORD kCheckedStates = 4;

// Changes the element's check with its events muted, as they were before afterwards.
void SetCheckQuietly(SWindow* element, BOOL checked)
{
    SEventSet* events = element->GetEventSet();
    const BOOL wasMuted = events->IsMuted();
    events->SetMuted(TRUE);
    element->SetCheck(checked);
    events->SetMuted(wasMuted);
}

}  // namespace

SBoxButton::SBoxButton(int skinIndex, int focusSkinIndex, bool muteWhileLoading)
    : m_pSkin(BuiltinSkin(skinIndex)), m_pFocusSkin(BuiltinSkin(focusSkinIndex)), m_bMuteWhileLoading(muteWhileLoading)
{
    m_style.SetAttribute(L"align", L"left", TRUE);
    m_dwFlags |= kFlagFocusable;
}

HRESULT SBoxButton::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SBoxButton, ISkinObj*> skins[] = {
        {L"skin", &SBoxButton::m_pSkin, S_FALSE},
        {L"focusSkin", &SBoxButton::m_pFocusSkin, S_FALSE},
    };
    HRESULT hr;
    if (SetSkinAttr(this, skins, name, value, hr)) return AfterSetAttribute(name, value, hr);
    if (_wcsicmp(name, L"checked") == 0) return AfterSetAttribute(name, value, OnAttrChecked(value, loading));
    return SWindow::SetAttribute(name, value, loading);
}

// A value that leaves the box as it is changes nothing and tells no one.
HRESULT SBoxButton::OnAttrChecked(const SStringW& value, BOOL loading)
{
    const BOOL checked = value != L"0";
    if (checked == IsChecked()) return S_FALSE;
    if (loading && m_bMuteWhileLoading) SetCheckQuietly(this, checked);
    else SetCheck(checked);
    return S_FALSE;
}

RECT SBoxButton::GetBoxRect() const
{
    const RECT client = GetClientRect();
    const SIZE box = SkinSize(m_pSkin);
    RECT rc = {client.left, client.top, client.left + box.cx, client.top + box.cy};
    ::OffsetRect(&rc, 0, (client.bottom - client.top - box.cy) / 2);
    return rc;
}

DWORD SBoxButton::GetBoxState() const
{
    DWORD state = 0;
    if (m_dwState & WndState_Disable) state = 3;
    else if (m_dwState & WndState_PushDown) state = 2;
    else if (m_dwState & WndState_Hover) state = 1;
    return IsChecked() ? state + kCheckedStates : state;
}

void SBoxButton::OnBoxPaint(IRenderTarget* rt)
{
    if (!rt) return;
    if (m_pSkin) {
        const RECT box = GetBoxRect();
        m_pSkin->Draw(rt, &box, GetBoxState());
    }
    OnPaint(rt);
}

void SBoxButton::GetTextRect(RECT& rc) const
{
    rc = GetClientRect();
    rc.left += SkinSize(m_pSkin).cx + kBoxGap;
}

void SBoxButton::DrawFocus(IRenderTarget* rt)
{
    if (!m_pFocusSkin) {
        SWindow::DrawFocus(rt);
        return;
    }
    const RECT box = GetBoxRect();
    m_pFocusSkin->Draw(rt, &box, 0);
}

SIZE SBoxButton::MeasureContent(const RECT* limit)
{
    SIZE size = SWindow::MeasureContent(limit);
    const SIZE box = SkinSize(m_pSkin);
    size.cx += box.cx + kBoxGap;
    size.cy = std::max(size.cy, box.cy);
    return size;
}

void SBoxButton::SetColorizeColor(COLORREF color)
{
    SWindow::SetColorizeColor(color);
    ColorizeSkin(m_pSkin, color);
    ColorizeSkin(m_pFocusSkin, color);
}

SCheckBox::SCheckBox() : SBoxButton(kSkinSysCheckbox, kSkinSysFocusCheckbox, false) {}

// A change handler may destroy the box: the click ends with it (and so Space).
void SCheckBox::OnCheckButtonUp(UINT flags, POINT pt)
{
    const RECT rc = GetPlacedRect();
    if ((m_dwState & WndState_PushDown) && ::PtInRect(&rc, pt)) Toggle();
    if (!IsDestroyed()) SWindow::OnLButtonUp(flags, pt);
}

// Space toggles once per press: the repeats of a held key do not.
LRESULT SCheckBox::OnCheckKeyDown(UINT, WPARAM key, LPARAM lParam)
{
    if (key != VK_SPACE) {
        SetMsgHandled(FALSE);
        return 0;
    }
    const bool repeat = (lParam & (1 << 30)) != 0;
    if (repeat) return 0;
    Toggle();
    if (!IsDestroyed()) FireCommand();
    return 0;
}

SRadioBox::SRadioBox() : SBoxButton(kSkinSysRadio, kSkinSysFocusRadio, true) {}

SWindow* SRadioBox::GetCheckedSiblingInGroup()
{
    if (!m_pParent) return IsChecked() ? this : nullptr;
    for (SWindow* s = m_pParent->GetWindow(GSW_FIRSTCHILD); s; s = s->GetWindow(GSW_NEXTSIBLING))
        if (s->IsClass(GetClassNameStatic()) && s->IsChecked()) return s;
    return nullptr;
}

void SRadioBox::OnStateChanging(DWORD oldState, DWORD newState)
{
    SBoxButton::OnStateChanging(oldState, newState);
    if ((oldState & WndState_Check) || !(newState & WndState_Check)) return;
    SAutoRefPtr<SWindow> checked(GetCheckedSiblingInGroup());
    if (checked && checked != this) SetCheckQuietly(checked, FALSE);
}

void SRadioBox::OnRadioButtonUp(UINT flags, POINT pt)
{
    SWindow::OnLButtonUp(flags, pt);
    if (!IsChecked() && !IsDestroyed()) SetCheck(TRUE);
}

// The focus moving onto a radio box (a click, Tab or an arrow key within the
// group) checks it.
void SRadioBox::OnRadioSetFocus()
{
    if (!IsChecked()) SetCheck(TRUE);
    InvalidateRect(nullptr);
}

}  // namespace WUI
