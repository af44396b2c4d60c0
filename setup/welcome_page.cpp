#include <windows.h>
#include "dialog_kit.h"
#include "install_state.h"
#include "pages.h"
#include "product.h"
#include "resource.h"

static INT_PTR CALLBACK WelcomeDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        CenterOnParent(hwnd);
        SetFocus(GetDlgItem(hwnd, IDC_NEXT));
        SetDlgItemTextA(hwnd, IDC_WELCOME_TEXT, GetWelcomeText());
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_SIDE_PICTURE) DrawSidePicture((const DRAWITEMSTRUCT *)lParam);
        break;
    case WM_COMMAND:
        if (wParam == IDC_NEXT)
            EndDialog(hwnd, PAGE_NEXT);
        else if (wParam == IDCANCEL && ConfirmCancel(hwnd) == IDYES)
            EndDialog(hwnd, PAGE_CANCEL);
        break;
    }
    return FALSE;
}

INT_PTR RunWelcomePage(HWND owner)
{
    return DialogBoxParamA(appInstance, "IDD_WELCOME", owner, WelcomeDlgProc, 0);
}
