/*
 * The removal program after an installation: what it takes away, the
 * restart question it asks only after it found the printer, and its silent
 * end otherwise.
 */
#include <windows.h>
#include <setupapi.h>
#include <string>
#include "scenario.h"

#define DRIVER_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\" MODEL
#define INSTALLED_INF "C:\\windows\\inf\\QLRM550.INF"
#define REMOVAL_CALLS "winspool.drv.DeletePrintProcessorA;winspool.drv.DeletePrinterDriverA;" \
                      "setupapi.SetupUninstallOEMInfA;user32.ExitWindowsEx"

class Removal : public Scenario
{
protected:
    Program remover = { {}, false };

    void TearDown() override
    {
        EndProgram(&remover);
        Scenario::TearDown();
    }

    /* What an installation leaves: driver, print processor, printer, and
       the installed copy of the setup information file. */
    void Installed(bool printer, bool setupInfo)
    {
        DRIVER_INFO_3A driver = {};
        PRINTER_INFO_2A info = {};
        char name[] = MODEL, env[] = "Windows x64", file[] = "UNIDRV.DLL", port[] = "USB001",
             processor[] = "QLPPrintProc", library[] = "qlpproc.dll", type[] = "RAW";

        driver.cVersion = 3;
        driver.pName = name;
        driver.pEnvironment = env;
        driver.pDriverPath = driver.pDataFile = driver.pConfigFile = file;
        ASSERT_TRUE(AddPrinterDriverA(NULL, 3, (BYTE *)&driver));
        ASSERT_TRUE(AddPrintProcessorA(NULL, NULL, library, processor));
        if (printer) {
            info.pPrinterName = info.pDriverName = name;
            info.pPortName = port;
            info.pPrintProcessor = processor;
            info.pDatatype = type;
            HANDLE handle = AddPrinterA(NULL, 2, (BYTE *)&info);
            ASSERT_TRUE(handle != NULL);
            ClosePrinter(handle);
        }
        if (setupInfo) {
            char installed[MAX_PATH];
            ASSERT_TRUE(SetupCopyOEMInfA(INSTALL_DIR "\\QLRM550.INF", NULL, SPOST_PATH, 0, installed,
                                         sizeof installed, NULL, NULL));
            ASSERT_TRUE(FileExists(INSTALLED_INF)) << installed;
        }
    }

    bool PrinterExists(void)
    {
        HANDLE handle;
        char name[] = MODEL;
        if (!OpenPrinterA(name, &handle, NULL)) return false;
        ClosePrinter(handle);
        return true;
    }

    std::string RemoverJournal(void)
    {
        return ReadTextFile(WINE_JOURNAL);
    }
};

TEST_F(Removal, EverythingGoesThenRestartDeclined)
{
    Installed(true, true);
    StartTracedProgram(&remover, REMOVE_EXE, INSTALL_DIR, REMOVAL_CALLS);
    HWND question = WaitForCaption(&remover, "Question");
    ASSERT_TRUE(question != NULL);
    Screenshot(question, "restart-question");
    EXPECT_TRUE(TopLevelDialogs(remover.pi.dwProcessId).size() == 1u) << "the question is all it shows";
    AnswerMessage(&remover, "Question", "You will need to restart the computer.", IDNO);
    EXPECT_EQ(WaitForExit(&remover), 0);

    EXPECT_FALSE(PrinterExists());
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, DRIVER_KEY));
    EXPECT_FALSE(FileExists(INSTALLED_INF));
    /* Wine's DeletePrintProcessorA deletes nothing; the journal shows the call. */
    std::string journal = RemoverJournal();
    EXPECT_NE(journal.find("DeletePrintProcessorA(00000000,00000000,"), std::string::npos) << journal;
    EXPECT_NE(journal.find("\"QLPPrintProc\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find("SetupUninstallOEMInfA("), std::string::npos) << journal;
    EXPECT_EQ(journal.find("Call user32.ExitWindowsEx"), std::string::npos) << "no restart after No";
}

TEST_F(Removal, RestartAnsweredYes)
{
    Installed(true, true);
    StartTracedProgram(&remover, REMOVE_EXE, INSTALL_DIR, REMOVAL_CALLS);
    AnswerMessage(&remover, "Question", NULL, IDYES);
    /* Wine ends the prefix's windowed programs with exit code 0; Windows restarts. */
    EXPECT_EQ(WaitForExit(&remover), 0);
    EXPECT_NE(RemoverJournal().find("Call user32.ExitWindowsEx(00000002,00000000)"), std::string::npos);
}

TEST_F(Removal, WithoutThePrinterOnlyTheSetupInfoGoesAndNothingIsAsked)
{
    /* The driver of the model's name stays: only a found printer takes it along. */
    Installed(false, true);
    StartProgram(&remover, REMOVE_EXE, INSTALL_DIR);
    EXPECT_EQ(WaitForExit(&remover), 0);
    EXPECT_TRUE(TopLevelDialogs(remover.pi.dwProcessId).empty());
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, DRIVER_KEY));
    EXPECT_FALSE(FileExists(INSTALLED_INF));
}

TEST_F(Removal, AfterARealInstallation)
{
    HWND page = WalkTo(IDC_PORT_LIST);
    ASSERT_TRUE(page != NULL);
    Click(page, IDC_NEXT);
    HWND exitPage = WaitForPage_(__LINE__, &setup, IDC_DEFAULT_PRINTER, SETUP_TITLE, 30000);
    ASSERT_TRUE(exitPage != NULL);
    Click(exitPage, IDOK);
    ASSERT_EQ(WaitForExit(&setup), 0);
    ASSERT_TRUE(PrinterExists());

    StartProgram(&remover, REMOVE_EXE, INSTALL_DIR);
    AnswerMessage(&remover, "Question", NULL, IDNO);
    EXPECT_EQ(WaitForExit(&remover), 0);
    EXPECT_FALSE(PrinterExists());
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, DRIVER_KEY));
}

/*
 * C:\TARVOK is often writable by every user, and the uninstall is forced. A
 * copy of another package's setup information file put at the fixed path
 * must not have that package's installed copy removed: the file is looked
 * up only when it is this product's. Windows finds the installed copy by its
 * content (oemNN.inf); Wine by its file name, so here the other package is
 * installed from that same path.
 */
TEST_F(Removal, OnlyThisProductsSetupInformationIsUninstalled)
{
    static const struct
    {
        const char *what;
        bool ours;
    } cases[] = {
        { "another package's file at the fixed path", false },
        { "this product's file", true },
    };
    static const char foreign[] = "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
                                  "[Manufacturer]\r\nOther=OtherModels\r\n[OtherModels]\r\n\"Other Printer\"=Other\r\n";
    const std::string ours = ReadTextFile(INSTALL_DIR "\\QLRM550.INF");

    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        char installed[MAX_PATH];
        WriteTextFile("C:\\TARVOK\\qlrm550.inf", c.ours ? ours.c_str() : foreign);
        ASSERT_TRUE(SetupCopyOEMInfA("C:\\TARVOK\\qlrm550.inf", NULL, SPOST_PATH, 0, installed, sizeof installed,
                                     NULL, NULL));
        size_t journalBefore = RemoverJournal().size();
        StartTracedProgram(&remover, REMOVE_EXE, INSTALL_DIR, "setupapi.SetupCopyOEMInfA;setupapi.SetupUninstallOEMInfA");
        EXPECT_EQ(WaitForExit(&remover), 0);
        std::string journal = RemoverJournal().substr(journalBefore);
        EXPECT_EQ(FileExists(installed), !c.ours) << installed;
        EXPECT_EQ(journal.find("SetupCopyOEMInfA(") != std::string::npos, c.ours) << journal;
        DeleteFileA(installed);
    }
}
