/*
 * The removal program: a hidden window driven by two one-shot timers. It
 * removes the printer, its driver and its print processor and the installed
 * copy of the setup information file, then offers to restart Windows. It
 * reports no failure: it simply ends.
 */
#include <windows.h>
#include <setupapi.h>
#include "hidden_window.h"
#include "product.h"
#include "remover.h"
#include "shutdown.h"
#include "textbuf.h"

static const char RemoverClassName[] = "Tarvok_Printer_Driver_Uninstaller";
static const char RestartQuestion[] =
    "You will need to restart the computer.\r\nDo you want to restart your computer now?";

/* Length of C:\Windows\INF\, which the installed copy's path starts with. */
#define INF_DIRECTORY_LENGTH 15

static char printProcessorName[TEXT_SIZE];

/* The first field of the "Strings" entry that [QLP] PrintProcessor names. */
static void ReadPrintProcessorName(void)
{
    char reference[TEXT_SIZE], entry[TEXT_SIZE];
    const char *field;
    int length;

    ZeroMemory(reference, sizeof reference);
    GetPrivateProfileStringA("QLP", "PrintProcessor", "", reference, sizeof reference, GetSetupInfoPath());
    length = lstrlenA(reference);
    if (!length) return;
    reference[length - 1] = 0;
    ZeroMemory(entry, sizeof entry);
    GetPrivateProfileStringA("Strings", reference + 1, "", entry, sizeof entry, GetSetupInfoPath());
    for (field = entry; *field == ','; field++)
        ;
    length = 0;
    while (field[length] && field[length] != ',') length++;
    if (length >= TEXT_SIZE) length = TEXT_SIZE - 1;
    CopyMemory(printProcessorName, field, length);
    printProcessorName[length] = 0;
}

/* 1 when the installed copy was found and uninstalled. */
static int RemoveInstalledSetupInfo(void)
{
    char source[TEXT_SIZE], installed[256];

    CopyText(source, sizeof source, productIdentity.oemInfPath);
    ZeroMemory(installed, sizeof installed);
    if (!SetupCopyOEMInfA(source, NULL, SPOST_NONE, SP_COPY_REPLACEONLY, installed, sizeof installed, NULL, NULL))
        return 0;
    installed[sizeof installed - 1] = 0;
    return SetupUninstallOEMInfA(lstrlenA(installed) > INF_DIRECTORY_LENGTH ? installed + INF_DIRECTORY_LENGTH : "",
                                 SUOI_FORCEDELETE, NULL);
}

static void RemovePrinterDriverAndProcessor(HWND hwnd)
{
    PRINTER_DEFAULTSA defaults = { NULL, NULL, PRINTER_ALL_ACCESS };
    HANDLE printer = NULL;

    ReadPrintProcessorName();
    if (OpenPrinterA((LPSTR)productIdentity.printerModel, &printer, &defaults) && printer) {
        DeletePrinter(printer);
        ClosePrinter(printer);
        DeletePrinterDriverA(NULL, NULL, (LPSTR)productIdentity.printerModel);
        SetTimer(hwnd, TIMER_RESTART, 1000, NULL);
        DeletePrintProcessorA(NULL, NULL, printProcessorName);
    } else {
        PostMessageA(hwnd, WM_CLOSE, 1, 0);
    }
    if (!RemoveInstalledSetupInfo()) PostMessageA(hwnd, WM_CLOSE, 1, 0);
}

/* When the restart cannot be asked for, the program ends all the same. */
static void AskForRestart(HWND hwnd)
{
    if (MessageBoxA(NULL, RestartQuestion, "Question", MB_ICONQUESTION | MB_YESNO) != IDYES) {
        PostMessageA(hwnd, WM_CLOSE, 1, 0);
        return;
    }
    if (!EnableShutdownPrivilege() || !ExitWindowsEx(EWX_REBOOT, 0)) PostMessageA(hwnd, WM_CLOSE, 1, 0);
}

void HandleRemovalTimer(HWND hwnd, UINT_PTR timerId)
{
    if (timerId == TIMER_REMOVE)
        RemovePrinterDriverAndProcessor(hwnd);
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
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int RunRemove(HINSTANCE instance)
{
    appInstance = instance;
    return RunHiddenWindow(instance, RemoverClassName, RemoverWindowProc);
}
