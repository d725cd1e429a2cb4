// The tags of the header control and the views that lay their items out on
// a grid: the list control, the multi-column list view and the tile view.
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers "header", "listctrl", "mclistview" and "tileview" with a table. Programs hand it to
// SWindowFactoryMgr::AddStandardFactories (AddFrameworkTags does); a tag the
// table already has keeps its earlier factory.
void RegisterGridViews(SWindowFactoryMgr& mgr);

}  // namespace WUI
