#include <windows.h>
#include "system_dlls.h"
#include "controller.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictLibrarySearch();
    return RunSetup(instance);
}
