#include <windows.h>
#include "dialog_kit.h"
#include "install_state.h"
#include "pages.h"
#include "product.h"
#include "resource.h"

static INT_PTR CALLBACK PortKindDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        CenterOnParent(hwnd);
        CheckRadioButton(hwnd, IDC_KIND_SERIAL, IDC_KIND_USB,
                         installState.portKind ? IDC_KIND_USB : IDC_KIND_SERIAL);
        break;
    case WM_MEASUREITEM:
        MeasureIconListItem((MEASUREITEMSTRUCT *)lParam);
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_SIDE_PICTURE) DrawSidePicture((const DRAWITEMSTRUCT *)lParam);
        break;
    case WM_COMMAND:
        switch (wParam) {
        case IDC_KIND_SERIAL:
            installState.portKind = PORT_KIND_SERIAL;
            break;
        case IDC_KIND_USB:
            installState.portKind = PORT_KIND_USB;
            break;
        case IDC_BACK:
        case IDC_NEXT:
            EndDialog(hwnd, wParam);
            break;
        case IDCANCEL:
            if (ConfirmCancel(hwnd) == IDYES) EndDialog(hwnd, PAGE_CANCEL);
            break;
        }
        break;
    }
    return FALSE;
}

INT_PTR RunPortKindPage(HWND owner)
{
    return DialogBoxParamA(appInstance, "IDD_SETPORT", owner, PortKindDlgProc, 0);
}
