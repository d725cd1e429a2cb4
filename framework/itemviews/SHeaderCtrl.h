// "header": a row of column headers drawn side by side from the client left.
// The user presses an item (click), drags a divider to resize the item on its
// left, and drags an item to another place with a translucent image of it
// following the mouse. Each item keeps an order value, its column number, so
// the views above it can tell columns apart however the user arranges them.
#pragma once

#include "core/SWindow.h"

namespace WUI {

struct ISkinObj;

// Fields a get concerns (SHDITEM::mask).
enum : UINT {
    SHDI_WIDTH = 0x01,
    SHDI_TEXT = 0x02,
    SHDI_SORTFLAG = 0x04,
    SHDI_LPARAM = 0x08,
    SHDI_ORDER = 0x10,
    SHDI_ALL = 0xFFFFFFFF,
};

// Sort marks of an item.
enum : UINT { ST_NULL = 0, ST_UP = 1, ST_DOWN = 2 };

// Look of an item.
enum : UINT { kHeaderItemNormal = 0, kHeaderItemHover = 1, kHeaderItemPressed = 2 };

// What SHeaderCtrl::GetItem fills: the caller owns the text buffer of
// cchTextMax characters (the terminating zero included).
struct SHDITEM {
    UINT mask = 0;
    int cx = 0;
    LPWSTR pszText = nullptr;
    int cchTextMax = 0;
    UINT stFlag = ST_NULL;
    LPARAM lParam = 0;
    UINT state = kHeaderItemNormal;
    int iOrder = 0;
};

// A stored item.
struct SHeaderItem {
    int width = 0;
    SStringW text;
    UINT sortFlag = ST_NULL;
    LPARAM userData = 0;
    UINT state = kHeaderItemNormal;
    int order = 0;  // column number, unique among the items
};

class EventHeaderClick : public TplEventArgs<EventHeaderClick> {
public:
    EventHeaderClick(SWindow* sender, int item) : TplEventArgs<EventHeaderClick>(sender), iItem(item) {}
    int iItem;
};

// A divider is being dragged: the item on its left has the new width already.
class EventHeaderItemChanging : public TplEventArgs<EventHeaderItemChanging> {
public:
    EventHeaderItemChanging(SWindow* sender, int item, int width)
        : TplEventArgs<EventHeaderItemChanging>(sender), iItem(item), nWidth(width)
    {
    }
    int iItem;
    int nWidth;
};

// The divider was let go.
class EventHeaderItemChanged : public TplEventArgs<EventHeaderItemChanged> {
public:
    EventHeaderItemChanged(SWindow* sender, int item, int width)
        : TplEventArgs<EventHeaderItemChanged>(sender), iItem(item), nWidth(width)
    {
    }
    int iItem;
    int nWidth;
};

// An item was dragged from one place to another: it now stands at iNewIndex.
class EventHeaderItemSwap : public TplEventArgs<EventHeaderItemSwap> {
public:
    EventHeaderItemSwap(SWindow* sender, int oldIndex, int newIndex)
        : TplEventArgs<EventHeaderItemSwap>(sender), iOldIndex(oldIndex), iNewIndex(newIndex)
    {
    }
    int iOldIndex;
    int iNewIndex;
};

// Hit values: low word the item on the left, high word the item on the right;
// both equal: the body of that item; different: the divider between them.
inline int HeaderHitLeft(DWORD hit)
{
    return LOWORD(hit);
}
inline int HeaderHitRight(DWORD hit)
{
    return HIWORD(hit);
}
inline bool HeaderHitIsBody(DWORD hit)
{
    return hit != DWORD(-1) && LOWORD(hit) == HIWORD(hit);
}
inline bool HeaderHitIsDivider(DWORD hit)
{
    return hit != DWORD(-1) && LOWORD(hit) != HIWORD(hit);
}
// The right side of the divider after the last item.
const WORD kHeaderHitNone = 0xFFFF;

class SHeaderCtrl : public SWindow {
    WUI_SWINDOW_CLASS(SHeaderCtrl, SWindow, L"header")
public:
    SHeaderCtrl();
    ~SHeaderCtrl() override;

    // The first header among parent's children, placed along parent's top
    // at that height; null when parent has none.
    static SHeaderCtrl* PlaceFirstChild(SWindow* parent, int height);

    // ---- items ----
    // Index -1 (or past the end) appends. The item's order is its index;
    // every other order at or above it moves up by one. Returns the index
    // the item got.
    int InsertItem(int index, LPCWSTR text, int width, UINT sortFlag, LPARAM data);
    // Copies the fields named by the mask. False for an index out of range,
    // or when the text is asked for and the buffer has no room for it and
    // its terminating zero (then nothing is copied).
    BOOL GetItem(int index, SHDITEM* item) const;
    // Every order above the deleted one's moves down by one. False for an
    // index out of range.
    BOOL DeleteItem(int index);
    void DeleteAllItems();
    int GetItemCount() const { return m_items.GetCount(); }
    // -1 for an index out of range.
    int GetItemWidth(int index) const;
    // The item's column number; -1 for an index out of range.
    int GetItemOrder(int index) const;
    // The display index of the item with that column number; -1 when none has it.
    int GetIndexOfOrder(int order) const;
    // Empty for an index out of range.
    RECT GetItemRect(int index) const;
    int GetTotalWidth() const;
    // Redraws the item when its flag changes; false for an index out of range.
    BOOL SetItemSort(int index, UINT flag);
    // Null for an index out of range.
    const SHeaderItem* GetItemInfo(int index) const;

    // -1 outside the client rect or right of the items; else a hit value.
    DWORD HitTest(POINT pt) const;
    BOOL IsDragging() const { return m_bDragging; }
    // The place a dragged item would land at; -1 while no item is dragged.
    int GetDropIndex() const { return m_dropIndex; }

    // One item in its rectangle: skin, text, sort mark.
    virtual void DrawItem(IRenderTarget* rt, const RECT& rect, const SHeaderItem& item);

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Recolours both skins too.
    void SetColorizeColor(COLORREF color) override;
    // Reads the "items" child; false (nothing made) without one.
    BOOL CreateChildren(pugi::xml_node node) override;
    // The sizing cursor over a divider while widths may change.
    BOOL OnSetCursor(POINT pt) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnHeaderPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnHeaderLButtonDown)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnHeaderLButtonUp)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnHeaderMouseMove)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnHeaderMouseLeave)
        WUI_MSG_HANDLER(WM_ACTIVATEAPP, OnHeaderActivateApp)
        WUI_MSG_WM_DESTROY(OnHeaderDestroy)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    void OnHeaderPaint(IRenderTarget* rt);
    void OnHeaderLButtonDown(UINT flags, POINT pt);
    void OnHeaderLButtonUp(UINT flags, POINT pt);
    void OnHeaderMouseMove(UINT flags, POINT pt);
    void OnHeaderMouseLeave();
    LRESULT OnHeaderActivateApp(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnHeaderDestroy();

    bool Clickable() const { return m_bSortHeader != 0; }
    bool IsValid(int index) const { return index >= 0 && index < m_items.GetCount(); }
    void SetItemState(int index, UINT state);
    // Paints one item again at once.
    void RedrawItem(int index);
    // The items with the dragged one taken out and a gap where it would land.
    void DrawDraggingState(IRenderTarget* rt);
    void RedrawDraggingState();
    void BeginItemDrag();
    void MoveItemDrag(POINT pt);
    void ResizeByDivider(POINT pt);
    // Moves the dragged item to the drop index; fires the swap event.
    void DropItem(int from, int to);
    // Drag window gone, pressed item back to normal.
    void EndItemDrag();
    void CancelDrag();
    HRESULT OnAttrSkin(ISkinObj*& member, const SStringW& value);

    SArray<SHeaderItem> m_items;
    ISkinObj* m_itemSkin = nullptr;  // owned by the skin pool
    ISkinObj* m_sortSkin = nullptr;
    int m_bSortHeader = 1;
    int m_bFixWidth = 0;
    int m_bItemSwapEnable = 1;
    BOOL m_bDragging = FALSE;
    BOOL m_bPressed = FALSE;  // the left button went down on the header
    BOOL m_bDragImage = FALSE;  // the drag window shows the dragged item
    POINT m_ptClick = {0, 0};
    DWORD m_dwHitTest = DWORD(-1);
    int m_dropIndex = -1;
    int m_nAdjustItemOldWidth = 0;
};

}  // namespace WUI
