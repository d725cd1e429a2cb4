// The element classes of panels, scroll views and the scroll bar, for the
// window factory: SWindowFactoryMgr::AddStandardFactories(RegisterPanelFactories)
// before the application object is made.
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers "div", "scrollview" and "scrollbar".
void RegisterPanelFactories(SWindowFactoryMgr& mgr);

}  // namespace WUI
