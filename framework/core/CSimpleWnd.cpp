#include "core/CSimpleWnd.h"
#include "core/CSimpleWndHelper.h"
#include <cstring>

namespace WUI {

namespace {

// A thunk's memory: its code, then what it works from once orphaned.
struct ThunkBlock {
    unsigned char code[16];
    HWND hWnd;
    WNDPROC prev;
};
static_assert(CSimpleWnd::kThunkSize <= sizeof(ThunkBlock::code), "the code fits its block");

// mov dword ptr [esp+4], arg ; jmp target
void WriteJump(unsigned char *code, const void *arg, const void *target)
{
    const DWORD value = reinterpret_cast<DWORD>(arg);
    const DWORD end = reinterpret_cast<DWORD>(code) + CSimpleWnd::kThunkSize;
    const DWORD rel = reinterpret_cast<DWORD>(target) - end;
    const unsigned char head[4] = {0xC7, 0x44, 0x24, 0x04};
    std::memcpy(code, head, 4);
    std::memcpy(code + 4, &value, 4);
    code[8] = 0xE9;
    std::memcpy(code + 9, &rel, 4);
    ::FlushInstructionCache(::GetCurrentProcess(), code, CSimpleWnd::kThunkSize);
}

} // namespace

CSimpleWnd::CSimpleWnd(HWND hWnd)
    : m_hWnd(hWnd), m_dispatch(nullptr), m_destroyed(FALSE), m_creating(FALSE), m_thunk(nullptr),
      m_prevProc(::DefWindowProcW)
{
}

CSimpleWnd::~CSimpleWnd()
{
    // A window still routed here would jump into a dead object: hand it back,
    // or, when a procedure installed since passes messages down to the thunk,
    // leave the thunk to the window.
    if (m_thunk && m_hWnd && ::IsWindow(m_hWnd) && !UnsubclassWindow(FALSE))
        OrphanThunk();
    ReleaseThunkMemory();
    LeaveDispatches(); // deleted by a handler: its messages end without it
}

void CSimpleWnd::LeaveDispatches()
{
    for (Dispatch *d = m_dispatch; d; d = d->outer)
        d->detached = true;
    m_dispatch = nullptr;
    m_destroyed = FALSE;
}

BOOL CSimpleWnd::ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT &, DWORD)
{
    return FALSE;
}

bool CSimpleWnd::AllocThunk()
{
    CSimpleWndHelper *helper = CSimpleWndHelper::GetSingletonPtr();
    if (!helper)
        return false;
    if (!m_thunk)
        m_thunk = static_cast<unsigned char *>(
            HeapAlloc(helper->GetHeap(), HEAP_ZERO_MEMORY, sizeof(ThunkBlock)));
    return m_thunk != nullptr;
}

void CSimpleWnd::ReleaseThunkMemory()
{
    CSimpleWndHelper *helper = CSimpleWndHelper::GetSingletonPtr();
    if (m_thunk && helper)
        HeapFree(helper->GetHeap(), 0, m_thunk);
    m_thunk = nullptr;
}

void CSimpleWnd::WriteThunk()
{
    WriteJump(m_thunk, this, reinterpret_cast<const void *>(&CSimpleWnd::WindowProc));
}

void CSimpleWnd::OrphanThunk()
{
    ThunkBlock *block = reinterpret_cast<ThunkBlock *>(m_thunk);
    block->hWnd = m_hWnd;
    block->prev = m_prevProc;
    WriteJump(m_thunk, block, reinterpret_cast<const void *>(&CSimpleWnd::OrphanProc));
    m_thunk = nullptr;
}

LRESULT CALLBACK CSimpleWnd::OrphanProc(HWND blockArg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ThunkBlock *block = reinterpret_cast<ThunkBlock *>(blockArg);
    const HWND hWnd = block->hWnd;
    const WNDPROC prev = block->prev;
    const LRESULT result = ::CallWindowProcW(prev, hWnd, msg, wParam, lParam);
    // Nothing reaches the thunk after the window's last message.
    CSimpleWndHelper *helper = CSimpleWndHelper::GetSingletonPtr();
    if (msg == WM_NCDESTROY && helper)
        HeapFree(helper->GetHeap(), 0, block);
    return result;
}

void CSimpleWnd::FreeThunk(HWND)
{
    ReleaseThunkMemory();
}

HWND CSimpleWnd::Create(LPCWSTR name, DWORD style, DWORD exStyle, int x, int y, int cx, int cy,
                        HWND parent, LPVOID param)
{
    CSimpleWndHelper *helper = CSimpleWndHelper::GetSingletonPtr();
    if (!helper || m_hWnd)
        return nullptr;
    SAutoLock lock(helper->GetLock());
    if (!AllocThunk())
        return nullptr;
    m_creating = TRUE;
    helper->SetCreating(this);
    HWND hWnd = ::CreateWindowExW(exStyle,
                                  reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(helper->GetClassAtom())),
                                  name, style, x, y, cx, cy, parent, nullptr, helper->GetModule(), param);
    helper->TakeCreating(); // a creation that sent no message leaves the hand-over unclaimed
    m_creating = FALSE;
    if (hWnd && !m_destroyed)
        return hWnd;
    // Whatever messages it had, a window that did not outlive its creation
    // was never this object's: its final step is not run.
    m_hWnd = nullptr;
    m_destroyed = FALSE;
    m_dispatch = nullptr;
    ReleaseThunkMemory();
    return nullptr;
}

LRESULT CALLBACK CSimpleWnd::StartWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CSimpleWndHelper *helper = CSimpleWndHelper::GetSingletonPtr();
    CSimpleWnd *self = nullptr;
    if (helper) {
        SAutoLock lock(helper->GetLock());
        self = helper->TakeCreating();
    }
    // A window of this class made without Create has no object to go to.
    if (!self || !self->m_thunk)
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    self->m_hWnd = hWnd;
    self->WriteThunk();
    WNDPROC proc = reinterpret_cast<WNDPROC>(self->m_thunk);
    ::SetWindowLongW(hWnd, GWL_WNDPROC, reinterpret_cast<LONG>(proc));
    return proc(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CSimpleWnd::WindowProc(HWND selfArg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CSimpleWnd *self = reinterpret_cast<CSimpleWnd *>(selfArg);
    const HWND hWnd = self->m_hWnd;
    const WNDPROC prev = self->m_prevProc;
    Dispatch dispatch = {{hWnd, msg, wParam, lParam, 0, {0, 0}}, self->m_dispatch, false};
    self->m_dispatch = &dispatch;

    LRESULT result = 0;
    BOOL handled = self->ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0);
    // The handler let the window go, or deleted the object: the window's own
    // procedure has the rest of the message and the object is not touched.
    if (dispatch.detached) {
        if (!handled)
            result = ::CallWindowProcW(prev, hWnd, msg, wParam, lParam);
        return result;
    }
    if (!handled) {
        // After the last message the previous procedure gets the window
        // back, unless its own handling of it set another procedure.
        const LONG before = msg == WM_NCDESTROY ? ::GetWindowLongW(hWnd, GWL_WNDPROC) : 0;
        result = ::CallWindowProcW(prev, hWnd, msg, wParam, lParam);
        if (dispatch.detached)
            return result;
        if (msg == WM_NCDESTROY && prev != ::DefWindowProcW && ::GetWindowLongW(hWnd, GWL_WNDPROC) == before)
            ::SetWindowLongW(hWnd, GWL_WNDPROC, reinterpret_cast<LONG>(prev));
    }
    // Handled or not, the window is gone after this message: the thunk must go once.
    if (msg == WM_NCDESTROY)
        self->m_destroyed = TRUE;

    // The final step waits for the outermost dispatch; inside Create, Create
    // itself cleans up after a window that died there.
    self->m_dispatch = dispatch.outer;
    if (self->m_destroyed && !dispatch.outer && !self->m_creating) {
        self->m_hWnd = nullptr;
        self->m_destroyed = FALSE;
        self->m_prevProc = ::DefWindowProcW;
        self->FreeThunk(hWnd); // may delete the object: nothing of it is used after
    }
    return result;
}

BOOL CSimpleWnd::SubclassWindow(HWND hWnd)
{
    if (m_hWnd || !hWnd || !::IsWindow(hWnd) || !AllocThunk())
        return FALSE;
    WriteThunk();
    WNDPROC prev = reinterpret_cast<WNDPROC>(
        ::SetWindowLongW(hWnd, GWL_WNDPROC, reinterpret_cast<LONG>(m_thunk)));
    if (!prev) {
        ReleaseThunkMemory();
        return FALSE;
    }
    m_prevProc = prev;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CSimpleWnd::UnsubclassWindow(BOOL force)
{
    if (!m_hWnd || !m_thunk)
        return nullptr;
    const bool onTop = ::GetWindowLongW(m_hWnd, GWL_WNDPROC) == reinterpret_cast<LONG>(m_thunk);
    if (!force && !onTop)
        return nullptr;
    if (!::SetWindowLongW(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG>(m_prevProc)))
        return nullptr;
    // On top, no message reaches the thunk any more (one that is running has
    // left it already); below another procedure, that one may still pass
    // messages down to it.
    if (onTop)
        ReleaseThunkMemory();
    else
        OrphanThunk();
    m_prevProc = ::DefWindowProcW;
    HWND old = m_hWnd;
    m_hWnd = nullptr;
    LeaveDispatches();
    return old;
}

LRESULT CSimpleWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_prevProc, m_hWnd, msg, wParam, lParam);
}

LRESULT CSimpleWnd::DefWindowProc()
{
    if (!m_dispatch)
        return 0;
    const MSG &msg = m_dispatch->msg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

namespace {

BOOL ModifyLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT swpFlags)
{
    const DWORD old = static_cast<DWORD>(::GetWindowLongW(hWnd, index));
    const DWORD now = (old & ~remove) | add;
    if (now == old)
        return FALSE;
    ::SetWindowLongW(hWnd, index, static_cast<LONG>(now));
    if (swpFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

int CentreOn(LONG refLow, LONG refHigh, LONG boundLow, LONG boundHigh, int size)
{
    int pos = (refLow + refHigh) / 2 - size / 2;
    if (pos + size > boundHigh)
        pos = boundHigh - size;
    if (pos < boundLow)
        pos = boundLow;
    return pos;
}

} // namespace

BOOL CSimpleWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}

BOOL CSimpleWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

BOOL CSimpleWnd::CenterWindow(HWND centre)
{
    const DWORD style = GetStyle();
    const bool child = (style & WS_CHILD) != 0;
    if (!centre) {
        centre = child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
        if (!centre && !child)
            centre = ::GetActiveWindow();
    }
    if (centre == m_hWnd)
        centre = nullptr;

    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    RECT bounds, ref;
    if (child) {
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &bounds);
        if (!centre)
            centre = parent;
        ::GetClientRect(centre, &ref);
        ::MapWindowPoints(centre, parent, reinterpret_cast<POINT *>(&ref), 2);
    } else {
        const DWORD cs = centre ? static_cast<DWORD>(::GetWindowLongW(centre, GWL_STYLE)) : 0;
        const bool useCentre = centre && (cs & WS_VISIBLE) && !(cs & WS_MINIMIZE);
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        ::GetMonitorInfoW(::MonitorFromWindow(useCentre ? centre : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
        bounds = mi.rcWork;
        if (useCentre)
            ::GetWindowRect(centre, &ref);
        else
            ref = mi.rcWork;
    }
    const int x = CentreOn(ref.left, ref.right, bounds.left, bounds.right, width);
    const int y = CentreOn(ref.top, ref.bottom, bounds.top, bounds.bottom, height);
    return ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CSimpleWnd::ForwardNotifications(UINT msg, WPARAM wParam, LPARAM lParam, BOOL &handled)
{
    switch (msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_PARENTNOTIFY:
        handled = TRUE;
        return ::SendMessageW(::GetParent(m_hWnd), msg, wParam, lParam);
    default:
        handled = FALSE;
        return 0;
    }
}

HWND CSimpleWnd::ReflectTarget(UINT msg, WPARAM wParam, LPARAM lParam, HWND hWnd)
{
    switch (msg) {
    case WM_DRAWITEM:
        return wParam ? reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)->hwndItem : nullptr;
    case WM_DELETEITEM:
        return wParam ? reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)->hwndItem : nullptr;
    case WM_COMPAREITEM:
        return wParam ? reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
        return wParam ? ::GetDlgItem(hWnd, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)->CtlID) : nullptr;
    case WM_NOTIFY:
        return reinterpret_cast<LPNMHDR>(lParam)->hwndFrom;
    case WM_COMMAND:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY)
            return reinterpret_cast<HWND>(lParam);
        return ::GetDlgItem(hWnd, HIWORD(wParam));
    default:
        return nullptr;
    }
}

LRESULT CSimpleWnd::ReflectNotifications(UINT msg, WPARAM wParam, LPARAM lParam, BOOL &handled)
{
    HWND child = ReflectTarget(msg, wParam, lParam, m_hWnd);
    if (!child) {
        handled = FALSE;
        return 0;
    }
    handled = TRUE;
    return ::SendMessageW(child, msg + 0x2000, wParam, lParam);
}

BOOL CSimpleWnd::DefaultReflectionHandler(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                          LRESULT &result)
{
    const bool reflected = (msg >= 0x202B && msg <= 0x202F) || msg == 0x2039 || msg == 0x204E ||
                           msg == 0x2111 || msg == 0x2114 || msg == 0x2115 ||
                           (msg >= 0x2132 && msg <= 0x2138) || msg == 0x2210;
    if (!reflected)
        return FALSE;
    result = ::DefWindowProcW(hWnd, msg - 0x2000, wParam, lParam);
    return TRUE;
}

} // namespace WUI
