/*
 * The work that runs when one of the controller's one-shot timers fires: the
 * start-up check for an earlier installation, with its cleanup and restart,
 * and the registration phase after the copy.
 */
#include <windows.h>
#include "dialog_kit.h"
#include "install_state.h"
#include "phases.h"
#include "printer_deletion.h"
#include "product.h"
#include "registration.h"
#include "resource.h"
#include "restart.h"
#include "run_log.h"
#include "system_dlls.h"
#include "take_package.h"

static const char FormsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Forms";
static const char TraceKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\A4 210 x 297mm";
static const char DriverKeyPrefix[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\";

/* The paper forms an earlier installation left, in the order they are removed. */
static const char *const FormNames[] = {
    "A4 210 x 297mm", "LETTER 216 x 280mm", "B5 182 x 257mm",
    "24 x 300mm", "24 x 600mm", "24 x 3000mm",
    "48 x 300mm", "48 x 600mm", "48 x 3000mm",
    "72 x 300mm", "72 x 600mm", "72 x 3000mm",
    "104 x 300mm", "104 x 600mm", "104 x 3000mm",
};

static const char RestartQuestion[] =
    "For driver installation, you will need to restart the computer.\r\n"
    "Do you want to restart your computer now?";

static int registrationResult;

/*
 * Deleting a subkey renumbers the ones after it, so the enumeration asks for
 * the same index again, and steps past a subkey only when it is still there.
 */
int DeleteRegistryTree(HKEY parent, const char *subkey, char *nameBuffer)
{
    char childBuffer[NAME_SIZE];
    DWORD index = 0;
    HKEY key, check;

    ZeroMemory(childBuffer, sizeof childBuffer);
    if (RegOpenKeyExA(parent, subkey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return -1;
    ZeroMemory(nameBuffer, NAME_SIZE);
    /* Any failure of the enumeration ends it: the buffer then holds no name. */
    while (RegEnumKeyA(key, index, nameBuffer, NAME_SIZE) == ERROR_SUCCESS) {
        nameBuffer[NAME_SIZE - 1] = 0;
        if (DeleteRegistryTree(key, nameBuffer, childBuffer) == -1) {
            RegCloseKey(key);
            return 1;
        }
        if (RegOpenKeyExA(key, nameBuffer, 0, KEY_READ, &check) == ERROR_SUCCESS) {
            RegCloseKey(check);
            index++;
        }
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, subkey);
    return 0;
}

void DeleteRegistryKey(const char *path)
{
    char nameBuffer[NAME_SIZE];
    HKEY key;

    ZeroMemory(nameBuffer, sizeof nameBuffer);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegCloseKey(key);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, path, nameBuffer);
}

void DeleteFormValue(const char *formName)
{
    HKEY key;

    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, FormsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, formName);
    RegCloseKey(key);
}

void RemovePreviousInstallation(void)
{
    char path[NAME_SIZE], model[NAME_SIZE];
    unsigned i;

    for (i = 0; i < ARRAYSIZE(FormNames); i++) {
        CopyText(path, sizeof path, FormsKey);
        AppendText(path, sizeof path, "\\");
        AppendText(path, sizeof path, FormNames[i]);
        DeleteRegistryKey(path);
    }
    for (i = 0; i < ARRAYSIZE(FormNames); i++) DeleteFormValue(FormNames[i]);

    ZeroMemory(path, sizeof path);
    ZeroMemory(model, sizeof model);
    CopyText(path, sizeof path, DriverKeyPrefix);
    CopyText(model, sizeof model, productIdentity.printerModel);
    AppendText(path, sizeof path, model);
    DeleteRegistryKey(path);
    LogStep("removed", 0, "the earlier installation's form keys and values and its driver key");
}

int FindEarlierInstallation(HKEY *trace)
{
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, TraceKey, 0, KEY_ALL_ACCESS, trace);

    LogStep(result == ERROR_SUCCESS ? "found" : "none", (DWORD)result, "earlier installation (HKLM\\%s)", TraceKey);
    return result == ERROR_SUCCESS;
}

/* The wait starts before the status window is made and painted, so that
   their cost is not added to it. */
static void StartBusy(HWND hwnd, UINT textId, UINT nextTimer, UINT delay)
{
    SetTimer(hwnd, nextTimer, delay, NULL);
    statusWindow = ShowStatusDialog(hwnd, (WORD)textId);
    ShowWindow(statusWindow, SW_SHOW);
    UpdateWindow(statusWindow);
}

static void EndBusy(void)
{
    DestroyWindow(statusWindow);
    statusWindow = NULL;
    ReleaseCapture();
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
}

/*
 * With the trace of an earlier installation the user may have it removed and
 * Windows restarted. When the restart cannot be asked for, the cleanup is
 * done all the same and the program ends without a page.
 */
static void CheckPreviousInstallation(HWND hwnd)
{
    HKEY trace;

    EndBusy();
    if (!FindEarlierInstallation(&trace)) {
        stepRunning = 0;
        /* Closed from outside while the check ran: the wizard does not start. */
        if (closeRequested)
            PostMessageA(hwnd, WM_CLOSE, EXIT_FAILED, 0);
        else
            PostMessageA(hwnd, WM_COMMAND, CMD_WELCOME_PAGE, 0);
        return;
    }
    if (!AskRestartQuestion(RestartQuestion)) {
        stepRunning = 0;
        PostMessageA(hwnd, WM_CLOSE, EXIT_FAILED, 0);
    } else {
        RemovePreviousInstallation();
        /* The restart ends the process before the program's own end. */
        ReleasePackage();
        if (!RequestRestart()) DestroyWindow(hwnd);
    }
    RegCloseKey(trace);
}

void RemoveSameNamedPrinter(void)
{
    int deleted;

    if (!DeletePrinterNamed(installState.modelName)) {
        LogStep("none", 0, "printer \"%s\" to replace", installState.modelName);
        return;
    }
    deleted = DeletePrinterDriverA(NULL, (LPSTR)installState.environment, installState.modelName);
    LogStep(deleted ? "deleted with its driver" : "deleted, its driver kept", deleted ? 0 : GetLastError(),
            "printer \"%s\" to replace", installState.modelName);
}

void HandlePhaseTimer(HWND hwnd, UINT_PTR timerId)
{
    switch (timerId) {
    case TIMER_READ_SETUP_INFO:
        SetCapture(hwnd);
        SetCursor(LoadCursorA(NULL, IDC_WAIT));
        StartBusy(hwnd, IDS_READING_SETUP_INFO, TIMER_CHECK_PREVIOUS, 1000);
        TakePackage();
        break;
    case TIMER_CHECK_PREVIOUS:
        CheckPreviousInstallation(hwnd);
        break;
    case TIMER_WRITE_SYSTEM_INFO:
        StartBusy(hwnd, IDS_WRITING_SYSTEM_INFO, TIMER_REGISTER, 3000);
        break;
    case TIMER_REGISTER:
        RemoveSameNamedPrinter();
        registrationResult = RegisterDriverAndPrinter();
        /* A stand-in failed a call whose failure the registration may not
           have seen, such as the closing of the new printer. */
        if (SystemLibraryFailed()) registrationResult = 0;
        SetTimer(hwnd, TIMER_FINISH, 4000, NULL);
        break;
    case TIMER_FINISH:
        DestroyWindow(statusWindow);
        statusWindow = NULL;
        stepRunning = 0;
        PostMessageA(hwnd, WM_CLOSE, registrationResult ? EXIT_SUCCEEDED : EXIT_FAILED, 0);
        ReleaseCapture();
        SetCursor(LoadCursorA(NULL, IDC_ARROW));
        break;
    }
}
