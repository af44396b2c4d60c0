/* The wizard's pages, each run modally by its launcher. */
#ifndef PAGES_H
#define PAGES_H

#include <windows.h>

INT_PTR RunWelcomePage(HWND owner);
INT_PTR RunModelPage(HWND owner);
INT_PTR RunPortKindPage(HWND owner);
INT_PTR RunPortPage(HWND owner);
INT_PTR RunCopyDialog(HWND owner);
INT_PTR RunExitPage(HWND owner, WORD exitStatus);

/* Where the copy dialog's bar ends its fill. */
int ProgressFillEdge(int percent, const RECT *bar);

int IsDriverInstalled(HWND page);
void DeleteExistingPrinter(HWND page);
void GetModelIconName(const char *rowText, char *iconName);

#endif
