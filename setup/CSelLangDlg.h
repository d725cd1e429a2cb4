// The language dialog, the first window of the install road: the start-up
// creates it with Create (the layout gives its size), sends it
// WM_INITDIALOG (0, 0), centres and shows it and runs the application's loop
// until it is destroyed. "Continue" loads the chosen translation and opens
// the install wizard in its place.
#pragma once

#include "CMainDlg.h"

#include "CWizardWnd.h"

class CSelLangDlg : public CWizardWnd {
public:
    CSelLangDlg();
    ~CSelLangDlg() override;

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // 0 Chinese (simplified), 1 English.
    int LanguageIndex() const { return languageIndex_; }

private:
    void OnInitDialog();
    void OnClose() override;
    bool OnItemHover(WUI::EventArgs& args);
    bool OnItemLeave(WUI::EventArgs& args);
    bool OnItemClick(WUI::EventArgs& args);
    bool OnGoOn(WUI::EventArgs& args);
    // Marks the item of the language index as chosen and the other as not.
    void ShowChoice();
    const wchar_t* ChosenItemName() const;

    CMainDlg mainDlg_;
    int languageIndex_ = 0;
};
