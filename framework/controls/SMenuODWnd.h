// The hidden window that owns a popup menu while it is tracked: it measures
// and draws the owner-drawn items with a copy of the menu's attributes, finds
// items by mnemonic, and passes the menu notifications on to the real owner.
#pragma once

#include "controls/SMenuAttr.h"
#include "controls/SOwnerDraw.h"
#include "core/CSimpleWnd.h"

namespace WUI {

struct IRenderTarget;
struct SMenuItemData;

class SMenuODWnd : public CSimpleWnd, public SOwnerDraw<SMenuODWnd>, public SMenuAttr {
public:
    SMenuODWnd(HWND owner, const SMenuAttr& attr);

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // Draws the item into dis->hDC at dis->rcItem; nothing without a render factory.
    void DrawItem(LPDRAWITEMSTRUCT dis);
    // Menu items only: separators (no item data) get the separator skin's height.
    void MeasureItem(LPMEASUREITEMSTRUCT mis);
    // MNC_EXECUTE with the position of the first item of menu whose mnemonic
    // is ch (either case); 0 when none has it.
    LRESULT OnMenuChar(UINT ch, UINT flags, HMENU menu);

private:
    void DrawMenuItem(IRenderTarget* rt, const RECT& box, const SMenuItemData& data, UINT state);
    // The text's size in the menu font; zero without a render factory.
    SIZE MeasureItemText(const SStringW& text);

    HWND m_hOwner;
};

}  // namespace WUI
