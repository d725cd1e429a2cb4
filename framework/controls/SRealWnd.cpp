#include "controls/SRealWnd.h"

#include "core/SApplication.h"
#include "core/XmlLookup.h"

namespace WUI {

namespace {

IRealWindowHandler* Handler()
{
    SApplication* app = SApplication::GetSingletonPtr();
    return app ? app->GetRealWndHandler() : nullptr;
}

}  // namespace

// The parameters are kept before the element's own initialisation: the
// window may be made as the element is first shown during it.
BOOL SRealWnd::InitFromXml(pugi::xml_node node)
{
    m_params.reset();
    if (pugi::xml_node params = XmlChildNoCase(node, L"params")) m_params.append_copy(params);
    SAutoRefPtr<SWindow> keep(this);
    if (!SWindow::InitFromXml(node)) return FALSE;
    if (m_bInit && !HasLiveWindow()) InitRealWnd();
    return TRUE;
}

BOOL SRealWnd::ProcessSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_SHOWWINDOW:
        SWindow::ProcessSwndMessage(msg, wParam, lParam, result);
        OnShow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        break;
    case WM_SIZE:
        SWindow::ProcessSwndMessage(msg, wParam, lParam, result);
        OnResize();
        break;
    case WM_DESTROY:
        OnDestroyRealWnd();
        return SWindow::ProcessSwndMessage(msg, wParam, lParam, result);
    case WM_PAINT:
        break;  // the native window paints itself
    default:
        return SWindow::ProcessSwndMessage(msg, wParam, lParam, result);
    }
    result = 0;
    return TRUE;
}

HWND SRealWnd::GetRealHwnd(BOOL create)
{
    if (!create || m_bInit || HasLiveWindow()) return m_hRealWnd;
    SAutoRefPtr<SWindow> keep(this);  // the handler may destroy the element
    InitRealWnd();
    return m_hRealWnd;
}

// The handler may destroy the element while it makes the window (every
// caller holds the element): a window made for an element that went goes
// back to the handler at once, as it would have at the element's end.
BOOL SRealWnd::InitRealWnd()
{
    m_dwStyle |= WS_CHILD;
    IRealWindowHandler* handler = Handler();
    if (!handler) return FALSE;
    SAutoRefPtr<IRealWindowHandler> keep(handler);
    HWND made = handler->OnRealWindowCreate(this);
    if (!made || !::IsWindow(made)) return FALSE;
    m_hRealWnd = made;
    if (IsDestroyed()) {
        OnDestroyRealWnd();
        return FALSE;
    }
    if (!m_bInit) {
        const RECT rc = GetClientRect();
        ::SetWindowPos(made, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER);
    }
    handler->OnRealWindowInit(this);
    return TRUE;
}

void SRealWnd::OnShow(BOOL, UINT)
{
    const BOOL visible = IsVisible(TRUE);
    if (visible && !HasLiveWindow()) InitRealWnd();
    if (HasLiveWindow()) ::ShowWindow(m_hRealWnd, visible ? SW_SHOW : SW_HIDE);
}

void SRealWnd::OnResize()
{
    IRealWindowHandler* handler = Handler();
    if (!handler || !HasLiveWindow() || handler->OnRealWindowSize(this)) return;
    const RECT rc = GetClientRect();
    ::SetWindowPos(m_hRealWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER);
}

void SRealWnd::OnDestroyRealWnd()
{
    IRealWindowHandler* handler = Handler();
    if (HasLiveWindow() && handler) handler->OnRealWindowDestroy(this);
    m_hRealWnd = nullptr;
}

}  // namespace WUI
