/*
 * The default printer setting, against Wine's spooler and the user's profile
 * (the "device" entry of [windows], which Wine keeps in the registry).
 */
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "engine_fixtures.h"
#include "default_printer.h"

static const char Model[] = "TARVOK QLP-RM550";

static std::string DeviceEntry(void)
{
    char entry[512];

    GetProfileStringA("windows", "device", "<none>", entry, sizeof entry);
    return entry;
}

static void AddPrinterOnUsb001(void)
{
    DRIVER_INFO_3A driver = {};
    PRINTER_INFO_2A printer = {};

    driver.cVersion = 3;
    driver.pName = driver.pDriverPath = driver.pDataFile = driver.pConfigFile = (LPSTR)Model;
    driver.pEnvironment = (LPSTR)"Windows x64";
    ASSERT_TRUE(AddPrinterDriverA(NULL, 3, (BYTE *)&driver));
    printer.pPrinterName = printer.pDriverName = (LPSTR)Model;
    printer.pPortName = (LPSTR)"USB001";
    printer.pPrintProcessor = (LPSTR)"winprint";
    printer.pDatatype = (LPSTR)"RAW";
    HANDLE handle = AddPrinterA(NULL, 2, (BYTE *)&printer);
    ASSERT_TRUE(handle != NULL);
    ClosePrinter(handle);
}

TEST(DefaultPrinter, DeviceEntryNamesPrinterDriverAndPort)
{
    char name[256];
    DWORD size = sizeof name;

    ASSERT_NO_FATAL_FAILURE(AddPrinterOnUsb001());
    EXPECT_EQ(MakeDefaultPrinter(Model), 1);
    EXPECT_EQ(RegistryData(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "device"),
              "TARVOK QLP-RM550,TARVOK QLP-RM550,USB001");
    EXPECT_EQ(DeviceEntry(), "TARVOK QLP-RM550,TARVOK QLP-RM550,USB001");
    ASSERT_TRUE(GetDefaultPrinterA(name, &size));
    EXPECT_STREQ(name, Model);

    /* The entry starts with the name as passed, not as the spooler keeps it. */
    EXPECT_EQ(MakeDefaultPrinter("tarvok qlp-rm550"), 1);
    EXPECT_EQ(DeviceEntry(), "tarvok qlp-rm550,TARVOK QLP-RM550,USB001");
}

TEST(DefaultPrinter, FailuresLeaveTheDeviceEntryAlone)
{
    ASSERT_NO_FATAL_FAILURE(AddPrinterOnUsb001());
    ASSERT_TRUE(WriteProfileStringA("windows", "device", "Other,winspool,LPT1:"));
    EXPECT_EQ(MakeDefaultPrinter(NULL), 0);
    EXPECT_EQ(MakeDefaultPrinter("No Such Printer"), 0);
    EXPECT_EQ(DeviceEntry(), "Other,winspool,LPT1:");
}
