#pragma once
#include <windows.h>
#include "core/SCriticalSection.h"

namespace WUI {

class CSimpleWnd;

// Process-wide support of native windows: the executable heap holding the
// window-procedure thunks, the window class, and the hand-over of the object
// whose window is being created.
class CSimpleWndHelper {
public:
    // Makes the one support object; null when one exists already or when the
    // heap or the window class cannot be made.
    static CSimpleWndHelper *Create(HINSTANCE instance, LPCWSTR className);
    // The support object, null while none exists.
    static CSimpleWndHelper *GetSingletonPtr() { return s_instance; }
    ~CSimpleWndHelper();
    CSimpleWndHelper(const CSimpleWndHelper &) = delete;
    CSimpleWndHelper &operator=(const CSimpleWndHelper &) = delete;

    HANDLE GetHeap() const { return m_heap; }
    ATOM GetClassAtom() const { return m_atom; }
    HINSTANCE GetModule() const { return m_instance; }
    SCriticalSection &GetLock() { return m_lock; }

    // The object being created; taken (and cleared) by the start-up procedure.
    void SetCreating(CSimpleWnd *wnd) { m_creating = wnd; }
    CSimpleWnd *TakeCreating();

private:
    CSimpleWndHelper(HINSTANCE instance, HANDLE heap, ATOM atom);

    static CSimpleWndHelper *s_instance;
    HANDLE m_heap;
    SCriticalSection m_lock;
    CSimpleWnd *m_creating = nullptr;
    ATOM m_atom;
    HINSTANCE m_instance;
};

} // namespace WUI
