/*
 * Dialog kit. Each dialog's parameters travel in process-wide values set by
 * its launcher just before the dialog is created; no creation parameter is
 * used.
 */
#include <windows.h>
#include "dialog_kit.h"
#include "product.h"
#include "resource.h"
#include "textbuf.h"

DWORD dialogParameter;
HWND statusWindow;

static WORD statusTextId;
static const char *messageText;
static const char *messageCaption;

struct MessageTemplate
{
    WORD buttons;
    const char *name;
};

/* By the button bits of the type word; every other value shows OK alone. */
static const MessageTemplate messageTemplates[] = {
    { MB_OKCANCEL,         "IDD_MSG_OKCANCEL" },
    { MB_YESNOCANCEL,      "IDD_MSG_YESNOCANCEL" },
    { MB_YESNO,            "IDD_MSG_YESNO" },
    { MB_RETRYCANCEL,      "IDD_MSG_RETRYCANCEL" },
};

struct MessageIcon
{
    WORD iconBits;
    LPCSTR icon;
};

static const MessageIcon messageIcons[] = {
    { MB_ICONHAND,        IDI_HAND },
    { MB_ICONQUESTION,    IDI_QUESTION },
    { MB_ICONEXCLAMATION, IDI_EXCLAMATION },
    { MB_ICONASTERISK,    IDI_ASTERISK },
};

const char *MessageTemplateForType(WORD type)
{
    unsigned i;

    for (i = 0; i < ARRAYSIZE(messageTemplates); i++)
        if (messageTemplates[i].buttons == (type & MB_TYPEMASK)) return messageTemplates[i].name;
    return "IDD_MSG_OK";
}

LPCSTR MessageIconForType(WORD type)
{
    unsigned i;

    for (i = 0; i < ARRAYSIZE(messageIcons); i++)
        if (messageIcons[i].iconBits == (type & MB_ICONMASK)) return messageIcons[i].icon;
    return IDI_APPLICATION;
}

void CenterOnParent(HWND hwnd)
{
    RECT parent, self;
    int w, h;

    GetWindowRect(GetParent(hwnd), &parent);
    GetWindowRect(hwnd, &self);
    w = self.right - self.left;
    h = self.bottom - self.top;
    MoveWindow(hwnd, parent.left + (parent.right - parent.left - w) / 2,
               parent.top + (parent.bottom - parent.top - h) / 2, w, h, TRUE);
    SetForegroundWindow(hwnd);
}

static INT_PTR CALLBACK StatusDlgProc(HWND hwnd, UINT msg, WPARAM, LPARAM)
{
    char text[TEXT_SIZE];

    if (msg == WM_INITDIALOG) {
        CenterOnParent(hwnd);
        text[0] = 0;
        LoadStringA(appInstance, statusTextId, text, sizeof text);
        SetDlgItemTextA(hwnd, IDC_STATUS_TEXT, text);
    }
    return FALSE;
}

HWND ShowStatusDialog(HWND parent, WORD textId)
{
    statusTextId = textId;
    return CreateDialogParamA(appInstance, "IDD_STATUS", parent, StatusDlgProc, 0);
}

static INT_PTR CALLBACK MessageDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        CenterOnParent(hwnd);
        SetWindowTextA(hwnd, messageCaption);
        SetDlgItemTextA(hwnd, IDC_MESSAGE_TEXT, messageText);
        SendDlgItemMessageA(hwnd, IDC_MESSAGE_ICON, STM_SETICON,
                            (WPARAM)LoadIconA(NULL, MessageIconForType((WORD)dialogParameter)), 0);
        break;
    case WM_COMMAND:
        EndDialog(hwnd, wParam);
        break;
    }
    return FALSE;
}

int ShowMessageDialog(HWND parent, const char *text, const char *caption, WORD type)
{
    messageText = text;
    messageCaption = caption;
    dialogParameter = type;
    return (int)DialogBoxParamA(appInstance, MessageTemplateForType(type), parent, MessageDlgProc, 0);
}

int ShowMessageById(HWND parent, UINT textId, UINT captionId, WORD type)
{
    char text[TEXT_SIZE], caption[TEXT_SIZE];

    text[0] = caption[0] = 0;
    LoadStringA(appInstance, textId, text, sizeof text);
    LoadStringA(appInstance, captionId, caption, sizeof caption);
    return ShowMessageDialog(parent, text, caption, type);
}

int ConfirmCancel(HWND parent)
{
    return ShowMessageById(parent, IDS_CONFIRM_CANCEL, IDS_QUESTION, MB_ICONQUESTION | MB_YESNO);
}

/*
 * The name buffer is not cleared between indices: a callback that writes
 * nothing repeats the previous name, which the duplicate search then drops.
 * Before the first index it holds the empty text, so a first index without a
 * name leaves an empty row 0 for the port page to remove.
 */
void FillIconList(HWND dialog, int listId, short count, NameAtIndexCallback nameAt)
{
    static char name[TEXT_SIZE];
    HWND list = GetDlgItem(dialog, listId);
    short i;

    name[0] = 0;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (i = 0; i < count; i++) {
        nameAt((WORD)i, name);
        name[TEXT_SIZE - 1] = 0;
        if (SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name) == LB_ERR)
            SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)name);
    }
}

void DropEmptyRows(HWND list, int *row)
{
    LRESULT i;

    for (i = SendMessageA(list, LB_GETCOUNT, 0, 0) - 1; i >= 0; i--) {
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) != 0) continue;
        SendMessageA(list, LB_DELETESTRING, i, 0);
        if (row && i < *row) (*row)--;
    }
}

int GetSelectedRowText(HWND dialog, int listId, char *text, int size)
{
    HWND list = GetDlgItem(dialog, listId);
    LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
    LRESULT length = row == LB_ERR ? 0 : SendMessageA(list, LB_GETTEXTLEN, row, 0);

    if (length <= 0 || length >= size) return 0;
    SendMessageA(list, LB_GETTEXT, row, (LPARAM)text);
    return 1;
}

void MeasureIconListItem(MEASUREITEMSTRUCT *item)
{
    if (item->itemHeight < ICON_ROW_MIN_HEIGHT) item->itemHeight = ICON_ROW_MIN_HEIGHT;
}

static void GetRowText(const DRAWITEMSTRUCT *item, char *text)
{
    LRESULT length;
    UINT lengthMsg = item->CtlType == ODT_COMBOBOX ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    UINT textMsg = item->CtlType == ODT_COMBOBOX ? CB_GETLBTEXT : LB_GETTEXT;

    text[0] = 0;
    /* The list hands out the whole row: make sure it fits first. */
    length = SendMessageA(item->hwndItem, lengthMsg, item->itemID, 0);
    if (length >= 0 && length < TEXT_SIZE)
        SendMessageA(item->hwndItem, textMsg, item->itemID, (LPARAM)text);
}

void DrawIconListItem(const DRAWITEMSTRUCT *item, IconNameCallback iconName)
{
    char text[TEXT_SIZE];
    TEXTMETRICA tm;
    COLORREF oldText, oldBack;
    int baseX, y;
    HICON icon;

    if (item->itemID == (UINT)-1) return;

    if (item->itemState & ODS_SELECTED) {
        oldText = SetTextColor(item->hDC, GetSysColor(COLOR_HIGHLIGHTTEXT));
        oldBack = SetBkColor(item->hDC, GetSysColor(COLOR_HIGHLIGHT));
    } else {
        oldText = SetTextColor(item->hDC, GetSysColor(COLOR_WINDOWTEXT));
        oldBack = SetBkColor(item->hDC, GetSysColor(COLOR_WINDOW));
    }
    GetTextMetricsA(item->hDC, &tm);
    baseX = (short)LOWORD(GetDialogBaseUnits());
    y = (short)((item->rcItem.top + item->rcItem.bottom - tm.tmHeight) / 2);

    GetRowText(item, text);
    ExtTextOutA(item->hDC, 2 * baseX + 32, y, ETO_OPAQUE | ETO_CLIPPED, &item->rcItem,
                text, lstrlenA(text), NULL);
    SetTextColor(item->hDC, oldText);
    SetBkColor(item->hDC, oldBack);

    iconName(text, text);
    icon = LoadIconA(appInstance, text);
    if (icon) DrawIcon(item->hDC, baseX, item->rcItem.top + 1, icon);

    if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &item->rcItem);
}

void DrawSunkenFrame(HDC dc, const RECT *r)
{
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldPen;

    FillRect(dc, r, brush);

    oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, r->left - 1, r->bottom - 1, NULL);
    LineTo(dc, r->left - 1, r->top - 1);
    LineTo(dc, r->right, r->top - 1);

    SelectObject(dc, light);
    MoveToEx(dc, r->right + 1, r->top - 2, NULL);
    LineTo(dc, r->right + 1, r->bottom + 1);
    LineTo(dc, r->left - 3, r->bottom + 1);

    SelectObject(dc, shadow);
    MoveToEx(dc, r->right, r->top - 2, NULL);
    LineTo(dc, r->left - 2, r->top - 2);
    LineTo(dc, r->left - 2, r->bottom + 1);

    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(light);
    DeleteObject(shadow);
}

void DrawSidePicture(const DRAWITEMSTRUCT *item)
{
    HBITMAP picture;
    HDC memory;
    HGDIOBJ old;
    BITMAP bm;
    RECT r;

    if (item->itemID == (UINT)-1) return;
    picture = LoadBitmapA(appInstance, MAKEINTRESOURCEA(IDB_SIDE_PICTURE));
    if (!picture) return;
    memory = CreateCompatibleDC(item->hDC);
    if (!memory) {
        DeleteObject(picture);
        return;
    }
    r.left = item->rcItem.left + 2;
    r.top = item->rcItem.top + 2;
    r.right = item->rcItem.right - 2;
    r.bottom = item->rcItem.bottom - 2;
    DrawSunkenFrame(item->hDC, &r);

    GetObjectA(picture, sizeof bm, &bm);
    old = SelectObject(memory, picture);
    StretchBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top,
               memory, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
}
