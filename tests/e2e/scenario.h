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
