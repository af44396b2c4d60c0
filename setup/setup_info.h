/* Everything read from the setup information file, one profile value at a time. */
#ifndef SETUP_INFO_H
#define SETUP_INFO_H

#include <windows.h>

short GetModelCount(void);
void GetModelNameAt(WORD index, char *name);
/* Reads what the registration needs of the model into installState: its
   files, data type and hardware ID, the print processor and the spooler's
   directories. */
void ReadModelInstallSection(const char *model);
/* The files the model's install section lists, as a dependent-file list in
   a TEXT_SIZE buffer; the number listed. */
int ListModelFiles(const char *model, char *list);
void BuildDependentFiles(const char *copyFiles);

#endif
