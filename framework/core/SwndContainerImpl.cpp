#include "core/SwndContainerImpl.h"

#include "core/SApplication.h"
#include "core/SArray.h"

namespace WUI {

namespace {

// Mouse messages of the client area map to their non-client twins by this offset.
const UINT kNonClientOffset = WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;

template <class T>
BOOL AddUnique(SList<T>& list, const T& item)
{
    if (list.Find(item)) return FALSE;
    return list.AddTail(item) != nullptr;
}

template <class T>
BOOL RemoveItem(SList<T>& list, const T& item)
{
    typename SList<T>::Node* node = list.Find(item);
    if (!node) return FALSE;
    list.RemoveAt(node);
    return TRUE;
}

// A copy to walk while the handlers called change the list.
template <class T>
void Snapshot(const SList<T>& list, SArray<T>& out)
{
    for (typename SList<T>::Node* n = list.GetHead(); n; n = n->pNext) out.Add(n->data);
}

}  // namespace

SwndContainerImpl::SwndContainerImpl() : m_focusMgr(this), m_dropTarget(this)
{
    SetContainer(this);
}

// The host is gone by now, so the tree must not reach it: the elements are
// cut off from the container before they are destroyed.
SwndContainerImpl::~SwndContainerImpl()
{
    m_timelineHandlers.RemoveAll();
    m_trackMouseSwnds.RemoveAll();
    SetContainer(nullptr);
    while (SWindow* child = GetWindow(GSW_FIRSTCHILD)) DestroyChild(child);
}

void SwndContainerImpl::OnNextFrame()
{
    if (!IsVisible(TRUE)) return;
    SAutoRefPtr<SWindow> keep(this);
    SArray<ITimelineHandler*> handlers;
    Snapshot(m_timelineHandlers, handlers);
    for (int i = 0; i < handlers.GetCount(); ++i) {
        if (m_timelineHandlers.Find(handlers[i])) handlers[i]->OnNextFrame();
    }
}

BOOL SwndContainerImpl::RegisterTimelineHandler(ITimelineHandler* handler)
{
    return handler && AddUnique(m_timelineHandlers, handler);
}

BOOL SwndContainerImpl::UnregisterTimelineHandler(ITimelineHandler* handler)
{
    return RemoveItem(m_timelineHandlers, handler);
}

BOOL SwndContainerImpl::RegisterTrackMouseEvent(SWND swnd)
{
    return swnd && AddUnique(m_trackMouseSwnds, swnd);
}

BOOL SwndContainerImpl::UnregisterTrackMouseEvent(SWND swnd)
{
    return RemoveItem(m_trackMouseSwnds, swnd);
}

BOOL SwndContainerImpl::RegisterDragDrop(SWND swnd, IDropTarget* target)
{
    return m_dropTarget.RegisterDragDrop(swnd, target);
}

BOOL SwndContainerImpl::RevokeDragDrop(SWND swnd)
{
    return m_dropTarget.RevokeDragDrop(swnd);
}

SWND SwndContainerImpl::GetCapture()
{
    if (!SWindowMgr::GetWindow(m_capture)) m_capture = 0;
    return m_capture;
}

BOOL SwndContainerImpl::ReleaseCapture()
{
    m_capture = 0;
    return TRUE;
}

SWND SwndContainerImpl::SetCapture(SWND swnd)
{
    SWindow* element = SWindowMgr::GetWindow(swnd);
    if (!element || element->IsDisabled(TRUE)) return 0;
    const SWND previous = GetCapture();
    m_capture = swnd;
    return previous;
}

void SwndContainerImpl::SetFocus(SWND swnd)
{
    HWND host = swnd ? GetHostHwnd() : nullptr;
    if (host && ::GetFocus() != host && !(::GetWindowLongW(host, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) ::SetFocus(host);
    m_focusMgr.SetFocusedSwnd(swnd, kFocusChangeDirect);
}

SWND SwndContainerImpl::GetHover()
{
    if (!SWindowMgr::GetWindow(m_hover)) m_hover = 0;
    return m_hover;
}

SWND SwndContainerImpl::GetFocus()
{
    const SWND focused = m_focusMgr.GetFocusedSwnd();
    return SWindowMgr::GetWindow(focused) ? focused : 0;
}

void SwndContainerImpl::UpdateZorder()
{
    if (!m_bZorderDirty) return;
    AssignZorder(0);
    m_bZorderDirty = 0;
}

LRESULT SwndContainerImpl::DispatchHostMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SAutoRefPtr<SWindow> keep(this);
    SetMsgHandled(TRUE);
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) m_focusMgr.StoreFocus();
        else if (LOWORD(wParam) == WA_ACTIVE) m_focusMgr.RestoreFocus();
        return 0;
    case WM_SETFOCUS:
        m_focusMgr.RestoreFocus();
        return 0;
    case WM_KILLFOCUS:
        m_focusMgr.StoreFocus();
        return 0;
    case WM_ACTIVATEAPP:
        BroadcastSwndMessage(msg, wParam, lParam);
        return 0;
    case WM_SETCURSOR:
        return OnHostSetCursor(lParam);
    case WM_KEYDOWN:
        if (m_focusMgr.OnKeyDown(static_cast<UINT>(wParam))) return 0;
        return Deliver(GetFocus(), msg, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnHostMouseMove(wParam, lParam);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return OnHostMouseWheel(msg, wParam, lParam);
    case WM_MOUSELEAVE:
        OnHostMouseLeave();
        return 0;
    default:
        break;
    }
    if ((msg > WM_KEYDOWN && msg <= WM_UNICHAR) || (msg >= WM_IME_STARTCOMPOSITION && msg <= WM_IME_COMPOSITION) ||
        msg == WM_IME_CHAR)
        return Deliver(GetFocus(), msg, wParam, lParam);
    if (msg == WM_MOUSEHOVER || (msg >= WM_LBUTTONDOWN && msg <= WM_XBUTTONDBLCLK))
        return OnHostMouseButton(msg, wParam, lParam);
    SetMsgHandled(FALSE);
    return 0;
}

LRESULT SwndContainerImpl::Deliver(SWND swnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWindow* element = SWindowMgr::GetWindow(swnd);
    if (!element) {
        SetMsgHandled(FALSE);
        return 0;
    }
    BOOL handled = FALSE;
    const LRESULT result = element->SendSwndMessage(msg, wParam, lParam, &handled);
    SetMsgHandled(handled);
    return result;
}

void SwndContainerImpl::Notify(SWND swnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (SWindow* element = SWindowMgr::GetWindow(swnd)) element->SendSwndMessage(msg, wParam, lParam);
}

// Live, enabled elements only: a disabled element never takes mouse input.
SWND SwndContainerImpl::EnabledOrNone(SWND swnd)
{
    SWindow* element = SWindowMgr::GetWindow(swnd);
    return element && !element->IsDisabled(TRUE) ? swnd : 0;
}

LRESULT SwndContainerImpl::OnHostSetCursor(LPARAM lParam)
{
    SWND target = GetCapture();
    if (!target) target = EnabledOrNone(GetHover());
    SWindow* element = SWindowMgr::GetWindow(target);
    const BOOL set = element ? element->OnSetCursor(WUI_MSG_POINT(lParam)) : FALSE;
    if (!set) {
        SApplication* app = SApplication::GetSingletonPtr();
        HCURSOR arrow = app ? app->LoadCursor(IDC_ARROW) : ::LoadCursorW(nullptr, IDC_ARROW);
        ::SetCursor(arrow);
    }
    return set;
}

// The element under the point becomes the hover: the old one leaves (a
// tracked one only once the point has left it; a disabled one was never
// hovered), the new one is hovered, and
// a move between client and non-client area within one element says so.
// Whenever the hover changes the non-client flag is taken afresh, so it
// never describes another element.
void SwndContainerImpl::UpdateHover(POINT pt, WPARAM wParam, LPARAM lParam)
{
    const SWND under = SwndFromPoint(pt);
    if (under != GetHover()) {
        SWindow* old = SWindowMgr::GetWindow(EnabledOrNone(m_hover));
        if (old && !(old->GetStyle().IsTrackMouseEvent() && old->HitTest(pt, FALSE))) LeaveHover(m_hover);
        m_hover = under;
        m_bNcHover = FALSE;
        SWindow* element = SWindowMgr::GetWindow(EnabledOrNone(under));
        if (!element) return;
        m_bNcHover = element->HitNonClient(pt);
        if (element->GetState() & WndState_Hover) return;
        if (m_bNcHover) Notify(under, WM_NCMOUSEHOVER, wParam, lParam);
        Notify(under, WM_MOUSEHOVER, wParam, lParam);
        return;
    }
    SWindow* element = SWindowMgr::GetWindow(EnabledOrNone(under));
    if (!element) return;
    const BOOL nonClient = element->HitNonClient(pt);
    if (nonClient == m_bNcHover) return;
    m_bNcHover = nonClient;
    Notify(under, nonClient ? WM_NCMOUSEHOVER : WM_NCMOUSELEAVE, wParam, lParam);
}

void SwndContainerImpl::LeaveHover(SWND swnd)
{
    if (m_bNcHover) Notify(swnd, WM_NCMOUSELEAVE, 0, 0);
    Notify(swnd, WM_MOUSELEAVE, 0, 0);
}

LRESULT SwndContainerImpl::OnHostMouseButton(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWND target = GetCapture();
    if (!target) {
        UpdateHover(WUI_MSG_POINT(lParam), wParam, lParam);
        target = m_hover;
    }
    target = EnabledOrNone(target);
    if (!target) {
        SetMsgHandled(FALSE);
        return 0;
    }
    UINT sent = msg;
    if (target == m_hover && m_bNcHover) sent = msg == WM_MOUSEHOVER ? WM_NCMOUSEHOVER : msg - kNonClientOffset;
    return Deliver(target, sent, wParam, lParam);
}

LRESULT SwndContainerImpl::OnHostMouseMove(WPARAM wParam, LPARAM lParam)
{
    const POINT pt = WUI_MSG_POINT(lParam);
    SWND target = GetCapture();
    if (target) {
        MoveHoverCaptured(target, pt, wParam, lParam);
        target = EnabledOrNone(target);
    } else {
        UpdateHover(pt, wParam, lParam);
        target = EnabledOrNone(m_hover);
    }
    const LRESULT result = Deliver(target, m_bNcHover ? WM_NCMOUSEMOVE : WM_MOUSEMOVE, wParam, lParam);
    TrackMouse(&pt);
    return result;
}

// While an element holds the capture it is the only possible hover: it
// leaves when the mouse leaves it and is hovered again when it comes back.
void SwndContainerImpl::MoveHoverCaptured(SWND capture, POINT pt, WPARAM wParam, LPARAM lParam)
{
    SWindow* element = SWindowMgr::GetWindow(capture);
    const SWND under = element && element->HitTest(pt, FALSE) ? capture : 0;
    if (under == GetHover()) return;
    if (m_hover) LeaveHover(m_hover);
    m_hover = under;
    element = SWindowMgr::GetWindow(under);
    if (!element || (element->GetState() & WndState_Hover)) return;
    if (m_bNcHover) Notify(under, WM_NCMOUSEHOVER, wParam, lParam);
    Notify(under, WM_MOUSEHOVER, wParam, lParam);
}

void SwndContainerImpl::OnHostMouseLeave()
{
    if (const SWND capture = GetCapture()) {
        Notify(capture, WM_MOUSELEAVE, 0, 0);
    } else if (const SWND hover = EnabledOrNone(GetHover())) {
        Notify(hover, WM_MOUSELEAVE, 0, 0);
        if (m_bNcHover) Notify(hover, WM_NCMOUSELEAVE, 0, 0);
    }
    TrackMouse(nullptr);
    m_hover = 0;
    m_bNcHover = FALSE;
}

void SwndContainerImpl::TrackMouse(const POINT* pt)
{
    SArray<SWND> tracked;
    Snapshot(m_trackMouseSwnds, tracked);
    for (int i = 0; i < tracked.GetCount(); ++i) {
        SWindow* element = SWindowMgr::GetWindow(tracked[i]);
        if (!element) {
            UnregisterTrackMouseEvent(tracked[i]);
            continue;
        }
        if (!element->IsVisible(TRUE)) continue;
        const BOOL inside = pt && element->HitTest(*pt, FALSE);
        const BOOL hovering = (element->GetState() & WndState_Hover) != 0;
        if (inside && !hovering && !element->IsDisabled(TRUE)) Notify(tracked[i], WM_MOUSEHOVER, 0, 0);
        else if (!inside && hovering) Notify(tracked[i], WM_MOUSELEAVE, 0, 0);
    }
}

LRESULT SwndContainerImpl::OnHostMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWND target = GetCapture();
    if (!target && IsSendWheel2Hover()) {
        UpdateHover(WUI_MSG_POINT(lParam), wParam, lParam);
        target = m_hover;
    } else if (!target) {
        target = GetFocus();
    }
    target = EnabledOrNone(target);
    if (!target) {
        SetMsgHandled(FALSE);
        return 0;
    }
    return Deliver(target, msg, wParam, lParam);
}

}  // namespace WUI
