// The element's rectangles, moves, the layout of its children and its measure.
#include "core/SWindow.h"

#include "core/SApplication.h"
#include "render/IRenderTarget.h"

#include <algorithm>

namespace WUI {

namespace {

// "No limit" of a measure.
const int kUnbounded = 0x7FFF;

}  // namespace

RECT SWindow::GetPlacedRect() const
{
    return IsPlaced() ? m_rcWindow : RECT{0, 0, 0, 0};
}

RECT SWindow::GetClientRect() const
{
    RECT rc;
    SWindow::ComputeClientRect(rc);
    return rc;
}

void SWindow::ComputeClientRect(RECT& rc) const
{
    rc = GetPlacedRect();
    if (!IsPlaced()) return;
    const RECT& m = m_style.m_rcMargin;
    rc.left += m.left;
    rc.top += m.top;
    rc.right = std::max(rc.left, rc.right - m.right);
    rc.bottom = std::max(rc.top, rc.bottom - m.bottom);
}

void SWindow::GetTextRect(RECT& rc) const
{
    rc = GetClientRect();
    const RECT& p = m_style.m_rcInset;
    rc.left += p.left;
    rc.top += p.top;
    rc.right -= p.right;
    rc.bottom -= p.bottom;
}

RECT SWindow::GetChildrenLayoutRect() const
{
    RECT rc;
    ComputeClientRect(rc);
    return rc;
}

void SWindow::SetWindowText(const SStringW& text)
{
    m_strText = text;
    InvalidateRect(nullptr);
    if (m_layout.IsFitContent(kAxisBoth)) {
        InvalidateLayout();
        InvalidateRect(nullptr);
    }
}

// The children's moves run their handlers, which may destroy the element:
// it is kept to the end of the call.
void SWindow::Move(const RECT* rect)
{
    if (!rect) {
        if (!m_pParent) return;
        m_bFloat = FALSE;
        InvalidateLayout();
        return;
    }
    m_bFloat = TRUE;
    if (EqualRect(rect, &m_rcWindow) && !IsLayoutDirty()) return;
    SAutoRefPtr<SWindow> keep(this);
    const RECT old = m_rcWindow, now = *rect;
    m_rcWindow = now;
    m_dwFlags &= ~kFlagLayoutDirty;
    OnPosChanged(&old, &now);
}

void SWindow::Move2(int x, int y, int cx, int cy)
{
    const RECT current = GetPlacedRect();
    if (cx == -1) cx = current.right - current.left;
    if (cy == -1) cy = current.bottom - current.top;
    const RECT rc = {x, y, x + cx, y + cy};
    Move(&rc);
}

void SWindow::OnPosChanged(const RECT* oldRect, const RECT* newRect)
{
    if (m_pParent) {
        m_pParent->InvalidateRectEx(oldRect, FALSE);
        m_pParent->InvalidateRectEx(newRect, FALSE);
    } else {
        InvalidateRectEx(nullptr, TRUE);
    }
    SendSwndMessage(WM_NCCALCSIZE);
    LayoutChildren();
    const RECT client = GetClientRect();
    SendSwndMessage(WM_SIZE, 0, MAKELPARAM(client.right - client.left, client.bottom - client.top));
}

void SWindow::LayoutChildren()
{
    const RECT client = GetClientRect();
    ForEachChild([&client](SWindow* child) {
        if (!child->IsFloat()) return;
        child->OnFloatLayout(client);
        if (child->IsLayoutDirty()) {
            child->m_dwFlags &= ~kFlagLayoutDirty;
            child->LayoutChildren();
        }
    });
    SArray<SwndRepos> list;
    if (!list.Grow(m_nChildrenCount)) return;  // queuing marks a child unplaced: only with room for all
    for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling)
        if (!c->IsFloat()) list.Add(SwndRepos(c, false));
    SwndLayout::CalcChildrenPositions(list, GetChildrenLayoutRect());
}

void SWindow::OnFloatLayout(const RECT&) {}

void SWindow::InvalidateLayout(SWindow* child)
{
    m_dwFlags |= kFlagLayoutDirty;
    if (m_pParent) m_pParent->InvalidateLayout(child ? child : this);
}

void SWindow::UpdateLayout()
{
    if (!IsLayoutDirty()) return;
    m_dwFlags &= ~kFlagLayoutDirty;  // a request made during the pass stays
    LayoutChildren();
}

SIZE SWindow::MeasureContent(const RECT* limit)
{
    const int limitW = limit ? limit->right - limit->left : kUnbounded;
    const int limitH = limit ? limit->bottom - limit->top : kUnbounded;
    int width = kUnbounded, height = kUnbounded;
    if (m_layout.IsSpecifiedSize(kAxisX)) width = m_layout.GetSpecifiedSize(kAxisX);
    else if (m_layout.IsFitParent(kAxisX) && limitW > 0) width = limitW;
    if (m_layout.IsSpecifiedSize(kAxisY)) height = m_layout.GetSpecifiedSize(kAxisY);
    else if (m_layout.IsFitParent(kAxisY) && limitH > 0) height = limitH;
    if (width != kUnbounded && height != kUnbounded) return SIZE{width, height};

    RECT text = {0, 0, 0, 0};
    if (!m_strText.IsEmpty()) {
        UINT format = (GetTextAlign() & ~0xFu) | DT_CALCRECT;
        int measureWidth = kUnbounded;
        if (m_nMaxWidth != -1 || width != kUnbounded) {
            format |= DT_WORDBREAK;
            const RECT& pad = m_style.m_rcInset;
            if (m_nMaxWidth != -1) measureWidth = width != kUnbounded ? std::min(m_nMaxWidth, width) : m_nMaxWidth;
            else measureWidth = width - pad.left - pad.right;
            if (measureWidth <= 0) measureWidth = kUnbounded;
        }
        text.right = measureWidth;
        text.bottom = kUnbounded;
        if (SAutoRefPtr<IRenderTarget> rt = SApplication::NewMeasureTarget()) {
            ApplyTextStyleChain(rt);
            DrawText(rt, m_strText, m_strText.GetLength(), &text, format);
        } else {
            text = RECT{0, 0, 0, 0};
        }
    }
    const RECT& pad = m_style.m_rcInset;
    const RECT& margin = m_style.m_rcMargin;
    SIZE content = {text.right - text.left + pad.left + pad.right, text.bottom - text.top + pad.top + pad.bottom};
    const SIZE children = MeasureChildren(RECT{0, 0, limitW, limitH});
    content.cx = std::max(content.cx, children.cx) + margin.left + margin.right;
    content.cy = std::max(content.cy, children.cy) + margin.top + margin.bottom;
    if (width == kUnbounded) width = content.cx;
    if (height == kUnbounded) height = content.cy;
    return SIZE{width, height};
}

SIZE SWindow::MeasureChildren(const RECT& limit)
{
    SArray<SwndRepos> queued;
    if (!queued.Grow(m_nChildrenCount)) return SIZE{0, 0};
    for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling)
        if (!c->IsFloat() && (c->IsVisible(FALSE) || c->IsDisplay())) queued.Add(SwndRepos(c, true));
    SArray<SwndRepos> pass(queued);
    SwndLayout::CalcChildrenPositions(pass, limit);
    SIZE extent = {0, 0};
    for (int i = 0; i < queued.GetCount(); ++i) {
        SWindow* child = queued[i].GetElement();
        if (child->IsPlaced()) {
            extent.cx = std::max<LONG>(extent.cx, child->m_rcWindow.right - limit.left);
            extent.cy = std::max<LONG>(extent.cy, child->m_rcWindow.bottom - limit.top);
        }
        child->m_rcWindow = queued[i].GetSavedRect();
    }
    return extent;
}

}  // namespace WUI
