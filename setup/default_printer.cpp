/* Makes a named printer the user's default printer. */
#include <windows.h>
#include <stdio.h>
#include "default_printer_entry.h"
#include "default_printer.h"
#include "install_state.h"
#include "printer_record.h"
#include "run_log.h"

static int WriteDefaultDevice(const char *printerName, const PRINTER_INFO_2A *record)
{
    char *entry;
    int length, written;

    if (!record->pDriverName || !record->pPortName) return 0;
    length = FormatDeviceEntry(printerName, record->pDriverName, record->pPortName, NULL, 0);
    entry = (char *)GlobalAlloc(GPTR, length + 1);
    if (!entry) return 0;
    FormatDeviceEntry(printerName, record->pDriverName, record->pPortName, entry, length + 1);
    written = WriteProfileStringA("windows", "device", entry);
    GlobalFree(entry);
    if (!written) return 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_NORMAL, 1000, NULL);
    return 1;
}

static int MarkDefaultAttribute(HANDLE printer, PRINTER_INFO_2A *record)
{
    record->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    if (!SetPrinterA(printer, 2, (BYTE *)record, 0)) return 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, (LPARAM)"windows", SMTO_NORMAL, 1000, NULL);
    return 1;
}

static int SelectDefaultPrinter(const char *printerName)
{
    OSVERSIONINFOA version;
    HANDLE printer = NULL;
    PRINTER_INFO_2A *record;
    int done;

    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (!printerName) return 0;
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT && version.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS)
        return 1;

    if (!OpenPrinterA((LPSTR)printerName, &printer, NULL) || !printer) return 0;
    record = ReadPrinterRecord(printer);
    if (!record) {
        ClosePrinter(printer);
        return 0;
    }
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        done = WriteDefaultDevice(printerName, record);
    else
        done = MarkDefaultAttribute(printer, record);
    ClosePrinter(printer);
    GlobalFree(record);
    return done;
}

/* The default printer is the account's own: the log names the account, which
   under SYSTEM is no person's. */
int MakeDefaultPrinter(const char *printerName)
{
    char step[TEXT_SIZE + 32];
    int done = SelectDefaultPrinter(printerName);
    DWORD error = done ? 0 : GetLastError();

    snprintf(step, sizeof step, "default printer \"%s\"", printerName ? printerName : "");
    LogAccountStep(done ? "set" : "not set", error, step);
    if (!done) failedSteps++;
    return done;
}
