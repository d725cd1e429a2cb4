// The tags of the header control and the views that lay their items out on
// a grid: the list control (and later the multi-column list and tile views).
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers "header" and "listctrl" with a table. Programs hand it to
// SWindowFactoryMgr::AddStandardFactories (AddFrameworkTags does); a tag the
// table already has keeps its earlier factory.
void RegisterGridViews(SWindowFactoryMgr& mgr);

}  // namespace WUI
