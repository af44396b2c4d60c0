/*
 * The Port page: the serial ports of the spooler or the USB printer ports,
 * by the kind chosen on the page before.
 */
#include <windows.h>
#include "dialog_kit.h"
#include "install_state.h"
#include "pages.h"
#include "ports.h"
#include "product.h"
#include "resource.h"

/*
 * The list filler leaves an empty row 0 when the spooler's first port is not
 * a COM port. Only that row is removed: when the first port is COM1: itself,
 * row 0 is a real port and stays.
 */
static void SelectSerialRow(HWND list)
{
    LRESULT com1 = SendMessageA(list, LB_FINDSTRING, (WPARAM)-1, (LPARAM)"COM1:");

    if (SendMessageA(list, LB_GETCOUNT, 0, 0) > 0 && SendMessageA(list, LB_GETTEXTLEN, 0, 0) == 0) {
        SendMessageA(list, LB_DELETESTRING, 0, 0);
        if (com1 != LB_ERR) com1--;
    }
    SendMessageA(list, LB_SETCURSEL, com1 == LB_ERR ? 0 : com1, 0);
}

static void FillPortList(HWND hwnd)
{
    HWND list = GetDlgItem(hwnd, IDC_PORT_LIST);

    FillIconList(hwnd, IDC_PORT_LIST, GetPortCount(), GetPortNameAt);
    if (installState.portKind != PORT_KIND_SERIAL)
        SendMessageA(list, LB_SETCURSEL, installState.usbPortIndex, 0);
    else
        SelectSerialRow(list);
    SetFocus(list);
}

static INT_PTR CALLBACK PortDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        CenterOnParent(hwnd);
        FillPortList(hwnd);
        break;
    case WM_MEASUREITEM:
        MeasureIconListItem((MEASUREITEMSTRUCT *)lParam);
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_PORT_LIST)
            DrawIconListItem((const DRAWITEMSTRUCT *)lParam, GetPortIconName);
        else if (wParam == IDC_SIDE_PICTURE)
            DrawSidePicture((const DRAWITEMSTRUCT *)lParam);
        break;
    case WM_COMMAND:
        if (wParam == IDC_BACK) {
            installState.portKind = PORT_KIND_USB;
            EndDialog(hwnd, PAGE_BACK);
        } else if (wParam == IDC_NEXT) {
            if (StorePortSelection(hwnd))
                EndDialog(hwnd, PAGE_NEXT);
            else
                ShowMessageById(hwnd, IDS_SELECT_PORT, IDS_WARNING, MB_ICONHAND | MB_OK);
        } else if (wParam == IDCANCEL && ConfirmCancel(hwnd) == IDYES) {
            EndDialog(hwnd, PAGE_CANCEL);
        }
        break;
    }
    return FALSE;
}

INT_PTR RunPortPage(HWND owner)
{
    return DialogBoxParamA(appInstance, "IDD_GETPORT", owner, PortDlgProc, 0);
}
