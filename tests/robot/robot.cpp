#include <windows.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include "robot.h"
#include "png_writer.h"

static std::string WindowsPathFromEnv(const char *name)
{
    const char *unixPath = getenv(name);
    std::string path = "Z:";

    if (!unixPath || !*unixPath) return "";
    path += unixPath;
    for (size_t i = 0; i < path.size(); i++)
        if (path[i] == '/') path[i] = '\\';
    return path;
}

/* A folder the ANSI code page cannot name is still a folder of the test. */
static std::wstring Wide(const char *utf8)
{
    wchar_t wide[MAX_PATH * 2];

    if (!MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, MAX_PATH * 2)) return L"";
    return wide;
}

std::string PackageDir(void)
{
    return WindowsPathFromEnv("DRV_PACKAGE_DIR");
}

std::string ResultsDir(void)
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string dir = WindowsPathFromEnv("DRV_RESULTS_DIR");

    if (dir.empty()) dir = "C:\\test-results";
    CreateDirectoryA(dir.c_str(), NULL);
    if (test) {
        dir += "\\";
        dir += test->test_suite_name();
        CreateDirectoryA(dir.c_str(), NULL);
    }
    return dir;
}

void StagePackage(const char *targetDir)
{
    std::string source = PackageDir();
    WIN32_FIND_DATAA found;
    HANDLE search;

    ASSERT_FALSE(source.empty()) << "DRV_PACKAGE_DIR is not set";
    CreateDirectoryW(Wide(targetDir).c_str(), NULL);
    search = FindFirstFileA((source + "\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no package at " << source;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string from = source + "\\" + found.cFileName;
        std::string to = std::string(targetDir) + "\\" + found.cFileName;
        EXPECT_TRUE(CopyFileW(Wide(from.c_str()).c_str(), Wide(to.c_str()).c_str(), FALSE)) << from;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void WriteTextFile(const char *path, const char *text)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written;

    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    WriteFile(file, text, (DWORD)strlen(text), &written, NULL);
    CloseHandle(file);
}

void WriteDataFile(const char *path, const std::string &data)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;

    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    WriteFile(file, data.data(), (DWORD)data.size(), &written, NULL);
    CloseHandle(file);
    EXPECT_EQ(written, (DWORD)data.size()) << path;
}

std::string SendJobProgram(void)
{
    return WindowsPathFromEnv("DRV_SEND_JOB");
}

bool StartProgram(Program *program, const char *exePath, const char *currentDir, const char *arguments)
{
    STARTUPINFOW si;
    std::wstring exe = Wide(exePath), commandLine = L"\"" + exe + L"\"";

    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    if (arguments) commandLine += L" " + Wide(arguments);
    program->running = CreateProcessW(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                                      currentDir ? Wide(currentDir).c_str() : NULL, &si, &program->pi) != 0;
    EXPECT_TRUE(program->running) << "cannot start " << exePath << ", error " << GetLastError();
    if (program->running) WaitForInputIdle(program->pi.hProcess, 5000);
    return program->running;
}

/*
 * Wine takes its debug channels from the environment the program starts
 * with and writes them to the standard error it got from Wine, which the
 * runner collects; only this program is traced.
 */
bool StartTracedProgram(Program *program, const char *exePath, const char *currentDir,
                        const char *relayInclude, const char *arguments)
{
    RegSetString(HKEY_CURRENT_USER, "Software\\Wine\\Debug", "RelayInclude", relayInclude);
    SetEnvironmentVariableA("WINEDEBUG", "+pid,+loaddll,+relay");
    StartProgram(program, exePath, currentDir, arguments);
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    return program->running;
}

std::string ReadTextFile(const char *path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    std::string text;
    char chunk[65536];
    DWORD got;

    if (file == INVALID_HANDLE_VALUE) return text;
    while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got) text.append(chunk, got);
    CloseHandle(file);
    return text;
}

int WaitForExit_(int line, Program *program, DWORD timeoutMs)
{
    DWORD code = (DWORD)-1;

    if (!program->running) return -1;
    if (WaitForSingleObject(program->pi.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        ADD_FAILURE_AT(__FILE__, line) << "the program did not end within " << timeoutMs << " ms";
        EndProgram(program);
        return -1;
    }
    GetExitCodeProcess(program->pi.hProcess, &code);
    CloseHandle(program->pi.hProcess);
    CloseHandle(program->pi.hThread);
    program->running = false;
    return (int)code;
}

void EndProgram(Program *program)
{
    if (!program->running) return;
    TerminateProcess(program->pi.hProcess, 99);
    WaitForSingleObject(program->pi.hProcess, 5000);
    CloseHandle(program->pi.hProcess);
    CloseHandle(program->pi.hThread);
    program->running = false;
}

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

std::string RegString(HKEY root, const char *path, const char *value, bool *found)
{
    char data[4096];
    DWORD size = sizeof data - 1;
    HKEY key;

    *found = false;
    ZeroMemory(data, sizeof data);
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key)) return "";
    *found = RegQueryValueExA(key, value, NULL, NULL, (BYTE *)data, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return std::string(data, size && !data[size - 1] ? size - 1 : size);
}

bool RegKeyExists(HKEY root, const char *path)
{
    HKEY key;

    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key)) return false;
    RegCloseKey(key);
    return true;
}

void RegSetString(HKEY root, const char *path, const char *value, const char *data)
{
    HKEY key;

    ASSERT_EQ(RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS) << path;
    RegSetValueExA(key, value, 0, REG_SZ, (const BYTE *)data, (DWORD)strlen(data) + 1);
    RegCloseKey(key);
}

bool FileExists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

std::string RegMultiString(HKEY root, const char *path, const char *value, bool *found)
{
    std::vector<char> data(65536, 0);
    DWORD size = (DWORD)data.size() - 2;
    std::string joined;
    HKEY key;

    *found = false;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key)) return "";
    *found = RegQueryValueExA(key, value, NULL, NULL, (BYTE *)&data[0], &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    for (const char *p = &data[0]; *found && *p; p += strlen(p) + 1) {
        if (!joined.empty()) joined += "|";
        joined += p;
    }
    return joined;
}

std::vector<std::string> FileNames(const char *directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(directory) + "\\*").c_str(), &found);

    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> PrinterNames(void)
{
    std::vector<std::string> names;
    DWORD needed = 0, count = 0;

    EnumPrintersA(PRINTER_ENUM_LOCAL, NULL, 4, NULL, 0, &needed, &count);
    if (!needed) return names;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL, NULL, 4, &buffer[0], needed, &needed, &count)) return names;
    PRINTER_INFO_4A *printers = (PRINTER_INFO_4A *)&buffer[0];
    for (DWORD i = 0; i < count; i++) names.push_back(printers[i].pPrinterName ? printers[i].pPrinterName : "<no name>");
    return names;
}

std::string PrinterLine(const char *name)
{
    HANDLE handle;
    DWORD needed = 0;
    std::string line;

    if (!OpenPrinterA((LPSTR)name, &handle, NULL)) return "<none>";
    GetPrinterA(handle, 2, NULL, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (needed && GetPrinterA(handle, 2, &buffer[0], needed, &needed)) {
        PRINTER_INFO_2A *info = (PRINTER_INFO_2A *)&buffer[0];
        line = std::string(info->pDriverName ? info->pDriverName : "") + " on " +
               (info->pPortName ? info->pPortName : "") + ", " +
               (info->pPrintProcessor ? info->pPrintProcessor : "") + ", " +
               (info->pDatatype ? info->pDatatype : "");
    }
    ClosePrinter(handle);
    return line;
}

static const char UsbPrinterClass[] = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

/*
 * Wine counts a device interface as present when its "#\Control" key has
 * Linked = 1 and its device has an Enum key with a class GUID; the keys sort
 * by name, which gives the order of the interfaces.
 */
void AddUsbPrinterInterface(const char *serial, const char *vidPid, int portNumber)
{
    char instance[512], iface[1024], path[1200], link[512];
    DWORD linked = 1, port = (DWORD)portNumber;
    HKEY key;

    snprintf(instance, sizeof instance, "USB\\%s\\%s", vidPid, serial);
    snprintf(path, sizeof path, "SYSTEM\\CurrentControlSet\\Enum\\%s", instance);
    RegSetString(HKEY_LOCAL_MACHINE, path, "ClassGUID", "{4d36e979-e325-11ce-bfc1-08002be10318}");

    snprintf(link, sizeof link, "usb#%s#%s#%s", vidPid, serial, UsbPrinterClass);
    CharLowerA(link);
    snprintf(iface, sizeof iface, "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\%s\\##?#%s",
             UsbPrinterClass, link);
    RegSetString(HKEY_LOCAL_MACHINE, iface, "DeviceInstance", instance);

    snprintf(path, sizeof path, "%s\\#", iface);
    std::string symbolic = std::string("\\\\?\\") + link;
    RegSetString(HKEY_LOCAL_MACHINE, path, "SymbolicLink", symbolic.c_str());

    snprintf(path, sizeof path, "%s\\#\\Control", iface);
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS);
    RegSetValueExA(key, "Linked", 0, REG_DWORD, (const BYTE *)&linked, sizeof linked);
    RegCloseKey(key);

    if (portNumber < 0) return;
    snprintf(path, sizeof path, "%s\\#\\Device Parameters", iface);
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS);
    RegSetValueExA(key, "Port Number", 0, REG_DWORD, (const BYTE *)&port, sizeof port);
    RegCloseKey(key);
}

static const char PortsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

/* Wine's spooler lists the values of the Ports key, sorted by name. */
void SetSpoolerPorts(const char *const *names, int count)
{
    HKEY key;
    char name[260];
    DWORD size;

    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortsKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    for (;;) {
        size = sizeof name;
        if (RegEnumValueA(key, 0, name, &size, NULL, NULL, NULL, NULL)) break;
        RegDeleteValueA(key, name);
    }
    for (int i = 0; i < count; i++) RegSetValueExA(key, names[i], 0, REG_SZ, (const BYTE *)"", 1);
    RegCloseKey(key);
}
