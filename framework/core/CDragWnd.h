// A top-most, click-through popup showing a drag image that follows the
// mouse. At most one exists at a time.
#pragma once

#include "core/CSimpleWnd.h"

namespace WUI {

class CDragWnd : public CSimpleWnd {
public:
    // Shows nothing yet: the first DragMove does. A 32-bit bitmap is shown
    // with its own alpha times `alpha` (it may be freed after the call); any
    // other is painted by the window through the layered flags (colour key,
    // constant alpha) and must live until EndDrag. False (no window left)
    // when a drag window exists already, the bitmap is unusable (none, or
    // selected into another DC), or the window cannot be made or shown.
    static BOOL BeginDrag(HBITMAP bitmap, int hotX, int hotY, COLORREF colorKey, BYTE alpha, DWORD layeredFlags);
    // Moves the window, top-most, so that its hot spot lies at the screen point.
    static void DragMove(int x, int y);
    // Destroys the drag window; nothing when there is none.
    static void EndDrag();
    // The drag window, or null.
    static CDragWnd* GetCurrent() { return s_current; }

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

private:
    CDragWnd() = default;
    // Makes the window layered and gives it the image; false when it cannot.
    BOOL ShowImage(HBITMAP bitmap, const BITMAP& info, COLORREF colorKey, BYTE alpha, DWORD layeredFlags);
    void OnPaint();

    int m_hotX = 0;
    int m_hotY = 0;
    HBITMAP m_bitmap = nullptr;  // painted when the image is not 32-bit; not owned
    static CDragWnd* s_current;
};

}  // namespace WUI
