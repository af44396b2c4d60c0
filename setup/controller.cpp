/*
 * The hidden controller window: it opens the wizard's pages one at a time
 * and chains them by commands it posts to itself, so pages never nest.
 */
#include <windows.h>
#include "controller.h"
#include "copy_dialog.h"
#include "dialog_kit.h"
#include "install_state.h"
#include "hidden_window.h"
#include "pages.h"
#include "phases.h"
#include "product.h"
#include "quiet_setup.h"
#include "restart.h"
#include "run_log.h"
#include "run_start.h"
#include "take_package.h"

static const char ControllerClassName[] = "Tarvok_Printer_Driver_Setup";

/* A close from outside ends a wizard page at once; the copy finishes first. */
struct PageLauncher
{
    WPARAM command;
    INT_PTR (*run)(HWND owner);
    int endsOnOutsideClose;
};

static const PageLauncher pageLaunchers[] = {
    { CMD_WELCOME_PAGE,   RunWelcomePage,  1 },
    { CMD_MODEL_PAGE,     RunModelPage,    1 },
    { CMD_PORT_KIND_PAGE, RunPortKindPage, 1 },
    { CMD_PORT_PAGE,      RunPortPage,     1 },
    { CMD_COPY_DIALOG,    RunCopyDialog,   0 },
};

static const PageLauncher *runningPage;
static int exitPageOpened;

/* Where each page result leads; every result not listed closes with failure. */
struct PageTransition
{
    WPARAM command;
    INT_PTR result;
    WPARAM next;
};

static const PageTransition pageTransitions[] = {
    { CMD_WELCOME_PAGE,   PAGE_NEXT, CMD_MODEL_PAGE },
    { CMD_MODEL_PAGE,     PAGE_BACK, CMD_WELCOME_PAGE },
    { CMD_MODEL_PAGE,     PAGE_NEXT, CMD_PORT_KIND_PAGE },
    { CMD_PORT_KIND_PAGE, PAGE_BACK, CMD_MODEL_PAGE },
    { CMD_PORT_KIND_PAGE, PAGE_NEXT, CMD_PORT_PAGE },
    { CMD_PORT_PAGE,      PAGE_BACK, CMD_PORT_KIND_PAGE },
    { CMD_PORT_PAGE,      PAGE_NEXT, CMD_COPY_DIALOG },
    { CMD_COPY_DIALOG,    PAGE_OK,   CMD_REGISTER },
};

static void StartRegistrationPhase(HWND hwnd)
{
    stepRunning = 1;
    SetTimer(hwnd, TIMER_WRITE_SYSTEM_INFO, 100, NULL);
    SetCapture(hwnd);
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
}

static BOOL CALLBACK MatchOpenPage(HWND hwnd, LPARAM param)
{
    HWND *page = (HWND *)param;
    char className[16];

    if (GetWindow(hwnd, GW_OWNER) != *page || hwnd == statusWindow) return TRUE;
    GetClassNameA(hwnd, className, sizeof className);
    if (lstrcmpA(className, "#32770")) return TRUE;
    *page = hwnd;
    return FALSE;
}

/* The open page is the dialog that the controller owns; its own message
   dialogs belong to it, not to the controller. */
static HWND FindOpenPage(HWND controller)
{
    HWND page = controller;

    EnumThreadWindows(GetCurrentThreadId(), MatchOpenPage, (LPARAM)&page);
    return page == controller ? NULL : page;
}

/*
 * A close from outside ends an open page at once, as a confirmed cancel
 * would. The copy and the timed phases are not cut short: they finish, and
 * the flow then ends on the failure page instead of going on. The
 * registration phase and the exit page end the program anyway.
 */
static void OnOutsideClose(HWND hwnd)
{
    HWND page;

    closeRequested = 1;
    if (runningPage && runningPage->endsOnOutsideClose && (page = FindOpenPage(hwnd)))
        EndDialog(page, PAGE_CANCEL);
}

static void RunPageCommand(HWND hwnd, WPARAM command)
{
    unsigned i;
    INT_PTR result;

    if (command == CMD_REGISTER) {
        StartRegistrationPhase(hwnd);
        return;
    }
    for (i = 0; i < ARRAYSIZE(pageLaunchers); i++)
        if (pageLaunchers[i].command == command) break;
    if (i == ARRAYSIZE(pageLaunchers)) return;

    stepRunning = 1;
    runningPage = &pageLaunchers[i];
    result = runningPage->run(hwnd);
    runningPage = NULL;
    stepRunning = 0;

    for (i = 0; i < ARRAYSIZE(pageTransitions) && !closeRequested; i++) {
        if (pageTransitions[i].command == command && pageTransitions[i].result == result) {
            PostMessageA(hwnd, WM_COMMAND, pageTransitions[i].next, 0);
            return;
        }
    }
    PostMessageA(hwnd, WM_CLOSE, EXIT_FAILED, 0);
}

LRESULT CALLBACK ControllerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        stepRunning = 1;
        SetTimer(hwnd, TIMER_READ_SETUP_INFO, 100, NULL);
        installState.portKind = PORT_KIND_USB;
        return 0;
    case WM_TIMER:
        KillTimer(hwnd, wParam);
        HandlePhaseTimer(hwnd, wParam);
        return 0;
    case WM_COMMAND:
        /* A close that came between two pages opened the exit page before
           the command for the next one: that command has no flow left. */
        if (!exitPageOpened) RunPageCommand(hwnd, wParam);
        return 0;
    case WM_CLOSE:
        /* The restart may be cancelled before this program is asked, and
           then no WM_ENDSESSION comes: a close from outside still ends it. */
        if (RestartCancelled(FALSE)) {
            DestroyWindow(hwnd);
            return 0;
        }
        if (stepRunning) {
            OnOutsideClose(hwnd);
            return 0;
        }
        /* The exit page is the last step; a close during it changes nothing. */
        stepRunning = 1;
        exitPageOpened = 1;
        LogStep(LOWORD(wParam) == EXIT_SUCCEEDED ? "succeeded" : "failed", 0, "installation, as the exit page shows");
        RunExitPage(hwnd, LOWORD(wParam));
        break;
    case WM_ENDSESSION:
        if (RestartCancelled(wParam)) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int RunSetup(HINSTANCE instance)
{
    SwitchValues switches;
    int exitCode;

    appInstance = instance;
    installState.environment = GetSpoolerEnvironment();
    if (StartRun(PROGRAM_SETUP, &switches, &exitCode)) return exitCode;
    if (switches.quiet) {
        exitCode = RunQuietSetup(&switches);
    } else {
        exitCode = RunHiddenWindow(instance, ControllerClassName, ControllerWindowProc);
        ReleasePackage();
    }
    return EndRun(exitCode);
}
