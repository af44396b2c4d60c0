#include <windows.h>
#include "scenario.h"

HWND Scenario::WalkTo(int controlId, const char *relayInclude)
{
    static const int route[] = { IDC_WELCOME_TEXT, IDC_MODEL_LIST, IDC_KIND_USB, IDC_PORT_LIST };
    HWND page = NULL;

    if (relayInclude)
        StartTracedSetup(relayInclude);
    else
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

void Scenario::StartTracedSetup(const char *relayInclude)
{
    StartTracedProgram(&setup, SETUP_EXE, INSTALL_DIR, relayInclude);
}

/* Keeps the journal's lines with the test's results, for people to read. */
std::string Scenario::Journal(void)
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string all = ReadTextFile(WINE_JOURNAL), calls;
    size_t start = 0, end;

    while (start < all.size()) {
        end = all.find('\n', start);
        if (end == std::string::npos) end = all.size();
        std::string line = all.substr(start, end - start);
        size_t call = line.find(":Call ");
        if (call == std::string::npos) call = line.find(":Ret  ");
        /* Only calls of DLL functions; not the loader's or the window procedures'. */
        if (call != std::string::npos && line.compare(call + 6, 3, "PE ") && line.compare(call + 6, 4, "TLS ") &&
            line.compare(call + 6, 7, "window "))
            calls += line + "\n";
        start = end + 1;
    }
    WriteTextFile((ResultsDir() + "\\" + test->name() + "-relay.txt").c_str(), calls.c_str());
    return calls;
}
