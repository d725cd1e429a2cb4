// The rich edit and the edit, for the window factory:
// SWindowFactoryMgr::AddStandardFactories(RegisterEditControls) before the
// application object is made. Without the platform's text services they
// refuse creation.
#pragma once

namespace WUI {

class SWindowFactoryMgr;

// Registers "richedit" and "edit".
void RegisterEditControls(SWindowFactoryMgr& mgr);

}  // namespace WUI
