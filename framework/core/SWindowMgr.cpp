#include "core/SWindowMgr.h"
#include "core/STimer2.h"

namespace WUI {

SWND SWindowMgr::NewWindow(SWindow *element)
{
    SWindowMgr *mgr = GetSingletonPtr();
    if (!mgr || !element)
        return 0;
    SAutoLock lock(mgr->m_lock);
    if (!mgr->GetMap().SetValue(mgr->m_counter + 1, element))
        return 0;
    return ++mgr->m_counter;
}

bool SWindowMgr::DestroyWindow(SWND handle)
{
    SWindowMgr *mgr = GetSingletonPtr();
    if (!mgr || !handle)
        return false;
    {
        SAutoLock lock(mgr->m_lock);
        if (!mgr->GetMap().RemoveKey(handle))
            return false;
    }
    if (STimer2 *timers = STimer2::GetSingletonPtr())
        timers->KillTimer(handle);
    return true;
}

SWindow *SWindowMgr::GetWindow(SWND handle)
{
    SWindowMgr *mgr = GetSingletonPtr();
    if (!handle || !mgr)
        return nullptr;
    SAutoLock lock(mgr->m_lock);
    SWindow **element = mgr->Find(handle);
    return element ? *element : nullptr;
}

} // namespace WUI
