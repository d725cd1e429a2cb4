// Message dispatch, the default handlers, the state word, focus, capture and timers.
#include "core/SWindow.h"

#include "core/STimer2.h"
#include "render/ISkinObj.h"

namespace WUI {

LRESULT SWindow::SendSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL* handled)
{
    SAutoRefPtr<SWindow> keep(this);  // a handler may destroy the element
    SwndMsg record{msg, wParam, lParam};
    SwndMsg* previous = m_pCurMsg;
    m_pCurMsg = &record;
    const BOOL savedHandled = m_msgHandled;
    m_msgHandled = FALSE;
    LRESULT result = 0;
    const BOOL taken = ProcessSwndMessage(msg, wParam, lParam, result);
    if (handled) *handled = taken;
    m_msgHandled = savedHandled;
    m_pCurMsg = previous;
    return result;
}

void SWindow::BroadcastSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL* handled)
{
    BOOL taken = FALSE;
    SendSwndMessage(msg, wParam, lParam, &taken);
    if (handled) {
        *handled = taken;
        if (taken) return;
    }
    ForEachChild([&](SWindow* child) { child->BroadcastSwndMessage(msg, wParam, lParam, handled); });
}

BOOL SWindow::ProcessSwndMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    WUI_MSG_WM_CREATE(OnCreate)
    WUI_MSG_WM_DESTROY(OnDestroy)
    WUI_MSG_WM_SIZE(OnSize)
    WUI_MSG_WM_SETFOCUS(OnSetFocus)
    WUI_MSG_WM_KILLFOCUS(OnKillFocus)
    WUI_MSG_WM_ENABLE(OnEnable)
    WUI_MSG_WM_SHOWWINDOW(OnShowWindow)
    WUI_MSG_RT_DO(WM_PAINT, OnPaint)
    WUI_MSG_RT(WM_ERASEBKGND, OnEraseBkgnd)
    WUI_MSG_RT_DO(WM_NCPAINT, OnNcPaint)
    WUI_MSG_IGNORE(WM_MOUSEMOVE)
    WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
    WUI_MSG_MOUSE(WM_LBUTTONUP, OnLButtonUp)
    WUI_MSG_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
    WUI_MSG_IGNORE(WM_RBUTTONUP)
    WUI_MSG_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
    WUI_MSG_MOUSE(WM_MOUSEHOVER, OnMouseHover)
    WUI_MSG_VOID(WM_MOUSELEAVE, OnMouseLeave)
    return HandleOtherMessage(uMsg, wParam, lParam, lResult);
}

BOOL SWindow::HandleOtherMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return FALSE;
}

int SWindow::OnCreate(LPVOID)
{
    UpdateTrackMouseRegistration();
    EventSwndCreate evt(this);
    FireEvent(evt);
    return 0;
}

void SWindow::UpdateTrackMouseRegistration()
{
    if (!m_pContainer) return;
    if (m_style.IsTrackMouseEvent()) m_pContainer->RegisterTrackMouseEvent(m_swnd);
    else m_pContainer->UnregisterTrackMouseEvent(m_swnd);
}

// Each child is unlinked as it goes, so no parent or sibling pointer of the
// destroyed subtree outlives the element it names.
void SWindow::OnDestroy()
{
    if (m_bDestroyed) return;
    m_bDestroyed = TRUE;
    EventSwndDestroy evt(this);
    FireEvent(evt);
    while (SWindow* child = m_pFirstChild) {
        SAutoRefPtr<SWindow> keep(child);
        if (!child->m_bDestroyed) child->SendSwndMessage(WM_DESTROY);
        if (child->m_pParent == this) {
            UnlinkChild(child);
            child->Release();
        }
    }
    // The element may outlive its host (someone still holds it): it must not
    // reach the host any more.
    GiveBackPaintRecords();
    m_pContainer = nullptr;
}

void SWindow::OnSize(UINT, SIZE size)
{
    UpdateCacheMode();
    UpdateLayeredMode();
    EventSwndSize evt(this, size);
    FireEvent(evt);
}

void SWindow::OnSetFocus()
{
    EventSetFocus evt(this);
    FireEvent(evt);
    InvalidateRect(nullptr);
}

void SWindow::OnKillFocus()
{
    EventKillFocus evt(this);
    FireEvent(evt);
    InvalidateRect(nullptr);
}

// status 1: the parent's new state; otherwise the element's own.
void SWindow::OnEnable(BOOL enable, UINT status)
{
    if (status != 1) {
        if (enable) m_dwFlags &= ~kFlagDisabled;
        else m_dwFlags |= kFlagDisabled;
    }
    BOOL effective = !(m_dwFlags & kFlagDisabled) && !(m_pParent && m_pParent->IsDisabled(TRUE));
    if (status == 1 && !enable) effective = FALSE;
    if (effective) ModifyState(0, WndState_Disable);
    else ModifyState(WndState_Disable, WndState_Hover);
    ForEachChild([effective](SWindow* child) { child->SendSwndMessage(WM_ENABLE, effective, 1); });
    if (!effective && IsFocused()) KillFocus();
}

void SWindow::OnShowWindow(BOOL show, UINT status)
{
    if (status != 1) {
        if (show) m_dwFlags |= kFlagVisible;
        else m_dwFlags &= ~kFlagVisible;
    }
    BOOL effective = (m_dwFlags & kFlagVisible) && !(m_pParent && !m_pParent->IsVisible(TRUE));
    if (status == 1 && !show) effective = FALSE;
    if (effective) ModifyState(0, WndState_Invisible);
    else ModifyState(WndState_Invisible, 0);
    ForEachChild([effective](SWindow* child) { child->SendSwndMessage(WM_SHOWWINDOW, effective, 1); });
    if (!effective) {
        if (IsFocused()) KillFocus();
        if (GetCapture() == m_swnd) ReleaseCapture();
    }
    // Its place in the flow comes or goes (nothing to do for the root).
    if (!IsDisplay() && m_pParent) m_pParent->InvalidateLayout(this);
    EventSwndVisibleChanged evt(this);
    FireEvent(evt);
}

// The change handlers may destroy the element: it is kept to the end of the
// call (and so in SetVisible and EnableWindow).
DWORD SWindow::ModifyState(DWORD add, DWORD remove, BOOL redraw)
{
    SAutoRefPtr<SWindow> keep(this);
    const DWORD old = m_dwState;
    const DWORD now = add | (old & ~remove);
    OnStateChanging(old, now);
    m_dwState = now;
    OnStateChanged(old, now);
    if (redraw && RedrawsOnStateChange()) InvalidateRect(nullptr);
    return old;
}

void SWindow::OnStateChanging(DWORD, DWORD) {}

void SWindow::OnStateChanged(DWORD oldState, DWORD newState)
{
    EventSwndStateChanged evt(this, oldState, newState);
    FireEvent(evt);
}

BOOL SWindow::RedrawsOnStateChange() const
{
    if (m_pBgSkin && !m_pBgSkin->IgnoresState()) return TRUE;
    return m_style.GetStates() > 1;
}

void SWindow::SetCheck(BOOL checked)
{
    if (checked) ModifyState(WndState_Check, 0, TRUE);
    else ModifyState(0, WndState_Check, TRUE);
}

void SWindow::SetVisible(BOOL show, BOOL redraw)
{
    SAutoRefPtr<SWindow> keep(this);
    if (redraw) InvalidateRect(nullptr);
    SendSwndMessage(WM_SHOWWINDOW, show, 0);
    if (redraw) InvalidateRect(nullptr);
}

void SWindow::EnableWindow(BOOL enable, BOOL redraw)
{
    SAutoRefPtr<SWindow> keep(this);
    SendSwndMessage(WM_ENABLE, enable, 0);
    if (redraw) InvalidateRect(nullptr);
}

void SWindow::SetFocus()
{
    if (!m_pContainer || !IsVisible(TRUE) || IsDisabled(TRUE)) return;
    m_pContainer->SetFocus(m_swnd);
}

void SWindow::KillFocus()
{
    if (IsFocused()) m_pContainer->SetFocus(0);
}

BOOL SWindow::IsFocused() const
{
    return m_pContainer && m_pContainer->GetFocus() == m_swnd;
}

SWND SWindow::SetCapture()
{
    return m_pContainer ? m_pContainer->SetCapture(m_swnd) : 0;
}

BOOL SWindow::ReleaseCapture()
{
    return m_pContainer ? m_pContainer->ReleaseCapture() : FALSE;
}

SWND SWindow::GetCapture() const
{
    return m_pContainer ? m_pContainer->GetCapture() : 0;
}

namespace {

// The host's native timer id of an element timer: the id (with bit 0x80)
// in the top byte, the element's handle in the rest.
UINT_PTR NativeTimerId(UINT id, SWND swnd)
{
    return static_cast<UINT_PTR>((id | 0x80) << 24 | (swnd & 0xFFFFFF));
}

}  // namespace

BOOL SWindow::SetTimer(UINT id, UINT elapse)
{
    HWND host = m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
    if (id > 0x7F || !host) return FALSE;
    return ::SetTimer(host, NativeTimerId(id, m_swnd), elapse, nullptr) != 0;
}

void SWindow::KillTimer(UINT id)
{
    HWND host = m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
    if (id <= 0x7F && host) ::KillTimer(host, NativeTimerId(id, m_swnd));
}

BOOL SWindow::SetTimer2(UINT id, UINT elapse)
{
    STimer2* timers = STimer2::GetSingletonPtr();
    return timers && timers->SetTimer(m_swnd, id, elapse);
}

void SWindow::KillTimer2(UINT id)
{
    if (STimer2* timers = STimer2::GetSingletonPtr()) timers->KillTimer(m_swnd, id);
}

}  // namespace WUI
