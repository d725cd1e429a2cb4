// What a tab control tells the application.
#pragma once

#include "core/EventArgs.h"

namespace WUI {

// The selection is about to move from iOldSel to iNewSel; a handler sets
// bCancel to keep it where it is.
class EventTabSelChanging : public TplEventArgs<EventTabSelChanging> {
public:
    EventTabSelChanging(SWindow* sender, int oldSel, int newSel)
        : TplEventArgs<EventTabSelChanging>(sender), iOldSel(oldSel), iNewSel(newSel)
    {
    }
    int iOldSel;
    int iNewSel;
    BOOL bCancel = FALSE;
};

class EventTabSelChanged : public TplEventArgs<EventTabSelChanged> {
public:
    EventTabSelChanged(SWindow* sender, int oldSel, int newSel)
        : TplEventArgs<EventTabSelChanged>(sender), iOldSel(oldSel), iNewSel(newSel)
    {
    }
    int iOldSel;
    int iNewSel;
};

// The mouse came onto a tab.
class EventTabItemHover : public TplEventArgs<EventTabItemHover> {
public:
    EventTabItemHover(SWindow* sender, int item) : TplEventArgs<EventTabItemHover>(sender), iItem(item) {}
    int iItem;
};

// The mouse left a tab.
class EventTabItemLeave : public TplEventArgs<EventTabItemLeave> {
public:
    EventTabItemLeave(SWindow* sender, int item) : TplEventArgs<EventTabItemLeave>(sender), iItem(item) {}
    int iItem;
};

}  // namespace WUI
