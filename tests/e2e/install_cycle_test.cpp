/*
 * Install and remove, again and again, in one prefix: an installation, a
 * second one over it, a removal, a second removal with nothing left, an
 * installation after the removal, and then two wizards and two removals
 * running at the same time. After each step the spooler, the registry and
 * the files are what the programs leave, and every run ends with exit code 0.
 */
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "scenario.h"

#define DRIVER_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\" MODEL
#define PROCESSOR_KEY \
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print Processors\\QLPPrintProc"
#define DEVICE_KEY "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"
#define DRIVER_DIR "C:\\windows\\system32\\spool\\drivers\\x64"
#define PROCESSOR_LIBRARY "C:\\windows\\system32\\spool\\prtprocs\\x64\\qlpproc.dll"
#define REMOVAL_CALLS "winspool.drv.DeletePrintProcessorA;winspool.drv.DeletePrinterDriverA"

static const char *const UnidrvFiles[] = {
    "STDNAMES.GPD", "UNIDRV.DLL", "UNIDRV.HLP", "UNIDRVUI.DLL", "UNIRES.DLL",
};

/* The model's files as the package's setup information lists them: the
   "@" names of its CopyFiles value. */
static std::vector<std::string> ListedFiles(void)
{
    char value[1024] = "";
    std::vector<std::string> names;
    std::string field;

    GetPrivateProfileStringA("QLRM550", "CopyFiles", "", value, sizeof value, INSTALL_DIR "\\QLRM550.INF");
    for (const char *p = value;; p++) {
        if (*p && *p != ',') {
            field += *p;
            continue;
        }
        size_t at = field.find_first_not_of(' ');
        if (at != std::string::npos && field[at] == '@') names.push_back(field.substr(at + 1));
        field.clear();
        if (!*p) break;
    }
    return names;
}

static std::string Joined(const std::vector<std::string> &names)
{
    std::string joined;
    for (const std::string &name : names) joined += (joined.empty() ? "" : "|") + name;
    return joined;
}

/* What the copy puts into the driver directory: the listed files and the
   Unidrv files, sorted as FileNames gives them. */
static std::vector<std::string> DriverFiles(void)
{
    std::vector<std::string> names = ListedFiles();
    for (const char *name : UnidrvFiles)
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

static bool SameBytes(const std::string &a, const std::string &b)
{
    return !a.empty() && a == b;
}

class InstallCycle : public Scenario
{
protected:
    Program second = { {}, false };
    Program remover = { {}, false };
    Program secondRemover = { {}, false };

    void TearDown() override
    {
        EndProgram(&second);
        EndProgram(&remover);
        EndProgram(&secondRemover);
        Scenario::TearDown();
    }

    static void ExpectSucceeded_(int line, const WizardWalk &walk)
    {
        SCOPED_TRACE(testing::Message() << "walk of line " << line);
        EXPECT_EQ(walk.exitCode, 0);
        EXPECT_EQ(walk.exitPage, 1);
        EXPECT_TRUE(walk.defaultBoxChecked);
        EXPECT_EQ(walk.warning, "");
        EXPECT_EQ(walk.errorCaption, "");
        EXPECT_TRUE(walk.models == std::vector<std::string>{ MODEL });
    }

    /* The files stay after a removal: neither the program nor the spooler's
       DeletePrinterDriverA deletes them. */
    static void ExpectFiles_(int line)
    {
        SCOPED_TRACE(testing::Message() << "files checked at line " << line);
        std::vector<std::string> expected = DriverFiles();
        EXPECT_EQ(Joined(FileNames(DRIVER_DIR)), Joined(expected));
        for (const std::string &name : expected)
            EXPECT_TRUE(SameBytes(ReadTextFile((DRIVER_DIR "\\" + name).c_str()),
                                  ReadTextFile((INSTALL_DIR "\\" + name).c_str())))
                << name;
        EXPECT_TRUE(SameBytes(ReadTextFile(PROCESSOR_LIBRARY), ReadTextFile(INSTALL_DIR "\\qlpproc.dll")));
    }

    static void ExpectInstalled_(int line)
    {
        SCOPED_TRACE(testing::Message() << "installation checked at line " << line);
        bool found;
        EXPECT_TRUE(PrinterNames() == std::vector<std::string>{ MODEL });
        EXPECT_EQ(PrinterLine(MODEL), MODEL " on USB001, QLPPrintProc, RAW");
        EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, DRIVER_KEY, "Data File", &found), "QLRM550.GPD");
        EXPECT_EQ(RegMultiString(HKEY_LOCAL_MACHINE, DRIVER_KEY, "Dependent Files", &found), Joined(ListedFiles()));
        EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, PROCESSOR_KEY, "Driver", &found), "qlpproc.dll");
        EXPECT_EQ(RegString(HKEY_CURRENT_USER, DEVICE_KEY, "device", &found), MODEL "," MODEL ",USB001");
        ExpectFiles_(line);
    }

    /*
     * Wine's DeletePrintProcessorA deletes nothing, so the print processor's
     * key stays (Windows removes it); the journal shows the call. Wine's
     * DeletePrinter also clears the default printer it deletes.
     */
    static void ExpectRemoved_(int line)
    {
        SCOPED_TRACE(testing::Message() << "removal checked at line " << line);
        bool found;
        EXPECT_TRUE(PrinterNames().empty());
        EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, DRIVER_KEY));
        EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, PROCESSOR_KEY, "Driver", &found), "qlpproc.dll");
        RegString(HKEY_CURRENT_USER, DEVICE_KEY, "device", &found);
        EXPECT_FALSE(found) << "the default printer went with the printer";
        EXPECT_FALSE(FileExists("C:\\windows\\inf\\QLRM550.INF"));
        ExpectFiles_(line);
    }

    /* With the relay journal of the calls named, if any: the part of the
       journal it wrote. */
    WizardWalk Install(const char *relayInclude = NULL, std::string *journal = NULL)
    {
        WizardWalk walk;
        size_t start = ReadTextFile(WINE_JOURNAL).size();
        if (relayInclude)
            StartTracedProgram(&setup, SETUP_EXE, INSTALL_DIR, relayInclude);
        else
            StartProgram(&setup, SETUP_EXE, INSTALL_DIR);
        WalkWizard(&setup, &walk);
        if (journal) *journal = ReadTextFile(WINE_JOURNAL).substr(start);
        return walk;
    }

    /* The removal with the relay journal of its spooler calls: the part of
       the journal it wrote. */
    std::string Remove(RemovalWalk *walk)
    {
        size_t start = ReadTextFile(WINE_JOURNAL).size();
        StartTracedProgram(&remover, REMOVE_EXE, INSTALL_DIR, REMOVAL_CALLS);
        WalkRemoval(&remover, walk);
        return ReadTextFile(WINE_JOURNAL).substr(start);
    }
};

#define ExpectSucceeded(walk) ExpectSucceeded_(__LINE__, walk)
#define ExpectInstalled() ExpectInstalled_(__LINE__)
#define ExpectRemoved() ExpectRemoved_(__LINE__)

TEST_F(InstallCycle, InstallAgainRemoveAgainAndTwoAtOnce)
{
    ExpectSucceeded(Install());
    ExpectInstalled();

    /* Over an installation: the Model page takes the printer away first, so
       the registration finds no printer of the name and keeps the driver
       until it registers it again. */
    std::string journal;
    ExpectSucceeded(Install("winspool.drv.DeletePrinterDriverA;winspool.drv.AddPrinterDriverA", &journal));
    ExpectInstalled();
    EXPECT_EQ(journal.find("Call winspool.drv.DeletePrinterDriverA("), std::string::npos) << journal;
    EXPECT_NE(journal.find("Call winspool.drv.AddPrinterDriverA("), std::string::npos) << journal;

    RemovalWalk removal;
    journal = Remove(&removal);
    EXPECT_EQ(removal.exitCode, 0);
    EXPECT_EQ(removal.questions, 1);
    EXPECT_NE(removal.questionText.find("You will need to restart the computer."), std::string::npos);
    EXPECT_NE(journal.find("Call winspool.drv.DeletePrinterDriverA(00000000,00000000,"), std::string::npos)
        << journal;
    EXPECT_NE(journal.find("Call winspool.drv.DeletePrintProcessorA(00000000,00000000,"), std::string::npos)
        << journal;
    EXPECT_NE(journal.find("\"QLPPrintProc\")"), std::string::npos) << journal;
    ExpectRemoved();

    /* Nothing left: no printer, so no spooler call and no question. */
    RemovalWalk again;
    journal = Remove(&again);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.questions, 0);
    EXPECT_EQ(journal.find("Call winspool.drv.Delete"), std::string::npos) << journal;
    ExpectRemoved();

    /* An older version's files, left in the spooler's directories, are replaced. */
    WriteTextFile(PROCESSOR_LIBRARY, "stale");
    WriteTextFile(DRIVER_DIR "\\QLRM550.GPD", "stale");
    ExpectSucceeded(Install());
    ExpectInstalled();

    /*
     * Two wizards together. The second waits on its Port page until the
     * first is copying, so the two registrations, each a few spooler calls,
     * run seconds apart: the second takes away the first's printer and
     * driver and registers its own.
     */
    WizardWalk first, other;
    other.holdAtPortPage = true;
    StartProgram(&setup, SETUP_EXE, INSTALL_DIR);
    StartProgram(&second, SETUP_EXE, INSTALL_DIR);
    DWORD start = GetTickCount();
    bool running = true;
    while (running && GetTickCount() - start < 90000) {
        running = WizardStep(&setup, &first);
        if (first.sawCopy || first.ended) other.holdAtPortPage = false;
        running = WizardStep(&second, &other) || running;
    }
    EXPECT_FALSE(running) << "the two wizards did not end within 90 s";
    ExpectSucceeded(first);
    ExpectSucceeded(other);
    ExpectInstalled();

    /* Two removals together: either may find the printer before the other
       deletes it, so one or both ask the restart question. */
    RemovalWalk one, two;
    StartProgram(&remover, REMOVE_EXE, INSTALL_DIR);
    StartProgram(&secondRemover, REMOVE_EXE, INSTALL_DIR);
    start = GetTickCount();
    running = true;
    while (running && GetTickCount() - start < 30000) {
        running = RemovalStep(&remover, &one);
        running = RemovalStep(&secondRemover, &two) || running;
    }
    EXPECT_FALSE(running) << "the two removals did not end within 30 s";
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(two.exitCode, 0);
    EXPECT_GE(one.questions + two.questions, 1);
    EXPECT_LE(one.questions, 1);
    EXPECT_LE(two.questions, 1);
    ExpectRemoved();
}
