/*
 * Starting and ending the programs: the hidden controller window, a second
 * copy, and where the setup information file is looked for.
 */
#include <windows.h>
#include "scenario.h"

static const char ControllerClass[] = "Tarvok_Printer_Driver_Setup";

TEST_F(Scenario, ControllerWindowIsHiddenAndCoversTheDesktop)
{
    RECT desktop, controller, page;

    StartSetup();
    HWND welcome = WaitForPage(&setup, IDC_WELCOME_TEXT, WIZARD_CAPTION);
    ASSERT_TRUE(welcome != NULL);

    HWND hwnd = FindWindowA(ControllerClass, NULL);
    ASSERT_TRUE(hwnd != NULL);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(WindowText(hwnd), SETUP_TITLE);
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(hwnd, &controller);
    EXPECT_EQ(controller.left, desktop.left);
    EXPECT_EQ(controller.top, desktop.top);
    EXPECT_EQ(controller.right - controller.left, desktop.right - desktop.left);
    EXPECT_EQ(controller.bottom - controller.top, desktop.bottom - desktop.top);

    /* Pages centre on the controller, so they stand in the middle of the screen. */
    GetWindowRect(welcome, &page);
    EXPECT_NEAR((page.left + page.right) / 2, (desktop.left + desktop.right) / 2, 1);
    EXPECT_NEAR((page.top + page.bottom) / 2, (desktop.top + desktop.bottom) / 2, 1);
    EXPECT_EQ(GetWindow(welcome, GW_OWNER), hwnd);

    CancelAndExpectFailure(welcome);
}

TEST_F(Scenario, ClosingTheControllerFromOutsideEndsOnTheFailurePage)
{
    StartSetup();
    ASSERT_TRUE(WaitForPage(&setup, IDC_WELCOME_TEXT, WIZARD_CAPTION) != NULL);
    /* A WM_CLOSE that the program did not post carries status 0. */
    PostMessageA(FindWindowA(ControllerClass, NULL), WM_CLOSE, 0, 0);
    ExpectExitPage(false, "exit-after-outside-close");
}

TEST_F(Scenario, CommandsOutsideThePageTableChangeNothing)
{
    StartSetup();
    HWND welcome = WaitForPage(&setup, IDC_WELCOME_TEXT, NULL);
    ASSERT_TRUE(welcome != NULL);
    HWND controller = FindWindowA(ControllerClass, NULL);
    /* A page id with a notification code, and ids the table does not hold. */
    PostMessageA(controller, WM_COMMAND, MAKEWPARAM(1001, 1), 0);
    PostMessageA(controller, WM_COMMAND, 1005, 0);
    PostMessageA(controller, WM_COMMAND, 1010, 0);
    Sleep(1000);
    std::vector<HWND> dialogs = TopLevelDialogs(setup.pi.dwProcessId);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], welcome);
    CancelAndExpectFailure(welcome);
}

TEST_F(Scenario, SecondCopyRunsItsOwnWizard)
{
    Program second;

    StartSetup();
    ASSERT_TRUE(WaitForPage(&setup, IDC_WELCOME_TEXT, NULL) != NULL);
    StartProgram(&second, SETUP_EXE, INSTALL_DIR);
    HWND secondWelcome = WaitForPage(&second, IDC_WELCOME_TEXT, WIZARD_CAPTION);
    EXPECT_TRUE(secondWelcome != NULL);

    if (secondWelcome) {
        Click(secondWelcome, IDCANCEL);
        Program *saved = &second;
        AnswerMessage(saved, "Question", NULL, IDYES);
        HWND exitPage = WaitForPage(saved, IDC_DEFAULT_PRINTER, NULL);
        if (exitPage) Click(exitPage, IDOK);
        EXPECT_EQ(WaitForExit(&second), 0);
    }
    EndProgram(&second);
    CancelAndExpectFailure(FindPage(setup.pi.dwProcessId, IDC_WELCOME_TEXT, NULL));
}

/* Any program on the desktop may make a window of the programs' class names
   and titles, which FindWindow finds whatever its process: neither program
   may end on it without doing its work. */
TEST_F(Scenario, AForeignWindowOfTheClassNameStopsNeitherProgram)
{
    static const char *const classes[] = { ControllerClass, "Tarvok_Printer_Driver_Uninstaller" };
    Program remover;
    WNDCLASSA wc = {};

    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    for (const char *name : classes) {
        wc.lpszClassName = name;
        ASSERT_TRUE(RegisterClassA(&wc));
        ASSERT_TRUE(CreateWindowExA(0, name, name, WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL));
    }
    StartSetup();
    HWND welcome = WaitForPage(&setup, IDC_WELCOME_TEXT, WIZARD_CAPTION);
    ASSERT_TRUE(welcome != NULL);
    CancelAndExpectFailure(welcome);

    ASSERT_TRUE(StartProgram(&remover, REMOVE_EXE, INSTALL_DIR));
    EXPECT_TRUE(FindWindowA(classes[1], SETUP_TITLE) != NULL) << "drvremove has no window of its own";
    EXPECT_EQ(WaitForExit(&remover), 0);
}

TEST_F(Scenario, SetupInformationIsReadBesideTheProgram)
{
    /* The current directory holds the shipped file; the program's own
       directory holds another one, which must win. */
    CreateDirectoryA("C:\\elsewhere", NULL);
    ASSERT_TRUE(CopyFileA(SETUP_EXE, "C:\\elsewhere\\drvsetup.exe", FALSE));
    WriteTextFile("C:\\elsewhere\\QLRM550.INF",
                  "[TarvokSystems]\r\n\"OTHER MODEL\"=OTHER,HWID\r\n");
    StartProgram(&setup, "C:\\elsewhere\\drvsetup.exe", INSTALL_DIR);
    HWND welcome = WaitForPage(&setup, IDC_WELCOME_TEXT, NULL);
    ASSERT_TRUE(welcome != NULL);
    Click(welcome, IDC_NEXT);
    HWND model = WaitForPage(&setup, IDC_MODEL_LIST, NULL);
    ASSERT_TRUE(model != NULL);
    std::vector<std::string> rows = ListRows(model, IDC_MODEL_LIST);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], "OTHER MODEL");
    CancelAndExpectFailure(model);
}

TEST_F(Scenario, RemovalProgramWithNothingToRemoveEndsSilently)
{
    Program remover;

    ASSERT_TRUE(StartProgram(&remover, REMOVE_EXE, INSTALL_DIR));
    EXPECT_TRUE(FindWindowA("Tarvok_Printer_Driver_Uninstaller", NULL) != NULL);
    EXPECT_FALSE(IsWindowVisible(FindWindowA("Tarvok_Printer_Driver_Uninstaller", NULL)));
    EXPECT_EQ(WaitForExit(&remover), 0);
    EXPECT_TRUE(TopLevelDialogs(remover.pi.dwProcessId).empty());
}
