// Painting of the tab strip: spacers between tabs, each tab's skin, icon and
// title, the frame around the page area and the focus rectangle.
#include "controls/STabCtrl.h"

#include "controls/ControlAttr.h"

#include <algorithm>

namespace WUI {

namespace {

const UINT kTextOffsetYFormat = 0x8023;  // single line, end ellipsis, horizontal alignment
const UINT kTextOffsetXFormat = 0x802C;  // single line, end ellipsis, vertical alignment

// Draws the characters one under the other from (x, y) on.
void StackText(IRenderTarget* rt, const SStringW& text, int x, int y)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        SIZE sz = {0, 0};
        rt->MeasureText(text.c_str() + i, 1, &sz);
        rt->TextOut(x, y, text.c_str() + i, 1);
        y += sz.cy;
    }
}

// The block of stacked characters centred in rect.
void StackTextCentred(IRenderTarget* rt, const SStringW& text, const RECT& rect)
{
    SIZE block = {0, 0};
    for (int i = 0; i < text.GetLength(); ++i) {
        SIZE sz = {0, 0};
        rt->MeasureText(text.c_str() + i, 1, &sz);
        block.cx = std::max(block.cx, sz.cx);
        block.cy += sz.cy;
    }
    const int x = rect.left + (rect.right - rect.left - block.cx) / 2;
    const int y = rect.top + (rect.bottom - rect.top - block.cy) / 2;
    StackText(rt, text, x, y);
}

}  // namespace

// The strip's text starts from the style's normal font and colour, whatever
// state the control is in: each tab picks its own.
void STabCtrl::BeforePaint(IRenderTarget* rt, SPaintState& saved)
{
    if (IFont* font = m_style.GetTextFont(0)) {
        IRenderObj* old = nullptr;
        rt->SelectObject(font, &old);
        saved.font.Attach(old);
    }
    const COLORREF color = m_style.GetTextColor(0);
    if (color != kColorNone) saved.textColor = rt->SetTextColor(color);
}

void STabCtrl::OnTabPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    const RECT title = GetTitleRect();
    rt->PushClipRect(&title, RGN_AND);
    const bool stacked = m_nTabAlign == AlignLeft || m_nTabAlign == AlignRight;
    for (int i = 0; i < m_pages.GetCount(); ++i) {
        const DWORD state = i == m_nCurrentPage ? 2 : (i == m_nHoverTabItem ? 1 : 0);
        RECT rc;
        if (!GetItemRect(i, rc) || ::IsRectEmpty(&rc)) continue;
        RECT prev;
        if (i > 0 && m_pSkinTabInter && GetItemRect(i - 1, prev)) {
            RECT spacer = rc;
            if (stacked) {
                spacer.top = prev.bottom;
                spacer.bottom = spacer.top + m_nTabInterSize;
            } else {
                spacer.left = prev.right;
                spacer.right = spacer.left + m_nTabInterSize;
            }
            m_pSkinTabInter->Draw(rt, &spacer, 0);
        }
        DrawItem(rt, rc, i, state);
    }
    rt->PopClip();
    if (m_pSkinFrame) {
        const RECT area = GetChildrenLayoutRect();
        m_pSkinFrame->Draw(rt, &area, 0);
    }
    RECT current;
    if (IsFocused() && IsFocusable() && IsDrawFocusRect() && GetItemRect(m_nCurrentPage, current))
        DrawDefaultFocusRect(rt, current);  // it draws 2 pixels inside the tab
    AfterPaint(rt, saved);
}

void STabCtrl::DrawItem(IRenderTarget* rt, const RECT& rect, int index, DWORD state)
{
    if (!rt || ::IsRectEmpty(&rect)) return;
    const int look = (state == 2 || state == 4) ? 2 : static_cast<int>(state & 1);
    if (m_pSkinTab) m_pSkinTab->Draw(rt, &rect, ClampSkinState(m_pSkinTab, look));

    SPaintState saved;
    if (IFont* font = m_style.GetTextFont(look)) {
        IRenderObj* old = nullptr;
        rt->SelectObject(font, &old);
        saved.font.Attach(old);
    }
    const COLORREF color = m_style.GetTextColor(look);
    if (color != kColorNone) saved.textColor = rt->SetTextColor(color);

    STabPage* page = GetItem(index);
    if (m_pSkinIcon) {
        const SIZE sz = m_pSkinIcon->GetSkinSize();
        const RECT icon = {rect.left + m_nIconX, rect.top + m_nIconY, rect.left + m_nIconX + sz.cx,
                           rect.top + m_nIconY + sz.cy};
        const int iconIndex = page && page->GetIconIndex() != -1 ? page->GetIconIndex() : index;
        m_pSkinIcon->Draw(rt, &icon, static_cast<DWORD>(iconIndex));
    }
    if (page) DrawTitle(rt, rect, page->GetTitle());
    RestoreTextStyle(rt, saved);
}

// text-x and text-y: both -1 align by the style over the tab; one of them
// set offsets that edge and keeps the other direction's alignment; both set
// place the text at that point.
void STabCtrl::DrawTitle(IRenderTarget* rt, const RECT& rect, const SStringW& title)
{
    if (title.IsEmpty()) return;
    if (m_nTextX != -1 && m_nTextY != -1) {
        const int x = rect.left + m_nTextX, y = rect.top + m_nTextY;
        if (m_txtDir == TextVertical) StackText(rt, title, x, y);
        else rt->TextOut(x, y, title.c_str(), title.GetLength());
        return;
    }
    RECT rc = rect;
    UINT format = GetTextAlign();
    if (m_nTextX == -1 && m_nTextY != -1) {
        rc.top += m_nTextY;
        format &= kTextOffsetYFormat;
    } else if (m_nTextY == -1 && m_nTextX != -1) {
        rc.left += m_nTextX;
        format &= kTextOffsetXFormat;
    }
    if (m_txtDir == TextVertical) StackTextCentred(rt, title, rc);
    else DrawText(rt, title.c_str(), title.GetLength(), &rc, format);
}

}  // namespace WUI
