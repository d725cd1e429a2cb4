#include "controls/TabControls.h"

#include "controls/STabCtrl.h"
#include "core/SWindowFactoryMgr.h"

namespace WUI {

void RegisterTabControls(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<STabCtrl>();
    mgr.RegisterFactory<STabPage>();
}

}  // namespace WUI
