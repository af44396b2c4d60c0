/*
 * Registers the copied driver, the optional print processor and the printer
 * with the local spooler, and gives a serial port its line settings.
 */
#include <windows.h>
#include <stdio.h>
#include "install_state.h"
#include "package_files.h"
#include "port_text.h"
#include "product.h"
#include "registration.h"
#include "run_log.h"

static const char PortsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
static const char SerialLineSettings[] = "115200,n,8,1";

/* The message goes into the log on one line; a quiet run shows no box. */
int ReportSpoolerError(const char *format, const char *caption)
{
    DWORD code = GetLastError();
    char text[1280], line[1280];
    int i;

    snprintf(text, sizeof text, format, (int)code);
    for (i = 0; text[i]; i++) line[i] = text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
    line[i] = 0;
    LogStep("failed", code, "%s", line);
    failedSteps++;
    if (!quietRun) MessageBoxA(NULL, text, caption, MB_ICONERROR | MB_OK);
    return 0;
}

/* The last-write time of the driver's own library in the package; zero when
   it cannot be read. */
static void ReadDriverDate(FILETIME *date)
{
    FILETIME created, accessed;
    char path[TEXT_SIZE];
    HANDLE file;

    ZeroMemory(date, sizeof *date);
    GetPackageFilePath(DRIVER_LIBRARY_FILE, path);
    file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    if (!GetFileTime(file, &created, &accessed, date)) ZeroMemory(date, sizeof *date);
    CloseHandle(file);
}

static int AddDriverAndPrintProcessor(void)
{
    DRIVER_INFO_6A driver;
    char previousNames[TEXT_SIZE + 1];

    /* The previous-names list holds the one name, ended by an empty one. */
    ZeroMemory(previousNames, sizeof previousNames);
    CopyText(previousNames, TEXT_SIZE, installState.modelName);

    ZeroMemory(&driver, sizeof driver);
    driver.cVersion = 3;
    driver.pName = installState.modelName;
    driver.pEnvironment = (LPSTR)installState.environment;
    driver.pDriverPath = (LPSTR)UNIDRV_DRIVER_FILE;
    driver.pDataFile = (LPSTR)DRIVER_DATA_FILE;
    driver.pConfigFile = (LPSTR)UNIDRV_CONFIG_FILE;
    driver.pHelpFile = (LPSTR)UNIDRV_HELP_FILE;
    driver.pDependentFiles = installState.dependentFiles;
    driver.pMonitorName = NULL;
    driver.pDefaultDataType = (LPSTR)"RAW";
    driver.pszzPreviousNames = previousNames;
    ReadDriverDate(&driver.ftDriverDate);
    driver.dwlDriverVersion = 0;
    driver.pszMfgName = (LPSTR)GetManufacturerName();
    driver.pszOEMUrl = (LPSTR)GetOemUrl();
    /* A model line without one gives the record none. */
    driver.pszHardwareID = installState.hardwareId[0] ? installState.hardwareId : NULL;
    driver.pszProvider = (LPSTR)GetProviderName();

    if (!AddPrinterDriverA(NULL, 6, (BYTE *)&driver))
        return ReportSpoolerError("Cannot add a printer driver!\r\n(System Error Code : %d)",
                                  "Add a printer error");
    LogStep("done", 0, "add printer driver \"%s\"", installState.modelName);
    /* A failure is passed over, as the spooler may hold the print processor
       already: adding the printer tells whether it is there. */
    if (installState.printProcessorName[0]) {
        int added = AddPrintProcessorA(NULL, NULL, installState.printProcessorFile, installState.printProcessorName);
        LogStep(added ? "done" : "failed, passed over", added ? 0 : GetLastError(), "add print processor %s (%s)",
                installState.printProcessorName, installState.printProcessorFile);
    }
    return 1;
}

static void WriteSerialSettings(void)
{
    HKEY key;
    LONG result;

    if (!IsSerialPortName(installState.portName)) return;
    result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortsKey, 0, KEY_ALL_ACCESS, &key);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(key, installState.portName, 0, REG_SZ, (const BYTE *)SerialLineSettings,
                                sizeof SerialLineSettings);
        RegCloseKey(key);
    }
    LogStep(result == ERROR_SUCCESS ? "done" : "failed", (DWORD)result, "serial line settings %s of \"%s\"",
            SerialLineSettings, installState.portName);
    if (result != ERROR_SUCCESS) failedSteps++;
}

int RegisterDriverAndPrinter(void)
{
    OSVERSIONINFOA version;
    PRINTER_INFO_2A printer;
    HANDLE handle;

    ZeroMemory(&printer, sizeof printer);
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    /* Every system this 64-bit program runs on is NT 5 or later; an older one
       gets the printer without a driver of ours. */
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5) {
        if (!AddDriverAndPrintProcessor()) return 0;
    }

    printer.pPrinterName = installState.modelName;
    printer.pPortName = installState.portName;
    printer.pDriverName = installState.modelName;
    printer.pPrintProcessor = installState.printProcessorName;
    printer.pDatatype = installState.dataType;
    printer.Attributes = PRINTER_ATTRIBUTE_DO_COMPLETE_FIRST | PRINTER_ATTRIBUTE_RAW_ONLY;
    handle = AddPrinterA(NULL, 2, (BYTE *)&printer);
    if (!handle)
        return ReportSpoolerError("Cannot add a printer !\r\n(System Error Code : %d)",
                                  "Add a printer error ");
    ClosePrinter(handle);
    LogStep("done", 0, "add printer \"%s\" on \"%s\"", installState.modelName, installState.portName);

    WriteSerialSettings();
    return 1;
}
