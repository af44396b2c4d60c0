#ifndef REMOVER_H
#define REMOVER_H

#include <windows.h>
#include "switch_rules.h"

#define TIMER_REMOVE  3008
#define TIMER_RESTART 3009

/* What the removal found and did. */
struct RemovalReport
{
    int printerFound;
    int printerRemains;     /* the spooler refused to delete the printer found */
    int setupInfoRemoved;   /* the installed copy of the setup information */
};

int RunRemove(HINSTANCE instance);
LRESULT CALLBACK RemoverWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void HandleRemovalTimer(HWND hwnd, UINT_PTR timerId);

/*
 * The removal, for the window and the quiet run alike: printer, driver and
 * print processor when the printer is there, then the installed copy of the
 * setup information. A removal window given gets the restart question's
 * timer as soon as the printer is gone.
 */
void RemoveInstallation(HWND restartWindow, RemovalReport *report);

/* The removal without a window or a question; returns the exit code. */
int RunQuietRemoval(const SwitchValues *switches);

#endif
