/*
 * The registry cleanup of an earlier installation, on keys of our own, and
 * the end of the registration phase.
 */
#include <windows.h>
#include <delayimp.h>
#include <gtest/gtest.h>
#include <string>
#include "controller.h"
#include "import_spy.h"
#include "install_state.h"
#include "phases.h"
#include "product.h"
#include "restart_spy.h"
#include "system_dlls.h"
#include "textbuf.h"

static const char Root[] = "Software\\CleanupTest";

static void MakeKey(const std::string &path)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS) << path;
    RegSetValueExA(key, "v", 0, REG_SZ, (const BYTE *)"1", 2);
    RegCloseKey(key);
}

static bool KeyExists(const std::string &path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key)) return false;
    RegCloseKey(key);
    return true;
}

TEST(Cleanup, DeleteRegistryTreeTakesEveryLevel)
{
    char names[NAME_SIZE];
    std::string root = Root;

    /* Deleting renumbers the subkeys: several at each level catch an
       enumeration that skips every second one. */
    for (const char *sub : { "\\a\\x\\deep", "\\a\\y", "\\b", "\\c\\z", "\\d", "\\e" }) MakeKey(root + sub);
    EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, Root, names), 0);
    EXPECT_FALSE(KeyExists(root));
    EXPECT_TRUE(KeyExists("Software")) << "nothing above the tree";

    EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, Root, names), -1) << "a key that cannot be opened";
}

static int enumerations;

/* A registry that refuses the enumeration, as an access check can on Windows. */
static LONG WINAPI RefusingRegEnumKeyA(HKEY, DWORD, LPSTR name, DWORD)
{
    enumerations++;
    if (name) name[0] = 'Z';
    return ERROR_ACCESS_DENIED;
}

TEST(Cleanup, AnEnumerationThatFailsEndsTheDeletion)
{
    char names[NAME_SIZE];
    std::string root = Root;

    MakeKey(root + "\\a\\b");
    void *real = ReplaceImport("advapi32.dll", "RegEnumKeyA", (void *)RefusingRegEnumKeyA);
    ASSERT_TRUE(real != NULL);
    EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, Root, names), 0);
    ReplaceImport("advapi32.dll", "RegEnumKeyA", real);
    EXPECT_EQ(enumerations, 1) << "no name was read, so none is deleted";
    EXPECT_TRUE(KeyExists(root + "\\a\\b"));
    EXPECT_TRUE(KeyExists(root)) << "a key that still holds a subkey stays";
}

/*
 * After Yes to the cleanup of an earlier installation, Windows may still
 * cancel the restart (another program refuses it, or the user does) and
 * then sends WM_ENDSESSION with FALSE, or nothing but a close from outside
 * when this program was not asked yet. The program then ends as when the
 * restart could not be requested at all: its window is destroyed, without
 * an exit page.
 */
TEST(Cleanup, ARestartThatDoesNotHappenEndsTheProgram)
{
    static const struct
    {
        const char *what;
        BOOL requested;
        UINT message;
        WPARAM wParam;
        bool windowLeft;
    } cases[] = {
        { "request refused", FALSE, WM_ENDSESSION, FALSE, false },
        { "request taken, then cancelled", TRUE, WM_ENDSESSION, FALSE, false },
        { "request taken, then closed from outside", TRUE, WM_CLOSE, 0, false },
        { "request taken and carried out", TRUE, WM_ENDSESSION, TRUE, true },
    };
    WNDCLASSA wc = {};

    wc.lpfnWndProc = ControllerWindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "CleanupTestController";
    ASSERT_TRUE(RegisterClassA(&wc));

    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        HKEY trace;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\A4 210 x 297mm",
                                  0, NULL, 0, KEY_ALL_ACCESS, NULL, &trace, NULL), ERROR_SUCCESS);
        RegCloseKey(trace);
        HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, NULL, NULL,
                                    wc.hInstance, NULL);
        ASSERT_TRUE(hwnd != NULL);
        KillTimer(hwnd, TIMER_READ_SETUP_INFO);
        SpyOnRestart(IDYES, c.requested);
        HandlePhaseTimer(hwnd, TIMER_CHECK_PREVIOUS);
        EXPECT_EQ(restartSpy.requests, 1);
        if (IsWindow(hwnd)) SendMessageA(hwnd, c.message, c.wParam, 0);
        EXPECT_EQ(IsWindow(hwnd) != 0, c.windowLeft);

        MSG msg;
        bool quit = false, closePosted = false;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) quit = true;
            if (msg.message == WM_CLOSE) closePosted = true;
        }
        EXPECT_EQ(quit, !c.windowLeft);
        EXPECT_FALSE(closePosted) << "no exit page";
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            ;
    }
}

/* ClosePrinter as the delay-load helper calls it when the spooler's library
   lacks the function: it asks the failure hook and calls what that hands back. */
static BOOL WINAPI MissingClosePrinter(HANDLE printer)
{
    DelayLoadInfo info = {};

    info.cb = sizeof info;
    info.szDll = "WINSPOOL.DRV";
    info.dlp.fImportByName = TRUE;
    info.dlp.szProcName = "ClosePrinter";
    FARPROC standIn = __pfnDliFailureHook2(dliFailGetProc, &info);
    return reinterpret_cast<BOOL(WINAPI *)(HANDLE)>(reinterpret_cast<void (*)(void)>(standIn))(printer);
}

/* The printer is added, and only the closing of its handle fails: the
   registration reports success, and the phase must not. */
TEST(RegistrationPhase, AFunctionMissingInItEndsOnTheFailurePage)
{
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    MSG msg;
    WPARAM status = 0;

    lstrcpyA(installState.modelName, "TARVOK QLP-RM550");
    lstrcpyA(installState.portName, "USB001");
    lstrcpyA(installState.printProcessorName, "winprint");
    lstrcpyA(installState.dataType, "RAW");
    installState.environment = GetSpoolerEnvironment();
    ASSERT_TRUE(ReplaceImport("winspool.drv", "ClosePrinter", (void *)MissingClosePrinter) != NULL);
    HandlePhaseTimer(hwnd, TIMER_REGISTER);
    ASSERT_TRUE(SystemLibraryFailed());
    HandlePhaseTimer(hwnd, TIMER_FINISH);
    while (PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE))
        if (msg.message == WM_CLOSE) status = msg.wParam;
    EXPECT_EQ(status, (WPARAM)EXIT_FAILED);
    DestroyWindow(hwnd);
}
