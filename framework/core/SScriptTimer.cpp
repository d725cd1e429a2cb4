#include "core/SScriptTimer.h"

namespace WUI {

UINT SScriptTimer::SetTimer(HWND owner, const SStringW &handler, UINT elapse, BOOL repeat)
{
    return StartTimer(elapse, SCRIPTTIMERINFO{owner, handler, repeat});
}

void SScriptTimer::OnTimerTick(UINT id, const SCRIPTTIMERINFO &info)
{
    if (!info.repeat)
        StopTimer(id);
    // A repeating timer of a window that is gone runs on until it is killed.
    if (::IsWindow(info.owner))
        ::SendMessageW(info.owner, UM_SCRIPTTIMER, id, reinterpret_cast<LPARAM>(info.handler.c_str()));
}

} // namespace WUI
