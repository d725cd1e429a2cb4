// One update at a time in an install folder: the launchers of a session
// share a named mutex whose name comes from the folder's full path.
#pragma once
#include <windows.h>

#include <string>

#include "syshelpers/WinHandles.h"

// The mutex name for folder: the full path with short names expanded, "\"
// only, no trailing "\" and upper case, hashed to fit a name. Every spelling
// of one folder gives the same name; a folder that cannot be resolved is
// named as it is spelled.
std::wstring FolderLockName(const std::wstring& folder);

class CFolderLock
{
public:
    CFolderLock() = default;
    // Lets go of the folder when held; on the thread that took it.
    ~CFolderLock();
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;

    // Makes or opens the folder's mutex; false (GetLastError set) when it
    // cannot be had.
    bool Open(const std::wstring& folder);
    // Waits up to ms for the folder: true once this thread holds it, also
    // when the last holder ended without letting go (a launcher that was
    // killed); false when the time is up or Open failed.
    bool Take(DWORD ms);

private:
    UniqueHandle m_mutex;
    bool m_held = false;
};
