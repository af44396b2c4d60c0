/*
 * The state of one installation and of the controller that runs it, kept
 * for the whole process, and the identifiers the controller posts and
 * receives.
 */
#ifndef INSTALL_STATE_H
#define INSTALL_STATE_H

#include <windows.h>
#include "textbuf.h"

struct InstallState
{
    char modelName[TEXT_SIZE];
    char hardwareId[TEXT_SIZE];
    char portName[TEXT_SIZE];
    int portKind;
    int usbPortIndex;
    const char *environment;
    char dataType[TEXT_SIZE];
    char printProcessorName[TEXT_SIZE];
    char printProcessorFile[TEXT_SIZE];
    char dependentFiles[TEXT_SIZE];
    int fileCount;
    int filesCopied;
    int copyCancelled;
    char printProcessorDirectory[TEXT_SIZE];
    char x64DriverDirectory[TEXT_SIZE];
};

extern InstallState installState;

/*
 * stepRunning is set while a page, the copy or a timed phase holds the
 * controller: a WM_CLOSE then comes from outside, and closeRequested keeps
 * it for the end of that step.
 */
extern int stepRunning;
extern int closeRequested;

/* Set for a run with /quiet, which shows nothing: no page, box or window. */
extern int quietRun;
/* Steps of this run that failed; a quiet run then ends with 1603. */
extern int failedSteps;

#define PORT_KIND_SERIAL 0
#define PORT_KIND_USB    1

/* Page commands: the wParam of the WM_COMMAND the controller posts itself */
#define CMD_WELCOME_PAGE    1000
#define CMD_MODEL_PAGE      1001
#define CMD_PORT_PAGE       1002
#define CMD_COPY_DIALOG     1003
#define CMD_REGISTER        1008
#define CMD_PORT_KIND_PAGE  1011

/* Phase timers */
#define TIMER_READ_SETUP_INFO   3001
#define TIMER_CHECK_PREVIOUS    3002
#define TIMER_WRITE_SYSTEM_INFO 3003
#define TIMER_FINISH            3004
#define TIMER_START_COPY        3005
#define TIMER_CLOSE_COPY        3006
#define TIMER_REGISTER          3007

/* Page results */
#define PAGE_NEXT   2001
#define PAGE_BACK   2000
#define PAGE_CANCEL IDCANCEL
#define PAGE_OK     IDOK

/* Exit status carried by WM_CLOSE */
#define EXIT_SUCCEEDED 1
#define EXIT_FAILED    2

#endif
