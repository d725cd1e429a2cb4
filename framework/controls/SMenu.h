// Popup menus built from a "menu" XML element (or item by item), whose every
// item is owner-drawn with the menu's skins, font and colours, and shown with
// TrackPopupMenu.
#pragma once

#include "controls/SMenuAttr.h"
#include "core/SArray.h"

namespace WUI {

// One item of a menu; its address is the item's owner-draw data. Separators
// have none.
struct SMenuItemData {
    HMENU hMenu = nullptr;  // the menu that holds the item
    UINT_PTR nId = 0;       // command id, or the sub-menu's handle
    int iIcon = -1;         // state of the icon skin; -1 none
    SStringW strText;
    wchar_t vHotKey = 0;    // lower-cased mnemonic; 0 none
    bool bRadio = false;    // checked, it shows the radio mark
};

// ch lower-cased by the system's rules, as mnemonics are compared.
wchar_t LowerMenuChar(wchar_t ch);
// The mnemonic of an item text: the character after the first single "&",
// lower-cased ("&&" stands for a plain ampersand); 0 when there is none.
wchar_t MenuMnemonic(LPCWSTR text);

// A root menu owns its native menu and the records of all its items, those
// of its sub-menus included. Sub-menu views (GetSubMenu), copies of a built
// menu and menus inserted into another as sub-menus own nothing and point at
// that root: they must not outlive it, but may outlive the view they were
// taken from.
class SMenu {
public:
    SMenu();
    // A copy of a built menu is a view of the same native menu; a copy of a
    // menu not built yet is a new empty menu with the same attributes.
    SMenu(const SMenu& other);
    SMenu& operator=(const SMenu&) = delete;
    ~SMenu();

    // "type:name"; 0 for an id of any other shape.
    BOOL LoadMenu(LPCWSTR resId);
    // The "menu" child of that XML resource; 0 when the resource is missing,
    // does not parse or has no "menu".
    BOOL LoadMenu(LPCWSTR type, LPCWSTR name);
    // Attributes from the node, then its "item" and "sep" children (an item
    // with child elements is a sub-menu); 1 on success. 0, the menu
    // unchanged, when it is built already, is a view, nests deeper than
    // kMaxDepth, holds more than kMaxItems items or the native menu cannot be made.
    BOOL LoadMenu(pugi::xml_node node);

    // Inserts a command item (or with MF_SEPARATOR a separator) before the
    // position, the text translated with the menu's context. 0 when the
    // native insertion fails, and for MF_POPUP (sub-menus go below).
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, int icon = -1);
    // Inserts subMenu, a built root menu, as a sub-menu: its records move to
    // this menu's root and subMenu becomes a view. 0, nothing changed, when
    // subMenu is not a built root, is this menu's own root, or the insertion fails.
    BOOL InsertMenu(UINT position, UINT flags, SMenu& subMenu, LPCWSTR text, int icon = -1);

    // A view of the sub-menu at the position (its handle null when the item
    // there opens none), with this menu's attributes.
    SMenu GetSubMenu(int position);

    // Shows the menu at the screen point, owned for the time being by a
    // hidden window that draws the items and passes the menu notifications on
    // to owner. Returns the chosen command (0 when none was chosen, or when the
    // menu is not built); without TPM_RETURNCMD in flags the owner also gets
    // it as one WM_COMMAND.
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner, const RECT* rect = nullptr);

    HMENU GetHMenu() const { return m_hMenu; }
    SMenuAttr& GetAttr() { return m_attr; }
    const SMenuAttr& GetAttr() const { return m_attr; }
    // True for sub-menu views, copies of built menus and inserted sub-menus.
    bool IsView() const { return m_pParent != nullptr; }

    // Limits on what a menu definition may build.
    enum { kMaxDepth = 16, kMaxItems = 4096 };

private:
    SMenu(HMENU menu, SMenu* parent, const SMenuAttr& attr);
    // The menu that owns the tree: this one, or the end of the parent chain
    // (a root that was itself inserted into another has a parent).
    SMenu* Root() const;
    bool BuildMenu(HMENU menu, pugi::xml_node node, int depth, int& budget);
    bool AppendItem(HMENU menu, pugi::xml_node node, int depth, int& budget);
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, int icon, SMenu* subMenu);
    void DestroyMenuItems();

    HMENU m_hMenu = nullptr;
    SArray<SMenuItemData*> m_arrDmmi;  // records of the whole tree, in a root only
    SMenuAttr m_attr;
    SMenu* m_pParent = nullptr;  // the root, for a view
};

}  // namespace WUI
