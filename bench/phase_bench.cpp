/*
 * Two steps of drvsetup run in-process from setup_core, each beside a bare
 * program that makes the same calls:
 * - the registration phase's own work without its designed waits (a
 *   printer of the same name removed, then driver, print processor, printer
 *   and serial line settings registered), against the same spooler calls
 *   with the same records;
 * - the copy dialog over a package of many files, against a bare CopyFileA
 *   loop over the same copies.
 * The records and the copies are the program's own: in the warm-up round,
 * spies in front of its imports keep what it hands over. The benchmark lies
 * in a copy of the package, which is where drvsetup takes its files from.
 *
 * Usage: bench_phases [rounds]
 */
#include <windows.h>
#include <stddef.h>
#include <stdio.h>
#include "bench.h"
#include "copy_dialog.h"
#include "import_spy.h"
#include "install_state.h"
#include "package_files.h"
#include "phases.h"
#include "printer_deletion.h"
#include "product.h"
#include "textbuf.h"

#define PORTS_KEY "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports"
#define SERIAL_SETTINGS "115200,n,8,1"
#define LISTED_FILES 100
#define FILE_BYTES 16384
/* The copy starts 100 ms after its dialog opens, and the dialog closes one
   second after the last file. */
#define COPY_WAITS_MS 1100
#define COPY_TARGET "C:\\bench-copies\\"
#define MAX_COPIES 1024

/* The texts the spies keep, one after another, for the whole process. */
static char kept[128 * 1024];
static int keptUsed, keepFailed;

/* A text, or a list of texts ended by an empty one, kept; NULL stays NULL. */
static char *Keep(const char *text, int isList)
{
    int length = 0;
    char *copy;

    if (!text) return NULL;
    if (isList)
        while (text[length]) length += lstrlenA(text + length) + 1;
    else
        length = lstrlenA(text);
    if (length + 2 > (int)sizeof kept - keptUsed) {
        keepFailed = 1;
        return NULL;
    }
    copy = kept + keptUsed;
    CopyMemory(copy, text, length);
    copy[length] = copy[length + 1] = 0;
    keptUsed += length + 2;
    return copy;
}

struct TextField
{
    size_t offset;
    int isList;
};

static const TextField DriverTexts[] = {
    { offsetof(DRIVER_INFO_6A, pName), 0 },
    { offsetof(DRIVER_INFO_6A, pEnvironment), 0 },
    { offsetof(DRIVER_INFO_6A, pDriverPath), 0 },
    { offsetof(DRIVER_INFO_6A, pDataFile), 0 },
    { offsetof(DRIVER_INFO_6A, pConfigFile), 0 },
    { offsetof(DRIVER_INFO_6A, pHelpFile), 0 },
    { offsetof(DRIVER_INFO_6A, pDependentFiles), 1 },
    { offsetof(DRIVER_INFO_6A, pMonitorName), 0 },
    { offsetof(DRIVER_INFO_6A, pDefaultDataType), 0 },
    { offsetof(DRIVER_INFO_6A, pszzPreviousNames), 1 },
    { offsetof(DRIVER_INFO_6A, pszMfgName), 0 },
    { offsetof(DRIVER_INFO_6A, pszOEMUrl), 0 },
    { offsetof(DRIVER_INFO_6A, pszHardwareID), 0 },
    { offsetof(DRIVER_INFO_6A, pszProvider), 0 },
};

static const TextField PrinterTexts[] = {
    { offsetof(PRINTER_INFO_2A, pServerName), 0 },
    { offsetof(PRINTER_INFO_2A, pPrinterName), 0 },
    { offsetof(PRINTER_INFO_2A, pShareName), 0 },
    { offsetof(PRINTER_INFO_2A, pPortName), 0 },
    { offsetof(PRINTER_INFO_2A, pDriverName), 0 },
    { offsetof(PRINTER_INFO_2A, pComment), 0 },
    { offsetof(PRINTER_INFO_2A, pLocation), 0 },
    { offsetof(PRINTER_INFO_2A, pSepFile), 0 },
    { offsetof(PRINTER_INFO_2A, pPrintProcessor), 0 },
    { offsetof(PRINTER_INFO_2A, pDatatype), 0 },
    { offsetof(PRINTER_INFO_2A, pParameters), 0 },
};

static void KeepTexts(void *record, const TextField *fields, int count)
{
    for (int i = 0; i < count; i++) {
        char **field = (char **)((BYTE *)record + fields[i].offset);
        *field = Keep(*field, fields[i].isList);
    }
}

typedef BOOL(WINAPI *AddPrinterDriverAFunction)(LPSTR server, DWORD level, LPBYTE info);
typedef HANDLE(WINAPI *AddPrinterAFunction)(LPSTR server, DWORD level, LPBYTE info);
typedef BOOL(WINAPI *CopyFileAFunction)(LPCSTR source, LPCSTR target, BOOL failIfExists);

static AddPrinterDriverAFunction realAddPrinterDriverA;
static AddPrinterAFunction realAddPrinterA;
static CopyFileAFunction realCopyFileA;

static DRIVER_INFO_6A driverRecord;
static PRINTER_INFO_2A printerRecord;
static int driverRecorded, printerRecorded;
static const char *copies[MAX_COPIES][2];
static int copyCount;

static BOOL WINAPI KeepDriverRecord(LPSTR server, DWORD level, LPBYTE info)
{
    if (level == 6) {
        driverRecord = *(DRIVER_INFO_6A *)info;
        KeepTexts(&driverRecord, DriverTexts, ARRAYSIZE(DriverTexts));
        driverRecorded = 1;
    }
    return realAddPrinterDriverA(server, level, info);
}

/* A device mode or a security descriptor would not outlive the call. */
static HANDLE WINAPI KeepPrinterRecord(LPSTR server, DWORD level, LPBYTE info)
{
    if (level == 2) {
        printerRecord = *(PRINTER_INFO_2A *)info;
        KeepTexts(&printerRecord, PrinterTexts, ARRAYSIZE(PrinterTexts));
        printerRecorded = !printerRecord.pDevMode && !printerRecord.pSecurityDescriptor;
    }
    return realAddPrinterA(server, level, info);
}

static BOOL WINAPI KeepCopy(LPCSTR source, LPCSTR target, BOOL failIfExists)
{
    if (copyCount < MAX_COPIES) {
        copies[copyCount][0] = Keep(source, 0);
        copies[copyCount][1] = Keep(target, 0);
    } else {
        keepFailed = 1;
    }
    copyCount++;
    return realCopyFileA(source, target, failIfExists);
}

static void WatchRegistration(int on)
{
    if (on) {
        realAddPrinterDriverA = (AddPrinterDriverAFunction)ReplaceImport("winspool.drv", "AddPrinterDriverA",
                                                                         (void *)KeepDriverRecord);
        realAddPrinterA = (AddPrinterAFunction)ReplaceImport("winspool.drv", "AddPrinterA", (void *)KeepPrinterRecord);
    } else {
        ReplaceImport("winspool.drv", "AddPrinterDriverA", (void *)realAddPrinterDriverA);
        ReplaceImport("winspool.drv", "AddPrinterA", (void *)realAddPrinterA);
    }
}

static void WatchCopies(int on)
{
    if (on)
        realCopyFileA = (CopyFileAFunction)ReplaceImport("kernel32.dll", "CopyFileA", (void *)KeepCopy);
    else
        ReplaceImport("kernel32.dll", "CopyFileA", (void *)realCopyFileA);
}

static bool PrinterInstalled(const char *name)
{
    HANDLE printer;

    if (!OpenPrinterA((LPSTR)name, &printer, NULL)) return false;
    ClosePrinter(printer);
    return true;
}

/* A spooler directory as the install state keeps it, ending in a backslash. */
typedef BOOL(WINAPI *SpoolerDirectoryFunction)(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                               DWORD size, LPDWORD needed);

static void TakeSpoolerDirectory(SpoolerDirectoryFunction ask, char *directory)
{
    DWORD needed;

    ZeroMemory(directory, TEXT_SIZE);
    ask(NULL, (LPSTR)installState.environment, 1, (LPBYTE)directory, TEXT_SIZE - 1, &needed);
    AppendText(directory, TEXT_SIZE, "\\");
}

static void RunOurCopy(HWND owner)
{
    installState.filesCopied = 0;
    installState.copyCancelled = 0;
    RunCopyDialog(owner);
}

/* What the Model and Port pages leave for the registration, with a serial
   port so that the line settings are written too; the program's own copy
   then puts the files where the spooler takes them from. */
static void PrepareRegistration(HWND owner)
{
    CopyText(installState.modelName, TEXT_SIZE, productIdentity.printerModel);
    CopyText(installState.hardwareId, TEXT_SIZE, "USBPRINT\\TarvokQLP-RM550EA55");
    CopyText(installState.portName, TEXT_SIZE, "COM1:");
    installState.portKind = PORT_KIND_SERIAL;
    CopyText(installState.dataType, TEXT_SIZE, "RAW");
    CopyText(installState.printProcessorName, TEXT_SIZE, "QLPPrintProc");
    CopyText(installState.printProcessorFile, TEXT_SIZE, "qlpproc.dll");
    ZeroMemory(installState.dependentFiles, TEXT_SIZE);
    CopyMemory(installState.dependentFiles, DRIVER_DATA_FILE "\0" DRIVER_LIBRARY_FILE "\0STDNAMES.GPD\0UNIRES.DLL\0", 49);
    installState.fileCount = 4;
    TakeSpoolerDirectory(GetPrinterDriverDirectoryA, installState.x64DriverDirectory);
    TakeSpoolerDirectory(GetPrintProcessorDirectoryA, installState.printProcessorDirectory);
    RunOurCopy(owner);
}

static void OurRegistration(HWND window)
{
    HandlePhaseTimer(window, TIMER_REGISTER);
    KillTimer(window, TIMER_FINISH);
}

/* The calls of the registration phase, one after another, with the records
   the registration handed over. */
static void BareRegistration(void)
{
    OSVERSIONINFOA version;
    FILETIME created, accessed;
    char path[TEXT_SIZE];
    HANDLE printer = NULL, file;
    HKEY key;

    if (DeletePrinterNamed(printerRecord.pPrinterName))
        DeletePrinterDriverA(NULL, driverRecord.pEnvironment, driverRecord.pName);
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    GetPackageFilePath(DRIVER_LIBRARY_FILE, path);
    file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        GetFileTime(file, &created, &accessed, &driverRecord.ftDriverDate);
        CloseHandle(file);
    }
    AddPrinterDriverA(NULL, 6, (LPBYTE)&driverRecord);
    if (installState.printProcessorName[0])
        AddPrintProcessorA(NULL, NULL, installState.printProcessorFile, installState.printProcessorName);
    printer = AddPrinterA(NULL, 2, (LPBYTE)&printerRecord);
    if (printer) ClosePrinter(printer);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PORTS_KEY, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegSetValueExA(key, printerRecord.pPortName, 0, REG_SZ, (const BYTE *)SERIAL_SETTINGS,
                       sizeof SERIAL_SETTINGS);
        RegCloseKey(key);
    }
}

/* LISTED_FILES synthetic files of FILE_BYTES each beside the benchmark,
   listed in the install state, and two target directories of their own. */
static void PrepareCopy(void)
{
    static char data[FILE_BYTES];
    char name[16], path[TEXT_SIZE];
    char *list = installState.dependentFiles;
    DWORD written;
    HANDLE file;

    for (int i = 0; i < FILE_BYTES; i++) data[i] = (char)(i * 31);
    ZeroMemory(installState.dependentFiles, TEXT_SIZE);
    for (int i = 0; i < LISTED_FILES; i++) {
        snprintf(name, sizeof name, "F%02d.DAT", i);
        GetPackageFilePath(name, path);
        file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            WriteFile(file, data, sizeof data, &written, NULL);
            CloseHandle(file);
        }
        CopyMemory(list, name, lstrlenA(name) + 1);
        list += lstrlenA(name) + 1;
    }
    installState.fileCount = LISTED_FILES;
    CreateDirectoryA(COPY_TARGET, NULL);
    CreateDirectoryA(COPY_TARGET "x64", NULL);
    CreateDirectoryA(COPY_TARGET "prtprocs", NULL);
    CopyText(installState.x64DriverDirectory, TEXT_SIZE, COPY_TARGET "x64\\");
    CopyText(installState.printProcessorDirectory, TEXT_SIZE, COPY_TARGET "prtprocs\\");
}

/* The copies the copy dialog made, in its order. */
static void BareCopy(void)
{
    for (int i = 0; i < copyCount; i++) CopyFileA(copies[i][0], copies[i][1], FALSE);
}

int main(int argc, char **argv)
{
    double ours[MAX_ROUNDS], bare[MAX_ROUNDS], start;
    int rounds = RoundsFrom(argc > 1 ? argv[1] : NULL);
    char measure[80];
    HWND owner;

    appInstance = GetModuleHandleA(NULL);
    installState.environment = GetSpoolerEnvironment();
    owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), NULL, NULL, appInstance, NULL);

    /* Round -1 is not counted: it loads the spooler's libraries, and the
       spies keep the records. Every round finds the printer of the round
       before and removes it first. */
    PrepareRegistration(owner);
    for (int round = -1; round < rounds; round++) {
        if (round < 0) WatchRegistration(1);
        start = NowMs();
        OurRegistration(owner);
        double oursMs = NowMs() - start;
        if (round < 0) WatchRegistration(0);
        bool oursInstalled = PrinterInstalled(installState.modelName);
        if (!driverRecorded || !printerRecorded || keepFailed) {
            fprintf(stderr, "the registration's records could not be kept\n");
            return 1;
        }
        start = NowMs();
        BareRegistration();
        double bareMs = NowMs() - start;
        if (!oursInstalled || !PrinterInstalled(printerRecord.pPrinterName)) {
            fprintf(stderr, "a registration failed in round %d\n", round + 1);
            return 1;
        }
        if (round < 0) continue;
        ours[round] = oursMs;
        bare[round] = bareMs;
    }
    ReportTime("registration phase's work (no designed waits)", ours, bare, rounds, 0, AIM_RATIO, 1.5);

    PrepareCopy();
    for (int round = -1; round < rounds; round++) {
        if (round < 0) WatchCopies(1);
        start = NowMs();
        RunOurCopy(owner);
        double oursMs = NowMs() - start;
        if (round < 0) WatchCopies(0);
        if (keepFailed) {
            fprintf(stderr, "more than %d copies could not be kept\n", MAX_COPIES);
            return 1;
        }
        start = NowMs();
        BareCopy();
        double bareMs = NowMs() - start;
        if (installState.filesCopied != LISTED_FILES) {
            fprintf(stderr, "the copy dialog ended after %d files in round %d\n", installState.filesCopied, round + 1);
            return 1;
        }
        if (round < 0) continue;
        ours[round] = oursMs;
        bare[round] = bareMs;
    }
    snprintf(measure, sizeof measure, "copy dialog, %d copies (less 1100 ms of waits)", copyCount);
    ReportTime(measure, ours, bare, rounds, COPY_WAITS_MS, AIM_RATIO, 1.5);
    DestroyWindow(owner);
    return 0;
}
