// "treeview": a tree supplied by an adapter, shown as rows of item panels,
// one per item in sight, scrolling both ways. Panels that scroll out are
// parked per view type and reused; the geometry of every item lives in the
// adapter's per-item integers through the tree locator. The "template"
// child is what the adapter builds panels from.
#pragma once

#include "itemviews/IListAdapter.h"
#include "itemviews/SItemPanelHost.h"
#include "itemviews/STreeViewItemLocator.h"

#include <unordered_map>
#include <vector>

namespace WUI {

class STreeView;

// The selection is about to change; a handler sets bCancel to refuse.
class EventTVSelChanging : public TplEventArgs<EventTVSelChanging> {
public:
    EventTVSelChanging(SWindow* sender, HSTREEITEM oldSel, HSTREEITEM newSel)
        : TplEventArgs<EventTVSelChanging>(sender), hOldSel(oldSel), hNewSel(newSel)
    {
    }
    HSTREEITEM hOldSel;
    HSTREEITEM hNewSel;
    int bCancel = 0;
};

class EventTVSelChanged : public TplEventArgs<EventTVSelChanged> {
public:
    EventTVSelChanged(SWindow* sender, HSTREEITEM oldSel, HSTREEITEM newSel)
        : TplEventArgs<EventTVSelChanged>(sender), hOldSel(oldSel), hNewSel(newSel)
    {
    }
    HSTREEITEM hOldSel;
    HSTREEITEM hNewSel;
};

// The view's observer on its adapter; the view cuts its back pointer when it
// goes, so an adapter that outlives the view calls nothing freed.
class STreeViewDataSetObserver : public TObjRefImpl<ITvDataSetObserver> {
public:
    explicit STreeViewDataSetObserver(STreeView* view) : m_view(view) {}
    void OnBranchChanged(HSTREEITEM item) override;
    void OnBranchInvalidated(HSTREEITEM item) override;
    void OnBranchExpandStateChanged(HSTREEITEM item, BOOL oldExpanded, BOOL newExpanded) override;
    void Detach() { m_view = nullptr; }

private:
    STreeView* m_view;
};

class STreeView : public SItemPanelHost {
    WUI_SWINDOW_CLASS(STreeView, SPanel, L"treeview")
public:
    STreeView();
    ~STreeView() override;

    // Gives the view its tree. Null: every panel is destroyed and hover,
    // capture and selection are cleared; the view then shows nothing. True.
    bool SetAdapter(ITreeAdapter* adapter);
    ITreeAdapter* GetAdapter() const { return m_adapter; }
    ITreeViewItemLocator* GetLocator() const { return m_locator; }

    // notify: the changing event may refuse, the changed event follows.
    // Nothing without an adapter.
    void SetSel(HSTREEITEM item, bool notify);
    HSTREEITEM GetSel() const { return m_hSelected; }
    // Expands the ancestors and scrolls the least that shows the item.
    void EnsureVisible(HSTREEITEM item);
    // The panel of an item in sight; null otherwise.
    SItemPanel* GetItemPanel(HSTREEITEM item);
    int GetVisibleCount() const { return int(m_visible.size()); }
    // Panels made so far, parked ones included.
    int GetPanelCount() const;

    // The observer's targets: the locator follows, then the bars and the rows in sight.
    void OnBranchChanged(HSTREEITEM item);
    void OnBranchExpandStateChanged(HSTREEITEM item, BOOL oldExpanded, BOOL newExpanded);
    void UpdateScrollBar();
    void UpdateVisibleItems();

    // ---- IItemContainer ----
    // FALSE for an item not shown.
    BOOL GetItemRect(SItemPanel* panel, RECT* out) override;

    // "indent" (only while loading: a new locator), "wantTab".
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Copies the "template" child; no child elements.
    BOOL CreateChildren(pugi::xml_node node) override;
    void SetColorizeColor(COLORREF color) override;
    UINT GetDlgCode() const override { return m_bWantTab ? 0xFFFF : 0x80000001; }
    int GetScrollLineSize(BOOL vertical) override;
    BOOL OnScroll(BOOL vertical, UINT code, int pos) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnTvPaint)
        WUI_MSG_HANDLER(WM_KEYDOWN, OnTvKeyDown)
        WUI_MSG_WM_SIZE(OnTvSize)
        WUI_MSG_WM_DESTROY(OnTvDestroy)
    WUI_SWND_MSG_MAP_END(SItemPanelHost)

protected:
    struct ItemInfo {
        SItemPanel* panel = nullptr;
        int type = 0;
        HSTREEITEM item = 0;
    };

    bool BindVisibleRows();
    SItemPanel* TakePanel(int type);
    void ParkPanel(const ItemInfo& info);
    void DestroyPanels();
    void DetachAdapter();
    RECT ItemRect(HSTREEITEM item);
    RECT PanelRowRect(SItemPanel* panel) override;
    SItemPanel* PanelFromPoint(POINT pt, RECT* rowOut) override;
    SItemPanel* SelectedPanel() override;
    // A press on empty space: the selection goes, without events.
    void OnPressOnEmpty() override;
    bool OnItemClick(EventArgs& args);
    bool OnItemDbClick(EventArgs& args);
    void ChooseItem(HSTREEITEM item);
    // Scrolls one bar the least that shows [start, start + size).
    void ScrollToShow(BOOL vertical, int start, int size);

    void OnTvPaint(IRenderTarget* rt);
    LRESULT OnTvKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnTvSize(UINT type, SIZE size);
    void OnTvDestroy();

    SAutoRefPtr<ITreeAdapter> m_adapter;
    SAutoRefPtr<STreeViewDataSetObserver> m_observer;
    SAutoRefPtr<ITreeViewItemLocator> m_locator;
    std::vector<std::vector<SItemPanel*>> m_freeLists;  // parked panels per view type
    std::vector<ItemInfo> m_visible;                     // in display order
    std::unordered_map<HSTREEITEM, ItemInfo> m_visibleMap;
    pugi::xml_document m_tmplDoc;
    HSTREEITEM m_hSelected = 0;
    int m_bWantTab = 0;
    int m_nUpdating = 0;
    bool m_bUpdatePending = false;
    bool m_bObserving = false;
    bool m_bSettingBar = false;
};

}  // namespace WUI
