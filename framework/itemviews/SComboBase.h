// The base of the combo boxes: the selected text (or an edit box) and a
// drop button; the list opens in a drop-down window below the combo, or
// above it when the screen ends below. SComboBox drops down a list box,
// SComboView a list view; the list element belongs to the combo throughout
// and only moves between the combo's container and the drop-down's root.
#pragma once

#include "controls/SDropDownWnd.h"
#include "core/SWindow.h"

namespace WUI {

class SComboEdit;

// The selection of a combo changed (by the list, by SetCurSel, or when the
// list closes with Enter).
class EventCBSelChange : public TplEventArgs<EventCBSelChange> {
public:
    EventCBSelChange(SWindow* sender, int sel) : TplEventArgs<EventCBSelChange>(sender), nCurSel(sel) {}
    int nCurSel;
};

// Ids of the combo's parts.
enum { kComboEditId = -100, kComboListId = -200 };

class SComboBase : public SWindow, public ISDropDownOwner {
    WUI_SWINDOW_CLASS(SComboBase, SWindow, L"combobase")
public:
    SComboBase();
    ~SComboBase() override;

    // ---- what each combo answers from its list ----
    virtual int GetCurSel() const = 0;
    virtual int GetCount() const = 0;
    // Selects the row (-1: none) and fires the selection event; 0 when the
    // list refuses the index or nothing changes.
    virtual BOOL SetCurSel(int index) = 0;
    // The row's text; empty for -1 or a bad index.
    virtual SStringW GetLBText(int index) = 0;
    // The first row from start on whose text equals text exactly (case
    // counts); -1 when none does.
    virtual int FindString(LPCWSTR text, int start = 0);
    // The edit (when editable) shows the row's text; the combo repaints and
    // fires EventCBSelChange.
    virtual void OnSelChanged();
    // Makes the list element from the "liststyle" child; false when it cannot.
    virtual BOOL CreateListBox(pugi::xml_node node) = 0;
    // The drop height, or less when the rows need less.
    virtual int GetListBoxHeight() = 0;
    // The right-most strip of the client area, as wide as the button skin.
    virtual void GetDropBtnRect(RECT* out) const;
    // The list element (owned by the combo).
    virtual SWindow* GetListElement() const = 0;

    // Opens the list; nothing while it is open.
    void DropDown();
    // Closes the list as Escape would (IDCANCEL); nothing while closed.
    void CloseUp();
    BOOL IsDroppedDown() const { return m_pDropDownWnd != nullptr; }
    SDropDownWnd* GetDropDownWnd() const { return m_pDropDownWnd; }
    // The edit of an editable combo; null for a drop-down list and once the
    // combo is destroyed.
    SComboEdit* GetEdit() const { return m_pEdit; }
    int GetButtonState() const { return m_dwBtnState; }

    // Where a list of that height goes for a combo at comboScreen (screen
    // coordinates) on a screen ending at limitBottom: below, or above when
    // below would pass the limit. above tells which.
    static RECT PlaceDropDown(const RECT& comboScreen, int height, int limitBottom, bool* above);

    // ---- ISDropDownOwner ----
    SWindow* GetDropDownOwner() override { return this; }
    void OnCreateDropDown(SDropDownWnd* dropDown) override;
    void OnDestroyDropDown(SDropDownWnd* dropDown) override;

    // ---- the element ----
    // "dropDown", "dropHeight", "curSel", "btnSkin", "animateTime".
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The edit (editable combos) and the list; other children are not made.
    BOOL CreateChildren(pugi::xml_node node) override;
    // Editable: the edit's text; else the selected row's text.
    SStringW GetWindowText() const override;
    // Clears the selection; an editable combo's edit takes the text.
    void SetWindowText(const SStringW& text) override;
    // Only a drop-down list takes the focus itself (an edit takes it for an editable one).
    BOOL IsFocusable() const override;
    // The client area within the style's insets, short of the button.
    void GetTextRect(RECT& rc) const override;
    void SetColorizeColor(COLORREF color) override;
    // Around the client area short of the button, so the frame stays clear of the text.
    void DrawFocus(IRenderTarget* rt) override;
    UINT GetDlgCode() const override { return 1; }
    // Takes the list's selection and command events while it is open, and
    // the edit's change notifications.
    BOOL FireEvent(EventArgs& args) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnCbPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnCbLButtonDown)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnCbMouseMove)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnCbMouseLeave)
        WUI_MSG_HANDLER(WM_KEYDOWN, OnCbKeyDown)
        WUI_MSG_HANDLER(WM_CHAR, OnCbChar)
        WUI_MSG_WM_SETFOCUS(OnCbSetFocus)
        WUI_MSG_WM_KILLFOCUS(OnCbKillFocus)
        WUI_MSG_WM_DESTROY(OnCbDestroy)
    WUI_SWND_MSG_MAP_END(SWindow)

protected:
    // Whether the edit's text is being set by the combo (its change
    // notification then keeps the selection).
    bool IsEditUpdating() const { return m_bEditUpdating; }
    // Sets the edit's text as the combo's own doing.
    void SetEditText(const SStringW& text);
    // Scrolls the selection into the open list's sight.
    virtual void EnsureSelVisible() = 0;
    // Readies a new list element: styled by the "liststyle" child (or
    // created plain), filling the drop-down, hidden, owned by the combo
    // under the list's id.
    void SetUpListElement(SWindow* list, pugi::xml_node node);
    // Cuts the list off from the combo being deleted (its events would take
    // a reference on the combo), destroys it unless it was, and releases the
    // combo's reference; nothing for null.
    static void ReleaseListElement(SWindow* list);
    void RedrawButton();
    SIZE ButtonSize() const;

    void OnCbPaint(IRenderTarget* rt);
    void OnCbLButtonDown(UINT flags, POINT pt);
    void OnCbMouseMove(UINT flags, POINT pt);
    void OnCbMouseLeave();
    LRESULT OnCbKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCbChar(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCbSetFocus();
    void OnCbKillFocus();
    void OnCbDestroy();

    SComboEdit* m_pEdit = nullptr;  // a child: the tree owns it and lets it go at WM_DESTROY
    DWORD m_dwBtnState = 0;         // 0 normal, 1 hover, 2 pushed (list open)
    ISkinObj* m_pSkinBtn;           // owned by the skin pool
    int m_bDropdown = 1;            // 1: a selection-only list, 0: editable
    int m_nDropHeight = 200;
    int m_nAnimTime = 200;
    int m_iInitSel = -1;
    SDropDownWnd_ComboBox* m_pDropDownWnd = nullptr;  // while open; it deletes itself
    pugi::xml_document m_xmlDropdownStyle;
    bool m_bEditUpdating = false;

private:
    BOOL CreateEdit(pugi::xml_node node);
};

}  // namespace WUI
