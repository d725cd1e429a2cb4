#include "itemviews/GridViews.h"

#include "core/SWindowFactoryMgr.h"
#include "itemviews/SHeaderCtrl.h"
#include "itemviews/SListCtrl.h"
#include "itemviews/SMCListView.h"
#include "itemviews/STileView.h"

namespace WUI {

void RegisterGridViews(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SHeaderCtrl>();
    mgr.RegisterFactory<SListCtrl>();
    mgr.RegisterFactory<SMCListView>();
    mgr.RegisterFactory<STileView>();
}

}  // namespace WUI
