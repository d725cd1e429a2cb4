// The install worker: writes every file of the client archive under the
// install folder on a thread of its own, posting progress to a window.
#pragma once

#include "engine/EntryWriter.h"
#include "engine/WorkerThread.h"

#include <windows.h>

#include <string>

class SzArchive;

class CInstallWorker {
public:
    // archiveModule carries the archive as resource "_7Z"/"profile"; the
    // module must stay loaded while the worker runs. pauseMs is the pause
    // before each entry, so progress can be followed.
    CInstallWorker(HMODULE archiveModule, std::wstring folder, HWND notify, DWORD pauseMs = 100);
    ~CInstallWorker();

    // Starts the thread: up to three attempts of ExtractAll, then one
    // kMsgInstallDone. False when the thread cannot be started.
    bool Start();
    // Stops between entries and waits; a stopped worker posts no kMsgInstallDone.
    void Stop();
    // Asks the worker to stop after the entry in hand, without waiting.
    void RequestStop() { thread_.RequestStop(); }
    bool Wait(DWORD ms) const { return thread_.Wait(ms); }
    // Takes back what the runs added (see CEntryWriter::RemoveAdded), for an
    // install that is not going to be finished. Only once the thread has
    // ended (Wait gave true); nothing while it runs.
    void RemoveAdded();

private:
    void Run();
    // One attempt: opens the archive resource and writes every entry,
    // posting kMsgInstallProgress after each file.
    ExtractResult ExtractAll();
    ExtractResult WriteAll(const SzArchive& archive);

    const HMODULE module_;
    const std::wstring folder_;
    const HWND notify_;
    const DWORD pauseMs_;
    // One for every attempt, so what the first one added is known to the last.
    CEntryWriter writer_;
    // Last, so the thread is stopped before the members it reads go away.
    CWorkerThread thread_;
};
