// The install worker: writes every file of the client archive under the
// install folder on a thread of its own, posting progress to a window.
#pragma once

#include "engine/WorkerThread.h"

#include <windows.h>

#include <cstdint>
#include <string>

class SzArchive;

enum ExtractResult {
    kExtractOk = 0,
    kEntryMissing = 1,   // no archive resource, or it is damaged
    kFolderFailed = 2,   // a folder could not be made
    kCreateFailed = 3,   // a file could not be created, or its name is unsafe or too long
    kWriteFailed = 4,
    kExtractStopped = 5, // a stop was asked; never posted
};

// True for an entry name that stays under the install folder and is written
// as named: relative, without a drive letter or ":", without an empty, "."
// or ".." segment, a device name, or a segment ending in "." or " ".
bool IsSafeEntryName(const std::wstring& name);

// Writes one file at folder + "\" + name ("/" read as "\"), making the
// folders on the way. A folder that is not a full path gives kFolderFailed;
// a partly written file is removed again.
ExtractResult WriteArchiveEntry(const std::wstring& folder, const std::wstring& name, const void* data, uint64_t size);

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
    bool Wait(DWORD ms) const { return thread_.Wait(ms); }

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
    // Last, so the thread is stopped before the members it reads go away.
    CWorkerThread thread_;
};
