// Hit testing, the cursor, the tip, sibling groups, the caret and the default
// mouse handlers of an element.
#include "core/SWindow.h"

#include "core/SApplication.h"

namespace WUI {

BOOL SWindow::HitTest(POINT pt, BOOL clientOnly)
{
    const RECT rc = clientOnly ? GetClientRect() : GetPlacedRect();
    if (!::PtInRect(&rc, pt)) return FALSE;
    if (!m_shapeRgn) return TRUE;
    return m_shapeRgn->PtInRegion(POINT{pt.x - m_rcWindow.left, pt.y - m_rcWindow.top});
}

SWND SWindow::SwndFromPoint(POINT pt)
{
    if (!HitTest(pt, FALSE)) return 0;
    const RECT client = GetClientRect();
    if (!::PtInRect(&client, pt)) return m_swnd;
    for (SWindow* c = m_pLastChild; c; c = c->m_pPrevSibling) {
        if (!c->IsVisible(TRUE) || c->IsMsgTransparent()) continue;
        if (SWND hit = c->SwndFromPoint(pt)) return hit;
    }
    return m_swnd;
}

BOOL SWindow::HitNonClient(POINT pt)
{
    const RECT client = GetClientRect();
    return !::PtInRect(&client, pt);
}

BOOL SWindow::OnSetCursor(POINT)
{
    SApplication* app = SApplication::GetSingletonPtr();
    HCURSOR cursor = app ? app->LoadCursor(m_style.m_strCursor) : nullptr;
    if (!cursor) return FALSE;
    ::SetCursor(cursor);
    return TRUE;
}

BOOL SWindow::GetToolTipInfo(POINT, SwndToolTipInfo& info)
{
    if (m_strToolTip.IsEmpty()) return FALSE;
    info.swnd = m_swnd;
    info.key = 0;
    info.rcTarget = GetPlacedRect();
    info.strTip = m_strToolTip;
    return TRUE;
}

SWindow* SWindow::GetCheckedChildInGroup()
{
    for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling)
        if (c->JoinsSiblingGroup()) return c->GetCheckedSiblingInGroup();
    return nullptr;
}

BOOL SWindow::CreateCaret(HBITMAP bitmap, int width, int height)
{
    return m_pContainer && m_pContainer->CreateCaret(m_swnd, bitmap, width, height);
}

BOOL SWindow::ShowCaret(BOOL show)
{
    return m_pContainer && m_pContainer->ShowCaret(show);
}

BOOL SWindow::SetCaretPos(int x, int y)
{
    return m_pContainer && m_pContainer->SetCaretPos(x, y);
}

// The focus and state handlers may destroy the element: a click ends with it.
void SWindow::OnLButtonDown(UINT, POINT)
{
    if (IsFocusable()) SetFocus();
    if (m_bDestroyed) return;
    SetCapture();
    ModifyState(WndState_PushDown, 0, TRUE);
}

// A press that ends outside the element is a cancelled click.
void SWindow::OnLButtonUp(UINT, POINT pt)
{
    ReleaseCapture();
    if (!(m_dwState & WndState_PushDown)) return;
    ModifyState(0, WndState_PushDown, TRUE);
    const RECT rc = GetPlacedRect();
    if (::PtInRect(&rc, pt) && !m_bDestroyed) FireCommand();
}

void SWindow::OnRButtonDown(UINT, POINT pt)
{
    FireCtxMenu(pt.x, pt.y);
}

LRESULT SWindow::OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return m_pParent ? m_pParent->SendSwndMessage(msg, wParam, lParam) : 0;
}

// Back over an element that holds the capture: it looks pressed again.
void SWindow::OnMouseHover(UINT, POINT)
{
    if (GetCapture() == m_swnd) ModifyState(WndState_PushDown, 0, FALSE);
    ModifyState(WndState_Hover, 0, TRUE);
    OnNcPaint(nullptr);
    EventSwndMouseHover evt(this);
    FireEvent(evt);
}

void SWindow::OnMouseLeave()
{
    if (GetCapture() == m_swnd) ModifyState(0, WndState_PushDown, FALSE);
    ModifyState(0, WndState_Hover, TRUE);
    OnNcPaint(nullptr);
    EventSwndMouseLeave evt(this);
    FireEvent(evt);
}

}  // namespace WUI
