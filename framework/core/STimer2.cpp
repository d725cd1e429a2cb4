#include "core/STimer2.h"
#include "core/SArray.h"
#include "core/SWindow.h"

namespace WUI {

BOOL STimer2::SetTimer(SWND owner, UINT id, UINT elapse)
{
    KillTimer(owner, id);
    return StartTimer(elapse, tagTIMERINFO{owner, id}) != 0;
}

void STimer2::KillTimer(SWND owner, UINT id)
{
    for (Map::Node *n = GetMap().First(); n; n = GetMap().Next(n)) {
        if (n->value.owner == owner && n->value.id == id) {
            StopTimer(n->key);
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
        StopTimer(ids[i]);
}

void STimer2::OnTimerTick(UINT winId, const tagTIMERINFO &info)
{
    SWindow *element = SWindowMgr::GetWindow(info.owner);
    if (!element) {
        StopTimer(winId); // the owner died without killing it: nothing else would
        return;
    }
    element->SendSwndMessage(UM_SWND_TIMER, info.id, 0);
}

} // namespace WUI
