// The figures the progress window shows for a download.
#pragma once
#include <windows.h>

// The percentage for received of total (both in KB): 1 when total is 0,
// else received * 100 / total + 1, at most 100 (and never below 0).
int ProgressPercent(int total, int received);

// KB per second for received KB over elapsedMs; 0 when no time has passed.
int SpeedKBps(int received, DWORD elapsedMs);

// The speed display's clock: the speed is worked out again at most every
// 500 ms, over the time since the current file began.
class SpeedClock
{
public:
    // A file begins at tick now (its name came).
    void StartFile(DWORD now) { m_fileStart = now; }
    // Takes one progress report at tick now. True when the speed is due
    // to be shown again; *speed is then set.
    bool Report(int received, DWORD now, int* speed);

private:
    DWORD m_lastShown = 0;
    DWORD m_fileStart = 0;
    bool m_shownOnce = false;
};
