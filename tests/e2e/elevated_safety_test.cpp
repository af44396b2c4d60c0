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
#include <stdlib.h>
#include <string>
#include <vector>
#include "scenario.h"

#define WORK_DIR "C:\\work"
#define MARKS_DIR "C:\\planted-marks"
#define X64_DIR "C:\\windows\\system32\\spool\\drivers\\x64\\"
#define PRTPROCS_DIR "C:\\windows\\system32\\spool\\prtprocs\\x64\\"

/*
 * Each planted library with the name Wine's load order knows it by. Besides
 * the delay-loaded spooler and SetupAPI, the cryptographic provider and what
 * it imports: the runtime's start-up code, before WinMain, seeds the stack
 * protector through CryptAcquireContextA unless the program has done so.
 * Wine's provider brings bcrypt and crypt32, Windows' cryptsp, cryptbase and
 * msasn1.
 */
static const struct
{
    const char *file, *loadOrderName;
} PlantedLibraries[] = {
    { "winspool.drv", "winspool.drv" }, { "setupapi.dll", "setupapi" }, { "bcrypt.dll", "bcrypt" },
    { "crypt32.dll", "crypt32" },       { "rsaenh.dll", "rsaenh" },     { "cryptsp.dll", "cryptsp" },
    { "cryptbase.dll", "cryptbase" },   { "msasn1.dll", "msasn1" },
};

class ElevatedSafety : public Scenario
{
protected:
    Program remover = { {}, false };

    void TearDown() override
    {
        EndProgram(&remover);
        Scenario::TearDown();
    }

    /* Walks a whole installation on USB from the program's start. */
    void Install(const char *exe, const char *currentDir)
    {
        static const int route[] = { IDC_WELCOME_TEXT, IDC_MODEL_LIST, IDC_KIND_USB, IDC_PORT_LIST };

        ASSERT_TRUE(StartProgram(&setup, exe, currentDir));
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
    for (const auto &planted : PlantedLibraries) {
        for (const char *dir : { INSTALL_DIR, WORK_DIR })
            ASSERT_TRUE(CopyFileA(library.c_str(), (std::string(dir) + "\\" + planted.file).c_str(), FALSE))
                << dir << planted.file;
        for (const char *program : { "drvsetup.exe", "drvremove.exe" }) {
            std::string key = std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides";
            RegSetString(HKEY_CURRENT_USER, key.c_str(), planted.loadOrderName, "native,builtin");
        }
    }

    /* Wine's loader names the file of every library it loads. */
    SetEnvironmentVariableA("WINEDEBUG", "+loaddll");
    Install(SETUP_EXE, WORK_DIR);
    ASSERT_TRUE(StartProgram(&remover, REMOVE_EXE, WORK_DIR));
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
}

/*
 * A system library that cannot be loaded from the system directory ends both
 * programs in order, with exit code 0: the wizard on its failure page, the
 * removal without a word. Neither asks for the library by its bare name,
 * which a system without SetDefaultDllDirectories looks for beside the
 * program first. Wine refuses its own library in the system directory when
 * the load order says "native" alone, as Windows refuses a missing or
 * damaged file there. Wine then searches the system directory alone for a
 * bare name too, so the relay journal shows the names asked for.
 */
TEST_F(ElevatedSafety, ASystemLibraryThatCannotBeLoadedEndsBothProgramsInOrder)
{
    static const char LoadCalls[] = "kernel32.LoadLibraryA;kernel32.LoadLibraryExA";

    for (const char *program : { "drvsetup.exe", "drvremove.exe" }) {
        std::string key = std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides";
        RegSetString(HKEY_CURRENT_USER, key.c_str(), "winspool.drv", "native");
        RegSetString(HKEY_CURRENT_USER, key.c_str(), "setupapi", "native");
    }
    WizardWalk walk;
    StartTracedProgram(&setup, SETUP_EXE, INSTALL_DIR, LoadCalls);
    WalkWizard(&setup, &walk);
    EXPECT_EQ(walk.exitCode, 0);
    EXPECT_TRUE(walk.sawModelPage);
    EXPECT_EQ(walk.exitPage, 0) << "the failure page";
    EXPECT_FALSE(walk.sawCopy);
    RemovalWalk removal;
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
 * The package started from its folder with C:\work as its current
 * directory, where decoys of the driver's files lie, and a decoy print
 * processor library in C:\TARVOK: what lands in the spooler's directories is
 * the package's own, byte for byte. Code page 949 lacks the e with an acute
 * accent, and its nearest letter turns C:\Café into C:\Cafe, where a decoy
 * package lies. Wine gives C:\Café a short name that code page 949 holds;
 * a system that keeps no short names finds no package (a unit test shows it).
 */
TEST_F(ElevatedSafety, PackageFilesComeFromBesideTheProgram)
{
    static const char *const files[] = { "QLRM550.GPD", "QLRM550.DLL", "STDNAMES.GPD", "UNIDRV.DLL",
                                         "UNIDRV.HLP", "UNIDRVUI.DLL", "UNIRES.DLL" };
    /* In UTF-8, as the robot takes paths */
    static const char *const packageDirs[] = { "C:\\pkg", "C:\\Caf\xc3\xa9" };

    StagePackage("C:\\Cafe");
    CreateDirectoryA(WORK_DIR, NULL);
    for (const char *name : files)
        for (const char *dir : { WORK_DIR, "C:\\Cafe" })
            WriteTextFile((std::string(dir) + "\\" + name).c_str(), "decoy");
    for (const char *dir : { INSTALL_DIR, WORK_DIR, "C:\\Cafe" })
        WriteTextFile((std::string(dir) + "\\qlpproc.dll").c_str(), "decoy");

    for (const char *packageDir : packageDirs) {
        SCOPED_TRACE(packageDir);
        const std::string package = std::string(packageDir) + "\\";
        StagePackage(packageDir);
        for (const char *name : files) DeleteFileA((std::string(X64_DIR) + name).c_str());
        DeleteFileA(PRTPROCS_DIR "qlpproc.dll");

        Install((package + "drvsetup.exe").c_str(), WORK_DIR);
        for (const char *name : files) {
            SCOPED_TRACE(name);
            std::string installed = ReadTextFile((std::string(X64_DIR) + name).c_str());
            EXPECT_FALSE(installed.empty());
            EXPECT_TRUE(installed == ReadTextFile((package + name).c_str()));
        }
        std::string library = ReadTextFile(PRTPROCS_DIR "qlpproc.dll");
        EXPECT_FALSE(library.empty());
        EXPECT_TRUE(library == ReadTextFile((package + "qlpproc.dll").c_str()));
    }
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
