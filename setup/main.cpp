// Entry point of the setup program and the uninstaller. The wizards and the
// engines are not built yet: the program starts and ends at once.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return 0;
}
