#include "core/SHostDialog.h"

#include "core/SApplication.h"

namespace WUI {

namespace {

const DWORD kDialogStyle = WS_POPUP | WS_CLIPCHILDREN;  // 0x82000000
const UINT kHide = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

bool IsCtlColor(UINT msg)
{
    return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC;
}

}  // namespace

SHostDialog::SHostDialog(LPCWSTR layout) : SHostWnd(layout)
{
    SApplication* app = SApplication::GetSingletonPtr();
    IMsgLoopFactory* factory = app ? app->GetMsgLoopFactory() : nullptr;
    if (factory) m_loop = factory->CreateMsgLoop();
}

SHostDialog::~SHostDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);  // its tooltip leaves the loop first
    SApplication* app = SApplication::GetSingletonPtr();
    IMsgLoopFactory* factory = app ? app->GetMsgLoopFactory() : nullptr;
    if (factory) factory->DestroyMsgLoop(m_loop);
    else delete m_loop;
}

INT_PTR SHostDialog::DoModal(HWND owner)
{
    if (!m_loop) return -1;
    if (!owner) owner = ::GetActiveWindow();
    const bool disabledOwner = owner && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner);
    if (disabledOwner) ::EnableWindow(owner, FALSE);
    m_nRetCode = -1;
    m_bEnded = FALSE;
    BOOL quit = FALSE;
    int quitCode = 0;
    if (CreateEx(owner, kDialogStyle, 0, 0, 0, 0, 0)) {
        ::SendMessageW(m_hWnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(m_hWnd), 0);
        if (!m_bEnded && m_hWnd) {
            HWND previous = ::SetActiveWindow(m_hWnd);
            const bool tool = (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
            ShowWindow(tool ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL);
            quit = m_loop->RunUntil(m_bEnded, quitCode);
            if (m_hWnd) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kHide);
            if (disabledOwner) ::EnableWindow(owner, TRUE);
            if (previous && ::IsWindow(previous)) ::SetActiveWindow(previous);
        }
    }
    // The owner comes back however the dialog ended, made or not.
    if (disabledOwner && ::IsWindow(owner) && !::IsWindowEnabled(owner)) ::EnableWindow(owner, TRUE);
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
    if (quit) ::PostQuitMessage(quitCode);
    return m_nRetCode;
}

void SHostDialog::EndModal(INT_PTR result)
{
    m_nRetCode = result;
    m_bEnded = TRUE;
    // Wakes the loop that waits for this dialog's flag.
    if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    else ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

BOOL SHostDialog::OnFireEvent(EventArgs& args)
{
    if (args.GetId() != EventCmd::EventID) return FALSE;
    if (args.idFrom == IDOK) OnOK();
    else if (args.idFrom == IDCANCEL) OnCancel();
    else return FALSE;
    return TRUE;
}

BOOL SHostDialog::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                       DWORD mapId)
{
    if (mapId != 0) return FALSE;
    result = 0;
    switch (msg) {
    case WM_CLOSE:
        OnCancel();
        return TRUE;
    case WM_KEYDOWN:
        OnKeyDown(wParam, lParam);
        return TRUE;
    case WM_DESTROY:
        // Destroyed from outside (its owner went): the loop must not wait on.
        if (!m_bEnded) EndModal(m_nRetCode);
        break;
    default:
        break;
    }
    if (SHostWnd::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId)) return TRUE;
    BOOL handled = FALSE;
    result = ReflectNotifications(msg, wParam, lParam, handled);
    if (handled && IsCtlColor(msg) && result == 0) handled = FALSE;
    return handled;
}

// Enter and Escape press the element of id 1 or 2 when the focused element
// and the focus manager leave the key alone, and only while that element
// could be pressed by hand: visible and enabled.
void SHostDialog::OnKeyDown(WPARAM key, LPARAM lParam)
{
    SAutoRefPtr<SWindow> keep(this);
    DispatchHostMessage(WM_KEYDOWN, key, lParam);
    if (IsMsgHandled() || (key != VK_ESCAPE && key != VK_RETURN)) return;
    SWindow* target = FindChildByID(key == VK_ESCAPE ? IDCANCEL : IDOK, -1);
    if (target && target->IsVisible(TRUE) && !target->IsDisabled(TRUE)) target->FireCommand();
}

}  // namespace WUI
