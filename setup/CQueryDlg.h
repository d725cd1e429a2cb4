// The setup's own modal question box: one translated message with OK and
// Cancel, or OK alone.
#pragma once

#include "core/SHostDialog.h"

class CQueryDlg : public WUI::SHostDialog {
public:
    // key: the translation source of the message; oneButton: OK alone.
    CQueryDlg(const wchar_t* key, bool oneButton);

    // OK ends with IDOK; Cancel, the caption's close button and WM_CLOSE with IDCANCEL.
    BOOL OnFireEvent(WUI::EventArgs& args) override;
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // Shows a question modally over owner (null: the active window): IDOK or
    // IDCANCEL; -1 when the dialog cannot be made (callers act on IDOK only).
    static INT_PTR Ask(const wchar_t* key, bool oneButton, HWND owner = nullptr);

private:
    void OnInitDialog();

    WUI::SStringW key_;
    bool oneButton_;
};
