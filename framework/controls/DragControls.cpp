#include "controls/DragControls.h"

#include "controls/SSliderBar.h"
#include "controls/SSplitWnd.h"
#include "core/SWindowFactoryMgr.h"

namespace WUI {

void RegisterDragControls(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SSliderBar>();
    mgr.RegisterFactory<SSplitWnd>();
    mgr.RegisterFactory<SSplitWnd_Col>();
    mgr.RegisterFactory<SSplitWnd_Row>();
    mgr.RegisterFactory<SSplitPane>();
}

}  // namespace WUI
