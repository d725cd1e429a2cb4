#include "GridTestSupport.h"

#include "itemviews/GridViews.h"
#include "itemviews/SHeaderCtrl.h"
#include "itemviews/SListCtrl.h"

#include <ostream>

using namespace WUI;

namespace gridtest {

EventLog::EventLog(SWindow* element, std::initializer_list<int> ids)
{
    for (int id : ids) element->GetEventSet()->SubscribeEvent(id, &EventLog::OnEvent, this);
}

bool EventLog::OnEvent(EventArgs& args)
{
    Fired f = {args.GetId(), 0, 0};
    switch (args.GetId()) {
    case EventHeaderClick::EventID: f.a = static_cast<EventHeaderClick&>(args).iItem; break;
    case EventHeaderItemChanging::EventID: {
        auto& e = static_cast<EventHeaderItemChanging&>(args);
        f.a = e.iItem, f.b = e.nWidth;
        break;
    }
    case EventHeaderItemChanged::EventID: {
        auto& e = static_cast<EventHeaderItemChanged&>(args);
        f.a = e.iItem, f.b = e.nWidth;
        break;
    }
    case EventHeaderItemSwap::EventID: {
        auto& e = static_cast<EventHeaderItemSwap&>(args);
        f.a = e.iOldIndex, f.b = e.iNewIndex;
        break;
    }
    case EventLCSelChanging::EventID: {
        auto& e = static_cast<EventLCSelChanging&>(args);
        f.a = e.nNewSel, f.b = e.nOldSel;
        break;
    }
    case EventLCSelChanged::EventID: {
        auto& e = static_cast<EventLCSelChanged&>(args);
        f.a = e.nNewSel, f.b = e.nOldSel;
        break;
    }
    case EventLCItemDeleted::EventID: {
        auto& e = static_cast<EventLCItemDeleted&>(args);
        f.a = e.nItem, f.b = static_cast<int>(e.dwData);
        break;
    }
    default: break;
    }
    fired.push_back(f);
    return false;  // let others hear it too
}

std::vector<Fired> EventLog::Take()
{
    std::vector<Fired> out;
    out.swap(fired);
    return out;
}

int EventLog::Count(int id) const
{
    int n = 0;
    for (const Fired& f : fired) n += f.id == id;
    return n;
}

GridHost::GridHost(int width, int height) : InputHost(width, height)
{
    RegisterGridViews(App());
}

void GridHost::Drag(POINT from, std::initializer_list<POINT> through, bool release)
{
    Mouse(WM_MOUSEMOVE, from.x, from.y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    POINT last = from;
    for (POINT pt : through) {
        Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        last = pt;
    }
    if (release) Send(WM_LBUTTONUP, 0, MAKELPARAM(last.x, last.y));
}

std::ostream& operator<<(std::ostream& os, const Fired& f)
{
    return os << "{" << f.id << ": " << f.a << ", " << f.b << "}";
}

}  // namespace gridtest
