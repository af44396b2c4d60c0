/* The copy dialog, which puts the package's files where the spooler takes them from. */
#ifndef COPY_DIALOG_H
#define COPY_DIALOG_H

#include <windows.h>

INT_PTR RunCopyDialog(HWND owner);

/* Where the copy dialog's bar ends its fill. */
int ProgressFillEdge(int percent, const RECT *bar);

#endif
