/* Everything read from the setup information file, one profile value at a time. */
#ifndef SETUP_INFO_H
#define SETUP_INFO_H

#include <windows.h>

short GetModelCount(void);
void GetModelNameAt(WORD index, char *name);
int ReadInstallSection(HWND modelPage);
const char *GetHardwareId(const char *model);
void BuildDependentFiles(const char *copyFiles);

#endif
