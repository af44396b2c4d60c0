/*
 * The Model page's steps on its selected row, each of which reads the row
 * itself, and the icon of its rows. The page's Next reads the row once and
 * hands it to the routines these steps wrap.
 */
#ifndef MODEL_PAGE_H
#define MODEL_PAGE_H

#include <windows.h>

int IsDriverInstalled(HWND page);
void DeleteExistingPrinter(HWND page);
/* 0 when no model is selected. */
int ReadInstallSection(HWND page);
void GetModelIconName(const char *rowText, char *iconName);
/* What Next does with the model read from the row: a printer of that name
   goes when its driver is installed, then the install section is read. */
void ChooseModel(const char *model);

#endif
