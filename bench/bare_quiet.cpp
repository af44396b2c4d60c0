/*
 * A baseline of the quiet runs: a bare Win32 program that makes the
 * platform calls a quiet installation or removal of the sample package
 * makes, in their order, with none of the programs' code. It reads its
 * arguments with CommandLineToArgvW, writes a log line after each step into
 * a new file of the temporary folder, and names the package's own values
 * (the model, its four listed files, the print processor) where the programs
 * read and check them.
 *
 * Usage, from the package's folder: bench_bare_quiet install | remove
 */
#include <windows.h>
#include <setupapi.h>
#include <shellapi.h>
#include <stdio.h>

#define MODEL "TARVOK QLP-RM550"
#define ENVIRONMENT "Windows x64"
#define PROCESSOR "QLPPrintProc"
#define LIBRARY "qlpproc.dll"
#define SETUP_INFO_COPY "C:\\TARVOK\\qlrm550.inf"
#define MODELS_SECTION "TarvokSystems"

static const char *const ListedFiles[] = { "QLRM550.GPD", "QLRM550.DLL", "STDNAMES.GPD", "UNIRES.DLL" };
static const char *const UnidrvFiles[] = { "STDNAMES.GPD", "UNIDRV.DLL", "UNIDRV.HLP", "UNIDRVUI.DLL", "UNIRES.DLL" };

static HANDLE logFile;
static char setupInfo[MAX_PATH], folder[MAX_PATH];

static void Log(const char *step)
{
    char line[512];
    SYSTEMTIME now;
    DWORD written;

    GetLocalTime(&now);
    int length = snprintf(line, sizeof line, "%02u:%02u:%02u  %s: done, error 0\r\n", now.wHour, now.wMinute,
                          now.wSecond, step);
    WriteFile(logFile, line, length, &written, NULL);
}

static void Read(const char *section, const char *key, char *value, DWORD size)
{
    GetPrivateProfileStringA(section, key, "", value, size, setupInfo);
}

static void OpenLog(const char *program)
{
    WCHAR temp[MAX_PATH], name[64];
    HANDLE token;
    BYTE user[256];
    WCHAR account[128], domain[128];
    DWORD needed, accountSize = 128, domainSize = 128;
    SID_NAME_USE use;

    GetTempPathW(MAX_PATH, temp);
    wsprintfW(name, L"%hs-%lu.log", program, GetCurrentProcessId());
    lstrcatW(temp, name);
    logFile = CreateFileW(temp, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    GetTokenInformation(token, TokenUser, user, sizeof user, &needed);
    LookupAccountSidW(NULL, ((TOKEN_USER *)user)->User.Sid, account, &accountSize, domain, &domainSize, &use);
    CloseHandle(token);
    Log(program);
}

static void ReadModel(void)
{
    char keys[2048], line[1024], value[1024];

    Read(MODELS_SECTION, NULL, keys, 1024);
    Read(MODELS_SECTION, NULL, keys, sizeof keys);
    Read(MODELS_SECTION, NULL, keys, sizeof keys);
    Log("model");
    Read(MODELS_SECTION, "\"" MODEL "\"", line, sizeof line);
    Read("QLRM550", "CopyFiles", value, sizeof value);
    Read("QLRM550", "DataSection", value, sizeof value);
    Read("UNIDRV_DATA", "DefaultDataType", value, sizeof value);
    Read("QLP", "PrintProcessor", value, sizeof value);
    Read("Strings", "QLP_PRINTPROCESSOR", value, sizeof value);
}

/* The port is looked for as the Port page lists serial ports: the list is
   fetched once for the count and twice for each of its rows. */
static void FindPort(void)
{
    DWORD needed = 0, count = 0, rows;
    BYTE *ports;

    EnumPortsA(NULL, 1, NULL, 0, &needed, &count);
    ports = (BYTE *)LocalAlloc(LPTR, needed);
    EnumPortsA(NULL, 1, ports, needed, &needed, &count);
    LocalFree(ports);
    rows = count;
    for (DWORD i = 0; i < rows; i++) {
        EnumPortsA(NULL, 1, NULL, 0, &needed, &count);
        ports = (BYTE *)LocalAlloc(LPTR, needed);
        EnumPortsA(NULL, 1, ports, needed, &needed, &count);
        LocalFree(ports);
    }
    Log("port");
}

static void Copy(const char *name, const char *directory)
{
    char source[MAX_PATH], target[MAX_PATH];

    snprintf(source, sizeof source, "%s\\%s", folder, name);
    snprintf(target, sizeof target, "%s\\%s", directory, name);
    CopyFileA(source, target, FALSE);
    Log(name);
}

static void Install(void)
{
    char drivers[MAX_PATH], processors[MAX_PATH], line[1024];
    DWORD needed = 0, count = 0;
    HANDLE printer = NULL, file;
    PRINTER_DEFAULTSA all = { NULL, NULL, PRINTER_ALL_ACCESS };
    OSVERSIONINFOA version = {};
    FILETIME created, accessed, written;
    DRIVER_INFO_6A driver = {};
    PRINTER_INFO_2A info = {};
    HKEY key;

    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\A4 210 x 297mm", 0,
                  KEY_ALL_ACCESS, &key);
    ReadModel();
    FindPort();
    EnumPrinterDriversA(NULL, (LPSTR)ENVIRONMENT, 1, NULL, 0, &needed, &count);
    GetPrintProcessorDirectoryA(NULL, (LPSTR)ENVIRONMENT, 1, (BYTE *)processors, sizeof processors, &needed);
    GetPrinterDriverDirectoryA(NULL, (LPSTR)ENVIRONMENT, 1, (BYTE *)drivers, sizeof drivers, &needed);
    CreateDirectoryA(drivers, NULL);
    Read("QLP", "PrintProcessor", line, sizeof line);
    Read("Strings", "QLP_PRINTPROCESSOR", line, sizeof line);
    Copy(LIBRARY, processors);
    for (const char *listed : ListedFiles) {
        Copy(listed, drivers);
        for (const char *unidrv : UnidrvFiles) Copy(unidrv, drivers);
    }
    if (OpenPrinterA((LPSTR)MODEL, &printer, &all)) ClosePrinter(printer);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    snprintf(line, sizeof line, "%s\\QLRM550.DLL", folder);
    file = CreateFileA(line, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    GetFileTime(file, &created, &accessed, &written);
    CloseHandle(file);
    Read(MODELS_SECTION, "\"" MODEL "\"", line, sizeof line);

    driver.cVersion = 3;
    driver.pName = driver.pszzPreviousNames = (LPSTR)MODEL "\0";
    driver.pEnvironment = (LPSTR)ENVIRONMENT;
    driver.pDriverPath = (LPSTR) "UNIDRV.DLL";
    driver.pDataFile = (LPSTR) "QLRM550.GPD";
    driver.pConfigFile = (LPSTR) "UNIDRVUI.DLL";
    driver.pHelpFile = (LPSTR) "UNIDRV.HLP";
    driver.pDependentFiles = (LPSTR) "QLRM550.GPD\0QLRM550.DLL\0STDNAMES.GPD\0UNIRES.DLL\0";
    driver.pDefaultDataType = (LPSTR) "RAW";
    driver.ftDriverDate = written;
    AddPrinterDriverA(NULL, 6, (BYTE *)&driver);
    Log("driver");
    AddPrintProcessorA(NULL, NULL, (LPSTR)LIBRARY, (LPSTR)PROCESSOR);
    Log("print processor");
    info.pPrinterName = info.pDriverName = (LPSTR)MODEL;
    info.pPortName = (LPSTR) "COM1:";
    info.pPrintProcessor = (LPSTR)PROCESSOR;
    info.pDatatype = (LPSTR) "RAW";
    info.Attributes = PRINTER_ATTRIBUTE_DO_COMPLETE_FIRST | PRINTER_ATTRIBUTE_RAW_ONLY;
    printer = AddPrinterA(NULL, 2, (BYTE *)&info);
    if (printer) ClosePrinter(printer);
    Log("printer");
    if (!RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports", 0,
                       KEY_ALL_ACCESS, &key)) {
        RegSetValueExA(key, "COM1:", 0, REG_SZ, (const BYTE *)"115200,n,8,1", 13);
        RegCloseKey(key);
    }
    Log("serial line settings");
}

static void Remove(void)
{
    PRINTER_DEFAULTSA all = { NULL, NULL, PRINTER_ALL_ACCESS };
    char line[1024], installed[256];
    DWORD needed = 0;
    HANDLE printer;
    BYTE *record;

    Read("QLP", "PrintProcessor", line, sizeof line);
    Read("Strings", "QLP_PRINTPROCESSOR", line, sizeof line);
    if (OpenPrinterA((LPSTR)MODEL, &printer, &all)) {
        GetPrinterA(printer, 2, NULL, 0, &needed);
        record = (BYTE *)GlobalAlloc(GPTR, needed);
        GetPrinterA(printer, 2, record, needed, &needed);
        GlobalFree(record);
        DeletePrinter(printer);
        ClosePrinter(printer);
        Log("printer");
        DeletePrinterDriverA(NULL, NULL, (LPSTR)MODEL);
        Log("driver");
        DeletePrintProcessorA(NULL, NULL, (LPSTR)PROCESSOR);
        Log("print processor");
    }
    GetPrivateProfileStringA(MODELS_SECTION, "\"" MODEL "\"", "", line, sizeof line, SETUP_INFO_COPY);
    if (SetupCopyOEMInfA(SETUP_INFO_COPY, NULL, SPOST_NONE, SP_COPY_REPLACEONLY, installed, sizeof installed, NULL,
                         NULL)) {
        GetPrivateProfileStringA(MODELS_SECTION, "\"" MODEL "\"", "", line, sizeof line, installed);
        SetupUninstallOEMInfA(strrchr(installed, '\\') + 1, SUOI_FORCEDELETE, NULL);
    }
    Log("installed copy");
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count;
    WCHAR **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    char mode[16] = "";

    if (count > 1) WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, arguments[1], -1, mode, sizeof mode, NULL, NULL);
    LocalFree(arguments);
    GetCurrentDirectoryA(sizeof folder, folder);
    snprintf(setupInfo, sizeof setupInfo, "%s\\QLRM550.INF", folder);
    OpenLog(mode);
    if (!lstrcmpA(mode, "install"))
        Install();
    else
        Remove();
    Log("exit code 0");
    CloseHandle(logFile);
    return 0;
}
