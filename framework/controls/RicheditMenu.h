// The rich edit's context menu: the commands of its definition (held by
// SRicheditMenuDef) and which of them the edit's state greys.
#pragma once

#include "controls/SMenu.h"

namespace WUI {

enum RicheditMenuCmd {
    kRicheditMenuCut = 1,
    kRicheditMenuCopy = 2,
    kRicheditMenuPaste = 3,
    kRicheditMenuDelete = 4,
    kRicheditMenuSelectAll = 5,
};

// What the menu's commands depend on.
struct RicheditMenuState {
    bool hasSelection = false;
    bool readOnly = false;
    bool canPaste = false;  // EM_CANPASTE
    bool empty = false;     // no text at all
};

// Greys, by command id, what cannot run: cut and delete without a selection
// or when read-only, copy without a selection, paste when nothing can be
// pasted or when read-only, select all when there is no text. Items that may
// run keep the state the definition gave them. FALSE when the menu is not built.
BOOL GreyRicheditMenu(SMenu& menu, const RicheditMenuState& state);

// Builds the menu from the definition SRicheditMenuDef holds; FALSE when
// there is none or it does not build (SMenu::LoadMenu).
BOOL LoadRicheditMenu(SMenu& menu);

}  // namespace WUI
