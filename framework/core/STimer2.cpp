#include "core/STimer2.h"
#include "core/SWindowMgr.h"

namespace WUI {

STimer2 *STimer2::s_instance = nullptr;

STimer2::STimer2() { s_instance = this; }

STimer2::~STimer2()
{
    for (const auto &t : m_timers)
        ::KillTimer(nullptr, t.first);
    m_timers.clear();
    if (s_instance == this)
        s_instance = nullptr;
}

BOOL STimer2::SetTimer(SWND owner, UINT id, UINT elapse)
{
    KillTimer(owner, id);
    // Id 0 lets Windows choose: a chosen id could take over another thread timer.
    UINT_PTR winId = ::SetTimer(nullptr, 0, elapse, TimerProc);
    if (!winId)
        return FALSE;
    m_timers[winId] = tagTIMERINFO{owner, id};
    return TRUE;
}

void STimer2::KillTimer(SWND owner, UINT id)
{
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->second.owner == owner && it->second.id == id) {
            ::KillTimer(nullptr, it->first);
            m_timers.erase(it);
            return;
        }
    }
}

void STimer2::KillTimer(SWND owner)
{
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->second.owner == owner) {
            ::KillTimer(nullptr, it->first);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

void CALLBACK STimer2::TimerProc(HWND, UINT, UINT_PTR winId, DWORD)
{
    if (s_instance)
        s_instance->OnTick(winId);
    else
        ::KillTimer(nullptr, winId);
}

void STimer2::OnTick(UINT_PTR winId)
{
    auto it = m_timers.find(winId);
    if (it == m_timers.end()) {
        ::KillTimer(nullptr, winId); // only this class uses the procedure: a stray tick is ours
        return;
    }
    const tagTIMERINFO info = it->second;
    ISwndNode *element = SWindowMgr::GetWindow(info.owner);
    if (!element) {
        // The owner died without killing it: nothing would ever stop it.
        ::KillTimer(nullptr, winId);
        m_timers.erase(it);
        return;
    }
    element->SendSwndMessage(UM_SWND_TIMER, info.id, 0);
}

} // namespace WUI
