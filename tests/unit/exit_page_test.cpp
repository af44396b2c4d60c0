/*
 * The exit page run in this process: its two faces, and the default printer
 * it sets only on success with the box left checked.
 */
#include <windows.h>
#include <gtest/gtest.h>
#include "dialog_kit.h"
#include "dialog_observer.h"
#include "engine_fixtures.h"
#include "install_state.h"
#include "pages.h"
#include "product.h"
#include "resource.h"

static std::string DefaultDevice(void)
{
    char device[512] = "";
    GetProfileStringA("windows", "device", "", device, sizeof device);
    return device;
}

class ExitPage : public ::testing::Test
{
protected:
    HWND owner;

    void SetUp() override
    {
        owner = MakeOwnerWindow();
        appInstance = GetModuleHandleA(NULL);
        AddTestPrinter("TARVOK QLP-RM550");
        lstrcpyA(installState.modelName, "TARVOK QLP-RM550");
    }
    void TearDown() override { DestroyWindow(owner); }
};

/* OK with the box checked or cleared is walked end to end by the install
   scenarios; here the face of success and Escape, which sets no default. */
TEST_F(ExitPage, SuccessShowsTheBoxCheckedAndEscapeSetsNoDefault)
{
    ObserverPlan plan = { "succeeded", { IDC_RESULT_TEXT, IDC_COPYRIGHT }, IDC_MESSAGE_ICON, IDC_DEFAULT_PRINTER,
                          false, IDCANCEL };
    Observation seen;
    HANDLE observer = StartObserver(&plan, &seen);
    EXPECT_EQ(RunExitPage(owner, 1), IDOK);
    FinishObserver(observer);

    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.caption, GetSetupTitle());
    EXPECT_EQ(seen.texts[0], "The Installation has done successfully.");
    EXPECT_EQ(seen.texts[1], GetCopyrightLine());
    EXPECT_EQ(seen.icon, LoadIconA(NULL, IDI_ASTERISK));
    EXPECT_TRUE(seen.boxShown);
    EXPECT_TRUE(seen.boxChecked);
    EXPECT_EQ(DefaultDevice(), "") << "Escape leaves the default alone";
}

TEST_F(ExitPage, FailureShowsNoBox)
{
    for (WORD status : { 2, 0, 7 }) {
        SCOPED_TRACE(status);
        ObserverPlan plan = { status == 2 ? "failed" : NULL, { IDC_RESULT_TEXT }, IDC_MESSAGE_ICON,
                              IDC_DEFAULT_PRINTER, false, IDOK };
        Observation seen;
        HANDLE observer = StartObserver(&plan, &seen);
        EXPECT_EQ(RunExitPage(owner, status), IDOK);
        FinishObserver(observer);
        EXPECT_EQ(seen.texts[0], "The Installation has failed.");
        EXPECT_EQ(seen.icon, LoadIconA(NULL, IDI_HAND));
        EXPECT_FALSE(seen.boxShown);
        EXPECT_EQ(DefaultDevice(), "");
    }
}
