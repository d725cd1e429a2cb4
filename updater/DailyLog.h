// One log file a day in the folder "log" beside the executable:
// "<folder>\<tag>YYYY-MM-DD.txt", each line "hh:mm:ss - message".
#pragma once
#include <cstdio>
#include <string>

class DailyLog
{
public:
    explicit DailyLog(const char* tag) : m_tag(tag) {}
    ~DailyLog();
    DailyLog(const DailyLog&) = delete;
    DailyLog& operator=(const DailyLog&) = delete;

    // Appends one line (cut at 1023 bytes) and echoes it to standard output.
    // A file that cannot be opened loses the line.
    void Write(const char* message);

private:
    bool Open(int year, int month, int day);

    const char* m_tag;
    FILE* m_file = nullptr;
    int m_date = 0;  // YYYYMMDD of the open file
};
