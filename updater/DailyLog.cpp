#include "DailyLog.h"

#include <windows.h>

#include <cstring>

DailyLog::~DailyLog()
{
    if (m_file)
        fclose(m_file);
}

bool DailyLog::Open(int year, int month, int day)
{
    int date = year * 10000 + month * 100 + day;
    if (m_file && date == m_date)
        return true;
    if (m_file)
        fclose(m_file);
    m_file = nullptr;
    char folder[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, folder, sizeof folder);
    char* cut = length && length < sizeof folder ? strrchr(folder, '\\') : nullptr;
    if (!cut)
        return false;
    *cut = 0;
    char logFolder[MAX_PATH], path[MAX_PATH];
    int n = snprintf(logFolder, sizeof logFolder, "%s\\log", folder);
    if (n < 0 || size_t(n) >= sizeof logFolder)
        return false;
    n = snprintf(path, sizeof path, "%s\\%s%04d-%02d-%02d.txt", logFolder, m_tag, year, month, day);
    if (n < 0 || size_t(n) >= sizeof path)
        return false;
    CreateDirectoryA(logFolder, nullptr);
    printf("%s\n", path);
    // Kept open for the day: opening it for every line slows a large update.
    m_file = fopen(path, "a");
    m_date = date;
    return m_file != nullptr;
}

void DailyLog::Write(const char* message)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char line[1024];
    int n = snprintf(line, sizeof line, "%02d:%02d:%02d - %s\n", t.wHour, t.wMinute, t.wSecond, message);
    if (n < 0 || size_t(n) >= sizeof line)
        line[sizeof line - 2] = '\n';  // a cut line still ends its line
    fputs(line, stdout);
    if (!Open(t.wYear, t.wMonth, t.wDay))
        return;
    fputs(line, m_file);
    fflush(m_file);  // nothing is lost when the process is ended
}
