#include "CUnMainDlg.h"

#include "CQueryDlg.h"
#include "UninstallFolder.h"
#include "engine/UninstallWorker.h"
#include "engine/WorkerMessages.h"
#include "syshelpers/BatchFiles.h"
#include "syshelpers/RegistryEntries.h"
#include "syshelpers/Shortcuts.h"

#include "controls/SProgress.h"
#include "core/EventArgs.h"

CUnMainDlg::CUnMainDlg() : CWizardWnd(L"LAYOUT:XML_UNMAINWND") {}

CUnMainDlg::~CUnMainDlg() { StopWorker(); }

BOOL CUnMainDlg::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                      DWORD mapId)
{
    if (mapId == 0) {
        result = 0;
        switch (msg) {
        case WM_INITDIALOG: OnInitDialog(); return TRUE;
        case WM_CLOSE: OnClose(); return TRUE;
        case kMsgUninstallProgress: OnProgress(wParam, lParam); return TRUE;
        case kMsgUninstallDone: OnUninstallDone(wParam); return TRUE;
        case WM_DESTROY: StopWorker(); break;  // then the host's own teardown
        default: break;
        }
    }
    return SHostWnd::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
}

void CUnMainDlg::OnInitDialog()
{
    folder_ = CurrentUninstallFolder();
    if (WUI::SWindow* cancel = FindChildByName(L"btn_to_cancel"))
        cancel->GetEventSet()->SubscribeEvent(WUI::EventCmd::EventID, &CUnMainDlg::OnCancelButton, this);
    for (const wchar_t* name : {L"btn_to_uninstall", L"btn_finish"})
        if (WUI::SWindow* button = FindChildByName(name))
            button->GetEventSet()->SubscribeEvent(WUI::EventCmd::EventID, &CUnMainDlg::OnPageButton, this);
}

bool CUnMainDlg::OnCancelButton(WUI::EventArgs&)
{
    OnClose();
    return true;
}

bool CUnMainDlg::OnPageButton(WUI::EventArgs& args)
{
    if (IsNamed(args, L"btn_to_uninstall")) StartUninstall();
    else if (IsNamed(args, L"btn_finish")) FinishAndRemoveFolder();
    return true;
}

void CUnMainDlg::StartUninstall()
{
    if (worker_) return;
    // Only the uninstaller's own, registered folder is ever emptied.
    if (folder_.empty()) {
        CQueryDlg::Ask(L"FailedToUninstall", true, m_hWnd);
        DestroyWindow();
        return;
    }
    ShowPage(L"page_unconfig", L"page_uninstalling");
    worker_.reset(new CUninstallWorker(folder_, m_hWnd));
    if (!worker_->Start()) {
        worker_.reset();
        OnUninstallDone(kUninstallRefused);
    }
}

void CUnMainDlg::OnProgress(WPARAM total, LPARAM done)
{
    if (WUI::SProgress* progress = static_cast<WUI::SProgress*>(FindChildByName(L"prg_installing"))) {
        progress->SetRange(0, static_cast<int>(total));
        progress->SetValue(static_cast<int>(done));
    }
}

void CUnMainDlg::OnUninstallDone(WPARAM result)
{
    // The worker has posted its last message and is ending.
    if (worker_) {
        worker_->Wait(kStopWaitMs);
        worker_.reset();
    }
    if (result != kUninstallOk) {
        CQueryDlg::Ask(L"FailedToUninstall", true, m_hWnd);
        DestroyWindow();
        return;
    }
    ShowPage(L"page_uninstalling", L"page_unend");
    RemoveInstallRegistration();
}

void CUnMainDlg::RemoveInstallRegistration()
{
    const WUI::SStringW name = TranslateText(L"Orvoesports");
    DeleteDesktopShortcut(name.c_str());
    DeleteStartMenuFolder(name.c_str());
    RemoveAutoRun();
    DeleteUninstallKey();
}

void CUnMainDlg::OnClose()
{
    if (IsOnLastPage()) FinishAndRemoveFolder();
    if (CQueryDlg::Ask(L"SureToExitUn", false, m_hWnd) != IDOK) return;
    // The removal may have finished while the question was open.
    if (IsOnLastPage()) FinishAndRemoveFolder();
    DestroyWindow();
}

void CUnMainDlg::FinishAndRemoveFolder()
{
    const std::wstring folder = folder_;
    DestroyWindow();
    SelfDeleteWithCleanBat(folder);
}

void CUnMainDlg::StopWorker()
{
    if (!worker_) return;
    worker_->RequestStop();
    if (worker_->Wait(kStopWaitMs)) worker_.reset();
    else (void)worker_.release();  // still inside a file call: it ends with the process
}

bool CUnMainDlg::IsOnLastPage()
{
    WUI::SWindow* finish = FindChildByName(L"btn_finish");
    return finish && finish->IsVisible(TRUE);
}

void CUnMainDlg::ShowPage(const wchar_t* hide, const wchar_t* show)
{
    if (WUI::SWindow* page = FindChildByName(hide)) page->SetVisible(FALSE, TRUE);
    if (WUI::SWindow* page = FindChildByName(show)) page->SetVisible(TRUE, TRUE);
}
