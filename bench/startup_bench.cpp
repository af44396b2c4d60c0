/*
 * Start-up and memory figures of the two programs beside bare Win32
 * programs. The test robot starts each one as a process of its own in the
 * staged package and walks its windows:
 * - the time to the Welcome page against a program that shows one dialog
 *   at once;
 * - the time drvremove takes with nothing installed against a program that
 *   ends at once;
 * - the peak working set of a whole installation and of a whole removal,
 *   against the one-dialog program and against a program that loads the
 *   same platform libraries and shows the same picture;
 * - a quiet installation on COM1: and the quiet removal after it, start to
 *   end, against a program that makes the same platform calls.
 *
 * Usage: bench_startup <package directory> <directory of the bare programs> [rounds]
 */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include "bare_dialog.h"
#include "bench.h"
#include "resource.h"
#include "robot.h"

#define WIZARD_CAPTION "Tarvok Printer Driver Install Wizard"
/* The start-up check's status window opens 100 ms after the start and
   stays for one second before the Welcome page opens. */
#define WELCOME_WAITS_MS 1100
/* The removal begins half a second after its hidden window is made. */
#define REMOVAL_WAITS_MS 500
/* The exit page comes some eight seconds after the Port page: the copy and
   the registration phase's designed waits. */
#define STEP_WAIT_MS 30000

static char packageDir[MAX_PATH], setupProgram[MAX_PATH], removeProgram[MAX_PATH];
static char bareExit[MAX_PATH], bareDialog[MAX_PATH], barePlatform[MAX_PATH], bareQuiet[MAX_PATH];

/* Milliseconds from the start to a shown dialog of the program; -1 when
   none shows. The robot's own waits look twenty times a second, too seldom
   for this figure. */
static double TimeToPage(const char *program, int controlId, const char *caption)
{
    Program child;
    double start = NowMs(), elapsed = -1;

    if (!StartProgram(&child, program, packageDir)) return -1;
    while (NowMs() - start < WAIT_MS) {
        if (FindPage(child.pi.dwProcessId, controlId, caption)) {
            elapsed = NowMs() - start;
            break;
        }
        if (WaitForSingleObject(child.pi.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    EndProgram(&child);
    return elapsed;
}

/* Milliseconds from the start to the end; -1 when the program does not end
   with the exit code given. */
static double TimeToEnd(const char *program, const char *arguments = NULL, int exitCode = 0)
{
    Program child;
    double start = NowMs();

    if (!StartProgram(&child, program, packageDir, arguments)) return -1;
    return WaitForExit(&child) == exitCode ? NowMs() - start : -1;
}

struct PeakWatch
{
    HANDLE process;
    double peakBytes;
};

/*
 * Wine answers with the peak resident set that Linux keeps for the process,
 * so the highest sample holds the whole run's peak up to the last few
 * milliseconds; the figure cannot be read once the process has ended.
 */
static DWORD WINAPI WatchPeak(void *param)
{
    PeakWatch *watch = (PeakWatch *)param;
    PROCESS_MEMORY_COUNTERS counters;

    do {
        if (GetProcessMemoryInfo(watch->process, &counters, sizeof counters) &&
            counters.PeakWorkingSetSize > watch->peakBytes)
            watch->peakBytes = (double)counters.PeakWorkingSetSize;
    } while (WaitForSingleObject(watch->process, 5) == WAIT_TIMEOUT);
    return 0;
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
static const Step BareDialogSteps[] = {
    { BARE_CAPTION, BARE_TEXT, IDOK },
};
static const Step BarePlatformSteps[] = {
    { WIZARD_CAPTION, IDC_WELCOME_TEXT, IDCANCEL },
};

/* The peak working set in bytes of a run through the steps; -1 when a step
   does not come or the program does not end with exit code 0. */
static double PeakOfRun(const char *program, const Step *steps, int count)
{
    Program child;
    PeakWatch watch = { NULL, 0 };
    HANDLE watcher = NULL;
    int done, code = -1;

    if (!StartProgram(&child, program, packageDir)) return -1;
    if (DuplicateHandle(GetCurrentProcess(), child.pi.hProcess, GetCurrentProcess(), &watch.process,
                        SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, 0))
        watcher = CreateThread(NULL, 0, WatchPeak, &watch, 0, NULL);
    for (done = 0; done < count; done++) {
        HWND page = WaitForPage_(__LINE__, &child, steps[done].controlId, steps[done].caption, STEP_WAIT_MS);
        if (!page) break;
        Click(page, steps[done].press);
        WaitForGone(page);
    }
    if (done == count)
        code = WaitForExit(&child);
    else
        EndProgram(&child);
    if (watcher) {
        WaitForSingleObject(watcher, INFINITE);
        CloseHandle(watcher);
    }
    if (watch.process) CloseHandle(watch.process);
    return code == 0 && watcher ? watch.peakBytes : -1;
}

static void JoinPath(char *path, const char *directory, const char *name)
{
    snprintf(path, MAX_PATH, "%s\\%s", directory, name);
}

int main(int argc, char **argv)
{
    double welcome[MAX_ROUNDS], dialog[MAX_ROUNDS], removal[MAX_ROUNDS], exitAtOnce[MAX_ROUNDS];
    double setupPeak[MAX_ROUNDS], removePeak[MAX_ROUNDS], dialogPeak[MAX_ROUNDS], platformPeak[MAX_ROUNDS];
    double quietInstall[MAX_ROUNDS], quietRemoval[MAX_ROUNDS], bareInstall[MAX_ROUNDS], bareRemoval[MAX_ROUNDS];
    int rounds;

    if (argc < 3) {
        fprintf(stderr, "usage: bench_startup <package directory> <directory of the bare programs> [rounds]\n");
        return 2;
    }
    snprintf(packageDir, sizeof packageDir, "%s", argv[1]);
    JoinPath(setupProgram, packageDir, "drvsetup.exe");
    JoinPath(removeProgram, packageDir, "drvremove.exe");
    JoinPath(bareExit, argv[2], "bench_bare_exit.exe");
    JoinPath(bareDialog, argv[2], "bench_bare_dialog.exe");
    JoinPath(barePlatform, argv[2], "bench_bare_platform.exe");
    JoinPath(bareQuiet, argv[2], "bench_bare_quiet.exe");
    rounds = RoundsFrom(argc > 3 ? argv[3] : NULL);

    /* Round -1 is not counted: the first start of each program reads its
       files from disk. */
    for (int round = -1; round < rounds; round++) {
        double figures[] = {
            TimeToPage(setupProgram, IDC_WELCOME_TEXT, WIZARD_CAPTION),
            TimeToPage(bareDialog, BARE_TEXT, BARE_CAPTION),
            TimeToEnd(removeProgram),
            TimeToEnd(bareExit),
        };
        for (double figure : figures) {
            if (figure < 0) {
                fprintf(stderr, "a start-up run failed in round %d\n", round + 1);
                return 1;
            }
        }
        if (round < 0) continue;
        welcome[round] = figures[0];
        dialog[round] = figures[1];
        removal[round] = figures[2];
        exitAtOnce[round] = figures[3];
    }
    /* Each installation starts from the removal before it. Wine makes the
       installed copy of the setup information that the removal then finds,
       so the quiet removal ends with 3010 there (0 on Windows). */
    for (int round = -1; round < rounds; round++) {
        double figures[] = {
            TimeToEnd(setupProgram, "/quiet /port:COM1:"),
            TimeToEnd(removeProgram, "/quiet", 3010),
            TimeToEnd(bareQuiet, "install"),
            TimeToEnd(bareQuiet, "remove"),
        };
        for (double figure : figures) {
            if (figure < 0) {
                fprintf(stderr, "a quiet run failed in round %d\n", round + 1);
                return 1;
            }
        }
        if (round < 0) continue;
        quietInstall[round] = figures[0];
        quietRemoval[round] = figures[1];
        bareInstall[round] = figures[2];
        bareRemoval[round] = figures[3];
    }
    for (int round = 0; round < rounds; round++) {
        setupPeak[round] = PeakOfRun(setupProgram, InstallationSteps, ARRAYSIZE(InstallationSteps));
        removePeak[round] = PeakOfRun(removeProgram, RemovalSteps, ARRAYSIZE(RemovalSteps));
        dialogPeak[round] = PeakOfRun(bareDialog, BareDialogSteps, ARRAYSIZE(BareDialogSteps));
        platformPeak[round] = PeakOfRun(barePlatform, BarePlatformSteps, ARRAYSIZE(BarePlatformSteps));
        if (setupPeak[round] < 0 || removePeak[round] < 0 || dialogPeak[round] < 0 || platformPeak[round] < 0) {
            fprintf(stderr, "a full run failed in round %d\n", round + 1);
            return 1;
        }
    }

    ReportTime("start to Welcome page (less 1100 ms of waits)", welcome, dialog, rounds, WELCOME_WAITS_MS,
               AIM_BEYOND_MS, 100);
    ReportTime("drvremove, nothing installed (less 500 ms wait)", removal, exitAtOnce, rounds, REMOVAL_WAITS_MS,
               AIM_BEYOND_MS, 50);
    ReportTime("quiet installation, start to end", quietInstall, bareInstall, rounds, 0, AIM_RATIO, 1.3);
    ReportTime("quiet removal, start to end", quietRemoval, bareRemoval, rounds, 0, AIM_RATIO, 1.3);
    ReportMemory("peak working set, installation / one dialog", setupPeak, dialogPeak, rounds, 4);
    ReportMemory("peak working set, removal / one dialog", removePeak, dialogPeak, rounds, 4);
    ReportMemory("peak working set, installation / platform, picture", setupPeak, platformPeak, rounds, 4);
    ReportMemory("peak working set, removal / platform, picture", removePeak, platformPeak, rounds, 4);
    ReportMemory("peak working set, platform, picture / one dialog", platformPeak, dialogPeak, rounds, -1);
    return 0;
}
