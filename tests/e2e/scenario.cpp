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

#define WALK_MS 60000
#define WALK_ACTIONS 40

/* Ends the walk of a program that has ended; true when it has. */
static bool Ended(int line, Program *program, int *exitCode, bool *ended)
{
    if (*ended) return true;
    if (program->running && WaitForSingleObject(program->pi.hProcess, 0) != WAIT_OBJECT_0) return false;
    *exitCode = WaitForExit_(line, program, WAIT_MS);
    *ended = true;
    return true;
}

/* A message box of the program other than the window given. */
static bool OtherMessageOpen(DWORD pid, HWND window)
{
    HWND box = FindPage(pid, 0, "Warinig");
    if (!box) box = FindPage(pid, 0, "Question");
    return box && box != window;
}

/* Presses a button and waits until its window closes or a message opens over it. */
static void Press(int line, DWORD pid, HWND window, int id)
{
    DWORD start = GetTickCount();

    Click(window, id);
    while (IsWindow(window) && IsWindowVisible(window) && !OtherMessageOpen(pid, window)) {
        if (GetTickCount() - start > WAIT_MS) {
            ADD_FAILURE_AT(__FILE__, line) << "\"" << WindowText(window) << "\" did not answer button " << id;
            return;
        }
        Sleep(20);
    }
}

bool WizardStep_(int line, Program *program, WizardWalk *walk)
{
    DWORD pid = program->pi.dwProcessId;
    HWND window;

    if (Ended(line, program, &walk->exitCode, &walk->ended)) return false;
    if ((window = FindPage(pid, 0, "Warinig"))) {
        walk->warning += AllTexts(window);
        Press(line, pid, window, IDOK);
    } else if ((window = FindPage(pid, 0, "Question"))) {
        walk->questions++;
        Press(line, pid, window, walk->cancelling ? IDYES : IDNO);
    } else if ((window = FindPage(pid, 0, SPOOLER_ERROR_DRIVER)) ||
               (window = FindPage(pid, 0, SPOOLER_ERROR_PRINTER))) {
        walk->errorCaption = WindowText(window);
        walk->errorText = AllTexts(window);
        Press(line, pid, window, IDOK);
    } else if ((window = FindPage(pid, IDC_DEFAULT_PRINTER, SETUP_TITLE))) {
        Sleep(100);
        walk->exitPage = ControlText(window, IDC_RESULT_TEXT) == "The Installation has done successfully.";
        walk->defaultBoxChecked = IsShown(window, IDC_DEFAULT_PRINTER) && IsChecked(window, IDC_DEFAULT_PRINTER);
        Press(line, pid, window, IDOK);
    } else if (FindPage(pid, IDC_COPY_BAR, NULL)) {
        walk->sawCopy = true;
        Sleep(20);
        return true;
    } else if ((window = FindPage(pid, IDC_MODEL_LIST, NULL))) {
        Sleep(100);
        if (!walk->sawModelPage) walk->models = ListRows(window, IDC_MODEL_LIST);
        walk->sawModelPage = true;
        /* A page that warned once would warn again: leave it. */
        walk->cancelling = !walk->warning.empty();
        Press(line, pid, window, walk->cancelling ? IDCANCEL : IDC_NEXT);
    } else if ((window = FindPage(pid, IDC_PORT_LIST, NULL)) && walk->holdAtPortPage) {
        Sleep(20);
        return true;
    } else if ((window = FindPage(pid, IDC_WELCOME_TEXT, NULL)) || (window = FindPage(pid, IDC_KIND_USB, NULL)) ||
               (window = FindPage(pid, IDC_PORT_LIST, NULL))) {
        Sleep(100);
        Press(line, pid, window, IDC_NEXT);
    } else {
        Sleep(20);
        return true;
    }
    walk->actions++;
    return true;
}

void WalkWizard_(int line, Program *program, WizardWalk *walk)
{
    DWORD start = GetTickCount();

    while (WizardStep_(line, program, walk)) {
        if (GetTickCount() - start > WALK_MS || walk->actions > WALK_ACTIONS) {
            ADD_FAILURE_AT(__FILE__, line) << "the wizard did not end: " << walk->actions << " actions in "
                                           << GetTickCount() - start << " ms";
            EndProgram(program);
            walk->ended = true;
            return;
        }
    }
}

bool RemovalStep_(int line, Program *program, RemovalWalk *walk)
{
    DWORD pid = program->pi.dwProcessId;
    HWND question;

    if (Ended(line, program, &walk->exitCode, &walk->ended)) return false;
    if ((question = FindPage(pid, 0, "Question"))) {
        walk->questions++;
        walk->questionText = AllTexts(question);
        Press(line, pid, question, IDNO);
    } else {
        Sleep(20);
    }
    return true;
}

void WalkRemoval_(int line, Program *program, RemovalWalk *walk)
{
    DWORD start = GetTickCount();

    while (RemovalStep_(line, program, walk)) {
        if (GetTickCount() - start > WAIT_MS) {
            ADD_FAILURE_AT(__FILE__, line) << "the removal did not end within " << WAIT_MS << " ms";
            EndProgram(program);
            walk->ended = true;
            return;
        }
    }
}
