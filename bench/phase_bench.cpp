/*
 * Two steps of drvsetup run in-process from setup_core, each beside a bare
 * program that makes the same calls: the registration phase (phase 3007
 * without its designed waits) against the bare spooler calls, and the copy
 * dialog over a package of many files against a bare CopyFileA loop over
 * the same copies. The program lies in a copy of the package, which is
 * where drvsetup takes its files from.
 *
 * Usage: bench_phases [rounds]
 */
#include <windows.h>
#include <stdio.h>
#include "bench.h"
#include "controller.h"
#include "install_state.h"
#include "pages.h"
#include "product.h"
#include "textbuf.h"

#define MODEL "TARVOK QLP-RM550"
#define HARDWARE_ID "USBPRINT\\TarvokQLP-RM550EA55"
#define PORTS_KEY "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports"
#define SERIAL_SETTINGS "115200,n,8,1"
#define LISTED_FILES 100
#define FILE_BYTES 16384
#define COPY_WAITS_MS 1100      /* timer 3005 after 100 ms, timer 3006 1 s after the last file */
#define COPY_TARGET "C:\\bench-copies\\"

static const char *const PackageFiles[] = {
    "QLRM550.GPD", "QLRM550.DLL", "STDNAMES.GPD", "UNIRES.DLL",
    "UNIDRV.DLL", "UNIDRV.HLP", "UNIDRVUI.DLL",
};
static const char *const UnidrvFiles[] = {
    "STDNAMES.GPD", "UNIDRV.DLL", "UNIDRV.HLP", "UNIDRVUI.DLL", "UNIRES.DLL",
};

static char packageDir[TEXT_SIZE];

static void PackagePath(char *path, const char *name)
{
    CopyText(path, TEXT_SIZE, packageDir);
    AppendText(path, TEXT_SIZE, name);
}

static bool PrinterInstalled(void)
{
    HANDLE printer;

    if (!OpenPrinterA((LPSTR)MODEL, &printer, NULL)) return false;
    ClosePrinter(printer);
    return true;
}

/* What the Model and Port pages leave for the registration: a serial port,
   so that the line settings are written as well. */
static void PrepareRegistration(void)
{
    char driverDir[TEXT_SIZE], source[TEXT_SIZE], target[TEXT_SIZE];
    DWORD needed;

    CopyText(installState.modelName, TEXT_SIZE, MODEL);
    CopyText(installState.portName, TEXT_SIZE, "COM1:");
    installState.portKind = PORT_KIND_SERIAL;
    CopyText(installState.dataType, TEXT_SIZE, "RAW");
    CopyText(installState.printProcessorName, TEXT_SIZE, "QLPPrintProc");
    CopyText(installState.printProcessorFile, TEXT_SIZE, "qlpproc.dll");
    ZeroMemory(installState.dependentFiles, TEXT_SIZE);
    CopyMemory(installState.dependentFiles, "QLRM550.GPD\0QLRM550.DLL\0STDNAMES.GPD\0UNIRES.DLL\0", 49);
    installState.fileCount = 4;

    /* The copy has put the driver's files where the spooler takes them from. */
    driverDir[0] = 0;
    GetPrinterDriverDirectoryA(NULL, (LPSTR)installState.environment, 1, (LPBYTE)driverDir, sizeof driverDir, &needed);
    for (const char *name : PackageFiles) {
        PackagePath(source, name);
        CopyText(target, sizeof target, driverDir);
        AppendText(target, sizeof target, "\\");
        AppendText(target, sizeof target, name);
        CopyFileA(source, target, FALSE);
    }
}

static void OurRegistration(HWND window)
{
    HandlePhaseTimer(window, TIMER_REGISTER);
    KillTimer(window, TIMER_FINISH);
}

/* The calls of phase 3007, with the same records, made one after another. */
static void BareRegistration(void)
{
    PRINTER_DEFAULTSA defaults = { NULL, NULL, PRINTER_ALL_ACCESS };
    OSVERSIONINFOA version;
    DRIVER_INFO_6A driver;
    PRINTER_INFO_2A info;
    FILETIME created, accessed;
    char path[TEXT_SIZE], previousNames[] = MODEL "\0";
    HANDLE printer = NULL, file;
    HKEY key;

    if (OpenPrinterA((LPSTR)MODEL, &printer, &defaults) && printer) {
        DeletePrinter(printer);
        ClosePrinter(printer);
        DeletePrinterDriverA(NULL, (LPSTR)installState.environment, (LPSTR)MODEL);
    }
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    ZeroMemory(&driver, sizeof driver);
    PackagePath(path, "QLRM550.DLL");
    file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        GetFileTime(file, &created, &accessed, &driver.ftDriverDate);
        CloseHandle(file);
    }
    driver.cVersion = 3;
    driver.pName = (LPSTR)MODEL;
    driver.pEnvironment = (LPSTR)installState.environment;
    driver.pDriverPath = (LPSTR) "UNIDRV.DLL";
    driver.pDataFile = (LPSTR) "QLRM550.GPD";
    driver.pConfigFile = (LPSTR) "UNIDRVUI.DLL";
    driver.pHelpFile = (LPSTR) "UNIDRV.HLP";
    driver.pDependentFiles = installState.dependentFiles;
    driver.pDefaultDataType = (LPSTR) "RAW";
    driver.pszzPreviousNames = previousNames;
    driver.pszMfgName = (LPSTR)GetManufacturerName();
    driver.pszOEMUrl = (LPSTR)GetOemUrl();
    driver.pszHardwareID = (LPSTR)HARDWARE_ID;
    driver.pszProvider = (LPSTR)GetProviderName();
    AddPrinterDriverA(NULL, 6, (LPBYTE)&driver);
    AddPrintProcessorA(NULL, NULL, (LPSTR) "qlpproc.dll", (LPSTR) "QLPPrintProc");

    ZeroMemory(&info, sizeof info);
    info.pPrinterName = info.pDriverName = (LPSTR)MODEL;
    info.pPortName = (LPSTR) "COM1:";
    info.pPrintProcessor = (LPSTR) "QLPPrintProc";
    info.pDatatype = (LPSTR) "RAW";
    info.Attributes = PRINTER_ATTRIBUTE_DO_COMPLETE_FIRST | PRINTER_ATTRIBUTE_RAW_ONLY;
    printer = AddPrinterA(NULL, 2, (LPBYTE)&info);
    if (printer) ClosePrinter(printer);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PORTS_KEY, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegSetValueExA(key, "COM1:", 0, REG_SZ, (const BYTE *)SERIAL_SETTINGS, sizeof SERIAL_SETTINGS);
        RegCloseKey(key);
    }
}

/* LISTED_FILES files of FILE_BYTES each beside the program, listed in the
   install state with the copy's two target directories. */
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
        PackagePath(path, name);
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

static void OurCopy(HWND owner)
{
    installState.filesCopied = 0;
    installState.copyCancelled = 0;
    RunCopyDialog(owner);
}

static void BareCopyOne(const char *name, const char *targetDir)
{
    char source[TEXT_SIZE], target[TEXT_SIZE];

    PackagePath(source, name);
    CopyText(target, sizeof target, targetDir);
    AppendText(target, sizeof target, name);
    CopyFileA(source, target, FALSE);
}

/* The same copies in the same order: the library, then each listed file
   with the five Unidrv files after it. */
static void BareCopy(void)
{
    BareCopyOne(installState.printProcessorFile, installState.printProcessorDirectory);
    for (const char *name = installState.dependentFiles; *name; name += lstrlenA(name) + 1) {
        BareCopyOne(name, installState.x64DriverDirectory);
        for (const char *unidrv : UnidrvFiles) BareCopyOne(unidrv, installState.x64DriverDirectory);
    }
}

int main(int argc, char **argv)
{
    double ours[MAX_ROUNDS], bare[MAX_ROUNDS], start;
    int rounds = RoundsFrom(argc > 1 ? argv[1] : NULL);
    char measure[80];
    HWND owner;

    appInstance = GetModuleHandleA(NULL);
    GetModuleDirectory(packageDir);
    installState.environment = GetSpoolerEnvironment();
    owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), NULL, NULL, appInstance, NULL);

    /* Round -1 is not counted: it loads the spooler's libraries. Every
       round finds the printer of the round before and removes it first. */
    PrepareRegistration();
    for (int round = -1; round < rounds; round++) {
        start = NowMs();
        OurRegistration(owner);
        double oursMs = NowMs() - start;
        bool oursInstalled = PrinterInstalled();
        start = NowMs();
        BareRegistration();
        double bareMs = NowMs() - start;
        if (!oursInstalled || !PrinterInstalled()) {
            fprintf(stderr, "a registration failed in round %d\n", round + 1);
            return 1;
        }
        if (round < 0) continue;
        ours[round] = oursMs;
        bare[round] = bareMs;
    }
    ReportTime("registration phase 3007 (no designed waits)", ours, bare, rounds, 0, AIM_RATIO, 1.5);

    PrepareCopy();
    for (int round = -1; round < rounds; round++) {
        start = NowMs();
        OurCopy(owner);
        double oursMs = NowMs() - start;
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
    snprintf(measure, sizeof measure, "copy dialog, %d copies (less 1100 ms waits)", 1 + LISTED_FILES * 6);
    ReportTime(measure, ours, bare, rounds, COPY_WAITS_MS, AIM_RATIO, 1.5);
    DestroyWindow(owner);
    return 0;
}
