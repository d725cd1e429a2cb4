#pragma once
#include "core/SSingleton.h"

namespace WUI {

// Timers that need no window: thread timers, keyed by the id Windows gives
// them, each entered with the record of what its tick is for. A tick of an
// entered timer calls T::OnTimerTick (id, a copy of the record, so the call
// may kill the timer); a tick of any other goes with its timer, since only
// T's procedure makes them.
template <class T, class Info>
class SThreadTimerMap : public SSingletonMap<T, Info, UINT> {
public:
    // Kills every timer still entered.
    ~SThreadTimerMap() override
    {
        auto &map = this->GetMap();
        for (auto *n = map.First(); n; n = map.Next(n))
            ::KillTimer(nullptr, n->key);
        map.RemoveAll();
    }

protected:
    // The new timer's id, or 0 when Windows gives none or the record cannot be entered.
    UINT StartTimer(UINT elapse, const Info &info)
    {
        // Id 0 lets Windows choose: a chosen id could take over another thread timer.
        UINT id = static_cast<UINT>(::SetTimer(nullptr, 0, elapse, TimerProc));
        if (!id)
            return 0;
        if (!this->GetMap().SetValue(id, info)) {
            ::KillTimer(nullptr, id);
            return 0;
        }
        return id;
    }
    // Kills the timer and forgets it; false (nothing killed) for an id not entered.
    bool StopTimer(UINT id)
    {
        if (!this->GetMap().RemoveKey(id))
            return false;
        ::KillTimer(nullptr, id);
        return true;
    }

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
    {
        T *timers = T::GetSingletonPtr();
        const Info *found = timers ? timers->Find(static_cast<UINT>(id)) : nullptr;
        if (!found) {
            ::KillTimer(nullptr, id);
            return;
        }
        const Info info = *found;
        timers->OnTimerTick(static_cast<UINT>(id), info);
    }
};

} // namespace WUI
