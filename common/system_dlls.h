/*
 * Both programs run elevated from wherever they were unpacked. Nothing they
 * load may come from their own folder or the current directory.
 */
#ifndef SYSTEM_DLLS_H
#define SYSTEM_DLLS_H

#include <windows.h>

/* The first thing each program does, from a constructor that runs before
   the runtime's own: later loads, the platform's own included, search the
   system directory only. */
void RestrictLibrarySearch(void);

/* The program's window, which a library that cannot be had from the system
   directory closes. */
void CloseWhenLibraryMissing(HWND window);

/* 1 once a stand-in has been handed out for a library or a function that
   could not be had: some call has failed, whether its caller saw it or not. */
int SystemLibraryFailed(void);

#endif
