/*
 * The Model page's steps on its selected row, each of which reads the row
 * itself, and the icon of its rows. The page's Next reads the row once and
 * goes through the same routines.
 */
#ifndef MODEL_PAGE_H
#define MODEL_PAGE_H

#include <windows.h>

int IsDriverInstalled(HWND page);
void DeleteExistingPrinter(HWND page);
void GetModelIconName(const char *rowText, char *iconName);

#endif
