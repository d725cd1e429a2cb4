// Entry point of the launcher-updater.
#include "LauncherMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return LauncherMain(instance);
}
