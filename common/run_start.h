/*
 * What both programs do with their switches around a run: the log they ask
 * for, the usage, and an invalid command line. Started without a switch the
 * program knows and without /quiet, a program runs as it always has.
 */
#ifndef RUN_START_H
#define RUN_START_H

#include "switch_rules.h"

/* Reads the switches and opens the log; 1, with the exit code, when /? or
   an invalid command line ends the run before it starts. */
int StartRun(int program, SwitchValues *values, int *exitCode);

/* Ends the log with the exit code, and hands the code back. */
int EndRun(int exitCode);

#endif
