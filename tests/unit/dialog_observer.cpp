#include <windows.h>
#include <gtest/gtest.h>
#include "dialog_observer.h"
#include "png_writer.h"

struct ObserverJob
{
    const ObserverPlan *plan;
    Observation *seen;
};

static HWND FindOwnDialog(void)
{
    HWND hwnd = NULL;
    DWORD pid;

    while ((hwnd = FindWindowExA(NULL, hwnd, "#32770", NULL))) {
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd)) return hwnd;
    }
    return NULL;
}

static BOOL CALLBACK CollectButton(HWND child, LPARAM param)
{
    char cls[32];
    std::vector<int> *ids = (std::vector<int> *)param;

    GetClassNameA(child, cls, sizeof cls);
    if (!lstrcmpiA(cls, "Button") && IsWindowVisible(child)) ids->push_back(GetDlgCtrlID(child));
    return TRUE;
}

static DWORD WINAPI Observe(void *param)
{
    ObserverJob *job = (ObserverJob *)param;
    const ObserverPlan *plan = job->plan;
    Observation *seen = job->seen;
    char text[1024];
    HWND dialog = NULL;

    for (int i = 0; i < 400 && !dialog; i++) {
        Sleep(50);
        dialog = FindOwnDialog();
    }
    seen->seen = dialog != NULL;
    if (dialog) {
        Sleep(300);
        GetWindowTextA(dialog, text, sizeof text);
        seen->caption = text;
        EnumChildWindows(dialog, CollectButton, (LPARAM)&seen->buttonIds);
        for (int id : plan->textIds) {
            text[0] = 0;
            GetDlgItemTextA(dialog, id, text, sizeof text);
            seen->texts.push_back(text);
        }
        if (plan->iconId) seen->icon = (HICON)SendDlgItemMessageA(dialog, plan->iconId, STM_GETICON, 0, 0);
        if (plan->checkBoxId) {
            seen->boxShown = IsWindowVisible(GetDlgItem(dialog, plan->checkBoxId)) != 0;
            seen->boxChecked = IsDlgButtonChecked(dialog, plan->checkBoxId) == BST_CHECKED;
            if (plan->toggleCheckBox) SendDlgItemMessageA(dialog, plan->checkBoxId, BM_CLICK, 0, 0);
        }
        GetWindowRect(dialog, &seen->rect);
        if (plan->shot) SaveScreenPng(&seen->rect, TestResultsPath(plan->shot).c_str());
        PostMessageA(dialog, WM_COMMAND, plan->command, 0);
    }
    delete job;
    return 0;
}

HANDLE StartObserver(const ObserverPlan *plan, Observation *seen)
{
    ObserverJob *job = new ObserverJob{ plan, seen };

    *seen = Observation();
    return CreateThread(NULL, 0, Observe, job, 0, NULL);
}

void FinishObserver(HANDLE thread)
{
    EXPECT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0) << "the observer did not finish";
    CloseHandle(thread);
}

HWND WaitForOwnDialog(const char *caption, int controlId, DWORD timeoutMs)
{
    DWORD start = GetTickCount(), pid;

    do {
        HWND hwnd = NULL;
        while ((hwnd = FindWindowExA(NULL, hwnd, "#32770", caption))) {
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) &&
                (!controlId || GetDlgItem(hwnd, controlId))) {
                Sleep(200);
                return hwnd;
            }
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return NULL;
}

HWND MakeOwnerWindow(void)
{
    RECT desktop;

    GetWindowRect(GetDesktopWindow(), &desktop);
    return CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, desktop.left, desktop.top,
                           desktop.right, desktop.bottom, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

std::string TestResultsPath(const char *name)
{
    const char *unixDir = getenv("DRV_RESULTS_DIR");
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string dir = unixDir ? std::string("Z:") + unixDir : std::string("C:\\test-results");

    for (char &c : dir) if (c == '/') c = '\\';
    CreateDirectoryA(dir.c_str(), NULL);
    dir += "\\DialogKit";
    CreateDirectoryA(dir.c_str(), NULL);
    return dir + "\\" + (test ? test->name() : "shot") + "-" + name + ".png";
}
