#include "render/SSkinObjBase.h"

#include "core/SNamedValue.h"

namespace WUI {

COLORREF SSkinObjBase::ScaleAlpha(COLORREF color, BYTE alpha)
{
    if (alpha == 255) return color;
    DWORD a = ((color >> 24) * alpha) >> 8;
    return (color & 0x00FFFFFF) | (a << 24);
}

HRESULT SSkinObjBase::ParseColor(const SStringW& value, COLORREF& out)
{
    COLORREF parsed = 0;
    if (value.IsEmpty() || !SColorParser::Parse(value, parsed)) return E_FAIL;
    out = parsed;
    return S_OK;
}

bool SSkinObjBase::ParseInt(const SStringW& value, int& out)
{
    int parsed = 0;
    if (!StrToIntExW(value, STIF_SUPPORT_HEX, &parsed)) return false;
    out = parsed;
    return true;
}

HRESULT SSkinObjBase::OnAttrAlpha(const SStringW& value, BOOL loading)
{
    (void)loading;
    int n = 0;
    if (!ParseInt(value, n)) return E_FAIL;
    m_alpha = BYTE(n & 0xFF);
    return 0;
}

}  // namespace WUI
