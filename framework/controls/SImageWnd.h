// An image ("img"): a bitmap stretched over the element, or one state of a
// skin.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SImageWnd : public SWindow {
    WUI_SWINDOW_CLASS(SImageWnd, SWindow, L"img")
public:
    // Transparent to the mouse.
    SImageWnd();
    // Releases an owned skin and the image.
    ~SImageWnd() override;

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The image's size, else the skin's, else nothing.
    SIZE MeasureContent(const RECT* limit) override;
    void SetColorizeColor(COLORREF color) override;

    // Shows state iconIndex of the skin; with autoFree the element takes a
    // reference it releases when the skin is replaced or the element goes.
    // A skin the element owned is released first. A null skin returns 0
    // (the element then keeps a skin it did not own); else 1.
    BOOL SetSkin(ISkinObj* skin, int iconIndex = 0, BOOL autoFree = TRUE);
    ISkinObj* GetSkin() const { return m_pSkin; }
    // Shows the bitmap (the element adds a reference; null removes it) with
    // the filter level in the high word of the drawing mode.
    void SetImage(IBitmap* image, int filter = 0);
    IBitmap* GetImage() const { return m_image; }
    // 0 (nothing changed) without a skin or for an index outside its states.
    BOOL SetIconIndex(int index);
    int GetIconIndex() const { return m_nIconIndex; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnImagePaint)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    void OnImagePaint(IRenderTarget* rt);
    // Releases and forgets the skin when the element owns it.
    void DropOwnedSkin();
    // A parent relays out an element sized by its picture.
    void RelayoutForContent();

    int m_bOwnsSkin = 0;
    int m_nIconIndex = 0;
    ISkinObj* m_pSkin = nullptr;
    SAutoRefPtr<IBitmap> m_image;
    int m_nFilter = 0;
};

}  // namespace WUI
