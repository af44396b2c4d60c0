/*
 * The model catalogue and the install-section reader, against Wine's own
 * profile reader and spooler, with fixture files in C:\fixture.
 */
#include <windows.h>
#include <sddl.h>
#include <gtest/gtest.h>
#include <string>
#include "engine_fixtures.h"
#include "install_state.h"
#include "product.h"
#include "setup_info.h"
#include "dialog_observer.h"
#include "import_spy.h"
#include "copy_dialog.h"
#include "take_package.h"

static std::string Files(void) { return JoinList(installState.dependentFiles, TEXT_SIZE); }

static std::string ModelAt(WORD index)
{
    char name[TEXT_SIZE] = "untouched";

    GetModelNameAt(index, name);
    return name;
}

TEST(SetupInfo, ModelCatalogue)
{
    ASSERT_TRUE(USE_FIXTURE_SETUP_INFO());
    ASSERT_TRUE(WRITE_FIXTURE_INF("[TarvokSystems]\r\n\"TARVOK QLP-RM550\" = Full\r\nABCD = Full\r\n\"Second\"=Small\r\n"));
    EXPECT_EQ(GetModelCount(), 3);
    EXPECT_EQ(ModelAt(0), "TARVOK QLP-RM550");
    EXPECT_EQ(ModelAt(1), "BC") << "an unquoted key loses its first and last letters";
    EXPECT_EQ(ModelAt(2), "Second");
    EXPECT_EQ(ModelAt(3), "untouched");

    /* 60 keys of 25 characters take 1560 bytes. The count sees 1024 of them:
       39 whole names and 8 characters of the 40th; the names see them all. */
    std::string inf = "[TarvokSystems]\r\n";
    for (int i = 10; i < 70; i++) inf += "\"MODEL-" + std::to_string(i) + "-" + std::string(14, 'X') + "\"=Full\r\n";
    ASSERT_TRUE(WRITE_FIXTURE_INF(inf));
    EXPECT_EQ(GetModelCount(), 40);
    EXPECT_EQ(ModelAt(39), "MODEL-49-" + std::string(14, 'X'));
    EXPECT_EQ(ModelAt(59), "MODEL-69-" + std::string(14, 'X'));
    EXPECT_EQ(ModelAt(60), "untouched");

    ASSERT_TRUE(DeleteFileA(FIXTURE_INF_PATH));
    EXPECT_EQ(GetModelCount(), 0);
    EXPECT_EQ(ModelAt(0), "untouched");
}

TEST(SetupInfo, InstallSectionOfEachModel)
{
    const std::string longest(1023, 'L');
    ASSERT_TRUE(USE_FIXTURE_SETUP_INFO());
    ASSERT_TRUE(WRITE_FIXTURE_INF("[TarvokSystems]\r\n\"TARVOK QLP-RM550\" = Full, USBPRINT\\TarvokQLP-RM550EA55\r\n"
                                  "\"One Field\" = Small\r\n\"Leading Commas\" = ,,Small,,ID2\r\nABCD = Full,ID3\r\n"
                                  "\"" + longest + "\" = Full,ID4\r\n"
                                  "[Full]\r\nCopyFiles=@A.GPD,@B.DLL,@C.INI\r\nDataSection=DATA\r\n"
                                  "[Small]\r\nCopyFiles=@D.GPD\r\n[DATA]\r\nDefaultDataType=NT EMF 1.008\r\n"));
    installState.environment = GetSpoolerEnvironment();

    struct { const char *model, *files; int count; const char *dataType, *hardwareId; } cases[] = {
        { "TARVOK QLP-RM550", "A.GPD|B.DLL|C.INI", 3, "NT EMF 1.008", " USBPRINT\\TarvokQLP-RM550EA55" },
        { "One Field", "D.GPD", 1, "RAW", "" },
        { "Leading Commas", "D.GPD", 1, "RAW", "ID2" },
        { "BC", "", 0, "RAW", "" },
        { "TARVOK QLP-RM550", "A.GPD|B.DLL|C.INI", 3, "NT EMF 1.008", " USBPRINT\\TarvokQLP-RM550EA55" },
        /* Its quoted key does not fit in 1024 bytes: nothing is read. */
        { longest.c_str(), "", 0, "RAW", "" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("model ") + c.model);
        ASSERT_EQ(NextOnModelPage(c.model), 1);
        EXPECT_STREQ(installState.modelName, c.model);
        EXPECT_EQ(Files(), c.files);
        EXPECT_EQ(installState.fileCount, c.count);
        EXPECT_STREQ(installState.dataType, c.dataType);
        EXPECT_STREQ(installState.hardwareId, c.hardwareId);
    }

    EXPECT_EQ(NextOnModelPage(NULL), 0) << "no selected row";
    EXPECT_EQ(installState.modelName, longest);
    /* A row longer than modelName is refused or cut, never overflowed. */
    NextOnModelPage(std::string(1500, 'O').c_str());
    EXPECT_LT(strnlen(installState.modelName, TEXT_SIZE), (size_t)TEXT_SIZE);

    ASSERT_TRUE(DeleteFileA(FIXTURE_INF_PATH));
    EXPECT_EQ(NextOnModelPage("TARVOK QLP-RM550"), 1);
    EXPECT_EQ(Files(), "");
    EXPECT_EQ(installState.fileCount, 0);
    EXPECT_STREQ(installState.dataType, "RAW");
    EXPECT_STREQ(installState.hardwareId, "");
}

TEST(SetupInfo, CopyFilesLists)
{
    /* What follows the value's NUL must never be read as part of it. */
    static const char emptyLast[] = "@A.GPD,@\0@JUNK1,@JUNK2";
    const std::string longest = "@" + std::string(1022, 'N');
    struct { const char *copyFiles, *files; int count; } cases[] = {
        { "@A.GPD,@B.DLL,@C.INI", "A.GPD|B.DLL|C.INI", 3 }, { "@A.GPD, @B.DLL", "A.GPD|B.DLL", 2 },
        { "@A.GPD ,@B.DLL", "A.GPD |B.DLL", 2 }, { "A.GPD,B.DLL", "", 0 },
        { ",,@A.GPD,,@B.DLL", "A.GPD|B.DLL", 2 }, { "@A@B.DLL", "A@B.DLL", 1 },
        /* Empty names are dropped: one would end the list early. */
        { emptyLast, "A.GPD", 1 }, { "@,@X", "X", 1 },
        /* A shorter list after a longer one keeps none of its names. */
        { "@LONGER1.GPD,@LONGER2.DLL", "LONGER1.GPD|LONGER2.DLL", 2 }, { "@A", "A", 1 }, { "", "", 0 },
        { longest.c_str(), longest.c_str() + 1, 1 },
        /* Names are copied into the spooler's directory: a path is no name. */
        { "@..\\..\\evil.dll,@C:\\x.dll,@sub\\a.gpd,@A.GPD", "A.GPD", 1 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("CopyFiles=") + c.copyFiles);
        BuildDependentFiles(c.copyFiles);
        EXPECT_EQ(Files(), c.files);
        EXPECT_EQ(installState.fileCount, c.count);
    }
}

static BOOL WINAPI OtherDriverDirectory(LPSTR, LPSTR, DWORD, LPBYTE directory, DWORD size, LPDWORD needed)
{
    static const char other[] = "C:\\WINNT\\DRIVERS";

    *needed = sizeof other;
    lstrcpynA((char *)directory, other, size);
    return TRUE;
}

TEST(SetupInfo, DataTypePrintProcessorAndDirectories)
{
    const std::string head = "[TarvokSystems]\r\n\"M\"=Inst\r\n[Inst]\r\nCopyFiles=@A.GPD\r\n", longType(1500, 'T');
    const std::string abc = "[QLP]\r\nPrintProcessor=%ABC%\r\n[Strings]\r\n";
    char processorDirectory[TEXT_SIZE];
    DWORD needed;
    ASSERT_TRUE(USE_FIXTURE_SETUP_INFO());
    installState.environment = GetSpoolerEnvironment();
    /* Moved away, so that the reader has to make the driver directory. */
    ASSERT_TRUE(MoveFileA("C:\\windows\\system32\\spool\\drivers\\x64", "C:\\windows\\system32\\spool\\drivers\\x64.old"));

    struct { std::string body, dataType; const char *name, *file; } cases[] = {
        { "DataSection=DATA\r\n[DATA]\r\nDefaultDataType=" + longType + "\r\n" + abc + "ABC=Proc,proc.dll\r\n",
          longType.substr(0, 1023), "Proc", "proc.dll" },
        { "DataSection=DATA\r\n[DATA]\r\nOther=x\r\n" + abc + "ABC=\"Quoted Proc,quoted.dll\"\r\n",
          "RAW", "Quoted Proc", "quoted.dll" },
        /* Without "PrintProcessor" the print processor stays as it was. */
        { "DataSection=NOWHERE\r\n", "RAW", "Quoted Proc", "quoted.dll" },
        { abc + "ABC=OnlyName\r\n", "RAW", "OnlyName", "" },
        { abc + "Other=x,y\r\n", "RAW", "", "" },
        /* A library that is no bare file name counts as no print processor. */
        { abc + "ABC=Evil,..\\..\\evil.dll\r\n", "RAW", "", "" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.body.substr(0, 60));
        ASSERT_TRUE(WRITE_FIXTURE_INF(head + c.body));
        ASSERT_EQ(NextOnModelPage("M"), 1);
        EXPECT_EQ(installState.dataType, c.dataType);
        EXPECT_STREQ(installState.printProcessorName, c.name);
        EXPECT_STREQ(installState.printProcessorFile, c.file);
    }

    ASSERT_TRUE(GetPrintProcessorDirectoryA(NULL, (LPSTR)"Windows x64", 1, (BYTE *)processorDirectory,
                                            sizeof processorDirectory, &needed));
    EXPECT_EQ(lstrcmpiA(installState.printProcessorDirectory, (processorDirectory + std::string("\\")).c_str()), 0)
        << installState.printProcessorDirectory << " vs " << processorDirectory;
    EXPECT_EQ(lstrcmpiA(installState.x64DriverDirectory, "C:\\Windows\\System32\\spool\\drivers\\x64\\"), 0);
    DWORD attributes = GetFileAttributesA("C:\\Windows\\System32\\spool\\drivers\\x64");
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));

    /* Windows elsewhere: the driver directory is the one the spooler names. */
    CreateDirectoryA("C:\\WINNT", NULL);
    ReplaceImport("winspool.drv", "GetPrinterDriverDirectoryA", (void *)OtherDriverDirectory);
    ASSERT_EQ(NextOnModelPage("M"), 1);
    EXPECT_STREQ(installState.x64DriverDirectory, "C:\\WINNT\\DRIVERS\\");
    EXPECT_NE(GetFileAttributesA("C:\\WINNT\\DRIVERS"), INVALID_FILE_ATTRIBUTES);
}

static BOOL WINAPI NoPrintProcessorDirectory(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD)
{
    SetLastError(ERROR_INVALID_ENVIRONMENT);
    return FALSE;
}

/* Without the spooler's print processor directory the library is copied
   nowhere, not to the root of the current drive. */
TEST(SetupInfo, NoPrintProcessorDirectoryMeansNoCopyThere)
{
    ASSERT_TRUE(USE_FIXTURE_SETUP_INFO());
    ASSERT_TRUE(WRITE_FIXTURE_INF("[TarvokSystems]\r\n\"M\"=Inst\r\n[Inst]\r\nCopyFiles=\r\n"
                                  "[QLP]\r\nPrintProcessor=%P%\r\n[Strings]\r\nP=QLPPrintProc,qlpproc.dll\r\n"));
    /* Where the library lay for the copy before it was taken from beside
       the program: a copy to the drive's root would succeed from either. */
    CreateDirectoryA("C:\\TARVOK", NULL);
    for (const char *at : { "C:\\fixture\\qlpproc.dll", "C:\\TARVOK\\qlpproc.dll" })
        ASSERT_TRUE(CopyFileA(PackageFile("qlpproc.dll").c_str(), at, FALSE)) << at;
    installState.environment = GetSpoolerEnvironment();
    void *real = ReplaceImport("winspool.drv", "GetPrintProcessorDirectoryA", (void *)NoPrintProcessorDirectory);
    ASSERT_TRUE(real != NULL);
    ASSERT_EQ(NextOnModelPage("M"), 1);
    ReplaceImport("winspool.drv", "GetPrintProcessorDirectoryA", real);
    EXPECT_STREQ(installState.printProcessorDirectory, "");
    EXPECT_STREQ(installState.printProcessorFile, "qlpproc.dll");

    HWND owner = MakeOwnerWindow();
    SetCurrentDirectoryA("C:\\fixture");
    EXPECT_EQ(RunCopyDialog(owner), IDOK);
    DestroyWindow(owner);
    EXPECT_EQ(GetFileAttributesA("C:\\qlpproc.dll"), INVALID_FILE_ATTRIBUTES);
}

static std::string givenRights;
static BOOL(WINAPI *realCreateDirectoryW)(LPCWSTR, LPSECURITY_ATTRIBUTES);

/* Wine keeps no access control lists: the spy reads the list given. */
static BOOL WINAPI SpyCreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES attributes)
{
    char *text = NULL;

    if (attributes && ConvertSecurityDescriptorToStringSecurityDescriptorA(
                          attributes->lpSecurityDescriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, NULL))
        givenRights = text;
    LocalFree(text);
    return realCreateDirectoryW(path, attributes);
}

/* The files the installation uses, as the setup information taken first
   names them, are taken into a folder of their own, the driver's library
   with its last-write time, which is the driver's date. What the program's
   folder holds later is never read, and the folder goes with the package. */
TEST(SetupInfo, ThePackageIsTakenOnce)
{
    static const struct
    {
        const char *name;
        bool taken;
    } files[] = {
        { "QLRM550.INF", true }, { "A.GPD", true }, { "B.DLL", true }, { "proc.dll", true }, { "UNIDRV.DLL", true },
        { "QLRM550.DLL", true }, { "COM\xa9\xf6", false }, { "NOT.DLL", false }, { "x.dll", false },
    };
    FILETIME written = { 0x12345678, 0x01d00000 };
    WIN32_FILE_ATTRIBUTE_DATA library;
    char path[TEXT_SIZE];

    ASSERT_TRUE(USE_FIXTURE_SETUP_INFO());
    ASSERT_TRUE(WRITE_FIXTURE_INF("[TarvokSystems]\r\n\"M\"=Inst\r\n\"N\"=Other\r\n[Inst]\r\nCopyFiles=@A.GPD,@..\\x.dll\r\n"
                                  "[Other]\r\nCopyFiles=@B.DLL,@COM\xa9\xf6\r\n"
                                  "[QLP]\r\nPrintProcessor=%P%\r\n[Strings]\r\nP=Proc,proc.dll\r\n"));
    for (const char *name : { "A.GPD", "B.DLL", "proc.dll", "UNIDRV.DLL", "QLRM550.DLL", "COM\xa9\xf6", "NOT.DLL", "..\\x.dll" }) {
        HANDLE file = CreateFileA((std::string("C:\\fixture\\") + name).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        SetFileTime(file, NULL, NULL, &written);
        CloseHandle(file);
    }
    realCreateDirectoryW = (BOOL(WINAPI *)(LPCWSTR, LPSECURITY_ATTRIBUTES))
        ReplaceImport("kernel32.dll", "CreateDirectoryW", (void *)SpyCreateDirectoryW);

    ASSERT_EQ(TakePackage(), 1);
    EXPECT_EQ(givenRights, "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)");
    ASSERT_TRUE(WRITE_FIXTURE_INF(""));
    EXPECT_EQ(GetModelCount(), 2) << "the setup information read is the one taken";
    for (const auto &f : files) {
        GetPackageFilePath(f.name, path);
        EXPECT_EQ(GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES, f.taken) << f.name;
    }
    GetPackageFilePath("QLRM550.DLL", path);
    ASSERT_TRUE(GetFileAttributesExA(path, GetFileExInfoStandard, &library));
    EXPECT_EQ(CompareFileTime(&library.ftLastWriteTime, &written), 0) << "the driver's date";

    std::string folder = GetSetupInfoPath();
    ReleasePackage();
    EXPECT_EQ(GetFileAttributesA(folder.substr(0, folder.rfind('\\')).c_str()), INVALID_FILE_ATTRIBUTES) << folder;
    EXPECT_STREQ(GetSetupInfoPath(), "") << "the package is absent once released";
    ReleasePackage();
}
