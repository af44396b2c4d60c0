#include "engine_fixtures.h"
#include <gtest/gtest.h>
#include <stdlib.h>
#include "dialog_observer.h"
#include "install_state.h"
#include "pages.h"
#include "product.h"
#include "resource.h"

bool UseFixtureSetupInfoAt(const char *file, int line)
{
    char program[MAX_PATH];

    CreateDirectoryA("C:\\fixture", NULL);
    GetModuleFileNameA(NULL, program, sizeof program);
    if (CopyFileA(program, "C:\\fixture\\probe.exe", FALSE))
        appInstance = LoadLibraryExA("C:\\fixture\\probe.exe", NULL, DONT_RESOLVE_DLL_REFERENCES);
    if (appInstance && !lstrcmpiA(GetSetupInfoPath(), FIXTURE_INF_PATH)) return true;
    ADD_FAILURE_AT(file, line) << "setup information path is " << GetSetupInfoPath()
                               << " (error " << GetLastError() << "): run each test in a process of its own";
    return false;
}

bool WriteFixtureInfAt(const char *file, int line, const std::string &content)
{
    /* Every version gets a later write time, so the profile reader's cache
       never hands out the previous one. */
    static ULONGLONG stamp = 130000000000000000ULL;
    HANDLE handle = CreateFileA(FIXTURE_INF_PATH, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;

    stamp += 10000000;
    FILETIME time = { (DWORD)stamp, (DWORD)(stamp >> 32) };
    if (handle != INVALID_HANDLE_VALUE) {
        WriteFile(handle, content.data(), (DWORD)content.size(), &written, NULL);
        SetFileTime(handle, NULL, NULL, &time);
        CloseHandle(handle);
    }
    if (written == content.size()) return true;
    ADD_FAILURE_AT(file, line) << "cannot write " FIXTURE_INF_PATH ", error " << GetLastError();
    return false;
}

std::string PackageFile(const char *name)
{
    const char *dir = getenv("DRV_PACKAGE_DIR");
    std::string path = std::string("Z:") + (dir ? dir : "/DRV_PACKAGE_DIR-unset") + "/" + name;

    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

/* From a second thread: chooses the row, presses Next, and closes a warning
   and cancels the page if one comes. */
static DWORD WINAPI ChooseOnModelPage(void *param)
{
    const char *model = (const char *)param;
    HWND page = WaitForOwnDialog(NULL, IDC_MODEL_LIST), box;
    LRESULT row = LB_ERR;

    if (!page) return 1;
    HWND list = GetDlgItem(page, IDC_MODEL_LIST);
    if (model && (row = SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)model)) == LB_ERR)
        row = SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)model);
    SendMessageA(list, LB_SETCURSEL, row, 0);
    PostMessageA(page, WM_COMMAND, IDC_NEXT, 0);
    for (DWORD start = GetTickCount(); IsWindow(page) && GetTickCount() - start < 10000; Sleep(20)) {
        if (!(box = WaitForOwnDialog("Warinig", IDC_MESSAGE_TEXT, 0))) continue;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        WaitForOwnDialog(NULL, IDC_MODEL_LIST);
        PostMessageA(page, WM_COMMAND, IDCANCEL, 0);
        if ((box = WaitForOwnDialog("Question", IDC_MESSAGE_TEXT))) PostMessageA(box, WM_COMMAND, IDYES, 0);
    }
    return 0;
}

int NextOnModelPage(const char *model)
{
    HWND owner = MakeOwnerWindow();
    HANDLE thread = CreateThread(NULL, 0, ChooseOnModelPage, (void *)model, 0, NULL);
    INT_PTR result = RunModelPage(owner);

    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    DestroyWindow(owner);
    return result == PAGE_NEXT;
}

std::string JoinList(const char *list, size_t size)
{
    std::string joined;

    for (size_t i = 0, length; i < size && list[i]; i += length + 1) {
        length = strnlen(list + i, size - i);
        joined += (i ? "|" : "") + std::string(list + i, length);
    }
    return joined;
}

std::string RegistryData(HKEY root, const char *key, const char *name)
{
    char data[4096];
    DWORD size = sizeof data;
    if (RegGetValueA(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, NULL, data, &size)) return "<missing>";
    while (size && !data[size - 1]) size--;
    return std::string(data, size);
}

static DWORD WINAPI AnswerBoxes(LPVOID param)
{
    BoxWatch *watch = (BoxWatch *)param;
    char caption[256], text[1400];
    HWND box;
    DWORD process;

    while (!watch->stop) {
        Sleep(50);
        box = NULL;
        text[0] = 0;
        while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL) {
            GetWindowThreadProcessId(box, &process);
            if (process == GetCurrentProcessId()) break;
        }
        if (!box) continue;
        /* The text may come a moment after the box itself. */
        for (int tries = 0; tries < 100 && !GetDlgItemTextA(box, 0xFFFF, text, sizeof text); tries++) Sleep(20);
        if (!watch->boxes++) {
            GetWindowTextA(box, caption, sizeof caption);
            watch->caption = caption;
            watch->text = text;
            watch->owner = GetWindow(box, GW_OWNER);
        }
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (int tries = 0; tries < 250 && IsWindow(box); tries++) Sleep(20);
    }
    return 0;
}

void StartBoxWatch(BoxWatch *watch)
{
    *watch = BoxWatch();
    watch->thread = CreateThread(NULL, 0, AnswerBoxes, watch, 0, NULL);
}

void FinishBoxWatch(BoxWatch *watch)
{
    InterlockedExchange(&watch->stop, 1);
    WaitForSingleObject(watch->thread, INFINITE);
    CloseHandle(watch->thread);
}

void AddTestPrinter(const char *name)
{
    DRIVER_INFO_3A driver = {};
    PRINTER_INFO_2A printer = {};
    char env[] = "Windows x64", file[] = "UNIDRV.DLL", port[] = "USB001", processor[] = "winprint", type[] = "RAW";

    driver.cVersion = 3;
    driver.pName = (LPSTR)name;
    driver.pEnvironment = env;
    driver.pDriverPath = driver.pDataFile = driver.pConfigFile = file;
    ASSERT_TRUE(AddPrinterDriverA(NULL, 3, (BYTE *)&driver));
    printer.pPrinterName = printer.pDriverName = (LPSTR)name;
    printer.pPortName = port;
    printer.pPrintProcessor = processor;
    printer.pDatatype = type;
    HANDLE handle = AddPrinterA(NULL, 2, (BYTE *)&printer);
    ASSERT_TRUE(handle != NULL);
    ClosePrinter(handle);
}

int WineMajorVersion(void)
{
    typedef const char *(CDECL * VersionProc)(void);
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    VersionProc version =
        ntdll ? reinterpret_cast<VersionProc>(reinterpret_cast<void (*)(void)>(GetProcAddress(ntdll, "wine_get_version")))
              : NULL;

    return version ? atoi(version()) : 0;
}
