#include "core/SwndStyle.h"

#include "core/AttrParse.h"
#include "core/SApplication.h"
#include "render/SFontPool.h"

namespace WUI {

namespace {

// Margins and padding: wide enough for any window, never near overflow.
const int kMaxInset = 0x7FFF;

// Result of a band attribute: no redraw while loading.
HRESULT LoadingResult(BOOL loading)
{
    return loading ? S_FALSE : S_OK;
}

}  // namespace

bool ParseColorAttr(const SStringW& value, COLORREF& out)
{
    if (value.IsEmpty()) return false;
    if (wcsncmp(value, L"@color/", 7) == 0) {
        SApplication* app = SApplication::GetSingletonPtr();
        out = app ? app->GetColor(value) : kColorNone;
        return true;
    }
    COLORREF parsed;
    if (!SColorParser::Parse(value, parsed)) return false;
    out = parsed;
    return true;
}

HRESULT SwndStyle::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    typedef HRESULT (SwndStyle::*Handler)(const SStringW&, BOOL);
    static const struct {
        LPCWSTR name;
        Handler handler;
    } attrs[] = {
        {L"textMode", &SwndStyle::OnAttrTextMode},
        {L"align", &SwndStyle::OnAttrAlign},
        {L"valign", &SwndStyle::OnAttrVAlign},
        {L"colorBkgnd", &SwndStyle::OnAttrColorBkgnd},
        {L"colorBorder", &SwndStyle::OnAttrColorBorder},
        {L"font", &SwndStyle::OnAttrFont<0>},
        {L"fontHover", &SwndStyle::OnAttrFont<1>},
        {L"fontPush", &SwndStyle::OnAttrFont<2>},
        {L"fontDisable", &SwndStyle::OnAttrFont<3>},
        {L"colorText", &SwndStyle::OnAttrColorText<0>},
        {L"colorTextHover", &SwndStyle::OnAttrColorText<1>},
        {L"colorTextPush", &SwndStyle::OnAttrColorText<2>},
        {L"colorTextDisable", &SwndStyle::OnAttrColorText<3>},
        {L"margin-x", &SwndStyle::OnAttrMarginX},
        {L"margin-y", &SwndStyle::OnAttrMarginY},
        {L"margin", &SwndStyle::OnAttrMargin},
        {L"inset", &SwndStyle::OnAttrPadding},
        {L"padding", &SwndStyle::OnAttrPadding},
        {L"cursor", &SwndStyle::OnAttrCursor},
        {L"dotted", &SwndStyle::OnAttrFlag<kDotted>},
        {L"trackMouseEvent", &SwndStyle::OnAttrFlag<kTrackMouseEvent>},
        {L"alpha", &SwndStyle::OnAttrAlpha},
        {L"bkgndBlend", &SwndStyle::OnAttrFlag<kBkgndBlend>},
        {L"sepSpace", &SwndStyle::OnAttrSepSpace},
    };
    for (const auto& attr : attrs)
        if (_wcsicmp(name, attr.name) == 0) return (this->*attr.handler)(value, loading);
    return E_NOTIMPL;
}

HRESULT SwndStyle::OnAttrTextMode(const SStringW& value, BOOL)
{
    int mode;
    if (!AttrParseInt(value, mode)) return E_FAIL;
    m_nTextMode = static_cast<UINT>(mode);
    return S_OK;
}

namespace {

struct AlignWord {
    LPCWSTR word;
    UINT value;
};

// The value of one of three words, compared with regard to case.
HRESULT SetFromWords(const SStringW& value, const AlignWord (&words)[3], UINT& out)
{
    for (const AlignWord& w : words) {
        if (value != w.word) continue;
        out = w.value;
        return S_OK;
    }
    return E_FAIL;
}

}  // namespace

HRESULT SwndStyle::OnAttrAlign(const SStringW& value, BOOL)
{
    static const AlignWord words[3] = {{L"left", 0}, {L"center", 256}, {L"right", 512}};
    return SetFromWords(value, words, m_nTextAlign);
}

HRESULT SwndStyle::OnAttrVAlign(const SStringW& value, BOOL)
{
    static const AlignWord words[3] = {{L"top", 0}, {L"middle", 4096}, {L"bottom", 8192}};
    return SetFromWords(value, words, m_nVAlign);
}

HRESULT SwndStyle::OnAttrColorBkgnd(const SStringW& value, BOOL)
{
    return ParseColorAttr(value, m_crBg) ? S_OK : E_FAIL;
}

HRESULT SwndStyle::OnAttrColorBorder(const SStringW& value, BOOL)
{
    return ParseColorAttr(value, m_crBorder) ? S_OK : E_FAIL;
}

template <int state>
HRESULT SwndStyle::OnAttrFont(const SStringW& value, BOOL)
{
    SFontPool* pool = SFontPool::GetSingletonPtr();
    if (!pool) return E_FAIL;
    m_ftText[state] = pool->GetFontByDescription(value);
    return S_OK;
}

template <int state>
HRESULT SwndStyle::OnAttrColorText(const SStringW& value, BOOL)
{
    return ParseColorAttr(value, m_crText[state]) ? S_OK : E_FAIL;
}

HRESULT SwndStyle::OnAttrMarginX(const SStringW& value, BOOL loading)
{
    int n;
    if (!AttrParseInt(value, n, false, -kMaxInset, kMaxInset)) return E_FAIL;
    m_rcMargin.left = m_rcMargin.right = n;
    return LoadingResult(loading);
}

HRESULT SwndStyle::OnAttrMarginY(const SStringW& value, BOOL loading)
{
    int n;
    if (!AttrParseInt(value, n, false, -kMaxInset, kMaxInset)) return E_FAIL;
    m_rcMargin.top = m_rcMargin.bottom = n;
    return LoadingResult(loading);
}

HRESULT SwndStyle::OnAttrMargin(const SStringW& value, BOOL loading)
{
    int n[4];
    switch (AttrParseIntList(value, n, 4, -kMaxInset, kMaxInset)) {
    case 1: m_rcMargin = RECT{n[0], n[0], n[0], n[0]}; break;
    case 2: m_rcMargin = RECT{n[0], n[1], n[0], n[1]}; break;
    case 4: m_rcMargin = RECT{n[0], n[1], n[2], n[3]}; break;
    default: return E_FAIL;  // three numbers say nothing clear either
    }
    return LoadingResult(loading);
}

HRESULT SwndStyle::OnAttrPadding(const SStringW& value, BOOL)
{
    int n[4];
    int count = AttrParseIntList(value, n, 4, -kMaxInset, kMaxInset);
    if (count < 1) return E_FAIL;
    LONG* sides[4] = {&m_rcInset.left, &m_rcInset.top, &m_rcInset.right, &m_rcInset.bottom};
    for (int i = 0; i < count; ++i) *sides[i] = n[i];
    return S_OK;
}

HRESULT SwndStyle::OnAttrCursor(const SStringW& value, BOOL)
{
    SApplication* app = SApplication::GetSingletonPtr();
    m_strCursor = app ? app->GetString(value) : value;
    return S_FALSE;
}

template <DWORD bit>
HRESULT SwndStyle::OnAttrFlag(const SStringW& value, BOOL)
{
    int n;
    if (!AttrParseInt(value, n)) return E_FAIL;
    m_flags = (n & 1) ? (m_flags | bit) : (m_flags & ~bit);
    // Background blending changes how the element repaints: redraw.
    return bit == kBkgndBlend ? S_OK : S_FALSE;
}

// An alpha outside a byte is refused rather than wrapped (256 would read as 0).
HRESULT SwndStyle::OnAttrAlpha(const SStringW& value, BOOL)
{
    int n;
    if (!AttrParseInt(value, n, true, 0, 255)) return E_FAIL;
    m_byAlpha = static_cast<BYTE>(n);
    return S_OK;
}

HRESULT SwndStyle::OnAttrSepSpace(const SStringW& value, BOOL)
{
    int n;
    if (!AttrParseInt(value, n, true, 0, 255)) return E_FAIL;
    m_bySepSpace = static_cast<BYTE>(n);
    return S_OK;
}

UINT SwndStyle::GetTextAlign() const
{
    if (m_nTextMode) return m_nTextMode;
    UINT format = 0;
    if (m_nTextAlign == 256) format |= DT_CENTER;
    else if (m_nTextAlign == 512) format |= DT_RIGHT;
    if (m_nVAlign == 4096) format |= DT_VCENTER | DT_SINGLELINE;
    else if (m_nVAlign == 8192) format |= DT_BOTTOM | DT_SINGLELINE;
    if (IsDotted()) format |= DT_END_ELLIPSIS;
    return format;
}

COLORREF SwndStyle::GetTextColor(int state) const
{
    if (state < 0 || state >= kStyleStates || m_crText[state] == kColorNone) return m_crText[0];
    return m_crText[state];
}

IFont* SwndStyle::GetTextFont(int state) const
{
    if (state < 0 || state >= kStyleStates || !m_ftText[state]) return m_ftText[0];
    return m_ftText[state];
}

int SwndStyle::GetStates() const
{
    int colors = 1, fonts = 1;
    for (int i = 1; i < kStyleStates; ++i) {
        colors += m_crText[i] != kColorNone;
        fonts += m_ftText[i] != nullptr;
    }
    return colors > fonts ? colors : fonts;
}

}  // namespace WUI
