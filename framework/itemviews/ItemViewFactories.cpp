#include "itemviews/ItemViewFactories.h"

#include "core/SWindowFactoryMgr.h"
#include "itemviews/SListBox.h"
#include "itemviews/SListView.h"

namespace WUI {

void RegisterItemViews(SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<SListBox>();
    mgr.RegisterFactory<SListView>();
}

}  // namespace WUI
