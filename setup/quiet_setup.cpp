/*
 * The installation for a tool that rolls software out: the wizard's steps,
 * in the wizard's order and through the wizard's own routines, with the
 * choices taken from the command line instead of the pages. It shows
 * nothing and never waits: no page, status window, copy dialog, message box
 * or restart question, and none of the wizard's designed pauses.
 */
#include <windows.h>
#include "default_printer.h"
#include "exit_codes.h"
#include "file_copy.h"
#include "install_state.h"
#include "listed_rows.h"
#include "model_page.h"
#include "phases.h"
#include "port_text.h"
#include "ports.h"
#include "product.h"
#include "quiet_setup.h"
#include "registration.h"
#include "restart.h"
#include "run_log.h"
#include "setup_info.h"
#include "system_dlls.h"
#include "take_package.h"

/* The trace of an earlier installation: its cleanup, as after Yes at the
   wizard's restart question, and no installation. */
static int CleanUpEarlierInstallation(int restartSwitch, int *exitCode)
{
    HKEY trace;

    if (!FindEarlierInstallation(&trace)) return 0;
    RemovePreviousInstallation();
    ReleasePackage();
    *exitCode = EndWithRestart(restartSwitch);
    RegCloseKey(trace);
    return 1;
}

/* The model as the Model page lists it; 0 with the exit code when there is
   none to take. */
static int TakeModel(const char *wanted, char *model, int *exitCode)
{
    ListedRow row;
    DWORD attributes;

    FindListedRow(GetModelCount(), GetModelNameAt, wanted[0] ? wanted : NULL, &row);
    if (!row.rows) {
        attributes = GetSetupInfoPath()[0] ? GetFileAttributesA(GetSetupInfoPath()) : INVALID_FILE_ATTRIBUTES;
        LogStep(attributes == INVALID_FILE_ATTRIBUTES ? "missing" : "lists no model",
                attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0, "setup information %s of the package",
                SetupInfoTable[setupInfoRow].fileName);
        *exitCode = EXIT_CODE_PACKAGE_UNREADABLE;
        return 0;
    }
    if (wanted[0] && !row.found) {
        LogStep("not listed by the setup information", ERROR_INVALID_COMMAND_LINE, "model \"%s\"", wanted);
        *exitCode = EXIT_CODE_INVALID_COMMAND_LINE;
        return 0;
    }
    if (!wanted[0] && row.rows > 1) {
        LogStep("several listed, /model names none", ERROR_INVALID_COMMAND_LINE, "model");
        *exitCode = EXIT_CODE_INVALID_COMMAND_LINE;
        return 0;
    }
    CopyText(model, TEXT_SIZE, wanted[0] ? row.match : row.first);
    LogStep(wanted[0] ? "listed" : "the only one listed", 0, "model \"%s\"", model);
    return 1;
}

/* The port as the Port page would offer it: a serial port of the spooler,
   or a port of the USB discovery. */
static int TakePort(const char *wanted, int kind, char *port)
{
    ListedRow row;

    installState.portKind = kind == PORT_NAME_SERIAL ? PORT_KIND_SERIAL : PORT_KIND_USB;
    FindListedRow(GetPortCount(), GetPortNameAt, wanted, &row);
    if (!row.found) {
        LogStep("not on this machine", ERROR_UNKNOWN_PORT, "port \"%s\"", wanted);
        return 0;
    }
    CopyText(port, TEXT_SIZE, row.match);
    LogStep(kind == PORT_NAME_SERIAL ? "listed by the spooler" : "found by the USB discovery", 0, "port \"%s\"", port);
    return 1;
}

/* Every file, as the copy dialog copies them; a failed copy does not stop
   the ones after it. */
static void CopyPackageFiles(void)
{
    CopyPrintProcessorLibrary();
    for (; installState.filesCopied < installState.fileCount; installState.filesCopied++)
        CopyListedFile(ListedFileName(installState.filesCopied));
}

/* The steps from the earlier installation's check to the default printer. */
static int Install(const SwitchValues *switches)
{
    char model[TEXT_SIZE], port[TEXT_SIZE];
    int exitCode;

    if (CleanUpEarlierInstallation(switches->restart, &exitCode)) return exitCode;
    if (!TakeModel(switches->model, model, &exitCode)) return exitCode;
    if (!TakePort(switches->port, switches->portKind, port)) return EXIT_CODE_STEP_FAILED;

    ChooseModel(model);
    StorePortName(port);
    CopyPackageFiles();
    RemoveSameNamedPrinter();
    if (RegisterDriverAndPrinter() && switches->makeDefault) MakeDefaultPrinter(installState.modelName);
    return failedSteps ? EXIT_CODE_STEP_FAILED : EXIT_CODE_SUCCESS;
}

/* The package is taken first, as the wizard takes it while it reads the
   setup information. A system library or function that could not be had
   failed a call somewhere, seen or not: the run has failed. */
int RunQuietSetup(const SwitchValues *switches)
{
    int exitCode;

    quietRun = 1;
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    TakePackage();
    exitCode = Install(switches);
    ReleasePackage();
    if (SystemLibraryFailed() && exitCode != EXIT_CODE_INVALID_COMMAND_LINE) {
        LogStep("failed", ERROR_MOD_NOT_FOUND, "a system library or one of its functions");
        exitCode = EXIT_CODE_STEP_FAILED;
    }
    return exitCode;
}
