// "listctrl": a report-style list below a header control that is one of its
// child elements: rows of equal height with one text cell per column,
// optional check boxes and icons, single or multiple selection. A row's
// cells are kept by column number (the header item's order), so dragging
// header items around rearranges what is shown, never what is stored.
#pragma once

#include "controls/SPanel.h"
#include "itemviews/SHeaderCtrl.h"

#include <vector>

namespace WUI {

// Fields a cell get or set concerns (SLCSUBITEM::mask).
enum : UINT { SLCIF_TEXT = 0x01, SLCIF_IMAGE = 0x02, SLCIF_PARAM = 0x04 };

// A cell as SListCtrl::GetSubItem fills it (the caller owns the text buffer
// of cchTextMax characters, terminating zero included) and SetSubItem reads it.
struct SLCSUBITEM {
    UINT mask = 0;
    LPWSTR pszText = nullptr;
    int cchTextMax = 0;
    int nImage = -1;
    LPARAM lParam = 0;
};

struct SListCtrlCell {
    SStringW text;
    int image = -1;  // -1: none
    LPARAM data = 0;
};

struct SListCtrlRow {
    SArray<SListCtrlCell> cells;  // one per column, by column number
    LPARAM data = 0;
    BOOL selected = FALSE;  // also the check while check boxes are on
};

// Row order for SortItems: negative, 0 or positive as a comes before, with
// or after b.
typedef int (*PFNLCCOMPARE)(void* context, const SListCtrlRow& a, const SListCtrlRow& b);

class EventLCSelChanging : public TplEventArgs<EventLCSelChanging> {
public:
    EventLCSelChanging(SWindow* sender, int newItem, int oldItem)
        : TplEventArgs<EventLCSelChanging>(sender), nNewSel(newItem), nOldSel(oldItem)
    {
    }
    int nNewSel;
    int nOldSel;
    BOOL bCancel = FALSE;  // a handler sets it to keep the selection as it is
};

class EventLCSelChanged : public TplEventArgs<EventLCSelChanged> {
public:
    EventLCSelChanged(SWindow* sender, int newItem, int oldItem)
        : TplEventArgs<EventLCSelChanged>(sender), nNewSel(newItem), nOldSel(oldItem)
    {
    }
    int nNewSel;
    int nOldSel;
};

class EventLCItemDeleted : public TplEventArgs<EventLCItemDeleted> {
public:
    EventLCItemDeleted(SWindow* sender, int item, LPARAM data)
        : TplEventArgs<EventLCItemDeleted>(sender), nItem(item), dwData(data)
    {
    }
    int nItem;
    LPARAM dwData;
};

class SListCtrl : public SPanel {
    WUI_SWINDOW_CLASS(SListCtrl, SPanel, L"listctrl")
public:
    SListCtrl();
    ~SListCtrl() override;

    // ---- columns ----
    // Inserts a header item (index -1 appends) and an empty cell in every
    // row at the new column's number. The header's index; -1 without a header.
    int InsertColumn(int index, LPCWSTR text, int width, LPARAM data = 0);
    // Deletes the header item at that display index and every row's cell of
    // its column. With the last column every row goes too, each reported
    // with EventLCItemDeleted. False when the header refuses the index.
    BOOL DeleteColumn(int index);
    int GetColumnCount() const;
    SHeaderCtrl* GetHeaderCtrl() const { return m_header; }

    // ---- rows ----
    // -1 without columns. An index below 0 or past the end appends. Column
    // 0's cell gets the text and image.
    int InsertItem(int index, LPCWSTR text, int image = -1);
    // Fires EventLCItemDeleted, then frees the row, wherever the handler
    // moved it. False out of range; true also when the handler deleted the
    // row itself.
    BOOL DeleteItem(int index);
    void DeleteAllItems();
    // Adds empty rows up to count; never removes any. False without columns.
    BOOL SetItemCount(int count);
    // 0 while there are no columns.
    int GetItemCount() const;
    // False out of range.
    BOOL SetItemData(int row, LPARAM data);
    // 0 out of range.
    LPARAM GetItemData(int row) const;
    // Null out of range.
    const SListCtrlRow* GetRow(int row) const;

    // ---- cells (by column number) ----
    // Copies the fields the mask names; false out of range or, for the
    // text, when the buffer cannot hold it and its terminating zero.
    BOOL GetSubItem(int row, int column, SLCSUBITEM* item) const;
    BOOL SetSubItem(int row, int column, const SLCSUBITEM* item);
    // Empty out of range.
    SStringW GetSubItemText(int row, int column) const;
    // Redraws the cell; false out of range.
    BOOL SetSubItemText(int row, int column, LPCWSTR text);

    // ---- selection ----
    // The first selected row, or -1.
    int GetSelectedItem() const;
    // The last selected row, or -1.
    int GetLastSelectedItem() const;
    int GetSelectedCount() const;
    BOOL IsItemSelected(int row) const;
    // The current row as the selection steps from it; stored as given, the
    // list repainted, no event fired and no row's flag changed.
    void SetSelectedItem(int row);
    int GetCurrentItem() const { return m_nSelectItem; }
    int GetHotItem() const { return m_nHoverItem; }
    // The selection moving from oldItem to newItem, the keys held deciding
    // how (see the class's source); toggle flips the new row's check. Both
    // follow their rows through the changing event; nothing more happens
    // when its handler deleted the new row.
    void SetSel(int oldItem, int newItem, BOOL toggle = FALSE);

    // Stable sort of the rows; current and hot rows become -1. Whatever
    // compare answers, each call gets two of the list's rows and every row
    // stays once. When compare inserts or deletes rows, those changes stand
    // and the order is not applied; when it throws, nothing changed.
    void SortItems(PFNLCCOMPARE compare, void* context);

    // ---- geometry ----
    // The client rect below the header.
    RECT GetListRect() const;
    // Whole rows in the list area (plus one partly shown when asked); at least 1.
    int GetCountPerPage(BOOL partial) const;
    int GetTopIndex() const;
    // The cell's rectangle; empty out of range.
    RECT GetItemRect(int row, int column) const;
    // The row under the point; -1 at or past the count or above the list.
    int HitTest(POINT pt) const;
    int GetItemHeight() const { return m_nItemHeight; }
    int GetHeaderHeight() const { return m_nHeaderHeight; }

    // One row: background, check box, icons and cell texts.
    virtual void DrawItem(IRenderTarget* rt, const RECT& rect, int row);

    // Heights, offsets, flags, colours and skins; "itemHeight" and
    // "headerHeight" set at run time size the list again at once.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The ordinary children first; then the first "header" child becomes the
    // column header. False when there is none.
    BOOL CreateChildren(pugi::xml_node node) override;
    void LayoutChildren() override;
    BOOL OnScroll(BOOL vertical, UINT code, int pos) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnListPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnListLButtonDown)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnListMouseMove)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnListMouseLeave)
        WUI_MSG_WM_SIZE(OnListSize)
        WUI_MSG_WM_DESTROY(OnListDestroy)
    WUI_SWND_MSG_MAP_END(SPanel)

protected:
    void OnListPaint(IRenderTarget* rt);
    void OnListLButtonDown(UINT flags, POINT pt);
    void OnListMouseMove(UINT flags, POINT pt);
    void OnListMouseLeave();
    void OnListSize(UINT type, SIZE size);
    void OnListDestroy();

private:
    // While user code runs (event handlers, the compare function), rows that
    // go are parked rather than freed, so no new row can take a gone row's
    // address: a row pointer names the same row before and after the call.
    class CalloutScope;
    void FreeRow(SListCtrlRow* row);
    // The row's index now; -1 when it is no longer in the list.
    int IndexOfRow(const SListCtrlRow* row) const;
    bool IsValidRow(int row) const { return row >= 0 && row < m_rows.GetCount(); }
    bool IsValidCell(int row, int column) const;
    // A new row with one empty cell per column; null out of memory.
    SListCtrlRow* NewRow() const;
    void UpdateScrollBar();
    void UpdateHeaderPos();
    // The row's rectangle across the list area.
    RECT GetRowRect(int row) const;
    // Paints the row at once when it is on show.
    void RedrawItem(int row);
    void SetRowSelected(int row, BOOL selected);
    // Whether the point lies across from the rows' check boxes.
    bool HitCheckBox(POINT pt) const;
    bool OnHeaderItemChanging(EventArgs& args);
    bool OnHeaderItemSwap(EventArgs& args);
    HRESULT OnAttrColor(COLORREF& member, const SStringW& value);

    SHeaderCtrl* m_header = nullptr;  // a child: the tree holds it
    SArray<SListCtrlRow*> m_rows;     // owned
    int m_nCallouts = 0;
    std::vector<SListCtrlRow*> m_parkedRows;  // owned: gone while user code ran
    int m_nHeaderHeight = 20;
    int m_nItemHeight = 20;
    int m_nSelectItem = -1;
    int m_nHoverItem = -1;
    int m_bHotTrack = 0;
    int m_nIconX = -1;  // -1: automatic
    int m_nIconY = -1;
    int m_nTextX = -1;
    int m_nTextY = -1;
    COLORREF m_crItemBg = 0xFFFFFFFF;
    COLORREF m_crItemBg2 = 0xFFE2E2E2;
    COLORREF m_crItemSelBg = 0xFFD19139;
    COLORREF m_crItemHotBg = 0x80D19139;
    COLORREF m_crText = 0xFF000000;
    COLORREF m_crSelText = 0xFF00FFFF;
    ISkinObj* m_pItemSkin = nullptr;  // owned by the skin pools
    ISkinObj* m_pIconSkin = nullptr;
    ISkinObj* m_pCheckSkin = nullptr;
    int m_bCheckBox = 0;
    int m_bMultiSelection = 0;
};

}  // namespace WUI
