#ifndef CONTROLLER_H
#define CONTROLLER_H

#include <windows.h>

/*
 * stepRunning is set while a page, the copy or a timed phase holds the
 * controller: a WM_CLOSE then comes from outside, and closeRequested keeps
 * it for the end of that step.
 */
extern int stepRunning;
extern int closeRequested;

int RunSetup(HINSTANCE instance);
LRESULT CALLBACK ControllerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
