// How elements take messages: each class has a message map that tries its
// handlers in order. A handler that runs sets the handled flag; it may clear
// it again to let the map go on, and then the base class's map. What no map
// takes goes to the element's unhandled-message operation.
#pragma once

#include <windows.h>

namespace WUI {

struct IRenderTarget;

class SMsgHandleState {
public:
    BOOL IsMsgHandled() const { return m_msgHandled; }
    void SetMsgHandled(BOOL handled) { m_msgHandled = handled; }

protected:
    BOOL m_msgHandled = FALSE;
};

}  // namespace WUI

// A class's map: overrides ProcessSwndMessage; ends with its base's map.
#define WUI_SWND_MSG_MAP_BEGIN()                                                                   \
public:                                                                                            \
    BOOL ProcessSwndMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override    \
    {                                                                                              \
        (void)wParam, (void)lParam;

#define WUI_SWND_MSG_MAP_END(baseClass)                                                            \
        return baseClass::ProcessSwndMessage(uMsg, wParam, lParam, lResult);                      \
    }

// Runs `call` (an expression giving the result) for message `msg`.
#define WUI_SWND_MSG_RUN(msg, call)                                                                \
    if (uMsg == (msg)) {                                                                           \
        SetMsgHandled(TRUE);                                                                       \
        lResult = static_cast<LRESULT>(call);                                                      \
        if (IsMsgHandled()) return TRUE;                                                           \
    }

// Runs a statement that gives no result (lResult 0).
#define WUI_SWND_MSG_DO(msg, statement)                                                            \
    if (uMsg == (msg)) {                                                                           \
        SetMsgHandled(TRUE);                                                                       \
        lResult = 0;                                                                               \
        statement;                                                                                 \
        if (IsMsgHandled()) return TRUE;                                                           \
    }

// LRESULT func(UINT msg, WPARAM, LPARAM), for one message or a range.
#define WUI_MSG_HANDLER(msg, func) WUI_SWND_MSG_RUN(msg, func(uMsg, wParam, lParam))
#define WUI_MSG_RANGE_HANDLER(first, last, func)                                                   \
    if (uMsg >= (first) && uMsg <= (last)) {                                                       \
        SetMsgHandled(TRUE);                                                                       \
        lResult = func(uMsg, wParam, lParam);                                                      \
        if (IsMsgHandled()) return TRUE;                                                           \
    }

// int func(LPVOID createParam): non-zero refuses the creation.
#define WUI_MSG_WM_CREATE(func) WUI_SWND_MSG_RUN(WM_CREATE, func(reinterpret_cast<LPVOID>(lParam)))
// void func()
#define WUI_MSG_WM_DESTROY(func) WUI_SWND_MSG_DO(WM_DESTROY, func())
#define WUI_MSG_WM_SETFOCUS(func) WUI_SWND_MSG_DO(WM_SETFOCUS, func())
#define WUI_MSG_WM_KILLFOCUS(func) WUI_SWND_MSG_DO(WM_KILLFOCUS, func())
// void func(UINT type, SIZE size)
#define WUI_MSG_WM_SIZE(func)                                                                      \
    WUI_SWND_MSG_DO(WM_SIZE, func(static_cast<UINT>(wParam),                                       \
                                  SIZE{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}))
// void func(BOOL enable, UINT status); status 1 = from the parent.
#define WUI_MSG_WM_ENABLE(func) WUI_SWND_MSG_DO(WM_ENABLE, func(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)))
// void func(BOOL show, UINT status); status 1 = from the parent.
#define WUI_MSG_WM_SHOWWINDOW(func)                                                                \
    WUI_SWND_MSG_DO(WM_SHOWWINDOW, func(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)))

// The point of a mouse message: signed 16-bit halves of lParam.
#define WUI_MSG_POINT(lParam) POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}
// void func(UINT flags, POINT pt) for one mouse message.
#define WUI_MSG_MOUSE(msg, func) WUI_SWND_MSG_DO(msg, func(static_cast<UINT>(wParam), WUI_MSG_POINT(lParam)))
// void func() for a message whose arguments do not matter.
#define WUI_MSG_VOID(msg, func) WUI_SWND_MSG_DO(msg, func())
// Taken with nothing done.
#define WUI_MSG_IGNORE(msg) WUI_SWND_MSG_DO(msg, (void)0)
// func(IRenderTarget* rt): WM_PAINT, WM_ERASEBKGND and WM_NCPAINT carry the target in wParam.
#define WUI_MSG_RT(msg, func) WUI_SWND_MSG_RUN(msg, func(reinterpret_cast<WUI::IRenderTarget*>(wParam)))
#define WUI_MSG_RT_DO(msg, func) WUI_SWND_MSG_DO(msg, func(reinterpret_cast<WUI::IRenderTarget*>(wParam)))
