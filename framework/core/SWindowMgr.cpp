#include "core/SWindowMgr.h"
#include "core/STimer2.h"

namespace WUI {

SWindowMgr *SWindowMgr::s_instance = nullptr;

SWindowMgr::SWindowMgr() { s_instance = this; }

SWindowMgr::~SWindowMgr()
{
    if (s_instance == this)
        s_instance = nullptr;
}

SWND SWindowMgr::NewWindow(ISwndNode *element)
{
    SWindowMgr *mgr = s_instance;
    if (!mgr || !element)
        return 0;
    SAutoLock lock(mgr->m_lock);
    SWND handle = ++mgr->m_counter;
    mgr->m_map[handle] = element;
    return handle;
}

bool SWindowMgr::DestroyWindow(SWND handle)
{
    SWindowMgr *mgr = s_instance;
    if (!mgr || !handle)
        return false;
    {
        SAutoLock lock(mgr->m_lock);
        if (!mgr->m_map.erase(handle))
            return false;
    }
    if (STimer2 *timers = STimer2::GetSingletonPtr())
        timers->KillTimer(handle);
    return true;
}

ISwndNode *SWindowMgr::GetWindow(SWND handle)
{
    SWindowMgr *mgr = s_instance;
    if (!handle || !mgr)
        return nullptr;
    SAutoLock lock(mgr->m_lock);
    auto it = mgr->m_map.find(handle);
    return it == mgr->m_map.end() ? nullptr : it->second;
}

} // namespace WUI
