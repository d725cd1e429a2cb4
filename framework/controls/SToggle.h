// A toggle ("toggle"): a two-way switch drawn by a skin of six states
// (normal, hover, pushed; then the same toggled), flipped by a click.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SToggle : public SWindow {
    WUI_SWINDOW_CLASS(SToggle, SWindow, L"toggle")
public:
    // The built-in toggle skin.
    SToggle();

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The skin's size; nothing without a skin.
    SIZE MeasureContent(const RECT* limit) override;
    BOOL RedrawsOnStateChange() const override { return TRUE; }
    void SetColorizeColor(COLORREF color) override;

    void SetToggle(BOOL toggled, BOOL redraw = TRUE);
    BOOL GetToggle() const { return m_bToggled; }
    ISkinObj* GetSkin() const { return m_pSkin; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnTogglePaint)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnToggleButtonUp)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    void OnTogglePaint(IRenderTarget* rt);
    void OnToggleButtonUp(UINT flags, POINT pt);

    int m_bToggled = 0;
    ISkinObj* m_pSkin;
};

}  // namespace WUI
