#pragma once
#include "core/ISwndNode.h"
#include <map>

namespace WUI {

// The framework message that carries an element timer's tick (wParam = timer id).
const UINT UM_SWND_TIMER = 0x1938;

struct tagTIMERINFO {
    SWND owner;
    UINT id;
};

// Element timers that need no window: thread timers whose ticks go to the
// owning element as UM_SWND_TIMER while it lives.
class STimer2 {
public:
    STimer2();
    // Kills every timer still running.
    virtual ~STimer2();
    STimer2(const STimer2 &) = delete;
    STimer2 &operator=(const STimer2 &) = delete;
    static STimer2 *GetSingletonPtr() { return s_instance; }

    // Replaces a timer of the same owner and id; FALSE when Windows gives no timer.
    BOOL SetTimer(SWND owner, UINT id, UINT elapse);
    // Kills the owner's timer with that id; nothing when there is none.
    void KillTimer(SWND owner, UINT id);
    // Kills every timer of the owner.
    void KillTimer(SWND owner);
    size_t GetCount() const { return m_timers.size(); }

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR winId, DWORD);
    void OnTick(UINT_PTR winId);

    static STimer2 *s_instance;
    std::map<UINT_PTR, tagTIMERINFO> m_timers;
};

} // namespace WUI
