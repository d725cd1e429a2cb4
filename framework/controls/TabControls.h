// The tags of the tab control and its pages.
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers "tabctrl" and "page" with a table. Programs hand it to
// SWindowFactoryMgr::AddStandardFactories before the application object is
// made; a tag the table already has keeps its earlier factory.
void RegisterTabControls(SWindowFactoryMgr& mgr);

}  // namespace WUI
