#include "itemviews/SListView.h"

#include "controls/ControlAttr.h"
#include "core/XmlLookup.h"
#include "itemviews/SListViewItemLocatorFix.h"
#include "itemviews/SListViewItemLocatorFlex.h"

#include <algorithm>
#include <new>

namespace WUI {

namespace {

const int kDefaultRowHeight = 30;

}  // namespace

void SListViewDataSetObserver::OnDataSetChanged()
{
    if (m_view) m_view->OnDataSetChanged();
}

void SListViewDataSetObserver::OnDataSetInvalidated()
{
    if (m_view) m_view->OnDataSetInvalidated();
}

SListView::SListView()
{
    m_observer.Attach(new SListViewDataSetObserver(this));
    m_dwFlags |= kFlagFocusable;
    SPanel::SetAttribute(L"updateInterval", L"40", TRUE);
    m_evtSet.AddEvent<EventLVSelChanging>();
    m_evtSet.AddEvent<EventLVSelChanged>();
}

// Normally WM_DESTROY has given every panel up. A view released without it
// gives them up here with their events muted: nothing may reach the view
// being deleted.
SListView::~SListView()
{
    DetachAdapter();
    m_observer->Detach();
    for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext) n->data.panel->GetEventSet()->SetMuted(true);
    for (int t = 0; t < m_freeLists.GetCount(); ++t)
        for (SList<SItemPanel*>::Node* n = m_freeLists[t]->GetHead(); n; n = n->pNext) n->data->GetEventSet()->SetMuted(true);
    m_pHoverPanel = m_pCapturePanel = nullptr;
    DestroyPanels();
}

int SListView::Count() const
{
    return m_adapter ? std::max(0, m_adapter->GetCount()) : 0;
}

int SListView::GetPanelCount() const
{
    int n = m_visible.GetCount();
    for (int t = 0; t < m_freeLists.GetCount(); ++t) n += m_freeLists[t]->GetCount();
    return n;
}

// ---- attributes and template ----

HRESULT SListView::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr;
    if (_wcsicmp(name, L"dividerSkin") == 0) {
        m_pDividerSkin = FindSkin(value);
        hr = S_OK;
    } else if (_wcsicmp(name, L"dividerSize") == 0) {
        hr = AttrParseInt(value, m_nDividerSize, true, 0, 0x7FFF) ? S_FALSE : E_FAIL;
    } else if (_wcsicmp(name, L"wantTab") == 0) {
        hr = AttrParseInt(value, m_bWantTab) ? S_FALSE : E_FAIL;
    } else {
        return SPanel::SetAttribute(name, value, loading);
    }
    return AfterSetAttribute(name, value, hr);
}

BOOL SListView::CreateChildren(pugi::xml_node node)
{
    pugi::xml_node tmpl = XmlChildNoCase(node, L"template");
    if (!tmpl) return TRUE;
    m_tmplDoc.reset();
    m_tmplDoc.append_copy(tmpl);
    int itemHeight = -1, defHeight = kDefaultRowHeight;
    AttrParseInt(XmlAttributeNoCase(tmpl, L"itemHeight").as_string(L"-1"), itemHeight);
    AttrParseInt(XmlAttributeNoCase(tmpl, L"defHeight").as_string(L"30"), defHeight);
    if (defHeight < 1) defHeight = kDefaultRowHeight;
    SAutoRefPtr<IListViewItemLocator> locator;
    if (itemHeight <= 0) locator.Attach(new (std::nothrow) SListViewItemLocatorFlex(defHeight, m_nDividerSize));
    else locator.Attach(new (std::nothrow) SListViewItemLocatorFix(itemHeight, m_nDividerSize));
    if (!locator) return FALSE;
    SetItemLocator(locator);
    return TRUE;
}

void SListView::SetItemLocator(IListViewItemLocator* locator)
{
    if (!locator) return;
    m_locator = locator;
    m_locator->SetAdapter(m_adapter);
    OnDataSetChanged();
}

// ---- adapter ----

void SListView::DetachAdapter()
{
    if (m_bObserving && m_adapter) m_adapter->UnregisterObserver(m_observer);
    m_bObserving = false;
}

bool SListView::SetAdapter(IListAdapter* adapter)
{
    if (!m_locator || IsDestroyed()) return false;
    SAutoRefPtr<IListAdapter> keep(adapter);
    if (m_adapter) {
        DetachAdapter();
        DestroyPanels();
    }
    m_adapter = adapter;
    m_locator->SetAdapter(adapter);
    if (!adapter) {
        m_iSelItem = -1;
        UpdateScrollBar();
        return true;
    }
    adapter->InitFromTemplate(m_tmplDoc.first_child());
    if (m_adapter != adapter || IsDestroyed()) return false;  // replaced from inside the call
    adapter->RegisterObserver(m_observer);
    m_bObserving = true;
    const int types = ClampViewTypes(adapter->GetViewTypeCount());
    for (int t = 0; t < types; ++t) {
        SList<SItemPanel*>* list = new (std::nothrow) SList<SItemPanel*>;
        if (!list || m_freeLists.Add(list) < 0) {
            delete list;
            break;
        }
    }
    OnDataSetChanged();
    return true;
}

void SListView::OnDataSetChanged()
{
    if (!m_adapter || !m_locator || IsDestroyed()) return;
    m_locator->OnDataSetChanged();
    if (m_iSelItem >= Count()) m_iSelItem = -1;
    UpdateScrollBar();
    UpdateVisibleItems();
}

void SListView::OnDataSetInvalidated()
{
    if (IsDestroyed()) return;
    m_bDataSetInvalidated = true;
    Invalidate();
}

// ---- scrolling ----

void SListView::UpdateScrollBar()
{
    const RECT client = GetListRect();
    const int page = std::max(0L, client.bottom - client.top);
    const int total = m_locator ? m_locator->GetTotalHeight() : 0;
    m_wBarVisible = SSB_NULL;
    m_siVer.nMin = 0;
    m_siVer.nPage = UINT(page);
    int pos = m_siVer.nPos;
    if (page < total) {
        m_wBarVisible |= SSB_VERT;
        m_siVer.nMax = total - 1;
        pos = std::min(pos, total - page);  // the last page ends at the last row
    } else {
        pos = 0;
        m_siVer.nMax = page - 1;
    }
    // Every caller binds the rows next: the move of the bar alone binds nothing.
    const bool was = m_bSettingBar;
    m_bSettingBar = true;
    SetScrollPos(TRUE, pos, FALSE);
    m_bSettingBar = was;
    SendSwndMessage(WM_NCCALCSIZE);
    Invalidate();
}

int SListView::GetScrollLineSize(BOOL)
{
    return m_locator ? m_locator->GetLineStep() : SPanel::GetScrollLineSize(TRUE);
}

BOOL SListView::OnScroll(BOOL vertical, UINT code, int pos)
{
    SPanel::OnScroll(vertical, code, pos);
    if (vertical && !m_bSettingBar && GetScrollPos(TRUE) != m_nBoundPos) {
        UpdateVisibleItems();
        if (code == SB_THUMBTRACK) ThrottledUpdate();
    }
    return TRUE;
}

void SListView::EnsureVisible(int index)
{
    if (!m_locator || index < 0 || index >= Count()) return;
    const RECT client = GetListRect();
    const int page = client.bottom - client.top;
    const int first = m_iFirstVisible, last = first + m_visible.GetCount();
    if (index <= first) OnScroll(TRUE, SB_THUMBPOSITION, m_locator->GetItemTop(index));
    else if (index < last - 1) return;
    else if (index == Count() - 1) OnScroll(TRUE, SB_BOTTOM, 0);
    else OnScroll(TRUE, SB_THUMBPOSITION, m_locator->GetItemTop(index + 1) - page);
}

// ---- binding ----

void SListView::UpdateVisibleItems()
{
    if (!m_adapter || !m_locator) return;
    if (m_nUpdating) {  // from inside a pass (a clamp of the bar, an adapter's call): run once more after it
        m_bUpdatePending = true;
        return;
    }
    SAutoRefPtr<SWindow> keep(this);  // an adapter's call may destroy the view
    ++m_nUpdating;
    for (int pass = 0; pass < kMaxBindPasses; ++pass) {
        m_bUpdatePending = false;
        const int total = m_locator->GetTotalHeight();
        BindVisibleRows();
        if (IsDestroyed() || !m_adapter || !m_locator) break;
        const bool measured = !m_locator->HasFixedHeight() && m_locator->GetTotalHeight() != total;
        if (measured) UpdateScrollBar();
        if (!measured && !m_bUpdatePending) break;
    }
    --m_nUpdating;
}

void SListView::BindVisibleRows()
{
    SAutoRefPtr<IListAdapter> adapter = m_adapter;
    SAutoRefPtr<IListViewItemLocator> locator = m_locator;
    const RECT client = GetListRect();
    const int width = std::max(0, GetRowWidth()), page = std::max(0L, client.bottom - client.top);
    const int pos = GetScrollPos(TRUE);
    m_nBoundPos = pos;
    const int oldFirst = m_iFirstVisible;
    const int hoverIndex = m_pHoverPanel ? int(m_pHoverPanel->GetItemIndex()) : -1;
    m_pHoverPanel = nullptr;

    SArray<ItemInfo> old;
    old.Grow(m_visible.GetCount());
    for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext) old.Add(n->data);
    m_visible.RemoveAll();

    // An adapter's call that replaced the adapter or destroyed the view ends the pass.
    auto aborted = [&] { return IsDestroyed() || m_adapter != adapter || m_locator != locator; };
    const int count = Count();
    const int first = locator->GetItemAt(pos);
    // Rows that surely leave sight give their panels up first, so rows
    // coming in take them instead of new ones. The end of sight is a guess
    // where rows are still to be measured; a panel parked too early is
    // simply taken back.
    if (oldFirst >= 0 && first >= 0) {
        int last = locator->GetItemAt(pos + std::max(1, page) - 1);
        if (last < 0) last = count - 1;
        for (int k = 0; k < old.GetCount(); ++k) {
            const int row = oldFirst + k;
            if (!old[k].panel || (row >= first && row <= last)) continue;
            ParkPanel(old[k]);
            old[k].panel = nullptr;
        }
    }
    int i = first;
    int y = i >= 0 ? locator->GetItemTop(i) : 0;
    bool stop = false;
    while (!stop && i >= 0 && i < count && y < pos + page) {
        const DWORD state = (i == hoverIndex ? DWORD(kItemStateHover) : 0u) | (i == m_iSelItem ? DWORD(kItemStateSelected) : 0u);
        int type = adapter->GetViewType(i, state);
        if (aborted()) break;
        if (type < 0 || type >= m_freeLists.GetCount()) type = 0;
        SItemPanel* panel = TakePanel(i, type, old, oldFirst);
        if (!panel) break;
        if (!m_visible.AddTail(ItemInfo{panel, type})) {
            panel->DestroyWindow();
            break;
        }
        panel->SetItemIndex(i);
        panel->SetVisible(TRUE, FALSE);
        RECT rc = {0, 0, width, locator->HasFixedHeight() ? locator->GetItemHeight(i) : page};
        panel->Move(&rc);
        panel->GetEventSet()->SetMuted(true);
        panel->ModifyItemState(state, ~state & (kItemStateHover | kItemStateSelected));
        panel->GetEventSet()->SetMuted(false);
        if (state & kItemStateHover) m_pHoverPanel = panel;
        adapter->BindItem(i, panel, m_tmplDoc.first_child());
        if (aborted()) break;
        panel->ColorizeTree(GetColorizeColor());
        if (!locator->HasFixedHeight()) {
            const RECT area = {0, 0, width, 0};
            const SIZE size = adapter->MeasureItem(i, panel, &area);
            if (aborted()) break;
            rc.bottom = std::max(0L, size.cy);
            panel->Move(&rc);
            locator->SetItemHeight(i, rc.bottom);
        }
        panel->UpdateLayout();
        y = NextRowTop(i, y, rc.bottom - rc.top);
        ++i;
    }
    if (aborted()) {
        // The rows now belong to another adapter, or to nobody: what was taken out goes.
        for (int k = 0; k < old.GetCount(); ++k)
            if (old[k].panel) {
                ForgetPanel(old[k].panel);
                old[k].panel->DestroyWindow();
            }
        return;
    }
    for (int k = 0; k < old.GetCount(); ++k)
        if (old[k].panel) ParkPanel(old[k]);
    m_iFirstVisible = m_visible.IsEmpty() ? -1 : first;
}

SItemPanel* SListView::TakePanel(int i, int type, SArray<ItemInfo>& old, int oldFirst)
{
    if (oldFirst >= 0 && i >= oldFirst && i - oldFirst < old.GetCount()) {
        ItemInfo& entry = old[i - oldFirst];
        if (entry.panel && entry.type == type) {
            SItemPanel* panel = entry.panel;
            entry.panel = nullptr;
            return panel;
        }
    }
    SList<SItemPanel*>* parked = m_freeLists[type];
    if (SList<SItemPanel*>::Node* head = parked->GetHead()) {
        SItemPanel* panel = head->data;
        parked->RemoveAt(head);
        return panel;
    }
    SItemPanel* panel = SItemPanel::CreateItemPanel(this, pugi::xml_node(), this);
    if (!panel) return nullptr;
    panel->GetEventSet()->SubscribeEvent(EventItemPanelClick::EventID, &SListView::OnItemClick, this);
    panel->SetItemIndex(i);
    return panel;
}

// A parked panel is hidden, neither selected nor hovered, with no focus inside.
void SListView::ParkPanel(const ItemInfo& info)
{
    SItemPanel* panel = info.panel;
    ForgetPanel(panel);
    if (panel->GetState() & kItemStateHover) panel->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
    panel->GetEventSet()->SetMuted(true);
    if (panel->GetState() & kItemStateSelected) {
        panel->ModifyItemState(0, kItemStateSelected);
        panel->GetFocusManager()->ClearFocus();
    }
    panel->ModifyItemState(0, kItemStateHover);
    panel->SetVisible(FALSE, FALSE);
    panel->GetEventSet()->SetMuted(false);
    if (IsDestroyed() || info.type >= m_freeLists.GetCount() || !m_freeLists[info.type]->AddTail(panel))
        panel->DestroyWindow();
}

// The lists are emptied before any panel goes: its destruction may call
// back into the view.
void SListView::DestroyPanels()
{
    SArray<SItemPanel*> panels;
    for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext) panels.Add(n->data.panel);
    m_visible.RemoveAll();
    for (int t = 0; t < m_freeLists.GetCount(); ++t) {
        for (SList<SItemPanel*>::Node* n = m_freeLists[t]->GetHead(); n; n = n->pNext) panels.Add(n->data);
        delete m_freeLists[t];
    }
    m_freeLists.RemoveAll();
    m_iFirstVisible = -1;
    m_nBoundPos = -1;
    for (int k = 0; k < panels.GetCount(); ++k) ForgetPanel(panels[k]);
    for (int k = 0; k < panels.GetCount(); ++k) panels[k]->DestroyWindow();
}

SItemPanel* SListView::GetItemPanel(int index)
{
    if (m_iFirstVisible < 0 || index < m_iFirstVisible) return nullptr;
    int i = m_iFirstVisible;
    for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext, ++i)
        if (i == index) return n->data.panel;
    return nullptr;
}

SItemPanel* SListView::SelectedPanel()
{
    return GetItemPanel(m_iSelItem);
}

// ---- IItemContainer ----

RECT SListView::GetListRect() const
{
    return GetClientRect();
}

int SListView::NextRowTop(int, int top, int height)
{
    return top + height + DividerStripHeight();
}

int SListView::DividerStripHeight()
{
    return m_locator ? m_locator->GetDividerHeight() : 0;
}

int SListView::GetRowWidth() const
{
    const RECT rc = GetListRect();
    return rc.right - rc.left;
}

RECT SListView::RowRect(int index) const
{
    RECT rc = GetListRect();
    if (!m_locator) return RECT{rc.left, rc.top, rc.left, rc.top};
    rc.top += m_locator->GetItemTop(index) - GetScrollPos(TRUE);
    rc.bottom = rc.top + m_locator->GetItemHeight(index);
    return rc;
}

RECT SListView::PanelRowRect(SItemPanel* panel)
{
    return RowRect(int(panel->GetItemIndex()));
}

BOOL SListView::GetItemRect(SItemPanel* panel, RECT* out)
{
    *out = RowRect(int(panel->GetItemIndex()));
    return TRUE;
}

// ---- selection ----

void SListView::SetSel(int index, bool notify)
{
    if (!m_adapter || index >= Count()) return;
    if (index < 0) index = -1;
    const int old = m_iSelItem;
    SAutoRefPtr<SWindow> keep(this);
    if (notify) {
        EventLVSelChanging changing(this, old, index);
        FireEvent(changing);
        if (changing.bCancel || IsDestroyed()) return;
        if (!m_adapter || index >= Count()) return;  // the handler took the row away
    }
    if (old == index) return;
    // The handler may have selected another row itself: that one shows unselected.
    const int shown = m_iSelItem;
    m_iSelItem = index;
    if (SItemPanel* panel = GetItemPanel(shown)) {
        panel->GetFocusManager()->ClearFocus();
        panel->ModifyItemState(0, kItemStateSelected);
        panel->InvalidateRect(nullptr);
    }
    if (SItemPanel* panel = GetItemPanel(index)) {
        panel->ModifyItemState(kItemStateSelected, 0);
        panel->InvalidateRect(nullptr);
    }
    if (!notify) return;
    EventLVSelChanged changed(this, old, index);
    FireEvent(changed);
}

bool SListView::OnItemClick(EventArgs& args)
{
    SItemPanel* panel = static_cast<SItemPanel*>(args.sender);
    const int index = int(panel->GetItemIndex());
    if (index != m_iSelItem) SetSel(index, true);
    return true;
}

// ---- painting ----

void SListView::OnLvPaint(IRenderTarget* rt)
{
    if (!rt) return;
    if (m_bDataSetInvalidated) {
        UpdateVisibleItems();
        m_bDataSetInvalidated = false;
    }
    SPaintState saved;
    BeforePaint(rt, saved);
    if (m_iFirstVisible != -1 && m_locator) {
        const RECT list = GetListRect();
        rt->PushClipRect(&list, RGN_AND);
        RECT box;
        rt->GetClipBox(&box);
        const int strip = DividerStripHeight();
        int index = m_iFirstVisible;
        for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext, ++index) {
            const RECT row = RowRect(index);
            RECT meet;
            if (::IntersectRect(&meet, &row, &box)) n->data.panel->Draw(rt, row);
            if (m_pDividerSkin && strip > 0) {
                const RECT divider = {row.left, row.bottom, row.right, row.bottom + strip};
                m_pDividerSkin->Draw(rt, &divider, 0);
            }
        }
        rt->PopClip();
    }
    AfterPaint(rt, saved);
}

void SListView::SetColorizeColor(COLORREF color)
{
    SPanel::SetColorizeColor(color);
    for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext) n->data.panel->ColorizeTree(color);
}

// ---- mouse ----

SItemPanel* SListView::PanelFromPoint(POINT pt, RECT* rowOut)
{
    int index = m_iFirstVisible;
    for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext, ++index) {
        const RECT row = RowRect(index);
        if (::PtInRect(&row, pt)) {
            if (rowOut) *rowOut = row;
            return n->data.panel;
        }
    }
    return nullptr;
}

// ---- keyboard ----

void SListView::ChooseRow(int index)
{
    EnsureVisible(index);
    SetSel(index, false);
}

LRESULT SListView::OnLvKeyDown(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_adapter) {
        SetMsgHandled(FALSE);
        return 0;
    }
    SAutoRefPtr<SWindow> keep(this);
    if (PanelTakesKey(msg, wParam, lParam)) return 0;
    const UINT vk = UINT(wParam);
    if ((vk == VK_ESCAPE || vk == VK_RETURN) && GetOwner()) {
        GetOwner()->SendSwndMessage(msg, wParam, lParam);
        return 0;
    }
    const int count = Count();
    if (vk == VK_DOWN || vk == VK_UP) {
        if (vk == VK_DOWN && m_iSelItem < count - 1) ChooseRow(m_iSelItem + 1);
        else if (vk == VK_UP && m_iSelItem > 0) ChooseRow(m_iSelItem - 1);
        return 0;
    }
    int target;
    if (!ScrollForKey(vk, &target)) {
        SetMsgHandled(FALSE);
        return 0;
    }
    if (target >= 0) ChooseRow(target);
    return 0;
}

bool SListView::PanelTakesKey(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_bWantTab) return false;
    SAutoRefPtr<SItemPanel> panel = SelectedPanel();
    if (!panel) return false;
    panel->DispatchHostMessage(msg, wParam, lParam);
    return panel->IsMsgHandled() || IsDestroyed();
}

bool SListView::ScrollForKey(UINT vk, int* target)
{
    UINT code;
    bool toFirst;
    switch (vk) {
    case VK_PRIOR: code = SB_PAGEUP, toFirst = true; break;
    case VK_NEXT: code = SB_PAGEDOWN, toFirst = false; break;
    case VK_HOME: code = SB_TOP, toFirst = true; break;
    case VK_END: code = SB_BOTTOM, toFirst = false; break;
    default: return false;
    }
    OnScroll(TRUE, code, 0);
    if (IsDestroyed() || m_visible.IsEmpty()) *target = -1;
    else *target = toFirst ? m_iFirstVisible : m_iFirstVisible + m_visible.GetCount() - 1;
    return true;
}

// ---- focus, size, end ----

void SListView::OnLvSize(UINT type, SIZE size)
{
    SWindow::OnSize(type, size);
    UpdateScrollBar();
    if (!m_locator) return;
    const int width = GetRowWidth();
    int index = m_iFirstVisible;
    for (SList<ItemInfo>::Node* n = m_visible.GetHead(); n; n = n->pNext, ++index) {
        const RECT rc = {0, 0, width, m_locator->GetItemHeight(index)};
        n->data.panel->Move(&rc);
    }
    UpdateVisibleItems();
}

void SListView::OnLvDestroy()
{
    DetachAdapter();
    m_observer->Detach();
    DestroyPanels();
    SWindow::OnDestroy();
}

}  // namespace WUI
