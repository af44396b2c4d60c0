/*
 * The hidden controller window: it opens the wizard's pages one at a time
 * and chains them by commands it posts to itself, so pages never nest.
 */
#include <windows.h>
#include "controller.h"
#include "install_state.h"
#include "pages.h"
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
    WNDCLASSA wc;
    RECT desktop;
    HWND hwnd;
    MSG msg;

    appInstance = instance;
    installState.environment = GetSpoolerEnvironment();

    if (!FindWindowA(ControllerClassName, ControllerClassName)) {
        ZeroMemory(&wc, sizeof wc);
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ControllerWindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, "IDI_SETUP");
        wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)GetStockObject(NULL_BRUSH);
        wc.lpszClassName = ControllerClassName;
        if (!RegisterClassA(&wc)) return 0;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS);

    GetWindowRect(GetDesktopWindow(), &desktop);
    hwnd = CreateWindowExA(0, ControllerClassName, GetSetupTitle(), WS_OVERLAPPEDWINDOW,
                           desktop.left, desktop.top, desktop.right, desktop.bottom,
                           NULL, NULL, instance, NULL);
    /* A foreign window of our class name kept us from registering the class. */
    if (!hwnd) return 0;
    ShowWindow(hwnd, SW_HIDE);

    msg.wParam = 0;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
