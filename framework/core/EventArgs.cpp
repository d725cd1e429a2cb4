#include "core/EventArgs.h"

#include "core/SWindow.h"

namespace WUI {

EventArgs::EventArgs(SWindow* from)
    : idFrom(from ? from->GetID() : 0), nameFrom(from ? from->GetName() : L""), sender(from)
{
}

const EventTableEntry* GetEventTable(int* count)
{
#define WUI_WIDEN(text) L##text
#define WUI_EVENT_ENTRY(cls, evtId, evtName) {evtId, WUI_WIDEN(#cls), evtName},
    static const EventTableEntry table[] = {WUI_EVENT_TABLE(WUI_EVENT_ENTRY)};
#undef WUI_EVENT_ENTRY
#undef WUI_WIDEN
    if (count) *count = static_cast<int>(sizeof(table) / sizeof(table[0]));
    return table;
}

}  // namespace WUI
