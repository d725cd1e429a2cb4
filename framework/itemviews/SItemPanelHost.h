// What the views showing rows of item panels share: the mouse goes to the
// panel holding the capture or the one under it (with hover entered and
// left), the wheel and keys to the selected panel, the cursor and tooltip to
// the panel the mouse is on. The view says where a panel's row lies, which
// panel is under a point and which one is selected.
#pragma once

#include "controls/SPanel.h"
#include "itemviews/IItemContainer.h"
#include "itemviews/SItemPanel.h"

namespace WUI {

class SItemPanelHost : public SPanel, public IItemContainer {
public:
    // ---- IItemContainer ----
    void SetItemCapture(SItemPanel* panel, bool capture) override;
    BOOL DefersItemRedraw() override { return TRUE; }
    void RelayoutItem(SItemPanel* panel) override;

    // The capture panel, else the hovered one, may set the cursor; without
    // either (or when it declines) the panel's own cursor.
    BOOL OnSetCursor(POINT pt) override;
    // The hovered panel's tip; the panel's own without one.
    BOOL GetToolTipInfo(POINT pt, SwndToolTipInfo& info) override;

    // Key-down stays the view's own: its keys move its selection.
    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_HANDLER(WM_MOUSEWHEEL, OnItemMouseWheel)
        WUI_MSG_RANGE_HANDLER(WM_MOUSEMOVE, WM_MBUTTONDBLCLK, OnItemMouseEvent)
        WUI_MSG_RANGE_HANDLER(WM_XBUTTONDOWN, WM_XBUTTONDBLCLK, OnItemMouseEvent)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnItemMouseLeave)
        WUI_MSG_RANGE_HANDLER(WM_KEYUP, WM_KEYLAST, OnItemKeyEvent)
        WUI_MSG_RANGE_HANDLER(WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, OnItemKeyEvent)
        WUI_MSG_WM_SETFOCUS(OnItemSetFocus)
        WUI_MSG_WM_KILLFOCUS(OnItemKillFocus)
    WUI_SWND_MSG_MAP_END(SPanel)

protected:
    // Binding passes of one update: measured rows change the totals, which
    // may bring more rows in sight; an adapter whose sizes never settle must
    // not keep the view binding for ever.
    static constexpr int kMaxBindPasses = 8;
    // The view types an adapter asks for, held to 1..1024.
    static int ClampViewTypes(int count) { return count < 1 ? 1 : (count > 1024 ? 1024 : count); }

    // The row of a shown panel in the view's coordinates (scrolling applied).
    virtual RECT PanelRowRect(SItemPanel* panel) = 0;
    // The shown panel under pt, its row into rowOut; null when none is.
    virtual SItemPanel* PanelFromPoint(POINT pt, RECT* rowOut) = 0;
    // The panel of the selection when it is in sight, else null.
    virtual SItemPanel* SelectedPanel() = 0;
    // A button went down on no row; nothing here. The view may be destroyed
    // when this returns.
    virtual void OnPressOnEmpty() {}

    // Drops the view's references to the panel (hover, capture).
    void ForgetPanel(SItemPanel* panel);
    // A mouse message's point made relative to a row.
    static LPARAM RelativePoint(LPARAM lParam, const RECT& row);

    LRESULT OnItemMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnItemMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnItemMouseLeave();
    LRESULT OnItemKeyEvent(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnItemSetFocus();
    void OnItemKillFocus();

    SItemPanel* m_pCapturePanel = nullptr;  // cleared whenever the panel is parked or destroyed
    SItemPanel* m_pHoverPanel = nullptr;    // the same
};

}  // namespace WUI
