#include "TabHost.h"

#include "controls/TabControls.h"

using namespace WUI;

namespace tabtest {

TabHost::TabHost(int width, int height) : RealContainerHost(width, height)
{
    RegisterTabControls(App());
}

STabCtrl* TabHost::Load(const wchar_t* xml)
{
    RealContainerHost::Load(xml);
    return Find<STabCtrl>(L"tab");
}

TabEventLog::TabEventLog(STabCtrl* tab)
{
    SEventSet* events = tab->GetEventSet();
    events->SubscribeEvent(EventTabSelChanging::EventID, &TabEventLog::OnChanging, this);
    events->SubscribeEvent(EventTabSelChanged::EventID, &TabEventLog::OnChanged, this);
    events->SubscribeEvent(EventTabItemHover::EventID, &TabEventLog::OnHover, this);
    events->SubscribeEvent(EventTabItemLeave::EventID, &TabEventLog::OnLeave, this);
}

std::vector<std::wstring> TabEventLog::Take()
{
    std::vector<std::wstring> out;
    out.swap(m_log);
    return out;
}

bool TabEventLog::OnChanging(EventArgs& args)
{
    auto& e = static_cast<EventTabSelChanging&>(args);
    m_log.push_back(L"changing " + std::to_wstring(e.iOldSel) + L">" + std::to_wstring(e.iNewSel));
    if (e.iNewSel == vetoTo) e.bCancel = TRUE;
    return false;
}

bool TabEventLog::OnChanged(EventArgs& args)
{
    auto& e = static_cast<EventTabSelChanged&>(args);
    m_log.push_back(L"changed " + std::to_wstring(e.iOldSel) + L">" + std::to_wstring(e.iNewSel));
    return false;
}

bool TabEventLog::OnHover(EventArgs& args)
{
    m_log.push_back(L"hover " + std::to_wstring(static_cast<EventTabItemHover&>(args).iItem));
    return false;
}

bool TabEventLog::OnLeave(EventArgs& args)
{
    m_log.push_back(L"leave " + std::to_wstring(static_cast<EventTabItemLeave&>(args).iItem));
    return false;
}

}  // namespace tabtest
