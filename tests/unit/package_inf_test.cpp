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
    HWND page = CreateModelPage();
    SelectModel(page, name);
    ASSERT_EQ(ReadInstallSection(page), 1);
    DestroyWindow(page);
    EXPECT_EQ(JoinList(installState.dependentFiles, TEXT_SIZE), "QLRM550.GPD|QLRM550.DLL");
    EXPECT_EQ(installState.fileCount, 2);
    EXPECT_STREQ(installState.dataType, "RAW");
    EXPECT_STREQ(installState.printProcessorName, "QLPPrintProc");
    EXPECT_STREQ(installState.printProcessorFile, "qlpproc.dll");
    EXPECT_STREQ(GetHardwareId(name), "USBPRINT\\TarvokQLP-RM550EA55");

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
