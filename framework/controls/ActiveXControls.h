// The tags of the ActiveX hosts.
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers "activex", "flash" and "mediaplayer" with a table; a tag the
// table already has keeps its earlier factory.
void RegisterActiveXControls(SWindowFactoryMgr& mgr);

}  // namespace WUI
