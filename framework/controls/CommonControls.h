// The tags of the common controls: text, link, buttons, image, icon,
// progress, check box, radio box, toggle, group, line and frame animation.
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers the common controls' tags with a table. Programs hand it to
// SWindowFactoryMgr::AddStandardFactories before the application object is
// made; a tag the table already has keeps its earlier factory.
void RegisterCommonControls(SWindowFactoryMgr& mgr);

}  // namespace WUI
