// What the rich edit and the edit tell the application.
#pragma once

#include "core/EventArgs.h"

namespace WUI {

// A notification of the text services (EN_* code and its record); a handler
// may set the result the services get back.
class EventRENotify : public TplEventArgs<EventRENotify> {
public:
    EventRENotify(SWindow* sender, int code, LPVOID data)
        : TplEventArgs<EventRENotify>(sender), iNotify(code), pv(data)
    {
    }
    int iNotify;
    LPVOID pv;
    HRESULT hr = S_OK;
};

// A command chosen from the edit's context menu; a handler that handles it
// keeps the built-in action from running.
class EventREMenu : public TplEventArgs<EventREMenu> {
public:
    EventREMenu(SWindow* sender, UINT id) : TplEventArgs<EventREMenu>(sender), uCmd(id) {}
    UINT uCmd;
};

}  // namespace WUI
