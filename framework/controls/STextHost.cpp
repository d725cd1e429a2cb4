#include "controls/STextHost.h"

#include "controls/SRichEdit.h"
#include "core/STextServiceHelper.h"

#include <imm.h>

namespace WUI {

namespace {

// SB_HORZ, SB_VERT, SB_BOTH as the panel's bar mask.
int BarMask(INT bar)
{
    switch (bar) {
    case SB_HORZ: return SSB_HORZ;
    case SB_VERT: return SSB_VERT;
    case SB_BOTH: return SSB_BOTH;
    default: return SSB_NULL;
    }
}

// Edit-style bits the services read as scroll-bar settings. ES_NUMBER
// shares its bit with the services' "disable, don't hide" flag and is left
// out, so number fields never show disabled bars.
const DWORD kScrollBarStyles = WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL;

}  // namespace

STextHost::STextHost(SRichEdit* owner) : m_owner(owner) {}

STextHost::~STextHost()
{
    if (m_services) {
        ITextServices* services = m_services;
        m_services = nullptr;
        services->Release();
    }
}

BOOL STextHost::Init()
{
    STextServiceHelper* helper = STextServiceHelper::GetSingletonPtr();
    if (!helper) return FALSE;
    const ULONG before = m_cRef;
    IUnknown* unknown = nullptr;
    if (FAILED(helper->CreateTextServices(nullptr, static_cast<ITextHost*>(this), &unknown)) || !unknown)
        return FALSE;
    // References the services took on the host do not keep it alive: the
    // element ends both, services first.
    if (m_cRef > before) m_cRef = before;
    void* services = nullptr;
    const HRESULT hr = unknown->QueryInterface(kIidTextServices, &services);
    unknown->Release();
    if (FAILED(hr) || !services) return FALSE;
    m_services = static_cast<ITextServices*>(services);
    return TRUE;
}

HRESULT STDMETHODCALLTYPE STextHost::QueryInterface(REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidTextHost)) {
        *object = static_cast<ITextHost*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE STextHost::AddRef()
{
    return ++m_cRef;
}

ULONG STDMETHODCALLTYPE STextHost::Release()
{
    if (m_cRef == 0) return 0;  // a release the services make while the host goes
    const ULONG count = --m_cRef;
    if (count == 0) delete this;
    return count;
}

bool STextHost::Gone() const
{
    return m_owner->IsDestroyed() != FALSE;
}

HWND STextHost::HostHwnd() const
{
    ISwndContainer* container = Gone() ? nullptr : m_owner->GetContainer();
    return container ? container->GetHostHwnd() : nullptr;
}

HDC STextHost::TxGetDC()
{
    return ::GetDC(nullptr);
}

INT STextHost::TxReleaseDC(HDC dc)
{
    return ::ReleaseDC(nullptr, dc);
}

WINBOOL STextHost::TxShowScrollBar(INT bar, WINBOOL show)
{
    if (Gone()) return FALSE;
    // Told again what it shows already, the panel would lay out again for nothing.
    const int mask = BarMask(bar);
    const bool shown = (mask & SSB_HORZ ? m_owner->HasScrollBar(FALSE) : true) &&
                       (mask & SSB_VERT ? m_owner->HasScrollBar(TRUE) : true);
    const bool hidden = !(mask & SSB_HORZ && m_owner->HasScrollBar(FALSE)) &&
                        !(mask & SSB_VERT && m_owner->HasScrollBar(TRUE));
    if (show ? shown : hidden) return TRUE;
    m_owner->ShowScrollBar(BarMask(bar), show);
    return TRUE;
}

WINBOOL STextHost::TxEnableScrollBar(INT bar, INT arrows)
{
    if (Gone()) return FALSE;
    m_owner->EnableScrollBar(BarMask(bar), arrows == ESB_ENABLE_BOTH);
    return TRUE;
}

WINBOOL STextHost::TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw)
{
    if (Gone()) return FALSE;
    return m_owner->SetScrollRange(bar != SB_HORZ, minPos, maxPos, redraw);
}

WINBOOL STextHost::TxSetScrollPos(INT bar, INT pos, WINBOOL redraw)
{
    if (Gone()) return FALSE;
    if (m_owner->m_fOptions & SRichEdit::kOptScrollGuard) return TRUE;
    m_owner->m_fOptions |= SRichEdit::kOptScrollGuard;
    m_owner->SetScrollPos(bar != SB_HORZ, pos, redraw);
    m_owner->m_fOptions &= ~SRichEdit::kOptScrollGuard;
    return TRUE;
}

void STextHost::TxInvalidateRect(LPCRECT rect, WINBOOL)
{
    if (Gone()) return;
    if (rect) m_owner->InvalidateRect(rect);
    else m_owner->InvalidateRect(nullptr);
}

void STextHost::TxViewChange(WINBOOL update)
{
    if (Gone()) return;
    if (update) m_owner->InvalidateRect(nullptr);
}

WINBOOL STextHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height)
{
    if (Gone()) return FALSE;
    return m_owner->CreateCaret(bitmap, width, height);
}

WINBOOL STextHost::TxShowCaret(WINBOOL show)
{
    if (Gone()) return FALSE;
    if (show && !m_fUiActive) return FALSE;
    return m_owner->ShowCaret(show);
}

WINBOOL STextHost::TxSetCaretPos(INT x, INT y)
{
    m_ptCaret = POINT{x, y};
    if (Gone()) return FALSE;
    return m_owner->SetCaretPos(x, y);
}

WINBOOL STextHost::TxSetTimer(UINT id, UINT timeout)
{
    if (Gone()) return FALSE;
    return m_owner->SetTimer2(id, timeout);
}

void STextHost::TxKillTimer(UINT id)
{
    m_owner->KillTimer2(id);
}

void STextHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT)
{
    if (Gone()) return;
    m_owner->InvalidateRect(nullptr);
}

void STextHost::TxSetCapture(WINBOOL capture)
{
    if (Gone()) return;
    if (capture) m_owner->SetCapture();
    else m_owner->ReleaseCapture();
}

void STextHost::TxSetFocus()
{
    if (Gone()) return;
    m_owner->SetFocus();
}

void STextHost::TxSetCursor(HCURSOR cursor, WINBOOL)
{
    ::SetCursor(cursor);
}

WINBOOL STextHost::TxScreenToClient(LPPOINT pt)
{
    const HWND hwnd = HostHwnd();
    return hwnd && ::ScreenToClient(hwnd, pt);
}

WINBOOL STextHost::TxClientToScreen(LPPOINT pt)
{
    const HWND hwnd = HostHwnd();
    return hwnd && ::ClientToScreen(hwnd, pt);
}

HRESULT STextHost::TxActivate(LONG* oldState)
{
    if (oldState) *oldState = m_fUiActive;
    m_fUiActive = TRUE;
    return S_OK;
}

HRESULT STextHost::TxDeactivate(LONG)
{
    m_fUiActive = FALSE;
    return S_OK;
}

// The text area: the client area less the inset. The services of some
// platforms never ask for the view inset, so it is taken off here.
HRESULT STextHost::TxGetClientRect(LPRECT rect)
{
    if (!rect) return E_INVALIDARG;
    *rect = m_owner->GetTextRect();
    return S_OK;
}

// The inset is in the client rectangle already.
HRESULT STextHost::TxGetViewInset(LPRECT rect)
{
    if (!rect) return E_INVALIDARG;
    ::SetRectEmpty(rect);
    return S_OK;
}

HRESULT STextHost::TxGetCharFormat(const CHARFORMATW** format)
{
    if (!format) return E_INVALIDARG;
    *format = reinterpret_cast<const CHARFORMATW*>(&m_owner->m_cfDef);
    return S_OK;
}

HRESULT STextHost::TxGetParaFormat(const PARAFORMAT** format)
{
    if (!format) return E_INVALIDARG;
    *format = reinterpret_cast<const PARAFORMAT*>(&m_owner->m_pfDef);
    return S_OK;
}

COLORREF STextHost::TxGetSysColor(int index)
{
    return ::GetSysColor(index);
}

HRESULT STextHost::TxGetBackStyle(TXTBACKSTYLE* style)
{
    if (!style) return E_INVALIDARG;
    *style = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT STextHost::TxGetMaxLength(DWORD* length)
{
    if (!length) return E_INVALIDARG;
    *length = static_cast<DWORD>(m_owner->m_nMaxBuf);
    return S_OK;
}

HRESULT STextHost::TxGetScrollBars(DWORD* scrollBars)
{
    if (!scrollBars) return E_INVALIDARG;
    *scrollBars = m_owner->m_dwStyle & kScrollBarStyles;
    return S_OK;
}

HRESULT STextHost::TxGetPasswordChar(TCHAR* ch)
{
    if (!ch) return E_INVALIDARG;
    *ch = m_owner->m_chPassword;
    return S_OK;
}

HRESULT STextHost::TxGetAcceleratorPos(LONG* cp)
{
    if (!cp) return E_INVALIDARG;
    *cp = m_owner->m_lAccelPos;
    return S_OK;
}

HRESULT STextHost::TxGetExtent(LPSIZEL extent)
{
    if (!extent) return E_INVALIDARG;
    *extent = m_owner->m_sizelExtent;
    return S_OK;
}

HRESULT STextHost::OnTxCharFormatChange(const CHARFORMATW*)
{
    return S_OK;
}

HRESULT STextHost::OnTxParaFormatChange(const PARAFORMAT*)
{
    return S_OK;
}

HRESULT STextHost::TxGetPropertyBits(DWORD mask, DWORD* bits)
{
    if (!bits) return E_INVALIDARG;
    const DWORD style = m_owner->m_dwStyle, options = m_owner->m_fOptions;
    DWORD all = 0;
    if (options & SRichEdit::kOptRich) all |= TXTBIT_RICHTEXT;
    if (style & ES_MULTILINE) all |= TXTBIT_MULTILINE;
    if (style & ES_READONLY) all |= TXTBIT_READONLY;
    if (style & ES_PASSWORD) all |= TXTBIT_USEPASSWORD;
    if (!(style & ES_NOHIDESEL)) all |= TXTBIT_HIDESELECTION;
    if (options & SRichEdit::kOptAutoWordSel) all |= TXTBIT_AUTOWORDSEL;
    if (options & SRichEdit::kOptVertical) all |= TXTBIT_VERTICAL;
    if (options & SRichEdit::kOptWordWrap) all |= TXTBIT_WORDWRAP;
    if (options & SRichEdit::kOptAllowBeep) all |= TXTBIT_ALLOWBEEP;
    if (options & SRichEdit::kOptSaveSel) all |= TXTBIT_SAVESELECTION;
    *bits = all & mask;
    return S_OK;
}

HRESULT STextHost::TxNotify(DWORD code, void* data)
{
    if (code == EN_UPDATE || Gone()) return S_OK;
    return m_owner->OnTxNotify(code, data);
}

HIMC STextHost::TxImmGetContext()
{
    const HWND hwnd = HostHwnd();
    return hwnd ? ::ImmGetContext(hwnd) : nullptr;
}

void STextHost::TxImmReleaseContext(HIMC himc)
{
    const HWND hwnd = HostHwnd();
    if (hwnd) ::ImmReleaseContext(hwnd, himc);
}

HRESULT STextHost::TxGetSelectionBarWidth(LONG* width)
{
    if (!width) return E_INVALIDARG;
    *width = 0;
    return S_OK;
}

}  // namespace WUI
