#include "controls/SCaption.h"

namespace WUI {

namespace {

// SC_MOVE, SC_RESTORE and SC_MAXIMIZE as sent from a caption (HTCAPTION added).
const WPARAM kMoveByCaption = 0xF012;
const WPARAM kRestoreByCaption = 0xF122;
const WPARAM kMaximizeByCaption = 0xF032;

bool IsMaximized(HWND host)
{
    return (::GetWindowLongW(host, GWL_STYLE) & WS_MAXIMIZE) != 0;
}

// Windows of the version-6 workstation family restore a maximised window
// when its caption is dragged.
bool DragsMaximized()
{
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return false;
    return info.wProductType == VER_NT_WORKSTATION && info.dwMajorVersion == 6;
}

}  // namespace

HWND SCaption::Host() const
{
    return m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
}

BOOL SCaption::ProcessSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_LBUTTONDOWN: OnLButtonDown(); break;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(); break;
    case WM_MOUSEMOVE: OnMouseMove(); break;
    case WM_LBUTTONUP: m_bIsMaxDown = FALSE; break;
    default: return SWindow::ProcessSwndMessage(msg, wParam, lParam, result);
    }
    result = 0;
    return TRUE;
}

// The platform's move loop runs inside the WM_SYSCOMMAND and takes the
// button-up with it: the tree is told the button was released.
void SCaption::OnLButtonDown()
{
    if (IsFocusable()) SetFocus();
    HWND host = Host();
    if (!host) return;
    if (IsMaximized(host)) {
        m_bIsMaxDown = TRUE;
        return;
    }
    const SwndMsg* current = GetCurMsg();
    const WPARAM wParam = current ? current->wParam : 0;
    const LPARAM lParam = current ? current->lParam : 0;
    SAutoRefPtr<SWindow> keep(this);
    ::SendMessageW(host, WM_SYSCOMMAND, kMoveByCaption, 0);
    ::SendMessageW(host, WM_LBUTTONUP, wParam, lParam);
}

void SCaption::OnLButtonDblClk()
{
    HWND host = Host();
    if (!host) return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(host, GWL_STYLE));
    if (!(style & WS_THICKFRAME) || !(style & WS_MAXIMIZEBOX)) return;
    ::SendMessageW(host, WM_SYSCOMMAND, IsMaximized(host) ? kRestoreByCaption : kMaximizeByCaption, 0);
}

void SCaption::OnMouseMove()
{
    HWND host = Host();
    if (!host || !m_bIsMaxDown || !IsMaximized(host) || !DragsMaximized()) return;
    m_bIsMaxDown = FALSE;
    ::SendMessageW(host, WM_SYSCOMMAND, kMoveByCaption, 0);
}

}  // namespace WUI
