/* The last page: success or failure, and the choice of the default printer. */
#include <windows.h>
#include "default_printer.h"
#include "dialog_kit.h"
#include "install_state.h"
#include "pages.h"
#include "product.h"
#include "resource.h"

static void ShowOutcome(HWND hwnd)
{
    char text[TEXT_SIZE];
    int succeeded = LOWORD(dialogParameter) == EXIT_SUCCEEDED;

    SetWindowTextA(hwnd, GetSetupTitle());
    SendDlgItemMessageA(hwnd, IDC_MESSAGE_ICON, STM_SETICON,
                        (WPARAM)LoadIconA(NULL, succeeded ? IDI_ASTERISK : IDI_HAND), 0);
    text[0] = 0;
    LoadStringA(appInstance, succeeded ? IDS_INSTALL_DONE : IDS_INSTALL_FAILED, text, sizeof text);
    if (succeeded)
        CheckDlgButton(hwnd, IDC_DEFAULT_PRINTER, BST_CHECKED);
    else
        ShowWindow(GetDlgItem(hwnd, IDC_DEFAULT_PRINTER), SW_HIDE);
    SetDlgItemTextA(hwnd, IDC_COPYRIGHT, GetCopyrightLine());
    SetDlgItemTextA(hwnd, IDC_RESULT_TEXT, text);
    SetFocus(GetDlgItem(hwnd, IDOK));
}

static INT_PTR CALLBACK ExitDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        CenterOnParent(hwnd);
        ShowOutcome(hwnd);
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_SIDE_PICTURE) DrawSidePicture((const DRAWITEMSTRUCT *)lParam);
        break;
    case WM_COMMAND:
        if (wParam == IDOK) {
            if (LOWORD(dialogParameter) == EXIT_SUCCEEDED &&
                IsDlgButtonChecked(hwnd, IDC_DEFAULT_PRINTER) == BST_CHECKED)
                MakeDefaultPrinter(installState.modelName);
            EndDialog(hwnd, PAGE_OK);
        } else if (wParam == IDCANCEL) {
            EndDialog(hwnd, PAGE_OK);
        }
        break;
    }
    return FALSE;
}

INT_PTR RunExitPage(HWND owner, WORD exitStatus)
{
    dialogParameter = exitStatus;
    return DialogBoxParamA(appInstance, "IDD_EXIT", owner, ExitDlgProc, 0);
}
