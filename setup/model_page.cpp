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
#include "run_log.h"
#include "setup_info.h"

void GetModelIconName(const char *, char *iconName)
{
    CopyText(iconName, NAME_SIZE, "IDI_PRINTER");
}

/* The selected model; 0, and nothing written, when there is none. An empty
   row is never a model. */
static int TakeSelectedModel(HWND page, char *model)
{
    return GetSelectedRowText(page, IDC_MODEL_LIST, model, TEXT_SIZE);
}

static int IsModelDriverInstalled(const char *model)
{
    DWORD needed = 0, count = 0, i;
    DRIVER_INFO_1A *drivers;
    int found = 0;

    EnumPrinterDriversA(NULL, (LPSTR)installState.environment, 1, NULL, 0, &needed, &count);
    if (!needed) return 0;
    drivers = (DRIVER_INFO_1A *)GlobalAlloc(GPTR, needed);
    if (!drivers) return 0;
    if (EnumPrinterDriversA(NULL, (LPSTR)installState.environment, 1, (BYTE *)drivers,
                            needed, &needed, &count)) {
        for (i = 0; i < count && !found; i++)
            if (drivers[i].pName && !lstrcmpA(drivers[i].pName, model)) found = 1;
    }
    GlobalFree(drivers);
    return found;
}

void ChooseModel(const char *model)
{
    LogStep("chosen", 0, "model \"%s\"", model);
    if (IsModelDriverInstalled(model))
        LogStep(DeletePrinterNamed(model) ? "deleted" : "none", 0, "printer \"%s\" of the installed driver", model);
    ReadModelInstallSection(model);
}

static void OnModelNext(HWND hwnd)
{
    char model[TEXT_SIZE];

    if (!TakeSelectedModel(hwnd, model)) {
        ShowMessageById(hwnd, IDS_SELECT_MODEL, IDS_WARNING, MB_ICONHAND | MB_OK);
        return;
    }
    ChooseModel(model);
    EndDialog(hwnd, PAGE_NEXT);
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
