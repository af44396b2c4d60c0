#include <windows.h>
#include "system_dlls.h"
#include "remover.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictLibrarySearch();
    return RunRemove(instance);
}
