// The elements that reach through to the native host window: "caption" and
// "realwnd". Programs add this set to the window factories before they make
// the application object (SWindowFactoryMgr::AddStandardFactories).
#pragma once

#include "core/SWindowFactoryMgr.h"

namespace WUI {

void RegisterHostElements(SWindowFactoryMgr& mgr);

}  // namespace WUI
