#include "controls/SRichEdit.h"

#include "controls/ControlAttr.h"
#include "controls/RicheditMenu.h"
#include "controls/RtfStream.h"
#include "controls/SRicheditDropTarget.h"
#include "controls/STextHost.h"
#include "core/CAccelerator.h"
#include "core/SApplication.h"
#include "core/SRicheditMenuDef.h"
#include "render/AlphaBuffer.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace WUI {

namespace {

// "X:\..." or "X:/...": a drive, not a resource type.
bool IsDrivePath(const SStringW& value)
{
    return value.GetLength() >= 3 && iswalpha(value.GetAt(0)) && value[1] == L':' &&
           (value[2] == L'\\' || value[2] == L'/');
}

// A packed 16-bit position: all of them count, only 0xFFFF stands for -1.
LONG PackedPosition(WORD position)
{
    return position == 0xFFFF ? -1 : LONG(position);
}

}  // namespace

SRichEdit::SRichEdit()
{
    memset(&m_cfDef, 0, sizeof m_cfDef);
    memset(&m_pfDef, 0, sizeof m_pfDef);
    m_cfDef.cbSize = sizeof m_cfDef;
    m_pfDef.cbSize = sizeof m_pfDef;
    m_pNcSkin = BuiltinSkin(kSkinSysBorder);
    m_dwFlags |= kFlagClipClient | kFlagFocusable;
    m_evtSet.AddEvent<EventRENotify>();
    m_evtSet.AddEvent<EventREMenu>();
}

SRichEdit::~SRichEdit()
{
    if (m_dropTarget) m_dropTarget->Release();
    ReleaseHost();
}

SRichEdit::TxCall::TxCall(SRichEdit* edit) : m_edit(edit)
{
    m_edit->AddRef();
    ++m_edit->m_nTxCalls;
}

SRichEdit::TxCall::~TxCall()
{
    if (--m_edit->m_nTxCalls == 0 && m_edit->m_bHostReleasePending) m_edit->ReleaseHost();
    m_edit->Release();
}

void SRichEdit::ReleaseHost()
{
    m_bHostReleasePending = false;
    if (!m_pTxtHost) return;
    STextHost* host = m_pTxtHost;
    m_pTxtHost = nullptr;
    if (ITextServices* services = host->GetTextServices()) services->OnTxInPlaceDeactivate();
    host->Release();
}

ITextServices* SRichEdit::GetTextServices() const
{
    return m_pTxtHost && !m_bHostReleasePending ? m_pTxtHost->GetTextServices() : nullptr;
}

BOOL SRichEdit::TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT lr = 0;
    ITextServices* services = GetTextServices();
    BOOL sent = FALSE;
    if (services) {
        TxCall call(this);
        sent = services->TxSendMessage(msg, wParam, lParam, &lr) == S_OK;
    }
    if (result) *result = lr;
    return sent;
}

LRESULT SRichEdit::ForwardCurrent()
{
    LRESULT lr = 0;
    if (const SwndMsg* cur = GetCurMsg()) TxSendMessage(cur->msg, cur->wParam, cur->lParam, &lr);
    return lr;
}

void SRichEdit::PropertyBitsChange(DWORD mask, BOOL set)
{
    if (ITextServices* services = GetTextServices()) {
        TxCall call(this);
        services->OnTxPropertyBitsChange(mask, set ? mask : 0);
    }
}

// ---- text ----

SStringW SRichEdit::GetWindowText() const
{
    SRichEdit* self = const_cast<SRichEdit*>(this);
    if (!GetTextServices()) return m_strText;
    const int length = self->GetWindowTextLength();
    if (length <= 0) return SStringW();
    SStringW text;
    wchar_t* buffer = text.GetBuffer(length + 1);
    if (!buffer) return SStringW();
    LRESULT copied = 0;
    self->TxSendMessage(WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(buffer), &copied);
    text.ReleaseBuffer(std::min<int>(static_cast<int>(copied), length));
    return text;
}

// A change handler may destroy the edit inside the call: it is kept to the
// end (and so in SetSel).
void SRichEdit::SetWindowText(const SStringW& text)
{
    if (!GetTextServices()) {
        m_strText = text;
        return;
    }
    SAutoRefPtr<SWindow> keep(this);
    SendSwndMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(text)));
    if (!IsDestroyed()) InvalidateRect(nullptr);
}

int SRichEdit::GetWindowTextLength()
{
    LRESULT length = 0;
    TxSendMessage(WM_GETTEXTLENGTH, 0, 0, &length);
    return static_cast<int>(length);
}

void SRichEdit::ReplaceSel(LPCWSTR text, BOOL canUndo)
{
    SendSwndMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text ? text : L""));
}

void SRichEdit::SetSel(DWORD selection, BOOL noScroll)
{
    SAutoRefPtr<SWindow> keep(this);
    SendSwndMessage(EM_SETSEL, static_cast<WPARAM>(PackedPosition(LOWORD(selection))),
                    static_cast<LPARAM>(PackedPosition(HIWORD(selection))));
    if (!noScroll && !IsDestroyed()) SendSwndMessage(EM_SCROLLCARET);
}

BOOL SRichEdit::SetReadOnly(BOOL readOnly)
{
    return static_cast<BOOL>(SendSwndMessage(EM_SETREADONLY, readOnly));
}

BOOL SRichEdit::SetLimitText(int limit)
{
    return static_cast<BOOL>(SendSwndMessage(EM_EXLIMITTEXT, 0, limit));
}

void SRichEdit::SetRichText(BOOL rich)
{
    if (rich) m_fOptions |= kOptRich;
    else m_fOptions &= ~kOptRich;
    PropertyBitsChange(TXTBIT_RICHTEXT, rich);
}

void SRichEdit::SetWordWrap(BOOL wrap)
{
    if (wrap) m_fOptions |= kOptWordWrap;
    else m_fOptions &= ~kOptWordWrap;
    PropertyBitsChange(TXTBIT_WORDWRAP, wrap);
}

void SRichEdit::SetSaveSelection(BOOL save)
{
    if (save) m_fOptions |= kOptSaveSel;
    else m_fOptions &= ~kOptSaveSel;
    PropertyBitsChange(TXTBIT_SAVESELECTION, save);
}

void SRichEdit::SetDefaultAlign(WORD align)
{
    m_pfDef.wAlignment = align;
    PropertyBitsChange(TXTBIT_PARAFORMATCHANGE, TRUE);
}

void SRichEdit::SetDefaultParaOffset(LONG offset)
{
    m_pfDef.dxOffset = offset;
    PropertyBitsChange(TXTBIT_PARAFORMATCHANGE, TRUE);
}

COLORREF SRichEdit::SetDefaultTextColor(COLORREF color)
{
    const COLORREF old = m_cfDef.crTextColor;
    m_cfDef.crTextColor = color & 0x00FFFFFF;
    PropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TRUE);
    return old;
}

// ---- RTF ----

LONG SRichEdit::SaveRtf(LPCWSTR path)
{
    FILE* file = path ? _wfopen(path, L"wb") : nullptr;
    if (!file) return 0;
    RtfFileWriter writer(file);
    EDITSTREAM es = writer.Stream();
    LRESULT written = 0;
    TxSendMessage(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es), &written);
    const bool closed = fclose(file) == 0;
    return closed && es.dwError == 0 ? static_cast<LONG>(written) : 0;
}

LONG SRichEdit::LoadRtf(LPCWSTR path)
{
    FILE* file = path ? _wfopen(path, L"rb") : nullptr;
    if (!file) return 0;
    RtfFileReader reader(file);
    EDITSTREAM es = reader.Stream();
    LRESULT read = 0;
    TxSendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es), &read);
    fclose(file);
    return es.dwError == 0 ? static_cast<LONG>(read) : 0;
}

LONG SRichEdit::LoadRtfBytes(const void* bytes, size_t size)
{
    if (!bytes || size == 0 || size > kMaxRtfBytes) return 0;
    RtfMemoryReader reader(bytes, size);
    EDITSTREAM es = reader.Stream();
    LRESULT read = 0;
    TxSendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es), &read);
    return es.dwError == 0 ? static_cast<LONG>(read) : 0;
}

HRESULT SRichEdit::LoadRtfValue(const SStringW& value)
{
    SStringW parts[2];
    if (IsDrivePath(value) || ParseResId(value, parts) != 2 || parts[0].IsEmpty()) {
        LoadRtf(value);
        return S_OK;
    }
    SApplication* app = SApplication::GetSingletonPtr();
    const size_t size = app ? app->GetRawBufferSize(parts[0], parts[1]) : 0;
    if (size == 0 || size > kMaxRtfBytes) return S_OK;
    SResBuffer bytes;
    if (app->ReadResource(parts[0], parts[1], bytes)) LoadRtfBytes(bytes.Data(), bytes.Size());
    return S_OK;
}

// ---- formats ----

int SRichEdit::PixelsToHimetric(int pixels, BOOL horizontal) const
{
    const HWND hwnd = m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
    HDC dc = ::GetDC(hwnd);
    const int dpi = dc ? ::GetDeviceCaps(dc, horizontal ? LOGPIXELSX : LOGPIXELSY) : 96;
    if (dc) ::ReleaseDC(hwnd, dc);
    return ::MulDiv(pixels, 2540, dpi > 0 ? dpi : 96);
}

void SRichEdit::BuildCharFormat(const LOGFONTW* font)
{
    SAutoRefPtr<IRenderTarget> rt = SApplication::NewMeasureTarget();
    LOGFONTW lf = {};
    COLORREF color = m_cfDef.crTextColor;
    if (rt) {
        ApplyTextStyleChain(rt);
        color = rt->GetTextColor();
        if (font) {
            lf = *font;
        } else {
            IRenderObj* current = rt->GetCurrentObject(OT_FONT);
            if (current && current->ObjectType() == OT_FONT) lf = *static_cast<IFont*>(current)->LogFont();
        }
        SIZE a = {0, 0};
        rt->MeasureText(L"A", 1, &a);
        m_nLineHeight = a.cy;
    } else if (font) {
        lf = *font;
    }
    HDC screen = ::GetDC(nullptr);
    const int dpiY = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    CHARFORMAT2W& cf = m_cfDef;
    memset(&cf, 0, sizeof cf);
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    cf.crTextColor = color & 0x00FFFFFF;
    cf.yHeight = ::MulDiv(abs(lf.lfHeight), 1440, dpiY > 0 ? dpiY : 96);
    cf.yOffset = 0;
    if (lf.lfWeight >= FW_BOLD) cf.dwEffects |= CFE_BOLD;
    if (lf.lfItalic) cf.dwEffects |= CFE_ITALIC;
    if (lf.lfUnderline) cf.dwEffects |= CFE_UNDERLINE;
    cf.bCharSet = lf.lfCharSet;
    cf.bPitchAndFamily = lf.lfPitchAndFamily;
    wcsncpy(cf.szFaceName, lf.lfFaceName, LF_FACESIZE - 1);
}

void SRichEdit::BuildParaFormat()
{
    PARAFORMAT2& pf = m_pfDef;
    memset(&pf, 0, sizeof pf);
    pf.cbSize = sizeof pf;
    pf.dwMask = PFM_ALL;
    pf.cTabCount = 1;
    pf.rgxTabs[0] = 720;
    pf.wAlignment = (m_dwStyle & ES_CENTER) ? PFA_CENTER : (m_dwStyle & ES_RIGHT) ? PFA_RIGHT : PFA_LEFT;
}

// ---- geometry ----

RECT SRichEdit::GetTextRect() const
{
    RECT rc = GetClientRect();
    rc.left += m_rcInsetPx.left;
    rc.top += m_rcInsetPx.top;
    rc.right -= m_rcInsetPx.right;
    rc.bottom -= m_rcInsetPx.bottom;
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

SIZE SRichEdit::MeasureContent(const RECT* limit)
{
    SIZE size = SPanel::MeasureContent(limit);
    size.cx += m_rcInset.left + m_rcInset.right;
    size.cy += m_rcInset.top + m_rcInset.bottom;
    return size;
}

LRESULT SRichEdit::OnRENcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam)
{
    OnNcCalcSize(msg, wParam, lParam);
    const RECT client = GetClientRect();
    const int width = client.right - client.left, height = client.bottom - client.top;
    m_rcInsetPx = m_rcInset;
    if (!(m_fOptions & kOptRich) && !(m_dwStyle & ES_MULTILINE) && (m_fOptions & kOptVCenter)) {
        // Shorter than a line: the text starts at the top rather than above it.
        const int v = std::max(0, (height - m_nLineHeight) / 2);
        m_rcInsetPx.top = m_rcInsetPx.bottom = v;
    }
    m_siHoz.nPage = static_cast<UINT>(std::max(0L, width - m_rcInsetPx.left - m_rcInsetPx.right));
    m_siVer.nPage = static_cast<UINT>(std::max(0L, height - m_rcInsetPx.top - m_rcInsetPx.bottom));
    m_sizelExtent.cx = PixelsToHimetric(static_cast<int>(m_siHoz.nPage), TRUE);
    m_sizelExtent.cy = PixelsToHimetric(static_cast<int>(m_siVer.nPage), FALSE);
    ITextServices* services = GetTextServices();
    if (!services) return 0;
    TxCall call(this);
    const BOOL focused = m_pTxtHost->HasFocus();
    if (focused) ActivateUI(FALSE);
    PropertyBitsChange(TXTBIT_CLIENTRECTCHANGE | TXTBIT_EXTENTCHANGE, TRUE);
    // Some services never read the client rectangle again: activating them
    // in place once more hands it over.
    const RECT text = GetTextRect();
    if (!GetTextServices()) return 0;
    services->OnTxInPlaceActivate(&text);
    if (focused) ActivateUI(TRUE);
    // Text given before the element had a size was scrolled to keep the
    // caret in an empty view: the first real view starts at the top.
    if (!m_bSized && !::IsRectEmpty(&text)) {
        m_bSized = true;
        OnScroll(TRUE, SB_TOP, 0);
        OnScroll(FALSE, SB_LEFT, 0);
    }
    return 0;
}

// ---- creation and destruction ----

int SRichEdit::OnRECreate(LPVOID createParam)
{
    if (OnCreate(createParam)) return 1;
    BuildCharFormat(nullptr);
    BuildParaFormat();
    m_pTxtHost = new STextHost(this);
    m_pTxtHost->AddRef();
    if (!m_pTxtHost->Init()) {
        m_pTxtHost->Release();
        m_pTxtHost = nullptr;
        return 1;
    }
    ITextServices* services = m_pTxtHost->GetTextServices();
    const RECT text = GetTextRect();
    {
        TxCall call(this);
        services->OnTxInPlaceActivate(&text);
        m_pTxtHost->SetFocusFlag(FALSE);
        services->OnTxUIDeactivate();
    }
    TxSendMessage(WM_KILLFOCUS, 0, 0);
    // Some services never ask for the limit: tell them.
    TxSendMessage(EM_EXLIMITTEXT, 0, m_nMaxBuf);
    LRESULT lang = 0;
    TxSendMessage(EM_GETLANGOPTIONS, 0, 0, &lang);
    TxSendMessage(EM_SETLANGOPTIONS, 0, (lang & ~IMF_AUTOFONT) | IMF_AUTOKEYBOARD | IMF_DUALFONT);
    if (m_fOptions & kOptNotifyChange) TxSendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
    if (!m_strRtf.IsEmpty()) {
        const SStringW rtf = m_strRtf;
        m_strRtf.Empty();
        LoadRtfValue(rtf);
    } else {
        const SStringW text0 = m_strText;
        SetWindowText(text0);
    }
    UpdateDropTarget();
    return 0;
}

void SRichEdit::OnREDestroy()
{
    if (IsFocused()) KillFocus();
    if (m_dropTarget) {
        if (m_pContainer) m_pContainer->RevokeDragDrop(m_swnd);
        m_dropTarget->Release();
        m_dropTarget = nullptr;
    }
    if (m_nTxCalls > 0) m_bHostReleasePending = true;
    else ReleaseHost();
    OnDestroy();
}

void SRichEdit::UpdateDropTarget()
{
    const bool wanted = (m_fOptions & kOptDragDrop) && !IsReadOnly() && GetTextServices() && m_pContainer;
    if (wanted && !m_dropTarget) {
        auto* target = new SRicheditDropTarget(GetTextServices());
        if (m_pContainer->RegisterDragDrop(m_swnd, target)) m_dropTarget = target;
        else target->Release();
    } else if (!wanted && m_dropTarget) {
        if (m_pContainer) m_pContainer->RevokeDragDrop(m_swnd);
        m_dropTarget->Release();
        m_dropTarget = nullptr;
    }
}

// ---- painting ----

void SRichEdit::OnREPaint(IRenderTarget* rt)
{
    ITextServices* services = GetTextServices();
    if (!services || !rt) return;
    const RECT client = GetClientRect();
    rt->PushClipRect(&client, RGN_AND);
    HDC dc = rt->GetDC(0);
    if (dc) {
        const int oldMode = ::SetGraphicsMode(dc, GM_COMPATIBLE);
        const RECT text = GetTextRect();
        const RECTL bounds = {text.left, text.top, text.right, text.bottom};
        RECT update = client;
        {
            TxCall call(this);
            // GDI text leaves alpha 0 behind: what lay beneath keeps its alpha.
            DibAlphaKeeper keepAlpha(dc, client);
            services->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds, nullptr, &update, nullptr,
                             0, TXTVIEW_ACTIVE);
        }
        ::SetGraphicsMode(dc, oldMode);
        rt->ReleaseDC(dc);
    }
    rt->PopClip();
}

// ---- focus ----

void SRichEdit::ActivateUI(BOOL focus)
{
    ITextServices* services = GetTextServices();
    if (!services) return;
    TxCall call(this);
    m_pTxtHost->SetFocusFlag(focus);
    if (focus) {
        services->OnTxUIActivate();
        TxSendMessage(WM_SETFOCUS, 0, 0);
    } else {
        services->OnTxUIDeactivate();
        TxSendMessage(WM_KILLFOCUS, 0, 0);
        if (!IsDestroyed()) ShowCaret(FALSE);
    }
}

void SRichEdit::OnRESetFocus()
{
    OnSetFocus();
    if (IsDestroyed() || !GetTextServices() || !IsVisible(TRUE) || IsDisabled(TRUE)) return;
    ActivateUI(TRUE);
    if (m_fOptions & kOptAutoSel) SendSwndMessage(EM_SETSEL, 0, -1);
}

void SRichEdit::OnREKillFocus()
{
    OnKillFocus();
    if (IsDestroyed()) return;
    ActivateUI(FALSE);
}

// ---- messages ----

LRESULT SRichEdit::OnRESetText(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LPCWSTR text = reinterpret_cast<LPCWSTR>(lParam);
    const size_t length = text ? wcslen(text) : 0;
    // The limit grows to hold the whole text, and the services hear of it.
    if (length > static_cast<size_t>(m_nMaxBuf) && length <= 0x7FFFFFFF) {
        m_nMaxBuf = static_cast<int>(length);
        PropertyBitsChange(TXTBIT_MAXLENGTHCHANGE, TRUE);
        TxSendMessage(EM_EXLIMITTEXT, 0, m_nMaxBuf);
    }
    LRESULT result = 0;
    TxSendMessage(msg, wParam, lParam, &result);
    return result;
}

void SRichEdit::OnREShowWindow(BOOL show, UINT status)
{
    OnPanelShowWindow(show, status);
    if (IsVisible(TRUE) || !m_pContainer) return;
    const HWND hwnd = m_pContainer->GetHostHwnd();
    if (hwnd) ::PostMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

LRESULT SRichEdit::OnRESetFont(UINT, WPARAM wParam, LPARAM)
{
    LOGFONTW lf = {};
    const HFONT font = reinterpret_cast<HFONT>(wParam);
    if (!font || ::GetObjectW(font, sizeof lf, &lf) != sizeof lf) return 0;
    BuildCharFormat(&lf);
    PropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TRUE);
    return 0;
}

LRESULT SRichEdit::OnRESetReadOnly(UINT, WPARAM wParam, LPARAM)
{
    return SUCCEEDED(SetAttribute(L"readOnly", wParam ? L"1" : L"0", FALSE));
}

LRESULT SRichEdit::OnREKeyDown(UINT, WPARAM wParam, LPARAM)
{
    if (wParam == VK_RETURN && !(m_dwStyle & ES_WANTRETURN) && !KeyHeld(VK_CONTROL)) {
        SetMsgHandled(FALSE);  // the host may use it (a default button)
        return 0;
    }
    return ForwardCurrent();
}

LRESULT SRichEdit::OnREChar(UINT, WPARAM wParam, LPARAM)
{
    const wchar_t ch = static_cast<wchar_t>(wParam);
    if (ch == L'\t') {
        if (!(m_fOptions & kOptWantTab) && !KeyHeld(VK_CONTROL)) return 0;
    } else if (ch == L'\n' || ch == L'\r') {
        if (!KeyHeld(VK_CONTROL) && !(m_dwStyle & ES_WANTRETURN)) return 0;
    } else if ((m_dwStyle & ES_NUMBER) && ch >= L' ') {
        // Control characters (Backspace, Ctrl+C...) still edit a number field.
        if (!iswdigit(ch) && ch != L',' && ch != L'-' && ch != L'.') return 0;
    }
    return ForwardCurrent();
}

LRESULT SRichEdit::OnRETimer(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (wParam == kTimerRepaint) {
        InvalidateRect(nullptr);
        KillTimer(kTimerRepaint);
        return 0;
    }
    return OnPanelTimer(msg, wParam, lParam);
}

LRESULT SRichEdit::OnRETimer2(UINT, WPARAM wParam, LPARAM)
{
    TxSendMessage(WM_TIMER, wParam, 0);
    return 0;
}

LRESULT SRichEdit::OnREForward(UINT msg, WPARAM, LPARAM)
{
    const LRESULT result = ForwardCurrent();
    if (msg == WM_LBUTTONUP) OnPanelLButtonUp(0, WUI_MSG_POINT(GetCurMsg()->lParam));
    return result;
}

LRESULT SRichEdit::OnRELButtonDown(UINT, WPARAM, LPARAM)
{
    if (!IsFocused()) {
        SetFocus();
        if (IsDestroyed() || (m_fOptions & kOptAutoSel)) return 0;
    }
    return ForwardCurrent();
}

LRESULT SRichEdit::OnREExLimitText(UINT, WPARAM, LPARAM lParam)
{
    m_nMaxBuf = lParam > 0 && lParam <= 0x7FFFFFFF ? static_cast<int>(lParam) : kDefaultMaxBuf;
    PropertyBitsChange(TXTBIT_MAXLENGTHCHANGE, TRUE);
    // Some services never ask for the limit again.
    TxSendMessage(EM_EXLIMITTEXT, 0, m_nMaxBuf);
    return 1;
}

LRESULT SRichEdit::OnRESetCharFormat(UINT, WPARAM, LPARAM)
{
    ForwardCurrent();
    return 1;
}

LRESULT SRichEdit::OnRESetParaFormat(UINT, WPARAM, LPARAM lParam)
{
    const auto* pf = reinterpret_cast<const PARAFORMAT2*>(lParam);
    if (!pf || pf->cbSize != sizeof(PARAFORMAT2)) return 0;
    ForwardCurrent();
    return 1;
}

BOOL SRichEdit::HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == EM_GETRECT) {
        if (auto* rc = reinterpret_cast<RECT*>(lParam)) *rc = GetClientRect();
        result = 0;
        return TRUE;
    }
    return TxSendMessage(msg, wParam, lParam, &result);
}

UINT SRichEdit::GetDlgCode() const
{
    UINT code = 0x8 | 0x1;
    if (m_fOptions & kOptWantTab) code |= 0x2;
    if (m_dwStyle & ES_WANTRETURN) code |= 0x4;
    return code;
}

BOOL SRichEdit::OnSetCursor(POINT pt)
{
    const RECT client = GetClientRect();
    ITextServices* services = GetTextServices();
    if (!services || !::PtInRect(&client, pt)) return FALSE;
    const HWND hwnd = m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
    HDC dc = ::GetDC(hwnd);
    const RECT text = GetTextRect();
    TxCall call(this);
    services->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, dc, nullptr, &text, pt.x, pt.y);
    if (dc) ::ReleaseDC(hwnd, dc);
    return TRUE;
}

BOOL SRichEdit::OnScroll(BOOL vertical, UINT code, int pos)
{
    if (m_fOptions & kOptScrollGuard) return FALSE;
    m_fOptions |= kOptScrollGuard;
    SPanel::OnScroll(vertical, code, pos);
    LRESULT result = 0;
    TxSendMessage(vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), 0, &result);
    if (ITextServices* services = GetTextServices()) {
        TxCall call(this);
        LONG lo = 0, hi = 0, now = 0, page = 0;
        BOOL enabled = FALSE;
        const HRESULT hr = vertical ? services->TxGetVScroll(&lo, &hi, &now, &page, &enabled)
                                    : services->TxGetHScroll(&lo, &hi, &now, &page, &enabled);
        if (SUCCEEDED(hr) && now != GetScrollPos(vertical)) SetScrollPos(vertical, now, TRUE);
    }
    m_fOptions &= ~kOptScrollGuard;
    if (code == SB_THUMBTRACK) ThrottledUpdate();
    return result == 0;
}

// ---- notifications and the context menu ----

HRESULT SRichEdit::OnTxNotify(DWORD code, LPVOID data)
{
    EventRENotify evt(this, static_cast<int>(code), data);
    FireEvent(evt);
    return evt.hr;
}

pugi::xml_node SRichEdit::GetContextMenuXml()
{
    SRicheditMenuDef* def = SRicheditMenuDef::GetSingletonPtr();
    return def ? def->GetMenu() : pugi::xml_node();
}

void SRichEdit::GreyContextMenu(SMenu& menu)
{
    RicheditMenuState state;
    DWORD start = 0, end = 0;
    TxSendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    LRESULT canPaste = 0;
    TxSendMessage(EM_CANPASTE, 0, 0, &canPaste);
    state.hasSelection = start < end;
    state.readOnly = IsReadOnly() != FALSE;
    state.canPaste = canPaste != 0;
    state.empty = GetWindowTextLength() == 0;
    GreyRicheditMenu(menu, state);
}

UINT SRichEdit::TrackContextMenu(SMenu& menu, POINT screenPt)
{
    const HWND owner = m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
    return static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD, screenPt.x, screenPt.y, owner));
}

void SRichEdit::OnRERButtonDown(UINT, POINT pt)
{
    if (FireCtxMenu(pt.x, pt.y) || IsDestroyed()) return;
    SetFocus();
    if (IsDestroyed() || !GetTextServices() || !m_pContainer) return;
    pugi::xml_node def = GetContextMenuXml();
    if (!def) return;
    SMenu menu;
    if (!menu.LoadMenu(def)) return;
    GreyContextMenu(menu);
    const RECT origin = m_pContainer->GetContainerRect();
    POINT screen = {pt.x + origin.left, pt.y + origin.top};
    if (const HWND hwnd = m_pContainer->GetHostHwnd()) ::ClientToScreen(hwnd, &screen);
    const UINT id = TrackContextMenu(menu, screen);
    if (!IsDestroyed()) OnMenuCommand(id);
}

BOOL SRichEdit::OnMenuCommand(UINT id)
{
    EventREMenu evt(this, id);
    if (FireEvent(evt) || IsDestroyed()) return FALSE;
    switch (id) {
    case kRicheditMenuCut: return TxSendMessage(WM_CUT, 0, 0);
    case kRicheditMenuCopy: return TxSendMessage(WM_COPY, 0, 0);
    case kRicheditMenuPaste: return TxSendMessage(WM_PASTE, 0, 0);
    case kRicheditMenuDelete: return TxSendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    case kRicheditMenuSelectAll: return TxSendMessage(EM_SETSEL, 0, -1);
    default: return FALSE;
    }
}

}  // namespace WUI
