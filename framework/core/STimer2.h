#pragma once
#include "core/SWindowMgr.h"
#include "core/SThreadTimerMap.h"

namespace WUI {

// The framework message that carries an element timer's tick (wParam = timer id).
const UINT UM_SWND_TIMER = 0x1938;

struct tagTIMERINFO {
    SWND owner;
    UINT id;
};

// Element timers that need no window: their ticks go to the owning element
// as UM_SWND_TIMER while it lives. The destructor kills every timer still running.
class STimer2 : public SThreadTimerMap<STimer2, tagTIMERINFO> {
    friend class SThreadTimerMap<STimer2, tagTIMERINFO>;

public:
    // Replaces a timer of the same owner and id; FALSE when Windows gives no timer.
    BOOL SetTimer(SWND owner, UINT id, UINT elapse);
    // Kills the owner's timer with that id; nothing when there is none.
    void KillTimer(SWND owner, UINT id);
    // Kills every timer of the owner.
    void KillTimer(SWND owner);

private:
    void OnTimerTick(UINT winId, const tagTIMERINFO &info);
};

} // namespace WUI
