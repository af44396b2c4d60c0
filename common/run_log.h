/*
 * The log of one run: one process-wide file, a line per step with the local
 * time, the step, its result and its Win32 error code, in UTF-8 with CRLF so
 * that Notepad reads the Korean texts on any Windows. Every call does nothing
 * while no log is open, and a log that cannot be written never stops the
 * run.
 */
#ifndef RUN_LOG_H
#define RUN_LOG_H

#include <windows.h>
#include <stdio.h>

/* The file the command line named, appended to and made when missing. */
int OpenNamedRunLog(const char *path);

/*
 * A new file in the temporary folder of the account that runs the program,
 * PROGRAM-YYYYMMDD-HHMMSS-PID.log, or with a number after the PID when that
 * name is taken: a file or link that stands at the name is never written
 * through. 0, and no log, when none of the names can be made.
 */
int OpenNewRunLog(const char *program);

/* The first line: the program, its version, the account, the system and
   the command line. */
void LogRunHeader(const char *program);

/* One step: "STEP: RESULT, error CODE". The step is a format in the ANSI
   code page. */
void LogStep(const char *result, DWORD error, const char *format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 3, 4)));

/* A step done for the account that runs the program, named in the line. */
void LogAccountStep(const char *result, DWORD error, const char *step);

/* A line of text of its own. */
void LogText(const char *text);

/* The last line, with the exit code, and the file closed. */
void CloseRunLog(int exitCode);

#endif
