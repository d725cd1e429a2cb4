#include "controls/EditControls.h"

#include "controls/SEdit.h"
#include "controls/SRichEdit.h"
#include "core/SWindowFactoryMgr.h"

namespace WUI {

void RegisterEditControls(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SRichEdit>();
    mgr.RegisterFactory<SEdit>();
}

}  // namespace WUI
