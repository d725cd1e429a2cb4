#include "controls/SDropDownWnd.h"

namespace WUI {

namespace {

SMessageLoop* OwnerLoop(ISDropDownOwner* owner)
{
    SWindow* element = owner ? owner->GetDropDownOwner() : nullptr;
    ISwndContainer* container = element ? element->GetContainer() : nullptr;
    return container ? container->GetMsgLoop() : nullptr;
}

}  // namespace

SDropDownWnd::SDropDownWnd(ISDropDownOwner* owner) : SHostWnd(nullptr), m_owner(owner)
{
    m_msgLoop = OwnerLoop(owner);
    if (m_msgLoop) m_msgLoop->AddMessageFilter(this);
}

SDropDownWnd::~SDropDownWnd()
{
    if (m_msgLoop) m_msgLoop->RemoveMessageFilter(this);
}

HWND SDropDownWnd::Create(const RECT& rc, LPVOID, DWORD style, DWORD exStyle)
{
    SWindow* element = m_owner ? m_owner->GetDropDownOwner() : nullptr;
    ISwndContainer* container = element ? element->GetContainer() : nullptr;
    HWND parent = container ? container->GetHostHwnd() : nullptr;
    HWND hwnd = CreateEx(parent, style, exStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    if (!hwnd) return nullptr;
    m_owner->OnCreateDropDown(this);
    return hwnd;
}

void SDropDownWnd::EndDropDown(UINT code)
{
    if (m_exitCode != -1) return;
    m_exitCode = int(code);
    SAutoRefPtr<SWindow> keep(this);  // the window's last message lets its reference go
    DestroyWindow();
}

BOOL SDropDownWnd::ReleaseCapture()
{
    const BOOL released = SHostWnd::ReleaseCapture();
    if (m_hWnd && m_exitCode == -1) ::SetCapture(m_hWnd);
    return released;
}

void SDropDownWnd::FreeThunk(HWND hWnd)
{
    SHostWnd::FreeThunk(hWnd);
    Release();  // deleted now unless a call of ours still runs and holds a reference
}

BOOL SDropDownWnd::InClient(POINT pt) const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    return ::PtInRect(&rc, pt);
}

// A filter call may end the drop-down (a key sent to it closes it): the
// reference keeps the object until the call is done.
BOOL SDropDownWnd::PreTranslateMessage(MSG* msg)
{
    if (!m_hWnd) return FALSE;
    SAutoRefPtr<SWindow> keep(this);
    if (msg->message == WM_ACTIVATEAPP) {
        ::SendMessageW(m_hWnd, WM_ACTIVATEAPP, msg->wParam, msg->lParam);
    } else if (msg->message == WM_MOUSEMOVE) {
        ::SendMessageW(m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    return FALSE;
}

BOOL SDropDownWnd::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                        DWORD mapId)
{
    SAutoRefPtr<SWindow> keep(this);
    const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
    case WM_DESTROY:
        if (m_owner) m_owner->OnDestroyDropDown(this);
        break;
    case WM_ACTIVATE:
        result = 0;
        return TRUE;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) EndDropDown(IDCANCEL);
        result = 0;
        return TRUE;
    case WM_ACTIVATEAPP:
        if (!wParam) EndDropDown(IDCANCEL);
        result = 0;
        return TRUE;
    case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATEANDEAT;
        return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            EndDropDown(wParam == VK_RETURN ? IDOK : IDCANCEL);
            result = 0;
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        if (!InClient(pt)) {
            EndDropDown(IDCANCEL);
            result = 0;
            return TRUE;
        }
        m_bClick = TRUE;
        break;
    case WM_LBUTTONUP:
        // The release of the press that opened the drop-down is not ours.
        if (!m_bClick) {
            result = 0;
            return TRUE;
        }
        m_bClick = FALSE;
        SHostWnd::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
        if (m_exitCode == -1 && m_hWnd && !InClient(pt)) EndDropDown(IDCANCEL);
        return TRUE;
    default:
        break;
    }
    return SHostWnd::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
}

BOOL SDropDownWnd_ComboBox::PreTranslateMessage(MSG* msg)
{
    if (!m_hWnd) return FALSE;
    SAutoRefPtr<SWindow> keep(this);
    SDropDownWnd::PreTranslateMessage(msg);
    const bool key = (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
                     (msg->wParam == VK_UP || msg->wParam == VK_DOWN || msg->wParam == VK_RETURN ||
                      msg->wParam == VK_ESCAPE);
    if (!key && msg->message != WM_MOUSEWHEEL) return FALSE;
    if (m_hWnd) ::SendMessageW(m_hWnd, msg->message, msg->wParam, msg->lParam);
    return TRUE;
}

}  // namespace WUI
