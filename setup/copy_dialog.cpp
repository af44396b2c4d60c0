/*
 * The copy dialog: puts the print processor's library, the model's files and
 * the Unidrv files where the spooler expects them, with a progress bar. The
 * copy runs in the dialog's own timer handler and pumps messages between
 * files, so Cancel can be pressed while it runs.
 */
#include <windows.h>
#include <stdio.h>
#include "copy_dialog.h"
#include "dialog_kit.h"
#include "file_copy.h"
#include "install_state.h"
#include "product.h"
#include "progress_geometry.h"
#include "resource.h"

#define BAR_COLOUR RGB(0, 0, 128)

/* The dialog names each listed file while it copies it. */
static void ShowAndCopyListedFile(HWND dialog, int index)
{
    const char *name = ListedFileName(index);

    SetDlgItemTextA(dialog, IDC_COPY_FILE, name);
    CopyListedFile(name);
}

int ProgressFillEdge(int percent, const RECT *r)
{
    return ProgressEdge(percent, r->left, r->right);
}

/* With no listed files there is nothing to measure: the bar stays empty. */
static void PaintProgress(HWND bar, HBRUSH brush, const RECT *r)
{
    char text[32];
    RECT filled, rest;
    int percent = ProgressPercent(installState.filesCopied, installState.fileCount);
    int edge = ProgressFillEdge(percent, r);
    HDC dc;

    snprintf(text, sizeof text, "%d %%", percent);
    SetRect(&filled, r->left, r->top, edge, r->bottom);
    SetRect(&rest, edge, r->top, r->right, r->bottom);

    dc = GetDC(bar);
    ExcludeClipRect(dc, rest.left, rest.top, rest.right, rest.bottom);
    FillRect(dc, &filled, brush);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, (RECT *)r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ReleaseDC(bar, dc);

    dc = GetDC(bar);
    ExcludeClipRect(dc, filled.left, filled.top, filled.right, filled.bottom);
    FillRect(dc, &rest, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, (RECT *)r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ReleaseDC(bar, dc);
}

/*
 * Lets the dialog and the cancel question run between two files. A WM_QUIT
 * taken here belongs to the loop that runs the program: it is posted again
 * and the copy stops.
 */
static void PumpMessages(void)
{
    MSG msg;

    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            installState.copyCancelled = 1;
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static void CopyPass(HWND dialog, int copy)
{
    HWND bar = GetDlgItem(dialog, IDC_COPY_BAR);
    HBRUSH brush = CreateSolidBrush(BAR_COLOUR);
    RECT r;

    GetClientRect(bar, &r);
    if (!copy) {
        if (installState.fileCount) PaintProgress(bar, brush, &r);
        DeleteObject(brush);
        return;
    }
    CopyPrintProcessorLibrary();
    while (!installState.copyCancelled && installState.filesCopied < installState.fileCount) {
        ShowAndCopyListedFile(dialog, installState.filesCopied);
        installState.filesCopied++;
        PaintProgress(bar, brush, &r);
        PumpMessages();
    }
    if (!installState.copyCancelled) PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    DeleteObject(brush);
}

static void OnCopyCancel(HWND hwnd)
{
    installState.copyCancelled = 1;
    if (ConfirmCancel(hwnd) == IDYES) {
        EndDialog(hwnd, PAGE_CANCEL);
        return;
    }
    installState.copyCancelled = 0;
    CopyPass(hwnd, 1);
}

static INT_PTR CALLBACK CopyDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        CenterOnParent(hwnd);
        SetFocus(GetDlgItem(hwnd, IDCANCEL));
        SetTimer(hwnd, TIMER_START_COPY, 100, NULL);
        break;
    case WM_TIMER:
        KillTimer(hwnd, wParam);
        if (wParam == TIMER_START_COPY)
            CopyPass(hwnd, 1);
        else if (wParam == TIMER_CLOSE_COPY)
            EndDialog(hwnd, PAGE_OK);
        break;
    case WM_COMMAND:
        if (wParam == IDOK)
            SetTimer(hwnd, TIMER_CLOSE_COPY, 1000, NULL);
        else if (wParam == IDCANCEL)
            OnCopyCancel(hwnd);
        break;
    case WM_ENTERIDLE:
        CopyPass(hwnd, 0);
        break;
    }
    return FALSE;
}

INT_PTR RunCopyDialog(HWND owner)
{
    return DialogBoxParamA(appInstance, "IDD_COPY", owner, CopyDialogProc, 0);
}
