#include "CQueryDlg.h"

#include "core/EventArgs.h"

CQueryDlg::CQueryDlg(const wchar_t* key, bool oneButton)
    : SHostDialog(L"LAYOUT:XML_QUERYWND"), key_(key), oneButton_(oneButton)
{
}

INT_PTR CQueryDlg::Ask(const wchar_t* key, bool oneButton, HWND owner)
{
    CQueryDlg dialog(key, oneButton);
    return dialog.DoModal(owner);
}

BOOL CQueryDlg::OnFireEvent(WUI::EventArgs& args)
{
    if (args.GetId() != WUI::EventCmd::EventID) return FALSE;
    if (args.nameFrom && wcscmp(args.nameFrom, L"btn_close") == 0) {
        EndModal(IDCANCEL);
        return TRUE;
    }
    return SHostDialog::OnFireEvent(args);
}

BOOL CQueryDlg::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                     DWORD mapId)
{
    if (mapId == 0 && msg == WM_INITDIALOG) {
        OnInitDialog();
        result = TRUE;
        return TRUE;
    }
    if (mapId == 0 && msg == WM_CLOSE) {
        EndModal(IDCANCEL);
        result = 0;
        return TRUE;
    }
    return SHostDialog::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
}

void CQueryDlg::OnInitDialog()
{
    if (WUI::SWindow* message = FindChildByName(L"txt_promption"))
        message->SetWindowText(message->TranslateText(key_));
    if (!oneButton_) return;
    if (WUI::SWindow* cancel = FindChildByID(IDCANCEL)) cancel->SetVisible(FALSE, TRUE);
    if (WUI::SWindow* ok = FindChildByID(IDOK)) {
        ok->SetAttribute(L"pos", L"|0,77", FALSE);
        ok->SetAttribute(L"offset", L"-0.5,0", FALSE);
    }
}
