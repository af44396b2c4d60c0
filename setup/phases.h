/* The timed phases of the installation and the registry cleanup they use. */
#ifndef PHASES_H
#define PHASES_H

#include <windows.h>

/* The work of one of the controller's one-shot timers, already killed. */
void HandlePhaseTimer(HWND hwnd, UINT_PTR timerId);

/* 1, with the trace key open for the caller to close, when an earlier
   installation left its trace. */
int FindEarlierInstallation(HKEY *trace);
/* The earlier installation's form keys and values and its driver key. */
void RemovePreviousInstallation(void);
/* A printer of the chosen name, and its driver after it. */
void RemoveSameNamedPrinter(void);

int DeleteRegistryTree(HKEY parent, const char *subkey, char *nameBuffer);
void DeleteRegistryKey(const char *path);
void DeleteFormValue(const char *formName);

#endif
