// How long a whole HTTP response may take to arrive.
#pragma once
#include <windows.h>

// The time-out for the head, plus the body's length at a minimum rate: a
// server that trickles its bytes cannot hold a request longer than a slow
// but working one would take. The body must also keep that rate up as it
// comes: every window of time brings the rate's worth of bytes, else the
// request ends there, not once a length that may be near 2 GiB has had its
// time.
class RequestDeadline
{
public:
    // The slowest delivery a body may have, in bytes a second.
    static const long long kMinBytesPerSecond = 4096;
    // The window the rate is held to unless another is given.
    static const DWORD kRateWindowMs = 30000;

    // Starts now; timeoutSeconds 0 sets no deadline at all. rateWindowMs 0
    // holds the body to no window, only to the deadline.
    explicit RequestDeadline(int timeoutSeconds, DWORD rateWindowMs = kRateWindowMs);
    // Adds the time the body's bytes take at the minimum rate; the body's
    // first window starts now.
    void AllowBody(long long bytes);
    // The body has brought received bytes so far: once the window's worth
    // has come since the window began, the next window begins now.
    void BodyReceived(long long received);
    bool Limited() const { return m_end != 0; }
    // Milliseconds left until the deadline or the end of the window,
    // whichever comes first; 0 once it has passed (and when there is none).
    DWORD MsLeft() const;

private:
    ULONGLONG m_end = 0;        // GetTickCount64 value; 0 = none
    ULONGLONG m_windowEnd = 0;  // 0 = no window running
    long long m_windowStart = 0;  // body bytes when the window began
    long long m_windowBytes = 0;  // what a window must bring
    DWORD m_windowMs;
};
