/*
 * Start-up and memory figures of the two programs beside a bare Win32
 * program, each started as a process of its own in the staged package: the
 * time to the Welcome page against a bare program that shows one dialog at
 * once, the time drvremove takes with nothing installed against a program
 * that ends at once, and the peak working set of a whole installation and
 * of a whole removal against the bare dialog.
 *
 * Usage: bench_startup <package directory> <bare program> [rounds]
 */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include "bench.h"
#include "resource.h"

#define WAIT_MS 30000
#define WIZARD_CAPTION "Tarvok Printer Driver Install Wizard"
#define WELCOME_WAITS_MS 1100   /* timer 3001 after 100 ms, then 1 s of status window */
#define REMOVAL_WAITS_MS 500    /* timer 3008 */

struct Child
{
    PROCESS_INFORMATION pi;
    double startMs;
    bool sampling;
    double peakBytes;
};

static char packageDir[MAX_PATH], setupProgram[MAX_PATH], removeProgram[MAX_PATH], bareProgram[MAX_PATH];

static bool Start(Child *child, const char *program, const char *arguments, bool sampling)
{
    char commandLine[2 * MAX_PATH];
    STARTUPINFOA startup;

    ZeroMemory(child, sizeof *child);
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    child->sampling = sampling;
    snprintf(commandLine, sizeof commandLine, "\"%s\"%s%s", program, arguments ? " " : "", arguments ? arguments : "");
    child->startMs = NowMs();
    if (CreateProcessA(program, commandLine, NULL, NULL, FALSE, 0, NULL, packageDir, &startup, &child->pi)) return true;
    fprintf(stderr, "cannot start %s: error %lu\n", program, GetLastError());
    return false;
}

/* The peak working set so far; Wine reports the peak resident set of the
   process, so the last sample before the end holds the whole run's peak. */
static void Sample(Child *child)
{
    PROCESS_MEMORY_COUNTERS counters;

    if (!child->sampling) return;
    if (GetProcessMemoryInfo(child->pi.hProcess, &counters, sizeof counters) &&
        counters.PeakWorkingSetSize > child->peakBytes)
        child->peakBytes = (double)counters.PeakWorkingSetSize;
}

static bool Ended(Child *child, DWORD waitMs)
{
    return WaitForSingleObject(child->pi.hProcess, waitMs) == WAIT_OBJECT_0;
}

static void End(Child *child)
{
    if (!Ended(child, 0)) TerminateProcess(child->pi.hProcess, 1);
    WaitForSingleObject(child->pi.hProcess, WAIT_MS);
    CloseHandle(child->pi.hThread);
    CloseHandle(child->pi.hProcess);
}

struct WindowSearch
{
    DWORD pid;
    const char *caption;
    int controlId;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param)
{
    WindowSearch *search = (WindowSearch *)param;
    char caption[256];
    DWORD pid = 0;
    HWND control;

    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd)) return TRUE;
    if (search->caption) {
        GetWindowTextA(hwnd, caption, sizeof caption);
        if (lstrcmpA(caption, search->caption)) return TRUE;
    }
    if (search->controlId) {
        control = GetDlgItem(hwnd, search->controlId);
        if (!control || !IsWindowVisible(control)) return TRUE;
    }
    search->found = hwnd;
    return FALSE;
}

/* A shown top-level window of the child with that caption and a shown
   control of that id; NULL when the child ends or after WAIT_MS. */
static HWND WaitForWindow(Child *child, const char *caption, int controlId)
{
    WindowSearch search = { child->pi.dwProcessId, caption, controlId, NULL };
    double start = NowMs();

    for (;;) {
        EnumWindows(MatchWindow, (LPARAM)&search);
        if (search.found) return search.found;
        Sample(child);
        if (Ended(child, 1) || NowMs() - start > WAIT_MS) return NULL;
    }
}

static void WaitForGone(Child *child, HWND window)
{
    double start = NowMs();

    while (IsWindow(window) && IsWindowVisible(window) && NowMs() - start < WAIT_MS) {
        Sample(child);
        if (Ended(child, 5)) return;
    }
}

static bool WaitForEnd(Child *child)
{
    double start = NowMs();

    while (!Ended(child, 10)) {
        Sample(child);
        if (NowMs() - start > WAIT_MS) return false;
    }
    return true;
}

static void Press(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, id, (LPARAM)GetDlgItem(window, id));
}

/* Milliseconds from the start to the shown window; -1 when it never shows. */
static double TimeToWindow(const char *program, const char *arguments, const char *caption, int controlId)
{
    Child child;
    HWND window;
    double elapsed;

    if (!Start(&child, program, arguments, false)) return -1;
    window = WaitForWindow(&child, caption, controlId);
    elapsed = NowMs() - child.startMs;
    End(&child);
    return window ? elapsed : -1;
}

static double TimeToEnd(const char *program, const char *arguments)
{
    Child child;
    double elapsed;
    bool ended;

    if (!Start(&child, program, arguments, false)) return -1;
    ended = WaitForEnd(&child);
    elapsed = NowMs() - child.startMs;
    End(&child);
    return ended ? elapsed : -1;
}

struct Step
{
    const char *caption;
    int controlId;
    int press;
};

/* The whole installation: every page with Next, the copy, the
   registration, and the exit page with OK. */
static const Step InstallationSteps[] = {
    { WIZARD_CAPTION, IDC_WELCOME_TEXT, IDC_NEXT },
    { WIZARD_CAPTION, IDC_MODEL_LIST, IDC_NEXT },
    { NULL, IDC_KIND_USB, IDC_NEXT },
    { WIZARD_CAPTION, IDC_PORT_LIST, IDC_NEXT },
    { NULL, IDC_DEFAULT_PRINTER, IDOK },
};
/* The removal of that installation ends with the restart question. */
static const Step RemovalSteps[] = {
    { "Question", 0, IDNO },
};
static const Step BareSteps[] = {
    { BARE_CAPTION, BARE_TEXT, IDOK },
};

/* The peak working set in bytes of a run through the steps; -1 when a step
   does not come or the program does not end. */
static double PeakOfRun(const char *program, const char *arguments, const Step *steps, int count)
{
    Child child;
    HWND window;
    bool ended;

    if (!Start(&child, program, arguments, true)) return -1;
    for (int i = 0; i < count; i++) {
        window = WaitForWindow(&child, steps[i].caption, steps[i].controlId);
        if (!window) {
            fprintf(stderr, "%s: step %d did not come\n", program, i + 1);
            End(&child);
            return -1;
        }
        Press(window, steps[i].press);
        WaitForGone(&child, window);
    }
    ended = WaitForEnd(&child);
    End(&child);
    return ended ? child.peakBytes : -1;
}

static void JoinPath(char *path, const char *directory, const char *name)
{
    snprintf(path, MAX_PATH, "%s\\%s", directory, name);
}

int main(int argc, char **argv)
{
    double welcome[MAX_ROUNDS], bareDialog[MAX_ROUNDS], removal[MAX_ROUNDS], bareEnd[MAX_ROUNDS];
    double setupPeak[MAX_ROUNDS], removePeak[MAX_ROUNDS], barePeak[MAX_ROUNDS];
    int rounds;

    if (argc < 3) {
        fprintf(stderr, "usage: bench_startup <package directory> <bare program> [rounds]\n");
        return 2;
    }
    snprintf(packageDir, sizeof packageDir, "%s", argv[1]);
    snprintf(bareProgram, sizeof bareProgram, "%s", argv[2]);
    JoinPath(setupProgram, packageDir, "drvsetup.exe");
    JoinPath(removeProgram, packageDir, "drvremove.exe");
    rounds = RoundsFrom(argc > 3 ? argv[3] : NULL);

    /* Round -1 is not counted: the first start of each program reads its
       files from disk. */
    for (int round = -1; round < rounds; round++) {
        double figures[] = {
            TimeToWindow(setupProgram, NULL, WIZARD_CAPTION, IDC_WELCOME_TEXT),
            TimeToWindow(bareProgram, "dialog", BARE_CAPTION, BARE_TEXT),
            TimeToEnd(removeProgram, NULL),
            TimeToEnd(bareProgram, NULL),
        };
        for (double figure : figures) {
            if (figure < 0) {
                fprintf(stderr, "a start-up run failed in round %d\n", round + 1);
                return 1;
            }
        }
        if (round < 0) continue;
        welcome[round] = figures[0];
        bareDialog[round] = figures[1];
        removal[round] = figures[2];
        bareEnd[round] = figures[3];
    }
    for (int round = 0; round < rounds; round++) {
        setupPeak[round] = PeakOfRun(setupProgram, NULL, InstallationSteps, ARRAYSIZE(InstallationSteps));
        removePeak[round] = PeakOfRun(removeProgram, NULL, RemovalSteps, ARRAYSIZE(RemovalSteps));
        barePeak[round] = PeakOfRun(bareProgram, "dialog", BareSteps, ARRAYSIZE(BareSteps));
        if (setupPeak[round] < 0 || removePeak[round] < 0 || barePeak[round] < 0) {
            fprintf(stderr, "a full run failed in round %d\n", round + 1);
            return 1;
        }
    }

    ReportTime("start to Welcome page (less 1100 ms waits)", welcome, bareDialog, rounds, WELCOME_WAITS_MS,
               AIM_BEYOND_MS, 100);
    ReportTime("drvremove, nothing installed (less 500 ms)", removal, bareEnd, rounds, REMOVAL_WAITS_MS,
               AIM_BEYOND_MS, 50);
    ReportMemory("peak working set, whole installation", setupPeak, barePeak, rounds, 4);
    ReportMemory("peak working set, whole removal", removePeak, barePeak, rounds, 4);
    return 0;
}
