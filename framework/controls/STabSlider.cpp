#include "controls/STabSlider.h"

#include "controls/STabCtrl.h"
#include "core/SApplication.h"

namespace WUI {

STabSlider::STabSlider(STabCtrl* tab, int oldIndex, int newIndex, int steps)
    : m_nSteps(steps), m_nOldIndex(oldIndex), m_nNewIndex(newIndex), m_pTabCtrl(tab)
{
    // Hidden while the pages are painted into the image: what lies beneath
    // it is what the image shows.
    m_dwFlags &= ~kFlagVisible;
    m_dwState |= WndState_Invisible;
    tab->InsertChild(this);  // the control holds the creation reference
    const RECT area = tab->GetChildrenLayoutRect();
    Move(&area);  // its WM_SIZE during the set-up ends nothing
    const int width = area.right - area.left, height = area.bottom - area.top;
    m_bVertical = tab->GetTabAlign() == STabCtrl::AlignLeft || tab->GetTabAlign() == STabCtrl::AlignRight;
    const int span = m_bVertical ? height : width;

    SApplication* app = SApplication::GetSingletonPtr();
    IRenderFactory* factory = app ? app->GetRenderFactory() : nullptr;
    IRenderTarget* made = nullptr;
    if (factory && width > 0 && height > 0 &&
        factory->CreateRenderTarget(&made, m_bVertical ? width : 2 * width, m_bVertical ? 2 * height : height))
        m_memRT.Attach(made);

    // Forward the view runs from the old page (first half) to the new one;
    // backward the other way round.
    m_nStep = oldIndex < newIndex ? span / steps : -(span / steps);
    (m_bVertical ? m_nYOffset : m_nXOffset) = oldIndex < newIndex ? 0 : span;
}

void STabSlider::Start()
{
    STabCtrl* tab = Tab();
    if (!tab) return;
    SAutoRefPtr<STabPage> oldPage = tab->GetItem(m_nOldIndex);
    SAutoRefPtr<STabPage> newPage = tab->GetItem(m_nNewIndex);
    const int span = m_bVertical ? m_rcWindow.bottom - m_rcWindow.top : m_rcWindow.right - m_rcWindow.left;
    const int oldAt = m_bVertical ? m_nYOffset : m_nXOffset, newAt = span - oldAt;
    PaintPageInto(m_bVertical ? 0 : oldAt, m_bVertical ? oldAt : 0);
    if (oldPage) oldPage->SetVisible(FALSE);
    if (!Tab()) return;
    if (newPage) newPage->SetVisible(TRUE);
    if (!Tab()) return;
    PaintPageInto(m_bVertical ? 0 : newAt, m_bVertical ? newAt : 0);

    if (m_pContainer) m_bRegistered = m_pContainer->RegisterTimelineHandler(this);
    if (newPage) newPage->SetVisible(FALSE);
    if (!Tab()) return;
    SetVisible(TRUE, TRUE);
}

void STabSlider::PaintPageInto(int dx, int dy)
{
    if (!m_memRT) return;
    const RECT rc = GetPlacedRect();
    POINT old;
    m_memRT->GetViewportOrg(&old);
    m_memRT->SetViewportOrg(POINT{dx - rc.left, dy - rc.top});
    PaintBackground(m_memRT, nullptr);
    m_memRT->SetViewportOrg(old);
}

STabCtrl* STabSlider::Tab() const
{
    return !m_bDestroyed && m_pParent == m_pTabCtrl ? m_pTabCtrl : nullptr;
}

void STabSlider::Finish()
{
    if (STabCtrl* tab = Tab()) tab->FinishSlide();
}

void STabSlider::OnNextFrame()
{
    // Finishing destroys this element from inside its own tick.
    SAutoRefPtr<SWindow> keep(this);
    if (++m_nTicks > m_nSteps) {
        Finish();
        return;
    }
    (m_bVertical ? m_nYOffset : m_nXOffset) += m_nStep;
    Invalidate();
}

void STabSlider::OnSliderPaint(IRenderTarget* rt)
{
    if (!rt || !m_memRT) return;
    const RECT rc = GetPlacedRect();
    rt->BitBlt(&rc, m_memRT, m_nXOffset, m_nYOffset, SRCCOPY);
}

// Resized from outside, the image no longer fits: the slide ends at once.
void STabSlider::OnSliderSize(UINT type, SIZE size)
{
    SWindow::OnSize(type, size);
    if (m_bRegistered) Finish();
}

void STabSlider::OnSliderDestroy()
{
    if (m_bRegistered && m_pContainer) m_pContainer->UnregisterTimelineHandler(this);
    m_bRegistered = FALSE;
    SWindow::OnDestroy();
}

}  // namespace WUI
