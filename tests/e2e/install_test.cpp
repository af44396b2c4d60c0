/*
 * Whole installations: the copy, the registration phase and the exit page,
 * with what they leave in the spooler, the registry and the driver
 * directories; cancelling the copy; an error box from the spooler; and the
 * cleanup of an earlier installation with its restart question.
 */
#include <windows.h>
#include <string>
#include "scenario.h"

#define DRIVER_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\" MODEL
#define FORMS_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Forms"
#define PORTS_KEY "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports"
#define DEVICE_KEY "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"

class Install : public Scenario
{
protected:
    /* Walks to the copy dialog with the chosen port kind and port row. */
    HWND WalkToCopy(bool serial, const char *relayInclude = NULL)
    {
        HWND page = WalkTo(IDC_KIND_USB, relayInclude);
        if (!page) return NULL;
        if (serial) {
            Click(page, IDC_KIND_SERIAL);
            WaitForCheck(page, IDC_KIND_SERIAL, true);
        }
        Click(page, IDC_NEXT);
        page = WaitForPage(&setup, IDC_PORT_LIST, NULL);
        if (!page) return NULL;
        Click(page, IDC_NEXT);
        /* The copy dialog stays about a second: no settling time for it. */
        DWORD start = GetTickCount();
        HWND copy;
        while (!(copy = FindPage(setup.pi.dwProcessId, IDC_COPY_BAR, "Copying Files...")) &&
               GetTickCount() - start < WAIT_MS)
            Sleep(10);
        EXPECT_TRUE(copy != NULL) << "no copy dialog";
        return copy;
    }

    HWND WaitForExitPage(void)
    {
        return WaitForPage_(__LINE__, &setup, IDC_DEFAULT_PRINTER, SETUP_TITLE, 30000);
    }

    /* The printer's level-2 record in a line: driver, port, print processor,
       data type and attributes. */
    std::string Printer(const char *name)
    {
        HANDLE handle;
        BYTE buffer[8192];
        DWORD needed;
        char line[1024];

        if (!OpenPrinterA((LPSTR)name, &handle, NULL)) return "<none>";
        GetPrinterA(handle, 2, buffer, sizeof buffer, &needed);
        ClosePrinter(handle);
        PRINTER_INFO_2A *info = (PRINTER_INFO_2A *)buffer;
        snprintf(line, sizeof line, "%s on %s, %s, %s, 0x%lx", info->pDriverName, info->pPortName,
                 info->pPrintProcessor, info->pDatatype, info->Attributes);
        return line;
    }
};

/* The driver's dependent files, joined with '|'. */
static std::string DependentFiles(void)
{
    char list[2048] = "";
    DWORD size = sizeof list - 2;
    std::string joined;

    RegGetValueA(HKEY_LOCAL_MACHINE, DRIVER_KEY, "Dependent Files", RRF_RT_REG_MULTI_SZ, NULL, list, &size);
    for (const char *name = list; *name; name += strlen(name) + 1)
        joined += (joined.empty() ? "" : "|") + std::string(name);
    return joined;
}

/* Occurrences of a text in the journal. */
static int Count(const std::string &journal, const char *text)
{
    int count = 0;
    for (size_t at = journal.find(text); at != std::string::npos; at = journal.find(text, at + 1)) count++;
    return count;
}

/*
 * Wine keeps neither the driver's level-6 fields nor checks the print
 * processor's library; the relay journal shows the calls as made.
 */
TEST_F(Install, OnUsbWithTheDefaultPrinter)
{
    ASSERT_TRUE(WalkToCopy(false, "winspool.drv.AddPrinterDriverA;winspool.drv.AddPrintProcessorA;"
                                  "kernel32.CopyFileA;user32.DrawTextA") != NULL);
    HWND exitPage = WaitForExitPage();
    ASSERT_TRUE(exitPage != NULL);
    EXPECT_EQ(ControlText(exitPage, IDC_RESULT_TEXT), "The Installation has done successfully.");
    EXPECT_TRUE(IsChecked(exitPage, IDC_DEFAULT_PRINTER));
    Click(exitPage, IDOK);
    EXPECT_EQ(WaitForExit(&setup), 0);

    bool found;
    EXPECT_EQ(Printer(MODEL), MODEL " on USB001, QLPPrintProc, RAW, 0x1200");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, DRIVER_KEY, "Data File", &found), "QLRM550.GPD");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, DEVICE_KEY, "device", &found), MODEL "," MODEL ",USB001");

    /* The copy put every file where the spooler looks for it. */
    static const char *const files[] = {
        "C:\\windows\\system32\\spool\\drivers\\x64\\QLRM550.GPD",
        "C:\\windows\\system32\\spool\\drivers\\x64\\QLRM550.DLL",
        "C:\\windows\\system32\\spool\\drivers\\x64\\UNIDRV.DLL",
        "C:\\windows\\system32\\spool\\drivers\\x64\\UNIDRVUI.DLL",
        "C:\\windows\\system32\\spool\\drivers\\x64\\UNIDRV.HLP",
        "C:\\windows\\system32\\spool\\drivers\\x64\\UNIRES.DLL",
        "C:\\windows\\system32\\spool\\drivers\\x64\\STDNAMES.GPD",
        "C:\\windows\\system32\\spool\\prtprocs\\x64\\qlpproc.dll",
    };
    for (const char *file : files) EXPECT_TRUE(FileExists(file)) << file;

    /* The four listed files become the driver's dependent files, so the
       spooler puts the Unidrv runtime files beside the driver as well. */
    EXPECT_EQ(DependentFiles(), "QLRM550.GPD|QLRM550.DLL|STDNAMES.GPD|UNIRES.DLL");
    EXPECT_TRUE(FileExists("C:\\windows\\system32\\spool\\drivers\\x64\\3\\STDNAMES.GPD"));
    EXPECT_TRUE(FileExists("C:\\windows\\system32\\spool\\drivers\\x64\\3\\UNIRES.DLL"));

    /* The library, then each of the four listed files with the five Unidrv
       files after it; the bar steps by a quarter. */
    std::string journal = Journal();
    EXPECT_EQ(Count(journal, "Call KERNEL32.CopyFileA("), 1 + 4 * 6) << journal;
    for (const char *step : { "\"25 %\"", "\"50 %\"", "\"75 %\"", "\"100 %\"" })
        EXPECT_NE(journal.find(step), std::string::npos) << step;
    EXPECT_EQ(Count(journal, "Call user32.DrawTextA("), 4 * 2) << "each step draws its text twice";
    EXPECT_NE(journal.find("Call winspool.drv.AddPrinterDriverA(00000000,00000006,"), std::string::npos) << journal;
    EXPECT_NE(journal.find("AddPrintProcessorA(00000000,00000000,"), std::string::npos) << journal;
    EXPECT_NE(journal.find("\"qlpproc.dll\","), std::string::npos) << journal;
    EXPECT_NE(journal.find("\"QLPPrintProc\")"), std::string::npos) << journal;
}

TEST_F(Install, OnSerialWithoutTheDefaultPrinter)
{
    ASSERT_TRUE(WalkToCopy(true) != NULL);
    HWND exitPage = WaitForExitPage();
    ASSERT_TRUE(exitPage != NULL);
    Click(exitPage, IDC_DEFAULT_PRINTER);
    EXPECT_TRUE(WaitForCheck(exitPage, IDC_DEFAULT_PRINTER, false));
    Click(exitPage, IDOK);
    EXPECT_EQ(WaitForExit(&setup), 0);

    bool found;
    EXPECT_EQ(Printer(MODEL), MODEL " on COM1:, QLPPrintProc, RAW, 0x1200");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, PORTS_KEY, "COM1:", &found), "115200,n,8,1");
    RegString(HKEY_CURRENT_USER, DEVICE_KEY, "device", &found);
    EXPECT_FALSE(found) << "no default printer was asked for";
}

TEST_F(Install, CancelInTheCopyDialog)
{
    HWND copy = WalkToCopy(false);
    ASSERT_TRUE(copy != NULL);
    /* The copy of the small sample files is over at once; the dialog stays a
       second longer, and a Cancel confirmed then still ends the installation. */
    Click(copy, IDCANCEL);
    AnswerMessage(&setup, "Question", "Are you sure you want to cancel QLP driver installation?", IDYES);
    ExpectExitPage(false, "exit-after-copy-cancel");
    EXPECT_EQ(Printer(MODEL), "<none>");
}

TEST_F(Install, CancelAnsweredNoInTheCopyDialogGoesOn)
{
    HWND copy = WalkToCopy(false);
    ASSERT_TRUE(copy != NULL);
    Click(copy, IDCANCEL);
    AnswerMessage(&setup, "Question", NULL, IDNO);
    HWND exitPage = WaitForExitPage();
    ASSERT_TRUE(exitPage != NULL);
    EXPECT_EQ(ControlText(exitPage, IDC_RESULT_TEXT), "The Installation has done successfully.");
    Click(exitPage, IDOK);
    EXPECT_EQ(WaitForExit(&setup), 0);
}

TEST_F(Install, SpoolerErrorIsShownAndTheInstallationFails)
{
    /* A model name too long for a registry key makes AddPrinterDriverA fail. */
    std::string model(300, 'X');
    std::string inf = "[TarvokSystems]\r\n\"" + model + "\"=QLRM550,ID\r\n"
                      "[QLRM550]\r\nCopyFiles=@QLRM550.GPD\r\nDataSection=DATA\r\n";
    WriteTextFile(INSTALL_DIR "\\QLRM550.INF", inf.c_str());
    ASSERT_TRUE(WalkToCopy(false) != NULL);
    HWND box = WaitForPage_(__LINE__, &setup, 0, "Add a printer error", 30000);
    ASSERT_TRUE(box != NULL);
    Screenshot(box, "spooler-error");
    std::string text = AllTexts(box);
    EXPECT_NE(text.find("Cannot add a printer driver!"), std::string::npos) << text;
    EXPECT_NE(text.find("(System Error Code : 87)"), std::string::npos) << "Wine reports 87 here\n" << text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ExpectExitPage(false, "exit-after-spooler-error");
}

static const char *const FormNames[] = {
    "A4 210 x 297mm", "LETTER 216 x 280mm", "B5 182 x 257mm", "24 x 300mm", "24 x 600mm", "24 x 3000mm",
    "48 x 300mm", "48 x 600mm", "48 x 3000mm", "72 x 300mm", "72 x 600mm", "72 x 3000mm",
    "104 x 300mm", "104 x 600mm", "104 x 3000mm",
};

/* What an earlier installation left: form keys (one with nested subkeys),
   form values and the driver's key. */
static void LeaveEarlierInstallation(void)
{
    for (const char *form : FormNames) {
        RegSetString(HKEY_LOCAL_MACHINE, (std::string(FORMS_KEY "\\") + form).c_str(), "Size", "x");
        RegSetString(HKEY_LOCAL_MACHINE, FORMS_KEY, form, "form");
    }
    RegSetString(HKEY_LOCAL_MACHINE, FORMS_KEY "\\24 x 300mm\\a\\b", "v", "1");
    RegSetString(HKEY_LOCAL_MACHINE, FORMS_KEY "\\24 x 300mm\\c", "v", "1");
    RegSetString(HKEY_LOCAL_MACHINE, FORMS_KEY "\\Letter", "Size", "kept");
    RegSetString(HKEY_LOCAL_MACHINE, DRIVER_KEY "\\sub", "Driver", "UNIDRV.DLL");
}

TEST_F(Install, EarlierInstallationDeclinedEndsWithoutChanges)
{
    bool found;

    LeaveEarlierInstallation();
    StartSetup();
    HWND question = WaitForCaption(&setup, "Question");
    ASSERT_TRUE(question != NULL);
    Screenshot(question, "restart-question");
    AnswerMessage(&setup, "Question", "you will need to restart the computer.", IDNO);
    ExpectExitPage(false, "exit-after-restart-declined");
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, FORMS_KEY "\\A4 210 x 297mm"));
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, FORMS_KEY, "104 x 3000mm", &found), "form");
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, DRIVER_KEY));
}

/*
 * Wine's ExitWindowsEx returns at once and has wineboot end the prefix's
 * windowed processes with exit code 0; Windows would restart. The relay
 * journal shows the call was made with EWX_REBOOT.
 */
TEST_F(Install, EarlierInstallationRemovedThenRestart)
{
    bool found;

    LeaveEarlierInstallation();
    StartTracedSetup("user32.ExitWindowsEx;advapi32.AdjustTokenPrivileges");
    AnswerMessage(&setup, "Question", NULL, IDYES);
    EXPECT_EQ(WaitForExit(&setup), 0);

    for (const char *form : FormNames) {
        EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, (std::string(FORMS_KEY "\\") + form).c_str())) << form;
        RegString(HKEY_LOCAL_MACHINE, FORMS_KEY, form, &found);
        EXPECT_FALSE(found) << form;
    }
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, FORMS_KEY "\\Letter")) << "not a form of ours";
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, DRIVER_KEY));
    EXPECT_TRUE(JournalHas("Call user32.ExitWindowsEx(00000002")) << Journal();
}
