#include "PendingSwaps.h"

#include <windows.h>

#include <cstring>

#include "FsPath.h"

namespace {

// The full path of a local file in one spelling: upper case, "\" only.
std::wstring PathKey(const char* path)
{
    std::wstring key = FsFullPath(path);
    if (key.empty())
        return key;
    CharUpperBuffW(&key[0], DWORD(key.size()));
    for (wchar_t& c : key)
        if (c == L'/')
            c = L'\\';
    return key;
}

void CopyPath(char (&out)[256], const char* path)
{
    size_t n = strlen(path);
    if (n >= sizeof out)
        n = sizeof out - 1;
    memcpy(out, path, n);
    out[n] = 0;
}

} // namespace

std::string PendingSwaps::Add(const char* target, const char* temp)
{
    std::wstring key = PathKey(target);
    auto found = m_index.find(key);
    if (found != m_index.end()) {
        PendingReplace& record = *m_records[found->second];
        std::string superseded = record.temp;
        CopyPath(record.temp, temp);
        if (superseded.empty() || (*temp && PathKey(superseded.c_str()) == PathKey(temp)))
            return std::string();
        return superseded;
    }
    auto record = std::make_unique<PendingReplace>();
    CopyPath(record->target, target);
    CopyPath(record->temp, temp);
    m_records.push_back(std::move(record));
    m_index.emplace(std::move(key), m_records.size() - 1);
    return std::string();
}

bool PendingSwaps::WillDelete(const char* target) const
{
    auto found = m_index.find(PathKey(target));
    return found != m_index.end() && IsDeletion(*m_records[found->second]);
}

void PendingSwaps::Clear()
{
    m_records.clear();
    m_index.clear();
}
