#pragma once
#include "core/SCriticalSection.h"
#include "core/SSingleton.h"

namespace WUI {

// Element handle issued by the window manager; 0 = no element.
typedef DWORD SWND;

class SWindow;

// Issues element handles and maps them back to live elements, so that a
// handle kept after its element is gone resolves to nothing.
// The map does not own the elements.
class SWindowMgr : public SSingletonMap<SWindowMgr, SWindow *, SWND> {
public:
    // Enters the element under the next handle (1, 2, 3... never reused) and
    // returns it; 0 without a window manager or when no map node can be had.
    static SWND NewWindow(SWindow *element);
    // Forgets the handle and kills its element timers; false when it was unknown.
    static bool DestroyWindow(SWND handle);
    // The live element of a handle; null for 0, unknown or destroyed handles.
    static SWindow *GetWindow(SWND handle);

private:
    SWND m_counter = 0;
    SCriticalSection m_lock;
};

} // namespace WUI
