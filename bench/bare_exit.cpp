/* A baseline of the start-up benchmarks: a bare Win32 program that ends at once. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
