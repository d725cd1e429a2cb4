// The tags of the item views: "listbox", "listview", and the combo boxes
// built on them, "combobox" and "comboview".
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers the item views with a table. Programs reach it through AddFrameworkTags.
void RegisterItemViews(SWindowFactoryMgr& mgr);

}  // namespace WUI
