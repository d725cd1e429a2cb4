// The short-lived element that plays a tab control's change of page: both
// pages are painted side by side (one above the other for tabs on the left
// or right) into an image twice the page area, and each animation tick moves
// the view over it by one step, until the new page is in place.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class STabCtrl;

class STabSlider : public SWindow, public ITimelineHandler {
    WUI_SWINDOW_CLASS(STabSlider, SWindow, L"tabslider")
public:
    // Becomes the last child of tab over its page area, the tab control
    // holding the creation reference; steps must be positive. Nothing of
    // the pages changes yet: Start plays the slide.
    STabSlider(STabCtrl* tab, int oldIndex, int newIndex, int steps);
    // Paints the old page and the new one and starts ticking; the new page
    // is left hidden until the slide ends. The pages' visibility handlers
    // run meanwhile: when one of them ends the slide, takes the slider out
    // or destroys the control, the rest is not done. The caller holds a
    // reference across the call.
    void Start();

    // Tick n (1-based) moves the view n steps; tick steps + 1 ends the slide
    // (the tab control then destroys this element).
    void OnNextFrame() override;

    POINT GetOffset() const { return POINT{m_nXOffset, m_nYOffset}; }
    int GetTicks() const { return m_nTicks; }
    BOOL IsVertical() const { return m_bVertical; }
    // False when the container took no timeline handler: nothing would end the slide.
    BOOL IsTicking() const { return m_bRegistered; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnSliderPaint)
        WUI_MSG_RT(WM_ERASEBKGND, OnSliderErase)
        WUI_MSG_WM_SIZE(OnSliderSize)
        WUI_MSG_WM_DESTROY(OnSliderDestroy)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    void OnSliderPaint(IRenderTarget* rt);
    LRESULT OnSliderErase(IRenderTarget*) { return 1; }
    void OnSliderSize(UINT type, SIZE size);
    void OnSliderDestroy();
    // Paints what lies beneath the slider with the page area shifted to
    // (dx, dy) of the image.
    void PaintPageInto(int dx, int dy);
    // The control this slider plays for; null once it left it.
    STabCtrl* Tab() const;
    void Finish();

    SAutoRefPtr<IRenderTarget> m_memRT;
    int m_nXOffset = 0;
    int m_nYOffset = 0;
    int m_nStep = 0;
    int m_nSteps = 0;
    int m_nTicks = 0;
    BOOL m_bVertical = FALSE;
    BOOL m_bRegistered = FALSE;  // the set-up is over and ticks arrive
    int m_nOldIndex;
    int m_nNewIndex;
    STabCtrl* m_pTabCtrl;
};

}  // namespace WUI
