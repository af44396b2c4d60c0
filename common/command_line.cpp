/*
 * Both programs read their arguments the platform's way, with
 * CommandLineToArgvW, which shell32 holds; shell32 is delay-loaded from the
 * system directory like the spooler. Each argument is taken in the ANSI code
 * page only when it converts exactly: a letter the code page lacks must not
 * turn a model, port or log name into a near one.
 */
#include <windows.h>
#include <shellapi.h>
#include "ansi_text.h"
#include "command_line.h"

/* The program's name is taken as CommandLineToArgvW takes it: in quotes up
   to the next quote, or up to the first blank. */
static int HasArguments(const WCHAR *line)
{
    if (*line == L'"') {
        for (line++; *line && *line != L'"'; line++) continue;
        if (*line) line++;
    } else {
        while (*line && *line != L' ' && *line != L'\t') line++;
    }
    while (*line == L' ' || *line == L'\t') line++;
    return *line != 0;
}

void ReadCommandLineText(int program, const WCHAR *commandLine, SwitchValues *values)
{
    char argument[TEXT_SIZE];
    WCHAR **arguments;
    int count;

    StartSwitches(program, values);
    if (!HasArguments(commandLine)) return;
    arguments = CommandLineToArgvW(commandLine, &count);
    /* Arguments that cannot be read might have asked for a quiet run: none
       is shown, and the line counts as invalid. */
    if (!arguments) {
        values->quiet = 1;
        CopyText(values->fault, TEXT_SIZE, "the command line cannot be read");
        return;
    }
    for (int i = 1; i < count; i++) {
        int exact = ExactAnsiText(arguments[i], argument);
        ReadArgument(values, argument, exact);
    }
    LocalFree(arguments);
    EndSwitches(values);
}

void ReadCommandLine(int program, SwitchValues *values)
{
    ReadCommandLineText(program, GetCommandLineW(), values);
}
