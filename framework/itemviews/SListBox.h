// "listbox": a vertical list of text rows of one height, each with an
// optional icon and a value for the application, kept by the control. It
// scrolls as a scroll view whose view is as tall as all rows and paints only
// the rows in sight. A combo box drops one down, with hot tracking: the row
// under the mouse is highlighted and the release of the button selects.
#pragma once

#include "controls/SScrollView.h"
#include "core/SArray.h"

#include <vector>

namespace WUI {

// The selection is about to change by the user's hand; a handler sets
// bCancel to refuse.
class EventLBSelChanging : public TplEventArgs<EventLBSelChanging> {
public:
    EventLBSelChanging(SWindow* sender, int newSel, int oldSel)
        : TplEventArgs<EventLBSelChanging>(sender), nNewSel(newSel), nOldSel(oldSel)
    {
    }
    int nNewSel;
    int nOldSel;
    BOOL bCancel = FALSE;
};

class EventLBSelChanged : public TplEventArgs<EventLBSelChanged> {
public:
    EventLBSelChanged(SWindow* sender, int newSel, int oldSel)
        : TplEventArgs<EventLBSelChanged>(sender), nNewSel(newSel), nOldSel(oldSel)
    {
    }
    int nNewSel;
    int nOldSel;
};

class SListBox : public SScrollView {
    WUI_SWINDOW_CLASS(SListBox, SScrollView, L"listbox")
public:
    SListBox();
    ~SListBox() override;

    // ---- rows ----
    // Appends; the new row's index, -1 when memory runs out.
    int AddString(LPCWSTR text, int icon = -1, LPARAM data = 0);
    // At index (-1 or past the end appends); a selection or hover at or after
    // it moves down with its row. The new row's index, -1 when memory runs out.
    int InsertString(int index, LPCWSTR text, int icon = -1, LPARAM data = 0);
    // False for a bad index; a selected or hovered row that goes leaves none.
    BOOL DeleteString(int index);
    void DeleteAll();
    int GetCount() const { return m_items.GetCount(); }

    // ---- selection ----
    int GetCurSel() const { return m_iSelItem; }
    // Fires nothing. False for an index at or past the count and for the
    // current selection; a negative index clears it.
    BOOL SetCurSel(int index);

    // ---- row data ----
    // The row's text into text; its length, -1 (text untouched) for a bad index.
    int GetText(int index, SStringW& text) const;
    // Into buffer, which holds capacity characters with the NUL: the length;
    // -1 for a bad index, a null buffer, or a text that does not fit (the
    // buffer then holds an empty string when it has room for one).
    int GetText(int index, LPWSTR buffer, int capacity) const;
    int GetTextLen(int index) const;
    // 0 for a bad index.
    LPARAM GetItemData(int index) const;
    BOOL SetItemData(int index, LPARAM data);
    int GetItemHeight() const { return m_itemHeight; }
    // Every row takes the height (the index is only checked) and the view is
    // sized again. False for a bad index or a height below 1.
    BOOL SetItemHeight(int index, int height);

    // ---- scrolling ----
    // The first row shown (partly, at the top).
    int GetTopIndex() const;
    // Scrolls the row to the top; false for a bad index.
    BOOL SetTopIndex(int index);
    // Scrolls the least that shows the whole row; nothing for a bad index.
    void EnsureVisible(int index);
    // The row at pt (the container's coordinates), -1 outside the client
    // area or below the last row.
    int HitTest(POINT pt) const;
    using SScrollView::HitTest;
    // The row's rectangle in the container's coordinates (it may lie out of sight).
    RECT GetItemRect(int index) const;

    // Draws row index into rect; a subclass may replace it. Nothing for a bad index.
    virtual void DrawItem(IRenderTarget* rt, const RECT& rect, int index);

    // "itemHeight" (at least 1), "icon-x", "icon-y", "text-x", "text-y",
    // "hotTrack"; "itemSkin", "iconSkin"; the colours "colorItemBkgnd",
    // "colorItemBkgnd2", "colorItemSelBkgnd", "colorItemHotBkgnd",
    // "colorText", "colorSelText" (an empty value is refused).
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Rows from the "items" child instead of child elements, then "curSel".
    BOOL CreateChildren(pugi::xml_node node) override;
    // Arrows and characters.
    UINT GetDlgCode() const override { return 0x9; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnLbPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnLbLButtonDown)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnLbLButtonUp)
        WUI_MSG_MOUSE(WM_LBUTTONDBLCLK, OnLbLButtonDblClk)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnLbMouseMove)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnLbMouseLeave)
        WUI_MSG_HANDLER(WM_KEYDOWN, OnLbKeyDown)
        WUI_MSG_HANDLER(WM_CHAR, OnLbChar)
        WUI_MSG_WM_SHOWWINDOW(OnLbShowWindow)
        WUI_MSG_WM_SIZE(OnLbSize)
        WUI_MSG_WM_DESTROY(OnLbDestroy)
    WUI_SWND_MSG_MAP_END(SScrollView)

protected:
    struct Item {
        SStringW text;
        int icon = -1;
        LPARAM data = 0;
    };

    // The selection changes by the user's hand: the changing event may refuse
    // it. Both indexes follow their rows through the event; nothing more
    // happens when its handler deleted the new row.
    void NotifySelChange(int oldSel, int newSel);
    // Repaints the row when it is one.
    void RedrawItem(int index);
    // The view is as tall as all rows; a bar takes width when they overflow.
    void UpdateViewSize();
    BOOL IsValidIndex(int index) const { return index >= 0 && index < m_items.GetCount(); }

    void OnLbPaint(IRenderTarget* rt);
    void OnLbLButtonDown(UINT flags, POINT pt);
    void OnLbLButtonUp(UINT flags, POINT pt);
    void OnLbLButtonDblClk(UINT, POINT) {}
    void OnLbMouseMove(UINT flags, POINT pt);
    void OnLbMouseLeave();
    LRESULT OnLbKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnLbChar(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnLbShowWindow(BOOL show, UINT status);
    void OnLbSize(UINT type, SIZE size);
    void OnLbDestroy();

    SArray<Item*> m_items;
    int m_itemHeight = 20;
    int m_iSelItem = -1;
    int m_iHoverItem = -1;
    int m_bHotTrack = 0;
    int m_iconX = -1, m_iconY = -1;
    int m_textX = -1, m_textY = -1;
    COLORREF m_crItemBg = kColorNone;
    COLORREF m_crItemBg2 = kColorNone;
    COLORREF m_crItemSelBg = 0xFFD19139;
    COLORREF m_crItemHotBg = 0x80D19139;
    COLORREF m_crText = kColorNone;
    COLORREF m_crSelText = kColorNone;
    ISkinObj* m_pItemSkin = nullptr;  // owned by the skin pool
    ISkinObj* m_pIconSkin = nullptr;

private:
    HRESULT OnAttrColor(COLORREF& color, const SStringW& value);
    // Indexes that InsertString and DeleteString move with their rows (-1
    // when the row goes) besides the selection and hover: those of the
    // changing events in progress, innermost last.
    std::vector<int*> m_trackedRows;
};

}  // namespace WUI
