/*
 * Whole installations: the copy, the registration phase and the exit page,
 * with what they leave in the spooler, the registry and the driver
 * directories; cancelling the copy; an error box from the spooler; and the
 * cleanup of an earlier installation with its restart question.
 */
#include <windows.h>
#include <string>
#include <vector>
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

/* The job the printer is shown to print: the printer's reset, one block of
   raster data holding every byte value once, and a form feed. */
static std::string LabelJob(void)
{
    std::string job = "\x1b@\x1b*b256W";
    for (int value = 0; value < 256; value++) job += (char)value;
    return job + "\x0c";
}

/* The commands of the journal's SetJobA calls, their last argument; the
   journal may print garbage in the upper half of a 32-bit argument. */
static std::vector<DWORD> SetJobCommands(const std::string &journal)
{
    std::vector<DWORD> commands;
    for (size_t at = journal.find("Call winspool.drv.SetJobA("); at != std::string::npos;
         at = journal.find("Call winspool.drv.SetJobA(", at + 1)) {
        size_t close = journal.find(") ret=", at);
        if (close == std::string::npos || close < 8) break;
        commands.push_back(strtoul(journal.substr(close - 8, 8).c_str(), NULL, 16));
    }
    return commands;
}

/* Wine's name in Unix terms for a file of the prefix; on Windows the file's
   own name serves as a local port. */
static std::string PortFileName(const char *file)
{
    typedef char *(CDECL * UnixNameProc)(LPCWSTR);
    UnixNameProc unixName = reinterpret_cast<UnixNameProc>(reinterpret_cast<void (*)(void)>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH];

    if (!unixName) return file;
    MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH);
    char *name = unixName(wide);
    std::string port = name ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return port;
}

/* Adds the port to the local port monitor, as Windows needs before a printer
   may use it, and moves the printer onto it. */
static void MovePrinterToPort(const char *printer, const std::string &port)
{
    PRINTER_DEFAULTSA admin = { NULL, NULL, SERVER_ACCESS_ADMINISTER };
    HANDLE xcv, handle;
    std::wstring widePort(port.begin(), port.end());
    DWORD needed = 0, status = 0;

    ASSERT_TRUE(OpenPrinterA((LPSTR) ",XcvMonitor Local Port", &xcv, &admin)) << GetLastError();
    EXPECT_TRUE(XcvDataW(xcv, L"AddPort", (BYTE *)widePort.c_str(), (DWORD)(widePort.size() + 1) * sizeof(WCHAR),
                         NULL, 0, &needed, &status));
    EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_ALREADY_EXISTS) << status;
    ClosePrinter(xcv);

    ASSERT_TRUE(OpenPrinterA((LPSTR)printer, &handle, NULL));
    GetPrinterA(handle, 2, NULL, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterA(handle, 2, &buffer[0], needed, &needed));
    PRINTER_INFO_2A *info = (PRINTER_INFO_2A *)&buffer[0];
    info->pPortName = (LPSTR)port.c_str();
    EXPECT_TRUE(SetPrinterA(handle, 2, &buffer[0], 0)) << GetLastError();
    ClosePrinter(handle);
}

/*
 * The printer the wizard installs on a serial port prints. Wine's port
 * monitor cannot write to a COM or USB port (the job fails when it ends), only
 * to FILE:, Unix paths, pipes, CUPS and LPR: so the printer is moved to a file
 * of the prefix, read back here. Wine's spooler runs in the printing process,
 * send_job.exe, whose loader journal shows where the print processor library
 * was loaded from (Wine 8 loads it when the job ends, Wine 10 also when it
 * starts) and whose relay journal shows the library reading the spooled job.
 *
 * SetJob: Windows holds a paused job, hands the print processor the pause,
 * resume or cancel while it prints the job, and deletes a cancelled job, whose
 * port gets nothing. Wine 8 and 10 answer TRUE, ignore the command and print
 * every job whole, never calling ControlPrintProcessor; the PrintProcessor
 * unit tests call it as Windows does. Here the commands reach the spooler and
 * a resumed job arrives whole.
 */
TEST_F(Install, OnSerialThePrinterPrintsARawJob)
{
    ASSERT_TRUE(WalkToCopy(true) != NULL);
    HWND exitPage = WaitForExitPage();
    ASSERT_TRUE(exitPage != NULL);
    Click(exitPage, IDOK);
    EXPECT_EQ(WaitForExit(&setup), 0);
    ASSERT_EQ(Printer(MODEL), MODEL " on COM1:, QLPPrintProc, RAW, 0x1200");

    static const char PortFile[] = "C:\\printed.bin";
    static const char JobFile[] = "C:\\label-job.bin";
    MovePrinterToPort(MODEL, PortFileName(PortFile));
    WriteDataFile(JobFile, LabelJob());

    char directory[MAX_PATH];
    DWORD needed;
    ASSERT_TRUE(GetPrintProcessorDirectoryA(NULL, NULL, 1, (BYTE *)directory, sizeof directory, &needed));
    /* As Wine's journal writes the name, its backslashes doubled. */
    std::string library;
    for (const char *c = directory; *c; c++) library += *c == '\\' ? "\\\\" : std::string(1, *c);
    library = "Loaded L\"" + library + "\\\\qlpproc.dll\"";

    static const struct
    {
        const char *label;
        std::vector<DWORD> setJobCommands;
        bool printedHere;    /* false where Windows and Wine differ */
    } jobs[] = {
        { "sent as it is",        {},                                    true },
        { "paused, then resumed", { JOB_CONTROL_PAUSE, JOB_CONTROL_RESUME }, true },
        { "cancelled",            { JOB_CONTROL_CANCEL },                false },
    };
    for (const auto &job : jobs) {
        SCOPED_TRACE(job.label);
        std::string arguments = "\"" MODEL "\" " + std::string(JobFile);
        for (DWORD command : job.setJobCommands) arguments += " " + std::to_string(command);
        DeleteFileA(PortFile);
        size_t journalStart = ReadTextFile(WINE_JOURNAL).size();
        Program sender;
        ASSERT_TRUE(StartTracedProgram(&sender, SendJobProgram().c_str(), INSTALL_DIR,
                                       "winspool.drv.OpenPrinterW;winspool.drv.ReadPrinter;winspool.drv.SetJobA",
                                       arguments.c_str()));
        int exitCode = WaitForExit(&sender);
        std::string journal = ReadTextFile(WINE_JOURNAL).substr(journalStart);
        WriteTextFile((ResultsDir() + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                       "-job-" + std::to_string(&job - jobs) + ".txt").c_str(), journal.c_str());
        EXPECT_EQ(exitCode, 0) << journal.substr(journal.size() > 3000 ? journal.size() - 3000 : 0);

        EXPECT_EQ(SetJobCommands(journal), job.setJobCommands);
        EXPECT_EQ(Count(journal, "Ret  winspool.drv.SetJobA() retval=00000001"), (int)job.setJobCommands.size());
        size_t loaded = journal.find(library);
        ASSERT_NE(loaded, std::string::npos) << "no " << library << " in\n" << journal;
        EXPECT_EQ(journal.substr(journal.find('\n', loaded) - 8, 8), ": native");
        EXPECT_NE(journal.find("L\"" MODEL ", Job "), std::string::npos) << "the library opens the spooled job";
        EXPECT_NE(journal.find("Call winspool.drv.ReadPrinter("), std::string::npos);
        if (job.printedHere) {
            EXPECT_TRUE(ReadTextFile(PortFile) == LabelJob()) << "the port got other bytes";
        }
    }
}
