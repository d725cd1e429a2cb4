#include "itemviews/STreeView.h"

#include "controls/ControlAttr.h"
#include "core/XmlLookup.h"

#include <algorithm>
#include <new>

namespace WUI {

namespace {

// Items bound in one pass, whatever the adapter's heights.
const int kMaxBoundItems = 10000;

}  // namespace

void STreeViewDataSetObserver::OnBranchChanged(HSTREEITEM item)
{
    if (m_view) m_view->OnBranchChanged(item);
}

void STreeViewDataSetObserver::OnBranchInvalidated(HSTREEITEM item)
{
    if (m_view) m_view->OnBranchChanged(item);
}

void STreeViewDataSetObserver::OnBranchExpandStateChanged(HSTREEITEM item, BOOL oldExpanded, BOOL newExpanded)
{
    if (m_view) m_view->OnBranchExpandStateChanged(item, oldExpanded, newExpanded);
}

STreeView::STreeView()
{
    m_observer.Attach(new STreeViewDataSetObserver(this));
    m_locator.Attach(new STreeViewItemLocator(10));
    m_dwFlags |= kFlagFocusable;
    SPanel::SetAttribute(L"updateInterval", L"40", TRUE);
    m_evtSet.AddEvent<EventTVSelChanging>();
    m_evtSet.AddEvent<EventTVSelChanged>();
}

STreeView::~STreeView()
{
    DetachAdapter();
    m_observer->Detach();
    for (const ItemInfo& info : m_visible) info.panel->GetEventSet()->SetMuted(true);
    for (auto& list : m_freeLists)
        for (SItemPanel* panel : list) panel->GetEventSet()->SetMuted(true);
    m_pHoverPanel = m_pCapturePanel = nullptr;
    DestroyPanels();
}

int STreeView::GetPanelCount() const
{
    int n = int(m_visible.size());
    for (const auto& list : m_freeLists) n += int(list.size());
    return n;
}

// ---- attributes and template ----

HRESULT STreeView::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr;
    if (_wcsicmp(name, L"indent") == 0) {
        int indent;
        // A new locator mid-life would lose every size the old one recorded.
        if (!loading || !AttrParseInt(value, indent, false, 0, 0x7FFF)) return E_FAIL;
        SAutoRefPtr<ITreeViewItemLocator> locator;
        locator.Attach(new (std::nothrow) STreeViewItemLocator(indent));
        if (!locator) return E_FAIL;
        m_locator = locator;
        m_locator->SetAdapter(m_adapter);
        hr = S_OK;
    } else if (_wcsicmp(name, L"wantTab") == 0) {
        hr = AttrParseInt(value, m_bWantTab) ? S_FALSE : E_FAIL;
    } else {
        return SPanel::SetAttribute(name, value, loading);
    }
    return AfterSetAttribute(name, value, hr);
}

BOOL STreeView::CreateChildren(pugi::xml_node node)
{
    pugi::xml_node tmpl = XmlChildNoCase(node, L"template");
    if (tmpl) {
        m_tmplDoc.reset();
        m_tmplDoc.append_copy(tmpl);
    }
    return TRUE;
}

// ---- adapter ----

void STreeView::DetachAdapter()
{
    if (m_bObserving && m_adapter) m_adapter->UnregisterObserver(m_observer);
    m_bObserving = false;
}

bool STreeView::SetAdapter(ITreeAdapter* adapter)
{
    if (IsDestroyed()) return false;
    SAutoRefPtr<ITreeAdapter> keep(adapter);
    DetachAdapter();
    // The old adapter's panels show its items: none of them stays.
    DestroyPanels();
    m_hSelected = 0;
    m_adapter = adapter;
    m_locator->SetAdapter(adapter);
    if (!adapter) {
        UpdateScrollBar();
        return true;
    }
    adapter->RegisterObserver(m_observer);
    m_bObserving = true;
    adapter->InitFromTemplate(m_tmplDoc.first_child());
    if (m_adapter != adapter || IsDestroyed()) return true;  // replaced from inside the call
    const int types = ClampViewTypes(adapter->GetViewTypeCount());
    m_freeLists.assign(types, std::vector<SItemPanel*>());
    OnBranchChanged(STVI_ROOT);
    return true;
}

void STreeView::OnBranchChanged(HSTREEITEM item)
{
    if (!m_adapter || IsDestroyed()) return;
    m_locator->OnBranchChanged(item);
    UpdateScrollBar();
    UpdateVisibleItems();
}

void STreeView::OnBranchExpandStateChanged(HSTREEITEM item, BOOL oldExpanded, BOOL newExpanded)
{
    if (!m_adapter || IsDestroyed()) return;
    m_locator->OnExpandStateChanged(item, oldExpanded, newExpanded);
    UpdateScrollBar();
    UpdateVisibleItems();
}

// ---- scrolling ----

void STreeView::UpdateScrollBar()
{
    const RECT client = GetClientRect();
    const int c = std::max(0L, client.right - client.left), b = std::max(0L, client.bottom - client.top);
    const int s = GetSbWidth();
    const int W = m_adapter ? m_locator->GetTotalWidth() : 0, H = m_adapter ? m_locator->GetTotalHeight() : 0;
    const bool horzAllowed = m_adapter && !m_adapter->IsHorzScrollDisabled();
    m_wBarVisible = SSB_NULL;
    int hpos = m_siHoz.nPos, vpos = m_siVer.nPos;
    if (b < H || (b < H + s && c < W)) {
        m_wBarVisible |= SSB_VERT;
        m_siVer.nMin = 0;
        m_siVer.nMax = H - 1;
        m_siVer.nPage = UINT(b);
        if (c - s < W && horzAllowed) {
            m_wBarVisible |= SSB_HORZ;
            m_siHoz.nMin = 0;
            m_siHoz.nMax = W - 1;
            m_siHoz.nPage = UINT(std::max(0, c - s));
            m_siVer.nPage = UINT(std::max(0, b - s));
        }
    } else {
        vpos = 0;
        m_siVer.nMin = 0;
        m_siVer.nMax = std::max(0, b - 1);
        m_siVer.nPage = UINT(b);
        if (c < W && horzAllowed) {
            m_wBarVisible |= SSB_HORZ;
            m_siHoz.nMin = 0;
            m_siHoz.nMax = W - 1;
            m_siHoz.nPage = UINT(c);
        }
    }
    if (!(m_wBarVisible & SSB_HORZ)) {
        hpos = 0;
        m_siHoz.nMin = 0;
        m_siHoz.nMax = std::max(0, c - 1);
        m_siHoz.nPage = UINT(c);
    }
    if ((m_wBarVisible & SSB_HORZ) && hpos + int(m_siHoz.nPage) > W) hpos = std::max(0, W - int(m_siHoz.nPage));
    if ((m_wBarVisible & SSB_VERT) && vpos + int(m_siVer.nPage) > H) vpos = std::max(0, H - int(m_siVer.nPage));
    // Every caller binds the rows next: the moves of the bars bind nothing.
    const bool was = m_bSettingBar;
    m_bSettingBar = true;
    SetScrollPos(FALSE, hpos, TRUE);
    SetScrollPos(TRUE, vpos, TRUE);
    m_bSettingBar = was;
    SendSwndMessage(WM_NCCALCSIZE);
    Invalidate();
}

int STreeView::GetScrollLineSize(BOOL)
{
    return m_locator->GetLineStep();
}

BOOL STreeView::OnScroll(BOOL vertical, UINT code, int pos)
{
    const int before = GetScrollPos(vertical);
    SPanel::OnScroll(vertical, code, pos);
    if (vertical && !m_bSettingBar && GetScrollPos(TRUE) != before) {
        UpdateVisibleItems();
        if (code == SB_THUMBTRACK) ThrottledUpdate();
    }
    return TRUE;
}

void STreeView::ScrollToShow(BOOL vertical, int start, int size)
{
    const int pos = GetScrollPos(vertical);
    const int page = int(GetScrollInfo(vertical).nPage);
    if (start <= pos || start + size <= pos) OnScroll(vertical, SB_THUMBPOSITION, start);
    else if (start + size > pos + page) OnScroll(vertical, SB_THUMBPOSITION, start + size - page);
}

void STreeView::EnsureVisible(HSTREEITEM item)
{
    if (!m_adapter || !item || item == STVI_ROOT) return;
    SAutoRefPtr<SWindow> keep(this);
    SAutoRefPtr<ITreeAdapter> adapter = m_adapter;
    std::vector<HSTREEITEM> ancestors;
    for (HSTREEITEM up = adapter->GetParentItem(item); up && up != STVI_ROOT && ancestors.size() < 1024;
         up = adapter->GetParentItem(up))
        ancestors.push_back(up);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        if (!adapter->IsItemExpanded(*it)) adapter->ExpandItem(*it, kTvExpand);
        if (IsDestroyed() || m_adapter != adapter) return;
    }
    const int top = m_locator->GetItemTop(item);
    if (top < 0) return;
    ScrollToShow(TRUE, top, m_locator->GetItemHeight(item));
    ScrollToShow(FALSE, m_locator->GetItemIndent(item), m_locator->GetItemWidth(item));
}

// ---- binding ----

void STreeView::UpdateVisibleItems()
{
    if (!m_adapter) return;
    if (m_nUpdating) {  // from inside a pass: run once more after it
        m_bUpdatePending = true;
        return;
    }
    SAutoRefPtr<SWindow> keep(this);
    ++m_nUpdating;
    // Measured sizes change the totals: the bars and the rows once more,
    // a bounded number of times.
    for (int pass = 0; pass < kMaxBindPasses; ++pass) {
        m_bUpdatePending = false;
        const int w = m_locator->GetTotalWidth(), h = m_locator->GetTotalHeight();
        if (!BindVisibleRows() || IsDestroyed() || !m_adapter) break;
        const bool changed = w != m_locator->GetTotalWidth() || h != m_locator->GetTotalHeight();
        if (changed) UpdateScrollBar();
        if (!changed && !m_bUpdatePending) break;
    }
    --m_nUpdating;
}

bool STreeView::BindVisibleRows()
{
    SAutoRefPtr<ITreeAdapter> adapter = m_adapter;
    SAutoRefPtr<ITreeViewItemLocator> locator = m_locator;
    auto aborted = [&] { return IsDestroyed() || m_adapter != adapter || m_locator != locator; };
    const RECT client = GetClientRect();
    const int width = std::max(0L, client.right - client.left), page = std::max(0L, client.bottom - client.top);
    const int pos = GetScrollPos(TRUE);
    const HSTREEITEM hoverItem = m_pHoverPanel ? HSTREEITEM(m_pHoverPanel->GetItemIndex()) : 0;

    std::unordered_map<HSTREEITEM, ItemInfo> old;
    old.swap(m_visibleMap);
    m_visible.clear();
    HSTREEITEM item = locator->GetItemAt(pos);
    int y = item ? locator->GetItemTop(item) - pos : 0;
    bool ok = true;
    while (item && y < page && int(m_visible.size()) < kMaxBoundItems) {
        int type = adapter->GetViewType(item);
        if (aborted()) {
            ok = false;
            break;
        }
        if (type < 0 || type >= int(m_freeLists.size())) type = 0;
        SItemPanel* panel = nullptr;
        auto found = old.find(item);
        if (found != old.end() && found->second.type == type) {
            panel = found->second.panel;
            old.erase(found);
        } else {
            panel = TakePanel(type);
        }
        if (!panel) break;
        panel->SetItemIndex(LPARAM(item));
        const ItemInfo info{panel, type, item};
        m_visibleMap[item] = info;
        m_visible.push_back(info);
        panel->SetVisible(TRUE, FALSE);
        const DWORD state = (item == m_hSelected ? DWORD(kItemStateSelected) : 0u) |
                            (item == hoverItem ? DWORD(kItemStateHover) : 0u);
        panel->GetEventSet()->SetMuted(true);
        panel->ModifyItemState(state, ~state & (kItemStateHover | kItemStateSelected));
        panel->GetEventSet()->SetMuted(false);
        adapter->BindItem(item, panel, m_tmplDoc.first_child());
        if (aborted()) {
            ok = false;
            break;
        }
        panel->ColorizeTree(GetColorizeColor());
        const int indent = locator->GetItemIndent(item);
        const RECT area = {indent, 0, width, 10000};
        const SIZE size = adapter->MeasureItem(item, panel, &area);
        if (aborted()) {
            ok = false;
            break;
        }
        const RECT rc = {0, 0, std::max(0L, size.cx), std::max(0L, size.cy)};
        panel->Move(&rc);
        locator->RecordItemWidth(item, rc.right);
        locator->RecordItemHeight(item, rc.bottom);
        panel->UpdateLayout();
        y += rc.bottom;
        if (y >= page) break;
        item = adapter->GetNextVisibleItem(item);
        if (aborted()) {
            ok = false;
            break;
        }
    }
    if (m_pHoverPanel && m_visibleMap.find(hoverItem) == m_visibleMap.end()) m_pHoverPanel = nullptr;
    for (auto& entry : old) {
        if (ok) {
            ParkPanel(entry.second);
        } else {
            // The rows now belong to another adapter, or to nobody: what was taken out goes.
            ForgetPanel(entry.second.panel);
            entry.second.panel->DestroyWindow();
        }
    }
    return ok;
}

SItemPanel* STreeView::TakePanel(int type)
{
    std::vector<SItemPanel*>& parked = m_freeLists[type];
    if (!parked.empty()) {
        SItemPanel* panel = parked.back();
        parked.pop_back();
        return panel;
    }
    SItemPanel* panel = SItemPanel::CreateItemPanel(this, pugi::xml_node(), this);
    if (!panel) return nullptr;
    panel->GetEventSet()->SubscribeEvent(EventItemPanelClick::EventID, &STreeView::OnItemClick, this);
    panel->GetEventSet()->SubscribeEvent(EventItemPanelDbclick::EventID, &STreeView::OnItemDbClick, this);
    return panel;
}

// A parked panel is hidden, neither selected nor hovered, with no focus inside.
void STreeView::ParkPanel(const ItemInfo& info)
{
    SItemPanel* panel = info.panel;
    const bool hovered = panel == m_pHoverPanel;
    ForgetPanel(panel);
    if (hovered || (panel->GetState() & kItemStateHover)) panel->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
    panel->GetEventSet()->SetMuted(true);
    if (panel->GetState() & kItemStateSelected) {
        panel->ModifyItemState(0, kItemStateSelected);
        panel->GetFocusManager()->ClearFocus();
    }
    panel->ModifyItemState(0, kItemStateHover);
    panel->SetVisible(FALSE, FALSE);
    panel->GetEventSet()->SetMuted(false);
    if (IsDestroyed() || info.type >= int(m_freeLists.size())) {
        panel->DestroyWindow();
        return;
    }
    m_freeLists[info.type].push_back(panel);
}

// The lists are emptied before any panel goes: its destruction may call back.
void STreeView::DestroyPanels()
{
    std::vector<SItemPanel*> panels;
    for (const ItemInfo& info : m_visible) panels.push_back(info.panel);
    for (auto& list : m_freeLists) panels.insert(panels.end(), list.begin(), list.end());
    m_visible.clear();
    m_visibleMap.clear();
    m_freeLists.clear();
    for (SItemPanel* panel : panels) ForgetPanel(panel);
    m_pHoverPanel = m_pCapturePanel = nullptr;
    for (SItemPanel* panel : panels) panel->DestroyWindow();
}

SItemPanel* STreeView::GetItemPanel(HSTREEITEM item)
{
    auto found = m_visibleMap.find(item);
    return found == m_visibleMap.end() ? nullptr : found->second.panel;
}

SItemPanel* STreeView::SelectedPanel()
{
    return m_hSelected ? GetItemPanel(m_hSelected) : nullptr;
}

// ---- IItemContainer ----

RECT STreeView::ItemRect(HSTREEITEM item)
{
    const RECT client = GetClientRect();
    RECT rc;
    rc.left = client.left + m_locator->GetItemIndent(item) - GetScrollPos(FALSE);
    rc.right = rc.left + m_locator->GetItemWidth(item);
    rc.top = client.top + m_locator->GetItemTop(item) - GetScrollPos(TRUE);
    rc.bottom = rc.top + m_locator->GetItemHeight(item);
    return rc;
}

RECT STreeView::PanelRowRect(SItemPanel* panel)
{
    return ItemRect(HSTREEITEM(panel->GetItemIndex()));
}

BOOL STreeView::GetItemRect(SItemPanel* panel, RECT* out)
{
    const HSTREEITEM item = HSTREEITEM(panel->GetItemIndex());
    if (!m_adapter || !item || m_locator->GetItemTop(item) < 0) return FALSE;
    *out = ItemRect(item);
    return TRUE;
}

// ---- selection ----

void STreeView::SetSel(HSTREEITEM item, bool notify)
{
    if (!m_adapter) return;
    SAutoRefPtr<SWindow> keep(this);
    const HSTREEITEM old = m_hSelected;
    if (notify) {
        EventTVSelChanging changing(this, old, item);
        FireEvent(changing);
        if (changing.bCancel || IsDestroyed()) return;
    }
    if (old == item) return;
    // The handler may have selected another item itself: that one shows unselected.
    if (SItemPanel* panel = GetItemPanel(m_hSelected)) {
        panel->GetFocusManager()->ClearFocus();
        panel->ModifyItemState(0, kItemStateSelected);
        panel->InvalidateRect(nullptr);
    }
    m_hSelected = item;
    if (SItemPanel* panel = GetItemPanel(item)) {
        panel->ModifyItemState(kItemStateSelected, 0);
        panel->InvalidateRect(nullptr);
    }
    if (!notify) return;
    EventTVSelChanged changed(this, old, item);
    FireEvent(changed);
}

bool STreeView::OnItemClick(EventArgs& args)
{
    const HSTREEITEM item = HSTREEITEM(static_cast<SItemPanel*>(args.sender)->GetItemIndex());
    if (item != m_hSelected) SetSel(item, true);
    return true;
}

bool STreeView::OnItemDbClick(EventArgs& args)
{
    const HSTREEITEM item = HSTREEITEM(static_cast<SItemPanel*>(args.sender)->GetItemIndex());
    if (m_adapter && m_adapter->HasChildren(item)) {
        SAutoRefPtr<ITreeAdapter> adapter = m_adapter;
        adapter->ExpandItem(item, kTvToggle);
    }
    return true;
}

// ---- painting ----

void STreeView::OnTvPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    if (m_adapter && !m_visible.empty()) {
        const RECT client = GetClientRect();
        rt->PushClipRect(&client, RGN_AND);
        RECT box;
        rt->GetClipBox(&box);
        int top = m_locator->GetItemTop(m_visible.front().item) - GetScrollPos(TRUE);
        for (const ItemInfo& info : m_visible) {
            RECT rc;
            rc.left = client.left + m_locator->GetItemIndent(info.item) - GetScrollPos(FALSE);
            rc.right = rc.left + m_locator->GetItemWidth(info.item);
            rc.top = client.top + top;
            rc.bottom = rc.top + m_locator->GetItemHeight(info.item);
            RECT meet;
            if (::IntersectRect(&meet, &rc, &box)) info.panel->Draw(rt, rc);
            top += rc.bottom - rc.top;
        }
        rt->PopClip();
    }
    AfterPaint(rt, saved);
}

void STreeView::SetColorizeColor(COLORREF color)
{
    SPanel::SetColorizeColor(color);
    for (const ItemInfo& info : m_visible) info.panel->ColorizeTree(color);
}

// ---- mouse ----

SItemPanel* STreeView::PanelFromPoint(POINT pt, RECT* rowOut)
{
    for (const ItemInfo& info : m_visible) {
        const RECT rc = ItemRect(info.item);
        if (::PtInRect(&rc, pt)) {
            if (rowOut) *rowOut = rc;
            return info.panel;
        }
    }
    return nullptr;
}

// Its panel shows itself unselected.
void STreeView::OnPressOnEmpty()
{
    if (!m_hSelected) return;
    if (SAutoRefPtr<SItemPanel> panel = SelectedPanel()) {
        panel->DispatchHostMessage(WM_KILLFOCUS, 0, 0);
        panel->GetEventSet()->SetMuted(true);
        panel->ModifyItemState(0, kItemStateSelected);
        panel->GetEventSet()->SetMuted(false);
        panel->InvalidateRect(nullptr);
    }
    m_hSelected = 0;
}

// ---- keyboard ----

void STreeView::ChooseItem(HSTREEITEM item)
{
    if (!item) return;
    SAutoRefPtr<SWindow> keep(this);
    EnsureVisible(item);
    if (!IsDestroyed()) SetSel(item, false);
}

LRESULT STreeView::OnTvKeyDown(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_adapter) {
        SetMsgHandled(FALSE);
        return 0;
    }
    SAutoRefPtr<SWindow> keep(this);
    SAutoRefPtr<ITreeAdapter> adapter = m_adapter;
    if (m_bWantTab) {
        if (SAutoRefPtr<SItemPanel> panel = SelectedPanel()) {
            panel->DispatchHostMessage(msg, wParam, lParam);
            if (panel->IsMsgHandled() || IsDestroyed()) return 0;
        }
    }
    const UINT vk = UINT(wParam);
    if ((vk == VK_ESCAPE || vk == VK_RETURN) && GetOwner()) {
        GetOwner()->SendSwndMessage(msg, wParam, lParam);
        return 0;
    }
    const HSTREEITEM sel = m_hSelected;
    switch (vk) {
    case VK_PRIOR: OnScroll(TRUE, SB_PAGEUP, 0); return 0;
    case VK_NEXT: OnScroll(TRUE, SB_PAGEDOWN, 0); return 0;
    case VK_HOME: OnScroll(TRUE, SB_TOP, 0); return 0;
    case VK_END: OnScroll(TRUE, SB_BOTTOM, 0); return 0;
    case VK_LEFT:
        if (sel && adapter->HasChildren(sel) && adapter->IsItemExpanded(sel)) adapter->ExpandItem(sel, kTvCollapse);
        else if (sel) ChooseItem(adapter->GetPrevVisibleItem(sel));
        return 0;
    case VK_RIGHT:
        if (sel && adapter->HasChildren(sel) && !adapter->IsItemExpanded(sel)) adapter->ExpandItem(sel, kTvExpand);
        else if (sel) ChooseItem(adapter->GetNextVisibleItem(sel));
        return 0;
    case VK_UP: ChooseItem(sel ? adapter->GetPrevVisibleItem(sel) : adapter->GetFirstVisibleItem()); return 0;
    case VK_DOWN: ChooseItem(sel ? adapter->GetNextVisibleItem(sel) : adapter->GetFirstVisibleItem()); return 0;
    default: break;
    }
    return OnItemKeyEvent(msg, wParam, lParam);
}

// ---- focus, size, end ----

void STreeView::OnTvSize(UINT type, SIZE size)
{
    SWindow::OnSize(type, size);
    if (!m_adapter) return;
    UpdateScrollBar();
    UpdateVisibleItems();
}

void STreeView::OnTvDestroy()
{
    DetachAdapter();
    m_observer->Detach();
    DestroyPanels();
    SWindow::OnDestroy();
}

}  // namespace WUI
