// The edit box of an editable combo: the combo is its owner and the target
// of its events, which it sends under the combo's id and name; Down and
// Escape go to the combo (they open and close the list).
#pragma once

#include "controls/SEdit.h"

namespace WUI {

class SComboBase;

class SComboEdit : public SEdit {
public:
    explicit SComboEdit(SComboBase* owner);

    // Notifications leave as the combo's own.
    BOOL FireEvent(EventArgs& args) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_HANDLER(WM_KEYDOWN, OnComboEditKeyDown)
        WUI_MSG_MOUSE(WM_MOUSEHOVER, OnComboEditMouseHover)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnComboEditMouseLeave)
    WUI_SWND_MSG_MAP_END(SEdit)

protected:
    LRESULT OnComboEditKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnComboEditMouseHover(UINT flags, POINT pt);
    void OnComboEditMouseLeave();
};

}  // namespace WUI
