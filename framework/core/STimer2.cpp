#include "core/STimer2.h"
#include "core/SArray.h"
#include "core/SWindow.h"

namespace WUI {

STimer2::~STimer2()
{
    for (Map::Node *n = GetMap().First(); n; n = GetMap().Next(n))
        ::KillTimer(nullptr, n->key);
    GetMap().RemoveAll();
}

void STimer2::Kill(UINT winId)
{
    ::KillTimer(nullptr, winId);
    GetMap().RemoveKey(winId);
}

BOOL STimer2::SetTimer(SWND owner, UINT id, UINT elapse)
{
    KillTimer(owner, id);
    // Id 0 lets Windows choose: a chosen id could take over another thread timer.
    UINT winId = static_cast<UINT>(::SetTimer(nullptr, 0, elapse, TimerProc));
    if (!winId)
        return FALSE;
    if (!GetMap().SetValue(winId, tagTIMERINFO{owner, id})) {
        ::KillTimer(nullptr, winId);
        return FALSE;
    }
    return TRUE;
}

void STimer2::KillTimer(SWND owner, UINT id)
{
    for (Map::Node *n = GetMap().First(); n; n = GetMap().Next(n)) {
        if (n->value.owner == owner && n->value.id == id) {
            Kill(n->key);
            return;
        }
    }
}

void STimer2::KillTimer(SWND owner)
{
    // Removal may rehash the map: collect first, remove after the walk.
    SArray<UINT> ids;
    for (Map::Node *n = GetMap().First(); n; n = GetMap().Next(n))
        if (n->value.owner == owner)
            ids.Add(n->key);
    for (int i = 0; i < ids.GetCount(); ++i)
        Kill(ids[i]);
}

void CALLBACK STimer2::TimerProc(HWND, UINT, UINT_PTR winId, DWORD)
{
    if (STimer2 *timers = GetSingletonPtr())
        timers->OnTick(static_cast<UINT>(winId));
    else
        ::KillTimer(nullptr, winId);
}

void STimer2::OnTick(UINT winId)
{
    const tagTIMERINFO *found = Find(winId);
    if (!found) {
        ::KillTimer(nullptr, winId); // only this class uses the procedure: a stray tick is ours
        return;
    }
    const tagTIMERINFO info = *found;
    SWindow *element = SWindowMgr::GetWindow(info.owner);
    if (!element) {
        Kill(winId); // the owner died without killing it: nothing else would
        return;
    }
    element->SendSwndMessage(UM_SWND_TIMER, info.id, 0);
}

} // namespace WUI
