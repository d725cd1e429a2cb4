#include "core/SScriptTimer.h"

namespace WUI {

SScriptTimer::~SScriptTimer()
{
    for (Map::Node *n = GetMap().First(); n; n = GetMap().Next(n))
        ::KillTimer(nullptr, n->key);
    GetMap().RemoveAll();
}

UINT SScriptTimer::SetTimer(HWND owner, const SStringW &handler, UINT elapse, BOOL repeat)
{
    // Id 0 lets Windows choose: a chosen id could take over another thread timer.
    UINT id = static_cast<UINT>(::SetTimer(nullptr, 0, elapse, TimerProc));
    if (!id)
        return 0;
    if (!GetMap().SetValue(id, SCRIPTTIMERINFO{owner, handler, repeat})) {
        ::KillTimer(nullptr, id);
        return 0;
    }
    return id;
}

void SScriptTimer::KillTimer(UINT id)
{
    if (!GetMap().RemoveKey(id))
        return;
    ::KillTimer(nullptr, id);
}

void CALLBACK SScriptTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    if (SScriptTimer *timers = GetSingletonPtr())
        timers->OnTick(static_cast<UINT>(id));
    else
        ::KillTimer(nullptr, id);
}

void SScriptTimer::OnTick(UINT id)
{
    const SCRIPTTIMERINFO *found = Find(id);
    if (!found) {
        ::KillTimer(nullptr, id); // only this class uses the procedure: a stray tick is ours
        return;
    }
    // A copy: the handler may kill this timer, and a one-shot entry goes now.
    const SCRIPTTIMERINFO info = *found;
    if (!info.repeat) {
        ::KillTimer(nullptr, id);
        GetMap().RemoveKey(id);
    }
    if (::IsWindow(info.owner))
        ::SendMessageW(info.owner, UM_SCRIPTTIMER, id, reinterpret_cast<LPARAM>(info.handler.c_str()));
}

} // namespace WUI
