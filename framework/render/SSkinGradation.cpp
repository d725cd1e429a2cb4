#include "render/SSkinGradation.h"

#include "render/BitmapColor.h"

namespace WUI {

void SSkinGradation::OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha)
{
    (void)state;
    rt->GradientFill(&rect, m_vertical != 0, m_from, m_to, alpha);
}

void SSkinGradation::OnColorize(COLORREF color)
{
    if (!m_enableColorize || color == m_colorize) return;
    if (m_colorize) {
        m_from = m_backupFrom;
        m_to = m_backupTo;
    } else {
        m_backupFrom = m_from;
        m_backupTo = m_to;
    }
    m_colorize = color;
    // Colour 0 means "not colourised": the restored colours stay.
    if (!color) return;
    ColorizeColor(m_from, color);
    ColorizeColor(m_to, color);
}

}  // namespace WUI
