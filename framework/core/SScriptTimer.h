#pragma once
#include "core/SThreadTimerMap.h"
#include "core/TStringT.h"

namespace WUI {

// The framework message that runs a window's script handler on a timer
// (wParam = timer id, lParam = the handler's name, valid during the call).
const UINT UM_SCRIPTTIMER = 0x2BD9;

struct SCRIPTTIMERINFO {
    HWND owner;
    SStringW handler;
    BOOL repeat;
};

// Timers that call a named script handler of a window: their ticks are sent
// to the owner window. The destructor kills every timer still entered.
class SScriptTimer : public SThreadTimerMap<SScriptTimer, SCRIPTTIMERINFO> {
    friend class SThreadTimerMap<SScriptTimer, SCRIPTTIMERINFO>;

public:
    // A timer that sends the owner UM_SCRIPTTIMER every elapse ms, or once
    // when repeat is FALSE. The timer id, or 0 when Windows gives no timer.
    UINT SetTimer(HWND owner, const SStringW &handler, UINT elapse, BOOL repeat);
    // Kills the timer and forgets it; nothing for an unknown id.
    void KillTimer(UINT id) { StopTimer(id); }

private:
    void OnTimerTick(UINT id, const SCRIPTTIMERINFO &info);
};

} // namespace WUI
