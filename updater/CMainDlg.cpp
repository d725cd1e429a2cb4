#include "CMainDlg.h"

#include "CmdLine.h"
#include "FsPath.h"
#include "core/SApplication.h"
#include "core/STranslator.h"
#include "controls/SProgress.h"
#include "syshelpers/BatchFiles.h"

#include "ClientLaunch.h"

using WUI::SStringW;

namespace {

const UINT_PTR kProgressTimer = 1;

// What waits to be shown.
const unsigned kDueName = 1, kDueCounter = 2, kDueProgress = 4;

SStringW FromSystem(const char* text, size_t limit)
{
    size_t n = strnlen(text, limit);
    int length = MultiByteToWideChar(CP_ACP, 0, text, int(n), nullptr, 0);
    if (length <= 0)
        return SStringW();
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, int(n), &wide[0], length);
    return SStringW(wide.c_str());
}

SStringW Number(long long value)
{
    wchar_t text[24];
    _snwprintf(text, 24, L"%lld", value);
    text[23] = 0;
    return SStringW(text);
}

} // namespace

CMainDlg::CMainDlg(OrvoClientUpdater& updater, const wchar_t* commandLine)
    : SHostWnd(L"LAYOUT:XML_MAINWND"), m_updater(updater), m_commandLine(commandLine ? commandLine : GetCommandLineW())
{
}

BOOL CMainDlg::OnFireEvent(WUI::EventArgs& args)
{
    if (args.GetId() == WUI::EventCmd::EventID && args.nameFrom) {
        const std::wstring name = args.nameFrom;
        if (name == L"btn_close") {
            DestroyWindow();
            return TRUE;
        }
        if (name == L"btn_min" || name == L"btn_restore") {
            ::SendMessageW(m_hWnd, WM_SYSCOMMAND, name == L"btn_min" ? SC_MINIMIZE : SC_RESTORE, 0);
            return TRUE;
        }
    }
    return SHostWnd::OnFireEvent(args);
}

BOOL CMainDlg::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                    DWORD mapId)
{
    result = 0;
    // Buffers travelling with the worker's messages are the window's to free.
    switch (msg) {
    case WM_CLOSE:
        DestroyWindow();
        return TRUE;
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_DESTROY:
        // A worker must not go on changing the folder once the window is
        // gone; a swap under way still ends first.
        m_updater.StopWorker(kStopWaitMs);
        break;  // the host tears itself down too
    case WM_TIMER:
        if (wParam != kProgressTimer)
            break;
        ::KillTimer(m_hWnd, kProgressTimer);
        m_timerSet = false;
        ShowDue();
        return TRUE;
    case kMsgProgress:
        OnProgress(int(wParam), int(lParam));
        return TRUE;
    case kMsgFileName: {
        char* text = reinterpret_cast<char*>(wParam);
        OnFileName(text);
        delete[] text;
        return TRUE;
    }
    case kMsgCounter:
        OnCounter(int(wParam), int(lParam));
        return TRUE;
    case kMsgNotice:
    case kMsgVersion: {
        char* text = reinterpret_cast<char*>(wParam);
        if (msg == kMsgNotice)
            OnNotice(text);
        else
            OnVersion(text);
        delete[] text;
        return TRUE;
    }
    case kMsgError: {
        char* text = reinterpret_cast<char*>(wParam);
        OnError(text, int(lParam));
        delete[] text;
        return TRUE;
    }
    case kMsgDone:
        OnDone();
        return TRUE;
    case kMsgWaiting:
        SetText(L"server_status", Translated(wParam ? L"UpdateWaiting" : L"Updateing"));
        return TRUE;
    default:
        break;
    }
    return SHostWnd::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
}

void CMainDlg::OnInitDialog()
{
    m_updater.SetDialogWindow(m_hWnd);
    // Read wide: the install folder may lie outside the system code page.
    CmdLineParse(Utf8FromWide(m_commandLine.c_str()).c_str());
    const std::string url = CmdLineGetValue("--updateUrl");
    const std::wstring appPath = WideFromUtf8(CmdLineGetValue("--appPath"));
    // The base address is fetched by the worker: the window shows at once.
    m_updater.Init(url.c_str(), appPath.c_str());
}

void CMainDlg::OnProgress(int total, int received)
{
    m_total = total;
    m_received = received;
    int speed = 0;
    if (m_speedClock.Report(received, GetTickCount(), &speed)) {
        SetText(L"txt_speed", FromSystem(m_fileName.c_str(), 256) + L":" + Number(speed) + L"KB/s");
        m_due &= ~kDueName;  // the speed names the file; this report's bar replaces the full one
    }
    Schedule(kDueProgress);
}

void CMainDlg::Schedule(unsigned due)
{
    // The worker reports up to fifty times a second, and once or twice per
    // file besides: painting each would take the time the download needs.
    m_due |= due;
    const DWORD tick = GetTickCount();
    if (tick - m_lastRepaint >= kProgressRepaintMs) {
        ShowDue();
        return;
    }
    if (!m_timerSet)
        m_timerSet = ::SetTimer(m_hWnd, kProgressTimer, kProgressRepaintMs - (tick - m_lastRepaint), nullptr) != 0;
}

void CMainDlg::ShowDue()
{
    const unsigned due = m_due;
    m_due = 0;
    m_lastRepaint = GetTickCount();
    auto* bar = WUI::sobj_cast<WUI::SProgress>(FindChildByName(L"progress"));
    if (due & kDueName) {
        SetText(L"txt_speed", FromSystem(m_fileName.c_str(), 256));
        if (bar) {
            bar->SetRange(0, 100);
            bar->SetValue(100);
        }
    }
    if (due & kDueCounter)
        SetText(L"txt_number", Number(m_line) + L"/" + Number(m_lineCount));
    // Progress due is newer than the name (a name drops the progress before it).
    if (due & kDueProgress) {
        if (bar) {
            bar->SetRange(0, m_total ? m_total : 100);
            bar->SetValue(m_total ? m_received : 100);
        }
        SetText(L"txt_progress", Number(ProgressPercent(m_total, m_received)) + L"%");
    }
}

void CMainDlg::OnFileName(const char* text)
{
    // A name that fills its buffer was cut on the way: it is not shown.
    m_fileName = text && strnlen(text, 256) < 256 ? text : "";
    // The speed shown for this file is taken over its own time only.
    m_speedClock.StartFile(GetTickCount());
    m_due &= ~kDueProgress;  // the last file's, outdated
    Schedule(kDueName);
}

void CMainDlg::OnCounter(int line, int count)
{
    m_line = line;
    m_lineCount = count;
    Schedule(kDueCounter);
}

void CMainDlg::OnNotice(const char* text)
{
    WUI::SWindow* notice = FindChildByName(L"txt_notice");
    if (text && notice && notice->IsClass(L"richedit"))
        notice->SetWindowText(FromSystem(text, 2048));
}

void CMainDlg::OnVersion(const char* text)
{
    if (!text)
        return;
    const VersionText version = ParseVersionText(std::string(text, strnlen(text, 2048)).c_str());
    if (!version.accepted) {
        // Cut to fit, the name could be another program's.
        m_clientName.clear();
        SetText(L"server_status", Translated(L"updateError") + L":version.txt_" + Number(ERROR_INVALID_NAME));
        return;
    }
    if (version.namesClient)
        m_clientName = version.clientName;
    SetText(L"current_version", FromSystem(version.shown.c_str(), 256));
}

void CMainDlg::OnError(const char* text, int code)
{
    if (!FindChildByName(L"server_status"))
        return;
    SetText(L"server_status", Translated(L"updateError") + L":" + FromSystem(text ? text : "", 1024) + L"_" +
                                  Number(code));
}

void CMainDlg::OnDone()
{
    SetText(L"server_status", Translated(L"UpdateComplete"));
    const std::wstring folder = m_updater.GetInstallFolderW();
    const std::wstring name = FromSystem(m_clientName.c_str(), 256).c_str();
    // Never a path, and never the launcher itself (it would start itself
    // for ever).
    DWORD error = ERROR_INVALID_NAME;
    if (IsAcceptableClientName(name, LauncherFileName()))
        error = StartClient(folder, name);
    if (error == 0)
        OnClientStarted(folder);
    else
        SetText(L"server_status", Translated(L"updateError") + L":" + Number(error));
    // "del.bat" runs by now, or never will: another launcher may have the folder.
    m_updater.ReleaseFolder();
}

void CMainDlg::OnClientStarted(const std::wstring& folder)
{
    WriteDelBatAndRun(folder);
    // The worker, which still holds the folder, ends with the process.
    ExitProcess(0);
}

void CMainDlg::SetText(LPCWSTR name, const SStringW& text)
{
    if (WUI::SWindow* element = FindChildByName(name))
        element->SetWindowText(text);
}

SStringW CMainDlg::Translated(LPCWSTR key)
{
    WUI::SApplication* app = WUI::SApplication::GetSingletonPtr();
    WUI::ITranslatorMgr* translator = app ? app->GetTranslator() : nullptr;
    return translator ? translator->Translate(key, L"dlg_main") : SStringW(key);
}
