#pragma once
#include "core/SArray.h"
#include <windows.h>

namespace WUI {

// Sees messages before they are translated and dispatched.
struct IMessageFilter {
    // TRUE consumes the message.
    virtual BOOL PreTranslateMessage(MSG *msg) = 0;

protected:
    ~IMessageFilter() = default;
};

// Runs when the queue has run empty.
struct IIdleHandler {
    virtual BOOL OnIdle() = 0;

protected:
    ~IIdleHandler() = default;
};

// The UI thread's message loop with message filters and idle handlers.
// Filters and handlers may be added or removed from inside a call to one of them.
class SMessageLoop {
public:
    SMessageLoop();
    virtual ~SMessageLoop();
    SMessageLoop(const SMessageLoop &) = delete;
    SMessageLoop &operator=(const SMessageLoop &) = delete;

    // Asks the filters from the last registered to the first; TRUE when one consumed it.
    virtual BOOL PreTranslateMessage(MSG *msg);
    // Calls every idle handler in registration order; 0 ends the idle pass.
    virtual BOOL OnIdle(int idleCount);
    // Runs until WM_QUIT and returns its exit code.
    virtual int Run();
    // Runs as Run does until `ended` is found set after a message (whoever
    // sets it posts a message to wake the loop) or a WM_QUIT arrives. TRUE
    // when a WM_QUIT ended it: the message is off the queue, its code in quitCode.
    BOOL RunUntil(const BOOL &ended, int &quitCode);
    // TRUE while any Run of this loop, nested ones included, is active.
    virtual BOOL IsRunning() const { return m_running > 0; }

    BOOL AddMessageFilter(IMessageFilter *filter);
    // FALSE when the filter was not registered.
    BOOL RemoveMessageFilter(IMessageFilter *filter);
    BOOL AddIdleHandler(IIdleHandler *handler);
    BOOL RemoveIdleHandler(IIdleHandler *handler);

    // Whether the message calls for another idle pass (paint, mouse moves and
    // the caret blink do not).
    static bool RearmsIdle(UINT message);

protected:
    SArray<IMessageFilter *> m_filters;
    SArray<IIdleHandler *> m_idleHandlers;
    MSG m_msg;
    int m_running; // depth of nested runs
};

} // namespace WUI
