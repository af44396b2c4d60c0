/* The wizard's pages, each run modally by its launcher. */
#ifndef PAGES_H
#define PAGES_H

#include <windows.h>

INT_PTR RunWelcomePage(HWND owner);
INT_PTR RunModelPage(HWND owner);
INT_PTR RunPortKindPage(HWND owner);
INT_PTR RunPortPage(HWND owner);
INT_PTR RunExitPage(HWND owner, WORD exitStatus);

#endif
