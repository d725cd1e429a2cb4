// A windowless control for the host's tests, made by a class factory
// registered with CoRegisterClassObject: it records every call the host
// makes in order, asks for the mouse capture on a button press, paints its
// rectangle in one colour, logs the properties put through its dispatch
// interface, and counts its live objects, running locks and
// the references it still holds on the site.
#pragma once

#include <ocidl.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace axtest {

// {7E3A1F52-6B0C-4D2E-9A51-3C8F20D4B671}
extern const CLSID kTestControlClsid;
extern const wchar_t kTestControlClsidText[];

struct ControlRecord {
    std::vector<std::string> calls;  // in order
    int live = 0;                    // control objects alive
    int runningLocks = 0;            // LockRunning(TRUE) minus LockRunning(FALSE)
    int windowMessages = 0;
    RECT contextRect = {0, 0, 0, 0};  // what GetWindowContext gave
    RECT objectRect = {0, 0, 0, 0};   // the last SetObjectRects
    // Behaviour of the next controls.
    DWORD miscStatus = 0;
    HRESULT initNewResult = S_OK;
    HRESULT doVerbResult = S_OK;  // a failure is returned before anything is done
    // Answered with the control's dispatch interface, which logs the
    // properties put through it ("Put Name=value"); IID_NULL: not answered.
    IID dispatchIid = IID_NULL;
    LONG fixedHeightHimetric = 0;  // non-zero: GetExtent reports this height
    COLORREF paint = RGB(0x20, 0x90, 0x40);
    // A key goes on to the host window's default handling as WM_CLOSE (which
    // closes the window, and the control with it), the control carrying on
    // with its own state after ("Closed by default" logged once deactivated).
    bool keysCloseByDefault = false;
    // The site as the control kept it, for a test that holds it longer.
    IOleClientSite* site = nullptr;

    void Reset();
    // Calls recorded since `from`, as one text.
    std::string CallsFrom(size_t from) const;
};

ControlRecord& Record();

// Registers the factory (false on failure); the destructor revokes it.
class RegisteredControl {
public:
    RegisteredControl();
    ~RegisteredControl();
    bool ok() const { return m_cookie != 0; }

private:
    DWORD m_cookie = 0;
    IClassFactory* m_factory = nullptr;
};

}  // namespace axtest
