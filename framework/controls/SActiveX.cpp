#include "controls/SActiveX.h"

#include "controls/ControlAttr.h"
#include "core/SApplication.h"
#include "render/AlphaBuffer.h"

#include <wmp.h>

namespace WUI {

namespace {

const CLSID kClsidFlash = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kIidShockwaveFlash = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const CLSID kClsidMediaPlayer = {0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
const IID kIidWMPPlayer4 = {0x6C497D62, 0x8919, 0x413C, {0x82, 0xDB, 0xE9, 0x35, 0xFB, 0x3E, 0xC5, 0x84}};

// The "clsID" text is read through a buffer of this many characters, its NUL included.
const int kMaxClsidText = 100;

// Sets a string property of a dispatch interface by name.
HRESULT PutStringProperty(IDispatch* disp, LPCWSTR name, LPCWSTR value)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = disp->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    VARIANT arg;
    ::VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = ::SysAllocString(value);
    if (!arg.bstrVal) return E_OUTOFMEMORY;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&arg, &named, 1, 1};
    hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
    ::VariantClear(&arg);
    return hr;
}

}  // namespace

// ---- SActiveX ----

SActiveX::SActiveX() : m_axContainer(new SAxContainerImpl(this)) {}

SActiveX::SActiveX(const CLSID& clsid) : SActiveX()
{
    m_clsid = clsid;
}

SActiveX::~SActiveX()
{
    m_axContainer->Teardown();
    m_axContainer->Release();
}

HRESULT SActiveX::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SActiveX, int> ints[] = {
        {L"clscText", &SActiveX::m_clsCtx, S_FALSE},
        {L"delay", &SActiveX::m_bDelay, S_FALSE},
    };
    HRESULT hr;
    if (SetIntAttr(this, ints, name, value, hr)) return AfterSetAttribute(name, value, hr);
    if (_wcsicmp(name, L"clsID") == 0) return AfterSetAttribute(name, value, SetClsidAttr(value));
    return SWindow::SetAttribute(name, value, loading);
}

// A name the platform does not know leaves no CLSID; a text too long for
// the buffer is refused and the CLSID kept.
HRESULT SActiveX::SetClsidAttr(const SStringW& value)
{
    if (value.GetLength() >= kMaxClsidText) return E_FAIL;
    wchar_t text[kMaxClsidText];
    wcscpy(text, value);
    CLSID clsid = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    const HRESULT hr = text[0] == L'{' ? ::CLSIDFromString(text, &clsid) : ::CLSIDFromProgID(text, &clsid);
    m_clsid = SUCCEEDED(hr) ? clsid : CLSID{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    return SUCCEEDED(hr) ? S_FALSE : E_FAIL;
}

bool SActiveX::InitActiveX()
{
    static const CLSID none = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    m_bPendingCreate = FALSE;
    if (IsEqualCLSID(m_clsid, none) || GetIUnknown()) return false;
    SAutoRefPtr<SWindow> keep(this);  // the control's first calls may reach handlers
    const RECT client = GetClientRect();
    if (FAILED(m_axContainer->CreateControl(m_clsid, static_cast<DWORD>(m_clsCtx))) ||
        FAILED(m_axContainer->ActivateAx(client))) {
        // Nothing half-made stays: a fresh site waits for another try.
        m_axContainer->Teardown();
        m_axContainer->Release();
        m_axContainer = new SAxContainerImpl(this);
        return false;
    }
    if (IsDestroyed()) return false;
    m_axContainer->ShowControlWindow(IsVisible(TRUE));
    m_axContainer->PlaceControl(client);
    OnAxCreated();
    return true;
}

// Before the layout pass an element has no place, or an empty one; the
// control would activate in nothing and never show itself.
void SActiveX::CreateWhenPlaced()
{
    const RECT client = GetClientRect();
    if (IsPlaced() && !::IsRectEmpty(&client)) InitActiveX();
    else m_bPendingCreate = TRUE;
}

int SActiveX::OnAxCreate(LPVOID createParam)
{
    const int refused = OnCreate(createParam);
    if (refused) return refused;
    if (!m_bDelay) CreateWhenPlaced();
    return 0;
}

void SActiveX::OnAxDestroy()
{
    m_axContainer->Teardown();
    SetMsgHandled(FALSE);  // the element's own destroy runs next
}

// The control draws with GDI, which clears the alpha bytes: it draws into a
// buffer whose drawn pixels are then blended on opaque.
void SActiveX::OnAxPaint(IRenderTarget* rt)
{
    if (!rt) return;
    HDC dc = rt->GetDC(0);
    if (!dc) return;
    {
        static AlphaScratch scratch;  // UI thread only
        AlphaBuffer buffer(scratch, dc, m_axContainer->GetControlRect(), 0xFF, true);
        if (buffer.Ok()) m_axContainer->Draw(buffer.DC(), GetWindowRect());
    }
    rt->ReleaseDC(dc);
}

LRESULT SActiveX::OnAxMouse(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SAutoRefPtr<SWindow> keep(this);  // the control may call back into the element
    if (msg == WM_LBUTTONDOWN) SetFocus();
    BOOL handled = FALSE;
    return m_axContainer->ForwardMessage(msg, wParam, lParam, handled);
}

LRESULT SActiveX::OnAxKey(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SAutoRefPtr<SWindow> keep(this);
    BOOL handled = FALSE;
    return m_axContainer->ForwardMessage(msg, wParam, lParam, handled);
}

void SActiveX::OnAxSize(UINT type, SIZE size)
{
    SWindow::OnSize(type, size);
    if (m_bPendingCreate) CreateWhenPlaced();
    else if (m_axContainer->GetInPlaceObject()) m_axContainer->OnPosRectChange(&GetWindowRect());
}

void SActiveX::OnAxShowWindow(BOOL show, UINT status)
{
    SWindow::OnShowWindow(show, status);
    if (m_bDelay && IsVisible(TRUE)) {
        m_bDelay = 0;
        CreateWhenPlaced();
    }
    m_axContainer->ShowControlWindow(IsVisible(TRUE));
}

HWND SActiveX::GetAxHostWindow()
{
    return m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
}

void SActiveX::OnAxInvalidate(const RECT* rect)
{
    InvalidateRect(rect);
}

void SActiveX::OnAxSetCapture(BOOL capture)
{
    if (capture) SetCapture();
    else ReleaseCapture();
}

HRESULT SActiveX::OnAxGetDC(const RECT*, DWORD, HDC* dc)
{
    if (dc) *dc = nullptr;
    return S_FALSE;
}

// ---- SFlashCtrl ----

SFlashCtrl::SFlashCtrl() : SActiveX(kClsidFlash) {}

SFlashCtrl::~SFlashCtrl()
{
    ReleaseAndClear(m_flash);
}

void SFlashCtrl::OnAxActivate(IUnknown* control)
{
    ReleaseAndClear(m_flash);
    if (!control || FAILED(control->QueryInterface(kIidShockwaveFlash, reinterpret_cast<void**>(&m_flash)))) {
        m_flash = nullptr;
        return;
    }
    PutStringProperty(m_flash, L"WMode", L"transparent");
    if (!m_url.IsEmpty()) PutStringProperty(m_flash, L"Movie", m_url);
}

void SFlashCtrl::OnAxTeardown()
{
    ReleaseAndClear(m_flash);
}

bool SFlashCtrl::SetUrl(const SStringW& url)
{
    if (!m_flash) return false;
    m_url = url;
    return SUCCEEDED(PutStringProperty(m_flash, L"Movie", url));
}

HRESULT SFlashCtrl::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"url") != 0) return SActiveX::SetAttribute(name, value, loading);
    m_url = value;
    if (!loading) SetUrl(value);
    return AfterSetAttribute(name, value, S_FALSE);
}

// ---- SMediaPlayer ----

SMediaPlayer::SMediaPlayer() : SActiveX(kClsidMediaPlayer) {}

SMediaPlayer::~SMediaPlayer()
{
    ReleaseAndClear(m_player);
}

void SMediaPlayer::OnAxActivate(IUnknown* control)
{
    ReleaseAndClear(m_player);
    if (!control || FAILED(control->QueryInterface(kIidWMPPlayer4, reinterpret_cast<void**>(&m_player)))) {
        m_player = nullptr;
        return;
    }
    m_player->put_windowlessVideo(VARIANT_TRUE);
}

void SMediaPlayer::OnAxTeardown()
{
    ReleaseAndClear(m_player);
}

void SMediaPlayer::OnAxCreated()
{
    if (!m_url.IsEmpty() && m_player) SetUrl(m_url);
}

bool SMediaPlayer::SetUrl(const SStringW& url)
{
    if (!m_player) return false;
    m_url = url;
    // Closing what plays is a courtesy: a player that cannot close (Wine's
    // answers E_NOTIMPL) still opens the new url, and that result counts.
    m_player->close();
    BSTR text = ::SysAllocString(url);
    if (!text) return false;
    const HRESULT hr = m_player->put_URL(text);
    ::SysFreeString(text);
    return SUCCEEDED(hr);
}

HRESULT SMediaPlayer::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"url") != 0) return SActiveX::SetAttribute(name, value, loading);
    SApplication* app = SApplication::GetSingletonPtr();
    m_url = app ? app->GetString(value) : value;
    return AfterSetAttribute(name, value, S_FALSE);
}

}  // namespace WUI
