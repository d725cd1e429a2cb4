#include "ProgressText.h"

int ProgressPercent(int total, int received)
{
    if (total == 0)
        return 1;
    long long percent = (long long)received * 100 / total;
    if (percent > 99)
        return 100;
    return percent < 0 ? 0 : int(percent) + 1;
}

int SpeedKBps(int received, DWORD elapsedMs)
{
    if (elapsedMs == 0 || received <= 0)
        return 0;
    return int((long long)received * 1000 / elapsedMs);
}

bool SpeedClock::Report(int received, DWORD now, int* speed)
{
    // A report of nothing yet starts the clock again: a file tried once more
    // starts over. (A file's first report is seldom one: it holds what came
    // with the head.)
    if (received == 0)
        m_fileStart = now;
    if (m_shownOnce && now - m_lastShown < 500)
        return false;
    m_shownOnce = true;
    m_lastShown = now;
    *speed = SpeedKBps(received, now - m_fileStart);
    return true;
}
