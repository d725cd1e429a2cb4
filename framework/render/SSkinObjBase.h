#pragma once
// Common part of every skin: alpha, colourise value and flag, and drawing
// through the per-class OnDraw.
#include "render/ISkinObj.h"

namespace WUI {

class SSkinObjBase : public TObjRefImpl<ISkinObj> {
public:
    void Draw(IRenderTarget* rt, const RECT* rect, DWORD state) override { DrawWithAlpha(rt, rect, state, GetAlpha()); }
    // Nothing without a target or rectangle.
    void DrawWithAlpha(IRenderTarget* rt, const RECT* rect, DWORD state, BYTE alpha) override
    {
        if (rt && rect) OnDraw(rt, *rect, state, alpha);
    }
    SIZE GetSkinSize() override { return SIZE{0, 0}; }
    BOOL IgnoresState() override { return TRUE; }
    int GetStates() override { return 1; }
    BYTE GetAlpha() const override { return m_alpha; }
    void SetAlpha(BYTE alpha) override { m_alpha = alpha; }
    void OnColorize(COLORREF color) override { (void)color; }

    COLORREF GetColorizeValue() const { return m_colorize; }
    bool IsColorizeEnabled() const { return m_enableColorize != 0; }

    WUI_ATTRS_BEGIN()
        WUI_ATTR_CUSTOM(L"alpha", OnAttrAlpha)
        WUI_ATTR_INT(L"enableColorize", m_enableColorize, 0)
    WUI_ATTRS_END(ISkinObj)

protected:
    virtual void OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha) = 0;
    // The colour with its alpha byte scaled by alpha (kept at 255).
    static COLORREF ScaleAlpha(COLORREF color, BYTE alpha);
    // Colour literal into out; E_FAIL (out kept) for an empty or bad value.
    static HRESULT ParseColor(const SStringW& value, COLORREF& out);
    // Decimal or "0x" hexadecimal; false for no number.
    static bool ParseInt(const SStringW& value, int& out);

    COLORREF m_colorize = 0;
    int m_enableColorize = 1;

private:
    HRESULT OnAttrAlpha(const SStringW& value, BOOL loading);

    BYTE m_alpha = 255;
};

}  // namespace WUI
