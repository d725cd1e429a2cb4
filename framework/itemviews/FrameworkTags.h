// Every element tag of the framework, controls and item views alike, so that
// any layout can name any of them.
#pragma once

namespace WUI {

// Adds each family's tags to the standard factories that every window-factory
// table registers (call before the application object is made). False when a
// family could not be added (the list of families is full).
bool AddFrameworkTags();

} // namespace WUI
