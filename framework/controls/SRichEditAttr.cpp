// The rich edit's attributes: its own, then the edit-style flags. Before
// creation they change only the element's bits (the services read them when
// made); afterwards the services are told.
#include "controls/SRichEdit.h"

#include "controls/ControlAttr.h"
#include "core/AttrParse.h"

#include <climits>
#include <cwchar>

namespace WUI {

namespace {

const int kMaxInset = 4096;

// Flag attributes of the rich edit: any value but exactly "0" is on.
bool FlagValue(const SStringW& value)
{
    return wcscmp(value, L"0") != 0;
}

// Option bits taken from an integer's lowest bit, and what the services hear.
struct OptionAttr {
    LPCWSTR name;
    DWORD bit;
    DWORD txtBit;  // 0: nothing to tell
};
const OptionAttr kOptionAttrs[] = {
    {L"transparent", SRichEdit::kOptTransparent, 0},
    {L"rich", SRichEdit::kOptRich, TXTBIT_RICHTEXT},
    {L"vertical", SRichEdit::kOptVertical, TXTBIT_VERTICAL},
    {L"wordWrap", SRichEdit::kOptWordWrap, TXTBIT_WORDWRAP},
    {L"allowBeep", SRichEdit::kOptAllowBeep, TXTBIT_ALLOWBEEP},
    {L"vcenter", SRichEdit::kOptVCenter, 0},
    {L"autoWordSel", SRichEdit::kOptAutoWordSel, TXTBIT_AUTOWORDSEL},
};

// Edit-style flags: the bit, in the style word or the options, and what the services hear.
enum class Told { Nothing, ScrollBars, Bit, DropTarget, ReadOnly };
struct StyleAttr {
    LPCWSTR name;
    DWORD bit;
    bool option;
    Told told;
    DWORD txtBit;
};
const StyleAttr kStyleAttrs[] = {
    {L"hscrollBar", WS_HSCROLL, false, Told::ScrollBars, 0},
    {L"vscrollBar", WS_VSCROLL, false, Told::ScrollBars, 0},
    {L"autoHscroll", ES_AUTOHSCROLL, false, Told::ScrollBars, 0},
    {L"autoVscroll", ES_AUTOVSCROLL, false, Told::ScrollBars, 0},
    {L"multiLines", ES_MULTILINE, false, Told::Bit, TXTBIT_MULTILINE},
    {L"readOnly", ES_READONLY, false, Told::ReadOnly, TXTBIT_READONLY},
    {L"wantReturn", ES_WANTRETURN, false, Told::Nothing, 0},
    {L"password", ES_PASSWORD, false, Told::Bit, TXTBIT_USEPASSWORD},
    {L"number", ES_NUMBER, false, Told::Nothing, 0},
    {L"enableDragdrop", SRichEdit::kOptDragDrop, true, Told::DropTarget, 0},
    {L"autoSel", SRichEdit::kOptAutoSel, true, Told::Nothing, 0},
};

}  // namespace

HRESULT SRichEdit::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr = S_FALSE;
    if (_wcsicmp(name, L"style") == 0) {
        int n = 0;
        if (!AttrParseInt(value, n)) return E_FAIL;
        m_dwStyle = static_cast<DWORD>(n);
    } else if (_wcsicmp(name, L"maxBuf") == 0) {
        int n = 0;
        if (!AttrParseInt(value, n, true, 0, INT_MAX)) return E_FAIL;
        if (loading || !GetTextServices()) m_nMaxBuf = n ? n : kDefaultMaxBuf;
        else SetLimitText(n);
    } else if (_wcsicmp(name, L"inset") == 0) {
        int v[4] = {0, 0, 0, 0};
        if (AttrParseIntList(value, v, 4, 0, kMaxInset) != 4) return E_FAIL;
        m_rcInset = RECT{v[0], v[1], v[2], v[3]};
        if (!loading) SendSwndMessage(WM_NCCALCSIZE);
        hr = S_OK;
    } else if (_wcsicmp(name, L"colorText") == 0) {
        hr = SPanel::SetAttribute(name, value, loading);
        if (SUCCEEDED(hr) && !loading) SetDefaultTextColor(m_style.GetTextColor(0));
        return hr;
    } else if (_wcsicmp(name, L"rtf") == 0) {
        if (loading || !GetTextServices()) m_strRtf = value;
        else hr = LoadRtfValue(value);
    } else if (_wcsicmp(name, L"align") == 0) {
        m_dwStyle &= ~(ES_CENTER | ES_RIGHT);
        if (wcscmp(value, L"center") == 0) m_dwStyle |= ES_CENTER;
        else if (wcscmp(value, L"right") == 0) m_dwStyle |= ES_RIGHT;
        if (loading) return S_FALSE;
        SetDefaultAlign((m_dwStyle & ES_CENTER) ? PFA_CENTER : (m_dwStyle & ES_RIGHT) ? PFA_RIGHT : PFA_LEFT);
        return AfterSetAttribute(name, value, S_OK);
    } else if (_wcsicmp(name, L"notifyChange") == 0) {
        const bool on = FlagValue(value);
        if (on) m_fOptions |= kOptNotifyChange;
        else m_fOptions &= ~kOptNotifyChange;
        if (!loading && GetTextServices()) {
            LRESULT mask = 0;
            TxSendMessage(EM_GETEVENTMASK, 0, 0, &mask);
            TxSendMessage(EM_SETEVENTMASK, 0, on ? (mask | ENM_CHANGE) : (mask & ~ENM_CHANGE));
        }
    } else if (_wcsicmp(name, L"passwordChar") == 0) {
        if (value.IsEmpty()) return E_FAIL;
        m_chPassword = value.GetAt(0);
    } else {
        for (const OptionAttr& attr : kOptionAttrs) {
            if (_wcsicmp(name, attr.name) != 0) continue;
            int n = 0;
            if (!AttrParseInt(value, n)) return E_FAIL;
            if (n & 1) m_fOptions |= attr.bit;
            else m_fOptions &= ~attr.bit;
            if (!loading && attr.txtBit) PropertyBitsChange(attr.txtBit, (n & 1) != 0);
            if (!loading && attr.bit == kOptVCenter) SendSwndMessage(WM_NCCALCSIZE);
            return AfterSetAttribute(name, value, loading ? S_FALSE : S_OK);
        }
        return OnUnknownAttribute(name, value, loading);
    }
    return AfterSetAttribute(name, value, hr);
}

HRESULT SRichEdit::OnUnknownAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    for (const StyleAttr& attr : kStyleAttrs) {
        if (_wcsicmp(name, attr.name) != 0) continue;
        DWORD& word = attr.option ? m_fOptions : m_dwStyle;
        const bool on = FlagValue(value);
        if (on) word |= attr.bit;
        else word &= ~attr.bit;
        if (loading || !GetTextServices()) return S_FALSE;
        switch (attr.told) {
        case Told::ScrollBars: PropertyBitsChange(TXTBIT_SCROLLBARCHANGE, TRUE); break;
        case Told::Bit: PropertyBitsChange(attr.txtBit, on); break;
        case Told::ReadOnly:
            UpdateDropTarget();
            PropertyBitsChange(TXTBIT_READONLY, on);
            break;
        case Told::DropTarget: UpdateDropTarget(); break;
        case Told::Nothing: break;
        }
        return AfterSetAttribute(name, value, S_OK);
    }
    return SPanel::SetAttribute(name, value, loading);
}

}  // namespace WUI
