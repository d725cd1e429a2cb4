#pragma once
// Flat colour per state, optionally with round corners ("colorrect").
#include "render/SSkinObjBase.h"

namespace WUI {

class SSkinColorRect : public SSkinObjBase {
    WUI_CLASS_NAME(SSkinColorRect, SSkinObjBase, L"colorrect")
public:
    // Index of the last state that has a colour, plus one; 0 when none has.
    int GetStates() override;
    BOOL IgnoresState() override { return GetStates() < 2; }

    WUI_ATTRS_BEGIN()
        WUI_ATTR_CUSTOM(L"normal", OnAttrColor<0>)
        WUI_ATTR_CUSTOM(L"hover", OnAttrColor<1>)
        WUI_ATTR_CUSTOM(L"pushdown", OnAttrColor<2>)
        WUI_ATTR_CUSTOM(L"disable", OnAttrColor<3>)
        WUI_ATTR_INT(L"cornerRadius", m_cornerRadius, 1)
    WUI_ATTRS_END(SSkinObjBase)

protected:
    // A state above 3 draws nothing; a state without colour takes the normal one.
    void OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha) override;

private:
    template <int I>
    HRESULT OnAttrColor(const SStringW& value, BOOL) { return SUCCEEDED(ParseColor(value, m_colors[I])) ? 1 : E_FAIL; }

    COLORREF m_colors[4] = {0xFFFFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF};
    int m_cornerRadius = 0;
};

}  // namespace WUI
