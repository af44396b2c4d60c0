/* What every end-to-end scenario shares: the staged package and the program. */
#ifndef SCENARIO_H
#define SCENARIO_H

#include <gtest/gtest.h>
#include "resource.h"
#include "robot.h"

#define INSTALL_DIR "C:\\TARVOK"
#define SETUP_EXE   INSTALL_DIR "\\drvsetup.exe"
#define REMOVE_EXE  INSTALL_DIR "\\drvremove.exe"

/* "프린터 드라이버 설치" */
#define SETUP_TITLE "\xc7\xc1\xb8\xb0\xc5\xcd \xb5\xe5\xb6\xf3\xc0\xcc\xb9\xf6 \xbc\xb3\xc4\xa1"
#define WIZARD_CAPTION "Tarvok Printer Driver Install Wizard"
#define PORT_KIND_CAPTION "Tarvok Printer Driver Install Wizard set port"
#define MODEL "TARVOK QLP-RM550"

#define SPOOLER_ERROR_DRIVER  "Add a printer error"
#define SPOOLER_ERROR_PRINTER "Add a printer error "

/*
 * A walk through the wizard that takes whatever page or message is open:
 * Next on every page, OK on warnings, spooler errors and the exit page, and
 * Cancel on a page that warned, confirmed with Yes; any other question is
 * answered No. It records what it met on the way.
 */
struct WizardWalk
{
    bool holdAtPortPage = false;    /* waits on the Port page while set */

    bool sawModelPage = false;
    std::vector<std::string> models; /* the Model page's rows as first shown */
    std::string warning;            /* the "Warinig" message's texts */
    std::string errorCaption;       /* the spooler error box's caption */
    std::string errorText;
    bool sawCopy = false;
    int exitPage = -1;              /* 1 success, 0 failure, -1 not reached */
    bool defaultBoxChecked = false;
    int questions = 0;
    int actions = 0;
    bool cancelling = false;
    bool ended = false;
    int exitCode = -1;
};

/* One action on what is open; false once the program has ended. */
bool WizardStep_(int line, Program *program, WizardWalk *walk);
#define WizardStep(p, w) WizardStep_(__LINE__, p, w)
/* Steps until the program ends, within a time-out and a limit of actions. */
void WalkWizard_(int line, Program *program, WizardWalk *walk);
#define WalkWizard(p, w) WalkWizard_(__LINE__, p, w)

/* The removal program's walk: every restart question is answered No. */
struct RemovalWalk
{
    int questions = 0;
    std::string questionText;
    bool ended = false;
    int exitCode = -1;
};

bool RemovalStep_(int line, Program *program, RemovalWalk *walk);
#define RemovalStep(p, w) RemovalStep_(__LINE__, p, w)
void WalkRemoval_(int line, Program *program, RemovalWalk *walk);
#define WalkRemoval(p, w) WalkRemoval_(__LINE__, p, w)

/* Runs the rows of a table that belong to the group; a group without rows
   fails. */
template <typename Rows, typename RunRow>
void RunRowsOfGroup(const Rows &rows, const char *group, RunRow run)
{
    int count = 0;

    for (const auto &row : rows) {
        if (strcmp(row.group, group)) continue;
        run(row);
        count++;
    }
    EXPECT_GT(count, 0) << group;
}

class Scenario : public ::testing::Test
{
protected:
    Program setup;

    void SetUp() override
    {
        setup.running = false;
        StagePackage(INSTALL_DIR);
    }
    void TearDown() override { EndProgram(&setup); }

    void StartSetup(const char *currentDir = INSTALL_DIR)
    {
        StartProgram(&setup, SETUP_EXE, currentDir);
    }

    /* Starts the wizard with the relay journal of the calls named. */
    void StartTracedSetup(const char *relayInclude);
    /* The journal's Call and Ret lines, once the program has ended. */
    std::string Journal(void);
    bool JournalHas(const char *text) { return Journal().find(text) != std::string::npos; }

    /* Walks from the start to the page that holds the control; traced with
       the relay journal of the calls named, if any. */
    HWND WalkTo(int controlId, const char *relayInclude = NULL);

    /* Cancels the open page, confirms, and checks the failure exit page. */
    void CancelAndExpectFailure(HWND page);
    void ExpectExitPage(bool succeeded, const char *shot);
};

#endif
