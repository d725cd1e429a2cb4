// A hot-key field ("hotkey"): the user types a key combination (modifiers
// plus one named key) and sees it as text with a caret after it. A rule
// replaces forbidden modifier combinations by a default one.
#pragma once

#include "core/CAccelerator.h"
#include "core/SWindow.h"
#include "render/IRenderObj.h"

namespace WUI {

// Classes of held modifier keys, the bits of the invalid-combination mask.
enum : WORD {
    kHkNone = 0x01,
    kHkShift = 0x02,
    kHkCtrl = 0x04,
    kHkAlt = 0x08,
    kHkShiftCtrl = 0x10,
    kHkShiftAlt = 0x20,
    kHkCtrlAlt = 0x40,
    kHkShiftCtrlAlt = 0x80,
};

class SHotKeyCtrl : public SWindow {
    WUI_SWINDOW_CLASS(SHotKeyCtrl, SWindow, L"hotkey")
public:
    // Focusable; no key, no modifiers; a combination without modifiers is invalid.
    SHotKeyCtrl();

    // Stores the combination and repaints; the caret follows while the field
    // has the focus. Works before the field is created.
    void SetHotKey(WORD key, WORD modifiers);
    void GetHotKey(WORD& key, WORD& modifiers) const;
    // Combinations of a class in invalidComb (kHk* bits) take defModifiers instead.
    void SetRule(WORD invalidComb, WORD defModifiers);
    // The shown text: modifier prefix and key name, "无" for nothing.
    SStringW GetHotKeyText() const { return m_accel.FormatHotkey(); }
    // Whether a combination is being typed.
    BOOL IsInEntry() const { return m_bInEntry; }

    // The class and modifiers of the modifier keys held now (GetKeyState).
    static WORD HeldClass(WORD& modifiers);

    UINT GetDlgCode() const override { return 0x8000FFFD; }
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_WM_CREATE(OnHotKeyCreate)
        WUI_MSG_RT_DO(WM_PAINT, OnHotKeyPaint)
        WUI_MSG_WM_SETFOCUS(OnHotKeySetFocus)
        WUI_MSG_WM_KILLFOCUS(OnHotKeyKillFocus)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnHotKeyLButtonDown)
        WUI_MSG_HANDLER(WM_KEYDOWN, OnHotKeyKeyDown)
        WUI_MSG_HANDLER(WM_SYSKEYDOWN, OnHotKeyKeyDown)
        WUI_MSG_HANDLER(WM_KEYUP, OnHotKeyKeyUp)
        WUI_MSG_HANDLER(WM_SYSKEYUP, OnHotKeyKeyUp)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    // Keeps the font the style chain selects, for the caret.
    int OnHotKeyCreate(LPVOID createParam);
    void OnHotKeyPaint(IRenderTarget* rt);
    void OnHotKeySetFocus();
    void OnHotKeyKillFocus();
    void OnHotKeyLButtonDown(UINT flags, POINT pt);
    LRESULT OnHotKeyKeyDown(UINT msg, WPARAM vk, LPARAM);
    LRESULT OnHotKeyKeyUp(UINT msg, WPARAM vk, LPARAM);
    // The held modifiers, or the default ones when their class is invalid.
    void UpdateModifiers();
    // Caret after the text, repaint.
    void ShowChange();
    // Size of the text in the field's font; {0, 0} without one.
    SIZE MeasureWithFont(const SStringW& text) const;
    void MoveCaret();

    CAccelerator m_accel;
    WORD m_wInvalidComb = kHkNone;
    WORD m_wDefModifiers = 0;
    BOOL m_bInEntry = FALSE;
    SAutoRefPtr<IFont> m_font;
};

}  // namespace WUI
