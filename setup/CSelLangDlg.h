// The language dialog, the first window of the install road: the start-up
// creates it with Create (the layout gives its size), sends it
// WM_INITDIALOG (0, 0), centres and shows it and runs the application's loop
// until it is destroyed.
#pragma once

#include "core/SHostWnd.h"

class CSelLangDlg : public WUI::SHostWnd {
public:
    CSelLangDlg();
    ~CSelLangDlg() override;

    BOOL OnFireEvent(WUI::EventArgs& args) override;
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;
};
