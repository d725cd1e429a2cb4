#include "FolderLock.h"

#include "FsPath.h"
#include "Md5.h"
#include "syshelpers/SafePaths.h"

std::wstring FolderLockName(const std::wstring& folder)
{
    std::wstring key = NormalizeFolder(FsFullPath(folder));
    if (key.empty())
        key = folder;
    if (!key.empty())
        CharUpperBuffW(&key[0], DWORD(key.size()));
    const std::string utf8 = Utf8FromWide(key.c_str());
    MD5 digest;
    digest.Update(utf8.data(), utf8.size());
    digest.Finalize();
    return L"Local\\OrvoUpdateFolder_" + WideFromUtf8(digest.GetHexDigest().c_str());
}

CFolderLock::~CFolderLock()
{
    if (m_held)
        ReleaseMutex(m_mutex.Get());
}

bool CFolderLock::Open(const std::wstring& folder)
{
    m_mutex.Reset(CreateMutexW(nullptr, FALSE, FolderLockName(folder).c_str()));
    return m_mutex.Valid();
}

bool CFolderLock::Take(DWORD ms)
{
    if (m_held)
        return true;
    if (!m_mutex.Valid())
        return false;
    DWORD result = WaitForSingleObject(m_mutex.Get(), ms);
    m_held = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    return m_held;
}
