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

/* COM1: when the spooler has it, else the first row. */
static void SelectSerialRow(HWND list)
{
    LRESULT com1;

    DropEmptyRows(list, NULL);
    com1 = SendMessageA(list, LB_FINDSTRING, (WPARAM)-1, (LPARAM)"COM1:");
    SendMessageA(list, LB_SETCURSEL, com1 == LB_ERR ? 0 : com1, 0);
}

/* The row of the product's printer; with no row left, nothing is selected
   and Next shows the warning. */
static void SelectUsbRow(HWND list)
{
    int row = installState.usbPortIndex;

    DropEmptyRows(list, &row);
    SendMessageA(list, LB_SETCURSEL, row, 0);
}

/* An empty row is never a port. */
static int StorePortSelection(HWND portPage)
{
    char name[TEXT_SIZE];

    if (!GetSelectedRowText(portPage, IDC_PORT_LIST, name, sizeof name)) return 0;
    StorePortName(name);
    return 1;
}

static void FillPortList(HWND hwnd)
{
    HWND list = GetDlgItem(hwnd, IDC_PORT_LIST);

    FillIconList(hwnd, IDC_PORT_LIST, GetPortCount(), GetPortNameAt);
    if (installState.portKind != PORT_KIND_SERIAL)
        SelectUsbRow(list);
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
