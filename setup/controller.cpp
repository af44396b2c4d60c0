/*
 * The hidden controller window: it opens the wizard's pages one at a time
 * and chains them by commands it posts to itself, so pages never nest.
 */
#include <windows.h>
#include "controller.h"
#include "install_state.h"
#include "pages.h"
#include "hidden_window.h"
#include "product.h"

static const char ControllerClassName[] = "Tarvok_Printer_Driver_Setup";

InstallState installState;

struct PageLauncher
{
    WPARAM command;
    INT_PTR (*run)(HWND owner);
};

static const PageLauncher pageLaunchers[] = {
    { CMD_WELCOME_PAGE,   RunWelcomePage },
    { CMD_MODEL_PAGE,     RunModelPage },
    { CMD_PORT_KIND_PAGE, RunPortKindPage },
    { CMD_PORT_PAGE,      RunPortPage },
    { CMD_COPY_DIALOG,    RunCopyDialog },
};

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
    SetTimer(hwnd, TIMER_WRITE_SYSTEM_INFO, 100, NULL);
    SetCapture(hwnd);
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
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

    result = pageLaunchers[i].run(hwnd);

    for (i = 0; i < ARRAYSIZE(pageTransitions); i++) {
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
        SetTimer(hwnd, TIMER_READ_SETUP_INFO, 100, NULL);
        installState.portKind = PORT_KIND_USB;
        return 0;
    case WM_TIMER:
        KillTimer(hwnd, wParam);
        HandlePhaseTimer(hwnd, wParam);
        return 0;
    case WM_COMMAND:
        RunPageCommand(hwnd, wParam);
        return 0;
    case WM_CLOSE:
        RunExitPage(hwnd, LOWORD(wParam));
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int RunSetup(HINSTANCE instance)
{
    appInstance = instance;
    installState.environment = GetSpoolerEnvironment();
    return RunHiddenWindow(instance, ControllerClassName, ControllerWindowProc);
}
