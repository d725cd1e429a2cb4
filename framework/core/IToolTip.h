// The tooltip a host window shows for the element under the mouse, and the
// application's factory that makes one per host.
#pragma once

#include "core/IObjRef.h"
#include "core/SMessageLoop.h"
#include "core/SWindowMgr.h"

namespace WUI {

// What a tip belongs to: an element and a key of the element's own (a tab's
// index, say). Both 0: no tip.
struct TIPID {
    SWND swnd;
    DWORD key;
};

inline bool operator==(const TIPID& a, const TIPID& b)
{
    return a.swnd == b.swnd && a.key == b.key;
}
inline bool operator!=(const TIPID& a, const TIPID& b)
{
    return !(a == b);
}

// Registered as a message filter of the host's loop: it watches the host's
// mouse messages and never consumes one.
struct IToolTip : IMessageFilter {
    // Nothing when the key is the current one (the text stays, whatever is
    // given). Otherwise the key, the area (host client coordinates) and the
    // text are kept, and a tip on screen shows the new text at once.
    virtual void UpdateTip(const TIPID& id, const RECT& rect, LPCWSTR text) = 0;
    // Forgets the key and hides the tip.
    virtual void ClearTip() = 0;
    // Mouse messages of the host window start, move or end the tip; every
    // other message, and any message for another window, is ignored.
    virtual void RelayEvent(const MSG* msg) = 0;

protected:
    ~IToolTip() = default;
};

struct IToolTipFactory : IObjRef {
    // A tooltip for the host window, or null when its window cannot be made.
    virtual IToolTip* CreateToolTip(HWND host) = 0;
    // Destroys a tooltip this factory made; null is ignored.
    virtual void DestroyToolTip(IToolTip* tip) = 0;
    virtual ~IToolTipFactory() = default;
};

}  // namespace WUI
