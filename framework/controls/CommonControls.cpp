#include "controls/CommonControls.h"

#include "controls/SAnimateImgWnd.h"
#include "controls/SButton.h"
#include "controls/SCheckBox.h"
#include "controls/SGroup.h"
#include "controls/SIconWnd.h"
#include "controls/SImageWnd.h"
#include "controls/SLine.h"
#include "controls/SLink.h"
#include "controls/SProgress.h"
#include "controls/SStatic.h"
#include "controls/SToggle.h"
#include "core/SWindowFactoryMgr.h"

namespace WUI {

void RegisterCommonControls(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SStatic>();
    mgr.RegisterFactory<SButton>();
    mgr.RegisterFactory<SImageWnd>();
    mgr.RegisterFactory<SProgress>();
    mgr.RegisterFactory<SImageButton>();
    mgr.RegisterFactory<SLine>();
    mgr.RegisterFactory<SCheckBox>();
    mgr.RegisterFactory<SIconWnd>();
    mgr.RegisterFactory<SRadioBox>();
    mgr.RegisterFactory<SLink>();
    mgr.RegisterFactory<SGroup>();
    mgr.RegisterFactory<SAnimateImgWnd>();
    mgr.RegisterFactory<SToggle>();
}

}  // namespace WUI
