#include "itemviews/SMCListView.h"

#include "core/AttrParse.h"
#include "itemviews/ScrollBarsFit.h"

#include <algorithm>
#include <climits>

namespace WUI {

namespace {

const int kMaxHeaderHeight = 0x7FFF;

}  // namespace

SMCListView::SMCListView()
{
    m_dwFlags |= kFlagClipClient;
}

// ---- attributes and children ----

HRESULT SMCListView::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    int n = 0;
    if (_wcsicmp(name, L"headerHeight") == 0) {
        if (!AttrParseInt(value, n, true, 0, kMaxHeaderHeight)) return AfterSetAttribute(name, value, E_FAIL);
        m_nHeaderHeight = n;
        if (!loading) {  // the header, the bars and the rows follow at once
            UpdateScrollBar();
            UpdateVisibleItems();
        }
        return AfterSetAttribute(name, value, S_FALSE);
    }
    if (_wcsicmp(name, L"hotTrack") == 0) {
        if (!AttrParseInt(value, n)) return AfterSetAttribute(name, value, E_FAIL);
        m_nHotTrack = n;
        return AfterSetAttribute(name, value, S_FALSE);
    }
    return SListView::SetAttribute(name, value, loading);
}

BOOL SMCListView::CreateChildren(pugi::xml_node node)
{
    if (!SWindow::CreateChildren(node)) return FALSE;  // "template" is no element: it is skipped
    if (!SListView::CreateChildren(node)) return FALSE;
    m_header = SHeaderCtrl::PlaceFirstChild(this, m_nHeaderHeight);
    if (!m_header) return FALSE;
    SEventSet* events = m_header->GetEventSet();
    events->SubscribeEvent(EventHeaderItemChanging::EventID, &SMCListView::OnHeaderColumnsChanged, this);
    events->SubscribeEvent(EventHeaderItemSwap::EventID, &SMCListView::OnHeaderColumnsChanged, this);
    events->SubscribeEvent(EventHeaderClick::EventID, &SMCListView::OnHeaderClick, this);
    return TRUE;
}

bool SMCListView::SetAdapter(IColumnListAdapter* adapter)
{
    if (!m_locator || IsDestroyed()) return false;
    m_columnAdapter = adapter;  // the binding inside places cells through it
    return SListView::SetAdapter(adapter);
}

// ---- columns ----

int SMCListView::GetColumnCount() const
{
    return m_header ? m_header->GetItemCount() : 0;
}

int SMCListView::InsertColumn(int index, LPCWSTR text, int width, LPARAM data)
{
    if (!m_header) return -1;
    const int at = m_header->InsertItem(index, text, width, ST_NULL, data);
    ReplaceColumns();
    return at;
}

BOOL SMCListView::DeleteColumn(int index)
{
    if (!m_header || !m_header->DeleteItem(index)) return FALSE;
    ReplaceColumns();
    return TRUE;
}

// ---- geometry ----

RECT SMCListView::GetListRect() const
{
    RECT rc = GetClientRect();
    rc.top = std::min(rc.bottom, rc.top + m_nHeaderHeight);
    return rc;
}

RECT SMCListView::RowRect(int index) const
{
    RECT rc = SListView::RowRect(index);
    rc.left = GetClientRect().left - GetScrollPos(FALSE);
    rc.right = rc.left + GetRowWidth();
    return rc;
}

int SMCListView::GetRowWidth() const
{
    return m_header ? m_header->GetTotalWidth() : 0;
}

void SMCListView::UpdateScrollBar()
{
    const RECT client = SWindow::GetClientRect();
    const int c = client.right - client.left;
    const int b = std::max(0, int(client.bottom - client.top) - m_nHeaderHeight);
    const int H = m_locator ? m_locator->GetTotalHeight() : 0;
    m_wBarVisible = FitScrollBars(GetRowWidth(), H, c, b, GetSbWidth(), b, m_siVer, m_siHoz);
    // Every caller binds the rows next: the move of the bar alone binds nothing.
    const bool was = m_bSettingBar;
    m_bSettingBar = true;
    SetScrollPos(TRUE, m_siVer.nPos, TRUE);
    SetScrollPos(FALSE, m_siHoz.nPos, TRUE);
    m_bSettingBar = was;
    SendSwndMessage(WM_NCCALCSIZE);
    UpdateHeaderPos();
    Invalidate();
}

void SMCListView::UpdateHeaderPos()
{
    if (!m_header) return;
    const RECT client = GetClientRect();
    const RECT rc = {client.left - GetScrollPos(FALSE), client.top, client.right, client.top + m_nHeaderHeight};
    m_header->Move(&rc);
}

void SMCListView::LayoutChildren()
{
    SListView::LayoutChildren();
    UpdateHeaderPos();
}

BOOL SMCListView::OnScroll(BOOL vertical, UINT code, int pos)
{
    if (vertical) return SListView::OnScroll(vertical, code, pos);
    SPanel::OnScroll(vertical, code, pos);
    UpdateHeaderPos();
    if (code == SB_THUMBTRACK) ThrottledUpdate();
    return TRUE;
}

// ---- rows and their cells ----

void SMCListView::BindVisibleRows()
{
    SListView::BindVisibleRows();
    if (IsDestroyed()) return;
    for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext) PlaceCells(n->data.panel);
}

void SMCListView::PlaceCells(SItemPanel* panel)
{
    if (!m_header || !m_columnAdapter) return;
    const RECT row = panel->GetWindowRect();
    int x = 0;
    for (int i = 0; i < m_header->GetItemCount(); ++i) {
        const int width = m_header->GetItemWidth(i);
        const SStringW name = m_columnAdapter->GetColumnName(m_header->GetItemOrder(i));
        if (SWindow* cell = name.IsEmpty() ? nullptr : panel->FindChildByName(name)) {
            const RECT rc = {x, row.top, x + width, row.bottom};
            cell->Move(&rc);
        }
        x += width;
    }
}

bool SMCListView::OnHeaderColumnsChanged(EventArgs&)
{
    ReplaceColumns();
    return true;
}

// Each row keeps its height, takes the header's new width and has its
// cells placed again.
void SMCListView::ReplaceColumns()
{
    UpdateScrollBar();
    const int width = GetRowWidth();
    for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext) {
        SItemPanel* panel = n->data.panel;
        RECT rc = panel->GetWindowRect();
        rc.right = rc.left + width;
        panel->Move(&rc);
        PlaceCells(panel);
    }
    const RECT list = GetListRect();
    InvalidateRect(&list);
}

bool SMCListView::OnHeaderClick(EventArgs& args)
{
    SortByColumn(static_cast<EventHeaderClick&>(args).iItem);
    return true;
}

// The marks go to the adapter by column number. A column number outside 0
// to count - 1 (which the header never gives) is left out rather than
// written past the arrays.
void SMCListView::SortByColumn(int index)
{
    if (!m_header || !m_columnAdapter) return;
    const int count = m_header->GetItemCount();
    const int clicked = m_header->GetItemOrder(index);
    if (count <= 0 || clicked < 0 || clicked >= count) return;
    SArray<UINT> flags;
    if (!flags.Grow(count)) return;
    for (int i = 0; i < count; ++i) flags.Add(ST_NULL);
    for (int i = 0; i < count; ++i) {
        const int order = m_header->GetItemOrder(i);
        if (order >= 0 && order < count) flags[order] = m_header->GetItemInfo(i)->sortFlag;
    }
    SAutoRefPtr<SWindow> keep(this);
    SAutoRefPtr<IColumnListAdapter> adapter = m_columnAdapter;
    if (!adapter->SortByColumn(clicked, flags.GetData(), count) || IsDestroyed() || !m_header) return;
    for (int i = 0; i < m_header->GetItemCount() && i < count; ++i) {
        const int order = m_header->GetItemOrder(i);
        if (order >= 0 && order < count) m_header->SetItemSort(i, flags[order]);
    }
    OnDataSetChanged();
}

}  // namespace WUI
