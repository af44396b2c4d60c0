#include <windows.h>
#include "stack_guard.h"
#include "system_dlls.h"
#include "remover.h"

/* The first thing the program does, before the runtime's own start-up code,
   which may load libraries. It changes the stack guard, so its own frame
   must not carry it. */
static void __attribute__((constructor(101), no_stack_protector)) StartSafely(void)
{
    RestrictLibrarySearch();
    SeedStackGuard();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunRemove(instance);
}
