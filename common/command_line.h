/* The switches a program was started with, read from its wide command line. */
#ifndef COMMAND_LINE_H
#define COMMAND_LINE_H

#include <windows.h>
#include "switch_rules.h"

/* This process's switches; a command line that names only the program
   leaves them all unset without loading anything. */
void ReadCommandLine(int program, SwitchValues *values);

/* The switches of a command line as this process's would be read. */
void ReadCommandLineText(int program, const WCHAR *commandLine, SwitchValues *values);

#endif
