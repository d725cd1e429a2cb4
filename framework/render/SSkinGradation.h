#pragma once
// Two-colour gradient ("gradation"), vertical by default; one state.
#include "render/SSkinObjBase.h"

namespace WUI {

class SSkinGradation : public SSkinObjBase {
    WUI_CLASS_NAME(SSkinGradation, SSkinObjBase, L"gradation")
public:
    void OnColorize(COLORREF color) override;
    COLORREF GetColorFrom() const { return m_from; }
    COLORREF GetColorTo() const { return m_to; }

    WUI_ATTRS_BEGIN()
        WUI_ATTR_CUSTOM(L"colorFrom", OnAttrFrom)
        WUI_ATTR_CUSTOM(L"colorTo", OnAttrTo)
        WUI_ATTR_INT(L"vertical", m_vertical, 0)
    WUI_ATTRS_END(SSkinObjBase)

protected:
    void OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha) override;

private:
    HRESULT OnAttrFrom(const SStringW& value, BOOL) { return SUCCEEDED(ParseColor(value, m_from)) ? 0 : E_FAIL; }
    HRESULT OnAttrTo(const SStringW& value, BOOL) { return SUCCEEDED(ParseColor(value, m_to)) ? 0 : E_FAIL; }

    COLORREF m_from = 0x00FFFFFF;
    COLORREF m_to = 0x00FFFFFF;
    int m_vertical = 1;
    COLORREF m_backupFrom = 0, m_backupTo = 0;
};

}  // namespace WUI
