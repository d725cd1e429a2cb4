// The uninstall wizard: confirm, removing (the uninstall worker with its
// progress), done; on finish the registration goes and the program's own
// folder is handed to a batch file that removes it after the program ends.
#pragma once

#include "CWizardWnd.h"

#include <memory>
#include <string>

class CUninstallWorker;

class CUnMainDlg : public CWizardWnd {
public:
    CUnMainDlg();
    // Stops a worker still running (see StopWorker).
    ~CUnMainDlg() override;

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // How long closing waits for a worker asked to stop.
    static const DWORD kStopWaitMs = 5000;

private:
    void OnInitDialog();
    bool OnPageButton(WUI::EventArgs& args);
    bool OnCancelButton(WUI::EventArgs& args);
    void OnClose() override;
    void OnProgress(WPARAM total, LPARAM done);
    void OnUninstallDone(WPARAM result);
    void StartUninstall();
    // Deletes the shortcuts, the Run value and the uninstall key.
    void RemoveInstallRegistration();
    // Destroys the window and hands the folder to the removal batch; the
    // process ends there.
    [[noreturn]] void FinishAndRemoveFolder();
    // Asks a running worker to stop and waits for it, bounded; a worker
    // that does not stop in time is left to end with the process.
    void StopWorker();
    bool IsOnLastPage();
    void ShowPage(const wchar_t* hide, const wchar_t* show);

    std::wstring folder_;  // the folder to remove; empty when the uninstall is refused
    std::unique_ptr<CUninstallWorker> worker_;
};
