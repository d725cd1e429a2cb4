#pragma once
#include "core/SWindowMgr.h"
#include "core/SSingleton.h"

namespace WUI {

// The framework message that carries an element timer's tick (wParam = timer id).
const UINT UM_SWND_TIMER = 0x1938;

struct tagTIMERINFO {
    SWND owner;
    UINT id;
};

// Element timers that need no window: thread timers, keyed by their Windows
// id, whose ticks go to the owning element as UM_SWND_TIMER while it lives.
class STimer2 : public SSingletonMap<STimer2, tagTIMERINFO, UINT> {
public:
    // Kills every timer still running.
    ~STimer2() override;

    // Replaces a timer of the same owner and id; FALSE when Windows gives no timer.
    BOOL SetTimer(SWND owner, UINT id, UINT elapse);
    // Kills the owner's timer with that id; nothing when there is none.
    void KillTimer(SWND owner, UINT id);
    // Kills every timer of the owner.
    void KillTimer(SWND owner);

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR winId, DWORD);
    void OnTick(UINT winId);
    void Kill(UINT winId);
};

} // namespace WUI
