#include "engine/UninstallWorker.h"

#include "engine/WorkerMessages.h"
#include "syshelpers/SafePaths.h"
#include "syshelpers/WinHandles.h"

#include <functional>
#include <utility>
#include <vector>

namespace {

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

bool IsRealFolder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !IsLink(attributes); }

// Calls visit(child path, attributes) for each entry the removal handles,
// listed before the first visit: deleting while a search is open can make
// it skip entries. False when visit asked to stop.
bool ForEachChild(const std::wstring& folder, const std::function<bool(const std::wstring&, DWORD)>& visit)
{
    std::vector<std::pair<std::wstring, DWORD>> children;
    {
        WIN32_FIND_DATAW data;
        FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
        if (!find.Valid()) return true;
        do {
            if (data.cFileName[0] == L'.') continue;
            std::wstring child = folder + L"\\" + data.cFileName;
            // Too long to be named without truncation: left for the batch file.
            if (child.size() >= MAX_PATH) continue;
            children.emplace_back(std::move(child), data.dwFileAttributes);
        } while (FindNextFileW(find.Get(), &data));
    }
    for (const auto& child : children)
        if (!visit(child.first, child.second)) return false;
    return true;
}

// Removes a file or a link (to a file or a folder) without following it.
void RemoveEntry(const std::wstring& path, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (RemoveDirectoryW(path.c_str())) return;
    }
    if (DeleteFileW(path.c_str())) return;
    if ((attributes & FILE_ATTRIBUTE_READONLY) && GetLastError() == ERROR_ACCESS_DENIED &&
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
        DeleteFileW(path.c_str());
}

}  // namespace

size_t CountFilesRecursive(const std::wstring& folder)
{
    size_t count = 0;
    ForEachChild(folder, [&](const std::wstring& child, DWORD attributes) {
        count += IsRealFolder(attributes) ? CountFilesRecursive(child) : 1;
        return true;
    });
    return count;
}

CUninstallWorker::CUninstallWorker(std::wstring folder, HWND notify, DWORD pauseMs)
    : folder_(std::move(folder)), notify_(notify), pauseMs_(pauseMs)
{
}

CUninstallWorker::~CUninstallWorker() { thread_.Stop(); }

bool CUninstallWorker::Start()
{
    return thread_.Start([this] { Run(); });
}

void CUninstallWorker::Stop() { thread_.Stop(); }

void CUninstallWorker::Run()
{
    if (IsProtectedFolder(folder_)) {
        PostMessageW(notify_, kMsgUninstallDone, kUninstallRefused, 0);
        return;
    }
    const std::wstring folder = NormalizeFolder(folder_);
    size_t counter = 0;
    if (DeleteTreeWithProgress(folder, CountFilesRecursive(folder), counter))
        PostMessageW(notify_, kMsgUninstallDone, kUninstallOk, 0);
}

bool CUninstallWorker::DeleteTreeWithProgress(const std::wstring& folder, size_t total, size_t& counter)
{
    bool finished = ForEachChild(folder, [&](const std::wstring& child, DWORD attributes) {
        if (IsRealFolder(attributes)) return DeleteTreeWithProgress(child, total, counter);
        return DeleteOne(child, attributes, total, counter);
    });
    // Fails, and keeps the folder, while anything is left inside.
    if (finished) RemoveDirectoryW(folder.c_str());
    return finished;
}

bool CUninstallWorker::DeleteOne(const std::wstring& path, DWORD attributes, size_t total, size_t& counter)
{
    RemoveEntry(path, attributes);
    ++counter;
    bool go_on = thread_.Pause(pauseMs_);
    PostMessageW(notify_, kMsgUninstallProgress, total, counter);
    return go_on;
}
