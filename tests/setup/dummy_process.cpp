// A stand-in for the client's programs in the helper tests. With no
// argument it waits until it is terminated; with "--self-delete" it acts as
// the uninstaller's last step and hands its own folder to "clean.bat".
#include "syshelpers/BatchFiles.h"
#include "syshelpers/SafePaths.h"

#include <windows.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--self-delete") == 0) SelfDeleteWithCleanBat(GetModuleFolder(nullptr));
    Sleep(INFINITE);
    return 0;
}
