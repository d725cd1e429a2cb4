#include "RequestDeadline.h"

RequestDeadline::RequestDeadline(int timeoutSeconds)
{
    if (timeoutSeconds > 0)
        m_end = GetTickCount64() + ULONGLONG(timeoutSeconds) * 1000;
}

void RequestDeadline::AllowBody(long long bytes)
{
    if (Limited() && bytes > 0)
        m_end += ULONGLONG(bytes) * 1000 / kMinBytesPerSecond;
}

DWORD RequestDeadline::MsLeft() const
{
    ULONGLONG now = GetTickCount64();
    if (!Limited() || now >= m_end)
        return 0;
    ULONGLONG left = m_end - now;
    return left < 0xFFFFFFFEull ? DWORD(left) : 0xFFFFFFFEu;
}
