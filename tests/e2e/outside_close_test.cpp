/*
 * A WM_CLOSE that another program posts to the hidden controller, at every
 * stage of an installation. A page ends at once as a confirmed cancel would;
 * the start-up check, the copy and the registration phase finish first; the
 * exit page is the last step already, and no page follows it. Every run ends
 * with exit code 0, shows one exit page, and registers nothing after a
 * failure page.
 */
#include <windows.h>
#include <string>
#include "scenario.h"

static const char ControllerClass[] = "Tarvok_Printer_Driver_Setup";

enum Stage { STARTUP_CHECK, BETWEEN_PAGES, MODEL_PAGE, PORT_KIND_PAGE, PORT_PAGE, COPY, REGISTRATION, EXIT_PAGE };

class OutsideClose : public Scenario
{
protected:
    /* Polls without settling time: the status windows and the copy dialog
       stay only a second or so. */
    HWND Catch(int controlId, const char *caption)
    {
        DWORD start = GetTickCount();
        HWND hwnd;
        while (!(hwnd = FindPage(setup.pi.dwProcessId, controlId, caption)) && GetTickCount() - start < 30000)
            Sleep(10);
        return hwnd;
    }

    /* Starts the wizard and walks to the stage; false when it is not reached. */
    bool ReachStage(Stage stage)
    {
        static const int pages[] = { IDC_MODEL_LIST, IDC_KIND_USB, IDC_PORT_LIST };
        HWND page;

        if (stage == STARTUP_CHECK) {
            StartSetup();
            return Catch(IDC_STATUS_TEXT, NULL) != NULL;
        }
        /* Next and the close queued while the wizard stands still: the close
           comes between the Welcome page's end and the Model page's command. */
        if (stage == BETWEEN_PAGES) {
            if (!(page = WalkTo(IDC_WELCOME_TEXT))) return false;
            SuspendThread(setup.pi.hThread);
            Click(page, IDC_NEXT);
            return true;
        }
        if (stage <= PORT_PAGE) return WalkTo(pages[stage - MODEL_PAGE]) != NULL;
        if (!(page = WalkTo(IDC_PORT_LIST))) return false;
        Click(page, IDC_NEXT);
        if (stage == COPY) return Catch(IDC_COPY_BAR, "Copying Files...") != NULL;
        if (stage == REGISTRATION) return Catch(IDC_STATUS_TEXT, NULL) != NULL;
        return WaitForPage_(__LINE__, &setup, IDC_DEFAULT_PRINTER, SETUP_TITLE, 30000) != NULL;
    }

    void CloseAt(Stage stage, bool succeeds)
    {
        SCOPED_TRACE(stage);
        ASSERT_TRUE(ReachStage(stage));
        ASSERT_TRUE(PostMessageA(FindWindowA(ControllerClass, NULL), WM_CLOSE, 0, 0));
        if (stage == BETWEEN_PAGES) ResumeThread(setup.pi.hThread);
        HWND exitPage = WaitForPage_(__LINE__, &setup, IDC_DEFAULT_PRINTER, SETUP_TITLE, 30000);
        ASSERT_TRUE(exitPage != NULL);
        /* One exit page, and no page left open beneath it. */
        Sleep(500);
        EXPECT_EQ(TopLevelDialogs(setup.pi.dwProcessId).size(), 1u);
        EXPECT_EQ(ControlText(exitPage, IDC_RESULT_TEXT),
                  succeeds ? "The Installation has done successfully." : "The Installation has failed.");
        /* Nothing comes after the exit page: a registration phase still
           running would add the printer within seconds. */
        Sleep(stage == EXIT_PAGE ? 0 : 4500);
        EXPECT_EQ(PrinterLine(MODEL) != "<none>", succeeds);
        Click(exitPage, IDOK);
        EXPECT_EQ(WaitForExit(&setup), 0);
    }
};

TEST_F(OutsideClose, BeforeTheCopyNothingIsInstalled)
{
    static const Stage stages[] = { STARTUP_CHECK, BETWEEN_PAGES, MODEL_PAGE, PORT_KIND_PAGE, PORT_PAGE };
    for (Stage stage : stages) CloseAt(stage, false);
}

TEST_F(OutsideClose, TheCopyFinishesAndTheInstallationFails)
{
    CloseAt(COPY, false);
}

TEST_F(OutsideClose, TheRegistrationPhaseAndTheExitPageEndAsTheyWould)
{
    CloseAt(REGISTRATION, true);
    CloseAt(EXIT_PAGE, true);
}
