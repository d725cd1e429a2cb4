#include "render/SSkinScrollbar.h"

namespace WUI {

int SSkinScrollbar::GetIdealSize()
{
    return m_image ? int(m_image->Width()) / 9 : 0;
}

RECT SSkinScrollbar::GetPartRect(int part, int state, bool vertical)
{
    const int c = GetSkinSize().cx / 9;
    if (part == kSbPartCorner) return RECT{8 * c, 0, 9 * c, c};
    int column, row;
    if (part == kSbPartGripper) {
        column = 8;
        row = vertical ? 1 : 2;
    } else {
        int base;
        switch (part) {
            case SB_LINEUP: base = 0; break;
            case SB_LINEDOWN: base = 1; break;
            case SB_PAGEUP:
            case SB_PAGEDOWN: base = 3; break;
            case SB_THUMBTRACK: base = 2; break;
            default: return RECT{0, 0, 0, 0};
        }
        column = vertical ? base : base + 4;
        row = RowOf(state);
    }
    return RECT{column * c, row * c, column * c + c, row * c + c};
}

void SSkinScrollbar::OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha)
{
    if (!m_image) return;
    const int part = int(state & 0xFFFF);
    const int partState = int((state >> 16) & 0xFF);
    const bool vertical = (state >> 24) != 0;
    RECT margins = vertical ? RECT{0, m_margin, 0, m_margin} : RECT{m_margin, 0, m_margin, 0};
    const UINT mode = m_tile ? kExpandTile : kExpandStretch;
    RECT src = GetPartRect(part, partState, vertical);
    if (IsRectEmpty(&src)) return;
    rt->DrawBitmap9Patch(&rect, m_image.get(), &src, &margins, mode, alpha);
    if (part != SB_THUMBTRACK || !m_hasGripper) return;
    RECT cell = GetPartRect(kSbPartGripper, 0, vertical);
    RECT grip = rect;
    if (vertical) {
        const int len = cell.bottom - cell.top;
        grip.top = rect.top + (rect.bottom - rect.top - len) / 2;
        grip.bottom = grip.top + len;
    } else {
        const int len = cell.right - cell.left;
        grip.left = rect.left + (rect.right - rect.left - len) / 2;
        grip.right = grip.left + len;
    }
    rt->DrawBitmap9Patch(&grip, m_image.get(), &cell, &margins, mode, alpha);
}

int SSkinVScrollbar::GetIdealSize()
{
    return m_image ? int(m_image->Width()) / m_states : 0;
}

RECT SSkinVScrollbar::GetPartRect(int part, int state, bool vertical)
{
    if (!vertical || !m_image || (part >= SB_LINEUP && part <= SB_PAGEDOWN) || part == kSbPartCorner ||
        part == kSbPartGripper)
        return RECT{0, 0, 0, 0};
    const int w = int(m_image->Width()) / m_states;
    const int x = RowOf(state) * w;
    return RECT{x, 0, x + w, int(m_image->Height())};
}

}  // namespace WUI
