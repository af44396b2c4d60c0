/*
 * A baseline of the memory figures: a bare Win32 program that loads the
 * platform libraries the programs load (the spooler, SetupAPI and the common
 * controls), asks the spooler and SetupAPI one question each, as the Port
 * page does, and shows the wizard's first page with its full-page picture.
 * The page comes from the wizard's own resources; none of the wizard's code
 * is in this program. Beside it, a program's working set shows what the
 * program itself adds; beside the one-dialog program, what the platform
 * costs. Under Wine that includes the spooler, which runs in the process
 * that calls it.
 */
#include <windows.h>
#include <commctrl.h>
#include <setupapi.h>
#include "resource.h"

static const GUID UsbPrinterInterface =
    { 0x28d78fad, 0x5a12, 0x11d1, { 0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2 } };

static void AskThePlatform(void)
{
    DWORD needed = 0, count = 0;
    HDEVINFO set;

    InitCommonControls();
    EnumPortsA(NULL, 1, NULL, 0, &needed, &count);
    set = SetupDiGetClassDevsA(&UsbPrinterInterface, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set);
}

static INT_PTR CALLBACK PictureDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_COMMAND && (wParam == IDC_NEXT || wParam == IDCANCEL)) EndDialog(hwnd, wParam);
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    AskThePlatform();
    DialogBoxParamA(instance, "IDD_WELCOME", NULL, PictureDialogProc, 0);
    return 0;
}
