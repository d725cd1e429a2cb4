#include "controls/ActiveXControls.h"

#include "controls/SActiveX.h"
#include "core/SWindowFactoryMgr.h"

namespace WUI {

void RegisterActiveXControls(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SActiveX>();
    mgr.RegisterFactory<SFlashCtrl>();
    mgr.RegisterFactory<SMediaPlayer>();
}

}  // namespace WUI
