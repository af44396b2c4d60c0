/*
 * The Model page: the models of the setup information file. Next removes a
 * printer of the chosen name when its driver is installed already, then
 * reads the model's install section.
 */
#include <windows.h>
#include "dialog_kit.h"
#include "install_state.h"
#include "model_page.h"
#include "pages.h"
#include "printer_deletion.h"
#include "product.h"
#include "resource.h"
#include "setup_info.h"

void GetModelIconName(const char *, char *iconName)
{
    CopyText(iconName, NAME_SIZE, "IDI_PRINTER");
}

/* Copies the selected row into modelName; 0 when no row is selected. */
static int TakeSelectedModel(HWND page)
{
    HWND list = GetDlgItem(page, IDC_MODEL_LIST);
    LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
    LRESULT length;

    if (row == LB_ERR) return 0;
    length = SendMessageA(list, LB_GETTEXTLEN, row, 0);
    if (length <= 0 || length >= TEXT_SIZE) return 0;
    SendMessageA(list, LB_GETTEXT, row, (LPARAM)installState.modelName);
    return 1;
}

int IsDriverInstalled(HWND page)
{
    DWORD needed = 0, count = 0, i;
    DRIVER_INFO_1A *drivers;
    int found = 0;

    if (!TakeSelectedModel(page)) return 0;
    EnumPrinterDriversA(NULL, (LPSTR)installState.environment, 1, NULL, 0, &needed, &count);
    if (!needed) return 0;
    drivers = (DRIVER_INFO_1A *)GlobalAlloc(GPTR, needed);
    if (!drivers) return 0;
    if (EnumPrinterDriversA(NULL, (LPSTR)installState.environment, 1, (BYTE *)drivers,
                            needed, &needed, &count)) {
        for (i = 0; i < count && !found; i++)
            if (drivers[i].pName && !lstrcmpA(drivers[i].pName, installState.modelName)) found = 1;
    }
    GlobalFree(drivers);
    return found;
}

void DeleteExistingPrinter(HWND page)
{
    if (TakeSelectedModel(page)) DeletePrinterNamed(installState.modelName);
}

static void OnModelNext(HWND hwnd)
{
    if (IsDriverInstalled(hwnd)) DeleteExistingPrinter(hwnd);
    if (ReadInstallSection(hwnd))
        EndDialog(hwnd, PAGE_NEXT);
    else
        ShowMessageById(hwnd, IDS_SELECT_MODEL, IDS_WARNING, MB_ICONHAND | MB_OK);
}

static INT_PTR CALLBACK ModelDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        CenterOnParent(hwnd);
        FillIconList(hwnd, IDC_MODEL_LIST, GetModelCount(), GetModelNameAt);
        DropEmptyRows(GetDlgItem(hwnd, IDC_MODEL_LIST), NULL);
        SendDlgItemMessageA(hwnd, IDC_MODEL_LIST, LB_SETCURSEL, 0, 0);
        SetFocus(GetDlgItem(hwnd, IDC_MODEL_LIST));
        break;
    case WM_MEASUREITEM:
        MeasureIconListItem((MEASUREITEMSTRUCT *)lParam);
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_MODEL_LIST)
            DrawIconListItem((const DRAWITEMSTRUCT *)lParam, GetModelIconName);
        else if (wParam == IDC_SIDE_PICTURE)
            DrawSidePicture((const DRAWITEMSTRUCT *)lParam);
        break;
    case WM_COMMAND:
        if (wParam == IDC_BACK)
            EndDialog(hwnd, PAGE_BACK);
        else if (wParam == IDC_NEXT)
            OnModelNext(hwnd);
        else if (wParam == IDCANCEL && ConfirmCancel(hwnd) == IDYES)
            EndDialog(hwnd, PAGE_CANCEL);
        break;
    }
    return FALSE;
}

INT_PTR RunModelPage(HWND owner)
{
    return DialogBoxParamA(appInstance, "IDD_GETMODEL", owner, ModelDlgProc, 0);
}
