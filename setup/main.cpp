#include <windows.h>
#include "stack_guard.h"
#include "system_dlls.h"
#include "controller.h"

/* The first thing the program does, before the runtime's own start-up code,
   which may load libraries. */
static void __attribute__((constructor(101))) StartSafely(void)
{
    RestrictLibrarySearch();
    SeedStackGuard();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunSetup(instance);
}
