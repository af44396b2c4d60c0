/*
 * The quiet runs a fleet tool starts: one table, each row the arguments and
 * the machine's state, then the exit code, what the spooler, the registry
 * and the files hold, and a line the log must hold. Rows run one after
 * another in one prefix and the state is reset between them. Every row is
 * watched while it runs: no window of the process may become visible, and
 * its relay journal may hold no dialog or message box.
 *
 * What Wine cannot show: session 0 and the SYSTEM account (here every
 * program runs as the prefix's user, on a desktop), and the restart itself
 * (Wine's ExitWindowsEx returns at once; a program without windows, as a
 * quiet run is, goes on and ends with its own exit code, which is what
 * Windows' asynchronous restart leaves a fleet tool as well). The journal
 * shows the request.
 */
#include <windows.h>
#include <string>
#include <vector>
#include "scenario.h"

#define DRIVER_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\" MODEL
#define PROCESSORS_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print Processors"
#define PRINTERS_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers"
#define FORMS_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Forms"
#define TRACE_KEY FORMS_KEY "\\A4 210 x 297mm"
#define PORTS_KEY "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports"
#define DEVICE_KEY "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"
#define USB_CLASS_KEY "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"
#define OVERRIDES_KEY "Software\\Wine\\AppDefaults\\drvsetup.exe\\DllOverrides"
#define X64_DIR "C:\\windows\\system32\\spool\\drivers\\x64"
#define PRTPROCS_DIR "C:\\windows\\system32\\spool\\prtprocs\\x64"
#define DRIVER_FILE X64_DIR "\\QLRM550.GPD"
#define LIBRARY_FILE PRTPROCS_DIR "\\qlpproc.dll"
#define NAMED_LOG "C:\\quiet.log"
#define SHOWN_CALLS "user32.DialogBoxParamA;user32.CreateDialogParamA;user32.MessageBoxA;user32.ExitWindowsEx"

enum MachineState
{
    FRESH,
    NO_SETUP_INFO,          /* QLRM550.INF is not beside the program */
    NO_MODEL,               /* the setup information lists no model */
    TWO_MODELS,
    NO_LIBRARY,             /* qlpproc.dll is not beside the program */
    NO_SPOOLER,             /* the spooler's library cannot be loaded */
    PRODUCT_ON_USB003,      /* the product's USB printer, port number 3 */
    EARLIER_INSTALLATION,   /* the trace and the keys an earlier installation left */
    INSTALLED,              /* a quiet installation on USB001 ran before, logging to NAMED_LOG */
    LOG_NAMES_TAKEN,        /* files stand at the log names the run would take */
};

/* A registry key or value that the run leaves, or takes away (data NULL);
   with value NULL the key itself. */
struct Held
{
    HKEY root;
    const char *path;
    const char *value;
    const char *data;
};

struct QuietRow
{
    const char *group;
    const char *label;
    const char *program = SETUP_EXE;
    const char *arguments;
    MachineState state = FRESH;
    int exitCode;
    const char *printer = "<none>";     /* PrinterLine of MODEL */
    Held held = { NULL, NULL, NULL, NULL };
    const char *file = DRIVER_FILE;     /* a file the run leaves, or not; the removal leaves the copies */
    bool fileThere = false;
    const char *logLine;                /* the end of a line; %ACCOUNT% stands for DOMAIN\user */
};

static const char OnCom3[] = MODEL " on COM3:, QLPPrintProc, RAW";

static const QuietRow QuietRows[] = {
    { .group = "installs", .label = "on COM3:, the only model taken", .arguments = "/quiet /port:COM3:",
      .exitCode = 0, .printer = OnCom3, .held = { HKEY_LOCAL_MACHINE, PORTS_KEY, "COM3:", "115200,n,8,1" },
      .fileThere = true, .logLine = "model \"" MODEL "\": the only one listed, error 0" },
    { .group = "installs", .label = "on USB001, which the discovery offers without a USB printer",
      .arguments = "/q /port usb001 /log:" NAMED_LOG, .exitCode = 0, .printer = MODEL " on USB001, QLPPrintProc, RAW",
      .held = { HKEY_LOCAL_MACHINE, PORTS_KEY, "USB001", NULL }, .fileThere = true,
      .logLine = "port \"USB001\": found by the USB discovery, error 0" },
    { .group = "installs", .label = "the default printer, the model named in other letters",
      .arguments = "-S /PORT:com3 /model:\"tarvok qlp-rm550\" /default", .exitCode = 0, .printer = OnCom3,
      .held = { HKEY_CURRENT_USER, DEVICE_KEY, "device", MODEL "," MODEL ",COM3:" }, .fileThere = true,
      .logLine = "default printer \"" MODEL "\" of %ACCOUNT%: set, error 0" },
    { .group = "installs", .label = "on the product's USB printer", .arguments = "/silent /port:USB003",
      .state = PRODUCT_ON_USB003, .exitCode = 0, .printer = MODEL " on USB003, QLPPrintProc, RAW", .fileThere = true,
      .logLine = "add printer \"" MODEL "\" on \"USB003\": done, error 0" },

    { .group = "invalid", .label = "several models and no /model", .arguments = "/quiet /port:COM3",
      .state = TWO_MODELS, .exitCode = 1639, .logLine = "model: several listed, /model names none, error 1639" },
    { .group = "invalid", .label = "a model the setup information does not list",
      .arguments = "/quiet /port:COM3 /model:\"TARVOK QLP-RM551\"", .exitCode = 1639,
      .logLine = "model \"TARVOK QLP-RM551\": not listed by the setup information, error 1639" },
    /* Code page 949 on the command line, UTF-8 in the log. */
    { .group = "invalid", .label = "a Korean model the setup information does not list",
      .arguments = "/quiet /port:COM3 /model:\"\xed\x83\x80\xeb\xa5\xb4\xeb\xb3\xb5 QLP\"", .exitCode = 1639,
      .logLine = "model \"\xed\x83\x80\xeb\xa5\xb4\xeb\xb3\xb5 QLP\": not listed by the setup information, error 1639" },
    { .group = "invalid", .label = "an unknown switch", .arguments = "/quiet /port:COM3 /reboot", .exitCode = 1639,
      .logLine = "command line: an unknown switch: /reboot: invalid, error 1639" },
    { .group = "invalid", .label = "a switch without its value", .arguments = "/quiet /port", .exitCode = 1639,
      .logLine = "command line: a switch without its value: /port: invalid, error 1639" },
    { .group = "invalid", .label = "a port of neither kind", .arguments = "/quiet /port:LPT1:", .exitCode = 1639,
      .logLine = "command line: a port of neither kind (COMn or USBnnn): LPT1:: invalid, error 1639" },
    { .group = "invalid", .label = "a value that does not convert exactly",
      .arguments = "/quiet /port:COM3 /model:Caf\xc3\xa9", .exitCode = 1639,
      .logLine = "command line: a value that does not convert exactly to the ANSI code page: Caf?: invalid, error 1639" },
    { .group = "invalid", .label = "both restart switches", .arguments = "/quiet /port:COM3 /norestart /forcerestart",
      .exitCode = 1639, .logLine = "command line: /norestart and /forcerestart together: invalid, error 1639" },
    { .group = "invalid", .label = "drvremove with a switch of drvsetup's", .program = REMOVE_EXE,
      .arguments = "/quiet /model:X", .exitCode = 1639,
      .logLine = "command line: an unknown switch: /model:X: invalid, error 1639" },
    { .group = "invalid", .label = "/help with /quiet: the usage in the log", .arguments = "/quiet /help",
      .exitCode = 0, .logLine = "/port:PORT: a serial port of this machine (COM3 or COM3:) or a USB printer port (USB001)." },

    { .group = "package and machine", .label = "no setup information", .arguments = "/quiet /port:COM3",
      .state = NO_SETUP_INFO, .exitCode = 1619, .logLine = "setup information QLRM550.INF of the package: missing, error 2" },
    { .group = "package and machine", .label = "setup information without a model", .arguments = "/quiet /port:COM3",
      .state = NO_MODEL, .exitCode = 1619,
      .logLine = "setup information QLRM550.INF of the package: lists no model, error 0" },
    { .group = "package and machine", .label = "a port that is not on this machine", .arguments = "/quiet /port:COM9",
      .exitCode = 1603, .logLine = "port \"COM9:\": not on this machine, error 1796" },
    /* Wine's spooler takes a print processor whose library is missing;
       Windows' refuses it, and the printer too. */
    { .group = "package and machine", .label = "the print processor's library missing",
      .arguments = "/quiet /port:COM3", .state = NO_LIBRARY, .exitCode = 1603, .printer = OnCom3,
      .file = LIBRARY_FILE, .fileThere = false,
      .logLine = "\\qlpproc.dll to " LIBRARY_FILE ": failed, error 2" },

    /* Wine refuses its own library when the load order says "native" alone,
       as Windows a missing or damaged file. */
    { .group = "package and machine", .label = "the spooler's library cannot be loaded",
      .arguments = "/quiet /port:COM3", .state = NO_SPOOLER, .exitCode = 1603,
      .logLine = "a system library or one of its functions: failed, error 126" },

    { .group = "earlier installation", .label = "cleaned up, no installation", .arguments = "/quiet /port:COM3",
      .state = EARLIER_INSTALLATION, .exitCode = 3010, .held = { HKEY_LOCAL_MACHINE, TRACE_KEY, NULL, NULL },
      .logLine = "restart: left to the caller, error 0" },
    { .group = "earlier installation", .label = "cleaned up, the restart requested",
      .arguments = "/quiet /port:COM3 /forcerestart", .state = EARLIER_INSTALLATION, .exitCode = 1641,
      .held = { HKEY_LOCAL_MACHINE, DRIVER_KEY, NULL, NULL }, .logLine = "restart: requested, error 0" },

    { .group = "removal", .label = "nothing installed", .program = REMOVE_EXE, .arguments = "/quiet", .exitCode = 0,
      .logLine = "printer \"" MODEL "\": none, error 1801" },
    /* Wine's SetupCopyOEMInfA ignores SP_COPY_REPLACEONLY: it makes the
       installed copy that drvsetup never makes, and the removal then finds
       and uninstalls it, where the interactive program asks its question:
       3010. On Windows there is no copy to find after drvsetup, and the run
       ends with 0 (the unit test Removal.QuietRunExitCodes answers as
       Windows would). */
    { .group = "removal", .label = "after a quiet installation", .program = REMOVE_EXE,
      .arguments = "/q /norestart /log " NAMED_LOG, .state = INSTALLED, .exitCode = 3010,
      .held = { HKEY_LOCAL_MACHINE, DRIVER_KEY, NULL, NULL }, .fileThere = true,
      .logLine = "uninstall of the installed copy qlrm550.inf: done, error 0" },
    { .group = "removal", .label = "after a quiet installation, with /forcerestart", .program = REMOVE_EXE,
      .arguments = "/quiet /forcerestart", .state = INSTALLED, .exitCode = 1641, .fileThere = true,
      .logLine = "delete printer \"" MODEL "\": done, error 0" },

    { .group = "log names", .label = "files stand at the names the log would take", .arguments = "/quiet /port:COM3",
      .state = LOG_NAMES_TAKEN, .exitCode = 0, .printer = OnCom3, .fileThere = true,
      .logLine = "serial line settings 115200,n,8,1 of \"COM3:\": done, error 0" },
};

static std::string TempFolder(void)
{
    char folder[MAX_PATH];

    GetTempPathA(sizeof folder, folder);
    return folder;
}

/* Files at the names a run of that PID would take in the next seconds: with
   the PID alone and with 1 after it. */
static std::vector<std::string> PlantLogNames(const char *program, DWORD pid)
{
    std::vector<std::string> planted;
    SYSTEMTIME t;
    ULARGE_INTEGER now;
    char name[MAX_PATH];

    GetLocalTime(&t);
    SystemTimeToFileTime(&t, (FILETIME *)&now);
    for (int second = -1; second < 8; second++) {
        ULARGE_INTEGER then = { .QuadPart = now.QuadPart + (LONGLONG)second * 10000000 };
        FileTimeToSystemTime((FILETIME *)&then, &t);
        for (const char *number : { "", "-1" }) {
            snprintf(name, sizeof name, "%s-%04u%02u%02u-%02u%02u%02u-%lu%s.log", program, t.wYear, t.wMonth,
                     t.wDay, t.wHour, t.wMinute, t.wSecond, pid, number);
            planted.push_back(TempFolder() + name);
            WriteTextFile(planted.back().c_str(), "planted\r\n");
        }
    }
    return planted;
}

/* The logs of a run of that PID in the temporary folder. */
static std::vector<std::string> TempLogs(const char *program, DWORD pid)
{
    std::vector<std::string> logs;
    std::string pidPart = "-" + std::to_string(pid);

    for (const std::string &name : FileNames(TempFolder().c_str()))
        if (!name.compare(0, strlen(program), program) &&
            (name.find(pidPart + ".log") != std::string::npos || name.find(pidPart + "-") != std::string::npos))
            logs.push_back(TempFolder() + name);
    return logs;
}

/* DOMAIN\user of this process, which the programs run as too. */
static std::string AccountName(void)
{
    union
    {
        TOKEN_USER user;
        BYTE bytes[256];
    } info;
    char name[256], domain[256];
    DWORD needed, nameSize = sizeof name, domainSize = sizeof domain;
    SID_NAME_USE use;
    HANDLE token;

    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return "";
    bool found = GetTokenInformation(token, TokenUser, &info, sizeof info, &needed) &&
                 LookupAccountSidA(NULL, info.user.User.Sid, name, &nameSize, domain, &domainSize, &use);
    CloseHandle(token);
    return found ? std::string(domain) + "\\" + name : "";
}

/* A key's values, with their types and data, and its subkeys'. */
static std::string DumpKey(HKEY root, const std::string &path)
{
    std::string dump;
    char name[512], data[4096];
    DWORD nameSize, dataSize, type;
    HKEY key;

    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key)) return path + ": <none>\n";
    for (DWORD i = 0; nameSize = sizeof name, dataSize = sizeof data,
                      !RegEnumValueA(key, i, name, &nameSize, NULL, &type, (BYTE *)data, &dataSize); i++)
        dump += path + "\\" + name + " = " + std::to_string(type) + ":" + std::string(data, dataSize) + "\n";
    RegCloseKey(key);
    for (const std::string &sub : SubkeyNames(root, path.c_str())) dump += DumpKey(root, path + "\\" + sub);
    return dump;
}

static std::string DumpFiles(const char *directory)
{
    std::string dump;

    for (const std::string &name : FileNames(directory)) {
        std::string content = ReadTextFile((std::string(directory) + "\\" + name).c_str());
        dump += std::string(directory) + "\\" + name + " " + std::to_string(content.size()) + " bytes, hash " +
                std::to_string(std::hash<std::string>{}(content)) + "\n";
    }
    return dump;
}

static const char *const SpoolDirectories[] = { X64_DIR, X64_DIR "\\3", PRTPROCS_DIR };

class QuietRun : public Scenario
{
protected:
    SpoolerSnapshot spooler;
    std::vector<std::pair<std::string, std::string>> ports;

    void TakeSnapshot(void)
    {
        TakeSpoolerSnapshot(&spooler);
        ports.clear();
        for (const char *name : { "COM1:", "COM3:" }) {
            bool found;
            ports.push_back({ name, RegString(HKEY_LOCAL_MACHINE, PORTS_KEY, name, &found) });
        }
    }

    /* Takes away what a row left and stages the package again. */
    void Reset(void)
    {
        RestoreSpooler(&spooler);
        for (const auto &port : ports) RegSetString(HKEY_LOCAL_MACHINE, PORTS_KEY, port.first.c_str(), port.second.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, FORMS_KEY);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, USB_CLASS_KEY);
        RegDeleteTreeA(HKEY_CURRENT_USER, OVERRIDES_KEY);
        DeleteFileA(NAMED_LOG);
        StagePackage(INSTALL_DIR);
    }

    void Arrange(MachineState state)
    {
        std::string inf = ReadTextFile(INSTALL_DIR "\\QLRM550.INF");
        size_t model = inf.find("\"" MODEL "\"");

        switch (state) {
        case NO_SETUP_INFO: ASSERT_TRUE(DeleteFileA(INSTALL_DIR "\\QLRM550.INF")); break;
        case NO_LIBRARY: ASSERT_TRUE(DeleteFileA(INSTALL_DIR "\\qlpproc.dll")); break;
        case NO_MODEL:
            WriteTextFile(INSTALL_DIR "\\QLRM550.INF", "[Version]\r\nSignature=\"$Windows NT$\"\r\n[TarvokSystems]\r\n");
            break;
        case TWO_MODELS:
            ASSERT_NE(model, std::string::npos);
            inf.insert(model, "\"TARVOK QLP-RM551\" = QLRM550,USBPRINT\\TarvokQLP-RM551\r\n");
            WriteTextFile(INSTALL_DIR "\\QLRM550.INF", inf.c_str());
            break;
        case PRODUCT_ON_USB003: AddUsbPrinterInterface("SERIAL3", "VID_7C3E&PID_0914", 3); break;
        case NO_SPOOLER: RegSetString(HKEY_CURRENT_USER, OVERRIDES_KEY, "winspool.drv", "native"); break;
        case EARLIER_INSTALLATION:
            RegSetString(HKEY_LOCAL_MACHINE, TRACE_KEY, "Size", "x");
            RegSetString(HKEY_LOCAL_MACHINE, FORMS_KEY, "A4 210 x 297mm", "form");
            RegSetString(HKEY_LOCAL_MACHINE, DRIVER_KEY "\\sub", "Driver", "UNIDRV.DLL");
            break;
        case INSTALLED: {
            Program install;
            ASSERT_TRUE(StartProgram(&install, SETUP_EXE, INSTALL_DIR, "/quiet /port:USB001 /log:" NAMED_LOG));
            ASSERT_EQ(WaitForExit(&install), 0);
            ASSERT_EQ(PrinterLine(MODEL), MODEL " on USB001, QLPPrintProc, RAW");
            break;
        }
        default: break;
        }
    }

    /* Waits for the end, looking for a shown window all the while. */
    int WatchUntilExit(Program *program, HWND *shown)
    {
        DWORD start = GetTickCount();

        *shown = NULL;
        while (WaitForSingleObject(program->pi.hProcess, 5) == WAIT_TIMEOUT && GetTickCount() - start < WAIT_MS)
            if (!*shown) *shown = VisibleWindow(program->pi.dwProcessId);
        return WaitForExit(program);
    }

    std::string RunLog(const QuietRow &row, DWORD pid)
    {
        const char *name = strcmp(row.program, SETUP_EXE) ? "drvremove" : "drvsetup";

        if (strstr(row.arguments, NAMED_LOG)) return ReadTextFile(NAMED_LOG);
        for (const std::string &log : TempLogs(name, pid)) {
            std::string text = ReadTextFile(log.c_str());
            if (text != "planted\r\n") return text;
        }
        return "";
    }

    void Run(const QuietRow &row)
    {
        SCOPED_TRACE(row.label);
        Program run = { {}, false };
        std::vector<std::string> planted;
        HWND shown;

        Arrange(row.state);
        size_t journalStart = ReadTextFile(WINE_JOURNAL).size();
        ASSERT_TRUE(StartTracedProgram(&run, row.program, INSTALL_DIR, SHOWN_CALLS, row.arguments,
                                       row.state == LOG_NAMES_TAKEN ? CREATE_SUSPENDED : 0));
        if (row.state == LOG_NAMES_TAKEN) {
            planted = PlantLogNames("drvsetup", run.pi.dwProcessId);
            ResumeThread(run.pi.hThread);
        }
        DWORD pid = run.pi.dwProcessId;
        EXPECT_EQ(WatchUntilExit(&run, &shown), row.exitCode);
        EXPECT_TRUE(shown == NULL) << "a window was shown: \"" << WindowText(shown) << "\"";

        std::string journal = ReadTextFile(WINE_JOURNAL).substr(journalStart);
        for (const char *call : { "DialogBoxParamA", "CreateDialogParamA", "MessageBoxA" })
            EXPECT_EQ(journal.find(std::string("Call user32.") + call), std::string::npos) << call;
        EXPECT_EQ(journal.find("Call user32.ExitWindowsEx(00000002") != std::string::npos, row.exitCode == 1641);

        EXPECT_EQ(PrinterLine(MODEL), row.printer);
        if (row.held.path) {
            bool found;
            if (row.held.value)
                RegString(row.held.root, row.held.path, row.held.value, &found);
            else
                found = RegKeyExists(row.held.root, row.held.path);
            EXPECT_EQ(found, row.held.data != NULL) << row.held.path << " " << (row.held.value ? row.held.value : "");
            if (row.held.value && row.held.data) {
                EXPECT_EQ(RegString(row.held.root, row.held.path, row.held.value, &found), row.held.data);
            }
        }
        EXPECT_EQ(FileExists(row.file), row.fileThere) << row.file;

        std::string log = RunLog(row, pid), line = row.logLine;
        size_t account = line.find("%ACCOUNT%");
        if (account != std::string::npos) line.replace(account, 9, AccountName());
        EXPECT_NE(log.find(line + "\r\n"), std::string::npos) << "no line ending \"" << line << "\" in\n" << log;
        EXPECT_NE(log.find("  exit code " + std::to_string(row.exitCode) + "\r\n"), std::string::npos) << log;
        /* One byte-order mark, at the start, also after a second run appended. */
        EXPECT_EQ(log.find("\xef\xbb\xbf"), 0u);
        EXPECT_EQ(log.find("\xef\xbb\xbf", 1), std::string::npos);
        for (const std::string &name : planted) EXPECT_EQ(ReadTextFile(name.c_str()), "planted\r\n") << name;
        if (!planted.empty()) {
            std::vector<std::string> logs = TempLogs("drvsetup", pid);
            EXPECT_EQ(logs.size(), planted.size() + 1) << "one log of its own";
            for (const std::string &name : logs)
                EXPECT_TRUE(Holds(planted, name) || name.substr(name.size() - 6) == "-2.log") << name;
        }
        Reset();
    }

    void RunGroup(const char *group)
    {
        TakeSnapshot();
        RunRowsOfGroup(QuietRows, group, [this](const QuietRow &row) { Run(row); });
    }
};

TEST_F(QuietRun, Installs)
{
    RunGroup("installs");
}

TEST_F(QuietRun, InvalidCommandLines)
{
    RunGroup("invalid");
}

TEST_F(QuietRun, PackageAndMachine)
{
    RunGroup("package and machine");
}

TEST_F(QuietRun, EarlierInstallation)
{
    RunGroup("earlier installation");
}

TEST_F(QuietRun, Removal)
{
    RunGroup("removal");
}

TEST_F(QuietRun, LogNamesTakenAreNeverWrittenThrough)
{
    RunGroup("log names");
}

/* The usage, and an invalid command line without /quiet, in a message box. */
TEST_F(QuietRun, UsageInAMessageBox)
{
    static const struct
    {
        const char *program, *arguments;
        int exitCode;
        const char *text;
    } rows[] = {
        { SETUP_EXE, "/?", 0, "drvsetup.exe /quiet /port:PORT [/model:MODEL]" },
        { SETUP_EXE, "/log", 1639, "Invalid command line: a switch without its value: /log." },
        { REMOVE_EXE, "-HELP", 0, "drvremove.exe [/quiet [/norestart | /forcerestart]] [/log:PATH]" },
    };

    for (const auto &row : rows) {
        SCOPED_TRACE(row.arguments);
        Program run = { {}, false };
        ASSERT_TRUE(StartProgram(&run, row.program, INSTALL_DIR, row.arguments));
        HWND box = WaitForCaption(&run, SETUP_TITLE);
        ASSERT_TRUE(box != NULL);
        if (row.exitCode) Screenshot(box, "usage-invalid");
        EXPECT_NE(AllTexts(box).find(row.text), std::string::npos) << AllTexts(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(WaitForExit(&run), row.exitCode);
        EXPECT_EQ(PrinterLine(MODEL), "<none>");
    }
}

/* What a run leaves of the printer: the spooler's and the registry's
   records, the serial settings, the default printer and the files. */
static std::string Installation(void)
{
    std::string state = PrinterLine(MODEL) + "\n";

    state += DumpKey(HKEY_LOCAL_MACHINE, PRINTERS_KEY "\\" MODEL);
    state += DumpKey(HKEY_LOCAL_MACHINE, DRIVER_KEY);
    state += DumpKey(HKEY_LOCAL_MACHINE, PROCESSORS_KEY "\\QLPPrintProc");
    state += DumpKey(HKEY_LOCAL_MACHINE, PORTS_KEY);
    state += DumpKey(HKEY_CURRENT_USER, DEVICE_KEY);
    state += DumpKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices");
    state += DumpKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts");
    for (const char *directory : SpoolDirectories) state += DumpFiles(directory);
    return state;
}

/* The log's lines of the shared steps, from the model chosen to the default
   printer, without their times, the folder each run took the package into
   written as <taken>. */
static std::string EngineLines(const std::string &log)
{
    static const size_t timeWidth = strlen("2026-01-31 12:00:00  ");
    size_t into = log.find(" taken into "), done = log.find(": done", into);
    std::string lines, taken = into < done && done != std::string::npos ? log.substr(into + 12, done - into - 12) : "?";
    bool in = false;

    for (size_t at = 0, next; at < log.size(); at = next) {
        next = log.find('\n', at);
        next = next == std::string::npos ? log.size() : next + 1;
        std::string line = log.substr(at, next - at);
        line = line.size() > timeWidth ? line.substr(timeWidth) : "";
        for (size_t found; (found = line.find(taken)) != std::string::npos;) line.replace(found, taken.size(), "<taken>");
        in = in || !line.compare(0, strlen("model \"" MODEL "\": chosen"), "model \"" MODEL "\": chosen");
        if (in && line.find("as the exit page shows") == std::string::npos) lines += line;
        if (in && !line.compare(0, strlen("default printer"), "default printer")) break;
    }
    return lines;
}

/*
 * The same choices leave the same state: the wizard on the serial port
 * COM1: with the default printer, then the same by switches. The wizard,
 * given /log, runs as always and logs the same steps.
 */
TEST_F(QuietRun, SameChoicesAsTheWizardLeaveTheSameState)
{
    TakeSnapshot();
    ASSERT_TRUE(StartProgram(&setup, SETUP_EXE, INSTALL_DIR, "/log:C:\\wizard.log"));
    for (int step : { IDC_WELCOME_TEXT, IDC_MODEL_LIST, IDC_KIND_USB, IDC_PORT_LIST }) {
        HWND page = WaitForPage(&setup, step, NULL);
        ASSERT_TRUE(page != NULL) << step;
        if (step == IDC_KIND_USB) {
            Click(page, IDC_KIND_SERIAL);
            ASSERT_TRUE(WaitForCheck(page, IDC_KIND_SERIAL, true));
        }
        if (step == IDC_PORT_LIST) {
            ASSERT_EQ(ListRows(page, IDC_PORT_LIST)[ListSelection(page, IDC_PORT_LIST)], "COM1:");
        }
        Click(page, IDC_NEXT);
        WaitForGone(page);
    }
    HWND exitPage = WaitForPage_(__LINE__, &setup, IDC_DEFAULT_PRINTER, SETUP_TITLE, 30000);
    ASSERT_TRUE(exitPage != NULL);
    ASSERT_TRUE(IsChecked(exitPage, IDC_DEFAULT_PRINTER));
    Click(exitPage, IDOK);
    ASSERT_EQ(WaitForExit(&setup), 0);
    std::string wizard = Installation(), wizardLog = ReadTextFile("C:\\wizard.log");
    WriteTextFile((ResultsDir() + "\\installation-by-the-wizard.txt").c_str(), wizard.c_str());
    EXPECT_NE(wizardLog.find("  exit code 0\r\n"), std::string::npos) << wizardLog;

    Reset();
    ASSERT_NE(Installation(), wizard) << "the reset took the installation away";
    Program quiet = { {}, false };
    ASSERT_TRUE(StartProgram(&quiet, SETUP_EXE, INSTALL_DIR, "/quiet /port:COM1 /default /log:" NAMED_LOG));
    ASSERT_EQ(WaitForExit(&quiet), 0);
    EXPECT_EQ(Installation(), wizard);
    EXPECT_EQ(EngineLines(ReadTextFile(NAMED_LOG)), EngineLines(wizardLog));
}
