#pragma once
#include <windows.h>

namespace WUI {

// Receives the messages of a native window.
class CMessageMap {
public:
    // Non-zero when the message was handled; the framework's maps handle map 0 only.
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                      LRESULT &result, DWORD mapId) = 0;

protected:
    ~CMessageMap() = default;
};

// One native window whose messages arrive at this object through a small
// machine-code thunk that stands in for the window procedure.
class CSimpleWnd : public CMessageMap {
public:
    explicit CSimpleWnd(HWND hWnd = nullptr);
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result,
                              DWORD mapId) override;
    virtual ~CSimpleWnd();
    CSimpleWnd(const CSimpleWnd &) = delete;
    CSimpleWnd &operator=(const CSimpleWnd &) = delete;

    // Creates the window in the framework's class; null on failure (no thunk kept),
    // also when there is no support object or this object has a window already.
    // A window that dies inside the call (WM_CREATE answered -1) leaves the
    // object unattached and its caller's: FreeThunk does not run for it.
    HWND Create(LPCWSTR name, DWORD style, DWORD exStyle, int x, int y, int cx, int cy, HWND parent,
                LPVOID param);
    // Routes an existing window's messages here; 0 when that fails (window untouched).
    BOOL SubclassWindow(HWND hWnd);
    // Gives the window its previous procedure back and returns it; 0 when the
    // procedure was replaced since (unless forced), cannot be restored, or this
    // object routes no window. Forced over a procedure installed since, the
    // thunk stays for it to pass messages down to the previous procedure until
    // the window's last message (else until the support object goes). Called
    // from a handler, the messages being dispatched go on without the object
    // (one left unhandled goes to the previous procedure), which may then be
    // deleted there; no final step runs for it.
    HWND UnsubclassWindow(BOOL force = FALSE);

    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Passes the message being dispatched on; 0 outside a dispatch.
    LRESULT DefWindowProc();
    // Centres on the given window or, with null, on the parent (child windows),
    // the owner or the active window, else on the monitor's work area.
    BOOL CenterWindow(HWND centre = nullptr);

    // Removes, then adds style bits; with swpFlags, SetWindowPos applies them
    // (no move, size, z-order or activation change). 0 when nothing changed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);

    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }
    BOOL GetWindowRect(LPRECT rc) const { return ::GetWindowRect(m_hWnd, rc); }
    BOOL GetClientRect(LPRECT rc) const { return ::GetClientRect(m_hWnd, rc); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr)
    {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    // Sends a child's notification on to the parent window unchanged.
    LRESULT ForwardNotifications(UINT msg, WPARAM wParam, LPARAM lParam, BOOL &handled);
    // Sends a child's notification back to the child as msg + 0x2000.
    LRESULT ReflectNotifications(UINT msg, WPARAM wParam, LPARAM lParam, BOOL &handled);
    // Default answer of a control to a reflected notification; false for other messages.
    static BOOL DefaultReflectionHandler(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         LRESULT &result);

    HWND m_hWnd;

    // The window class's procedure: hands the first message over to the object being created.
    static LRESULT CALLBACK StartWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // What the thunk jumps to, with the object in place of the window handle.
    static LRESULT CALLBACK WindowProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam);

    enum { kThunkSize = 13 };
    const void *GetThunk() const { return m_thunk; }
    const MSG *GetCurrentMessage() const { return m_dispatch ? &m_dispatch->msg : nullptr; }

protected:
    // Runs after the last message of the window; the base frees the thunk.
    virtual void FreeThunk(HWND hWnd);

private:
    // One message being dispatched to the object, on the static procedure's stack.
    struct Dispatch {
        MSG msg;
        Dispatch *outer;  // the dispatch this one runs inside, if any
        bool detached;    // the object let the window go meanwhile (or is gone)
    };

    // The dispatches running go on without the object from here.
    void LeaveDispatches();
    bool AllocThunk();
    void WriteThunk();
    void ReleaseThunkMemory();
    // Hands the thunk over to the window: it passes messages on to the previous procedure.
    void OrphanThunk();
    // Where an orphaned thunk jumps to, with its record in place of the window handle.
    static LRESULT CALLBACK OrphanProc(HWND record, UINT msg, WPARAM wParam, LPARAM lParam);
    static HWND ReflectTarget(UINT msg, WPARAM wParam, LPARAM lParam, HWND hWnd);

    Dispatch *m_dispatch; // the innermost message being dispatched
    BOOL m_destroyed;
    BOOL m_creating; // inside Create: the final step waits for it
    unsigned char *m_thunk;
    WNDPROC m_prevProc;
};

} // namespace WUI
