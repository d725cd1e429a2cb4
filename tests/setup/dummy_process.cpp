// Waits until it is terminated; started by the process helper tests.
#include <windows.h>

int main()
{
    Sleep(INFINITE);
    return 0;
}
