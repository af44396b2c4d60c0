/*
 * The removal program's window and timers run in this process, with spies in
 * front of the calls that Wine cannot answer as Windows would: where the
 * system keeps its INF files, and a restart that is cancelled after it was
 * requested.
 */
#include <windows.h>
#include <setupapi.h>
#include <gtest/gtest.h>
#include <string>
#include "engine_fixtures.h"
#include "import_spy.h"
#include "product.h"
#include "remover.h"
#include "restart_spy.h"

static const char *oemLookUpAnswer;
static std::string uninstalledName;
static int lookUps;

/* Under Wine the INF directory is always C:\windows\inf\; on Windows it is
   wherever the system was installed. */
static BOOL WINAPI SpySetupCopyOEMInfA(PCSTR, PCSTR, DWORD, DWORD, PSTR destination, DWORD size, PDWORD, PSTR *)
{
    lookUps++;
    lstrcpynA(destination, oemLookUpAnswer, size);
    return TRUE;
}

static BOOL WINAPI SpySetupUninstallOEMInfA(PCSTR name, DWORD, PVOID)
{
    uninstalledName = name;
    return TRUE;
}

/* Makes the folders on the way, too. */
static void WriteFile_(const char *path, const char *text)
{
    std::string folders = path;
    for (size_t at = folders.find('\\', 3); at != std::string::npos; at = folders.find('\\', at + 1))
        CreateDirectoryA(folders.substr(0, at).c_str(), NULL);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;

    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    WriteFile(file, text, lstrlenA(text), &written, NULL);
    CloseHandle(file);
}

/* A removal window like the program's, with its own removal timer stopped. */
static HWND CreateRemovalWindow(void)
{
    WNDCLASSA wc = {};

    wc.lpfnWndProc = RemoverWindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "RemovalTestWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, NULL, NULL,
                                wc.hInstance, NULL);
    if (hwnd) KillTimer(hwnd, TIMER_REMOVE);
    return hwnd;
}

/* Handles what the window posted itself; true when it ended the program. */
static bool RunPostedMessages(HWND hwnd)
{
    MSG msg;
    bool quit = false;

    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        if (msg.message == WM_TIMER) continue;
        DispatchMessageA(&msg);
    }
    return quit && !IsWindow(hwnd);
}

static const char OurSetupInfo[] = "[TarvokSystems]\r\n\"TARVOK QLP-RM550\"=QLRM550\r\n";
static const char ForeignSetupInfo[] = "[Version]\r\nSignature=\"$Windows NT$\"\r\n"
                                       "[Manufacturer]\r\nOther=Other\r\n[Other]\r\n\"Other\"=X\r\n";

/* Windows finds the copy by what the fixed path holds at the look-up, maybe
   swapped since its check; Wine by name and content alike. */
TEST(Removal, UninstallsTheInstalledCopyByTheNameAfterTheLastBackslash)
{
    static const struct
    {
        const char *installedAt, *content, *name;
    } cases[] = {
        { "C:\\Windows\\INF\\oem7.inf", OurSetupInfo, "oem7.inf" },
        { "C:\\WINNT\\INF\\oem12.inf", OurSetupInfo, "oem12.inf" },
        { "C:\\Windows.old\\INF\\oem3.inf", OurSetupInfo, "oem3.inf" },
        { "C:\\W\\inf\\oem120.inf", OurSetupInfo, "oem120.inf" },
        { "C:\\Program Files\\Windows\\System Root\\INF\\oem1.inf", OurSetupInfo, "oem1.inf" },
        { "C:\\Windows\\INF\\oem8.inf", ForeignSetupInfo, "<not called>" },
    };

    CreateDirectoryA("C:\\TARVOK", NULL);
    ASSERT_TRUE(CopyFileA(PackageFile("QLRM550.INF").c_str(), productIdentity.oemInfPath, FALSE));

    ReplaceImport("setupapi.dll", "SetupCopyOEMInfA", (void *)SpySetupCopyOEMInfA);
    ReplaceImport("setupapi.dll", "SetupUninstallOEMInfA", (void *)SpySetupUninstallOEMInfA);
    HWND hwnd = CreateRemovalWindow();
    ASSERT_TRUE(hwnd != NULL);

    for (const auto &c : cases) {
        SCOPED_TRACE(c.installedAt);
        WriteFile_(c.installedAt, c.content);
        oemLookUpAnswer = c.installedAt;
        uninstalledName = "<not called>";
        HandleRemovalTimer(hwnd, TIMER_REMOVE);
        EXPECT_EQ(uninstalledName, c.name);
    }

    /* A file at the fixed path that is not ours is never looked up. */
    WriteFile_(productIdentity.oemInfPath, ForeignSetupInfo);
    lookUps = 0;
    uninstalledName = "<not called>";
    HandleRemovalTimer(hwnd, TIMER_REMOVE);
    EXPECT_EQ(lookUps, 0);
    EXPECT_EQ(uninstalledName, "<not called>");
    DestroyWindow(hwnd);
    RunPostedMessages(hwnd);
}

static std::string deletedProcessor;

static BOOL WINAPI SpyDeletePrintProcessorA(LPSTR, LPSTR, LPSTR name)
{
    deletedProcessor = name;
    return TRUE;
}

static BOOL WINAPI UnreadablePrinter(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD needed)
{
    *needed = 0;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

/* The print processor the setup information names goes only with a printer
   that used it; the test printer uses winprint. Wine's DeletePrintProcessorA
   deletes nothing, so a spy records the call. */
TEST(Removal, ThePrintProcessorGoesOnlyWithItsPrinter)
{
    /* The [Strings] entry, whether the printer's record can be read, and
       the print processor deleted. */
    static const struct
    {
        const char *entry;
        bool recordRead;
        const char *deleted;
    } cases[] = {
        /* No name, and none read from the printer: nothing to match. First,
           while the program has read no name: one read stays. */
        { "", false, "<not called>" },
        { "winprint,x.dll", true, "winprint" }, { "WinPrint,x.dll", true, "WinPrint" },
        { "QLPPrintProc,x.dll", true, "<not called>" },
        /* With a soft hyphen: the same name linguistically, not to the spooler. */
        { "win\xa1\xa9print,x.dll", true, "<not called>" },
    };
    ASSERT_TRUE(USE_FIXTURE_SETUP_INFO());
    ReplaceImport("winspool.drv", "DeletePrintProcessorA", (void *)SpyDeletePrintProcessorA);
    HWND hwnd = CreateRemovalWindow();
    for (const auto &c : cases) {
        ASSERT_TRUE(WRITE_FIXTURE_INF("[QLP]\r\nPrintProcessor=%P%\r\n[Strings]\r\nP=" + std::string(c.entry) + "\r\n"));
        AddTestPrinter(productIdentity.printerModel);
        void *real = c.recordRead ? NULL : ReplaceImport("winspool.drv", "GetPrinterA", (void *)UnreadablePrinter);
        deletedProcessor = "<not called>";
        HandleRemovalTimer(hwnd, TIMER_REMOVE);
        if (real) ReplaceImport("winspool.drv", "GetPrinterA", real);
        EXPECT_EQ(deletedProcessor, c.deleted) << c.entry;
    }
    DestroyWindow(hwnd);
    RunPostedMessages(hwnd);
}

TEST(Removal, ARestartCancelledAfterItWasRequestedEndsTheProgram)
{
    static const struct
    {
        const char *what;
        bool asked;
        int answer;
        WPARAM endSession;
        bool ends;
    } cases[] = {
        { "another program's shutdown cancelled", false, 0, FALSE, false },
        { "restart requested, then cancelled", true, IDYES, FALSE, true },
        { "restart requested, then carried out", true, IDYES, TRUE, false },
    };

    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        HWND hwnd = CreateRemovalWindow();
        ASSERT_TRUE(hwnd != NULL);
        SpyOnRestart(c.answer, TRUE);
        if (c.asked) {
            HandleRemovalTimer(hwnd, TIMER_RESTART);
            EXPECT_EQ(restartSpy.requests, 1);
            EXPECT_FALSE(RunPostedMessages(hwnd)) << "after a request the system ends the program";
        }
        SendMessageA(hwnd, WM_ENDSESSION, c.endSession, 0);
        EXPECT_EQ(RunPostedMessages(hwnd), c.ends);
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        RunPostedMessages(hwnd);
    }
}

static BOOL (WINAPI *realDeletePrinter)(HANDLE);
static bool deletionRefused;

static BOOL WINAPI SpyDeletePrinter(HANDLE printer)
{
    if (!deletionRefused) return realDeletePrinter(printer);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

static BOOL WINAPI SpyNoInstalledCopy(PCSTR, PCSTR, DWORD, DWORD, PSTR, DWORD, PDWORD, PSTR *)
{
    lookUps++;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

/*
 * The quiet removal's exit codes. On Windows the look-up of the installed
 * copy with SP_COPY_REPLACEONLY fails after a drvsetup installation, which
 * makes none; Wine ignores the flag and makes the copy, so the scenarios see
 * 3010 there. Here spies answer as Windows would, and refuse the printer's
 * deletion as a spooler that keeps it would.
 */
TEST(Removal, QuietRunExitCodes)
{
    static const struct
    {
        const char *what;
        bool printer, installedCopy, refused;
        int restart;
        BOOL restartTaken;
        int exitCode, requests;
    } cases[] = {
        { "nothing installed", false, true, false, RESTART_LEFT_TO_CALLER, TRUE, 0, 0 },
        { "the printer without an installed copy", true, false, false, RESTART_LEFT_TO_CALLER, TRUE, 0, 0 },
        { "the printer and the installed copy", true, true, false, RESTART_NEVER, TRUE, 3010, 0 },
        { "the same with /forcerestart", true, true, false, RESTART_FORCED, TRUE, 1641, 1 },
        { "the restart refused", true, true, false, RESTART_FORCED, FALSE, 3010, 1 },
        { "the spooler keeps the printer", true, true, true, RESTART_LEFT_TO_CALLER, TRUE, 1603, 0 },
    };

    CreateDirectoryA("C:\\TARVOK", NULL);
    ASSERT_TRUE(CopyFileA(PackageFile("QLRM550.INF").c_str(), productIdentity.oemInfPath, FALSE));
    WriteFile_("C:\\Windows\\INF\\oem7.inf", OurSetupInfo);
    realDeletePrinter = (BOOL (WINAPI *)(HANDLE))ReplaceImport("winspool.drv", "DeletePrinter", (void *)SpyDeletePrinter);
    ASSERT_TRUE(realDeletePrinter != NULL);
    ReplaceImport("setupapi.dll", "SetupUninstallOEMInfA", (void *)SpySetupUninstallOEMInfA);
    oemLookUpAnswer = "C:\\Windows\\INF\\oem7.inf";

    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SwitchValues switches;
        StartSwitches(PROGRAM_REMOVE, &switches);
        switches.quiet = 1;
        switches.restart = c.restart;
        if (c.printer) AddTestPrinter(productIdentity.printerModel);
        ReplaceImport("setupapi.dll", "SetupCopyOEMInfA",
                      c.installedCopy ? (void *)SpySetupCopyOEMInfA : (void *)SpyNoInstalledCopy);
        SpyOnRestart(IDNO, c.restartTaken);
        deletionRefused = c.refused;
        EXPECT_EQ(RunQuietRemoval(&switches), c.exitCode);
        EXPECT_EQ(restartSpy.requests, c.requests);
        HANDLE printer;
        bool remains = OpenPrinterA((LPSTR)productIdentity.printerModel, &printer, NULL);
        if (remains) ClosePrinter(printer);
        EXPECT_EQ(remains, c.refused);
    }
}
