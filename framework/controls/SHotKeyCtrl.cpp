#include "controls/SHotKeyCtrl.h"

#include "core/AttrParse.h"
#include "core/CAccelerator.h"
#include "core/SApplication.h"

namespace WUI {

namespace {

// Class of each modifier set (Alt 1, Ctrl 2, Shift 4).
const WORD kClassOfModifiers[8] = {
    kHkNone, kHkAlt, kHkCtrl, kHkCtrlAlt, kHkShift, kHkShiftAlt, kHkShiftCtrl, kHkShiftCtrlAlt,
};

bool IsModifierKey(WPARAM vk)
{
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU;
}

}  // namespace

SHotKeyCtrl::SHotKeyCtrl() : m_accel(0u)
{
    m_dwFlags |= kFlagFocusable;
}

void SHotKeyCtrl::SetHotKey(WORD key, WORD modifiers)
{
    m_accel = CAccelerator(MAKELONG(key, modifiers));
    ShowChange();
}

void SHotKeyCtrl::GetHotKey(WORD& key, WORD& modifiers) const
{
    key = m_accel.GetKey();
    modifiers = m_accel.GetModifier();
}

void SHotKeyCtrl::SetRule(WORD invalidComb, WORD defModifiers)
{
    m_wInvalidComb = invalidComb;
    m_wDefModifiers = defModifiers;
}

WORD SHotKeyCtrl::HeldClass(WORD& modifiers)
{
    modifiers = static_cast<WORD>((KeyHeld(VK_MENU) ? kAccelAlt : 0) | (KeyHeld(VK_CONTROL) ? kAccelCtrl : 0) |
                                  (KeyHeld(VK_SHIFT) ? kAccelShift : 0));
    return kClassOfModifiers[modifiers];
}

// Each value is 16 bits; anything else is a bad value and changes nothing.
HRESULT SHotKeyCtrl::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    WORD key = m_accel.GetKey();
    WORD modifiers = m_accel.GetModifier();
    WORD* field = nullptr;
    HRESULT result = S_FALSE;
    if (_wcsicmp(name, L"invalidComb") == 0) field = &m_wInvalidComb;
    else if (_wcsicmp(name, L"defCombKey") == 0) field = &m_wDefModifiers;
    else if (_wcsicmp(name, L"combKey") == 0) field = &modifiers, result = S_OK;
    else if (_wcsicmp(name, L"hotKey") == 0) field = &key, result = S_OK;
    else return SWindow::SetAttribute(name, value, loading);
    int n = 0;
    if (!AttrParseInt(value, n, true, 0, 0xFFFF)) return AfterSetAttribute(name, value, E_FAIL);
    *field = static_cast<WORD>(n);
    m_accel = CAccelerator(MAKELONG(key, modifiers));
    return AfterSetAttribute(name, value, result);
}

int SHotKeyCtrl::OnHotKeyCreate(LPVOID createParam)
{
    const int refused = OnCreate(createParam);
    if (refused) return refused;
    SAutoRefPtr<IRenderTarget> rt = SApplication::NewMeasureTarget();
    if (!rt) return 0;
    ApplyTextStyleChain(rt);
    IRenderObj* font = rt->GetCurrentObject(OT_FONT);
    if (font && font->ObjectType() == OT_FONT) m_font = static_cast<IFont*>(font);
    return 0;
}

void SHotKeyCtrl::OnHotKeyPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    RECT rc;
    GetTextRect(rc);
    const SStringW text = m_accel.FormatHotkey();
    DrawText(rt, text, text.GetLength(), &rc, DT_SINGLELINE | DT_VCENTER);
    AfterPaint(rt, saved);
}

SIZE SHotKeyCtrl::MeasureWithFont(const SStringW& text) const
{
    SIZE size = {0, 0};
    SAutoRefPtr<IRenderTarget> rt = SApplication::NewMeasureTarget();
    if (!rt) return size;
    if (m_font) rt->SelectObject(m_font, nullptr);
    rt->MeasureText(text, text.GetLength(), &size);
    return size;
}

void SHotKeyCtrl::MoveCaret()
{
    RECT rc;
    GetTextRect(rc);
    const SIZE text = MeasureWithFont(m_accel.FormatHotkey());
    SetCaretPos(rc.left + text.cx, rc.top + (rc.bottom - rc.top - text.cy) / 2);
}

// Only the focused field owns the host's caret.
void SHotKeyCtrl::ShowChange()
{
    if (IsFocused()) MoveCaret();
    Invalidate();
}

void SHotKeyCtrl::OnHotKeySetFocus()
{
    CreateCaret(nullptr, 1, MeasureWithFont(L"A").cy);
    MoveCaret();
    ShowCaret(TRUE);
    OnSetFocus();
}

void SHotKeyCtrl::OnHotKeyKillFocus()
{
    ShowCaret(FALSE);
    OnKillFocus();
}

void SHotKeyCtrl::OnHotKeyLButtonDown(UINT flags, POINT pt)
{
    OnLButtonDown(flags, pt);
    SetFocus();
}

void SHotKeyCtrl::UpdateModifiers()
{
    WORD modifiers = 0;
    if (HeldClass(modifiers) & m_wInvalidComb) modifiers = m_wDefModifiers;
    m_accel = CAccelerator(MAKELONG(m_accel.GetKey(), modifiers));
}

// A system key (F10, or anything while Alt is up) is left to the default handling.
LRESULT SHotKeyCtrl::OnHotKeyKeyDown(UINT msg, WPARAM vk, LPARAM)
{
    if (msg == WM_SYSKEYDOWN && !KeyHeld(VK_MENU)) {
        SetMsgHandled(FALSE);
        return 0;
    }
    if (!m_bInEntry) {
        m_bInEntry = TRUE;
        m_accel = CAccelerator(MAKELONG(0, m_wDefModifiers));
    }
    const WORD key = static_cast<WORD>(vk);
    if (!CAccelerator::GetKeyName(key).IsEmpty()) m_accel = CAccelerator(MAKELONG(key, m_accel.GetModifier()));
    UpdateModifiers();
    ShowChange();
    return 0;
}

// Letting go of the entered key ends the entry with the combination kept;
// letting go of every modifier with no key entered ends it as well.
LRESULT SHotKeyCtrl::OnHotKeyKeyUp(UINT msg, WPARAM vk, LPARAM)
{
    if (msg == WM_SYSKEYUP && vk != VK_MENU && !KeyHeld(VK_MENU)) {
        SetMsgHandled(FALSE);
        return 0;
    }
    if (!m_bInEntry) return 0;
    if (vk == m_accel.GetKey()) {
        m_bInEntry = FALSE;
        return 0;
    }
    WORD held = 0;
    HeldClass(held);
    if (m_accel.GetKey() == 0 && held == 0) {
        m_bInEntry = FALSE;
        UpdateModifiers();
        ShowChange();
    } else if (IsModifierKey(vk)) {
        UpdateModifiers();
        ShowChange();
    }
    return 0;
}

}  // namespace WUI
