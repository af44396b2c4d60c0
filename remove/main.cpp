#include <windows.h>
#include "remover.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunRemove(instance);
}
