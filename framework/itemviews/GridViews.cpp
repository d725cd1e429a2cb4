#include "itemviews/GridViews.h"

#include "core/SWindowFactoryMgr.h"
#include "itemviews/SHeaderCtrl.h"
#include "itemviews/SListCtrl.h"

namespace WUI {

void RegisterGridViews(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SHeaderCtrl>();
    mgr.RegisterFactory<SListCtrl>();
}

}  // namespace WUI
