/*
 * Both programs are driven by one hidden top-level window sized to the
 * desktop: it owns every dialog, which then stands in the middle of the
 * screen when it centres itself on its owner.
 */
#include <windows.h>
#include "hidden_window.h"
#include "product.h"
#include "system_dlls.h"

int RunHiddenWindow(HINSTANCE instance, const char *className, WNDPROC windowProc)
{
    WNDCLASSA wc;
    RECT desktop;
    HWND hwnd;
    MSG msg;

    /* Registered whatever windows exist: a class belongs to its process, and
       a window of the same name that any other program can make would
       otherwise end this one before it did anything. A second copy of the
       program runs on its own. */
    ZeroMemory(&wc, sizeof wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "IDI_SETUP");
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(NULL_BRUSH);
    wc.lpszClassName = className;
    if (!RegisterClassA(&wc)) return 0;
    SetErrorMode(SEM_FAILCRITICALERRORS);

    GetWindowRect(GetDesktopWindow(), &desktop);
    hwnd = CreateWindowExA(0, className, GetSetupTitle(), WS_OVERLAPPEDWINDOW,
                           desktop.left, desktop.top, desktop.right, desktop.bottom,
                           NULL, NULL, instance, NULL);
    if (!hwnd) return 0;
    ShowWindow(hwnd, SW_HIDE);
    CloseWhenLibraryMissing(hwnd);

    msg.wParam = 0;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
