#ifndef CONTROLLER_H
#define CONTROLLER_H

#include <windows.h>

/*
 * stepRunning is set while a page, the copy or a timed phase holds the
 * controller: a WM_CLOSE then comes from outside, and closeRequested keeps
 * it for the end of that step. restartRequested is set once the system has
 * taken a restart request.
 */
extern int stepRunning;
extern int closeRequested;
extern int restartRequested;

int RunSetup(HINSTANCE instance);
LRESULT CALLBACK ControllerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
