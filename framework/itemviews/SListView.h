// "listview": a vertically scrolling list whose rows are item panels filled
// by the application's adapter, one panel per row in sight. Panels that
// scroll out are parked per view type and reused for rows that scroll in.
// Row geometry comes from an item locator, made from the "template" child:
// fixed height when its "itemHeight" is above 0, else measured rows
// starting at "defHeight". Usable rows need the template first, then
// SetAdapter.
#pragma once

#include "core/SList.h"
#include "itemviews/IListViewItemLocator.h"
#include "itemviews/SItemPanelHost.h"

namespace WUI {

class SListView;

// The selection is about to change; a handler sets bCancel to refuse.
class EventLVSelChanging : public TplEventArgs<EventLVSelChanging> {
public:
    EventLVSelChanging(SWindow* sender, int oldSel, int newSel)
        : TplEventArgs<EventLVSelChanging>(sender), iOldSel(oldSel), iNewSel(newSel)
    {
    }
    int iOldSel;
    int iNewSel;
    BOOL bCancel = FALSE;
};

class EventLVSelChanged : public TplEventArgs<EventLVSelChanged> {
public:
    EventLVSelChanged(SWindow* sender, int oldSel, int newSel)
        : TplEventArgs<EventLVSelChanged>(sender), iOldSel(oldSel), iNewSel(newSel)
    {
    }
    int iOldSel;
    int iNewSel;
};

// The view's observer on its adapter. It points back at the view without a
// reference; the view cuts that pointer when it goes, so an adapter that
// outlives the view (holding the observer) calls nothing freed.
class SListViewDataSetObserver : public TObjRefImpl<ILvDataSetObserver> {
public:
    explicit SListViewDataSetObserver(SListView* view) : m_view(view) {}
    void OnDataSetChanged() override;
    void OnDataSetInvalidated() override;
    // The view is gone: later notifications do nothing.
    void Detach() { m_view = nullptr; }

private:
    SListView* m_view;
};

class SListView : public SItemPanelHost {
    WUI_SWINDOW_CLASS(SListView, SPanel, L"listview")
public:
    SListView();
    ~SListView() override;

    // Gives the view its rows (null: none). Every panel of the old adapter
    // is destroyed. False, and nothing changed, before the template was read
    // (no locator yet).
    bool SetAdapter(IListAdapter* adapter);
    IListAdapter* GetAdapter() const { return m_adapter; }
    // Takes the locator (a reference) and gives it the adapter; the rows are
    // laid out again. Null is refused.
    void SetItemLocator(IListViewItemLocator* locator);
    IListViewItemLocator* GetItemLocator() const { return m_locator; }

    // notify: the changing event may refuse, the changed event follows.
    // Nothing without an adapter or for an index at or past the count, also
    // when the changing event's handler took the row away; a negative index
    // clears the selection.
    void SetSel(int index, bool notify);
    int GetSel() const { return m_iSelItem; }
    // Scrolls the least that shows the whole row; nothing for a bad index.
    void EnsureVisible(int index);
    // The panel of a row in sight; null for any other index.
    SItemPanel* GetItemPanel(int index);
    int GetFirstVisibleIndex() const { return m_iFirstVisible; }
    int GetVisibleCount() const { return m_visible.GetCount(); }
    // Panels made so far, parked ones included.
    int GetPanelCount() const;

    // The adapter's rows changed: the locator rebuilds, a selection past the
    // end goes (without events), the rows in sight are bound again.
    void OnDataSetChanged();
    // The rows in sight are bound again before the next paint.
    void OnDataSetInvalidated();
    // Binds the rows in sight: panels of rows that stay keep their row,
    // rows that scroll out are parked, new rows take parked panels first.
    void UpdateVisibleItems();
    // The vertical bar follows the locator's total height.
    virtual void UpdateScrollBar();
    // Where the rows show: the client rect here; a view with a strip of its
    // own above the rows (a header) gives less.
    virtual RECT GetListRect() const;

    // ---- IItemContainer ----
    BOOL GetItemRect(SItemPanel* panel, RECT* out) override;

    // "dividerSkin", "dividerSize", "wantTab". The size goes to the locator
    // made from the next template read; rows and strips follow the locator.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Reads the "template" child and makes the locator; no child elements.
    BOOL CreateChildren(pugi::xml_node node) override;
    void SetColorizeColor(COLORREF color) override;
    UINT GetDlgCode() const override { return m_bWantTab ? 0xFFFF : 0x80000001; }
    int GetScrollLineSize(BOOL vertical) override;
    BOOL OnScroll(BOOL vertical, UINT code, int pos) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnLvPaint)
        WUI_MSG_HANDLER(WM_KEYDOWN, OnLvKeyDown)
        WUI_MSG_WM_SIZE(OnLvSize)
        WUI_MSG_WM_DESTROY(OnLvDestroy)
    WUI_SWND_MSG_MAP_END(SItemPanelHost)

protected:
    struct ItemInfo {
        SItemPanel* panel = nullptr;
        int type = -1;
        bool operator==(const ItemInfo& o) const { return panel == o.panel && type == o.type; }
    };

    int Count() const;
    // One binding pass over the rows in sight.
    virtual void BindVisibleRows();
    // How wide a row's panel is made: the list's width here.
    virtual int GetRowWidth() const;
    // Where the row after `index` starts, given the top and height of that
    // row's panel: below it and the divider here (tiles share a row).
    virtual int NextRowTop(int index, int top, int height);
    // How high the strip below each row that the divider skin fills: the
    // locator's gap between rows (0 without a locator).
    virtual int DividerStripHeight();
    // A panel for row i of that type: the old one of the row, a parked one, or a new one.
    SItemPanel* TakePanel(int i, int type, SArray<ItemInfo>& old, int oldFirst);
    void ParkPanel(const ItemInfo& info);
    // Destroys every panel, shown and parked.
    void DestroyPanels();
    // Stops the adapter notifying this view.
    void DetachAdapter();
    // The row of a panel in the view's coordinates.
    virtual RECT RowRect(int index) const;
    RECT PanelRowRect(SItemPanel* panel) override;
    SItemPanel* PanelFromPoint(POINT pt, RECT* rowOut) override;
    SItemPanel* SelectedPanel() override;
    bool OnItemClick(EventArgs& args);
    void ChooseRow(int index);
    // With "wantTab", the selected panel sees the key first: true when it
    // handled the key or the view is gone by then.
    bool PanelTakesKey(UINT msg, WPARAM wParam, LPARAM lParam);
    // Page up and down, Home and End scroll as the bar would; target is then
    // the first (page up, Home) or last row in sight, -1 when none is or the
    // view is gone. False, nothing scrolled, for any other key.
    bool ScrollForKey(UINT vk, int* target);

    void OnLvPaint(IRenderTarget* rt);
    LRESULT OnLvKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnLvSize(UINT type, SIZE size);
    void OnLvDestroy();

    SAutoRefPtr<IListAdapter> m_adapter;
    SAutoRefPtr<SListViewDataSetObserver> m_observer;
    SAutoRefPtr<IListViewItemLocator> m_locator;
    int m_iFirstVisible = -1;
    SList<ItemInfo> m_visible;
    int m_iSelItem = -1;
    bool m_bDataSetInvalidated = false;
    SArray<SList<SItemPanel*>*> m_freeLists;  // parked panels per view type
    pugi::xml_document m_tmplDoc;
    ISkinObj* m_pDividerSkin = nullptr;  // owned by the skin pool
    int m_nDividerSize = 0;  // for the locator the next template makes
    int m_bWantTab = 0;
    int m_nBoundPos = -1;          // the scroll position the rows in sight were bound for
    int m_nUpdating = 0;           // UpdateVisibleItems running
    bool m_bUpdatePending = false;  // asked again while running
    bool m_bObserving = false;      // the observer is registered with the adapter
    bool m_bSettingBar = false;     // UpdateScrollBar moves the bar
};

}  // namespace WUI
