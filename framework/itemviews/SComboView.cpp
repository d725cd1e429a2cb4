#include "itemviews/SComboView.h"

#include "core/SApplication.h"

#include <algorithm>

namespace WUI {

SComboView::~SComboView()
{
    ReleaseListElement(m_pListView);
}

int SComboView::GetCurSel() const
{
    return m_pListView ? m_pListView->GetSel() : -1;
}

int SComboView::GetCount() const
{
    IListAdapter* adapter = m_pListView ? m_pListView->GetAdapter() : nullptr;
    return adapter ? std::max(0, adapter->GetCount()) : 0;
}

// The index is checked here: the list view ignores a bad one silently,
// which would still have fired the selection event.
BOOL SComboView::SetCurSel(int index)
{
    if (!m_pListView || index >= GetCount()) return FALSE;
    if (index < 0) index = -1;
    if (index == GetCurSel()) return FALSE;
    m_pListView->SetSel(index, false);
    if (GetCurSel() != index) return FALSE;
    OnSelChanged();
    return TRUE;
}

SStringW SComboView::GetLBText(int index)
{
    IListAdapter* adapter = m_pListView ? m_pListView->GetAdapter() : nullptr;
    if (!adapter || index < 0 || index >= GetCount()) return SStringW();
    return adapter->GetItemText(index);
}

BOOL SComboView::CreateListBox(pugi::xml_node node)
{
    SApplication* app = SApplication::GetSingletonPtr();
    SListView* list = app ? sobj_cast<SListView>(app->CreateWindowByName(SListView::GetClassNameStatic())) : nullptr;
    if (!list) return FALSE;
    m_pListView = list;
    SetUpListElement(list, node);
    return TRUE;
}

int SComboView::GetListBoxHeight()
{
    IListViewItemLocator* locator = m_pListView ? m_pListView->GetItemLocator() : nullptr;
    if (!locator || !GetCount()) return m_nDropHeight;
    const RECT& margin = m_pListView->GetStyle().m_rcMargin;
    const long long natural = (long long)margin.top + margin.bottom + locator->GetTotalHeight();
    return int(std::min<long long>(m_nDropHeight, natural));
}

void SComboView::EnsureSelVisible()
{
    if (m_pListView) m_pListView->EnsureVisible(m_pListView->GetSel());
}

}  // namespace WUI
