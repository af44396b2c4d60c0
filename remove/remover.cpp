/*
 * The removal program: a hidden window driven by two one-shot timers. It
 * removes the printer, its driver and its print processor and the installed
 * copy of the setup information file, then offers to restart Windows. It
 * reports no failure: it simply ends.
 */
#include <windows.h>
#include <setupapi.h>
#include "hidden_window.h"
#include "path_names.h"
#include "print_processor_entry.h"
#include "printer_deletion.h"
#include "printer_record.h"
#include "product.h"
#include "remover.h"
#include "restart.h"
#include "run_log.h"
#include "run_start.h"
#include "setup_info_text.h"
#include "textbuf.h"

static const char RemoverClassName[] = "Tarvok_Printer_Driver_Uninstaller";
static const char RestartQuestion[] =
    "You will need to restart the computer.\r\nDo you want to restart your computer now?";

static char printProcessorName[TEXT_SIZE];

/* Only the name: the library stays where the spooler keeps it. */
static void ReadPrintProcessorName(void)
{
    char name[TEXT_SIZE], file[TEXT_SIZE];

    if (ReadPrintProcessorEntry(name, file) && name[0]) CopyText(printProcessorName, TEXT_SIZE, name);
    LogStep(printProcessorName[0] ? printProcessorName : "none", 0, "print processor the setup information names");
}

/*
 * The uninstall is forced, and the look-up finds whatever installed copy has
 * the same content. Anybody who can write the fixed path could put a copy of
 * another package's file there: only our own file is looked up.
 */
static int IsProductSetupInfo(const char *path)
{
    char key[TEXT_SIZE], line[TEXT_SIZE];

    if (!MakeModelKey(productIdentity.printerModel, key, sizeof key)) return 0;
    ZeroMemory(line, sizeof line);
    GetPrivateProfileStringA(GetManufacturerSection(), key, "", line, sizeof line, path);
    return line[0] != 0;
}

/*
 * 1 when the installed copy was found and uninstalled. Its name is what
 * follows the last backslash, wherever the system keeps its INF files. The
 * copy is looked up by the content the fixed path holds at that moment,
 * which may no longer be what was checked: the copy itself, where only
 * administrators write, has to be ours too.
 */
static int RemoveInstalledSetupInfo(void)
{
    char source[TEXT_SIZE], installed[256];
    const char *name;

    CopyText(source, sizeof source, productIdentity.oemInfPath);
    if (!IsProductSetupInfo(source)) {
        LogStep("not this product's, or missing", 0, "setup information %s", source);
        return 0;
    }
    ZeroMemory(installed, sizeof installed);
    if (!SetupCopyOEMInfA(source, NULL, SPOST_NONE, SP_COPY_REPLACEONLY, installed, sizeof installed, NULL, NULL)) {
        LogStep("none", GetLastError(), "installed copy of %s", source);
        return 0;
    }
    installed[sizeof installed - 1] = 0;
    if (!IsProductSetupInfo(installed)) {
        LogStep("not this product's, kept", 0, "installed copy %s", installed);
        return 0;
    }
    name = FileNamePart(installed, IsAnsiLeadByte);
    if (!SetupUninstallOEMInfA(name, SUOI_FORCEDELETE, NULL)) {
        LogStep("failed", GetLastError(), "uninstall of the installed copy %s", name);
        return 0;
    }
    LogStep("done", 0, "uninstall of the installed copy %s", name);
    return 1;
}

/* The print processor the printer uses; empty when its record cannot be read. */
static void ReadPrinterProcessor(HANDLE printer, char *name)
{
    PRINTER_INFO_2A *record = ReadPrinterRecord(printer);

    name[0] = 0;
    if (!record) return;
    if (record->pPrintProcessor) CopyText(name, TEXT_SIZE, record->pPrintProcessor);
    GlobalFree(record);
}

/*
 * The spooler matches print processor names ordinally, ignoring case: here
 * in their wide form, upper-cased by the system's own table (LCMapString
 * without LCMAP_LINGUISTIC_CASING), code unit for code unit. A linguistic
 * comparison holds names equal that the spooler tells apart, such as one
 * with a soft hyphen in it.
 */
static int SameSpoolerName(const char *a, const char *b)
{
    WCHAR wideA[TEXT_SIZE], wideB[TEXT_SIZE], upperA[TEXT_SIZE], upperB[TEXT_SIZE];
    int length = MultiByteToWideChar(CP_ACP, 0, a, -1, wideA, TEXT_SIZE);

    if (!length || MultiByteToWideChar(CP_ACP, 0, b, -1, wideB, TEXT_SIZE) != length) return 0;
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wideA, length, upperA, TEXT_SIZE) != length ||
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wideB, length, upperB, TEXT_SIZE) != length)
        return 0;
    return !memcmp(upperA, upperB, length * sizeof(WCHAR));
}

static const char *Outcome(int done)
{
    return done ? "done" : "failed";
}

/* The setup information may name another maker's print processor: it goes
   only when the printer removed used it. */
static void RemovePrinterDriverAndProcessor(HANDLE printer, HWND restartWindow, RemovalReport *report)
{
    char printerProcessor[TEXT_SIZE];
    int done;

    ReadPrinterProcessor(printer, printerProcessor);
    report->printerRemains = !DeleteOpenedPrinter(printer);
    LogStep(Outcome(!report->printerRemains), report->printerRemains ? GetLastError() : 0, "delete printer \"%s\"",
            productIdentity.printerModel);
    done = DeletePrinterDriverA(NULL, NULL, (LPSTR)productIdentity.printerModel);
    LogStep(Outcome(done), done ? 0 : GetLastError(), "delete printer driver \"%s\"", productIdentity.printerModel);
    if (restartWindow) SetTimer(restartWindow, TIMER_RESTART, 1000, NULL);
    if (printProcessorName[0] && SameSpoolerName(printerProcessor, printProcessorName)) {
        done = DeletePrintProcessorA(NULL, NULL, printProcessorName);
        LogStep(Outcome(done), done ? 0 : GetLastError(), "delete print processor %s", printProcessorName);
    } else {
        LogStep("kept", 0, "print processor %s (the printer used %s)", printProcessorName, printerProcessor);
    }
}

void RemoveInstallation(HWND restartWindow, RemovalReport *report)
{
    HANDLE printer;

    ZeroMemory(report, sizeof *report);
    ReadPrintProcessorName();
    printer = OpenPrinterToDelete(productIdentity.printerModel);
    report->printerFound = printer != NULL;
    LogStep(printer ? "found" : "none", printer ? 0 : GetLastError(), "printer \"%s\"", productIdentity.printerModel);
    if (printer) RemovePrinterDriverAndProcessor(printer, restartWindow, report);
    report->setupInfoRemoved = RemoveInstalledSetupInfo();
}

/* Without the printer, or without an installed copy to uninstall, the
   program ends without the restart question. */
static void RunRemoval(HWND hwnd)
{
    RemovalReport report;

    RemoveInstallation(hwnd, &report);
    if (!report.printerFound || !report.setupInfoRemoved) PostMessageA(hwnd, WM_CLOSE, 1, 0);
}

/* When the restart cannot be asked for, the program ends all the same. */
static void AskForRestart(HWND hwnd)
{
    if (!AskRestartQuestion(RestartQuestion) || !RequestRestart()) PostMessageA(hwnd, WM_CLOSE, 1, 0);
}

void HandleRemovalTimer(HWND hwnd, UINT_PTR timerId)
{
    if (timerId == TIMER_REMOVE)
        RunRemoval(hwnd);
    else if (timerId == TIMER_RESTART)
        AskForRestart(hwnd);
}

LRESULT CALLBACK RemoverWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        SetTimer(hwnd, TIMER_REMOVE, 500, NULL);
        return 0;
    case WM_TIMER:
        KillTimer(hwnd, wParam);
        HandleRemovalTimer(hwnd, wParam);
        return 0;
    case WM_COMMAND:
        return 0;
    case WM_ENDSESSION:
        if (RestartCancelled(wParam)) PostMessageA(hwnd, WM_CLOSE, 1, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int RunRemove(HINSTANCE instance)
{
    SwitchValues switches;
    int exitCode;

    appInstance = instance;
    if (StartRun(PROGRAM_REMOVE, &switches, &exitCode)) return exitCode;
    if (switches.quiet)
        exitCode = RunQuietRemoval(&switches);
    else
        exitCode = RunHiddenWindow(instance, RemoverClassName, RemoverWindowProc);
    return EndRun(exitCode);
}
