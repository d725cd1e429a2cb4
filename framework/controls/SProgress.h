// A progress bar ("progress"): a background skin with a bar skin over the
// part of value between min and max, horizontal or vertical, with an
// optional percentage on a horizontal bar.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SProgress : public SWindow {
    WUI_SWINDOW_CLASS(SProgress, SWindow, L"progress")
public:
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The background skin's size with the margins; the long axis takes the
    // layout's fixed size when it has one.
    SIZE MeasureContent(const RECT* limit) override;
    void SetColorizeColor(COLORREF color) override;

    // Stores both and pulls the value into the range (first under max, then
    // over min); repaints.
    void SetRange(int minValue, int maxValue);
    // Either pointer may be null.
    void GetRange(int* minValue, int* maxValue) const;
    // Stores the value pulled into the range; repaints; 1.
    BOOL SetValue(int value);
    int GetValue() const { return m_nValue; }
    BOOL IsVertical() const { return m_bVertical != 0; }
    ISkinObj* GetBkgndSkin() const { return m_pSkinBg; }
    ISkinObj* GetPosSkin() const { return m_pSkinPos; }

    // The bar within the client rect: the share of value - min in max - min
    // (value pulled into the range), products taken in 64 bits. Empty when
    // max <= min or value <= min.
    RECT GetBarRect() const;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_WM_CREATE(OnProgressCreate)
        WUI_MSG_RT_DO(WM_PAINT, OnProgressPaint)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    // Missing skins take the built-in ones for the bar's direction; refused
    // when a skin is still missing.
    int OnProgressCreate(LPVOID createParam);
    void OnProgressPaint(IRenderTarget* rt);
    // The part of scale that value - min is of max - min, value pulled into
    // the range; -1 when the range is empty.
    int Share(int scale) const;

    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    int m_bShowPercent = 0;
    int m_bVertical = 0;
    ISkinObj* m_pSkinBg = nullptr;
    ISkinObj* m_pSkinPos = nullptr;
};

}  // namespace WUI
