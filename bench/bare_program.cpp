/*
 * The baseline of the start-up benchmarks: a bare Win32 program that shows
 * one dialog at once when its command line says "dialog", and otherwise
 * ends at once.
 */
#include <windows.h>

static INT_PTR CALLBACK BareDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_COMMAND && (wParam == IDOK || wParam == IDCANCEL)) EndDialog(hwnd, wParam);
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (lstrcmpA(commandLine, "dialog")) return 0;
    DialogBoxParamA(instance, "BARE", NULL, BareDialogProc, 0);
    return 0;
}
