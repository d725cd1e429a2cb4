#include "RequestDeadline.h"

RequestDeadline::RequestDeadline(int timeoutSeconds, DWORD rateWindowMs) : m_windowMs(rateWindowMs)
{
    if (timeoutSeconds > 0)
        m_end = GetTickCount64() + ULONGLONG(timeoutSeconds) * 1000;
}

void RequestDeadline::AllowBody(long long bytes)
{
    if (!Limited())
        return;
    if (bytes > 0)
        m_end += ULONGLONG(bytes) * 1000 / kMinBytesPerSecond;
    if (m_windowMs) {
        m_windowBytes = kMinBytesPerSecond * m_windowMs / 1000;
        if (m_windowBytes < 1)
            m_windowBytes = 1;
        m_windowStart = 0;
        m_windowEnd = GetTickCount64() + m_windowMs;
    }
}

void RequestDeadline::BodyReceived(long long received)
{
    if (m_windowEnd && received - m_windowStart >= m_windowBytes) {
        m_windowStart = received;
        m_windowEnd = GetTickCount64() + m_windowMs;
    }
}

DWORD RequestDeadline::MsLeft() const
{
    ULONGLONG now = GetTickCount64();
    ULONGLONG end = m_windowEnd && m_windowEnd < m_end ? m_windowEnd : m_end;
    if (!Limited() || now >= end)
        return 0;
    ULONGLONG left = end - now;
    return left < 0xFFFFFFFEull ? DWORD(left) : 0xFFFFFFFEu;
}
