/*
 * Walking the wizard: Next and Back through every page, Cancel on each page,
 * and a screenshot of everything a person sees on the way.
 */
#include <windows.h>
#include "scenario.h"

struct PageStop
{
    int controlId;
    const char *caption;
    const char *shot;
};

static const PageStop forwardRoute[] = {
    { IDC_WELCOME_TEXT, WIZARD_CAPTION,    "1-welcome" },
    { IDC_MODEL_LIST,   WIZARD_CAPTION,    "2-model" },
    { IDC_KIND_USB,     PORT_KIND_CAPTION, "3-port-kind" },
    { IDC_PORT_LIST,    WIZARD_CAPTION,    "4-port" },
};

TEST(Walkthrough, EveryPage)
{
    Program setup = { {}, false };

    StagePackage(INSTALL_DIR);
    StartProgram(&setup, SETUP_EXE, INSTALL_DIR);
    HWND reading = WaitForPage(&setup, IDC_STATUS_TEXT, NULL);
    ASSERT_TRUE(reading != NULL);
    EXPECT_EQ(ControlText(reading, IDC_STATUS_TEXT), "Reading setup information...");
    Screenshot(reading, "0-reading");

    for (const PageStop &stop : forwardRoute) {
        HWND page = WaitForPage(&setup, stop.controlId, stop.caption);
        ASSERT_TRUE(page != NULL) << stop.shot;
        Screenshot(page, stop.shot);
        if (stop.controlId == IDC_WELCOME_TEXT) {
            Click(page, IDCANCEL);
            HWND question = WaitForCaption(&setup, "Question");
            Screenshot(question, "1-cancel-question");
            AnswerMessage(&setup, "Question", NULL, IDNO);
        }
        if (stop.controlId == IDC_PORT_LIST) {
            SendMessageA(GetDlgItem(page, IDC_PORT_LIST), LB_SETCURSEL, (WPARAM)-1, 0);
            Click(page, IDC_NEXT);
            HWND warning = WaitForCaption(&setup, "Warinig");
            Screenshot(warning, "4-port-warning");
            AnswerMessage(&setup, "Warinig", NULL, IDOK);
            SelectRow(page, IDC_PORT_LIST, 0);
        }
        Click(page, IDC_NEXT);
        WaitForGone(page);
    }
    HWND copy = WaitForPage(&setup, IDC_COPY_BAR, "Copying Files...");
    ASSERT_TRUE(copy != NULL);
    Screenshot(copy, "5-copy");
    HWND status = WaitForPage(&setup, IDC_STATUS_TEXT, NULL);
    ASSERT_TRUE(status != NULL);
    EXPECT_EQ(ControlText(status, IDC_STATUS_TEXT), "Writing system information...");
    Screenshot(status, "6-writing");
    HWND exitPage = WaitForPage_(__LINE__, &setup, IDC_DEFAULT_PRINTER, SETUP_TITLE, 30000);
    ASSERT_TRUE(exitPage != NULL);
    Screenshot(exitPage, "7-exit-succeeded");
    Click(exitPage, IDOK);
    EXPECT_EQ(WaitForExit(&setup), 0);
    EndProgram(&setup);
}

TEST_F(Scenario, NextAndBackFollowThePageOrder)
{
    HWND page = WalkTo(IDC_PORT_LIST);
    ASSERT_TRUE(page != NULL);

    /* Back walks the same order backwards as far as the Welcome page. */
    static const int backRoute[] = { IDC_KIND_USB, IDC_MODEL_LIST, IDC_WELCOME_TEXT };
    for (int controlId : backRoute) {
        Click(page, IDC_BACK);
        WaitForGone(page);
        page = WaitForPage(&setup, controlId, NULL);
        ASSERT_TRUE(page != NULL) << controlId;
    }
    EXPECT_FALSE(GetDlgItem(page, IDC_BACK)) << "the Welcome page has no Back";
    CancelAndExpectFailure(page);
}

TEST_F(Scenario, BackFromThePortPageAlwaysChecksUsb)
{
    HWND page = WalkTo(IDC_KIND_USB);
    ASSERT_TRUE(page != NULL);
    EXPECT_TRUE(IsChecked(page, IDC_KIND_USB)) << "USB is the first choice";
    EXPECT_FALSE(IsChecked(page, IDC_KIND_SERIAL));

    Click(page, IDC_KIND_SERIAL);
    EXPECT_TRUE(WaitForCheck(page, IDC_KIND_SERIAL, true));
    Click(page, IDC_NEXT);
    WaitForGone(page);
    page = WaitForPage(&setup, IDC_PORT_LIST, NULL);
    ASSERT_TRUE(page != NULL);
    std::vector<std::string> rows = ListRows(page, IDC_PORT_LIST);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "COM1:") << "the serial kind lists COM ports";

    Click(page, IDC_BACK);
    WaitForGone(page);
    page = WaitForPage(&setup, IDC_KIND_USB, NULL);
    ASSERT_TRUE(page != NULL);
    EXPECT_TRUE(IsChecked(page, IDC_KIND_USB));
    EXPECT_FALSE(IsChecked(page, IDC_KIND_SERIAL));
    CancelAndExpectFailure(page);
}

TEST_F(Scenario, CancelAnsweredNoKeepsEveryPageAsItWas)
{
    static const int route[] = { IDC_WELCOME_TEXT, IDC_MODEL_LIST, IDC_KIND_USB, IDC_PORT_LIST };
    HWND page = NULL;

    StartSetup();
    for (int controlId : route) {
        page = WaitForPage(&setup, controlId, NULL);
        ASSERT_TRUE(page != NULL) << controlId;
        if (controlId == IDC_KIND_USB) {
            Click(page, IDC_KIND_SERIAL);
            EXPECT_TRUE(WaitForCheck(page, IDC_KIND_SERIAL, true));
        }
        int selection = controlId == IDC_PORT_LIST ? ListSelection(page, IDC_PORT_LIST) : 0;

        Click(page, IDCANCEL);
        AnswerMessage(&setup, "Question", "Are you sure you want to cancel QLP driver installation?", IDNO);
        EXPECT_TRUE(IsWindowVisible(page)) << controlId;
        if (controlId == IDC_KIND_USB) {
            EXPECT_TRUE(IsChecked(page, IDC_KIND_SERIAL));
        }
        if (controlId == IDC_PORT_LIST) {
            EXPECT_EQ(ListSelection(page, IDC_PORT_LIST), selection);
        }
        if (controlId != IDC_PORT_LIST) {
            Click(page, IDC_NEXT);
            WaitForGone(page);
        }
    }
    CancelAndExpectFailure(page);
}

TEST_F(Scenario, EscapeOnAPageAsksBeforeCancelling)
{
    HWND page = WalkTo(IDC_MODEL_LIST);
    ASSERT_TRUE(page != NULL);
    /* Escape and the close box send IDCANCEL like the Cancel button. */
    PostMessageA(page, WM_COMMAND, IDCANCEL, 0);
    HWND question = WaitForCaption(&setup, "Question");
    ASSERT_TRUE(question != NULL);
    /* The question closed by Escape counts as a wish to go on. */
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
    WaitForGone(question);
    EXPECT_TRUE(IsWindowVisible(page));
    CancelAndExpectFailure(page);
}
