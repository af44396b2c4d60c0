/*
 * The Model page: what it lists from the setup information file, its
 * warning, and the removal of a printer whose driver is installed already.
 */
#include <windows.h>
#include <string>
#include "scenario.h"

static HWND OpenModelPage(Scenario *, Program *setup)
{
    StartProgram(setup, SETUP_EXE, INSTALL_DIR);
    HWND welcome = WaitForPage(setup, IDC_WELCOME_TEXT, NULL);
    if (!welcome) return NULL;
    Click(welcome, IDC_NEXT);
    return WaitForPage(setup, IDC_MODEL_LIST, NULL);
}

TEST_F(Scenario, ModelListDropsQuotesAndRepeatsAndSelectsTheFirstRow)
{
    WriteTextFile(INSTALL_DIR "\\QLRM550.INF",
                  "[TarvokSystems]\r\n"
                  "\"TARVOK QLP-RM550\"=QLRM550,HWID1\r\n"
                  "\"TARVOK QLP-RM560\"=QLRM560,HWID2\r\n"
                  "\"tarvok qlp-rm550\"=QLRM550,HWID1\r\n"
                  "ABCD=QLRM550\r\n");
    HWND page = OpenModelPage(this, &setup);
    ASSERT_TRUE(page != NULL);
    Screenshot(page, "models");
    std::vector<std::string> rows = ListRows(page, IDC_MODEL_LIST);
    /* The repeat differs only in case and is dropped; an unquoted key loses
       its first and last characters all the same. */
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "TARVOK QLP-RM550");
    EXPECT_EQ(rows[1], "TARVOK QLP-RM560");
    EXPECT_EQ(rows[2], "BC");
    EXPECT_EQ(ListSelection(page, IDC_MODEL_LIST), 0);
    CancelAndExpectFailure(page);
}

TEST_F(Scenario, EmptyModelListWarnsOnNext)
{
    WriteTextFile(INSTALL_DIR "\\QLRM550.INF", "[Version]\r\nSignature=\"$Windows NT$\"\r\n");
    HWND page = OpenModelPage(this, &setup);
    ASSERT_TRUE(page != NULL);
    EXPECT_TRUE(ListRows(page, IDC_MODEL_LIST).empty());
    EXPECT_EQ(ListSelection(page, IDC_MODEL_LIST), LB_ERR);
    Click(page, IDC_NEXT);
    HWND warning = WaitForCaption(&setup, "Warinig");
    Screenshot(warning, "select-model-warning");
    AnswerMessage(&setup, "Warinig", "Select printer model to install.", IDOK);
    EXPECT_TRUE(IsWindowVisible(page)) << "the page stays open";
    CancelAndExpectFailure(page);
}

TEST_F(Scenario, ManyAndVeryLongModelNamesStillOpenThePage)
{
    std::string inf = "[TarvokSystems]\r\n";
    for (int i = 0; i < 300; i++) inf += "\"MODEL " + std::to_string(i) + "\"=M,ID\r\n";
    inf += "\"" + std::string(1023, 'L') + "\"=M,ID\r\n";
    WriteTextFile(INSTALL_DIR "\\QLRM550.INF", inf.c_str());

    HWND page = OpenModelPage(this, &setup);
    ASSERT_TRUE(page != NULL);
    std::vector<std::string> rows = ListRows(page, IDC_MODEL_LIST);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "MODEL 0");
    /* Only as many names as 1024 bytes of key list hold are counted. */
    EXPECT_LT(rows.size(), 300u);
    Click(page, IDC_NEXT);
    page = WaitForPage(&setup, IDC_KIND_USB, NULL);
    ASSERT_TRUE(page != NULL) << "a listed model leads on";
    CancelAndExpectFailure(page);
}

TEST_F(Scenario, NextRemovesThePrinterOfAnInstalledDriver)
{
    DRIVER_INFO_3A driver = {};
    PRINTER_INFO_2A printer = {};
    HANDLE handle = NULL;
    char name[] = MODEL, env[] = "Windows x64", file[] = "UNIDRV.DLL", data[] = "QLRM550.GPD",
         config[] = "UNIDRVUI.DLL", port[] = "COM2:", processor[] = "winprint", type[] = "RAW";

    driver.cVersion = 3;
    driver.pName = name;
    driver.pEnvironment = env;
    driver.pDriverPath = file;
    driver.pDataFile = data;
    driver.pConfigFile = config;
    ASSERT_TRUE(AddPrinterDriverA(NULL, 3, (BYTE *)&driver));
    printer.pPrinterName = name;
    printer.pPortName = port;
    printer.pDriverName = name;
    printer.pPrintProcessor = processor;
    printer.pDatatype = type;
    handle = AddPrinterA(NULL, 2, (BYTE *)&printer);
    ASSERT_TRUE(handle != NULL);
    ClosePrinter(handle);

    HWND page = WalkTo(IDC_MODEL_LIST, "winspool.drv.OpenPrinterA;winspool.drv.DeletePrinter");
    ASSERT_TRUE(page != NULL);
    Click(page, IDC_NEXT);
    HWND next = WaitForPage(&setup, IDC_KIND_USB, NULL);
    ASSERT_TRUE(next != NULL);
    EXPECT_FALSE(OpenPrinterA(name, &handle, NULL)) << "the printer is gone";
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PRINTER_NAME);
    CancelAndExpectFailure(next);

    /* Windows gives a handle opened without defaults no right to delete the
       printer; Wine checks no access at all. The journal shows the printer
       opened with a defaults record (its access, PRINTER_ALL_ACCESS, is
       checked by a spy in the unit tests) and then deleted. */
    std::string journal = Journal();
    size_t open = journal.find("Call winspool.drv.OpenPrinterA(");
    ASSERT_NE(open, std::string::npos) << journal;
    std::string call = journal.substr(open, journal.find('\n', open) - open);
    EXPECT_NE(call.find("\"" MODEL "\","), std::string::npos) << call;
    size_t last = call.rfind(','), end = call.find(')', last);
    ASSERT_TRUE(last != std::string::npos && end != std::string::npos) << call;
    EXPECT_NE(call.substr(last + 1, end - last - 1).find_first_not_of('0'), std::string::npos)
        << "opened without defaults: " << call;
    EXPECT_NE(journal.find("Call winspool.drv.DeletePrinter(", open), std::string::npos) << journal;
}
