#include "OrvoClientUpdater.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "FsPath.h"
#include "HttpUrl.h"
#include "ManifestLine.h"
#include "ManifestReader.h"
#include "ParallelSteps.h"

#ifndef ORVO_DEFAULT_UPDATE_URL
#define ORVO_DEFAULT_UPDATE_URL "http://localhost/updater.ini"
#endif

namespace {

const int kAttempts = 3;
// Downloads received in full whose writing may still go on.
const size_t kMaxUnsettled = 8;
const size_t kTempSuffix = sizeof "_YYYYMMDDhhmmss.orvobak" - 1;
// How often a run waiting for the folder looks again (and sees a stop).
const DWORD kPollMs = 100;
// A "del.bat" younger than this is a clean-up still to run: it lives about
// a second.
const DWORD kCleanUpBatchLifeMs = 30000;

bool FileExists(const char* path) { return FsAttributes(path) != INVALID_FILE_ATTRIBUTES; }

bool EndsWithNoCase(const char* text, const char* suffix)
{
    size_t n = strlen(text), m = strlen(suffix);
    return n >= m && _stricmp(text + n - m, suffix) == 0;
}

// Calls visit(path, name) for every file below folder; linked folders are
// not entered, as they may lead outside the install folder.
template <typename Visit> void ForEachFile(const char* folder, Visit visit)
{
    char pattern[MAX_PATH];
    if (!FormatBounded(pattern, sizeof pattern, "%s\\*.*", folder))
        return;
    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW(WideFromUtf8(pattern).c_str(), &entry));
    if (!find.Valid())
        return;
    do {
        if (!wcscmp(entry.cFileName, L".") || !wcscmp(entry.cFileName, L".."))
            continue;
        const std::string name = Utf8FromWide(entry.cFileName);
        char child[MAX_PATH];
        if (!FormatBounded(child, sizeof child, "%s/%s", folder, name.c_str()))
            continue;
        DWORD attributes = entry.dwFileAttributes;
        if (attributes & (FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            ForEachFile(child, visit);
        else
            visit(child, name.c_str());
    } while (FindNextFileW(find.Get(), &entry));
}

// A download's temporary name ends in "_" and fourteen digits of time; the
// backup of one ends in ".orvobak" once more.
bool IsTemporaryName(const std::string& stem)
{
    if (EndsWithNoCase(stem.c_str(), ".orvobak"))
        return true;
    size_t n = stem.size();
    if (n < 15 || stem[n - 15] != '_')
        return false;
    for (size_t i = n - 14; i < n; ++i)
        if (!isdigit((unsigned char)stem[i]))
            return false;
    return true;
}

// True for a file at path written less than ms ago (or as long ahead, should
// the clock have gone back).
bool IsFreshFile(const char* path, DWORD ms)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& t) {
        return (long long)(((unsigned long long)t.dwHighDateTime << 32) | t.dwLowDateTime);
    };
    long long age = ticks(now) - ticks(data.ftLastWriteTime);
    return (age < 0 ? -age : age) < (long long)ms * 10000;
}

bool IsNameTaken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

// Renames target to backup, removing a backup left by an earlier run.
bool MoveAside(const char* target, const char* backup)
{
    if (FsMove(target, backup, 0))
        return true;
    return IsNameTaken(GetLastError()) && RemoveFile(backup) && FsMove(target, backup, 0);
}

std::string BackupOf(const PendingReplace& record) { return std::string(record.target) + ".orvobak"; }

// What the swap did with one download.
struct SwapStep
{
    bool moved = false;   // something of it must be undone by a rollback
    bool hadOld = false;  // the old file is at the backup (or back in place when not moved)
    DWORD error = 0;      // non-zero when it failed
};

// Moves a file to delete aside: it goes for good once every step is done.
SwapStep DeleteOne(const PendingReplace& record)
{
    SwapStep step;
    // Only files are deleted; a missing one is gone already.
    DWORD attributes = FsAttributes(record.target);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return step;
    if (!MoveAside(record.target, BackupOf(record).c_str())) {
        step.error = GetLastError();
        return step;
    }
    step.moved = step.hadOld = true;
    return step;
}

SwapStep SwapOne(const PendingReplace& record)
{
    SwapStep step;
    // Moving in at once spares a target that is not there yet the search of
    // the folder that asking first would cost.
    if (FsMove(record.temp, record.target, 0)) {
        step.moved = true;
        return step;
    }
    step.error = GetLastError();
    if (!IsNameTaken(step.error))
        return step;
    std::string backup = BackupOf(record);
    if (!MoveAside(record.target, backup.c_str())) {
        step.error = GetLastError();
        return step;
    }
    step.hadOld = true;
    if (FsMove(record.temp, record.target, 0)) {
        step.moved = true;
        step.error = 0;
        return step;
    }
    step.error = GetLastError();
    // The old file goes back at once; when it cannot, the rollback tries again.
    step.moved = !FsMove(backup.c_str(), record.target, 0);
    return step;
}

} // namespace

OrvoClientUpdater::OrvoClientUpdater() : m_folderReleased(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

OrvoClientUpdater::~OrvoClientUpdater()
{
    ReleaseFolder();
    WaitForWorker(INFINITE);
}

void OrvoClientUpdater::ReleaseFolder()
{
    if (m_folderReleased.Valid())
        SetEvent(m_folderReleased.Get());
}

OrvoClientUpdater& OrvoClientUpdater::GetInstance()
{
    // Never destroyed: the window may close while the worker still runs, and
    // a destructor at exit would pull the object from under it. The system
    // closes the socket when the process ends.
    static OrvoClientUpdater* instance = new OrvoClientUpdater;
    return *instance;
}

bool OrvoClientUpdater::Init(const char* updateUrl, const char* appPath)
{
    std::wstring wide;
    if (appPath && *appPath) {
        int n = MultiByteToWideChar(CP_ACP, 0, appPath, -1, nullptr, 0);
        wide.resize(n > 0 ? size_t(n) : 1);
        MultiByteToWideChar(CP_ACP, 0, appPath, -1, &wide[0], n);
        wide.resize(wcslen(wide.c_str()));
    }
    return Init(updateUrl, wide.c_str());
}

bool OrvoClientUpdater::Init(const char* updateUrl, const wchar_t* appPath)
{
    if (m_worker.Valid())
        return false;  // one worker per run
    const std::wstring folder = appPath && *appPath ? std::wstring(appPath) : ExecutableFolderW();
    const std::string utf8 = Utf8FromWide(folder.c_str());
    if (utf8.empty() || !FormatBounded(m_installFolder, sizeof m_installFolder, "%s", utf8.c_str())) {
        LogError("install folder empty or too long: %s", utf8.c_str());
        PostError("Updater init error", 0);
        return false;
    }
    if (!CNBTCPClient::Init(m_timeoutSeconds)) {
        int error = StoreLastError();
        LogError("OrvoClientUpdater init fail %d", error);
        PostError("Updater init error", error);
        return false;
    }
    m_updateUrl = updateUrl && *updateUrl ? updateUrl : ORVO_DEFAULT_UPDATE_URL;
    m_worker.Reset(CreateThread(nullptr, 0, UpdateThreadProc, this, 0, nullptr));
    if (!m_worker.Valid()) {
        LogError("update worker not started: %lu", GetLastError());
        PostError("Updater init error", int(GetLastError()));
        return false;
    }
    return true;
}

std::wstring OrvoClientUpdater::GetInstallFolderW() const { return WideFromUtf8(m_installFolder); }

bool OrvoClientUpdater::FetchBaseAddress()
{
    memset(m_baseAddress, 0, sizeof m_baseAddress);
    int rc = HTTPGet(m_updateUrl.c_str(), m_baseAddress, sizeof m_baseAddress);
    m_baseAddress[strcspn(m_baseAddress, "\r\n")] = 0;
    if (IsAborted())
        return false;
    // Without a base address every later request would go nowhere.
    if (rc < 0 || !m_baseAddress[0]) {
        LogError("base address from %s failed: %d", m_updateUrl.c_str(), rc);
        PostError("Updater Get updater.ini fail", GetLastErrorCode());
        return false;
    }
    return true;
}

bool OrvoClientUpdater::WaitForWorker(DWORD milliseconds)
{
    return !m_worker.Valid() || WaitForSingleObject(m_worker.Get(), milliseconds) == WAIT_OBJECT_0;
}

bool OrvoClientUpdater::StopWorker(DWORD milliseconds)
{
    Abort();
    ReleaseFolder();
    if (WaitForWorker(milliseconds))
        return true;
    // Once files move in, the run is finished whole: ending the process in
    // the swap would leave the folder half old, half new, and what follows
    // the swap is its clean-up, which ends on its own.
    return WaitForWorker(m_swapStarted ? INFINITE : 0);
}

DWORD WINAPI OrvoClientUpdater::UpdateThreadProc(void* self)
{
    static_cast<OrvoClientUpdater*>(self)->RunUpdate();
    return 0;
}

void OrvoClientUpdater::RunUpdate()
{
    CFolderLock lock;
    if (TakeFolder(lock) && UpdateFolder())
        WaitForSingleObject(m_folderReleased.Get(), kHandOverMs);
}

bool OrvoClientUpdater::TakeFolder(CFolderLock& lock)
{
    if (!lock.Open(GetInstallFolderW())) {
        const DWORD error = GetLastError();
        LogError("folder lock for %s not made: %lu", m_installFolder, error);
        PostError("Updater lock folder fail", int(error));
        return false;
    }
    bool waiting = false;
    while (!lock.Take(waiting ? kPollMs : 0)) {
        if (IsAborted())
            return false;
        PostWaiting(waiting);
    }
    if (!AwaitCleanUpBatch(waiting))
        return false;
    if (waiting)
        Post(kMsgWaiting, 0, 0);
    return true;
}

bool OrvoClientUpdater::AwaitCleanUpBatch(bool& waiting)
{
    char path[MAX_PATH];
    if (!FormatBounded(path, sizeof path, "%s/del.bat", m_installFolder))
        return true;
    while (IsFreshFile(path, kCleanUpBatchLifeMs)) {
        if (IsAborted())
            return false;
        PostWaiting(waiting);
        Sleep(kPollMs);
    }
    return !IsAborted();
}

void OrvoClientUpdater::PostWaiting(bool& posted)
{
    if (posted)
        return;
    Log("waiting for another update of %s", m_installFolder);
    Post(kMsgWaiting, 1, 0);
    posted = true;
}

bool OrvoClientUpdater::UpdateFolder()
{
    // A file a cut swap left only as its backup (the launcher, maybe) must
    // not wait for a server that may not answer.
    RestoreOrphanedBackups(m_installFolder);
    if (!FetchBaseAddress())
        return false;
    std::string base = m_baseAddress;
    if (HTTPGetFile((base + "/updater.txt").c_str(), m_installFolder, nullptr, nullptr, 1) < 0) {
        if (!IsAborted())
            PostError("Updater Get updater.txt fail", GetLastErrorCode());
        return false;
    }
    const struct { const char* name; UINT message; } texts[] = {{"notice.txt", kMsgNotice}, {"version.txt", kMsgVersion}};
    for (const auto& text : texts) {
        char* body = new char[2048]();
        if (HTTPGet((base + "/" + text.name).c_str(), body, 2048) < 0) {
            delete[] body;
            continue;
        }
        if (!m_dialog || !PostMessageA(m_dialog, text.message, WPARAM(body), 0))
            delete[] body;
    }
    int rc = UpdateFiles();
    if (rc == 0)
        PostError("Updater read updater.txt fail", 0);
    // Once the swap begins it runs to its end; before, a stop leaves the
    // folder as it was.
    m_swapping = rc == 1 && !IsAborted();
    m_swapStarted = m_swapping.load();
    if (!m_swapping) {
        m_pending.Clear();
        DeleteBackupFiles(m_installFolder);
        return false;
    }
    bool swapped = SwapPending();
    m_swapping = false;
    if (!swapped)
        return false;
    DeleteBackupFiles(m_installFolder);
    RemoveUpdaterTxt(m_installFolder);
    PostDone();
    return true;
}

bool OrvoClientUpdater::CheckManifest(FILE* manifest, const char* localPrefix, int& lineCount)
{
    char line[kManifestLineBuffer];
    bool checking = true;
    lineCount = 0;
    while (fgets(line, sizeof line, manifest)) {
        ++lineCount;
        if (!checking)
            continue;
        ManifestLine parsed = ParseManifestLine(line);
        if (parsed.kind == ManifestKind::NoBar || parsed.kind == ManifestKind::BadDigest) {
            checking = false;  // the update stops at this line
            continue;
        }
        const std::string local = Utf8FromSystem(parsed.path.c_str());
        bool fits = !local.empty() && strlen(localPrefix) + local.size() + kTempSuffix < 256;
        if (!IsSafeManifestPath(parsed.path) || !fits) {
            LogError("Refused server file %.*s", 1000, parsed.path.c_str());
            PostError(parsed.path.c_str(), 0);
            return false;
        }
    }
    return true;
}

int OrvoClientUpdater::UpdateFiles()
{
    char manifestPath[256];
    if (!FormatBounded(manifestPath, sizeof manifestPath, "%s/updater.txt", m_installFolder))
        return 0;
    FILE* manifest = FsOpen(manifestPath, L"rb");
    if (!manifest) {
        LogError("file %s is NULL", manifestPath);
        return 0;
    }
    std::string urlPrefix = std::string(m_baseAddress) + "/";
    std::string localPrefix = std::string(m_installFolder) + "/";
    // Every path is checked before anything in the folder changes.
    if (!CheckManifest(manifest, localPrefix.c_str(), m_lineCount)) {
        fclose(manifest);
        return -1;
    }
    Post(kMsgCounter, 1, m_lineCount);
    rewind(manifest);
    int result = 1;
    {
        CManifestReader reader(manifest, localPrefix, CoreThreads());
        ManifestLine parsed;
        CLocalDigests::Result local;
        for (int k = 1; result == 1 && reader.Next(parsed, local); ++k) {
            if (IsAborted()) {
                result = -1;
                break;
            }
            Announce(k, parsed.path);
            result = UpdateLine(k, parsed, local, localPrefix + Utf8FromSystem(parsed.path.c_str()), urlPrefix,
                                manifestPath);
        }
    }
    fclose(manifest);
    if (result < 0) {
        DiscardUnsettled();  // a stop leaves received files unsettled
        return result;
    }
    return SettleAll();
}

void OrvoClientUpdater::Announce(int number, const std::string& path)
{
    Post(kMsgCounter, number, m_lineCount);
    OnFileName(path.c_str());
    m_announced = number;
}

int OrvoClientUpdater::UpdateLine(int number, const ManifestLine& line, const CLocalDigests::Result& local,
                                  const std::string& localPath, const std::string& urlPrefix, const char* manifestPath)
{
    if (line.kind == ManifestKind::Folder) {
        FsCreateFolder(localPath.c_str());
        return 1;
    }
    if (line.kind == ManifestKind::File) {
        if (local.status == FileDigest::CannotOpen)
            LogError("file %s is NULL", localPath.c_str());
        else if (local.status == FileDigest::ReadFailed)
            LogError("file %s read fail", localPath.c_str());
        // A file an earlier line deletes is fetched again even when it matches.
        if (local.status == FileDigest::Ok && line.digest == local.hex && !m_pending.WillDelete(localPath.c_str()))
            return 1;
        return Download(LineFetch{number, line.path, Utf8FromSystem(line.path.c_str()), line.digest,
                                  urlPrefix + EncodeUrlPath(line.path)});
    }
    // What follows would not happen had an earlier download failed; and the
    // earlier downloads are recorded first, so that of two lines for one file
    // the later one wins.
    int settled = SettleAll();
    if (settled < 0)
        return settled;
    if (line.kind == ManifestKind::Delete) {
        RecordPending(localPath.c_str(), "");  // done in the swap, undone with it
        return 1;
    }
    LogError(line.kind == ManifestKind::NoBar ? "Error server file %s not match"
                                              : "Error server file %s not match checksum",
             manifestPath);
    return 0;
}

int OrvoClientUpdater::Download(const LineFetch& line)
{
    FileDownload download;
    if (FetchFile(line.url.c_str(), m_installFolder, line.localName.c_str(), line.digest.c_str(), download) < 0) {
        // Earlier lines first: had one of them failed, this one would not be fetched.
        int settled = SettleAll();
        return settled < 0 ? settled : Retry(line, 1);
    }
    m_unsettled.push_back(Unsettled{line, std::move(download)});
    // Files the writer has finished are settled at once; a few more may wait.
    while (!m_unsettled.empty() && (m_unsettled.size() > kMaxUnsettled || IsWritten(m_unsettled.front().download))) {
        if (SettleFirst() < 0) {
            DiscardUnsettled();
            return -1;
        }
    }
    return 1;
}

int OrvoClientUpdater::SettleFirst()
{
    Unsettled first = std::move(m_unsettled.front());
    m_unsettled.pop_front();
    if (FinishFile(first.download, 0) >= 0) {
        Log("Update success %s %s", first.line.path.c_str(), first.line.digest.c_str());
        return 1;
    }
    // Found after later lines were shown: the retries are shown under its name.
    if (m_announced != first.line.number)
        Announce(first.line.number, first.line.path);
    return Retry(first.line, 1);
}

int OrvoClientUpdater::SettleAll()
{
    while (!m_unsettled.empty()) {
        if (SettleFirst() < 0) {
            DiscardUnsettled();
            return -1;
        }
    }
    return 1;
}

void OrvoClientUpdater::DiscardUnsettled()
{
    for (Unsettled& later : m_unsettled)
        DiscardFile(later.download);
    m_unsettled.clear();
}

int OrvoClientUpdater::Retry(const LineFetch& line, int attemptsMade)
{
    for (int attempt = attemptsMade; attempt < kAttempts && !IsAborted(); ++attempt) {
        if (HTTPGetFile(line.url.c_str(), m_installFolder, line.localName.c_str(), line.digest.c_str(), 0) >= 0) {
            Log("Update success %s %s", line.path.c_str(), line.digest.c_str());
            return 1;
        }
    }
    LogError("Download server file %s Error retry fail", line.path.c_str());
    if (!IsAborted())  // the window is closing: nobody reads it
        PostError(line.path.c_str(), GetLastErrorCode());
    return -1;
}

// Moves every download in, and every file to delete aside, with the old
// file kept as "<target>.orvobak" until all have moved; on any failure the
// old files go back.
bool OrvoClientUpdater::SwapPending()
{
    std::vector<const PendingReplace*> records;
    for (const auto& record : m_pending)
        records.push_back(record.get());
    std::vector<SwapStep> steps(records.size());
    // A move to a name not there yet searches the whole folder under Wine,
    // so a large update spends most of its swap there: several run at once.
    RunInParallel(records.size(), CoreThreads(), [&](size_t i) {
        steps[i] = IsDeletion(*records[i]) ? DeleteOne(*records[i]) : SwapOne(*records[i]);
        return steps[i].error == 0;
    });
    size_t failedAt = 0;
    while (failedAt < steps.size() && steps[failedAt].error == 0)
        ++failedAt;
    if (failedAt == steps.size()) {
        for (size_t i = 0; i < records.size(); ++i)
            if (steps[i].hadOld)
                RemoveFile(BackupOf(*records[i]).c_str());
        m_pending.Clear();
        return true;
    }
    const PendingReplace* failed = records[failedAt];
    DWORD error = steps[failedAt].error;
    LogError("swap of %s failed: %lu", failed->target, error);
    bool restored = true;
    for (size_t i = records.size(); i-- > 0;) {
        if (!steps[i].moved)
            continue;
        const char* target = records[i]->target;
        std::string backup = BackupOf(*records[i]);
        if (FileExists(target) && (!steps[i].hadOld || FileExists(backup.c_str())))
            FsDelete(target);
        if (steps[i].hadOld && !FsMove(backup.c_str(), target, 0)) {
            LogError("cannot restore %s from %s: %lu", target, backup.c_str(), GetLastError());
            restored = false;
        }
    }
    for (const auto& record : m_pending)
        if (!IsDeletion(*record))
            FsDelete(record->temp);
    // Named as the manifest names it: the window reads the system code page.
    PostError(ManifestPathOf(failed->target).c_str(), int(error));
    // A backup that could not go back is the only old copy: it stays.
    if (restored)
        DeleteBackupFiles(m_installFolder);
    m_pending.Clear();
    return false;
}

std::string OrvoClientUpdater::ManifestPathOf(const char* target) const
{
    const size_t n = strlen(m_installFolder);
    const bool below = strncmp(target, m_installFolder, n) == 0 && target[n] == '/';
    return SystemFromUtf8(below ? target + n + 1 : target);
}

void OrvoClientUpdater::DeleteBackupFiles(const char* folder)
{
    ForEachFile(folder, [](const char* path, const char* name) {
        if (EndsWithNoCase(name, ".orvobak"))
            RemoveFile(path);
    });
}

void OrvoClientUpdater::RestoreOrphanedBackups(const char* folder)
{
    ForEachFile(folder, [this](const char* path, const char* name) {
        if (!EndsWithNoCase(name, ".orvobak"))
            return;
        std::string target(path, strlen(path) - strlen(".orvobak"));
        if (IsTemporaryName(target) || FileExists(target.c_str()))
            return;
        if (FsMove(path, target.c_str(), 0))
            LogError("restored %s from an unfinished swap", target.c_str());
        else
            LogError("cannot restore %s: %lu", target.c_str(), GetLastError());
    });
}

void OrvoClientUpdater::PostText(UINT message, const char* text, size_t size, LPARAM lParam)
{
    char* copy = new char[size]();
    snprintf(copy, size, "%s", text);  // display text: a cut is harmless
    if (!m_dialog || !PostMessageA(m_dialog, message, WPARAM(copy), lParam))
        delete[] copy;
}

void OrvoClientUpdater::PostError(const char* text, int code) { PostText(kMsgError, text, 1024, code); }

void OrvoClientUpdater::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_dialog)
        PostMessageA(m_dialog, message, wParam, lParam);
}

void OrvoClientUpdater::PostDone() { Post(kMsgDone, 0, 0); }

void OrvoClientUpdater::RemoveUpdaterTxt(const char* folder)
{
    char path[MAX_PATH];
    if (FormatBounded(path, sizeof path, "%s\\updater.txt", folder))
        FsDelete(path);
}

void OrvoClientUpdater::OnFileName(const char* name) { PostText(kMsgFileName, name, 256, 0); }

void OrvoClientUpdater::OnProgress(int total, int received)
{
    DWORD now = GetTickCount();
    if (total != received) {
        if (now - m_lastProgressTick < 20)
            return;
        m_lastProgressTick = now;
    }
    Post(kMsgProgress, WPARAM(total / 1024), LPARAM(received / 1024));
}
