// The window-independent half of an element container: it is the root
// element of its tree and routes the host's mouse and keyboard messages into
// it, keeping capture, hover and focus by handle. A host window derives from
// it and supplies the native side.
#pragma once

#include "core/CFocusManager.h"
#include "core/SDropTargetDispatcher.h"
#include "core/SList.h"
#include "core/SWindow.h"

namespace WUI {

// ISwndContainer::FireEvent (the application's hook) and SWindow::FireEvent
// (an element's event) share one signature; this base gives the container's
// its own name, so that the root element keeps the element's one.
class SwndContainerEventHook : public ISwndContainer {
public:
    BOOL FireEvent(EventArgs& args) final { return OnFireEvent(args); }
    // The application's event hook, last stop of an element's event; false
    // when not handled.
    virtual BOOL OnFireEvent(EventArgs& args) = 0;

protected:
    ~SwndContainerEventHook() = default;
};

class SwndContainerImpl : public SwndContainerEventHook, public SWindow {
    WUI_SWINDOW_CLASS(SwndContainerImpl, SWindow, L"SwndContainerImpl")
public:
    SwndContainerImpl();
    // Empties the lists and frees the tree; the host has sent the root WM_DESTROY before.
    ~SwndContainerImpl() override;

    // Animation tick: each registered handler once, in registration order,
    // while the root is visible. A handler may unregister itself or another
    // one meanwhile: one unregistered is not called.
    void OnNextFrame() override;
    BOOL RegisterDragDrop(SWND swnd, IDropTarget* target) override;
    BOOL RevokeDragDrop(SWND swnd) override;
    // 0 when no element holds the capture (or it is gone).
    SWND GetCapture() override;
    BOOL ReleaseCapture() override;
    // The previous holder; 0 and no change for a disabled or missing element.
    SWND SetCapture(SWND swnd) override;
    using SWindow::SetCapture;
    // Brings the native focus to the host (not for a tool window), then the
    // focus manager's set-focus; 0 takes the focus away.
    void SetFocus(SWND swnd) override;
    using SWindow::SetFocus;
    SWND GetHover() override;
    SWND GetFocus() override;
    void OnUpdateCaretRect(const RECT&) override {}
    CFocusManager* GetFocusManager() override { return &m_focusMgr; }
    // 0 when already registered.
    BOOL RegisterTimelineHandler(ITimelineHandler* handler) override;
    // 0 when not registered.
    BOOL UnregisterTimelineHandler(ITimelineHandler* handler) override;
    BOOL RegisterTrackMouseEvent(SWND swnd) override;
    BOOL UnregisterTrackMouseEvent(SWND swnd) override;
    void MarkZorderDirty() override { m_bZorderDirty = TRUE; }
    // Numbers the tree in paint order (pre-order from 0 at the root) when it changed.
    void UpdateZorder() override;

    // A native message for the tree; the root's handled flag says whether
    // an element took it. Returns the message's result.
    virtual LRESULT DispatchHostMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // What the host registers with the platform to accept OLE drops.
    IDropTarget* GetDropTarget() { return &m_dropTarget; }
    int GetTimelineHandlerCount() const { return m_timelineHandlers.GetCount(); }
    int GetTrackMouseCount() const { return m_trackMouseSwnds.GetCount(); }

private:
    LRESULT OnHostMouseButton(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostMouseMove(WPARAM wParam, LPARAM lParam);
    void MoveHoverCaptured(SWND capture, POINT pt, WPARAM wParam, LPARAM lParam);
    void UpdateHover(POINT pt, WPARAM wParam, LPARAM lParam);
    void LeaveHover(SWND swnd);
    void OnHostMouseLeave();
    LRESULT OnHostMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostSetCursor(LPARAM lParam);
    // Enter and leave for the elements that track the mouse themselves; with
    // no point (the mouse left the host) every one of them leaves.
    void TrackMouse(const POINT* pt);
    // The element gets the message and the root's handled flag becomes its
    // own; a handle that names nothing leaves the message unhandled.
    LRESULT Deliver(SWND swnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The element, when it still exists, gets the message; nothing is reported.
    static void Notify(SWND swnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static SWND EnabledOrNone(SWND swnd);

    SWND m_capture = 0;
    SWND m_hover = 0;
    BOOL m_bNcHover = FALSE;
    CFocusManager m_focusMgr;
    SDropTargetDispatcher m_dropTarget;
    BYTE m_bZorderDirty = 1;
    SList<ITimelineHandler*> m_timelineHandlers;
    SList<SWND> m_trackMouseSwnds;
};

}  // namespace WUI
