// A split window ("splitwnd", with the presets "splitcol" and "splitrow"):
// a row or a column of panes ("pane") separated by bars the user drags.
// Sizes are shared out by priority between each pane's ideal, minimum and
// maximum, both when the window is resized and when a bar is dragged.
#pragma once

#include "core/SWindow.h"

#include <vector>

namespace WUI {

struct ISkinObj;

// A pane was placed: its new rectangle.
class EventSplitPaneMoved : public TplEventArgs<EventSplitPaneMoved> {
public:
    EventSplitPaneMoved(SWindow* sender, const RECT& rect) : TplEventArgs<EventSplitPaneMoved>(sender), rcPane(rect) {}
    RECT rcPane;
};

class SSplitPane : public SWindow {
    WUI_SWINDOW_CLASS(SSplitPane, SWindow, L"pane")
public:
    SSplitPane();
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    int GetIdealSize() const { return m_nIdealSize; }
    int GetMinSize() const { return m_nMinSize; }
    int GetMaxSize() const { return m_nMaxSize; }
    int GetPriority() const { return m_nPriority; }

private:
    int m_nIdealSize = 20;
    int m_nMinSize = 0;
    int m_nMaxSize = 10000;
    int m_nPriority = 0;
};

// One pane's sizes along the split axis, for a layout or a drag. A hidden
// pane's record is all zero, so it never takes or gives room.
struct PaneSize {
    int actual = 0;
    int ideal = 0;
    int minimum = 0;
    int maximum = 0;
};

class SSplitWnd : public SWindow {
    WUI_SWINDOW_CLASS(SSplitWnd, SWindow, L"splitwnd")
public:
    SSplitWnd() = default;

    // Shares `delta` (positive grows) over the records, highest priority
    // first: towards the ideals, then, from the lowest priority up, towards
    // the maxima or minima. Returns what no record could take (0 when all
    // of it went).
    static int AdjustSize(PaneSize* records, int count, int delta);

    // Inserts the pane at `index` of the display order (< 0 or past the
    // end: appended); the index it got, or -1 for a null pane or one
    // already in. With a client rect the new pane starts at its ideal size.
    int InsertPane(SSplitPane* pane, int index);
    // Takes the pane out of both lists (it is not destroyed) and lays out
    // again; false when it is not in.
    BOOL RemovePane(SSplitPane* pane);
    // 0 for an index outside the panes; else shows or hides it, lays out again, 1.
    BOOL ShowPane(int index);
    BOOL HidePane(int index);
    // Null for an index outside the panes.
    SSplitPane* GetPane(int index) const;
    int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
    // The first display index whose name equals `name` exactly; -1 when none.
    int FindPaneByName(const SStringW& name) const;
    // The bar being dragged (display index of the pane before it); -1 when none.
    int GetDragSeparator() const { return m_nDragSep; }
    BOOL IsVertical() const { return m_bVertical != 0; }
    int GetSepSize() const { return m_nSepSize; }

    // Every "pane" node becomes a pane; other nodes are ignored.
    BOOL CreateChildren(pugi::xml_node node) override;
    void LayoutChildren() override;
    // A sizing cursor while the bars can be dragged; not handled otherwise.
    BOOL OnSetCursor(POINT pt) override;
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnSplitPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnSplitLButtonDown)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnSplitLButtonUp)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnSplitMouseMove)
    WUI_SWND_MSG_MAP_END(SWindow)

protected:
    SSplitWnd(int vertical, int sepSkin);

private:
    void OnSplitPaint(IRenderTarget* rt);
    void OnSplitLButtonDown(UINT flags, POINT pt);
    void OnSplitLButtonUp(UINT flags, POINT pt);
    void OnSplitMouseMove(UINT flags, POINT pt);

    // Records of the panes in priority order (hidden panes all zero).
    void BuildRecords(std::vector<PaneSize>& records) const;
    int PriorityIndex(SSplitPane* pane) const;
    // Shares the client length out over the records, then places the panes.
    void Relayout(const RECT& rect, std::vector<PaneSize>* records);
    // Places the visible panes in display order with the records' sizes,
    // one bar apart, and fires EventSplitPaneMoved for each.
    void PlacePanes(const RECT& rect, const std::vector<PaneSize>& records);
    // Moves the bar after display index `sep` by `delta` along the axis, no
    // further than the panes on either side can give and take.
    void DragSeparator(int sep, int delta);
    // Display index of the first shown pane after `index`; -1 when none.
    int NextShown(int index) const;
    int Along(POINT pt) const { return m_bVertical ? pt.x : pt.y; }
    int PaneExtent(SSplitPane* pane) const;
    // Visible and not destroyed.
    static bool Shown(SSplitPane* pane);

    // Each list holds a reference: a pane destroyed meanwhile stays readable
    // and counts as hidden.
    std::vector<SAutoRefPtr<SSplitPane>> m_panes;       // display order
    std::vector<SAutoRefPtr<SSplitPane>> m_byPriority;  // highest priority first
    int m_nSepSize = 5;
    int m_bVertical = 1;
    int m_bAdjustable = 1;
    ISkinObj* m_pSepSkin = nullptr;  // owned by the skin pool
    POINT m_ptDrag = {0, 0};
    int m_nDragSep = -1;
};

// Panes side by side with vertical bars.
class SSplitWnd_Col : public SSplitWnd {
    WUI_SWINDOW_CLASS(SSplitWnd_Col, SSplitWnd, L"splitcol")
public:
    SSplitWnd_Col();
};

// Panes stacked with horizontal bars.
class SSplitWnd_Row : public SSplitWnd {
    WUI_SWINDOW_CLASS(SSplitWnd_Row, SSplitWnd, L"splitrow")
public:
    SSplitWnd_Row();
};

}  // namespace WUI
