#include "controls/SAxContainer.h"

#include "core/SystemLibrary.h"

namespace WUI {

namespace {

// Services a hosted control may ask the container itself for.
const GUID kSidWebBrowserApp = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID kSidHostService = {0x1B36028E, 0xB491, 0x4BB2, {0x85, 0x84, 0x8A, 0x9E, 0x0A, 0x67, 0x7D, 0x6E}};
const IID kIidDocHostUIHandler = {0xBD3F23C0, 0xD43E, 0x11CF, {0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A}};

// Misc status bits a control may answer.
const DWORD kMiscSetClientSiteFirst = 0x20000;
const DWORD kMiscNoActivate = 0x4400;  // invisible at run time, or no UI activation

// urlmon.dll, from the system folder, stays loaded once a moniker came from it.
void* UrlmonProc(const char* name)
{
    static HMODULE urlmon = LoadSystemLibrary(L"urlmon.dll");
    return urlmon ? reinterpret_cast<void*>(::GetProcAddress(urlmon, name)) : nullptr;
}

int LogPixels(int axis)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, axis) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

// ---- SAxContainer ----

HRESULT SAxContainer::CreateMoniker(LPOLESTR name, IBindCtx*, IMoniker** out, DWORD)
{
    typedef HRESULT(WINAPI * FnCreate)(IMoniker*, LPCWSTR, IMoniker**, DWORD);
    if (!out) return E_POINTER;
    *out = nullptr;
    FnCreate create = reinterpret_cast<FnCreate>(UrlmonProc("CreateURLMonikerEx"));
    return create ? create(nullptr, name, out, URL_MK_UNIFORM) : E_FAIL;
}

HRESULT SAxContainer::MonikerBindToStorage(IMoniker* moniker, IBindCtx* bc, IBindStatusCallback* callback,
                                           REFIID iid, void** out)
{
    typedef HRESULT(WINAPI * FnRegister)(IBindCtx*, IBindStatusCallback*, IBindStatusCallback**, DWORD);
    if (!moniker || !out) return E_POINTER;
    *out = nullptr;
    IBindCtx* ctx = bc;
    if (ctx) {
        ctx->AddRef();
    } else {
        const HRESULT hr = ::CreateBindCtx(0, &ctx);
        if (FAILED(hr)) return hr;
    }
    if (callback) {
        if (FnRegister reg = reinterpret_cast<FnRegister>(UrlmonProc("RegisterBindStatusCallback")))
            reg(ctx, callback, nullptr, 0);
    }
    const HRESULT hr = moniker->BindToStorage(ctx, nullptr, iid, out);
    ctx->Release();
    return hr;
}

HRESULT SAxContainer::QueryService(REFGUID service, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualGUID(service, IID_IBindHost) || IsEqualGUID(service, kSidWebBrowserApp) ||
        IsEqualGUID(service, kSidHostService))
        return static_cast<IDispatch*>(this)->QueryInterface(iid, out);
    return E_FAIL;
}

HRESULT SAxContainer::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

// ---- ActiveXSite ----

HWND ActiveXSite::HostWindow() const
{
    return m_delegate ? m_delegate->GetAxHostWindow() : nullptr;
}

HRESULT ActiveXSite::GetContainer(IOleContainer** out)
{
    if (!out) return E_POINTER;
    *out = ContainerInterface();
    return S_OK;
}

HRESULT ActiveXSite::ShowObject()
{
    if (!HostWindow() || ::IsRectEmpty(&m_rcControl) || !m_bInPlaceActive) return E_FAIL;
    m_bVisible = TRUE;
    if (m_delegate) m_delegate->OnAxInvalidate(&m_rcControl);
    return S_OK;
}

HRESULT ActiveXSite::OnShowWindow(BOOL show)
{
    m_bVisible = show;
    return S_OK;
}

HRESULT ActiveXSite::GetWindow(HWND* out)
{
    if (!out) return E_POINTER;
    *out = HostWindow();
    return *out ? S_OK : E_FAIL;
}

HRESULT ActiveXSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                      LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    *frame = nullptr;
    *doc = nullptr;
    *pos = m_rcControl;
    *clip = m_rcControl;
    info->fMDIApp = FALSE;
    info->hwndFrame = HostWindow();
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT ActiveXSite::OnPosRectChange(LPCRECT rect)
{
    if (!rect || ::EqualRect(rect, &m_rcControl) || !m_inPlaceObject) return S_OK;
    m_rcControl = *rect;
    const HRESULT hr = m_inPlaceObject->SetObjectRects(rect, rect);
    if (FAILED(hr)) return hr;
    if (!m_oleObject) return S_OK;
    const int dpiX = LogPixels(LOGPIXELSX), dpiY = LogPixels(LOGPIXELSY);
    SIZEL extent = {::MulDiv(2540, rect->right - rect->left, dpiX), ::MulDiv(2540, rect->bottom - rect->top, dpiY)};
    m_oleObject->SetExtent(DVASPECT_CONTENT, &extent);
    if (SUCCEEDED(m_oleObject->GetExtent(DVASPECT_CONTENT, &extent))) {
        m_rcControl.right = m_rcControl.left + ::MulDiv(dpiX, extent.cx, 2540);
        m_rcControl.bottom = m_rcControl.top + ::MulDiv(dpiY, extent.cy, 2540);
    }
    return S_OK;
}

HRESULT ActiveXSite::OnInPlaceActivate()
{
    m_bInPlaceActive = TRUE;
    return S_OK;
}

HRESULT ActiveXSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags)
{
    m_bInPlaceActive = TRUE;
    // Held while the control is active in place; given back on deactivation
    // or at teardown.
    if (m_control && !m_bRunningLocked && SUCCEEDED(::OleLockRunning(m_control, TRUE, FALSE)))
        m_bRunningLocked = TRUE;
    if (noRedraw) *noRedraw = FALSE;
    if (!(flags & ACTIVATE_WINDOWLESS)) {
        m_bWindowless = FALSE;
        return S_FALSE;
    }
    IOleInPlaceObjectWindowless* windowless = nullptr;
    if (!m_control ||
        FAILED(m_control->QueryInterface(IID_IOleInPlaceObjectWindowless, reinterpret_cast<void**>(&windowless))) ||
        !windowless)
        return S_FALSE;
    ReleaseAndClear(m_windowlessObject);
    m_windowlessObject = windowless;
    m_bWindowless = TRUE;
    return S_OK;
}

HRESULT ActiveXSite::OnInPlaceDeactivateEx(BOOL)
{
    m_bWindowless = FALSE;
    m_bInPlaceActive = FALSE;
    if (m_bRunningLocked) {
        m_bRunningLocked = FALSE;
        ::OleLockRunning(m_control, FALSE, FALSE);
    }
    return S_OK;
}

HRESULT ActiveXSite::SetCapture(BOOL capture)
{
    capture = capture ? TRUE : FALSE;
    if (capture == m_bCapture) return S_OK;
    m_bCapture = capture;
    if (m_delegate) m_delegate->OnAxSetCapture(capture);
    return S_OK;
}

HRESULT ActiveXSite::SetFocus(BOOL focus)
{
    focus = focus ? TRUE : FALSE;
    if (focus == m_bFocus) return S_OK;
    m_bFocus = focus;
    if (m_delegate) m_delegate->OnAxInvalidate(&m_rcControl);
    return S_OK;
}

HRESULT ActiveXSite::GetDC(LPCRECT rect, DWORD flags, HDC* dc)
{
    if (dc) *dc = nullptr;
    return m_delegate ? m_delegate->OnAxGetDC(rect, flags, dc) : S_FALSE;
}

HRESULT ActiveXSite::ReleaseDC(HDC dc)
{
    return m_delegate ? m_delegate->OnAxReleaseDC(dc) : S_FALSE;
}

HRESULT ActiveXSite::InvalidateRect(LPCRECT rect, BOOL)
{
    if (m_delegate) m_delegate->OnAxInvalidate(rect ? rect : &m_rcControl);
    return S_OK;
}

HRESULT ActiveXSite::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const HWND host = HostWindow();
    const LRESULT r = host ? ::DefWindowProcW(host, msg, wParam, lParam) : 0;
    if (result) *result = r;
    return S_OK;
}

// ---- SAxContainerImpl ----

SAxContainerImpl::SAxContainerImpl(IAxHostDelegate* host)
{
    m_delegate = host;
}

// By now nothing holds the site; what a control never gave back goes here.
SAxContainerImpl::~SAxContainerImpl()
{
    ReleaseAll();
}

HRESULT SAxContainerImpl::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) *out = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IOleContainer) || IsEqualIID(iid, IID_IParseDisplayName))
        *out = static_cast<IOleContainer*>(this);
    else if (IsEqualIID(iid, IID_IBindHost)) *out = static_cast<IBindHost*>(this);
    else if (IsEqualIID(iid, IID_IServiceProvider)) *out = static_cast<IServiceProvider*>(this);
    else if (IsEqualIID(iid, IID_IOleClientSite)) *out = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleControlSite)) *out = static_cast<IOleControlSite*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite) ||
             IsEqualIID(iid, IID_IOleInPlaceSiteEx) || IsEqualIID(iid, IID_IOleInPlaceSiteWindowless))
        *out = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (IsEqualIID(iid, IID_IAdviseSink)) *out = static_cast<IAdviseSink*>(this);
    else if (IsEqualIID(iid, kIidDocHostUIHandler) && m_external)
        return m_external->QueryInterface(iid, out);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG SAxContainerImpl::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_refs));
}

ULONG SAxContainerImpl::Release()
{
    const LONG left = ::InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

IOleContainer* SAxContainerImpl::ContainerInterface()
{
    AddRef();
    return static_cast<IOleContainer*>(this);
}

HRESULT SAxContainerImpl::CreateControl(REFCLSID clsid, DWORD context)
{
    if (m_control) return E_UNEXPECTED;
    IUnknown* control = nullptr;
    const HRESULT hr = ::CoCreateInstance(clsid, nullptr, context, IID_IUnknown, reinterpret_cast<void**>(&control));
    if (FAILED(hr)) return hr;
    if (!control) return E_UNEXPECTED;
    m_control = control;
    m_control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_oleObject));
    m_control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_inPlaceObject));
    return S_OK;
}

HRESULT SAxContainerImpl::ActivateAx(const RECT& rect, IStream* stream)
{
    if (!m_oleObject) return E_UNEXPECTED;
    m_rcControl = rect;  // what the control reads through GetWindowContext while it activates
    IOleClientSite* site = static_cast<IOleClientSite*>(this);
    if (FAILED(m_oleObject->GetMiscStatus(DVASPECT_CONTENT, &m_miscStatus))) m_miscStatus = 0;
    const bool siteFirst = (m_miscStatus & kMiscSetClientSiteFirst) != 0;
    if (siteFirst) m_oleObject->SetClientSite(site);

    HRESULT hr = S_OK;
    IPersistStreamInit* init = nullptr;
    IPersistStream* persist = nullptr;
    if (SUCCEEDED(m_control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&init))) && init) {
        hr = stream ? init->Load(stream) : init->InitNew();
        init->Release();
    } else if (stream &&
               SUCCEEDED(m_control->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist))) &&
               persist) {
        hr = persist->Load(stream);
        persist->Release();
    }
    if (FAILED(hr)) {
        if (siteFirst) m_oleObject->SetClientSite(nullptr);
        return hr;
    }
    if (!siteFirst) m_oleObject->SetClientSite(site);
    if (m_delegate) m_delegate->OnAxActivate(m_control);
    if (!m_oleObject) return E_UNEXPECTED;  // the element was torn down meanwhile

    const struct {
        const IID* iid;
        int kind;
    } views[] = {{&IID_IViewObjectEx, kViewObjectEx}, {&IID_IViewObject2, kViewObject2}, {&IID_IViewObject, kViewObject}};
    for (const auto& v : views) {
        if (SUCCEEDED(m_control->QueryInterface(*v.iid, reinterpret_cast<void**>(&m_viewObject))) && m_viewObject) {
            m_viewKind = v.kind;
            break;
        }
        m_viewObject = nullptr;
    }
    IAdviseSink* sink = static_cast<IAdviseSink*>(this);
    if (FAILED(m_oleObject->Advise(sink, &m_adviseCookie))) m_adviseCookie = 0;
    if (m_viewObject) m_viewObject->SetAdvise(DVASPECT_CONTENT, 0, sink);
    if (m_miscStatus & kMiscNoActivate) return S_FALSE;
    RECT pos = rect;
    if (FAILED(m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, HostWindow(), &pos)))
        return E_UNEXPECTED;
    m_bInPlaceActive = TRUE;
    return S_OK;
}

void SAxContainerImpl::PlaceControl(const RECT& rect)
{
    m_rcControl = m_inPlaceObject ? RECT{0, 0, 0, 0} : rect;
    OnPosRectChange(&rect);
}

void SAxContainerImpl::ShowControlWindow(BOOL show)
{
    IOleWindow* window = nullptr;
    if (!m_control || FAILED(m_control->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window))) ||
        !window)
        return;
    HWND hwnd = nullptr;
    if (SUCCEEDED(window->GetWindow(&hwnd)) && hwnd && ::IsWindow(hwnd)) {
        const HWND focus = ::GetFocus();
        const bool hadFocus = focus && (focus == hwnd || ::IsChild(hwnd, focus));
        ::ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        if (!show && hadFocus && HostWindow()) ::SetFocus(HostWindow());
    }
    window->Release();
}

BOOL SAxContainerImpl::Draw(HDC dc, const RECT& area)
{
    RECT overlap;
    if (!dc || !m_bVisible || !m_viewObject || !::IntersectRect(&overlap, &area, &m_rcControl)) return FALSE;
    RECTL bounds = {m_rcControl.left, m_rcControl.top, m_rcControl.right, m_rcControl.bottom};
    return SUCCEEDED(m_viewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr,
                                        nullptr, 0));
}

LRESULT SAxContainerImpl::ForwardMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    handled = FALSE;
    if (!m_bInPlaceActive || !m_bWindowless || !m_windowlessObject) return 0;
    // The message may close the window, and the teardown lets the control
    // go while its call still runs: the call holds it.
    IOleInPlaceObjectWindowless* control = m_windowlessObject;
    control->AddRef();
    LRESULT result = 0;
    if (control->OnWindowMessage(msg, wParam, lParam, &result) != S_OK) result = 0;
    control->Release();
    handled = TRUE;
    return result;
}

void SAxContainerImpl::SetExternalUIHandler(IUnknown* handler)
{
    if (handler == m_external) return;
    if (handler) handler->AddRef();
    IUnknown* old = m_external;
    m_external = handler;
    if (old) old->Release();
}

void SAxContainerImpl::Teardown()
{
    AddRef();  // the control's releases of the site must not free it midway
    if (m_delegate) m_delegate->OnAxTeardown();
    ReleaseAll();
    m_delegate = nullptr;
    ::InterlockedDecrement(&m_refs);  // the caller still holds its own reference
}

void SAxContainerImpl::ReleaseAll()
{
    if (m_viewObject) m_viewObject->SetAdvise(DVASPECT_CONTENT, 0, nullptr);
    ReleaseAndClear(m_viewObject);
    m_viewKind = kViewNone;
    ReleaseAndClear(m_windowlessObject);
    if (m_bInPlaceActive && m_inPlaceObject) m_inPlaceObject->InPlaceDeactivate();
    m_bInPlaceActive = FALSE;
    m_bWindowless = FALSE;
    if (m_bRunningLocked) {
        m_bRunningLocked = FALSE;
        ::OleLockRunning(m_control, FALSE, FALSE);
    }
    if (m_oleObject) {
        if (m_adviseCookie) m_oleObject->Unadvise(m_adviseCookie);
        m_adviseCookie = 0;
        m_oleObject->SetClientSite(nullptr);
        m_oleObject->Close(OLECLOSE_NOSAVE);
    }
    ReleaseControl();
    ReleaseAndClear(m_external);
    m_bCapture = FALSE;
    m_bFocus = FALSE;
    m_bVisible = FALSE;
}

void SAxContainerImpl::ReleaseControl()
{
    ReleaseAndClear(m_oleObject);
    ReleaseAndClear(m_inPlaceObject);
    ReleaseAndClear(m_control);
}

}  // namespace WUI
