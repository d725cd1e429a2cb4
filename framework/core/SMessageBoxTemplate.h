// The message box's template: one process-wide document holding the "WUI"
// root that the application installs from its system resources. The message
// box builds itself from it; without one it falls back to the platform's.
#pragma once
#include <pugixml.hpp>
#include <windows.h>

namespace WUI {

// Makes the (empty) document when there is none; the first template set
// makes it too.
void InitGlobalMsgBoxTemplate();
// Frees the document; runs at exit by itself.
void ReleaseGlobalMsgBoxTemplate();
// Accepts a "WUI" node whose "frameSize" and "minSize" are both non-empty:
// the document then holds a copy of it alone (1). Anything else is refused
// (0) and the old template stays.
BOOL SetMessageBoxTemplate(pugi::xml_node node);
// The installed "WUI" root; an empty node when none is installed.
pugi::xml_node GetMessageBoxTemplate();

} // namespace WUI
