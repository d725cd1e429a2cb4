// A host window run modally: it disables its owner, runs a loop of its own
// until it is ended with a result, restores the owner and returns the result.
// Elements of id 1 and 2 end it, as do Enter, Escape and the close command.
#pragma once

#include "core/SHostWnd.h"

namespace WUI {

class SHostDialog : public SHostWnd {
    WUI_SWINDOW_CLASS(SHostDialog, SHostWnd, L"hostdlg")
public:
    explicit SHostDialog(LPCWSTR layout = nullptr);
    // Hands the dialog's loop back to the factory.
    ~SHostDialog() override;

    // Creates and shows the dialog, runs its loop until EndModal or until
    // the window is destroyed, and returns the result: -1 when the dialog
    // was never ended or could not be made. Without an owner the active
    // window owns it. A WM_QUIT that reaches this loop ends it too and is
    // posted again for the loops outside.
    INT_PTR DoModal(HWND owner = nullptr);
    // Ends this dialog's loop only (nested dialogs end their own), with result.
    void EndModal(INT_PTR result);
    virtual void OnOK() { EndModal(IDOK); }
    virtual void OnCancel() { EndModal(IDCANCEL); }

    // Commands of elements 1 and 2 end the dialog (true); others are not handled.
    BOOL OnFireEvent(EventArgs& args) override;
    // The dialog's own loop: its tooltip and filters register there.
    SMessageLoop* GetMsgLoop() override { return m_loop; }

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    BOOL IsEnded() const { return m_bEnded; }

private:
    void OnKeyDown(WPARAM key, LPARAM lParam);

    INT_PTR m_nRetCode = -1;
    BOOL m_bEnded = FALSE;
    SMessageLoop* m_loop = nullptr;
};

}  // namespace WUI
