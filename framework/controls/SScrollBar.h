// "scrollbar": a stand-alone scroll bar. It reports what the user does with
// EventScroll and moves only while its thumb is dragged; handlers set the
// position for arrows and rail clicks (SetPos or SBM_SETSCROLLINFO).
#pragma once

#include "controls/SScrollBarParts.h"
#include "core/SWindow.h"
#include "render/SSkinScrollbar.h"

namespace WUI {

class SScrollBar : public SWindow {
    WUI_SWINDOW_CLASS(SScrollBar, SWindow, L"scrollbar")
public:
    // Vertical, range 0..0, drawn with the built-in scroll-bar skin when
    // there is one (without a skin it draws nothing).
    SScrollBar();

    // Holds pos in the range and repaints the thumb; the new position.
    // While a drag runs the thumb stays under the mouse.
    int SetPos(int pos);
    int GetPos() const { return m_si.nPos; }
    BOOL IsVertical() const { return m_bVertical; }
    const SCROLLINFO& GetScrollInfo() const { return m_si; }
    // "arrowSize", else the skin's cell; 0 when the skin has no arrows.
    int GetArrowSize() const;
    SbParts GetParts() const;

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnBarPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnBarLButtonDown)
        WUI_MSG_MOUSE(WM_LBUTTONDBLCLK, OnBarLButtonDown)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnBarMouseMove)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnBarLButtonUp)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnBarMouseLeave)
        WUI_MSG_HANDLER(WM_TIMER, OnBarTimer)
        WUI_MSG_HANDLER(SBM_SETSCROLLINFO, OnSetScrollInfo)
        WUI_MSG_HANDLER(SBM_GETSCROLLINFO, OnGetScrollInfo)
    WUI_SWND_MSG_MAP_END(SWindow)

protected:
    void OnBarPaint(IRenderTarget* rt);
    void OnBarLButtonDown(UINT flags, POINT pt);
    void OnBarMouseMove(UINT flags, POINT pt);
    void OnBarLButtonUp(UINT flags, POINT pt);
    void OnBarMouseLeave();
    LRESULT OnBarTimer(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetScrollInfo(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnGetScrollInfo(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    SbLook Look() const;
    RECT ThumbRect(const SbParts& parts) const;
    // Repaints the area of the bar at once.
    void RedrawArea(const RECT& area);
    void FireScroll(int code);
    HRESULT OnAttrSkin(const SStringW& value, BOOL loading);

    SAutoRefPtr<SSkinScrollbar> m_skin;
    int m_nArrowSize = -1;
    SCROLLINFO m_si;
    SbDrag m_drag;
    int m_nClickPart = kSbPartNone;  // the part held down
    int m_nHoverPart = kSbPartNone;
    POINT m_ptLast = {-1, -1};  // the mouse's last point
    BOOL m_bVertical = TRUE;
};

}  // namespace WUI
