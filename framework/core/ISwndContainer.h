// The host side of an element tree: the only way an element reaches its
// native window, the mouse capture, the keyboard focus, the caret, the screen
// and the application's event hook. Elements are named by handle throughout.
#pragma once

#include "core/IObjRef.h"
#include "core/SWindowMgr.h"

#include <ole2.h>

namespace WUI {

class CFocusManager;
class EventArgs;
class SMessageLoop;
struct IRenderTarget;

// Called once per animation tick of the container.
struct ITimelineHandler {
    virtual void OnNextFrame() = 0;

protected:
    ~ITimelineHandler() = default;
};

// A script engine the application may supply; neither program does.
struct IScriptModule : IObjRef {
    // Runs the named handler (UTF-8) with the event; what the handler returned.
    virtual int RunHandler(LPCSTR handler, EventArgs& args) = 0;
    // Loads script text (UTF-8 bytes); 0 on failure.
    virtual int LoadScriptBuffer(const char* buffer, size_t size) = 0;
};

struct ISwndContainer : ITimelineHandler {
    virtual BOOL RegisterDragDrop(SWND swnd, IDropTarget* target) = 0;
    virtual BOOL RevokeDragDrop(SWND swnd) = 0;
    // The application's event hook, last stop of an element's event.
    virtual BOOL FireEvent(EventArgs& args) = 0;
    virtual HWND GetHostHwnd() = 0;
    virtual LPCWSTR GetTranslatorContext() = 0;
    virtual BOOL IsTranslucent() = 0;
    virtual BOOL IsSendWheel2Hover() = 0;
    virtual RECT GetContainerRect() = 0;
    // A target over rect (one reference, given back through ReleaseRenderTarget).
    // Modes: 1 starts empty and is not shown on release, 2 has what lies
    // beneath painted in, 4 holds the host's current image.
    virtual IRenderTarget* GetRenderTarget(const RECT& rect, int mode) = 0;
    virtual void ReleaseRenderTarget(IRenderTarget* rt, const RECT& rect, int mode) = 0;
    virtual void OnRedraw(const RECT& rect) = 0;
    virtual SWND GetCapture() = 0;
    virtual BOOL ReleaseCapture() = 0;
    // The previous holder; 0 (refused) for a disabled element.
    virtual SWND SetCapture(SWND swnd) = 0;
    // 0 takes the focus away.
    virtual void SetFocus(SWND swnd) = 0;
    virtual SWND GetHover() = 0;
    virtual SWND GetFocus() = 0;
    virtual BOOL CreateCaret(SWND owner, HBITMAP bitmap, int width, int height) = 0;
    virtual BOOL ShowCaret(BOOL show) = 0;
    virtual BOOL SetCaretPos(int x, int y) = 0;
    virtual void UpdateWindow() = 0;
    virtual void UpdateTooltip() = 0;
    virtual void OnUpdateCaretRect(const RECT& rect) = 0;
    virtual CFocusManager* GetFocusManager() = 0;
    // 0 when already registered.
    virtual BOOL RegisterTimelineHandler(ITimelineHandler* handler) = 0;
    // 0 when not registered.
    virtual BOOL UnregisterTimelineHandler(ITimelineHandler* handler) = 0;
    virtual BOOL RegisterTrackMouseEvent(SWND swnd) = 0;
    virtual BOOL UnregisterTrackMouseEvent(SWND swnd) = 0;
    virtual SMessageLoop* GetMsgLoop() = 0;
    virtual void MarkZorderDirty() = 0;
    virtual void UpdateZorder() = 0;
    // Null unless the application supplies a script module.
    virtual IScriptModule* GetScriptModule() = 0;

protected:
    ~ISwndContainer() = default;
};

}  // namespace WUI
