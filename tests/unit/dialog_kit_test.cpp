/*
 * The dialog kit run for real in this process: message dialogs by type
 * word, the status window, the icon list's filling, sizing and drawing, and
 * the icon name rules of the lists.
 */
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include "copy_dialog.h"
#include "dialog_kit.h"
#include "dialog_observer.h"
#include "model_page.h"
#include "png_writer.h"
#include "progress_geometry.h"
#include "ports.h"
#include "product.h"
#include "resource.h"

static bool Has(const std::vector<int> &ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TEST(DialogKit, MessageDialogByTypeWord)
{
    static const struct { WORD type; std::vector<int> buttons; LPCSTR icon; const char *shot; } cases[] = {
        { MB_ICONQUESTION | MB_YESNO, { IDYES, IDNO }, IDI_QUESTION, "yesno-question" },
        { MB_ICONHAND | MB_OK, { IDOK }, IDI_HAND, "ok-hand" },
        { 0, { IDOK }, IDI_APPLICATION, "ok-application" },
        { 2, { IDOK }, IDI_APPLICATION, NULL },
        { 0x35, { IDRETRY, IDCANCEL }, IDI_EXCLAMATION, "retrycancel-exclamation" },
        { MB_ICONASTERISK | MB_OKCANCEL, { IDOK, IDCANCEL }, IDI_ASTERISK, "okcancel-asterisk" },
        { MB_YESNOCANCEL | 0x70, { IDYES, IDNO, IDCANCEL }, IDI_APPLICATION, "yesnocancel" },
    };
    HWND owner = MakeOwnerWindow();
    appInstance = GetModuleHandleA(NULL);

    for (auto &c : cases) {
        SCOPED_TRACE(c.type);
        ObserverPlan plan = { c.shot, { IDC_MESSAGE_TEXT }, IDC_MESSAGE_ICON, 0, false, IDCANCEL };
        Observation seen;
        HANDLE observer = StartObserver(&plan, &seen);
        /* Escape (IDCANCEL) ends every template with 2, buttons or not. */
        EXPECT_EQ(ShowMessageDialog(owner, "Some text to read.", "A caption", c.type), IDCANCEL);
        FinishObserver(observer);
        ASSERT_TRUE(seen.seen);
        EXPECT_EQ(seen.caption, "A caption");
        EXPECT_EQ(seen.texts[0], "Some text to read.");
        EXPECT_EQ(seen.icon, LoadIconA(NULL, c.icon));
        EXPECT_EQ(seen.buttonIds.size(), c.buttons.size());
        for (int id : c.buttons) EXPECT_TRUE(Has(seen.buttonIds, id)) << "button " << id;
    }
    DestroyWindow(owner);
}

/* The cancel question's texts are checked end to end on every page. */
TEST(DialogKit, MessageByIdsTheTableLacksIsEmpty)
{
    HWND owner = MakeOwnerWindow();
    appInstance = GetModuleHandleA(NULL);
    ObserverPlan plan = { NULL, { IDC_MESSAGE_TEXT }, 0, 0, false, IDOK };
    Observation seen;

    HANDLE observer = StartObserver(&plan, &seen);
    EXPECT_EQ(ShowMessageById(owner, 3999, 3998, MB_OK), IDOK);
    FinishObserver(observer);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.caption, "");
    EXPECT_EQ(seen.texts[0], "");
    DestroyWindow(owner);
}

TEST(DialogKit, StatusDialogShowsItsTextCentred)
{
    HWND owner = MakeOwnerWindow();
    RECT r, desktop;
    char text[256];
    appInstance = GetModuleHandleA(NULL);

    HWND status = ShowStatusDialog(owner, IDS_READING_SETUP_INFO);
    ASSERT_TRUE(status != NULL);
    EXPECT_FALSE(IsWindowVisible(status)) << "the caller shows it";
    GetDlgItemTextA(status, IDC_STATUS_TEXT, text, sizeof text);
    EXPECT_STREQ(text, "Reading setup information...");
    EXPECT_EQ(GetWindowLongA(status, GWL_STYLE) & WS_CAPTION, 0);
    ShowWindow(status, SW_SHOW);
    UpdateWindow(status);
    GetWindowRect(status, &r);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_NEAR((r.left + r.right) / 2, desktop.right / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, desktop.bottom / 2, 1);
    Sleep(200);
    EXPECT_TRUE(SaveScreenPng(&r, TestResultsPath("status").c_str()));
    DestroyWindow(status);

    status = ShowStatusDialog(owner, IDS_WRITING_SYSTEM_INFO);
    GetDlgItemTextA(status, IDC_STATUS_TEXT, text, sizeof text);
    EXPECT_STREQ(text, "Writing system information...");
    DestroyWindow(status);
    DestroyWindow(owner);
}

static const char *names[8];

static void NameFromTable(WORD index, char *name)
{
    if (names[index]) lstrcpyA(name, names[index]);
}

static HWND MakeListHost(HWND *list)
{
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 300, NULL, NULL, NULL, NULL);
    *list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 200, 200, host, (HMENU)100,
                            NULL, NULL);
    return host;
}

static std::vector<std::string> Rows(HWND list)
{
    std::vector<std::string> rows;
    char text[1024];
    for (int i = 0; i < (int)SendMessageA(list, LB_GETCOUNT, 0, 0); i++) {
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
        rows.push_back(text);
    }
    return rows;
}

TEST(DialogKit, FillIconListKeepsFirstComersOnce)
{
    HWND list, host = MakeListHost(&list);
    struct { std::vector<const char *> names; std::vector<std::string> rows; } cases[] = {
        { {}, {} },
        { { "A", "B", "A", "b" }, { "A", "B" } },
        /* Nothing written for index 0 leaves an empty row 0, and nothing for a
           later index repeats the previous name, which is then dropped. */
        { { NULL, "COM1:", NULL, "COM2:", NULL }, { "", "COM1:", "COM2:" } },
        { { "X", NULL, NULL }, { "X" } },
    };
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)"left over");
    for (auto &c : cases) {
        SCOPED_TRACE(c.names.size());
        std::fill(names, names + 8, (const char *)NULL);
        std::copy(c.names.begin(), c.names.end(), names);
        FillIconList(host, 100, (short)c.names.size(), NameFromTable);
        EXPECT_EQ(Rows(list), c.rows);
    }
    DestroyWindow(host);
}

/* A memory canvas filled with one colour, to see what a painter touches. */
static HDC MakeCanvas(int width, int height, COLORREF colour, HBITMAP *bitmap)
{
    HDC screen = GetDC(NULL), dc = CreateCompatibleDC(screen);
    RECT all = { 0, 0, width, height };
    HBRUSH brush = CreateSolidBrush(colour);

    *bitmap = CreateCompatibleBitmap(screen, width, height);
    SelectObject(dc, *bitmap);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(NULL, screen);
    return dc;
}

static void FreeCanvas(HDC dc, HBITMAP bitmap)
{
    DeleteDC(dc);
    DeleteObject(bitmap);
}

static std::string iconAskedFor;

static void RecordingIconName(const char *rowText, char *iconName)
{
    iconAskedFor = rowText;
    lstrcpyA(iconName, "IDI_PRINTER");
}

TEST(DialogKit, IconListRowsHeightAndDrawing)
{
    MEASUREITEMSTRUCT measure = {};
    measure.itemHeight = 20;
    MeasureIconListItem(&measure);
    EXPECT_EQ(measure.itemHeight, 34u);
    measure.itemHeight = 40;
    MeasureIconListItem(&measure);
    EXPECT_EQ(measure.itemHeight, 40u);

    appInstance = GetModuleHandleA(NULL);
    HWND list, host = MakeListHost(&list);
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)"TARVOK QLP-RM550");
    HBITMAP bitmap;
    HDC dc = MakeCanvas(300, 40, RGB(0, 0, 0), &bitmap);

    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_LISTBOX;
    item.hwndItem = list;
    item.hDC = dc;
    item.rcItem = { 0, 0, 300, 34 };
    item.itemID = (UINT)-1;
    DrawIconListItem(&item, RecordingIconName);
    EXPECT_EQ(GetPixel(dc, 290, 5), RGB(0, 0, 0)) << "item -1 draws nothing";
    EXPECT_EQ(iconAskedFor, "");

    item.itemID = 0;
    item.itemState = ODS_SELECTED | ODS_FOCUS;
    DrawIconListItem(&item, RecordingIconName);
    EXPECT_EQ(iconAskedFor, "TARVOK QLP-RM550") << "the callback reads the row's text";
    EXPECT_EQ(GetPixel(dc, 250, 17), GetSysColor(COLOR_HIGHLIGHT)) << "the row is filled";
    EXPECT_EQ(GetPixel(dc, 290, 36), RGB(0, 0, 0)) << "nothing below the row";
    int bx = LOWORD(GetDialogBaseUnits());
    bool iconDrawn = false;
    for (int y = 1; y < 33 && !iconDrawn; y++)
        for (int x = bx; x < bx + 32 && !iconDrawn; x++)
            iconDrawn = GetPixel(dc, x, y) != GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_TRUE(iconDrawn) << "the icon stands left of the text";

    FreeCanvas(dc, bitmap);
    DestroyWindow(host);
}

TEST(DialogKit, SidePictureInASunkenFrame)
{
    appInstance = GetModuleHandleA(NULL);
    const COLORREF untouched = RGB(1, 2, 3);
    HBITMAP bitmap;
    HDC dc = MakeCanvas(60, 90, untouched, &bitmap);

    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_SIDE_PICTURE;
    item.hDC = dc;
    item.rcItem = { 10, 10, 50, 80 };
    item.itemID = (UINT)-1;
    DrawSidePicture(&item);
    EXPECT_EQ(GetPixel(dc, 30, 45), untouched) << "item -1 draws nothing";

    item.itemID = 0;
    DrawSidePicture(&item);
    /* The frame's dark line runs one pixel outside the picture's top left. */
    EXPECT_EQ(GetPixel(dc, 11, 20), RGB(0, 0, 0));
    EXPECT_NE(GetPixel(dc, 30, 45), untouched) << "the picture fills the inner rectangle";
    EXPECT_EQ(GetPixel(dc, 5, 45), untouched) << "nothing outside the item";

    FreeCanvas(dc, bitmap);
}

TEST(DialogKit, CopyProgressRoundsAndFillsTheBar)
{
    static const struct { int copied, count, percent, edge; } steps[] = {
        { 1, 3, 33, 99 }, { 2, 3, 67, 201 }, { 3, 3, 100, 300 }, { 0, 5, 0, 0 }, { 1, 7, 14, 42 }, { 0, 0, 0, 0 },
    };
    RECT bar = { 0, 0, 300, 20 }, shifted = { 10, 0, 311, 20 };

    for (auto &s : steps) {
        SCOPED_TRACE(std::to_string(s.copied) + "/" + std::to_string(s.count));
        int percent = ProgressPercent(s.copied, s.count);
        EXPECT_EQ(percent, s.percent);
        EXPECT_EQ(ProgressFillEdge(percent, &bar), s.edge);
    }
    /* At 100 % the fill reaches the right edge whatever the rounding. */
    EXPECT_EQ(ProgressFillEdge(100, &shifted), 311);
    EXPECT_EQ(ProgressFillEdge(50, &shifted), 160);
}

TEST(DialogKit, IconNamesOfModelAndPortRows)
{
    static const struct { const char *row, *icon; } ports[] = {
        { "FILE:", "IDI_SETUP" }, { "file:", "IDI_SETUP" }, { "LPT1:", "IDI_PORT" }, { "COM2:", "IDI_PORT" },
        { "com5:", "IDI_NETWORK" }, { "USB001", "IDI_NETWORK" }, { "FILE:X", "IDI_NETWORK" },
    };
    char buffer[260];

    for (auto &p : ports) {
        lstrcpyA(buffer, p.row);
        GetPortIconName(buffer, buffer);
        EXPECT_STREQ(buffer, p.icon) << p.row;
    }
    lstrcpyA(buffer, "ANY MODEL");
    GetModelIconName(buffer, buffer);
    EXPECT_STREQ(buffer, "IDI_PRINTER");
}
