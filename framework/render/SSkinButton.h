#pragma once
// Two-colour button face with a border ("button"): four states, each filled
// from its up colour to its down colour.
#include "render/SSkinObjBase.h"

namespace WUI {

class SSkinButton : public SSkinObjBase {
    WUI_CLASS_NAME(SSkinButton, SSkinObjBase, L"button")
public:
    // Nine colours: border, then up and down of normal, hover, pushed, disabled.
    struct Colors {
        COLORREF border;
        COLORREF up[4];
        COLORREF down[4];
    };

    BOOL IgnoresState() override { return FALSE; }
    int GetStates() override { return 4; }
    void OnColorize(COLORREF color) override;

    const Colors& GetColors() const { return m_colors; }
    int GetCornerRadius() const { return m_cornerRadius; }

    WUI_ATTRS_BEGIN()
        WUI_ATTR_CUSTOM(L"colorBorder", OnAttrBorder)
        WUI_ATTR_CUSTOM(L"colorUp", OnAttrUp<0>)
        WUI_ATTR_CUSTOM(L"colorDown", OnAttrDown<0>)
        WUI_ATTR_CUSTOM(L"colorUpHover", OnAttrUp<1>)
        WUI_ATTR_CUSTOM(L"colorDownHover", OnAttrDown<1>)
        WUI_ATTR_CUSTOM(L"colorUpPush", OnAttrUp<2>)
        WUI_ATTR_CUSTOM(L"colorDownPush", OnAttrDown<2>)
        WUI_ATTR_CUSTOM(L"colorUpDisable", OnAttrUp<3>)
        WUI_ATTR_CUSTOM(L"colorDownDisable", OnAttrDown<3>)
        WUI_ATTR_INT(L"cornerRadius", m_cornerRadius, 0)
    WUI_ATTRS_END(SSkinObjBase)

protected:
    // A state above 3 draws nothing.
    void OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha) override;

private:
    HRESULT OnAttrBorder(const SStringW& value, BOOL) { return SetColor(m_colors.border, value); }
    template <int I>
    HRESULT OnAttrUp(const SStringW& value, BOOL) { return SetColor(m_colors.up[I], value); }
    template <int I>
    HRESULT OnAttrDown(const SStringW& value, BOOL) { return SetColor(m_colors.down[I], value); }
    static HRESULT SetColor(COLORREF& slot, const SStringW& value);

    // Unset colours are opaque, so a bare "button" still shows a face.
    Colors m_colors{0xFF707070,
                    {0xFFEEEEEE, 0xFFEEEEEE, 0xFFCECECE, 0xFF8E8E8E},
                    {0xFFD6D6D6, 0xFFE0E0E0, 0xFFC0C0C0, 0xFF808080}};
    Colors m_backup{};
    int m_cornerRadius = 2;
};

}  // namespace WUI
