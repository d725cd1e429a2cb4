#include "itemviews/SItemPanelHost.h"

namespace WUI {

void SItemPanelHost::SetItemCapture(SItemPanel* panel, bool capture)
{
    if (capture) {
        if (GetContainer()) GetContainer()->SetCapture(m_swnd);
        m_pCapturePanel = panel;
    } else {
        if (GetContainer()) GetContainer()->ReleaseCapture();
        m_pCapturePanel = nullptr;
    }
}

void SItemPanelHost::RelayoutItem(SItemPanel* panel)
{
    panel->LayoutChildren();
}

void SItemPanelHost::ForgetPanel(SItemPanel* panel)
{
    if (m_pHoverPanel == panel) m_pHoverPanel = nullptr;
    if (m_pCapturePanel == panel) {
        m_pCapturePanel = nullptr;
        if (GetContainer() && GetCapture() == m_swnd) ReleaseCapture();
    }
}

// ---- mouse ----

LPARAM SItemPanelHost::RelativePoint(LPARAM lParam, const RECT& row)
{
    const POINT pt = WUI_MSG_POINT(lParam);
    return MAKELPARAM(pt.x - row.left, pt.y - row.top);
}

LRESULT SItemPanelHost::OnItemMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SAutoRefPtr<SWindow> keep(this);  // a row's handler may destroy the view
    if (m_pCapturePanel) {
        SAutoRefPtr<SItemPanel> panel = m_pCapturePanel;
        panel->DispatchHostMessage(msg, wParam, RelativePoint(lParam, PanelRowRect(panel)));
        SetMsgHandled(TRUE);
        return 0;
    }
    LRESULT ignored = 0;
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
    if (down) {
        SPanel::ProcessSwndMessage(msg, wParam, lParam, ignored);
        if (IsDestroyed()) return 0;
    }
    const POINT pt = WUI_MSG_POINT(lParam);
    RECT row = {0, 0, 0, 0};
    SItemPanel* hit = PanelFromPoint(pt, &row);
    if (down && !hit) {
        OnPressOnEmpty();
        if (IsDestroyed()) return 0;
    }
    if (hit != m_pHoverPanel) {
        if (SAutoRefPtr<SItemPanel> left = m_pHoverPanel) {
            m_pHoverPanel = nullptr;
            left->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
            left->InvalidateRect(nullptr);
        }
        m_pHoverPanel = hit;
        if (hit) {
            SAutoRefPtr<SItemPanel> entered = hit;
            hit->DispatchHostMessage(WM_MOUSEHOVER, wParam, RelativePoint(lParam, row));
            hit->InvalidateRect(nullptr);
        }
    }
    if (IsDestroyed()) return 0;
    if (SAutoRefPtr<SItemPanel> hover = m_pHoverPanel)
        hover->DispatchHostMessage(msg, wParam, RelativePoint(lParam, PanelRowRect(hover)));
    if (!IsDestroyed() && (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP))
        SPanel::ProcessSwndMessage(msg, wParam, lParam, ignored);
    SetMsgHandled(TRUE);
    return 0;
}

LRESULT SItemPanelHost::OnItemMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (SAutoRefPtr<SItemPanel> panel = SelectedPanel()) {
        const LRESULT r = panel->DispatchHostMessage(msg, wParam, RelativePoint(lParam, PanelRowRect(panel)));
        if (r) return r;
    }
    return OnPanelMouseWheel(msg, wParam, lParam);
}

void SItemPanelHost::OnItemMouseLeave()
{
    if (SAutoRefPtr<SItemPanel> panel = m_pHoverPanel) {
        m_pHoverPanel = nullptr;
        panel->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
    }
}

BOOL SItemPanelHost::OnSetCursor(POINT pt)
{
    SItemPanel* panel = m_pCapturePanel ? m_pCapturePanel : m_pHoverPanel;
    if (panel) {
        SAutoRefPtr<SItemPanel> keep = panel;
        const RECT row = PanelRowRect(panel);
        if (panel->DispatchHostMessage(WM_SETCURSOR, 0, MAKELPARAM(pt.x - row.left, pt.y - row.top))) return TRUE;
    }
    return SPanel::OnSetCursor(pt);
}

BOOL SItemPanelHost::GetToolTipInfo(POINT pt, SwndToolTipInfo& info)
{
    if (m_pHoverPanel) return m_pHoverPanel->GetToolTipInfo(pt, info);
    return SPanel::GetToolTipInfo(pt, info);
}

// ---- keyboard and focus ----

LRESULT SItemPanelHost::OnItemKeyEvent(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SAutoRefPtr<SItemPanel> panel = SelectedPanel();
    if (!panel) {
        SetMsgHandled(FALSE);
        return 0;
    }
    const LRESULT r = panel->DispatchHostMessage(msg, wParam, lParam);
    SetMsgHandled(panel->IsMsgHandled());
    return r;
}

void SItemPanelHost::OnItemSetFocus()
{
    SWindow::OnSetFocus();
    if (SItemPanel* panel = SelectedPanel()) panel->GetFocusManager()->RestoreFocus();
}

void SItemPanelHost::OnItemKillFocus()
{
    SWindow::OnKillFocus();
    if (SItemPanel* panel = SelectedPanel()) panel->GetFocusManager()->StoreFocus();
}

}  // namespace WUI
