// The row of an adapter-driven view: a small element tree that is no child
// of the view but the root of a container of its own. It keeps its own
// capture, hover and focus; what needs the screen (native window, render
// targets, caret, tooltips, the application's event hook) it asks of the
// view's container, moved by the row's place in the view. "View
// coordinates" below are those of the view's container, as every element
// rectangle of the view is.
//
// The view owns its panels (one reference each) and:
// - makes them with CreateItemPanel, sets their item index, shows, hides and
//   sizes them (Move with (0, 0, width, height): panel coordinates start at
//   the row's top-left), and answers IItemContainer for them;
// - paints each shown row with Draw, and passes mouse and key messages in
//   panel coordinates to DispatchHostMessage;
// - changes row states with ModifyItemState (with the panel's event set
//   muted when the change is the view's own doing);
// - gives a panel up with DestroyWindow while the view still lives: the
//   panel then leaves the view container's animation ticks even when
//   someone else still holds it (a bare Release does so only when it is the
//   last). A panel kept past its view answers as a row of no view.
// Every event fired inside a row reaches the view as EventOfPanel; the
// panel's own mouse events (ItemPanelEvents.h) are for the view to subscribe.
#pragma once

#include "core/SArray.h"
#include "core/SwndContainerImpl.h"
#include "itemviews/IItemContainer.h"
#include "itemviews/ItemPanelEvents.h"

#include <type_traits>

namespace WUI {

class SItemPanel : public SwndContainerImpl {
public:
    // A panel for the view, reading the template node when it is not empty;
    // null when memory runs out or the template's element refuses creation.
    // The caller owns the one reference.
    static SItemPanel* CreateItemPanel(SWindow* host, pugi::xml_node tmpl, IItemContainer* container);

    // The state bits without a redraw (rows: 1 hover, 4 selected).
    void ModifyItemState(DWORD add, DWORD remove) { ModifyState(add, remove, FALSE); }
    // The element of the row under the point; 0 for the panel's own
    // background, so that a click there reaches no element.
    SWND SwndFromPoint(POINT pt) override;
    // Paints the row into rt at rcItem (the view's coordinates), within rt's
    // clip: pending layout first, the background colour of the row's state.
    void Draw(IRenderTarget* rt, const RECT& rcItem);
    // Background colours of a normal and of a selected row; kColorNone for
    // none (the normal one then shows the view through the row).
    void SetColors(COLORREF normal, COLORREF selected);
    // A value for the application; no view reads it.
    LPARAM GetItemData() const { return m_itemData; }
    void SetItemData(LPARAM data) { m_itemData = data; }
    // The row the panel shows, written by its view; -1 none.
    LPARAM GetItemIndex() const { return m_itemIndex; }
    void SetItemIndex(LPARAM index) { m_itemIndex = index; }
    // The view showing the panel; null once it is gone.
    SWindow* GetHostView() const { return SWindowMgr::GetWindow(m_hostSwnd); }

    // "colorNormal", "colorSelected", "colorHover": colours; an empty or
    // malformed value is refused (E_FAIL) and the colour stays.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    // ---- the container, as a row answers it ----
    // Wrapped in EventOfPanel and fired on the view; false without a view.
    BOOL OnFireEvent(EventArgs& args) override;
    // These go to the view's container; without one: null, "", 0.
    HWND GetHostHwnd() override;
    LPCWSTR GetTranslatorContext() override;
    BOOL IsTranslucent() override;
    BOOL IsSendWheel2Hover() override;
    BOOL CreateCaret(SWND owner, HBITMAP bitmap, int width, int height) override;
    using SWindow::CreateCaret;
    BOOL ShowCaret(BOOL show) override;
    // Moved into the view's coordinates.
    BOOL SetCaretPos(int x, int y) override;
    void UpdateWindow() override;
    void UpdateTooltip() override;
    void OnUpdateCaretRect(const RECT& rect) override;
    SMessageLoop* GetMsgLoop() override;
    IScriptModule* GetScriptModule() override;
    // The row's rectangle in the view (empty when the view shows no row for it).
    RECT GetContainerRect() override;
    // A target of the view's over rect (panel coordinates), whose origin is
    // the row's top-left; mode 2 also paints the view's own background.
    // Null without a view or target.
    IRenderTarget* GetRenderTarget(const RECT& rect, int mode) override;
    void ReleaseRenderTarget(IRenderTarget* rt, const RECT& rect, int mode) override;
    using SWindow::ReleaseRenderTarget;
    // Invalidates the matching part of the view, or with a view that does
    // not defer, paints the rect at once. Nothing while the view is hidden,
    // update-locked or shows no row for the panel.
    void OnRedraw(const RECT& rect) override;
    // The view captures the mouse for the row as long as an element of the
    // row holds the capture.
    SWND SetCapture(SWND swnd) override;
    using SWindow::SetCapture;
    BOOL ReleaseCapture() override;
    // Fires the row's mouse events (an enabled panel only), then dispatches
    // the message into the tree; the release of the left button fires the
    // panel's command once, after the dispatch. Messages come in panel
    // coordinates.
    LRESULT DispatchHostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // ---- the root element, as a row ----
    // The tip of the hovered element of the row, its rectangle in the view's
    // coordinates; pt in the view's coordinates. With no element hovered a
    // tip without element (result true, so the old tip goes).
    BOOL GetToolTipInfo(POINT pt, SwndToolTipInfo& info) override;
    // Marks the layout dirty and has the view lay the row out.
    void InvalidateLayout(SWindow* child = nullptr) override;
    // The default font and black text, then what the panel's own style sets:
    // a row does not inherit the view's font and colour.
    void BeforePaint(IRenderTarget* rt, SPaintState& saved) override;
    // The panel is told WM_DESTROY before it goes, if nobody did.
    void OnFinalRelease() override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_WM_DESTROY(OnPanelDestroy)
        WUI_MSG_WM_SHOWWINDOW(OnPanelShowWindow)
    WUI_SWND_MSG_MAP_END(SwndContainerImpl)

private:
    SItemPanel(SWindow* host, IItemContainer* container);
    ~SItemPanel() override = default;

    ISwndContainer* HostContainer() const;
    // The item container while its view lives; null after.
    IItemContainer* ItemContainer() const { return GetHostView() ? m_itemContainer : nullptr; }
    RECT ItemRect() const;
    // op on the view's container; fallback without one.
    template <class R, class... Args>
    R Forward(typename std::common_type<R>::type fallback, R (ISwndContainer::*op)(Args...), typename std::common_type<Args>::type... args) const;
    void FirePanelEvent(UINT msg, WPARAM wParam, LPARAM lParam);
    void PaintNow(const RECT& rect);
    void OnPanelDestroy();
    void OnPanelShowWindow(BOOL show, UINT status);
    HRESULT SetColorAttr(COLORREF& color, const SStringW& value);

    SWND m_hostSwnd;  // by handle: a view that is gone resolves to none
    IItemContainer* m_itemContainer;
    COLORREF m_crNormal = kColorNone;
    COLORREF m_crSelected = 0xFF800000;
    COLORREF m_crHover = kColorNone;
    LPARAM m_itemData = 0;
    LPARAM m_itemIndex = -1;
    SArray<POINT> m_rtOrigins;  // each open target's viewport origin before the row's offset
};

}  // namespace WUI
