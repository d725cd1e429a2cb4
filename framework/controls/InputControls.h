// The tags of the hot-key field, the calendar and the spin button.
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers "hotkey", "calendar" and "spinButton" with a table. Programs hand
// it to SWindowFactoryMgr::AddStandardFactories before the application object
// is made; a tag the table already has keeps its earlier factory.
void RegisterInputControls(SWindowFactoryMgr& mgr);

}  // namespace WUI
