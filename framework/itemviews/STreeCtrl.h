// "treectrl": a tree of text items that the control owns and draws itself,
// row by row in a scroll view: toggle buttons, tri-state check boxes and
// icons from skins, one row height, rows indented by their level. Items
// come from nested "item" elements of the layout or from code.
#pragma once

#include "controls/SScrollView.h"
#include "itemviews/CSTree.h"
#include "itemviews/TreeItemHandle.h"

#include <unordered_set>
#include <vector>

namespace WUI {

// One item as the control keeps it.
struct tagTVITEM {
    SStringW strText;
    int nImage = -1;
    int nSelectedImage = -1;  // -1: the image also when selected
    LPARAM lParam = 0;
    HSTREEITEM hItem = 0;
    BOOL bCollapsed = FALSE;
    BOOL bVisible = TRUE;  // FALSE while an ancestor is collapsed
    BOOL bHasChildren = FALSE;
    int nLevel = 0;
    int nCheckBoxValue = 0;  // 0 unchecked, 1 checked, 2 partly checked
    int nContentWidth = 0;
    DWORD dwToggleState = 0;    // kPartHover, kPartPushed
    DWORD dwCheckBoxState = 0;  // the same
    int nRow = -1;              // the control's cache of its row while visible
};
typedef tagTVITEM* LPTVITEM;

// Compares two items for SortChildren: context, then pointers to the two
// items' handles; negative, 0 or positive.
typedef int(__cdecl* FunTreeSortCallback)(void* context, const void* a, const void* b);

class EventTCSelChanging : public TplEventArgs<EventTCSelChanging> {
public:
    EventTCSelChanging(SWindow* sender, HSTREEITEM oldSel, HSTREEITEM newSel)
        : TplEventArgs<EventTCSelChanging>(sender), hOldSel(oldSel), hNewSel(newSel)
    {
    }
    HSTREEITEM hOldSel;
    HSTREEITEM hNewSel;
    BOOL bCancel = FALSE;
};

class EventTCSelChanged : public TplEventArgs<EventTCSelChanged> {
public:
    EventTCSelChanged(SWindow* sender, HSTREEITEM oldSel, HSTREEITEM newSel)
        : TplEventArgs<EventTCSelChanged>(sender), hOldSel(oldSel), hNewSel(newSel)
    {
    }
    HSTREEITEM hOldSel;
    HSTREEITEM hNewSel;
};

class EventTCExpand : public TplEventArgs<EventTCExpand> {
public:
    EventTCExpand(SWindow* sender, HSTREEITEM item, BOOL collapsed)
        : TplEventArgs<EventTCExpand>(sender), hItem(item), bCollapsed(collapsed)
    {
    }
    HSTREEITEM hItem;
    BOOL bCollapsed;
};

class EventTCCheckState : public TplEventArgs<EventTCCheckState> {
public:
    EventTCCheckState(SWindow* sender, HSTREEITEM item, UINT state)
        : TplEventArgs<EventTCCheckState>(sender), hItem(item), uCheckState(state)
    {
    }
    HSTREEITEM hItem;
    UINT uCheckState;
};

class EventTCDbClick : public TplEventArgs<EventTCDbClick> {
public:
    EventTCDbClick(SWindow* sender, HSTREEITEM item) : TplEventArgs<EventTCDbClick>(sender), hItem(item) {}
    HSTREEITEM hItem;
    BOOL bCancel = FALSE;
};

class STreeCtrl : public SScrollView {
    WUI_SWINDOW_CLASS(STreeCtrl, SScrollView, L"treectrl")
public:
    // Bits of an item's toggle and check-box states.
    enum { kPartHover = 1, kPartPushed = 2 };
    // The parts a row shows (parts mask) and the part under the mouse.
    enum { kPartToggle = 1, kPartCheck = 2, kPartIcon = 4 };

    STreeCtrl();
    ~STreeCtrl() override;

    // ---- items ----
    // A new item under parent (STVI_ROOT or 0: top level) after the sibling
    // after (STVI_FIRST, STVI_LAST, or a child of parent; after the last is
    // last). Null, and nothing changed, for an unknown parent, an after that
    // is not parent's child, or when memory runs out. The item comes
    // unchecked; with check boxes its ancestors' states follow.
    HSTREEITEM InsertItem(LPCWSTR text, int image, int selImage, LPARAM data, HSTREEITEM parent = STVI_ROOT,
                          HSTREEITEM after = STVI_LAST, BOOL ensureVisible = FALSE);
    HSTREEITEM InsertItem(LPCWSTR text, int image, int selImage, HSTREEITEM parent = STVI_ROOT,
                          HSTREEITEM after = STVI_LAST, BOOL ensureVisible = FALSE);
    HSTREEITEM InsertItem(LPCWSTR text, HSTREEITEM parent = STVI_ROOT, HSTREEITEM after = STVI_LAST,
                          BOOL ensureVisible = FALSE);
    // Deletes the item with its branch, without events; FALSE for null or a
    // handle that is no item of this tree.
    BOOL DeleteItem(HSTREEITEM item);
    void RemoveAllItems();
    // code: kTv*; 1 when the item changed, 0 for an item without children,
    // no change, or a handle that is no item.
    BOOL Expand(HSTREEITEM item, UINT code);
    // Fires the changing event (it may refuse) and the changed one, also for
    // the current item. FALSE for null, an unknown handle, or a refusal.
    BOOL SelectItem(HSTREEITEM item, BOOL ensureVisible = TRUE);
    HSTREEITEM GetSelectedItem() const { return m_hSelItem; }
    // Expands collapsed ancestors and scrolls the least that shows the row;
    // FALSE for an unknown handle.
    BOOL EnsureVisible(HSTREEITEM item);
    // The item and its branch become checked or not; the ancestors follow
    // (partly checked where their children differ). FALSE while check boxes
    // are off or for an unknown handle.
    BOOL SetCheckState(HSTREEITEM item, BOOL checked);
    // 0 unchecked, 1 checked, 2 partly; 0 while check boxes are off.
    int GetCheckState(HSTREEITEM item) const;
    // Orders item's children (STVI_ROOT or 0: the top level) by compare, then
    // the children of every child that has children, all the way down; a
    // stable sort, whatever compare answers. When compare inserts or deletes
    // items the sort stops and those changes stand. FALSE for an unknown
    // handle or a null compare.
    BOOL SortChildren(HSTREEITEM item, FunTreeSortCallback compare, void* context);

    // ---- accessors (0, empty or FALSE for an unknown handle) ----
    BOOL IsItem(HSTREEITEM item) const;
    SStringW GetItemText(HSTREEITEM item) const;
    BOOL SetItemText(HSTREEITEM item, LPCWSTR text);
    LPARAM GetItemData(HSTREEITEM item) const;
    BOOL SetItemData(HSTREEITEM item, LPARAM data);
    BOOL GetItemImage(HSTREEITEM item, int& image, int& selImage) const;
    HSTREEITEM GetRootItem() const;
    HSTREEITEM GetParentItem(HSTREEITEM item) const;  // 0 for a top-level item
    HSTREEITEM GetChildItem(HSTREEITEM item, BOOL first = TRUE) const;
    HSTREEITEM GetNextSiblingItem(HSTREEITEM item) const;
    HSTREEITEM GetPrevSiblingItem(HSTREEITEM item) const;
    int GetChildrenCount(HSTREEITEM item) const;
    // Tree order: first child, else next sibling, else the next sibling of
    // the nearest ancestor that has one; 0 at the end.
    HSTREEITEM GetNextItem(HSTREEITEM item) const;
    int GetItemLevel(HSTREEITEM item) const;  // -1 for an unknown handle
    BOOL IsCollapsed(HSTREEITEM item) const;
    int GetCount() const { return m_tree.GetCount(); }
    int GetVisibleCount() const { return m_nVisibleItems; }

    // ---- geometry ----
    // The item whose row holds pt (the container's coordinates); pt becomes
    // relative to the row. Null (pt untouched) above or below the rows.
    HSTREEITEM ItemFromPoint(POINT& pt);
    // The row of a visible item, spanning to the client's right; empty for
    // any other handle.
    RECT GetItemRect(HSTREEITEM item);
    int GetItemHeight() const { return m_nItemHeight; }
    int GetIndent() const { return m_nIndent; }
    int GetMaxWidth() const { return m_nMaxWidth; }

    // ---- overridables ----
    virtual BOOL LoadBranch(HSTREEITEM parent, pugi::xml_node item);
    virtual void LoadItemAttributes(pugi::xml_node node, LPTVITEM item);
    virtual void UpdateItemParts();
    virtual void CalcItemContentWidth(LPTVITEM item);
    virtual int GetItemFullWidth(LPTVITEM item) const;
    // The widest full width in the item's visible branch; 0 for an invisible item.
    virtual int GetBranchWidth(HSTREEITEM item) const;
    virtual void UpdateMaxWidth();
    virtual void DrawItem(IRenderTarget* rt, const RECT& rc, HSTREEITEM item);
    virtual void OnInsertItem(LPTVITEM) {}

    // "indent", "itemHeight" (at least 1), "itemMargin", "checkBox",
    // "rightClickSel", the item skins and colours.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Items from the nested "item" elements; FALSE for an empty node.
    BOOL CreateChildren(pugi::xml_node node) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnTcPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnTcLButtonDown)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnTcLButtonUp)
        WUI_MSG_MOUSE(WM_LBUTTONDBLCLK, OnTcLButtonDblClk)
        WUI_MSG_MOUSE(WM_RBUTTONDOWN, OnTcRButtonDown)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnTcMouseMove)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnTcMouseLeave)
        WUI_MSG_WM_DESTROY(OnTcDestroy)
    WUI_SWND_MSG_MAP_END(SScrollView)

protected:
    typedef CSTree<tagTVITEM>::Node Node;

    // The live node of a handle; null for 0, a sentinel or an unknown handle.
    Node* NodeOf(HSTREEITEM item) const;
    static HSTREEITEM HandleOf(const Node* node) { return reinterpret_cast<HSTREEITEM>(node); }
    // Shows or hides the descendants of node (into children that are not
    // collapsed themselves).
    void SetBranchVisible(Node* node, BOOL visible);
    void AddRow(const tagTVITEM& item);
    void RemoveRow(const tagTVITEM& item);
    // Rows in order, rebuilt when the shown items changed.
    const std::vector<Node*>& Rows();
    int RowOf(HSTREEITEM item);
    // The view follows the widest row and the visible rows.
    void UpdateViewSize();
    // Each ancestor's check state from its children, from node upwards.
    void UpdateCheckUp(Node* node);
    // After an unchecked item was inserted under parent (its first child when firstChild).
    void CheckAfterInsert(Node* parent, bool firstChild);
    // Every content width and the widest row again (margins, indent or font changed).
    void RecalcWidths();
    // The row rectangle (client width) of row index.
    RECT RowRect(int row, int level) const;
    void RedrawItem(HSTREEITEM item);
    void InvalidatePart(HSTREEITEM item, int part);
    int PartAt(Node* node, POINT rel) const;
    void SetPartBits(Node* node, int part, DWORD add, DWORD remove);
    void SortBranch(Node* parent, FunTreeSortCallback compare, void* context);
    void TrackWidth(int width, int delta);

    void OnTcPaint(IRenderTarget* rt);
    void OnTcLButtonDown(UINT flags, POINT pt);
    void OnTcLButtonUp(UINT flags, POINT pt);
    void OnTcLButtonDblClk(UINT flags, POINT pt);
    void OnTcRButtonDown(UINT flags, POINT pt);
    void OnTcMouseMove(UINT flags, POINT pt);
    void OnTcMouseLeave();
    void OnTcDestroy();

    CSTree<tagTVITEM> m_tree;
    std::unordered_set<HSTREEITEM> m_live;  // handles of the items that exist
    HSTREEITEM m_hSelItem = 0;
    HSTREEITEM m_hHoverItem = 0;
    HSTREEITEM m_hPushItem = 0;
    int m_nVisibleItems = 0;
    int m_nItemHeight = 20;
    int m_nIndent = 16;
    int m_nItemMargin = 4;
    int m_bCheckBox = 0;
    int m_bRightClickSel = 0;
    ISkinObj* m_pItemBgSkin = nullptr;  // skins are owned by the pools
    ISkinObj* m_pItemSelSkin = nullptr;
    ISkinObj* m_pToggleSkin = nullptr;
    ISkinObj* m_pIconSkin = nullptr;
    ISkinObj* m_pCheckSkin = nullptr;
    COLORREF m_crItemBg = 0xFFFFFFFF;
    COLORREF m_crItemSelBg = 0xFF880000;
    COLORREF m_crItemText = 0xFF000000;
    COLORREF m_crItemSelText = 0xFFFFFFFF;
    UINT m_uPartsMask = 0;
    RECT m_rcToggle = {0, 0, 0, 0};
    RECT m_rcCheckBox = {0, 0, 0, 0};
    RECT m_rcIcon = {0, 0, 0, 0};
    int m_nTextOffset = 0;
    int m_nMaxWidth = 0;
    int m_nHoverPart = 0;
    int m_nPushPart = 0;

private:
    std::vector<Node*> m_rows;
    bool m_bRowsDirty = true;
    // Counts inserts and deletes, so a sort notices its compare function changed the tree.
    unsigned m_nTreeEdits = 0;
    // How many visible rows have each full width (clamped), for the widest
    // row without a walk over the tree.
    std::vector<int> m_widthCount;
    SAutoRefPtr<IRenderTarget> m_measureRt;
};

}  // namespace WUI
