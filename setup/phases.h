/* The timed phases of the installation and the registry cleanup they use. */
#ifndef PHASES_H
#define PHASES_H

#include <windows.h>

/* The work of one of the controller's one-shot timers, already killed. */
void HandlePhaseTimer(HWND hwnd, UINT_PTR timerId);

int DeleteRegistryTree(HKEY parent, const char *subkey, char *nameBuffer);
void DeleteRegistryKey(const char *path);
void DeleteFormValue(const char *formName);

#endif
