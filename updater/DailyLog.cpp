#include "DailyLog.h"

#include <windows.h>

#include <cstring>

#include "FsPath.h"

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
    // The executable's folder may lie outside the system code page.
    const std::wstring folder = ExecutableFolderW();
    if (folder.empty())
        return false;
    const std::wstring logFolder = folder + L"\\log";
    char name[64];
    snprintf(name, sizeof name, "\\%s%04d-%02d-%02d.txt", m_tag, year, month, day);
    const std::string path = Utf8FromWide(logFolder.c_str()) + name;
    CreateDirectoryW(logFolder.c_str(), nullptr);
    printf("%s\n", path.c_str());
    // Kept open for the day: opening it for every line slows a large update.
    m_file = FsOpen(path.c_str(), L"a");
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
