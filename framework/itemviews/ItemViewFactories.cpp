#include "itemviews/ItemViewFactories.h"

#include "core/SWindowFactoryMgr.h"
#include "itemviews/SComboBox.h"
#include "itemviews/SComboView.h"
#include "itemviews/SListBox.h"
#include "itemviews/SListView.h"
#include "itemviews/STreeCtrl.h"
#include "itemviews/STreeView.h"

namespace WUI {

void RegisterItemViews(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SListBox>();
    mgr.RegisterFactory<SListView>();
    mgr.RegisterFactory<SComboBox>();
    mgr.RegisterFactory<SComboView>();
    mgr.RegisterFactory<STreeCtrl>();
    mgr.RegisterFactory<STreeView>();
}

}  // namespace WUI
