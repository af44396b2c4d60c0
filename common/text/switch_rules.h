/*
 * The switches both programs take on their command lines, and how the
 * arguments are read into values. The arguments come in one at a time, each
 * already in the ANSI code page with a flag that says whether it converted
 * exactly. Needs no Windows header, so it also compiles natively for the
 * fuzzers.
 */
#ifndef SWITCH_RULES_H
#define SWITCH_RULES_H

#include "textbuf.h"

/* Which program a switch belongs to. */
#define PROGRAM_SETUP  1
#define PROGRAM_REMOVE 2

/* What the run does about a restart it needs. */
#define RESTART_LEFT_TO_CALLER 0   /* neither switch: report it */
#define RESTART_NEVER          1   /* /norestart: report it */
#define RESTART_FORCED         2   /* /forcerestart: request it */

struct SwitchValues
{
    int program;
    int known;                  /* switches of this program given */
    int quiet;
    int help;
    int makeDefault;
    int restart;
    char model[TEXT_SIZE];      /* empty when not given */
    char port[TEXT_SIZE];       /* "COM3:" or "USB001", empty when not given */
    int portKind;               /* PORT_NAME_SERIAL or PORT_NAME_USB (port_text.h) */
    char logPath[TEXT_SIZE];    /* empty when not given */
    char fault[TEXT_SIZE];      /* why the line is invalid; empty when it is not */
    char unknown[TEXT_SIZE];    /* the first argument that is no switch of this program */
    int pendingSwitch;          /* a switch whose value the next argument gives, or -1 */
    int given;                  /* a bit for each switch given */
};

void StartSwitches(int program, struct SwitchValues *values);
/* One argument after the program's name; exact is 0 when it did not
   convert to the ANSI code page exactly (its text then holds stand-ins). */
void ReadArgument(struct SwitchValues *values, const char *text, int exact);
/* After the last argument: a value still owed, or a quiet installation
   without its port, makes the line invalid. */
void EndSwitches(struct SwitchValues *values);

/* The usage of a program, one line at a time; NULL past the last line. */
const char *UsageLine(int program, int index);

#endif
