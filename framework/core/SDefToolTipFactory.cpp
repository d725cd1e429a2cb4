#include "core/SDefToolTipFactory.h"
#include "core/STipCtrl.h"

namespace WUI {

IToolTip *SDefToolTipFactory::CreateToolTip(HWND host)
{
    return STipCtrl::CreateTip(host);
}

void SDefToolTipFactory::DestroyToolTip(IToolTip *tip)
{
    if (tip)
        static_cast<STipCtrl *>(tip)->DestroyWindow();
}

} // namespace WUI
