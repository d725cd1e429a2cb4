// The application's side of a "realwnd" element: it makes, places and ends
// the native child window the element reserves room for. Neither program
// installs one; without it no such window is ever made.
#pragma once

#include "core/IObjRef.h"

namespace WUI {

class SRealWnd;

struct IRealWindowHandler : IObjRef {
    // The window made from the element's class, name, styles and
    // parameters; null (or no window) refuses the creation.
    virtual HWND OnRealWindowCreate(SRealWnd* wnd) = 0;
    // The element is going: the handler ends its window.
    virtual void OnRealWindowDestroy(SRealWnd* wnd) = 0;
    // The window exists (and, without "init", stands at the element's place).
    virtual void OnRealWindowInit(SRealWnd* wnd) = 0;
    // True when the handler placed the window itself after a size change;
    // false lets the element move it to its client rectangle.
    virtual BOOL OnRealWindowSize(SRealWnd* wnd) = 0;
    virtual ~IRealWindowHandler() = default;
};

}  // namespace WUI
