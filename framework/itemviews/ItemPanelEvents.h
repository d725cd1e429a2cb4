// Events of item panels: the mouse events a panel fires on itself (the view
// showing it subscribes to them), and the wrapper in which any event fired
// inside a row reaches the application on the view.
#pragma once

#include "core/EventArgs.h"

namespace WUI {

class SItemPanel;

// A mouse event of a panel, with the mouse message's wParam and lParam
// (the point in panel coordinates).
template <class T>
class TplItemPanelMouseEvent : public TplEventArgs<T> {
public:
    TplItemPanelMouseEvent(SWindow* sender, WPARAM w, LPARAM l) : TplEventArgs<T>(sender), wParam(w), lParam(l) {}
    WPARAM wParam;
    LPARAM lParam;
};

#define WUI_ITEMPANEL_MOUSE_EVENT(cls)                                                                    \
    class cls : public TplItemPanelMouseEvent<cls> {                                                      \
    public:                                                                                               \
        cls(SWindow* sender, WPARAM w, LPARAM l) : TplItemPanelMouseEvent<cls>(sender, w, l) {}           \
    };
WUI_ITEMPANEL_MOUSE_EVENT(EventItemPanelClick)
WUI_ITEMPANEL_MOUSE_EVENT(EventItemPanelDbclick)
WUI_ITEMPANEL_MOUSE_EVENT(EventItemPanelRclick)
WUI_ITEMPANEL_MOUSE_EVENT(EventItemPanelHover)
#undef WUI_ITEMPANEL_MOUSE_EVENT

class EventItemPanelLeave : public TplEventArgs<EventItemPanelLeave> {
public:
    explicit EventItemPanelLeave(SWindow* sender) : TplEventArgs<EventItemPanelLeave>(sender) {}
};

// An event fired inside a row, as the view passes it on: the sender is the
// view, panel the row it came from, origin the event itself (the panel's
// own or one of its children's; alive for the length of the call).
class EventOfPanel : public TplEventArgs<EventOfPanel> {
public:
    EventOfPanel(SWindow* view, SItemPanel* from, EventArgs* original)
        : TplEventArgs<EventOfPanel>(view), panel(from), origin(original)
    {
    }
    SItemPanel* panel;
    EventArgs* origin;
};

}  // namespace WUI
