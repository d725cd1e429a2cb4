// "div": an element with built-in scroll bars drawn in its non-client area,
// the base of the rich edit, the list box and the item views. The bars only
// keep and show positions; what scrolls is up to the class deriving from it.
#pragma once

#include "controls/SScrollBarParts.h"
#include "core/SWindow.h"
#include "render/SSkinScrollbar.h"

namespace WUI {

// Bar masks of ShowScrollBar, EnableScrollBar and "sbEnable".
enum { SSB_NULL = 0, SSB_HORZ = 1, SSB_VERT = 2, SSB_BOTH = 3 };

class SPanel : public SWindow {
    WUI_SWINDOW_CLASS(SPanel, SWindow, L"div")
public:
    // Bars hidden, both enabled, drawn with the built-in scroll-bar skin when
    // there is one (without a skin the bars take no room and draw nothing).
    SPanel();

    // ---- the bars ----
    // Shows or hides the bars of the mask; the client area follows.
    void ShowScrollBar(int mask, BOOL show);
    // A disabled bar is drawn disabled and ignores the mouse.
    void EnableScrollBar(int mask, BOOL enable);
    BOOL IsScrollBarEnable(BOOL vertical) const;
    BOOL HasScrollBar(BOOL vertical) const;
    // Copies the fields the info's mask names; then the position is held in
    // the range, or is 0 while the bar's page is 0.
    void SetScrollInfo(const SCROLLINFO& info, BOOL vertical);
    const SCROLLINFO& GetScrollInfo(BOOL vertical) const { return vertical ? m_siVer : m_siHoz; }
    // Holds pos in the range, stores it (repainting the bar when asked) and
    // tells OnScroll (SB_THUMBPOSITION). Always TRUE.
    BOOL SetScrollPos(BOOL vertical, int pos, BOOL redraw);
    int GetScrollPos(BOOL vertical) const { return GetScrollInfo(vertical).nPos; }
    // Stores the range and holds the position in it. Always TRUE.
    BOOL SetScrollRange(BOOL vertical, int minPos, int maxPos, BOOL redraw);
    // Either out pointer may be null.
    BOOL GetScrollRange(BOOL vertical, int* minPos, int* maxPos) const;
    // Paints what the host has pending, at most once per "updateInterval" ms.
    void ThrottledUpdate();
    // Pixels of one line step ("scrollSpeed").
    virtual int GetScrollLineSize(BOOL vertical);
    // Moves the bar for scroll code `code` (SB_*; `pos` for SB_THUMBPOSITION
    // and SB_THUMBTRACK), holding the result in the range (0 while the page
    // is 0), repaints the bar at once and invalidates the element. TRUE.
    virtual BOOL OnScroll(BOOL vertical, UINT code, int pos);

    // Thickness of the bars: "sbWid", else the skin's; 0 without a skin.
    int GetSbWidth() const;
    // Length of the arrows: "sbArrowSize", else the bar width; 0 when the
    // skin has no arrows.
    int GetSbArrowSize() const;
    SSkinScrollbar* GetSbSkin() const { return m_sbSkin; }
    // Where the bar lies; empty while it is hidden.
    RECT GetScrollBarRect(BOOL vertical) const;
    SbParts GetScrollBarParts(BOOL vertical) const;

    // The client area less the shown bars.
    RECT GetClientRect() const override;
    void ComputeClientRect(RECT& rc) const override;
    // Colourises the bar skin too.
    void SetColorizeColor(COLORREF color) override;
    // True while the thumb is dragged, so every move reaches the bars.
    BOOL HitNonClient(POINT pt) override;

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_HANDLER(WM_NCCALCSIZE, OnNcCalcSize)
        WUI_MSG_RT_DO(WM_NCPAINT, OnPanelNcPaint)
        WUI_MSG_MOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
        WUI_MSG_MOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDown)
        WUI_MSG_MOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
        WUI_MSG_MOUSE(WM_NCLBUTTONUP, OnNcLButtonUp)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnPanelLButtonUp)
        WUI_MSG_VOID(WM_NCMOUSELEAVE, OnNcMouseLeave)
        WUI_MSG_MOUSE(WM_MOUSEHOVER, OnPanelMouseHover)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnPanelMouseLeave)
        WUI_MSG_HANDLER(WM_TIMER, OnPanelTimer)
        WUI_MSG_WM_SHOWWINDOW(OnPanelShowWindow)
        WUI_MSG_WM_ENABLE(OnPanelEnable)
        WUI_MSG_HANDLER(WM_MOUSEWHEEL, OnPanelMouseWheel)
        WUI_MSG_HANDLER(WM_VSCROLL, OnScrollMessage)
        WUI_MSG_HANDLER(WM_HSCROLL, OnScrollMessage)
    WUI_SWND_MSG_MAP_END(SWindow)

protected:
    // Timers of a held arrow or rail: the first repeat, then the rest.
    enum { kTimerRepeatDelay = 1, kTimerRepeat = 2 };
    enum { kRepeatDelayMs = 500, kRepeatMs = 50 };

    LRESULT OnNcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnPanelNcPaint(IRenderTarget* rt);
    void OnNcLButtonDown(UINT flags, POINT pt);
    void OnNcMouseMove(UINT flags, POINT pt);
    void OnNcLButtonUp(UINT flags, POINT pt);
    void OnPanelLButtonUp(UINT flags, POINT pt);
    void OnNcMouseLeave();
    void OnPanelMouseHover(UINT flags, POINT pt);
    void OnPanelMouseLeave();
    LRESULT OnPanelTimer(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnPanelShowWindow(BOOL show, UINT status);
    void OnPanelEnable(BOOL enable, UINT status);
    LRESULT OnPanelMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnScrollMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // Paints the bars (and the corner between them) into a target.
    void PaintBars(IRenderTarget* rt);
    // Paints the frame of the margins around the client area and the bars.
    void PaintFrame(IRenderTarget* rt);
    // Repaints the area of the bar at once (null: the whole bar).
    void RedrawBar(BOOL vertical, const RECT* area);
    SCROLLINFO& Info(BOOL vertical) { return vertical ? m_siVer : m_siHoz; }

    SCROLLINFO m_siVer;
    SCROLLINFO m_siHoz;
    int m_wBarVisible = SSB_NULL;  // SSB_* bits of the shown bars
    int m_wBarEnable = SSB_BOTH;

private:
    // A part of one of the bars.
    struct BarPart {
        int part = kSbPartNone;
        BOOL vertical = FALSE;
        bool operator==(const BarPart& o) const { return part == o.part && vertical == o.vertical; }
        bool operator!=(const BarPart& o) const { return !(*this == o); }
    };

    BarPart HitBars(POINT pt) const;
    SbLook BarLook(BOOL vertical) const;
    RECT CornerRect() const;
    void RedrawArea(const RECT& area);
    // The press on a bar ends: capture and timers go, a drag settles.
    void EndPress();
    void DragThumb(POINT pt);
    // One step of a held arrow or rail, while the mouse stays on it.
    void RepeatPress();
    HRESULT OnAttrSbSkin(const SStringW& value, BOOL loading);
    // An integer attribute of the bars: its field, bounds and result.
    struct IntAttr {
        LPCWSTR name;
        int SPanel::*field;
        int low, high;
        HRESULT result;
        bool geometry;  // changing it moves the bars
    };
    static const IntAttr* FindIntAttr(const SStringW& name);

    SAutoRefPtr<SSkinScrollbar> m_sbSkin;
    int m_nSbArrowSize = -1;  // "sbArrowSize"; -1: the bar width
    int m_nSbWid = -1;        // "sbWid"; -1: the skin's
    int m_nSbLeft = 0, m_nSbRight = 0, m_nSbTop = 0, m_nSbBottom = 0;
    int m_nUpdateInterval = 0;  // ms between host updates during a thumb drag
    int m_nScrollSpeed = 10;
    DWORD m_dwUpdateTime = 0;

    BarPart m_hit;      // under the mouse
    BarPart m_pressed;  // held down with the left button
    SbDrag m_drag;                 // of the pressed bar's thumb
    POINT m_ptLast = {0, 0};       // the mouse's last point on the bars
};

}  // namespace WUI
