#include "controls/PanelFactories.h"

#include "controls/SPanel.h"
#include "controls/SScrollBar.h"
#include "controls/SScrollView.h"
#include "core/SWindowFactoryMgr.h"

namespace WUI {

void RegisterPanelFactories(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SPanel>();
    mgr.RegisterFactory<SScrollView>();
    mgr.RegisterFactory<SScrollBar>();
}

}  // namespace WUI
