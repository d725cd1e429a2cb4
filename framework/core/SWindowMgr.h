#pragma once
#include "core/ISwndNode.h"
#include "core/SCriticalSection.h"
#include <unordered_map>

namespace WUI {

// Issues element handles and maps them back to live elements, so that a
// handle kept after its element is gone resolves to nothing.
class SWindowMgr {
public:
    SWindowMgr();
    virtual ~SWindowMgr();
    SWindowMgr(const SWindowMgr &) = delete;
    SWindowMgr &operator=(const SWindowMgr &) = delete;
    // Null while no window manager exists.
    static SWindowMgr *GetSingletonPtr() { return s_instance; }

    // Enters the element under the next handle (1, 2, 3... never reused) and returns it.
    static SWND NewWindow(ISwndNode *element);
    // Forgets the handle and kills its element timers; false when it was unknown.
    static bool DestroyWindow(SWND handle);
    // The live element of a handle; null for 0, unknown or destroyed handles.
    static ISwndNode *GetWindow(SWND handle);

private:
    static SWindowMgr *s_instance;
    std::unordered_map<SWND, ISwndNode *> m_map;
    SWND m_counter = 0;
    SCriticalSection m_lock;
};

} // namespace WUI
