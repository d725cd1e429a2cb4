#include "render/SSkinButton.h"

#include "render/BitmapColor.h"
#include "render/GdiHandles.h"

namespace WUI {

HRESULT SSkinButton::SetColor(COLORREF& slot, const SStringW& value)
{
    return SUCCEEDED(ParseColor(value, slot)) ? 0 : E_FAIL;
}

void SSkinButton::OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha)
{
    if (state > 3) return;
    bool clipped = false;
    if (m_cornerRadius > 2) {
        IRegion* made = nullptr;
        if (rt->GetRenderFactory()) rt->GetRenderFactory()->CreateRegion(&made);
        SAutoRefPtr<IRegion> region;
        region.Attach(made);
        GdiObject<HRGN> round(CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1,
                                                 2 * m_cornerRadius, 2 * m_cornerRadius));
        if (region && round) {
            region->CopyFromHandle(round.Get());
            clipped = SUCCEEDED(rt->PushClipRegion(region.get(), RGN_AND));
        }
    }
    COLORREF up = m_colors.up[state], down = m_colors.down[state];
    if (up == down) {
        rt->FillSolidRect(&rect, ScaleAlpha(up, alpha));
    } else {
        RECT inner = rect;
        InflateRect(&inner, -1, -1);
        rt->GradientFill(&inner, TRUE, up, down, alpha);
    }
    IPen* made = nullptr;
    rt->CreatePen(PS_SOLID, ScaleAlpha(m_colors.border, alpha), 1, &made);
    SAutoRefPtr<IPen> pen;
    pen.Attach(made);
    if (pen) {
        IRenderObj* old = nullptr;
        rt->SelectObject(pen.get(), &old);
        rt->DrawRoundRect(&rect, POINT{m_cornerRadius, m_cornerRadius});
        if (old) {
            rt->SelectObject(old, nullptr);
            old->Release();  // SelectObject handed us the target's reference
        }
    }
    if (clipped) rt->PopClip();
}

void SSkinButton::OnColorize(COLORREF color)
{
    if (!m_enableColorize || color == m_colorize) return;
    if (m_colorize) m_colors = m_backup;
    else m_backup = m_colors;
    m_colorize = color;
    if (!color) return;
    ColorizeColor(m_colors.border, color);
    for (int i = 0; i < 4; ++i) {
        ColorizeColor(m_colors.up[i], color);
        ColorizeColor(m_colors.down[i], color);
    }
}

}  // namespace WUI
