/*
 * What an elevated program started from a downloads folder must not do: load
 * a library planted beside it or in its current directory, or install files
 * that are not the package's own.
 *
 * Wine prefers its built-in libraries, so a planted one is never loaded by
 * default. A per-program DllOverrides key with "native,builtin" makes Wine's
 * loader search for those names as Windows does, which finds a file beside
 * the program first. Wine's own user32 imports version.dll (Windows' does
 * not), so a planted version.dll would be loaded before any of our code runs:
 * that name is left out here, as are the libraries the loader brings in with
 * the programs' imports, which Windows takes from its list of known DLLs.
 */
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "scenario.h"

#define WORK_DIR "C:\\work"
#define MARKS_DIR "C:\\planted-marks"
#define X64_DIR "C:\\windows\\system32\\spool\\drivers\\x64\\"
#define PRTPROCS_DIR "C:\\windows\\system32\\spool\\prtprocs\\x64\\"

/* By the names of Wine's load order. Before WinMain the runtime seeds the
   stack protector through CryptAcquireContextA unless the program has done
   so: Wine's provider imports bcrypt and crypt32, Windows' cryptsp,
   cryptbase and msasn1. */
static const char *const PlantedNames[] = { "winspool.drv", "setupapi", "shell32",   "bcrypt", "crypt32",
                                            "rsaenh",       "cryptsp",  "cryptbase", "msasn1" };

class ElevatedSafety : public Scenario
{
protected:
    Program remover = { {}, false };

    void TearDown() override
    {
        EndProgram(&remover);
        Scenario::TearDown();
    }

    /* Wine's load order for a library in both programs. */
    void SetLoadOrder(const char *name, const char *order)
    {
        for (const char *program : { "drvsetup.exe", "drvremove.exe" })
            RegSetString(HKEY_CURRENT_USER,
                         (std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides").c_str(), name,
                         order);
    }

    /* Walks a whole installation on USB from the program's start. */
    void Install(const char *exe, const char *currentDir)
    {
        ASSERT_TRUE(StartProgram(&setup, exe, currentDir));
        WalkToTheEnd();
    }

    void WalkToTheEnd(void)
    {
        static const int route[] = { IDC_WELCOME_TEXT, IDC_MODEL_LIST, IDC_KIND_USB, IDC_PORT_LIST };

        for (int step : route) {
            HWND page = WaitForPage(&setup, step, NULL);
            ASSERT_TRUE(page != NULL) << "page with control " << step;
            Click(page, IDC_NEXT);
            WaitForGone(page);
        }
        HWND exitPage = WaitForPage_(__LINE__, &setup, IDC_DEFAULT_PRINTER, SETUP_TITLE, 30000);
        ASSERT_TRUE(exitPage != NULL);
        EXPECT_EQ(ControlText(exitPage, IDC_RESULT_TEXT), "The Installation has done successfully.");
        Click(exitPage, IDOK);
        EXPECT_EQ(WaitForExit(&setup), 0);
    }
};

static std::vector<std::string> Marks(void)
{
    std::vector<std::string> marks;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(MARKS_DIR "\\*", &found);

    if (search == INVALID_HANDLE_VALUE) return marks;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) marks.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return marks;
}

/* The loader's lines that name a file loaded from one of our folders. */
static std::string LoadsFrom(const std::string &journal, const char *folder)
{
    std::string hits, needle = std::string("loaded l\"") + folder;
    size_t at = 0;

    for (size_t i = 0; i < needle.size(); i++)
        if (needle[i] == '\\') needle.insert(i++, "\\");
    while ((at = journal.find(needle, at)) != std::string::npos) {
        size_t end = journal.find('\n', at);
        std::string line = journal.substr(at, end - at);
        if (line.find(".exe\"") == std::string::npos) hits += line + "\n";
        at = end;
    }
    return hits;
}

TEST_F(ElevatedSafety, LibrariesPlantedBesideTheProgramsOrInTheCurrentDirectoryAreNeverLoaded)
{
    const char *planted = getenv("DRV_PLANTED_DLL");
    ASSERT_TRUE(planted != NULL);
    std::string library = std::string("Z:") + planted;
    for (char &c : library)
        if (c == '/') c = '\\';

    CreateDirectoryA(WORK_DIR, NULL);
    for (const char *name : PlantedNames) {
        std::string file = std::string(name) + (strchr(name, '.') ? "" : ".dll");
        for (const char *dir : { INSTALL_DIR, WORK_DIR })
            ASSERT_TRUE(CopyFileA(library.c_str(), (std::string(dir) + "\\" + file).c_str(), FALSE)) << dir << file;
        SetLoadOrder(name, "native,builtin");
    }

    /* Wine's loader names the file of every library it loads. */
    SetEnvironmentVariableA("WINEDEBUG", "+loaddll");
    Install(SETUP_EXE, WORK_DIR);
    /* A switch has the removal read its command line, with shell32. */
    ASSERT_TRUE(StartProgram(&remover, REMOVE_EXE, WORK_DIR, "/log:" WORK_DIR "\\removal.log"));
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    AnswerMessage(&remover, "Question", NULL, IDNO);
    EXPECT_EQ(WaitForExit(&remover), 0);

    std::vector<std::string> marks = Marks();
    EXPECT_TRUE(marks.empty()) << marks.size() << " planted libraries were loaded, the first " << marks[0];
    std::string journal = ReadTextFile(WINE_JOURNAL);
    CharLowerBuffA(&journal[0], (DWORD)journal.size());
    EXPECT_EQ(LoadsFrom(journal, "c:\\tarvok"), "");
    EXPECT_EQ(LoadsFrom(journal, "c:\\work"), "");
    EXPECT_NE(journal.find("loaded l\"c:\\\\windows\\\\system32\\\\winspool.drv\""), std::string::npos)
        << "the spooler comes from the system directory";
    EXPECT_NE(journal.find("loaded l\"c:\\\\windows\\\\system32\\\\setupapi.dll\""), std::string::npos)
        << "SetupAPI comes from the system directory";
    EXPECT_NE(journal.find("loaded l\"c:\\\\windows\\\\system32\\\\shell32.dll\""), std::string::npos)
        << "the shell comes from the system directory";
}

/*
 * A system library that cannot be loaded ends both programs in order. Wine
 * refuses its own when the load order says "native" alone, as Windows a
 * missing or damaged file. Wine then looks for a bare name in the system
 * directory only, Windows without SetDefaultDllDirectories beside the
 * program first: the relay journal shows that no bare name was asked for.
 */
TEST_F(ElevatedSafety, ASystemLibraryThatCannotBeLoadedEndsBothProgramsInOrder)
{
    static const char LoadCalls[] = "kernel32.LoadLibraryA;kernel32.LoadLibraryExA";
    WizardWalk walk;
    RemovalWalk removal;
    SetLoadOrder("winspool.drv", "native");
    SetLoadOrder("setupapi", "native");
    StartTracedProgram(&setup, SETUP_EXE, INSTALL_DIR, LoadCalls);
    WalkWizard(&setup, &walk);
    EXPECT_EQ(walk.exitCode, 0);
    EXPECT_EQ(walk.exitPage, 0) << "the failure page";
    StartTracedProgram(&remover, REMOVE_EXE, INSTALL_DIR, LoadCalls);
    WalkRemoval(&remover, &removal);
    EXPECT_EQ(removal.exitCode, 0);
    EXPECT_EQ(removal.questions, 0);
    std::string journal = ReadTextFile(WINE_JOURNAL);
    for (const char *name : { "WINSPOOL.DRV", "SETUPAPI.dll" }) {
        EXPECT_NE(journal.find(std::string("system32\\\\") + name + "\""), std::string::npos) << name;
        EXPECT_EQ(journal.find(std::string(" \"") + name + "\""), std::string::npos) << name << " by its bare name";
    }
}

/*
 * The package started from C:\Café with C:\work as its current directory,
 * where decoys of the driver's files lie, and a decoy print processor
 * library in C:\TARVOK: what lands in the spooler's directories is the
 * package's own, byte for byte. Code page 949 lacks the é, and its nearest
 * letter names C:\Cafe, where a decoy package lies; Wine gives C:\Café a
 * short name that code page 949 holds.
 */
TEST_F(ElevatedSafety, PackageFilesComeFromBesideTheProgram)
{
    static const char *const files[] = { "QLRM550.GPD", "QLRM550.DLL", "STDNAMES.GPD", "UNIDRV.DLL",
                                         "UNIDRV.HLP", "UNIDRVUI.DLL", "UNIRES.DLL" };
    StagePackage("C:\\Caf\xc3\xa9"); /* UTF-8, as the robot takes paths */
    StagePackage("C:\\Cafe");
    CreateDirectoryA(WORK_DIR, NULL);
    for (const char *name : files) {
        WriteTextFile((std::string(WORK_DIR "\\") + name).c_str(), "decoy");
        WriteTextFile((std::string("C:\\Cafe\\") + name).c_str(), "decoy");
    }
    WriteTextFile(INSTALL_DIR "\\qlpproc.dll", "decoy");
    WriteTextFile(WORK_DIR "\\qlpproc.dll", "decoy");
    WriteTextFile("C:\\Cafe\\qlpproc.dll", "decoy");

    Install("C:\\Caf\xc3\xa9\\drvsetup.exe", WORK_DIR);
    for (const char *name : files) {
        SCOPED_TRACE(name);
        std::string installed = ReadTextFile((std::string(X64_DIR) + name).c_str());
        EXPECT_FALSE(installed.empty());
        EXPECT_TRUE(installed == ReadTextFile((PackageDir() + "\\" + name).c_str()));
    }
    std::string library = ReadTextFile(PRTPROCS_DIR "qlpproc.dll");
    EXPECT_FALSE(library.empty());
    EXPECT_TRUE(library == ReadTextFile((PackageDir() + "\\qlpproc.dll").c_str()));
}

/* Names with a path in the setup information file are refused: nothing is
   written outside the spooler's directories, whatever lies where they point. */
TEST_F(ElevatedSafety, PathNamesInTheSetupInformationWriteNothingOutside)
{
    /* Where the names lead from the driver and print processor directories. */
    static const char *const outside[] = { "C:\\windows\\system32\\spool\\evil.dll",
                                           "C:\\windows\\system32\\evil.dll",
                                           "C:\\windows\\system32\\spool\\evil2.dll" };
    std::string inf = ReadTextFile(INSTALL_DIR "\\QLRM550.INF");
    size_t at = inf.find("CopyFiles=@QLRM550.GPD");
    ASSERT_NE(at, std::string::npos);
    inf.insert(at + strlen("CopyFiles="), "@..\\..\\evil.dll,@..\\..\\..\\evil.dll,");
    at = inf.find("QLP_PRINTPROCESSOR=");
    ASSERT_NE(at, std::string::npos);
    inf.replace(at, inf.find('\n', at) - at, "QLP_PRINTPROCESSOR=\"QLPPrintProc,..\\..\\evil2.dll\"\r");
    WriteTextFile(INSTALL_DIR "\\QLRM550.INF", inf.c_str());
    /* Where the names lead from the package's folder: a copy would find them. */
    WriteTextFile("C:\\evil.dll", "planted");
    WriteTextFile("C:\\evil2.dll", "planted");

    ASSERT_TRUE(StartProgram(&setup, SETUP_EXE, INSTALL_DIR));
    for (int step : { IDC_WELCOME_TEXT, IDC_MODEL_LIST, IDC_KIND_USB, IDC_PORT_LIST }) {
        HWND page = WaitForPage(&setup, step, NULL);
        ASSERT_TRUE(page != NULL);
        Click(page, IDC_NEXT);
        WaitForGone(page);
    }
    /* Without its library there is no print processor, and Wine's spooler
       refuses a printer without one. */
    AnswerMessage(&setup, "Add a printer error ", "Cannot add a printer !", IDOK);
    ExpectExitPage(false, "exit-after-path-names");

    for (const char *path : outside) EXPECT_FALSE(FileExists(path)) << path;
    EXPECT_FALSE(FileExists(X64_DIR "evil.dll"));
    EXPECT_FALSE(FileExists(PRTPROCS_DIR "evil2.dll"));
    bool found;
    std::string dependent = RegMultiString(HKEY_LOCAL_MACHINE,
        "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\" MODEL,
        "Dependent Files", &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(dependent.find("evil"), std::string::npos) << dependent;
}

/* The folder drvsetup took its package into, in the temporary folder. */
static std::string TakenFolder(void)
{
    char temp[MAX_PATH];
    WIN32_FIND_DATAA found;

    GetTempPathA(sizeof temp, temp);
    HANDLE search = FindFirstFileA((std::string(temp) + "drvsetup-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return "";
    FindClose(search);
    return temp + std::string(found.cFileName);
}

/* The folder's access control list as the system reads it back. */
static std::string ReadBackRights(const std::string &path)
{
    PSECURITY_DESCRIPTOR descriptor = NULL;
    PACL dacl;
    char *text = NULL;

    GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, NULL, NULL, &dacl, NULL,
                          &descriptor);
    ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                         &text, NULL);
    std::string rights = text ? text : "<unreadable>";
    LocalFree(text);
    LocalFree(descriptor);
    return rights;
}

/*
 * The package is taken while "Reading setup information..." shows: files
 * swapped in its folder while the wizard waits on a page, the setup
 * information among them, are never installed. They are taken into a
 * folder that only Administrators and SYSTEM may write and that is held
 * open, so it cannot be renamed away; it is gone at the end. Wine keeps no
 * access control lists: it reads back a list made from the Unix mode it
 * gave the folder, which leaves Everyone nothing; on Windows the list is
 * read back as given. A unit test's spy checks the list given.
 */
TEST_F(ElevatedSafety, FilesSwappedWhileTheWizardWaitsAreNeverInstalled)
{
    static const char *const swapped[] = { "qlpproc.dll", "UNIDRV.DLL",   "QLRM550.DLL",
                                           "QLRM550.GPD", "STDNAMES.GPD", "UNIRES.DLL" };
    static const char *const spooler[] = { X64_DIR, X64_DIR "3\\", PRTPROCS_DIR };
    const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != NULL;

    ASSERT_TRUE(StartProgram(&setup, SETUP_EXE, INSTALL_DIR));
    ASSERT_TRUE(WaitForPage(&setup, IDC_WELCOME_TEXT, NULL) != NULL);
    for (const char *name : swapped) WriteTextFile((std::string(INSTALL_DIR "\\") + name).c_str(), "swapped");
    WriteTextFile(INSTALL_DIR "\\QLRM550.INF", "[TarvokSystems]\r\n\"" MODEL "\"=Q\r\n[Q]\r\nCopyFiles=@EVIL.DLL\r\n");
    std::string taken = TakenFolder(), rights = ReadBackRights(taken);
    ASSERT_FALSE(taken.empty());
    if (wine)
        EXPECT_EQ(rights.find(";WD)"), std::string::npos) << rights;
    else
        EXPECT_EQ(rights, "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)");
    EXPECT_FALSE(MoveFileA(taken.c_str(), (taken + "-moved").c_str())) << "renamed away";

    WalkToTheEnd();
    int installed = 0;
    for (const char *directory : spooler) {
        for (const char *name : swapped) {
            std::string bytes = ReadTextFile((std::string(directory) + name).c_str());
            if (bytes.empty()) continue;
            installed++;
            EXPECT_TRUE(bytes == ReadTextFile((PackageDir() + "\\" + name).c_str())) << directory << name;
        }
    }
    EXPECT_GE(installed, 6);
    bool found;
    EXPECT_EQ(RegMultiString(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64"
                             "\\Drivers\\Version-3\\" MODEL, "Dependent Files", &found),
              "QLRM550.GPD|QLRM550.DLL|STDNAMES.GPD|UNIRES.DLL");
    EXPECT_FALSE(FileExists(taken.c_str())) << taken;
}
