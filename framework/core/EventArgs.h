// What an element tells the application: an argument object per event class,
// each class with its numeric id and its event name. This header owns the
// table of every event of the framework; the core's own event classes are
// defined here, the controls define theirs (with their fields) against it.
#pragma once

#include "core/IObjRef.h"
#include "core/SObject.h"

namespace WUI {

class SWindow;

// (class, id, name). The spellings "on_conext_menu" and "on_itemparem_rclick"
// are those layouts bind handlers by; they must stay as they are.
#define WUI_EVENT_TABLE(X)                                                      \
    X(EventInit, 8000, L"on_init")                                              \
    X(EventExit, 8001, L"on_exit")                                              \
    X(EventTimer, 8002, L"on_timer")                                            \
    X(EventSetFocus, 8100, L"on_set_focus")                                     \
    X(EventKillFocus, 8101, L"on_kill_focus")                                   \
    X(EventSwndCreate, 8102, L"on_create")                                      \
    X(EventSwndDestroy, 8103, L"on_destroy")                                    \
    X(EventSwndSize, 8104, L"on_size")                                          \
    X(EventSwndVisibleChanged, 8105, L"on_visible_changed")                     \
    X(EventSwndStateChanged, 8106, L"on_state_changed")                         \
    X(EventSwndMouseHover, 9000, L"on_mouse_hover")                             \
    X(EventSwndMouseLeave, 9001, L"on_mouse_leave")                             \
    X(EventCmd, 10000, L"on_command")                                           \
    X(EventCtxMenu, 10001, L"on_conext_menu")                                   \
    X(EventScrollViewOriginChanged, 10002, L"on_scrollview_origin_changed")     \
    X(EventScrollViewSizeChanged, 10003, L"on_scrollview_size_changed")         \
    X(EventScroll, 10004, L"on_scroll")                                         \
    X(EventOfPanel, 10006, L"on_event_of_panel")                                \
    X(EventItemPanelClick, 10007, L"on_itempanel_click")                        \
    X(EventItemPanelDbclick, 10008, L"on_itempanel_dbclick")                    \
    X(EventItemPanelRclick, 10009, L"on_itemparem_rclick")                      \
    X(EventItemPanelHover, 10010, L"on_itempanel_hover")                        \
    X(EventItemPanelLeave, 10011, L"on_itempanel_leave")                        \
    X(EventTabSelChanging, 11000, L"on_tab_sel_changing")                       \
    X(EventTabSelChanged, 11001, L"on_tab_sel_changed")                         \
    X(EventTabItemHover, 11002, L"on_tab_item_hover")                           \
    X(EventTabItemLeave, 11003, L"on_tab_item_leave")                           \
    X(EventLBSelChanging, 12000, L"on_listbox_sel_changing")                    \
    X(EventLBSelChanged, 12001, L"on_listbox_sel_changed")                      \
    X(EventLCSelChanging, 13000, L"on_listctrl_sel_changing")                   \
    X(EventLCSelChanged, 13001, L"on_listctrl_sel_changed")                     \
    X(EventLCItemDeleted, 13002, L"on_listctrl_del_item")                       \
    X(EventTVSelChanging, 14000, L"on_treeview_select_changing")                \
    X(EventTVSelChanged, 14001, L"on_treeview_select_changed")                  \
    X(EventTCSelChanging, 15000, L"on_treectrl_sel_changing")                   \
    X(EventTCSelChanged, 15001, L"on_treectrl_sel_changed")                     \
    X(EventTCExpand, 15002, L"on_treectrl_item_expand")                         \
    X(EventTCCheckState, 15003, L"on_treectrl_item_check")                      \
    X(EventTCDbClick, 15004, L"on_treectrl_item_dbclick")                       \
    X(EventLVSelChanging, 15100, L"on_listview_select_changing")                \
    X(EventLVSelChanged, 15101, L"on_listview_select_changed")                  \
    X(EventRENotify, 16000, L"on_richedit_notify")                              \
    X(EventREMenu, 16001, L"on_richedit_menu")                                  \
    X(EventSliderPos, 17000, L"on_slider_pos")                                  \
    X(EventHeaderClick, 18000, L"on_header_click")                              \
    X(EventHeaderItemChanging, 18001, L"on_header_item_changing")               \
    X(EventHeaderItemChanged, 18002, L"on_header_item_changed")                 \
    X(EventHeaderItemSwap, 18003, L"on_header_item_swap")                       \
    X(EventCBSelChange, 19000, L"on_combobox_sel_change")                       \
    X(EventCalendarSelDay, 20000, L"on_calendar_sel_day")                       \
    X(EventCalendarSetDate, 20001, L"on_calendar_set_date")                     \
    X(EventSpinValue2String, 21000, L"on_spin_value2string")                    \
    X(EventSplitPaneMoved, 22000, L"on_split_pane_moved")                       \
    X(EventAnimateStart, 22100, L"on_animate_start")                            \
    X(EventAnimateStop, 22101, L"on_animate_stop")

#define WUI_EVENT_DECLARE(cls, evtId, evtName) class cls;
WUI_EVENT_TABLE(WUI_EVENT_DECLARE)
#undef WUI_EVENT_DECLARE

// Id and name of event class E.
template <class E>
struct EventInfo;
#define WUI_EVENT_INFO(cls, evtId, evtName)              \
    template <>                                          \
    struct EventInfo<cls> {                              \
        enum { id = evtId };                             \
        static LPCWSTR name() { return evtName; }        \
    };
WUI_EVENT_TABLE(WUI_EVENT_INFO)
#undef WUI_EVENT_INFO

struct EventTableEntry {
    int id;
    LPCWSTR className;
    LPCWSTR name;
};
// Every event of the framework, in id order.
const EventTableEntry* GetEventTable(int* count);

// Lives on the firing function's stack; the count is never taken to 0.
class EventArgs : public SObject, public TObjRefImpl<IObjRef> {
public:
    static LPCWSTR GetClassNameStatic() { return L"eventargs"; }
    BOOL IsClass(LPCWSTR name) const override { return name && wcscmp(name, L"eventargs") == 0; }
    LPCWSTR GetClassName() const override { return L"eventargs"; }

    // Takes the sender's id and name (the name is not copied: valid while
    // the sender lives); a null sender gives 0 and an empty name.
    explicit EventArgs(SWindow* sender);

    int bubbleUp = 1;  // a handler clears it to stop the event
    int handled = 0;   // subscribers that returned true
    int idFrom;
    LPCWSTR nameFrom;
    SWindow* sender;
};

// Base of every event class T: GetId and GetName give the event, not the sender.
template <class T>
class TplEventArgs : public EventArgs {
public:
    enum { EventID = EventInfo<T>::id };
    explicit TplEventArgs(SWindow* sender) : EventArgs(sender) {}

    static LPCWSTR GetClassNameStatic() { return EventInfo<T>::name(); }
    BOOL IsClass(LPCWSTR name) const override
    {
        return (name && wcscmp(name, EventInfo<T>::name()) == 0) || EventArgs::IsClass(name);
    }
    LPCWSTR GetClassName() const override { return EventInfo<T>::name(); }
    int GetId() const override { return EventInfo<T>::id; }
    LPCWSTR GetName() const override { return EventInfo<T>::name(); }
};

// Events that carry nothing beyond the sender.
#define WUI_PLAIN_EVENT(cls)                                           \
    class cls : public TplEventArgs<cls> {                             \
    public:                                                            \
        explicit cls(SWindow* sender) : TplEventArgs<cls>(sender) {}   \
    };
WUI_PLAIN_EVENT(EventCmd)
WUI_PLAIN_EVENT(EventInit)
WUI_PLAIN_EVENT(EventExit)
WUI_PLAIN_EVENT(EventSetFocus)
WUI_PLAIN_EVENT(EventKillFocus)
WUI_PLAIN_EVENT(EventSwndCreate)
WUI_PLAIN_EVENT(EventSwndDestroy)
WUI_PLAIN_EVENT(EventSwndVisibleChanged)
WUI_PLAIN_EVENT(EventSwndMouseHover)
WUI_PLAIN_EVENT(EventSwndMouseLeave)
#undef WUI_PLAIN_EVENT

class EventCtxMenu : public TplEventArgs<EventCtxMenu> {
public:
    EventCtxMenu(SWindow* sender, POINT point) : TplEventArgs<EventCtxMenu>(sender), pt(point) {}
    POINT pt;
    BOOL cancel = FALSE;  // a handler sets it to suppress the default menu
};

class EventSwndSize : public TplEventArgs<EventSwndSize> {
public:
    EventSwndSize(SWindow* sender, SIZE newSize) : TplEventArgs<EventSwndSize>(sender), size(newSize) {}
    SIZE size;
};

class EventSwndStateChanged : public TplEventArgs<EventSwndStateChanged> {
public:
    EventSwndStateChanged(SWindow* sender, DWORD oldState, DWORD newState)
        : TplEventArgs<EventSwndStateChanged>(sender), dwOldState(oldState), dwNewState(newState)
    {
    }
    DWORD dwOldState;
    DWORD dwNewState;
};

class EventTimer : public TplEventArgs<EventTimer> {
public:
    EventTimer(SWindow* sender, UINT id) : TplEventArgs<EventTimer>(sender), timerId(id) {}
    UINT timerId;
};

}  // namespace WUI
