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
    if (m_cornerRadius == 0) rt->FillSolidRect(&rect, color);
    else rt->FillSolidRoundRect(&rect, POINT{m_cornerRadius, m_cornerRadius}, color);
}

}  // namespace WUI
