/* The robot's hands and eyes: it finds the programs' windows, reads and
   clicks their controls, answers their messages and takes screenshots. */
#include <windows.h>
#include <gtest/gtest.h>
#include <string.h>
#include "robot.h"
#include "png_writer.h"

struct PageSearch
{
    DWORD pid;
    int controlId;
    const char *caption;
    HWND found;
    std::vector<HWND> *all;
};

static BOOL CALLBACK MatchPage(HWND hwnd, LPARAM param)
{
    PageSearch *search = (PageSearch *)param;
    DWORD pid = 0;
    char className[64];

    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd)) return TRUE;
    GetClassNameA(hwnd, className, sizeof className);
    if (strcmp(className, "#32770")) return TRUE;
    if (search->all) {
        search->all->push_back(hwnd);
        return TRUE;
    }
    if (search->controlId && !GetDlgItem(hwnd, search->controlId)) return TRUE;
    if (search->caption && WindowText(hwnd) != search->caption) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND FindPage(DWORD pid, int controlId, const char *caption)
{
    PageSearch search = { pid, controlId, caption, NULL, NULL };

    EnumWindows(MatchPage, (LPARAM)&search);
    return search.found;
}

std::vector<HWND> TopLevelDialogs(DWORD pid)
{
    std::vector<HWND> all;
    PageSearch search = { pid, 0, NULL, NULL, &all };

    EnumWindows(MatchPage, (LPARAM)&search);
    return all;
}

struct VisibleSearch
{
    DWORD pid;
    HWND found;
};

static BOOL CALLBACK MatchVisible(HWND hwnd, LPARAM param)
{
    VisibleSearch *search = (VisibleSearch *)param;
    DWORD pid = 0;

    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND VisibleWindow(DWORD pid)
{
    VisibleSearch search = { pid, NULL };

    EnumWindows(MatchVisible, (LPARAM)&search);
    return search.found;
}

HWND WaitForPage_(int line, Program *program, int controlId, const char *caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    HWND page;

    do {
        page = FindPage(program->pi.dwProcessId, controlId, caption);
        if (page) {
            /* Let the dialog finish its first paint before anyone looks at it. */
            Sleep(300);
            return page;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    ADD_FAILURE_AT(__FILE__, line) << "no dialog with control " << controlId
                                   << (caption ? " and caption " : "") << (caption ? caption : "")
                                   << " within " << timeoutMs << " ms";
    return NULL;
}

HWND WaitForCaption_(int line, Program *program, const char *caption, DWORD timeoutMs)
{
    return WaitForPage_(line, program, 0, caption, timeoutMs);
}

bool WaitForGone_(int line, HWND hwnd, DWORD timeoutMs)
{
    DWORD start = GetTickCount();

    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (GetTickCount() - start > timeoutMs) {
            ADD_FAILURE_AT(__FILE__, line) << "window " << WindowText(hwnd) << " still open";
            return false;
        }
        Sleep(50);
    }
    return true;
}

std::string WindowText(HWND hwnd)
{
    char text[4096];

    text[0] = 0;
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);

    return control ? WindowText(control) : std::string("<no control>");
}

static BOOL CALLBACK CollectText(HWND hwnd, LPARAM param)
{
    std::string *all = (std::string *)param;
    *all += WindowText(hwnd);
    *all += "\n";
    return TRUE;
}

std::string AllTexts(HWND dialog)
{
    std::string all;

    EnumChildWindows(dialog, CollectText, (LPARAM)&all);
    return all;
}

static LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;

    SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return (LRESULT)result;
}

/* The W message: the A one hands another process only the first character. */
std::vector<std::string> ListRows(HWND dialog, int id)
{
    std::vector<std::string> rows;
    HWND list = GetDlgItem(dialog, id);
    int count = list ? (int)Ask(list, LB_GETCOUNT, 0, 0) : 0;

    for (int i = 0; i < count; i++) {
        int length = (int)Ask(list, LB_GETTEXTLEN, i, 0);
        std::vector<WCHAR> wide(length + 1);
        std::vector<char> narrow(2 * length + 2);
        Ask(list, LB_GETTEXT, i, (LPARAM)&wide[0]);
        WideCharToMultiByte(CP_ACP, 0, &wide[0], -1, &narrow[0], (int)narrow.size(), NULL, NULL);
        rows.push_back(&narrow[0]);
    }
    return rows;
}

int ListSelection(HWND dialog, int id)
{
    return (int)Ask(GetDlgItem(dialog, id), LB_GETCURSEL, 0, 0);
}

bool IsChecked(HWND dialog, int id)
{
    return Ask(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool WaitForCheck(HWND dialog, int id, bool checked)
{
    DWORD start = GetTickCount();

    while (IsChecked(dialog, id) != checked) {
        if (GetTickCount() - start > WAIT_MS) return false;
        Sleep(50);
    }
    return true;
}

bool IsShown(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control && IsWindowVisible(control);
}

HICON ControlIcon(HWND dialog, int id)
{
    return (HICON)Ask(GetDlgItem(dialog, id), STM_GETICON, 0, 0);
}

void Click(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);

    if (control)
        PostMessageA(control, BM_CLICK, 0, 0);
    else
        PostMessageA(dialog, WM_COMMAND, id, 0);
}

void SelectRow(HWND dialog, int listId, int row)
{
    Ask(GetDlgItem(dialog, listId), LB_SETCURSEL, row, 0);
}

void Screenshot(HWND hwnd, const char *name)
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string path = ResultsDir() + "\\" + (test ? test->name() : "shot") + "-" + name + ".png";
    RECT r;

    if (!hwnd || !GetWindowRect(hwnd, &r)) return;
    UpdateWindow(hwnd);
    Sleep(100);
    EXPECT_TRUE(SaveScreenPng(&r, path.c_str())) << path;
}

void AnswerMessage_(int line, Program *program, const char *caption, const char *expectedText, int button)
{
    HWND box = WaitForPage_(line, program, 0, caption, WAIT_MS);

    if (!box) return;
    if (expectedText && AllTexts(box).find(expectedText) == std::string::npos)
        ADD_FAILURE_AT(__FILE__, line) << "message \"" << caption << "\" says:\n" << AllTexts(box)
                                       << "expected: " << expectedText;
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitForGone_(line, box, WAIT_MS);
}
