// Entry point of the launcher-updater.
#include "LauncherMain.h"

#include "core/SystemLibrary.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // Before anything loads a library: none may come from the program's folder.
    WUI::RestrictLibrarySearchToSystem();
    return LauncherMain(instance);
}
