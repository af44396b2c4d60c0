#include <windows.h>
#include "command_line.h"
#include "exit_codes.h"
#include "product.h"
#include "run_log.h"
#include "run_start.h"
#include "textbuf.h"

#define USAGE_SIZE 4096

static const char *ProgramName(int program)
{
    return program == PROGRAM_SETUP ? "drvsetup" : "drvremove";
}

/* A log the command line names that cannot be opened still leaves a quiet
   run its log in the temporary folder, which says so. */
static void OpenLog(int program, const SwitchValues *values)
{
    int named = values->logPath[0] && OpenNamedRunLog(values->logPath);
    DWORD error = named ? 0 : GetLastError();

    if (!named && values->quiet) OpenNewRunLog(ProgramName(program));
    LogRunHeader(ProgramName(program));
    if (values->logPath[0] && !named) LogStep("cannot be opened", error, "log %s", values->logPath);
}

static void ShowUsage(int program, const char *fault)
{
    char text[USAGE_SIZE];
    const char *line;

    text[0] = 0;
    if (fault) {
        AppendText(text, sizeof text, "Invalid command line: ");
        AppendText(text, sizeof text, fault);
        AppendText(text, sizeof text, ".\r\n\r\n");
    }
    for (int i = 0; (line = UsageLine(program, i)); i++) {
        AppendText(text, sizeof text, line);
        AppendText(text, sizeof text, "\r\n");
    }
    MessageBoxA(NULL, text, GetSetupTitle(), MB_OK | (fault ? MB_ICONERROR : MB_ICONINFORMATION));
}

static void LogUsage(int program)
{
    const char *line;

    for (int i = 0; (line = UsageLine(program, i)); i++) LogText(line);
}

int StartRun(int program, SwitchValues *values, int *exitCode)
{
    ReadCommandLine(program, values);
    if (!values->known && !values->quiet) return 0;
    OpenLog(program, values);
    if (values->help) {
        if (values->quiet)
            LogUsage(program);
        else
            ShowUsage(program, NULL);
        *exitCode = EndRun(EXIT_CODE_SUCCESS);
        return 1;
    }
    if (values->fault[0]) {
        LogStep("invalid", ERROR_INVALID_COMMAND_LINE, "command line: %s", values->fault);
        if (!values->quiet) ShowUsage(program, values->fault);
        *exitCode = EndRun(EXIT_CODE_INVALID_COMMAND_LINE);
        return 1;
    }
    return 0;
}

int EndRun(int exitCode)
{
    CloseRunLog(exitCode);
    return exitCode;
}
