/* The hidden window that runs the wizard. */
#ifndef CONTROLLER_H
#define CONTROLLER_H

#include <windows.h>

int RunSetup(HINSTANCE instance);
LRESULT CALLBACK ControllerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
