// Brings the install folder up to date from the update server on a worker
// thread and reports every step to a window by posted messages.
#pragma once
#include "NBTCPClient.h"
#include "syshelpers/WinHandles.h"

#include <atomic>
#include <cstdio>
#include <deque>
#include <string>

#include "FolderLock.h"
#include "LocalDigests.h"

struct ManifestLine;

// Messages posted to the dialog window. A text buffer travelling with one was
// made with new[] and is the receiver's to delete[].
enum UpdaterMessage : UINT
{
    kMsgProgress = WM_USER + 100,  // wParam total KB, lParam received KB
    kMsgFileName = WM_USER + 101,  // wParam char[256]: manifest path
    kMsgCounter = WM_USER + 102,   // wParam line (1-based), lParam line count
    kMsgNotice = WM_USER + 103,    // wParam char[2048]: notice text
    kMsgVersion = WM_USER + 104,   // wParam char[2048]: version text
    kMsgError = WM_USER + 105,     // wParam char[1024]: error text, lParam error code
    kMsgDone = WM_USER + 106,      // the update finished
    kMsgWaiting = WM_USER + 107,   // wParam 1: another launcher has the folder, the run waits; 0: it goes on
};

class OrvoClientUpdater : public CNBTCPClient
{
public:
    OrvoClientUpdater();
    // Lets go of the folder and waits for a running worker, which still uses
    // this object.
    ~OrvoClientUpdater() override;

    static OrvoClientUpdater& GetInstance();

    void SetDialogWindow(HWND window) { m_dialog = window; }
    // Time-out of every send and receive, 6 seconds unless set before Init.
    void SetTimeout(int seconds) { m_timeoutSeconds = seconds; }
    // Starts the worker for appPath (empty: the executable's folder), which
    // first fetches the base address from updateUrl (empty: the built-in
    // one), so the caller's window is never held up by the server. False,
    // with the error posted, when the worker could not be started.
    bool Init(const char* updateUrl, const wchar_t* appPath);
    // As above with appPath in the system code page.
    bool Init(const char* updateUrl, const char* appPath);
    // True once no worker runs (or none was started), false on time-out.
    bool WaitForWorker(DWORD milliseconds);
    // Stops a running worker: its requests fail at once and it ends at the
    // next step (a wait for the folder ends too). Until the swap nothing of
    // the folder has changed but the folders the manifest's lines made
    // (deletions wait for the swap too).
    // A swap under way is never cut in half: it is waited for, with its
    // clean-up, beyond milliseconds (a swap that began before the stop
    // counts too). True once no worker runs, false when it did not end in
    // time.
    bool StopWorker(DWORD milliseconds);
    // True while the worker moves the downloads in (a stop waits for that).
    bool IsSwapping() const { return m_swapping; }
    // The worker holds the install folder from before its first step to its
    // end, so that a second launcher on it waits its turn (kMsgWaiting), and
    // then waits for the "del.bat" of one that has just ended. After the
    // done message it keeps the folder until this is called, once the window
    // has started the client and written "del.bat" (which deletes every
    // backup in the folder, the next run's too), or until a stop, the
    // process's end or kHandOverMs.
    void ReleaseFolder();
    static const DWORD kHandOverMs = 30000;

    void RunUpdate();
    // 1 done (also after a malformed line), 0 manifest not readable, -1 a
    // line failed (its path posted).
    int UpdateFiles();
    // Removes every "*.orvobak" below folder; linked folders are not entered.
    void DeleteBackupFiles(const char* folder);
    // A backup whose file is missing is the only copy left by a swap that
    // was cut short (the process ended between its renames, or after moving
    // a file to delete aside): it goes back under its name. Download
    // temporaries are left to DeleteBackupFiles. The worker does this first,
    // before it asks the server for anything.
    void RestoreOrphanedBackups(const char* folder);
    void PostError(const char* text, int code);
    void PostDone();
    void RemoveUpdaterTxt(const char* folder);

    // UTF-8, as every path of the engine.
    const char* GetInstallFolder() const { return m_installFolder; }
    std::wstring GetInstallFolderW() const;
    const char* GetBaseAddress() const { return m_baseAddress; }

    void OnFileName(const char* name) override;
    void OnProgress(int total, int received) override;

private:
    // A manifest line whose file is to be fetched.
    struct LineFetch
    {
        int number;
        std::string path;       // as the manifest has it (system code page)
        std::string localName;  // the same in UTF-8, below the install folder
        std::string digest;
        std::string url;
    };
    // A line's file received in full whose writing and check are still to
    // come: the loop goes on with the next lines meanwhile, and settles them
    // in the order of the manifest.
    struct Unsettled
    {
        LineFetch line;
        FileDownload download;
    };

    static DWORD WINAPI UpdateThreadProc(void* self);
    // Waits for the folder and for the clean-up batch a launcher that just
    // ended left running in it: false (posted, unless stopped) when the run
    // must end.
    bool TakeFolder(CFolderLock& lock);
    // Waits while a "del.bat" written moments ago is in the folder (it
    // removes itself when done): false when stopped.
    bool AwaitCleanUpBatch(bool& waiting);
    // Posts that the run waits, once.
    void PostWaiting(bool& posted);
    // The steps of RunUpdate once the folder is this run's: true after the
    // done message.
    bool UpdateFolder();
    // The base address from the update URL; false (posted) when there is none.
    bool FetchBaseAddress();
    bool CheckManifest(FILE* manifest, const char* localPrefix, int& lineCount);
    // 1 to go on, 0 when the manifest stops at this line, -1 when a download failed.
    int UpdateLine(int number, const ManifestLine& line, const CLocalDigests::Result& local,
                   const std::string& localPath, const std::string& urlPrefix, const char* manifestPath);
    int Download(const LineFetch& line);
    // Finishes the oldest unsettled download, retrying its line when it
    // failed: 1, or -1 once its line failed (posted).
    int SettleFirst();
    // Every unsettled download in turn: 1, or -1 with the rest discarded.
    int SettleAll();
    void DiscardUnsettled();
    // The line's remaining attempts after attemptsMade failed ones: 1 or -1.
    int Retry(const LineFetch& line, int attemptsMade);
    // Posts the line's counter and name.
    void Announce(int number, const std::string& path);
    // Moves every download in and every file to delete aside, all or none.
    bool SwapPending();
    // The manifest's spelling (system code page) of a target below the
    // install folder.
    std::string ManifestPathOf(const char* target) const;
    void Post(UINT message, WPARAM wParam, LPARAM lParam);
    void PostText(UINT message, const char* text, size_t size, LPARAM lParam);

    char m_installFolder[256] = {};
    char m_baseAddress[512] = {};
    HWND m_dialog = nullptr;
    std::string m_updateUrl;
    std::atomic<bool> m_swapping{false};
    // Set for good once files begin to move in.
    std::atomic<bool> m_swapStarted{false};
    int m_timeoutSeconds = 6;
    UniqueHandle m_worker;
    UniqueHandle m_folderReleased;  // manual-reset event
    DWORD m_lastProgressTick = 0;
    int m_lineCount = 0;
    int m_announced = 0;  // line whose counter and name were posted last
    std::deque<Unsettled> m_unsettled;
};
