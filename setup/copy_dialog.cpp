/*
 * The copy dialog's launcher. The copy with its progress bar is not in place
 * yet, and neither is its template, so the launcher's dialog cannot be
 * created and the installation ends as a failed one.
 */
#include <windows.h>
#include "dialog_kit.h"
#include "install_state.h"
#include "pages.h"
#include "product.h"

static INT_PTR CALLBACK CopyDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        CenterOnParent(hwnd);
        break;
    case WM_COMMAND:
        if (wParam == IDCANCEL && ConfirmCancel(hwnd) == IDYES) EndDialog(hwnd, PAGE_CANCEL);
        break;
    }
    return FALSE;
}

INT_PTR RunCopyDialog(HWND owner)
{
    return DialogBoxParamA(appInstance, "IDD_COPY", owner, CopyDialogProc, 0);
}
