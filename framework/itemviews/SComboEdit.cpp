#include "itemviews/SComboEdit.h"

#include "controls/RichEditEvents.h"
#include "itemviews/SComboBase.h"

namespace WUI {

SComboEdit::SComboEdit(SComboBase* owner)
{
    SetOwner(owner);
}

BOOL SComboEdit::FireEvent(EventArgs& args)
{
    if (args.GetId() == EventRENotify::EventID) {
        if (SWindow* owner = GetOwner()) {
            args.idFrom = owner->GetId();
            args.nameFrom = owner->GetName();
        }
    }
    return SEdit::FireEvent(args);
}

LRESULT SComboEdit::OnComboEditKeyDown(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWindow* owner = GetOwner();
    if (owner && (wParam == VK_DOWN || wParam == VK_ESCAPE)) return owner->SendSwndMessage(msg, wParam, lParam);
    SetMsgHandled(FALSE);
    return 0;
}

void SComboEdit::OnComboEditMouseHover(UINT flags, POINT pt)
{
    SWindow::OnMouseHover(flags, pt);
    if (SWindow* owner = GetOwner()) owner->SendSwndMessage(WM_MOUSEHOVER, flags, MAKELPARAM(pt.x, pt.y));
}

void SComboEdit::OnComboEditMouseLeave()
{
    SWindow::OnMouseLeave();
    if (SWindow* owner = GetOwner()) owner->SendSwndMessage(WM_MOUSELEAVE);
}

}  // namespace WUI
