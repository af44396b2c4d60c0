/*
 * Driver, print processor and printer registration against Wine's spooler.
 *
 * Wine stores none of the level-6 driver fields (manufacturer, provider,
 * hardware ID, OEM URL, driver date and version); Windows keeps them under
 * the driver's key. A spy in front of the program's import of
 * AddPrinterDriverA records the record that reaches the real call instead.
 */
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "engine_fixtures.h"
#include "import_spy.h"
#include "install_state.h"
#include "product.h"
#include "registration.h"
#include "setup_info.h"

static const char Model[] = "TARVOK QLP-RM550";
static const char DriverKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\TARVOK QLP-RM550";
static const char ProcessorKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print Processors\\QLPPrintProc";
static const char PortsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

/* The install state as the wizard leaves it, with the shipped INF beside the program. */
static bool PrepareInstall(const char *model, const char *port, const char *processor)
{
    if (GetFileAttributesA(FIXTURE_INF_PATH) == INVALID_FILE_ATTRIBUTES &&
        !(USE_FIXTURE_SETUP_INFO() && CopyFileA(PackageFile("QLRM550.INF").c_str(), FIXTURE_INF_PATH, FALSE)))
        return false;
    ZeroMemory(&installState, sizeof installState);
    installState.environment = GetSpoolerEnvironment();
    /* The model's name and the hardware ID of its line, as the reader keeps them. */
    ReadModelInstallSection(model);
    lstrcpyA(installState.portName, port);
    ZeroMemory(installState.dependentFiles, sizeof installState.dependentFiles);
    memcpy(installState.dependentFiles, "QLRM550.GPD\0QLRM550.DLL\0", 25);
    installState.fileCount = 2;
    lstrcpyA(installState.dataType, "NT EMF 1.008");
    lstrcpyA(installState.printProcessorName, processor);
    lstrcpyA(installState.printProcessorFile, "qlpproc.dll");
    return true;
}

/* Registers while a second thread answers any box it shows. */
static int Register(BoxWatch *box)
{
    StartBoxWatch(box);
    int result = RegisterDriverAndPrinter();
    FinishBoxWatch(box);
    return result;
}

/* The printer's level-2 record, or an empty one with no such printer. */
static PRINTER_INFO_2A *ReadPrinter(const char *name, BYTE (&buffer)[8192])
{
    HANDLE printer;
    DWORD needed;

    ZeroMemory(buffer, sizeof buffer);
    if (OpenPrinterA((LPSTR)name, &printer, NULL)) {
        GetPrinterA(printer, 2, buffer, sizeof buffer, &needed);
        ClosePrinter(printer);
    }
    return (PRINTER_INFO_2A *)buffer;
}

static LSTATUS (WINAPI *realRegSetValueExA)(HKEY, LPCSTR, DWORD, DWORD, const BYTE *, DWORD);
static DWORD seenSettingsSize;

/* Wine's RegSetValueExA (and Windows NT's, by Wine's source) counts a NUL
   that the size left out when one follows the text: the stored value cannot
   show a size one short, only the call can. */
static LSTATUS WINAPI SpyRegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE *data,
                                        DWORD size)
{
    seenSettingsSize = size;
    return realRegSetValueExA(key, name, reserved, type, data, size);
}

TEST(Registration, DriverPrintProcessorAndPrinter)
{
    BoxWatch box;
    BYTE buffer[8192];

    ASSERT_TRUE(PrepareInstall(Model, "COM3:", "QLPPrintProc"));
    ASSERT_STREQ(installState.hardwareId, "USBPRINT\\TarvokQLP-RM550EA55") << "the driver record's hardware ID";
    realRegSetValueExA = (LSTATUS (WINAPI *)(HKEY, LPCSTR, DWORD, DWORD, const BYTE *, DWORD))
        ReplaceImport("advapi32.dll", "RegSetValueExA", (void *)SpyRegSetValueExA);
    ASSERT_TRUE(realRegSetValueExA != NULL);
    ASSERT_EQ(Register(&box), 1);
    ReplaceImport("advapi32.dll", "RegSetValueExA", (void *)realRegSetValueExA);
    EXPECT_EQ(box.boxes, 0) << box.text;

    PRINTER_INFO_2A *printer = ReadPrinter(Model, buffer);
    ASSERT_TRUE(printer->pPrinterName != NULL);
    EXPECT_STREQ(printer->pPrinterName, Model);
    EXPECT_STREQ(printer->pPortName, "COM3:");
    EXPECT_STREQ(printer->pDriverName, Model);
    EXPECT_STREQ(printer->pPrintProcessor, "QLPPrintProc");
    EXPECT_STREQ(printer->pDatatype, "NT EMF 1.008");
    EXPECT_EQ(printer->Attributes, 0x1200u);

    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, DriverKey, "Driver"), "UNIDRV.DLL");
    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, DriverKey, "Data File"), "QLRM550.GPD");
    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, DriverKey, "Configuration File"), "UNIDRVUI.DLL");
    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, DriverKey, "Help File"), "UNIDRV.HLP");
    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, DriverKey, "Datatype"), "RAW") << "RAW whatever the printer's is";
    std::string list = RegistryData(HKEY_LOCAL_MACHINE, DriverKey, "Dependent Files");
    EXPECT_EQ(JoinList(list.data(), list.size()), "QLRM550.GPD|QLRM550.DLL");
    list = RegistryData(HKEY_LOCAL_MACHINE, DriverKey, "Previous Names");
    EXPECT_EQ(JoinList(list.data(), list.size()), Model);

    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, ProcessorKey, "Driver"), "qlpproc.dll");
    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, PortsKey, "COM3:"), "115200,n,8,1");
    EXPECT_EQ(seenSettingsSize, 13u) << "\"115200,n,8,1\" with its NUL";
}

TEST(Registration, SerialSettingsOnlyForUpperCaseComPorts)
{
    BoxWatch box;
    BYTE buffer[8192];

    /* Wine overwrites a printer of the same name, so each port replaces the last. */
    for (const char *port : { "USB001", "com5:", "COM4:" }) {
        SCOPED_TRACE(port);
        ASSERT_TRUE(PrepareInstall(Model, port, "QLPPrintProc"));
        ASSERT_EQ(Register(&box), 1) << box.text;
        EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, PortsKey, port), port[0] == 'C' ? "115200,n,8,1" : "<missing>");
        EXPECT_STREQ(ReadPrinter(Model, buffer)->pPortName, port);
    }
}

TEST(Registration, FailuresAreShownAndStopTheRegistration)
{
    BoxWatch box;
    BYTE buffer[8192];
    const std::string tooLong(300, 'x');

    ASSERT_TRUE(PrepareInstall(tooLong.c_str(), "COM3:", "QLPPrintProc"));
    EXPECT_EQ(Register(&box), 0) << "a driver name too long for a registry key";
    ASSERT_EQ(box.boxes, 1);
    EXPECT_EQ(box.caption, "Add a printer error");
    EXPECT_TRUE(box.owner == NULL);
    EXPECT_EQ(box.text, "Cannot add a printer driver!\r\n(System Error Code : 87)");
    EXPECT_TRUE(ReadPrinter(tooLong.c_str(), buffer)->pPrinterName == NULL);
    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, ProcessorKey, "Driver"), "<missing>");
    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, PortsKey, "COM3:"), "9600,n,8,1");

    ASSERT_TRUE(PrepareInstall(Model, "COM3:", ""));
    EXPECT_EQ(Register(&box), 0) << "a printer without a print processor";
    ASSERT_EQ(box.boxes, 1);
    EXPECT_EQ(box.caption, "Add a printer error ");
    EXPECT_TRUE(box.owner == NULL);
    /* Windows and Wine 10 say 1798, ERROR_UNKNOWN_PRINTPROCESSOR; Wine 8's
       AddPrinterA says 87 for it, as for every refused printer. */
    DWORD unknownProcessor = WineMajorVersion() == 8 ? ERROR_INVALID_PARAMETER : ERROR_UNKNOWN_PRINTPROCESSOR;
    EXPECT_EQ(box.text, "Cannot add a printer !\r\n(System Error Code : " + std::to_string(unknownProcessor) + ")");
    EXPECT_TRUE(ReadPrinter(Model, buffer)->pPrinterName == NULL);
    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, DriverKey, "Data File"), "QLRM550.GPD") << "the driver stays";
    EXPECT_EQ(RegistryData(HKEY_LOCAL_MACHINE, PortsKey, "COM3:"), "9600,n,8,1");
}

static BOOL (WINAPI *realAddPrinterDriverA)(LPSTR, DWORD, LPBYTE);
static DRIVER_INFO_6A seenDriver;
static std::string seenStrings[9];
static std::string seenDependentFiles, seenPreviousNames;
static bool seenHardwareId;

static BOOL WINAPI SpyAddPrinterDriverA(LPSTR server, DWORD level, LPBYTE info)
{
    const DRIVER_INFO_6A *d = (const DRIVER_INFO_6A *)info;
    const char *const strings[9] = { d->pName, d->pEnvironment, d->pDriverPath, d->pDataFile, d->pConfigFile,
                                     d->pHelpFile, d->pDefaultDataType, d->pszMfgName, d->pszOEMUrl };

    seenDriver = *d;
    for (int i = 0; i < 9; i++) seenStrings[i] = strings[i] ? strings[i] : "<null>";
    seenDependentFiles = JoinList(d->pDependentFiles, 1024);
    seenPreviousNames = JoinList(d->pszzPreviousNames, 1025);
    seenHardwareId = d->pszHardwareID != NULL;
    if (seenHardwareId) seenStrings[8] += std::string(" ") + d->pszHardwareID;
    EXPECT_EQ(level, 6u);
    return realAddPrinterDriverA(server, level, info);
}

TEST(Registration, Level6RecordReachesTheSpooler)
{
    FILETIME written = { 0x12345678, 0x01d00000 }, created = { 0x11111111, 0x01c00000 };

    ASSERT_TRUE(USE_FIXTURE_SETUP_INFO());
    ASSERT_TRUE(WRITE_FIXTURE_INF("[TarvokSystems]\r\n\"TARVOK QLP-RM550\"=QLRM550,USBPRINT\\TarvokQLP-RM550EA55\r\n"
                                  "\"ONE FIELD\"=QLRM550\r\n"));
    realAddPrinterDriverA = (BOOL (WINAPI *)(LPSTR, DWORD, LPBYTE))
        ReplaceImport("winspool.drv", "AddPrinterDriverA", (void *)SpyAddPrinterDriverA);
    ASSERT_TRUE(realAddPrinterDriverA != NULL);

    /* The driver's date is the last-write time of QLRM550.DLL in the current
       directory. Wine on Linux reports a file's creation time as its last-write
       time, so it cannot tell the two apart; Windows keeps them apart. */
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\fixture"));
    HANDLE dll = CreateFileA("QLRM550.DLL", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(dll, INVALID_HANDLE_VALUE);
    SetFileTime(dll, &created, NULL, &written);
    CloseHandle(dll);

    ASSERT_TRUE(PrepareInstall(Model, "USB001", "QLPPrintProc"));
    ASSERT_EQ(RegisterDriverAndPrinter(), 1);
    EXPECT_EQ(seenDriver.cVersion, 3u);
    EXPECT_EQ(seenStrings[0], Model);
    EXPECT_EQ(seenStrings[1], "Windows x64");
    EXPECT_EQ(seenStrings[2], "UNIDRV.DLL");
    EXPECT_EQ(seenStrings[3], "QLRM550.GPD");
    EXPECT_EQ(seenStrings[4], "UNIDRVUI.DLL");
    EXPECT_EQ(seenStrings[5], "UNIDRV.HLP");
    EXPECT_EQ(seenStrings[6], "RAW") << "the printer's data type is another";
    EXPECT_EQ(seenStrings[7], GetManufacturerName());
    EXPECT_EQ(seenStrings[8], std::string(GetOemUrl()) + " USBPRINT\\TarvokQLP-RM550EA55");
    EXPECT_EQ(seenDriver.pszProvider, std::string(GetManufacturerName()));
    EXPECT_TRUE(seenDriver.pMonitorName == NULL);
    EXPECT_EQ(seenDependentFiles, "QLRM550.GPD|QLRM550.DLL");
    EXPECT_EQ(seenPreviousNames, Model);
    EXPECT_EQ(seenDriver.dwlDriverVersion, 0u);
    EXPECT_EQ(seenDriver.ftDriverDate.dwLowDateTime, written.dwLowDateTime);
    EXPECT_EQ(seenDriver.ftDriverDate.dwHighDateTime, written.dwHighDateTime);

    /* A model line of one field has no hardware ID; without the library the
       date is zero. */
    DeleteFileA("QLRM550.DLL");
    ASSERT_TRUE(PrepareInstall("ONE FIELD", "USB001", "QLPPrintProc"));
    ASSERT_EQ(RegisterDriverAndPrinter(), 1);
    EXPECT_FALSE(seenHardwareId);
    EXPECT_EQ(seenDriver.ftDriverDate.dwLowDateTime | seenDriver.ftDriverDate.dwHighDateTime, 0u);
    ReplaceImport("winspool.drv", "AddPrinterDriverA", (void *)realAddPrinterDriverA);
}
