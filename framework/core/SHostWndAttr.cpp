#include "core/SHostWndAttr.h"

#include "core/AttrParse.h"
#include "core/SApplication.h"

#include <cwchar>

namespace WUI {

namespace {

// Window sizes beyond this are refused: the window's off-screen image is this big.
const int kMaxWindowSize = 0x7FFF;

// Decimal; text that is no number reads 0.
int DecimalOrZero(const SStringW& value)
{
    return static_cast<int>(wcstol(value.c_str(), nullptr, 10));
}

bool ParseList(const SStringW& value, int* out, int count, int low, int high)
{
    int parsed[4];
    if (AttrParseIntList(value, parsed, count, low, high) != count) return false;
    for (int i = 0; i < count; ++i) out[i] = parsed[i];
    return true;
}

bool ParseRect(const SStringW& value, RECT& rc)
{
    int v[4];
    if (!ParseList(value, v, 4, -kMaxWindowSize, kMaxWindowSize)) return false;
    rc = RECT{v[0], v[1], v[2], v[3]};
    return true;
}

bool ParseSize(const SStringW& value, SIZE& size)
{
    int v[2];
    if (!ParseList(value, v, 2, 0, kMaxWindowSize)) return false;
    size = SIZE{v[0], v[1]};
    return true;
}

// Styles are 32-bit patterns: the top bit (WS_POPUP) must not saturate.
HRESULT ParseStyle(const SStringW& value, DWORD& style)
{
    UINT parsed;
    if (!AttrParseUInt(value, parsed)) return E_FAIL;
    style = parsed;
    return S_FALSE;
}

// A byte written in decimal; a value beyond a byte is refused, not cut.
HRESULT ParseByte(const SStringW& value, BYTE& out)
{
    int parsed;
    if (!AttrParseInt(value.c_str(), parsed, false, 0, 255)) return E_FAIL;
    out = static_cast<BYTE>(parsed);
    return S_FALSE;
}

int ClampSize(int v)
{
    return v < 0 ? 0 : (v > kMaxWindowSize ? kMaxWindowSize : v);
}

}  // namespace

SHostWndAttr::~SHostWndAttr()
{
    DestroyIcons();
}

void SHostWndAttr::DestroyIcons()
{
    if (m_hAppIconSmall) ::DestroyIcon(m_hAppIconSmall);
    if (m_hAppIconBig) ::DestroyIcon(m_hAppIconBig);
    m_hAppIconSmall = m_hAppIconBig = nullptr;
}

void SHostWndAttr::Reset()
{
    DestroyIcons();
    m_strTrCtx.Empty();
    m_strTitle.Empty();
    m_size = SIZE{640, 480};
    m_rcMargin = RECT{0, 0, 0, 0};
    m_szMin = SIZE{200, 200};
    m_rcMaxInset = RECT{0, 0, 0, 0};
    m_dwStyle = m_dwExStyle = 0;
    m_bResizable = m_bAppWnd = m_bToolWnd = m_bTranslucent = m_bSendWheel2Hover = FALSE;
    m_bAllowSpy = TRUE;
    m_byAlpha = 255;
    m_byWndType = kWndTypeUndefine;
}

SStringW SHostWndAttr::TranslateText(const SStringW& text)
{
    SApplication* app = SApplication::GetSingletonPtr();
    ITranslatorMgr* translator = app ? app->GetTranslator() : nullptr;
    return translator ? translator->Translate(text, m_strTrCtx) : text;
}

HRESULT SHostWndAttr::SetIcon(HICON& icon, const SStringW& spec)
{
    SApplication* app = SApplication::GetSingletonPtr();
    if (icon) ::DestroyIcon(icon);
    icon = app ? app->LoadIconById(spec) : nullptr;
    return S_FALSE;
}

HRESULT SHostWndAttr::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    LPCWSTR n = name.c_str();
    const int number = DecimalOrZero(value);
    SApplication* app = SApplication::GetSingletonPtr();
    if (_wcsicmp(n, L"trCtx") == 0) {
        m_strTrCtx = app ? app->GetString(value) : value;
    } else if (_wcsicmp(n, L"title") == 0) {
        m_strTitle = TranslateText(app ? app->GetString(value) : value);
    } else if (_wcsicmp(n, L"size") == 0) {
        if (!ParseSize(value, m_size)) return E_FAIL;
    } else if (_wcsicmp(n, L"width") == 0) {
        m_size.cx = ClampSize(number);
    } else if (_wcsicmp(n, L"height") == 0) {
        m_size.cy = ClampSize(number);
    } else if (_wcsicmp(n, L"margin") == 0) {
        if (!ParseRect(value, m_rcMargin)) return E_FAIL;
    } else if (_wcsicmp(n, L"minsize") == 0) {
        if (!ParseSize(value, m_szMin)) return E_FAIL;
    } else if (_wcsicmp(n, L"maxInset") == 0) {
        if (!ParseRect(value, m_rcMaxInset)) return E_FAIL;
    } else if (_wcsicmp(n, L"wndStyle") == 0) {
        return ParseStyle(value, m_dwStyle);
    } else if (_wcsicmp(n, L"wndStyleEx") == 0) {
        return ParseStyle(value, m_dwExStyle);
    } else if (_wcsicmp(n, L"resizable") == 0) {
        m_bResizable = number != 0;
    } else if (_wcsicmp(n, L"appWnd") == 0) {
        m_bAppWnd = number != 0;
    } else if (_wcsicmp(n, L"toolWindow") == 0) {
        m_bToolWnd = number != 0;
    } else if (_wcsicmp(n, L"translucent") == 0) {
        m_bTranslucent = number != 0;
    } else if (_wcsicmp(n, L"allowSpy") == 0) {
        m_bAllowSpy = number != 0;
    } else if (_wcsicmp(n, L"sendWheel2Hover") == 0) {
        m_bSendWheel2Hover = number != 0;
    } else if (_wcsicmp(n, L"alpha") == 0) {
        return ParseByte(value, m_byAlpha);
    } else if (_wcsicmp(n, L"appMainWnd") == 0) {
        return ParseByte(value, m_byWndType);
    } else if (_wcsicmp(n, L"wndType") == 0) {
        if (value == L"undefine") m_byWndType = kWndTypeUndefine;
        else if (value == L"appMain") m_byWndType = kWndTypeAppMain;
        else if (value == L"normal") m_byWndType = kWndTypeNormal;
        else return E_FAIL;
    } else if (_wcsicmp(n, L"smallIcon") == 0) {
        return SetIcon(m_hAppIconSmall, value);
    } else if (_wcsicmp(n, L"bigIcon") == 0) {
        return SetIcon(m_hAppIconBig, value);
    } else {
        return SObject::SetAttribute(name, value, loading);
    }
    return S_FALSE;
}

}  // namespace WUI
