/*
 * QLRM550.DLL: the driver's own library file. It exports DllMain alone and
 * nothing loads it: the driver's code is Unidrv's, and the printer's model
 * data is QLRM550.GPD. The driver lists it among its dependent files, and
 * drvsetup dates the driver by its last-write time.
 */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID reserved)
{
    (void)hinst;
    (void)reason;
    (void)reserved;
    return TRUE;
}
