// How long a whole HTTP response may take to arrive.
#pragma once
#include <windows.h>

// The time-out for the head, plus the body's length at a minimum rate: a
// server that trickles its bytes cannot hold a request longer than a slow
// but working one would take.
class RequestDeadline
{
public:
    // The slowest delivery a body may have, in bytes a second.
    static const long long kMinBytesPerSecond = 4096;

    // Starts now; timeoutSeconds 0 sets no deadline at all.
    explicit RequestDeadline(int timeoutSeconds);
    // Adds the time the body's bytes take at the minimum rate.
    void AllowBody(long long bytes);
    bool Limited() const { return m_end != 0; }
    // Milliseconds left, 0 once the deadline has passed (and when there is none).
    DWORD MsLeft() const;

private:
    ULONGLONG m_end = 0;  // GetTickCount64 value; 0 = none
};
