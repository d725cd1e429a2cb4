#include "render/SSkinColorRect.h"

namespace WUI {

namespace {
const COLORREF kNoColor = 0x00FFFFFF;
}

int SSkinColorRect::GetStates()
{
    int n = 4;
    while (n > 0 && m_colors[n - 1] == kNoColor) --n;
    return n;
}

void SSkinColorRect::OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha)
{
    if (state > 3) return;
    COLORREF color = m_colors[state] == kNoColor ? m_colors[0] : m_colors[state];
    color = ScaleAlpha(color, alpha);
    if (m_cornerRadius == 0) {
        rt->FillSolidRect(&rect, color);
        return;
    }
    // A brush and FillRoundRect: the solid round fill outlines with whatever pen
    // the target's buffer holds, which would ring the rectangle in black.
    IBrush* made = nullptr;
    rt->CreateSolidColorBrush(color, &made);
    SAutoRefPtr<IBrush> brush;
    brush.Attach(made);
    if (!brush) return;
    IRenderObj* old = nullptr;
    rt->SelectObject(brush.get(), &old);
    rt->FillRoundRect(&rect, POINT{m_cornerRadius, m_cornerRadius});
    if (old) {
        rt->SelectObject(old, nullptr);
        old->Release();  // SelectObject handed us the target's reference
    }
}

}  // namespace WUI
