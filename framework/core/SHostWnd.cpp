// The host window: creation, loading a layout, and the native message map.
#include "core/SHostWnd.h"

#include "core/IToolTip.h"
#include "core/SApplication.h"
#include "core/SHostDropTarget.h"
#include "core/SScriptTimer.h"
#include "core/StringConv.h"
#include "core/XmlLookup.h"
#include "render/SSkinPool.h"
#include "render/SStylePool.h"

#include <commctrl.h>
#include <windowsx.h>

namespace WUI {

namespace {

const DWORD kHostStyle = WS_CLIPCHILDREN | WS_TABSTOP;  // 0x02010000
const UINT kSizeOnly = SWP_NOSENDCHANGING | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE;

bool IsButtonDown(UINT msg)
{
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK ||
           msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT msg)
{
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

// The button-up that ends a remembered press.
UINT ButtonUpOf(UINT msg)
{
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) return WM_LBUTTONUP;
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) return WM_RBUTTONUP;
    if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK) return WM_MBUTTONUP;
    return 0;
}

bool IsKeyRelayMessage(UINT msg)
{
    return (msg >= WM_KEYDOWN && msg <= WM_UNICHAR) ||
           (msg >= WM_IME_STARTCOMPOSITION && msg <= WM_IME_COMPOSITION) || msg == WM_IME_CHAR;
}

bool IsMouseRelayMessage(UINT msg)
{
    return (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK) || (msg >= WM_XBUTTONDOWN && msg <= WM_MOUSEHWHEEL);
}

}  // namespace

BOOL SDummyWnd::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM, LPARAM, LRESULT& result, DWORD mapId)
{
    if (mapId != 0 || msg != WM_PAINT) return FALSE;
    // Validated first: a paint that asks for another one gets it.
    PAINTSTRUCT ps;
    ::BeginPaint(hWnd, &ps);
    ::EndPaint(hWnd, &ps);
    m_host->OnPrint(nullptr, SHostWnd::kPaintInvalidOnly);
    result = 0;
    return TRUE;
}

SHostWnd::SHostWnd(LPCWSTR layout) : m_dummyWnd(this), m_strLayout(layout ? layout : L"")
{
    m_evtSet.AddEvent<EventInit>();
    m_evtSet.AddEvent<EventExit>();
    m_privStylePool.Attach(new SStylePool);
    m_privSkinPool.Attach(new SSkinPool);
}

SHostWnd::~SHostWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    if (SStylePoolMgr* styles = SStylePoolMgr::GetSingletonPtr()) styles->PopStylePool(m_privStylePool);
    if (SSkinPoolMgr* skins = SSkinPoolMgr::GetSingletonPtr()) skins->PopSkinPool(m_privSkinPool);
    m_script = nullptr;
    m_caret = nullptr;
    m_memRT = nullptr;
    m_rgnInvalidate = nullptr;
}

void SHostWnd::OnFinalRelease()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        AddRef();
        ::DestroyWindow(m_hWnd);
        if (InterlockedDecrement(&m_cRef) > 0) return;  // kept by a handler: its release deletes
    }
    delete this;
}

HWND SHostWnd::Create(HWND parent, int x, int y, int cx, int cy)
{
    return CreateEx(parent, kHostStyle, 0, x, y, cx, cy);
}

HWND SHostWnd::CreateEx(HWND parent, DWORD style, DWORD exStyle, int x, int y, int cx, int cy)
{
    if (m_hWnd) return m_hWnd;
    if (!CSimpleWnd::Create(L"HOSTWND", style, exStyle, x, y, cx, cy, parent, nullptr)) return nullptr;
    if (!m_strLayout.IsEmpty()) {
        SStringW parts[2];
        const int n = ParseResId(m_strLayout, parts);
        pugi::xml_document doc;
        SApplication* app = SApplication::GetSingletonPtr();
        if (app && n > 0 && app->LoadXmlDocument(doc, n == 2 ? parts[1] : parts[0], n == 2 ? parts[0] : SStringW(L"LAYOUT")))
            InitFromXml(XmlChildNoCase(doc, L"WUI"), cx, cy);
    }
    if (m_hWnd && (cx == 0 || cy == 0)) CenterWindow(parent);
    return m_hWnd;
}

BOOL SHostWnd::InitFromXml(pugi::xml_node node)
{
    const RECT rc = GetPlacedRect();
    return InitFromXml(node, rc.right - rc.left, rc.bottom - rc.top);
}

BOOL SHostWnd::InitFromXml(pugi::xml_node node, int cx, int cy)
{
    if (!node || !m_hWnd || !::IsWindow(m_hWnd)) return FALSE;
    SAutoRefPtr<SWindow> keep(this);
    if (m_script) {
        EventExit evt(this);
        SWindow::FireEvent(evt);
        m_script = nullptr;
    }
    ResetRoot();
    if (SApplication* app = SApplication::GetSingletonPtr()) {
        IScriptModule* script = nullptr;
        app->CreateScriptModule(&script);
        m_script.Attach(script);
    }
    LoadPrivatePools(node);
    LoadScript(XmlChildNoCase(node, L"script"));

    m_attr.Reset();
    m_attr.InitFromXml(node);
    ApplyWindowStyles();
    ::SetWindowTextW(m_hWnd, m_attr.m_strTitle);
    ApplyTranslucency();
    if (m_attr.m_hAppIconSmall) ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_attr.m_hAppIconSmall));
    if (m_attr.m_hAppIconBig) ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_attr.m_hAppIconBig));
    if (cx == 0 || cy == 0) ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_attr.m_size.cx, m_attr.m_size.cy, kSizeOnly);

    SWindow::InitFromXml(XmlChildNoCase(node, L"root"));
    MarkZorderDirty();
    UpdateZorder();
    const RECT old = m_rcWindow;
    m_rcWindow = GetClientRect();
    OnPosChanged(&old, &m_rcWindow);
    m_dwFlags &= ~kFlagLayoutDirty;

    m_bNeedAllRepaint = TRUE;
    OnRedraw(m_rcWindow);
    EventInit evt(this);
    SWindow::FireEvent(evt);
    return TRUE;
}

// WM_DESTROY has unlinked the children and cut the root from its container;
// the root becomes buildable again.
void SHostWnd::ResetRoot()
{
    SendSwndMessage(WM_DESTROY);
    m_bDestroyed = FALSE;
    SetContainer(this);
    m_pendingUpdates.RemoveAll();
}

// A pool of this window's own goes on top of the manager's stack, so this
// window's lookups see its styles and skins first.
void SHostWnd::LoadPrivatePools(pugi::xml_node node)
{
    SStylePoolMgr* styles = SStylePoolMgr::GetSingletonPtr();
    if (styles) styles->PopStylePool(m_privStylePool);
    m_privStylePool.Attach(new SStylePool);
    const pugi::xml_node style = XmlChildNoCase(node, L"style");
    if (styles && style.first_child()) {
        m_privStylePool->LoadStyles(style);
        styles->PushStylePool(m_privStylePool);
    }
    SSkinPoolMgr* skins = SSkinPoolMgr::GetSingletonPtr();
    if (skins) skins->PopSkinPool(m_privSkinPool);
    m_privSkinPool.Attach(new SSkinPool);
    if (skins && m_privSkinPool->LoadSkins(XmlChildNoCase(node, L"skin")) > 0) skins->PushSkinPool(m_privSkinPool);
}

void SHostWnd::LoadScript(pugi::xml_node node)
{
    SApplication* app = SApplication::GetSingletonPtr();
    if (!m_script || !node || !app) return;
    const pugi::xml_attribute src = XmlAttributeNoCase(node, L"src");
    if (!src) {
        const SStringA text = StrW2A(node.text().get(), CP_UTF8);
        m_script->LoadScriptBuffer(text.c_str(), text.GetLength());
        return;
    }
    SStringW parts[2];
    SResBuffer bytes;
    if (ParseResId(src.value(), parts) == 2 && app->ReadResource(parts[0], parts[1], bytes))
        m_script->LoadScriptBuffer(bytes.Data(), bytes.Size());
}

void SHostWnd::ApplyWindowStyles()
{
    DWORD style = m_attr.m_bResizable ? (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) : WS_MINIMIZEBOX;
    DWORD exStyle = 0;
    if (m_attr.m_bAppWnd) {
        exStyle |= WS_EX_APPWINDOW;
        style |= WS_SYSMENU;
    } else if (m_attr.m_bToolWnd) {
        exStyle |= WS_EX_TOOLWINDOW;
    }
    if (m_attr.m_dwStyle) style = m_attr.m_dwStyle & ~WS_VISIBLE;
    if (m_attr.m_dwExStyle) exStyle = m_attr.m_dwExStyle;
    else if (m_attr.m_bTranslucent) exStyle |= WS_EX_LAYERED;
    ModifyStyle(0, style);
    ModifyStyleEx(0, exStyle);
}

// The dummy window is made once, however often the window is reloaded. It
// has no owner: the system would destroy an owned window before the host's
// WM_DESTROY, ahead of the tree that may still paint through it.
void SHostWnd::ApplyTranslucency()
{
    if (!m_attr.m_bTranslucent) {
        const DWORD ex = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
        if ((ex & WS_EX_LAYERED) || m_attr.m_byAlpha != 255) {
            ModifyStyleEx(0, WS_EX_LAYERED);
            ::SetLayeredWindowAttributes(m_hWnd, 0, m_attr.m_byAlpha, LWA_ALPHA);
        }
        return;
    }
    ModifyStyleEx(0, WS_EX_LAYERED);
    if (m_dummyWnd.m_hWnd) return;
    if (!m_dummyWnd.Create(L"WUI_DUMMY_WND", WS_POPUP, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, 0, 0, 10, 10, nullptr,
                           nullptr))
        return;
    m_dummyWnd.ModifyStyleEx(0, WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(m_dummyWnd.m_hWnd, 0, 0, LWA_ALPHA);
    m_dummyWnd.ShowWindow(SW_SHOWNOACTIVATE);
}

BOOL SHostWnd::DestroyWindow()
{
    return ::DestroyWindow(m_hWnd);
}

BOOL SHostWnd::OnFireEvent(EventArgs&)
{
    return FALSE;
}

UINT SHostWnd::RegisterScriptTimer(const SStringW& handler, UINT elapse, BOOL repeat)
{
    SScriptTimer* timers = SScriptTimer::GetSingletonPtr();
    return timers && m_hWnd ? timers->SetTimer(m_hWnd, handler, elapse, repeat) : 0;
}

void SHostWnd::UnregisterScriptTimer(UINT id)
{
    if (SScriptTimer* timers = SScriptTimer::GetSingletonPtr()) timers->KillTimer(id);
}

SMessageLoop* SHostWnd::GetMsgLoop()
{
    SApplication* app = SApplication::GetSingletonPtr();
    return app ? app->GetMsgLoop() : nullptr;
}

RECT SHostWnd::GetClientRect() const
{
    RECT rc = {0, 0, 0, 0};
    if (m_hWnd) ::GetClientRect(m_hWnd, &rc);
    return rc;
}

// A layout already due has its paint requested: a tree being built asks once.
void SHostWnd::InvalidateLayout(SWindow* child)
{
    const BOOL due = IsLayoutDirty();
    SWindow::InvalidateLayout(child);
    if (due) return;
    for (SWindow* w = child; w && w != this; w = w->GetParent()) {
        const RECT rc = w->GetPlacedRect();
        if (!::IsRectEmpty(&rc)) {
            OnRedraw(rc);
            return;
        }
    }
    OnRedraw(GetClientRect());
}

BOOL SHostWnd::ReleaseCapture()
{
    SwndContainerImpl::ReleaseCapture();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    return TRUE;
}

SWND SHostWnd::SetCapture(SWND swnd)
{
    SWindow* element = SWindowMgr::GetWindow(swnd);
    if (!element || element->IsDisabled(TRUE)) return 0;
    const SWND previous = SwndContainerImpl::SetCapture(swnd);
    if (m_hWnd && ::GetCapture() != m_hWnd) ::SetCapture(m_hWnd);
    return previous;
}

BOOL SHostWnd::RegisterTimelineHandler(ITimelineHandler* handler)
{
    if (!SwndContainerImpl::RegisterTimelineHandler(handler)) return FALSE;
    if (GetTimelineHandlerCount() == 1) SWindow::SetTimer(kTimerTimeline, 10);
    return TRUE;
}

BOOL SHostWnd::UnregisterTimelineHandler(ITimelineHandler* handler)
{
    if (!SwndContainerImpl::UnregisterTimelineHandler(handler)) return FALSE;
    if (GetTimelineHandlerCount() == 0) SWindow::KillTimer(kTimerTimeline);
    return TRUE;
}

// ---- native messages ----

BOOL SHostWnd::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
{
    if (mapId != 0) return FALSE;
    BOOL handled = TRUE;
    result = 0;
    switch (msg) {
    case WM_CREATE: result = OnCreate(); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_SIZE: OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); break;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam)); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ACTIVATEAPP: result = DispatchHostMessage(msg, wParam, lParam); break;
    case WM_PAINT: OnPaint(); break;
    case WM_PRINT: OnPrint(reinterpret_cast<HDC>(wParam), static_cast<UINT>(lParam)); break;
    case WM_ERASEBKGND: result = 1; break;
    case WM_MOUSEMOVE:
        if (!m_bTrackFlag) {
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
            m_bTrackFlag = ::TrackMouseEvent(&tme);
        }
        result = OnMouseEvent(msg, wParam, lParam);
        break;
    case WM_MOUSELEAVE:
        m_bTrackFlag = FALSE;
        result = OnMouseEvent(msg, 0, 0);
        break;
    case WM_MOUSEWHEEL: result = OnMouseWheel(wParam, lParam, handled); break;
    case WM_SETCURSOR: result = OnSetCursor(reinterpret_cast<HWND>(wParam), lParam, handled); break;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case WM_WINDOWPOSCHANGING: break;
    case WM_NOTIFY:
        if (reinterpret_cast<LPNMHDR>(lParam)->code == static_cast<UINT>(NM_CUSTOMDRAW))
            result = ReflectNotifications(msg, wParam, lParam, handled);
        else
            handled = FALSE;
        break;
    case WM_NCCALCSIZE: result = OnNcCalcSize(static_cast<BOOL>(wParam), lParam); break;
    case WM_NCHITTEST: result = OnNcHitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); break;
    case WM_NCACTIVATE: result = 1; break;
    case WM_TIMER: OnTimer(wParam, handled); break;
    case WM_CAPTURECHANGED: OnCaptureChanged(reinterpret_cast<HWND>(lParam)); break;
    case UM_UPDATESWND: OnUpdateSwnd(static_cast<SWND>(wParam)); break;
    case UM_SCRIPTTIMER: result = OnScriptTimer(static_cast<UINT>(wParam), reinterpret_cast<LPCWSTR>(lParam)); break;
    case UM_HOSTEVENT: result = OnHostEvent(lParam); break;
    case UM_SPY_SETSPY:
    case UM_SPY_GETWINDOW:
    case UM_SPY_DESCRIBE:
    case UM_SPY_FROMPOINT: result = OnSpyMessage(msg, wParam, lParam); break;
    default:
        if (IsKeyRelayMessage(msg)) result = OnKeyEvent(msg, wParam, lParam, handled);
        else if (IsMouseRelayMessage(msg) && msg != WM_MOUSEHWHEEL) result = OnMouseEvent(msg, wParam, lParam);
        else handled = FALSE;
        break;
    }
    (void)hWnd;
    return handled;
}

LRESULT SHostWnd::OnCreate()
{
    SApplication* app = SApplication::GetSingletonPtr();
    IRenderFactory* factory = app ? app->GetRenderFactory() : nullptr;
    IRenderTarget* rt = nullptr;
    IRegion* rgn = nullptr;
    if (factory) {
        factory->CreateRenderTarget(&rt, 0, 0);
        factory->CreateRegion(&rgn);
    }
    m_memRT.Attach(rt);
    m_rgnInvalidate.Attach(rgn);
    if (IToolTipFactory* tips = app ? app->GetToolTipFactory() : nullptr) {
        m_pTipCtrl = tips->CreateToolTip(m_hWnd);
        SMessageLoop* loop = GetMsgLoop();
        if (m_pTipCtrl && loop) loop->AddMessageFilter(m_pTipCtrl);
    }
    SetContainer(this);
    m_oleDropTarget.Attach(SHostDropTarget::Register(m_hWnd, this));
    return 0;
}

// The teardown order of the class comment.
void SHostWnd::OnDestroy()
{
    SAutoRefPtr<SWindow> keep(this);
    if (m_oleDropTarget) m_oleDropTarget->Revoke();
    m_oleDropTarget = nullptr;
    EventExit evt(this);
    SWindow::FireEvent(evt);
    SendSwndMessage(WM_DESTROY);
    if (m_pTipCtrl) {
        if (SMessageLoop* loop = GetMsgLoop()) loop->RemoveMessageFilter(m_pTipCtrl);
        SApplication* app = SApplication::GetSingletonPtr();
        if (IToolTipFactory* tips = app ? app->GetToolTipFactory() : nullptr) tips->DestroyToolTip(m_pTipCtrl);
        m_pTipCtrl = nullptr;
    }
    if (m_dummyWnd.m_hWnd) m_dummyWnd.DestroyWindow();
    m_memRT = nullptr;
    m_rgnInvalidate = nullptr;
    m_pendingUpdates.RemoveAll();
    m_deferredRects.RemoveAll();
    m_caret = nullptr;
    m_bCaretShown = m_bCaretDrawn = FALSE;

    const DWORD style = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    const bool overlapped = !(style & (WS_CHILD | WS_POPUP)) && !(exStyle & WS_EX_TOOLWINDOW);
    if (m_attr.m_byWndType == kWndTypeAppMain || (m_attr.m_byWndType == kWndTypeUndefine && overlapped))
        ::PostQuitMessage(1);
}

void SHostWnd::OnSize(UINT type, int width, int height)
{
    if (type == SIZE_MINIMIZED || ::IsIconic(m_hWnd) || width <= 0 || height <= 0) return;
    m_bResizing = TRUE;
    if (m_memRT) m_memRT->Resize(SIZE{width, height});
    const RECT rc = {0, 0, width, height};
    Move(&rc);
    m_bNeedAllRepaint = TRUE;
    OnRedraw(rc);
    m_bResizing = FALSE;
}

void SHostWnd::OnActivate(UINT state)
{
    if (state != WA_INACTIVE) {
        ::SetFocus(m_hWnd);
    } else {
        ::SetFocus(nullptr);
        ReleaseRememberedButton();
    }
}

LRESULT SHostWnd::OnMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (IsButtonDown(msg)) {
        m_msgMouse = msg;
        m_wParamMouse = wParam;
        m_lParamMouse = lParam;
        if (CSimpleWnd::GetStyle() & WS_CHILD) ::SetFocus(m_hWnd);
    } else if (IsButtonUp(msg)) {
        m_msgMouse = 0;
    } else if (msg == WM_MOUSEMOVE) {
        m_msgMouse = 0;
        m_wParamMouse = wParam;
        m_lParamMouse = lParam;
    } else if (msg == WM_MOUSELEAVE) {
        m_msgMouse = WM_MOUSELEAVE;
        m_wParamMouse = 0;
        m_lParamMouse = 0;
    }
    SAutoRefPtr<SWindow> keep(this);
    DispatchHostMessage(msg, wParam, lParam);
    UpdateTooltip();
    return 0;
}

void SHostWnd::ReleaseRememberedButton()
{
    const UINT up = ButtonUpOf(m_msgMouse);
    if (up) ::SendMessageW(m_hWnd, up, m_wParamMouse, m_lParamMouse);
}

LRESULT SHostWnd::OnMouseWheel(WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    SAutoRefPtr<SWindow> keep(this);
    const LRESULT result = DispatchHostMessage(WM_MOUSEWHEEL, wParam, MAKELPARAM(pt.x, pt.y));
    handled = IsMsgHandled();
    UpdateTooltip();
    return result;
}

// System keys stay with the system unless the focused element asks for them.
LRESULT SHostWnd::OnKeyEvent(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP) {
        SWindow* focus = SWindowMgr::GetWindow(GetFocus());
        if (!focus || !(focus->GetDlgCode() & 0x80000000u)) {
            handled = FALSE;
            return 0;
        }
    }
    SAutoRefPtr<SWindow> keep(this);
    const LRESULT result = DispatchHostMessage(msg, wParam, lParam);
    handled = IsMsgHandled();
    return result;
}

LRESULT SHostWnd::OnSetCursor(HWND hWnd, LPARAM lParam, BOOL& handled)
{
    if (hWnd != m_hWnd) return 0;
    if (LOWORD(lParam) != HTCLIENT) {
        handled = FALSE;
        return 0;
    }
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    return DispatchHostMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(pt.x, pt.y));
}

void SHostWnd::OnGetMinMaxInfo(MINMAXINFO* info)
{
    HMONITOR monitor = ::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONULL);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (!monitor || !::GetMonitorInfoW(monitor, &mi)) return;
    const RECT& work = mi.rcWork;
    const RECT& mon = mi.rcMonitor;
    const RECT& inset = m_attr.m_rcMaxInset;
    info->ptMaxPosition.x = abs(work.left - mon.left) - inset.left;
    info->ptMaxPosition.y = abs(work.top - mon.top) - inset.top;
    info->ptMaxSize.x = abs(work.right - work.left) + inset.right + inset.left;
    info->ptMaxSize.y = abs(work.bottom - work.top) + inset.bottom + inset.top;
    info->ptMaxTrackSize = info->ptMaxSize;
    info->ptMinTrackSize.x = m_attr.m_szMin.cx;
    info->ptMinTrackSize.y = m_attr.m_szMin.cy;
}

// The whole window is client area: the frame is the layout's to draw.
LRESULT SHostWnd::OnNcCalcSize(BOOL validRects, LPARAM lParam)
{
    if (!validRects) return 0;  // the proposed window rectangle is the client rectangle
    NCCALCSIZE_PARAMS* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const WINDOWPOS* pos = params->lppos;
    if (!pos || (pos->flags & SWP_NOSIZE)) return 0;
    RECT& rc = params->rgrc[0];
    if (!(pos->flags & SWP_NOMOVE)) {
        rc.left = pos->x;
        rc.top = pos->y;
    }
    rc.right = rc.left + pos->cx;
    rc.bottom = rc.top + pos->cy;
    return 0;
}

LRESULT SHostWnd::OnNcHitTest(POINT screen)
{
    if (!m_attr.m_bResizable || ::IsZoomed(m_hWnd)) return HTCLIENT;
    POINT pt = screen;
    ::ScreenToClient(m_hWnd, &pt);
    const RECT rc = GetPlacedRect();
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    const RECT& m = m_attr.m_rcMargin;
    const bool below = pt.y > height - m.bottom;
    const bool above = pt.y < m.top;
    if (pt.x > width - m.right) return below ? HTBOTTOMRIGHT : (above ? HTTOPRIGHT : HTRIGHT);
    if (pt.x < m.left) return below ? HTBOTTOMLEFT : (above ? HTTOPLEFT : HTLEFT);
    return below ? HTBOTTOM : (above ? HTTOP : HTCLIENT);
}

// The clipboard viewer's hidden window takes the capture briefly on some
// systems: that is no reason to let go of a pressed button.
void SHostWnd::OnCaptureChanged(HWND gaining)
{
    if (gaining == m_hWnd) return;
    wchar_t cls[31] = {};
    if (gaining) ::GetClassNameW(gaining, cls, 31);
    if (wcscmp(cls, L"CLIPBRDWNDCLASS") != 0) ReleaseRememberedButton();
}

// The handler may load the window anew, which lets the module go, or close
// it: both the window and the module are kept to the end of the run.
LRESULT SHostWnd::OnScriptTimer(UINT id, LPCWSTR handler)
{
    if (!m_script || !handler) return 0;
    SAutoRefPtr<SWindow> keep(this);
    SAutoRefPtr<IScriptModule> script(m_script);
    EventTimer evt(this, id);
    script->RunHandler(StrW2A(handler, CP_UTF8), evt);
    return 0;
}

void SHostWnd::UpdateTooltip()
{
    if (!m_pTipCtrl) return;
    SWindow* hover = SWindowMgr::GetWindow(GetHover());
    if (m_msgMouse || !hover) {
        m_pTipCtrl->ClearTip();
        return;
    }
    SwndToolTipInfo info;
    if (!hover->GetToolTipInfo(WUI_MSG_POINT(m_lParamMouse), info)) {
        m_pTipCtrl->ClearTip();
        return;
    }
    m_pTipCtrl->UpdateTip(TIPID{info.swnd, info.key}, info.rcTarget, info.strTip);
}

}  // namespace WUI
