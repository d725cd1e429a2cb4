// The uninstall worker: deletes the files of the install folder one by one
// on a thread of its own, posting progress to a window.
#pragma once

#include "engine/WorkerThread.h"

#include <windows.h>

#include <string>

enum UninstallResult {
    kUninstallOk = 0,
    kUninstallRefused = 1,  // an empty path, a drive root or a special folder
};

// Files under folder that the removal will handle: names starting with "."
// (and what is under such folders) are left out, so are paths that reach
// MAX_PATH; a link is one file and is not followed. 0 when the folder cannot
// be listed.
size_t CountFilesRecursive(const std::wstring& folder);

class CUninstallWorker {
public:
    // folder is the uninstaller's own folder, never a stored or typed text.
    // pauseMs is the pause after each file, so progress can be followed.
    CUninstallWorker(std::wstring folder, HWND notify, DWORD pauseMs = 100);
    ~CUninstallWorker();

    // Starts the thread: refuses a protected folder (kMsgUninstallDone with
    // kUninstallRefused), else deletes what CountFilesRecursive counts with a
    // kMsgUninstallProgress per file, removes the emptied folders and posts
    // kMsgUninstallDone (kUninstallOk). False when the thread cannot start.
    bool Start();
    // Stops between files and waits; a stopped worker posts no kMsgUninstallDone.
    void Stop();
    // Asks the worker to stop after the file in hand, without waiting.
    void RequestStop() { thread_.RequestStop(); }
    bool Wait(DWORD ms) const { return thread_.Wait(ms); }

private:
    void Run();
    // False when stopped.
    bool DeleteTreeWithProgress(const std::wstring& folder, size_t total, size_t& counter);
    bool DeleteOne(const std::wstring& path, DWORD attributes, size_t total, size_t& counter);

    const std::wstring folder_;
    const HWND notify_;
    const DWORD pauseMs_;
    // Last, so the thread is stopped before the members it reads go away.
    CWorkerThread thread_;
};
