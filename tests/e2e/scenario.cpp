#include <windows.h>
#include "scenario.h"

HWND Scenario::WalkTo(int controlId)
{
    static const int route[] = { IDC_WELCOME_TEXT, IDC_MODEL_LIST, IDC_KIND_USB, IDC_PORT_LIST };
    HWND page = NULL;

    StartSetup();
    for (int step : route) {
        page = WaitForPage(&setup, step, NULL);
        if (!page || step == controlId) return page;
        Click(page, IDC_NEXT);
        WaitForGone(page);
    }
    return NULL;
}

void Scenario::ExpectExitPage(bool succeeded, const char *shot)
{
    HWND exitPage = WaitForPage(&setup, IDC_DEFAULT_PRINTER, SETUP_TITLE);

    ASSERT_TRUE(exitPage != NULL);
    Screenshot(exitPage, shot);
    EXPECT_EQ(ControlText(exitPage, IDC_RESULT_TEXT),
              succeeded ? "The Installation has done successfully." : "The Installation has failed.");
    EXPECT_EQ(IsShown(exitPage, IDC_DEFAULT_PRINTER), succeeded);
    EXPECT_TRUE(ControlIcon(exitPage, IDC_MESSAGE_ICON) != NULL);
    Click(exitPage, IDOK);
    EXPECT_EQ(WaitForExit(&setup), 0);
}

void Scenario::CancelAndExpectFailure(HWND page)
{
    Click(page, IDCANCEL);
    AnswerMessage(&setup, "Question", "Are you sure you want to cancel QLP driver installation?", IDYES);
    ExpectExitPage(false, "exit-failed");
}
