#pragma once
#include "core/SSingleton.h"
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

// Timers that call a named script handler of a window: thread timers, keyed
// by their Windows id, whose ticks are sent to the owner window.
class SScriptTimer : public SSingletonMap<SScriptTimer, SCRIPTTIMERINFO, UINT> {
public:
    // Kills every timer still entered.
    ~SScriptTimer() override;

    // A timer that sends the owner UM_SCRIPTTIMER every elapse ms, or once
    // when repeat is FALSE. The timer id, or 0 when Windows gives no timer.
    UINT SetTimer(HWND owner, const SStringW &handler, UINT elapse, BOOL repeat);
    // Kills the timer and forgets it; nothing for an unknown id.
    void KillTimer(UINT id);

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
    void OnTick(UINT id);
};

} // namespace WUI
