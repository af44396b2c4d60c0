/*
 * The removal program: a hidden window driven by one-shot timers. The
 * removal itself is not in place yet: the first timer ends the program.
 */
#include <windows.h>
#include "product.h"
#include "remover.h"

static const char RemoverClassName[] = "Tarvok_Printer_Driver_Uninstaller";

void HandleRemovalTimer(HWND hwnd, UINT_PTR timerId)
{
    if (timerId == TIMER_REMOVE) PostMessageA(hwnd, WM_CLOSE, 1, 0);
}

LRESULT CALLBACK RemoverWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        SetTimer(hwnd, TIMER_REMOVE, 500, NULL);
        return 0;
    case WM_TIMER:
        KillTimer(hwnd, wParam);
        HandleRemovalTimer(hwnd, wParam);
        return 0;
    case WM_COMMAND:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int RunRemove(HINSTANCE instance)
{
    WNDCLASSA wc;
    RECT desktop;
    HWND hwnd;
    MSG msg;

    appInstance = instance;
    if (!FindWindowA(RemoverClassName, RemoverClassName)) {
        ZeroMemory(&wc, sizeof wc);
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = RemoverWindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, "IDI_SETUP");
        wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)GetStockObject(NULL_BRUSH);
        wc.lpszClassName = RemoverClassName;
        if (!RegisterClassA(&wc)) return 0;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS);

    GetWindowRect(GetDesktopWindow(), &desktop);
    hwnd = CreateWindowExA(0, RemoverClassName, GetSetupTitle(), WS_OVERLAPPEDWINDOW,
                           desktop.left, desktop.top, desktop.right, desktop.bottom,
                           NULL, NULL, instance, NULL);
    if (!hwnd) return 0;
    ShowWindow(hwnd, SW_HIDE);

    msg.wParam = 0;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
