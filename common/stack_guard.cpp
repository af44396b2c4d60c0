/*
 * The runtime seeds the stack protector's guard from a cryptographic
 * provider, in a start-up constructor: that loads the provider and the
 * libraries it imports before the program has restricted where libraries
 * come from. It leaves a guard that is set already alone. These are the
 * sources the platform's own compilers seed their guard from; none of them
 * loads a library.
 */
#include <windows.h>
#include "stack_guard.h"

extern "C" void *__stack_chk_guard;

/* The guard changes here, so this frame must not carry it. */
__attribute__((no_stack_protector)) void SeedStackGuard(void)
{
    FILETIME now;
    LARGE_INTEGER counter;
    ULONG_PTR seed;

    GetSystemTimeAsFileTime(&now);
    QueryPerformanceCounter(&counter);
    seed = (ULONG_PTR)now.dwHighDateTime << 32 | now.dwLowDateTime;
    seed ^= (ULONG_PTR)GetCurrentProcessId() << 32 | GetCurrentThreadId();
    seed ^= (ULONG_PTR)counter.LowPart << 32 ^ (ULONG_PTR)counter.QuadPart;
    seed ^= (ULONG_PTR)&seed;
    /* A zero guard would be seeded by the runtime after all. */
    if (!seed) seed = 0x2B992DDFA232;
    __stack_chk_guard = (void *)seed;
}
