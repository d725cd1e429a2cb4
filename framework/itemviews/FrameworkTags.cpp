#include "itemviews/FrameworkTags.h"

#include "controls/CommonControls.h"
#include "controls/EditControls.h"
#include "controls/HostElements.h"
#include "controls/InputControls.h"
#include "controls/PanelFactories.h"
#include "core/SWindowFactoryMgr.h"

namespace WUI {

bool AddFrameworkTags()
{
    const FnRegisterFactories families[] = {
        &RegisterCommonControls,
        &RegisterPanelFactories,
        &RegisterHostElements,
        &RegisterInputControls,
        &RegisterEditControls,
    };
    bool all = true;
    for (FnRegisterFactories family : families)
        all = SWindowFactoryMgr::AddStandardFactories(family) && all;
    return all;
}

} // namespace WUI
