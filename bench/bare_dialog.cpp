/*
 * A baseline of the start-up benchmarks: a bare Win32 program that shows
 * one small dialog at once and ends when it is closed.
 */
#include <windows.h>

static INT_PTR CALLBACK BareDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_COMMAND && (wParam == IDOK || wParam == IDCANCEL)) EndDialog(hwnd, wParam);
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    DialogBoxParamA(instance, "BARE", NULL, BareDialogProc, 0);
    return 0;
}
