#include "controls/HostElements.h"

#include "controls/SCaption.h"
#include "controls/SRealWnd.h"

namespace WUI {

void RegisterHostElements(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SCaption>();
    mgr.RegisterFactory<SRealWnd>();
}

}  // namespace WUI
