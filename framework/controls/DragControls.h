// The tags of the slider and the split window.
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers "sliderbar", "splitwnd", "splitcol", "splitrow" and "pane" with
// a table; a tag the table already has keeps its earlier factory.
void RegisterDragControls(SWindowFactoryMgr& mgr);

}  // namespace WUI
