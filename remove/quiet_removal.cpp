/*
 * The removal for a tool that rolls software out: no window, no wait and no
 * question; the exit code tells where the interactive program would have
 * asked for a restart.
 */
#include <windows.h>
#include "exit_codes.h"
#include "remover.h"
#include "restart.h"
#include "run_log.h"

int RunQuietRemoval(const SwitchValues *switches)
{
    RemovalReport report;

    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    RemoveInstallation(NULL, &report);
    if (report.printerRemains) return EXIT_CODE_STEP_FAILED;
    /* The question follows a printer found and an installed copy removed. */
    if (report.printerFound && report.setupInfoRemoved) return EndWithRestart(switches->restart);
    return EXIT_CODE_SUCCESS;
}
