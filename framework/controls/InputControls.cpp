#include "controls/InputControls.h"

#include "controls/SCalendar.h"
#include "controls/SHotKeyCtrl.h"
#include "controls/SSpinButtonCtrl.h"
#include "core/SWindowFactoryMgr.h"

namespace WUI {

void RegisterInputControls(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SHotKeyCtrl>();
    mgr.RegisterFactory<SCalendar>();
    mgr.RegisterFactory<SSpinButtonCtrl>();
}

}  // namespace WUI
