#ifndef HIDDEN_WINDOW_H
#define HIDDEN_WINDOW_H

#include <windows.h>

/* Runs a program's hidden controlling window and returns its exit code. */
int RunHiddenWindow(HINSTANCE instance, const char *className, WNDPROC windowProc);

#endif
