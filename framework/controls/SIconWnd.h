// An icon ("icon") drawn over the element's client rectangle.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SIconWnd : public SWindow {
    WUI_SWINDOW_CLASS(SIconWnd, SWindow, L"icon")
public:
    // Destroys the icon it holds.
    ~SIconWnd() override;

    // "src": the icon of that resource name, or name, a colon and a size;
    // a name that loads nothing leaves no icon.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Twice the icon's hot spot (its size, for icons); nothing without an icon.
    SIZE MeasureContent(const RECT* limit) override;

    // Takes ownership of the icon (null removes it), destroying the one before.
    void SetIcon(HICON icon);
    HICON GetIcon() const { return m_hIcon; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnIconPaint)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    void OnIconPaint(IRenderTarget* rt);

    HICON m_hIcon = nullptr;
};

}  // namespace WUI
