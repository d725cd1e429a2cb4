// The launcher's progress window: it hands the command line to the update
// engine, shows what the worker posts (notice, file, counter, progress,
// speed, version, errors) and, once the update is done, starts the client.
#pragma once
#include "OrvoClientUpdater.h"

#include "core/SHostWnd.h"

#include <string>

#include "ClientLaunch.h"

#include "ProgressText.h"

class CMainDlg : public WUI::SHostWnd
{
public:
    // commandLine: what the window reads "--appPath" and "--updateUrl" from;
    // null for the process's own.
    explicit CMainDlg(OrvoClientUpdater& updater, const wchar_t* commandLine = nullptr);

    BOOL OnFireEvent(WUI::EventArgs& args) override;
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // The client to start, in the system code page; empty once a version
    // text was refused.
    const std::string& ClientName() const { return m_clientName; }

    // Longest a worker is waited for when the window closes.
    static const DWORD kStopWaitMs = 10000;
    // What the worker reports (file, counter, progress) is shown at most
    // this often; what came in between shows when the period is over.
    static const DWORD kProgressRepaintMs = 250;

protected:
    // The client runs from folder: "del.bat" removes the backups once the
    // launcher has gone, and the launcher ends.
    virtual void OnClientStarted(const std::wstring& folder);

private:
    void OnInitDialog();
    void OnProgress(int total, int received);
    void OnFileName(const char* text);
    void OnCounter(int line, int count);
    void OnNotice(const char* text);
    void OnVersion(const char* text);
    void OnError(const char* text, int code);
    void OnDone();
    // Shows what is due now, or on the timer when the last showing was too recent.
    void Schedule(unsigned due);
    void ShowDue();
    void SetText(LPCWSTR name, const WUI::SStringW& text);
    WUI::SStringW Translated(LPCWSTR key);

    OrvoClientUpdater& m_updater;
    std::wstring m_commandLine;
    std::string m_fileName;
    std::string m_clientName = kDefaultClientName;
    SpeedClock m_speedClock;
    int m_total = 0;
    int m_received = 0;
    int m_line = 1;
    int m_lineCount = 1;
    DWORD m_lastRepaint = 0;
    unsigned m_due = 0;  // what waits for the timer
    bool m_timerSet = false;
};
