// Entry point of the launcher-updater. The update engine and its window are
// not built yet: the program starts and ends at once.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return 0;
}
