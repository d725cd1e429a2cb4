#include "controls/RicheditMenu.h"

#include "core/SRicheditMenuDef.h"

namespace WUI {

BOOL GreyRicheditMenu(SMenu& menu, const RicheditMenuState& state)
{
    HMENU handle = menu.GetHMenu();
    if (!::IsMenu(handle)) return FALSE;
    const bool noSelection = !state.hasSelection;
    const struct {
        UINT id;
        bool grey;
    } rules[] = {
        {kRicheditMenuCut, noSelection || state.readOnly},
        {kRicheditMenuCopy, noSelection},
        {kRicheditMenuPaste, !state.canPaste || state.readOnly},
        {kRicheditMenuDelete, noSelection || state.readOnly},
        {kRicheditMenuSelectAll, state.empty},
    };
    for (const auto& rule : rules)
        if (rule.grey) ::EnableMenuItem(handle, rule.id, MF_BYCOMMAND | MF_GRAYED);
    return TRUE;
}

BOOL LoadRicheditMenu(SMenu& menu)
{
    SRicheditMenuDef* def = SRicheditMenuDef::GetSingletonPtr();
    return def ? menu.LoadMenu(def->GetMenu()) : FALSE;
}

}  // namespace WUI
