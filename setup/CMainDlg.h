// The install wizard: welcome, user agreement, options (folder, space,
// links, start at logon), installing (the install worker with progress and
// a carousel of pictures) and finish (links, registration, start of the
// launcher). The language dialog creates it and sends it WM_INITDIALOG with
// lParam = the language index (0 Chinese, 1 English).
#pragma once

#include "CWizardWnd.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class CInstallWorker;

class CMainDlg : public CWizardWnd {
public:
    // archiveModule carries the client archive ("_7Z"/"profile"); null: the program itself.
    explicit CMainDlg(HMODULE archiveModule = nullptr);
    // Stops a worker still running (see StopWorker).
    ~CMainDlg() override;

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // How long closing waits for a worker asked to stop.
    static const DWORD kStopWaitMs = 5000;
    // Carousel timers: a picture stays, then slides out.
    enum : UINT_PTR { kTimerCarouselWait = 1, kTimerCarouselSlide = 2 };
    static const UINT kCarouselWaitMs = 2500;

private:
    void OnInitDialog(int languageIndex);
    bool OnPageButton(WUI::EventArgs& args);
    bool OnLicenseLink(WUI::EventArgs& args);
    bool OnChangeDir(WUI::EventArgs& args);
    bool OnLocationChanged(WUI::EventArgs& args);
    void OnClose() override;
    void OnTimer(UINT_PTR id);
    void OnInstallProgress(WPARAM total, LPARAM index);
    void OnInstallDone(WPARAM result);

    void ShowRequiredSpace();
    void ShowAvailableSpace();
    // Takes the folder typed in edit_location when it changed.
    void TakeTypedFolder();
    // Makes and checks the folder and the space; asks the user about what is wrong.
    bool ValidateInstallDir();
    void StartInstallThread();
    // The finish actions: the uninstall registration, then the links (those
    // of earlier installs removed) and the start at logon. False, with
    // nothing else done, when the registration cannot be written.
    bool RegisterInstall();
    LSTATUS WriteUninstallInfo();
    void RunClientIfChecked();
    // Asks a worker that has not reached the finish page to stop and waits
    // for it, bounded, then takes back the files and folders the install
    // added (the install folder too when this run made it); a worker that
    // does not stop in time is left to end with the process.
    void StopWorker();
    // One step of the carousel's slide.
    void SlideCarousel();

    bool IsOnLastPage();
    bool IsBoxChecked(const wchar_t* name);
    void ShowPage(const wchar_t* hide, const wchar_t* show);
    void SetElementText(const wchar_t* name, const std::wstring& text);
    bool Ask(const wchar_t* key, bool oneButton);

    HMODULE archiveModule_;
    WUI::SWND feathers_[4] = {};
    int currentFeather_ = 0;
    std::unique_ptr<CInstallWorker> worker_;
    int languageIndex_ = 0;
    uint64_t unpackedSize_ = 0;
    bool sizeKnown_ = false;
    uint64_t availableMiB_ = 0;
    bool availableKnown_ = false;
    std::wstring folder_;
    bool folderMade_ = false;  // folder_ was made by this run
};
