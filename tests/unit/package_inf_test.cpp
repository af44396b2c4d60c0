/*
 * The setup information file the package ships, read through our own reader
 * and through the setup API, which parses it as Windows would.
 */
#include <windows.h>
#include <setupapi.h>
#include <gtest/gtest.h>
#include <string>
#include "engine_fixtures.h"
#include "install_state.h"
#include "product.h"
#include "setup_info.h"

static std::string Field(INFCONTEXT *line, DWORD index)
{
    char text[512] = "<none>";

    SetupGetStringFieldA(line, index, text, sizeof text, NULL);
    return text;
}

TEST(PackageInf, ShippedFileNamesTheModelForBothReaders)
{
    char name[TEXT_SIZE] = "";
    ASSERT_TRUE(USE_FIXTURE_SETUP_INFO());
    ASSERT_TRUE(CopyFileA(PackageFile("QLRM550.INF").c_str(), FIXTURE_INF_PATH, FALSE)) << PackageFile("");
    ASSERT_EQ(GetModelCount(), 1);
    GetModelNameAt(0, name);
    EXPECT_STREQ(name, "TARVOK QLP-RM550");
    installState.environment = GetSpoolerEnvironment();
    ASSERT_EQ(NextOnModelPage(name), 1);
    /* The section name of the print processor's copy has no "@": skipped. */
    EXPECT_EQ(JoinList(installState.dependentFiles, TEXT_SIZE), "QLRM550.GPD|QLRM550.DLL|STDNAMES.GPD|UNIRES.DLL");
    EXPECT_EQ(installState.fileCount, 4);
    EXPECT_STREQ(installState.dataType, "RAW");
    EXPECT_STREQ(installState.printProcessorName, "QLPPrintProc");
    EXPECT_STREQ(installState.printProcessorFile, "qlpproc.dll");
    EXPECT_STREQ(installState.hardwareId, "USBPRINT\\TarvokQLP-RM550EA55");

    /* Windows reads the decorated section that [Manufacturer] names, our
       reader the undecorated one: both carry the same single model line. */
    UINT errorLine = 0;
    INFCONTEXT line;
    HINF inf = SetupOpenInfFileA(FIXTURE_INF_PATH, "Printer", INF_STYLE_WIN4, &errorLine);
    ASSERT_NE(inf, INVALID_HANDLE_VALUE) << "error " << GetLastError() << " at line " << errorLine;
    ASSERT_TRUE(SetupFindFirstLineA(inf, "Manufacturer", NULL, &line));
    EXPECT_EQ(Field(&line, 1) + "." + Field(&line, 2), "TarvokSystems.NTamd64");
    for (const char *section : { "TarvokSystems", "TarvokSystems.NTamd64" }) {
        SCOPED_TRACE(section);
        ASSERT_TRUE(SetupFindFirstLineA(inf, section, NULL, &line));
        EXPECT_EQ(Field(&line, 0), "TARVOK QLP-RM550");
        EXPECT_EQ(Field(&line, 1), "QLRM550");
        EXPECT_EQ(Field(&line, 2), "USBPRINT\\TarvokQLP-RM550EA55");
        EXPECT_FALSE(SetupFindNextLine(&line, &line));
    }
    SetupCloseInfFile(inf);
}

static std::string Directory(BOOL (WINAPI *ask)(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD))
{
    char path[MAX_PATH] = "";
    DWORD needed;

    ask(NULL, (LPSTR) "Windows x64", 1, (LPBYTE)path, sizeof path, &needed);
    return path;
}

/*
 * What pnputil and the printing cmdlets read: the same print processor as
 * the wizard's [QLP] entry, PnpLockdown, and the install section's file
 * copy, made here by the setup API from the built package: the model's
 * files into the driver directory, the print processor's library into the
 * print processor directory. Wine's setup API skips Include=NTPRINT.INF,
 * which Wine lacks; the Unidrv files it would bring are not ours.
 */
TEST(PackageInf, PlatformInstallersFindTheDriverFilesAndThePrintProcessor)
{
    ASSERT_TRUE(USE_FIXTURE_SETUP_INFO());
    ASSERT_TRUE(CopyFileA(PackageFile("QLRM550.INF").c_str(), FIXTURE_INF_PATH, FALSE));
    installState.environment = GetSpoolerEnvironment();
    ASSERT_EQ(NextOnModelPage("TARVOK QLP-RM550"), 1);

    UINT errorLine = 0;
    INFCONTEXT line;
    char text[256] = "";
    HINF inf = SetupOpenInfFileA(PackageFile("QLRM550.INF").c_str(), "Printer", INF_STYLE_WIN4, &errorLine);
    ASSERT_NE(inf, INVALID_HANDLE_VALUE) << "error " << GetLastError() << " at line " << errorLine;
    ASSERT_TRUE(SetupFindFirstLineA(inf, "QLRM550", "PrintProcessor", &line));
    EXPECT_EQ(SetupGetFieldCount(&line), 1u) << "name and library in one field";
    EXPECT_EQ(Field(&line, 1), std::string(installState.printProcessorName) + "," + installState.printProcessorFile);
    EXPECT_TRUE(SetupGetLineTextA(NULL, inf, "Version", "PnpLockdown", text, sizeof text, NULL));
    EXPECT_STREQ(text, "1");

    std::string source = PackageFile("");
    void *context = SetupInitDefaultQueueCallbackEx(NULL, (HWND)INVALID_HANDLE_VALUE, 0, 0, NULL);
    EXPECT_TRUE(SetupInstallFromInfSectionA(NULL, inf, "QLRM550", SPINST_FILES, NULL, source.c_str(),
                                            SP_COPY_NOSKIP, SetupDefaultQueueCallbackA, context, NULL, NULL))
        << "error " << GetLastError();
    SetupTermDefaultQueueCallback(context);
    SetupCloseInfFile(inf);

    std::string drivers = Directory(GetPrinterDriverDirectoryA), processors = Directory(GetPrintProcessorDirectoryA);
    static const struct
    {
        const char *file;
        bool inDriverDirectory, inProcessorDirectory;
    } files[] = {
        { "QLRM550.GPD",  true,  false },
        { "QLRM550.DLL",  true,  false },
        { "STDNAMES.GPD", true,  false },
        { "UNIRES.DLL",   true,  false },
        { "qlpproc.dll",  false, true },
    };
    for (const auto &f : files) {
        SCOPED_TRACE(f.file);
        EXPECT_EQ(GetFileAttributesA((drivers + "\\" + f.file).c_str()) != INVALID_FILE_ATTRIBUTES,
                  f.inDriverDirectory);
        EXPECT_EQ(GetFileAttributesA((processors + "\\" + f.file).c_str()) != INVALID_FILE_ATTRIBUTES,
                  f.inProcessorDirectory);
    }
}

/*
 * The OEM copy drvremove looks for, and its removal, as drvremove makes
 * them. A CatalogFile entry would make the copy fail while the package
 * holds no catalog: the setup API installs the catalog first.
 */
TEST(PackageInf, OemCopyAndItsRemoval)
{
    char installed[256] = "", again[256] = "";
    std::string source = PackageFile("QLRM550.INF");

    ASSERT_TRUE(SetupCopyOEMInfA(source.c_str(), NULL, SPOST_PATH, 0, installed, sizeof installed, NULL, NULL))
        << "error " << GetLastError();
    ASSERT_TRUE(SetupCopyOEMInfA(source.c_str(), NULL, SPOST_NONE, SP_COPY_REPLACEONLY, again, sizeof again, NULL,
                                 NULL));
    EXPECT_STREQ(again, installed);
    ASSERT_GT(strlen(installed), strlen("C:\\Windows\\INF\\"));
    EXPECT_TRUE(SetupUninstallOEMInfA(installed + strlen("C:\\Windows\\INF\\"), SUOI_FORCEDELETE, NULL));
    EXPECT_EQ(GetFileAttributesA(installed), INVALID_FILE_ATTRIBUTES) << installed;
}
