// The area of a skinned window by which the user drags the window, and
// double-clicks it to maximise or restore it.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SCaption : public SWindow {
    WUI_SWINDOW_CLASS(SCaption, SWindow, L"caption")
public:
    BOOL ProcessSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Set while the button went down on a maximised window.
    BOOL IsMaxDown() const { return m_bIsMaxDown; }

private:
    void OnLButtonDown();
    void OnLButtonDblClk();
    void OnMouseMove();
    HWND Host() const;

    BOOL m_bIsMaxDown = FALSE;
};

}  // namespace WUI
