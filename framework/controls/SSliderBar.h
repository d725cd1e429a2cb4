// A slider ("sliderbar"): a progress bar with a thumb the user drags, or
// moves by clicking the rail; every change of the value fires
// "on_slider_pos".
#pragma once

#include "controls/SProgress.h"

namespace WUI {

// The value the user moved the slider to.
class EventSliderPos : public TplEventArgs<EventSliderPos> {
public:
    EventSliderPos(SWindow* sender, int pos) : TplEventArgs<EventSliderPos>(sender), nPos(pos) {}
    int nPos;
};

class SSliderBar : public SProgress {
    WUI_SWINDOW_CLASS(SSliderBar, SProgress, L"sliderbar")
public:
    // The parts of a slider, for geometry and hit tests.
    enum Part { kPartNone = -1, kPartRail = 0, kPartFilled = 1, kPartThumb = 2, kPartBkgnd = 3 };

    SSliderBar();

    // The part's rectangle within the client rect. A range with max <= min
    // puts the thumb at the start and leaves the filled part empty; an
    // unknown part gives an empty rectangle.
    RECT GetPartRect(int part) const;
    // The thumb, then the filled part, then the rail; kPartNone elsewhere.
    int HitTestPart(POINT pt) const;
    // The thumb's length along the axis and its thickness across it: the
    // thumb skin's size; without a thumb skin, a square as thick as the
    // client, drawn with the position skin.
    SIZE GetThumbSize() const;
    BOOL IsDragging() const { return m_bDrag; }
    int GetHoverPart() const { return m_nHoverPart; }
    ISkinObj* GetThumbSkin() const { return m_pSkinThumb; }

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Along the axis 100; across it the thicker of the thumb and background skins.
    SIZE MeasureContent(const RECT* limit) override;
    void SetColorizeColor(COLORREF color) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_WM_CREATE(OnSliderCreate)
        WUI_MSG_RT_DO(WM_PAINT, OnSliderPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnSliderLButtonDown)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnSliderLButtonUp)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnSliderMouseMove)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnSliderMouseLeave)
    WUI_SWND_MSG_MAP_END(SProgress)

private:
    // Takes the built-in thumb when none was named, then lets the progress bar create.
    int OnSliderCreate(LPVOID createParam);
    void OnSliderPaint(IRenderTarget* rt);
    void OnSliderLButtonDown(UINT flags, POINT pt);
    void OnSliderLButtonUp(UINT flags, POINT pt);
    void OnSliderMouseMove(UINT flags, POINT pt);
    void OnSliderMouseLeave();

    // Along the axis; 0 or less when the client is no longer than the thumb.
    int RailLength() const;
    // The value `offset` pixels of rail away from `from`, in 64 bits and
    // clamped to the range; `from` unchanged when the rail has no length.
    int ValueAt(int from, int offset) const;
    // Sets the value; when it changed, repaints and fires EventSliderPos.
    // False when a handler destroyed the slider.
    bool MoveTo(int value, bool always);
    int AxisOf(POINT pt) const { return IsVertical() ? pt.y : pt.x; }

    BOOL m_bDrag = FALSE;
    POINT m_ptDrag = {0, 0};
    int m_nDragValue = 0;
    int m_nHoverPart = kPartNone;
    ISkinObj* m_pSkinThumb = nullptr;  // owned by the skin pool
    int m_bThumbInRail = 0;
};

}  // namespace WUI
