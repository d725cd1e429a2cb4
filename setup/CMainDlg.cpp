#include "CMainDlg.h"

#include "CQueryDlg.h"
#include "InstallFolder.h"
#include "InstallSpace.h"
#include "engine/InstallWorker.h"
#include "engine/WorkerMessages.h"
#include "syshelpers/RegistryEntries.h"
#include "syshelpers/Shortcuts.h"

#include "controls/SProgress.h"
#include "core/EventArgs.h"
#include "core/SWindowMgr.h"

#include <shlobj.h>

#include <algorithm>

namespace {

const wchar_t* const kFeatherNames[4] = {L"img_feather_show_01", L"img_feather_show_02", L"img_feather_show_03",
                                         L"img_feather_show_04"};

std::wstring Launcher(const std::wstring& folder) { return folder + L"\\OrvoMain.exe"; }

}  // namespace

CMainDlg::CMainDlg(HMODULE archiveModule)
    : CWizardWnd(L"LAYOUT:XML_MAINWND"), archiveModule_(archiveModule ? archiveModule : GetModuleHandleW(nullptr))
{
}

CMainDlg::~CMainDlg() { StopWorker(); }

BOOL CMainDlg::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                    DWORD mapId)
{
    if (mapId == 0) {
        result = 0;
        switch (msg) {
        case WM_INITDIALOG: OnInitDialog(static_cast<int>(lParam)); return TRUE;
        case WM_CLOSE: OnClose(); return TRUE;
        case WM_TIMER:
            if (wParam == kTimerCarouselWait || wParam == kTimerCarouselSlide) {
                OnTimer(wParam);
                return TRUE;
            }
            break;
        case kMsgInstallProgress: OnInstallProgress(wParam, lParam); return TRUE;
        case kMsgInstallDone: OnInstallDone(wParam); return TRUE;
        case WM_DESTROY: StopWorker(); break;  // then the host's own teardown
        default: break;
        }
    }
    return SHostWnd::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
}

void CMainDlg::OnInitDialog(int languageIndex)
{
    languageIndex_ = languageIndex == 1 ? 1 : 0;
    const WUI::SStringW icon = languageIndex_ ? L"1" : L"0";
    for (int i = 0; i < 4; ++i) {
        WUI::SWindow* feather = FindChildByName(kFeatherNames[i]);
        feathers_[i] = feather ? feather->GetSwnd() : 0;
    }
    currentFeather_ = 0;
    for (const wchar_t* name : {L"img_logo", L"img_begin_note", L"img_finish_note", L"img_feather_show_01",
                                L"img_feather_show_02", L"img_feather_show_03", L"img_feather_show_04"})
        if (WUI::SWindow* image = FindChildByName(name)) image->SetAttribute(L"iconIndex", icon, FALSE);

    for (const wchar_t* name : {L"btn_to_config", L"btn_from_license_to_config", L"btn_to_install", L"btn_finish"})
        if (WUI::SWindow* button = FindChildByName(name))
            button->GetEventSet()->SubscribeEvent(WUI::EventCmd::EventID, &CMainDlg::OnPageButton, this);
    if (WUI::SWindow* link = FindChildByName(L"link_to_license"))
        link->GetEventSet()->SubscribeEvent(WUI::EventCmd::EventID, &CMainDlg::OnLicenseLink, this);
    if (WUI::SWindow* browse = FindChildByName(L"btn_change_dir"))
        browse->GetEventSet()->SubscribeEvent(WUI::EventCmd::EventID, &CMainDlg::OnChangeDir, this);
    if (WUI::SWindow* edit = FindChildByName(L"edit_location"))
        edit->GetEventSet()->SubscribeEvent(WUI::EventInfo<WUI::EventRENotify>::id, &CMainDlg::OnLocationChanged, this);

    for (const wchar_t* name : {L"check_create_desktop_shortcut", L"check_create_start_menu_shortcut",
                                L"check_run_right_now"})
        if (WUI::SWindow* box = FindChildByName(name)) box->SetCheck(TRUE);
    if (WUI::SWindow* box = FindChildByName(L"check_auto_run")) box->SetCheck(FALSE);

    folder_ = DefaultInstallFolder();
    SetElementText(L"edit_location", folder_);
    ShowRequiredSpace();
    ShowAvailableSpace();
}

bool CMainDlg::OnPageButton(WUI::EventArgs& args)
{
    if (IsNamed(args, L"btn_to_config")) {
        ShowPage(L"page_begin", L"page_config");
    } else if (IsNamed(args, L"btn_from_license_to_config")) {
        ShowPage(L"page_license", L"page_config");
    } else if (IsNamed(args, L"btn_to_install")) {
        if (worker_ || !ValidateInstallDir()) return true;
        ShowPage(L"page_config", L"page_installing");
        StartInstallThread();
    } else if (IsNamed(args, L"btn_finish")) {
        RunClientIfChecked();
        DestroyWindow();
    }
    return true;
}

bool CMainDlg::OnLicenseLink(WUI::EventArgs&)
{
    ShowPage(L"page_begin", L"page_license");
    if (WUI::SWindow* text = FindChildByName(L"re_license")) {
        text->SendSwndMessage(EM_SETSEL, 0, 0);
        text->SendSwndMessage(WM_VSCROLL, SB_TOP, 0);
    }
    return true;
}

bool CMainDlg::OnChangeDir(WUI::EventArgs&)
{
    const WUI::SStringW title = TranslateText(L"Location");
    BROWSEINFOW info = {};
    info.hwndOwner = m_hWnd;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return true;
    wchar_t path[MAX_PATH] = {};
    const bool hasPath = SHGetPathFromIDListW(chosen, path) && path[0];
    CoTaskMemFree(chosen);
    if (!hasPath) return true;
    folder_ = InstallFolderUnder(path);
    SetElementText(L"edit_location", folder_);
    ShowAvailableSpace();
    return true;
}

bool CMainDlg::OnLocationChanged(WUI::EventArgs&)
{
    TakeTypedFolder();
    return true;
}

void CMainDlg::TakeTypedFolder()
{
    WUI::SWindow* edit = FindChildByName(L"edit_location");
    if (!edit) return;
    const WUI::SStringW typed = edit->GetWindowText();
    if (folder_ == typed.c_str()) return;
    folder_ = typed.c_str();
    ShowAvailableSpace();
}

void CMainDlg::OnClose()
{
    if (IsOnLastPage()) {
        DestroyWindow();
        return;
    }
    if (!Ask(L"SureToExit", false)) return;
    // The worker may have ended, and the window with it, while the question was open.
    if (!IsWindow(m_hWnd)) return;
    StopWorker();
    DestroyWindow();
}

void CMainDlg::OnTimer(UINT_PTR id)
{
    if (id == kTimerCarouselWait) {
        KillTimer(kTimerCarouselWait);
        SetTimer(kTimerCarouselSlide, 1);
    } else {
        SlideCarousel();
    }
}

void CMainDlg::SlideCarousel()
{
    WUI::SWindow* images[4];
    for (int i = 0; i < 4; ++i) {
        images[i] = WUI::SWindowMgr::GetWindow(feathers_[i]);
        if (!images[i] || !images[i]->IsPlaced()) {
            KillTimer(kTimerCarouselSlide);
            return;
        }
    }
    const RECT current = images[currentFeather_]->GetWindowRect();
    const int step = std::min<int>(current.right, 20);
    for (WUI::SWindow* image : images) {
        RECT rc = image->GetWindowRect();
        OffsetRect(&rc, -step, 0);
        image->Move(&rc);
    }
    if (step > 4) return;
    // The picture that left the view goes to the end of the row.
    const RECT last = images[(currentFeather_ + 3) % 4]->GetWindowRect();
    RECT moved = images[currentFeather_]->GetWindowRect();
    OffsetRect(&moved, last.right - moved.left, 0);
    images[currentFeather_]->Move(&moved);
    currentFeather_ = (currentFeather_ + 1) % 4;
    KillTimer(kTimerCarouselSlide);
    SetTimer(kTimerCarouselWait, kCarouselWaitMs);
}

void CMainDlg::OnInstallProgress(WPARAM total, LPARAM index)
{
    auto* progress = static_cast<WUI::SProgress*>(FindChildByName(L"prg_installing"));
    if (!progress) return;
    progress->SetRange(0, static_cast<int>(total));
    // The entry at index is written: the bar shows the entries done, full at the last.
    progress->SetValue(static_cast<int>(index) + 1);
}

void CMainDlg::OnInstallDone(WPARAM result)
{
    // The worker has posted its last message and is ending.
    if (worker_) worker_->Wait(kStopWaitMs);
    KillTimer(kTimerCarouselWait);
    KillTimer(kTimerCarouselSlide);
    // An install without its registration could not be removed again: it failed too.
    if (result != 0 || !RegisterInstall()) {
        StopWorker();
        Ask(L"FailedToInstall", true);
        DestroyWindow();
        return;
    }
    worker_.reset();
    ShowPage(L"page_installing", L"page_end");
}

void CMainDlg::ShowRequiredSpace()
{
    sizeKnown_ = ReadClientArchiveSize(archiveModule_, &unpackedSize_);
    if (!sizeKnown_) unpackedSize_ = 0;
    SetElementText(L"txt_required_space", std::to_wstring(RequiredMiB(unpackedSize_)) + L"M");
}

void CMainDlg::ShowAvailableSpace()
{
    uint64_t bytes = 0;
    availableKnown_ = GetAvailableBytes(folder_, &bytes);
    availableMiB_ = availableKnown_ ? bytes / (1024 * 1024) : 0;
    SetElementText(L"txt_available_space", availableKnown_ ? std::to_wstring(availableMiB_) + L"M" : std::wstring());
}

bool CMainDlg::ValidateInstallDir()
{
    TakeTypedFolder();
    bool created = false;
    std::wstring full;
    switch (PrepareInstallFolder(folder_, &created, &full)) {
    case FolderCheck::kCannotCreate: Ask(L"DestinationFolderDoesNotExist", true); return false;
    case FolderCheck::kHoldsOtherFiles: Ask(L"FolderHoldsOtherFiles", true); return false;
    case FolderCheck::kReady: break;
    }
    // The folder exists now, so its own volume is read.
    folder_ = full;
    folderMade_ = created;
    SetElementText(L"edit_location", folder_);
    ShowAvailableSpace();
    if (!availableKnown_ || availableMiB_ < RequiredMiB(unpackedSize_)) {
        if (created) RemoveDirectoryW(folder_.c_str());
        Ask(L"SpaceAvailableIsNotEnough", true);
        return false;
    }
    return true;
}

void CMainDlg::StartInstallThread()
{
    SetTimer(kTimerCarouselWait, kCarouselWaitMs);
    worker_.reset(new CInstallWorker(archiveModule_, folder_, m_hWnd));
    if (!worker_->Start()) {
        worker_.reset();
        OnInstallDone(kEntryMissing);
    }
}

bool CMainDlg::RegisterInstall()
{
    if (WriteUninstallInfo() != ERROR_SUCCESS) return false;
    const std::wstring launcher = Launcher(folder_);
    const WUI::SStringW name = TranslateText(L"Orvoesports");
    // Links of earlier installs, in either language.
    for (const wchar_t* earlier : {L"Orvoesports", L"Orvo对战平台"}) {
        DeleteDesktopShortcut(earlier);
        DeleteStartMenuFolder(earlier);
    }
    if (IsBoxChecked(L"check_create_desktop_shortcut")) CreateDesktopShortcut(launcher, name.c_str());
    if (IsBoxChecked(L"check_create_start_menu_shortcut"))
        CreateStartMenuShortcuts(launcher, name.c_str(), folder_ + L"\\OrvoUninstall.exe",
                                 TranslateText(L"UninstallOrvoesports").c_str());
    // An earlier install's start at logon goes when the box is not ticked now.
    if (IsBoxChecked(L"check_auto_run")) SetAutoRun(launcher);
    else RemoveAutoRun();
    SHChangeNotify(SHCNE_ASSOCCHANGED, 0, nullptr, nullptr);
    return true;
}

LSTATUS CMainDlg::WriteUninstallInfo()
{
    UninstallInfo info;
    info.displayName = TranslateText(L"Orvoesports").c_str();
    info.uninstallerPath = folder_ + L"\\OrvoUninstall.exe";
    info.iconPath = Launcher(folder_);
    info.publisher = TranslateText(L"Publisher").c_str();
    info.estimatedSizeKb = static_cast<DWORD>(unpackedSize_ / 1024);
    info.languageIndex = static_cast<DWORD>(languageIndex_);
    return WriteUninstallKey(info);
}

void CMainDlg::RunClientIfChecked()
{
    if (!IsBoxChecked(L"check_run_right_now")) return;
    const std::wstring launcher = Launcher(folder_);
    std::wstring commandLine = L"\"" + launcher + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(launcher.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void CMainDlg::StopWorker()
{
    if (!worker_) return;
    worker_->RequestStop();
    if (!worker_->Wait(kStopWaitMs)) {
        (void)worker_.release();  // still inside a file call: it ends with the process
        return;
    }
    // Nothing registers what an unfinished install wrote, so no uninstaller
    // would ever remove it.
    worker_->RemoveAdded();
    worker_.reset();
    if (folderMade_) RemoveDirectoryW(folder_.c_str());
}

bool CMainDlg::IsOnLastPage()
{
    WUI::SWindow* finish = FindChildByName(L"btn_finish");
    return finish && finish->IsVisible(TRUE);
}

bool CMainDlg::IsBoxChecked(const wchar_t* name)
{
    WUI::SWindow* box = FindChildByName(name);
    return box && box->IsChecked();
}

void CMainDlg::ShowPage(const wchar_t* hide, const wchar_t* show)
{
    if (WUI::SWindow* page = FindChildByName(hide)) page->SetVisible(FALSE, TRUE);
    if (WUI::SWindow* page = FindChildByName(show)) page->SetVisible(TRUE, TRUE);
}

void CMainDlg::SetElementText(const wchar_t* name, const std::wstring& text)
{
    if (WUI::SWindow* element = FindChildByName(name)) element->SetWindowText(text.c_str());
}

bool CMainDlg::Ask(const wchar_t* key, bool oneButton) { return CQueryDlg::Ask(key, oneButton, m_hWnd) == IDOK; }
