// The platform's own libraries, loaded where no copy planted beside the
// program (a downloaded setup in a folder of other downloads) can stand in
// for them: from the system folder only.
#pragma once

#include <windows.h>

namespace WUI {

// Loads the system library of that bare file name ("riched20.dll") from the
// system folder; the libraries it needs come from there too. Null, with the
// system's error, when it is not there or name is empty or holds a path.
HMODULE LoadSystemLibrary(const wchar_t *name);

// Makes the system folder the only place this process loads libraries from
// by name, for the rest of its life, and sends the libraries linked to load
// on first use (their imports would otherwise be looked for in the
// program's folder first) through LoadSystemLibrary. A program calls it
// first thing. False where the platform lacks the setting: there, loads
// through LoadSystemLibrary and first-use loads are still safe, other loads
// by name are not.
bool RestrictLibrarySearchToSystem();

} // namespace WUI
