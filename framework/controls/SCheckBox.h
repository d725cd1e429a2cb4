// Check box ("check") and radio box ("radio"): a state image at the left of
// the element with the text beside it. A check box toggles on a click or
// Space; radio boxes under one parent form a group in which checking one
// unchecks the other.
#pragma once

#include "core/SWindow.h"

namespace WUI {

// What the two share: the box, its skins and the "checked" attribute. It has
// no tag of its own.
class SBoxButton : public SWindow {
public:
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The text's size, widened by the box and a gap, at least the box's height.
    SIZE MeasureContent(const RECT* limit) override;
    BOOL RedrawsOnStateChange() const override { return TRUE; }
    // The client rect right of the box and its gap.
    void GetTextRect(RECT& rc) const override;
    // The focus skin over the box; without one, the dotted rectangle.
    void DrawFocus(IRenderTarget* rt) override;
    void SetColorizeColor(COLORREF color) override;

    ISkinObj* GetSkin() const { return m_pSkin; }
    ISkinObj* GetFocusSkin() const { return m_pFocusSkin; }
    // The box: the skin's size at the client rect's left, centred vertically.
    RECT GetBoxRect() const;
    // The skin state: 0 normal, 1 hover, 2 pushed, 3 disabled; 4 more when checked.
    DWORD GetBoxState() const;

protected:
    // Skins are built-in indexes; aligned left, focusable.
    SBoxButton(int skinIndex, int focusSkinIndex, bool muteWhileLoading);
    void OnBoxPaint(IRenderTarget* rt);

    ISkinObj* m_pSkin = nullptr;
    ISkinObj* m_pFocusSkin = nullptr;

private:
    // Any value but "0" checks. Muted boxes tell no one of a change the layout made.
    HRESULT OnAttrChecked(const SStringW& value, BOOL loading);

    bool m_bMuteWhileLoading;
};

class SCheckBox : public SBoxButton {
    WUI_SWINDOW_CLASS(SCheckBox, SBoxButton, L"check")
public:
    SCheckBox();
    UINT GetDlgCode() const override { return kDlgCodeButton; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnBoxPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDown)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnCheckButtonUp)
        WUI_MSG_HANDLER(WM_KEYDOWN, OnCheckKeyDown)
    WUI_SWND_MSG_MAP_END(SBoxButton)

private:
    enum { kDlgCodeButton = 8 };
    void OnCheckButtonUp(UINT flags, POINT pt);
    LRESULT OnCheckKeyDown(UINT msg, WPARAM key, LPARAM lParam);
    void Toggle() { SetCheck(!IsChecked()); }
};

class SRadioBox : public SBoxButton {
    WUI_SWINDOW_CLASS(SRadioBox, SBoxButton, L"radio")
public:
    SRadioBox();
    BOOL JoinsSiblingGroup() const override { return TRUE; }
    // The first checked radio box among the parent's children; without a
    // parent, this one when checked. Null when none is.
    SWindow* GetCheckedSiblingInGroup() override;
    // Becoming checked unchecks the group's checked member, which tells no one.
    void OnStateChanging(DWORD oldState, DWORD newState) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnBoxPaint)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnRadioButtonUp)
        WUI_MSG_VOID(WM_SETFOCUS, OnRadioSetFocus)
    WUI_SWND_MSG_MAP_END(SBoxButton)

private:
    void OnRadioButtonUp(UINT flags, POINT pt);
    void OnRadioSetFocus();
};

}  // namespace WUI
