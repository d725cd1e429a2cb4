#include "engine/InstallWorker.h"

#include "engine/SzArchive.h"
#include "engine/WorkerMessages.h"

namespace {

const int kAttempts = 3;

}  // namespace

CInstallWorker::CInstallWorker(HMODULE archiveModule, std::wstring folder, HWND notify, DWORD pauseMs)
    : module_(archiveModule), folder_(std::move(folder)), notify_(notify), pauseMs_(pauseMs), writer_(folder_)
{
}

CInstallWorker::~CInstallWorker() { thread_.Stop(); }

bool CInstallWorker::Start()
{
    return thread_.Start([this] { Run(); });
}

void CInstallWorker::Stop() { thread_.Stop(); }

void CInstallWorker::RemoveAdded()
{
    if (thread_.Wait(0)) writer_.RemoveAdded();
}

void CInstallWorker::Run()
{
    ExtractResult result = kExtractOk;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        result = ExtractAll();
        if (result == kExtractOk || result == kExtractStopped) break;
    }
    if (result != kExtractStopped) PostMessageW(notify_, kMsgInstallDone, result, 0);
}

ExtractResult CInstallWorker::ExtractAll()
{
    HRSRC info = FindResourceW(module_, L"profile", L"_7Z");
    HGLOBAL loaded = info ? LoadResource(module_, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return kEntryMissing;
    SzArchive archive;
    if (!archive.OpenFromMemory(bytes, SizeofResource(module_, info))) return kEntryMissing;
    return WriteAll(archive);
}

ExtractResult CInstallWorker::WriteAll(const SzArchive& archive)
{
    if (!writer_.Usable()) return kFolderFailed;
    // Folder items first, so empty folders of the archive exist too.
    for (const std::wstring& name : archive.GetFolders()) {
        ExtractResult r = writer_.MakeFolder(name);
        if (r != kExtractOk) return r;
    }
    const size_t n = archive.GetCount();
    for (size_t i = 0; i < n; ++i) {
        if (!thread_.Pause(pauseMs_)) return kExtractStopped;
        const SzArchiveEntry* entry = archive.GetEntry(i);
        ExtractResult r = writer_.Write(entry->name, entry->data, entry->size);
        if (r != kExtractOk) return r;
        PostMessageW(notify_, kMsgInstallProgress, n, i);
    }
    return kExtractOk;
}
