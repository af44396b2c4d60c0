/*
 * The run's log. Lines are put together as wide text, so that the command
 * line and the account keep every letter, and written as UTF-8: a file that
 * starts empty gets a byte-order mark first. Each line is written at once,
 * so a run that ends abruptly keeps the lines before, and a step's last
 * error is still there after its line.
 */
#include <windows.h>
#include <sddl.h>
#include <stdarg.h>
#include "resource.h"
#include "run_log.h"
#include "textbuf.h"

/* Wide characters in a line, and room kept for its CRLF. */
#define LINE_SIZE 4096
#define LINE_TEXT (LINE_SIZE - 3)
/* The name with the PID alone, then with 1 to 9 after it. */
#define NAME_ATTEMPTS 10

static HANDLE logFile = INVALID_HANDLE_VALUE;
static WCHAR account[2 * NAME_SIZE];
static char utf8Line[3 * LINE_SIZE];

static void AppendWide(WCHAR *line, const WCHAR *text)
{
    int used = lstrlenW(line);

    if (used < LINE_TEXT) lstrcpynW(line + used, text, LINE_TEXT - used);
}

/* Texts of the program are in the ANSI code page. */
static void AppendAnsi(WCHAR *line, const char *text)
{
    static WCHAR wide[LINE_SIZE];

    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, LINE_SIZE)) wide[0] = 0;
    AppendWide(line, wide);
}

static void WriteBytes(const char *bytes, DWORD length)
{
    DWORD written;

    WriteFile(logFile, bytes, length, &written, NULL);
}

static void WriteLine(const WCHAR *text)
{
    static WCHAR line[LINE_SIZE];
    SYSTEMTIME now;
    int length;

    GetLocalTime(&now);
    wsprintfW(line, L"%04u-%02u-%02u %02u:%02u:%02u  ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
              now.wSecond);
    AppendWide(line, text);
    lstrcatW(line, L"\r\n");
    length = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8Line, sizeof utf8Line, NULL, NULL);
    if (length > 1) WriteBytes(utf8Line, length - 1);
}

/* Notepad takes a file without the mark for the ANSI code page. */
static void StartFile(HANDLE file)
{
    LARGE_INTEGER size;

    logFile = file;
    if (GetFileSizeEx(file, &size) && !size.QuadPart) WriteBytes("\xef\xbb\xbf", 3);
}

int OpenNamedRunLog(const char *path)
{
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);

    if (file == INVALID_HANDLE_VALUE) return 0;
    StartFile(file);
    return 1;
}

int OpenNewRunLog(const char *program)
{
    WCHAR folder[MAX_PATH + 1], path[2 * MAX_PATH], tail[64];
    DWORD length = GetTempPathW(ARRAYSIZE(folder), folder);
    SYSTEMTIME now;
    HANDLE file;

    if (!length || length >= ARRAYSIZE(folder)) return 0;
    GetLocalTime(&now);
    for (int attempt = 0; attempt < NAME_ATTEMPTS; attempt++) {
        wsprintfW(tail, L"-%04u%02u%02u-%02u%02u%02u-%lu", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                  now.wSecond, GetCurrentProcessId());
        if (attempt) wsprintfW(tail + lstrlenW(tail), L"-%d", attempt);
        lstrcatW(tail, L".log");
        path[0] = 0;
        AppendWide(path, folder);
        AppendAnsi(path, program);
        AppendWide(path, tail);
        file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            StartFile(file);
            return 1;
        }
    }
    return 0;
}

/* DOMAIN\user of the process token; its SID when the name cannot be had. */
static const WCHAR *AccountName(void)
{
    union
    {
        TOKEN_USER user;
        BYTE bytes[256];
    } token;
    WCHAR name[NAME_SIZE], domain[NAME_SIZE], *sid;
    DWORD nameSize = NAME_SIZE, domainSize = NAME_SIZE, needed;
    SID_NAME_USE use;
    HANDLE handle;

    if (account[0]) return account;
    lstrcpynW(account, L"(unknown account)", ARRAYSIZE(account));
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &handle)) return account;
    if (GetTokenInformation(handle, TokenUser, &token, sizeof token, &needed)) {
        if (LookupAccountSidW(NULL, token.user.User.Sid, name, &nameSize, domain, &domainSize, &use)) {
            account[0] = 0;
            if (domain[0]) {
                lstrcpynW(account, domain, NAME_SIZE);
                lstrcatW(account, L"\\");
            }
            lstrcatW(account, name);
        } else if (ConvertSidToStringSidW(token.user.User.Sid, &sid)) {
            lstrcpynW(account, sid, ARRAYSIZE(account));
            LocalFree(sid);
        }
    }
    CloseHandle(handle);
    return account;
}

/* The version the system itself reports: without a manifest that names
   them, GetVersionEx gives later systems the version of Windows 8. */
static void AppendSystemVersion(WCHAR *line)
{
    typedef LONG (WINAPI *RtlGetVersionProc)(OSVERSIONINFOW *info);
    RtlGetVersionProc getVersion = (RtlGetVersionProc)(void (*)(void))
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion");
    OSVERSIONINFOW info;
    WCHAR number[64];

    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!getVersion || getVersion(&info)) {
        AppendWide(line, L"Windows of an unknown version");
        return;
    }
    wsprintfW(number, L"Windows %lu.%lu.%lu", info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
    AppendWide(line, number);
    if (info.szCSDVersion[0]) {
        AppendWide(line, L" ");
        AppendWide(line, info.szCSDVersion);
    }
}

void LogRunHeader(const char *program)
{
    WCHAR line[LINE_SIZE];

    if (logFile == INVALID_HANDLE_VALUE) return;
    line[0] = 0;
    AppendAnsi(line, program);
    AppendAnsi(line, " " PRODUCT_VERSION_TEXT ", account ");
    AppendWide(line, AccountName());
    AppendWide(line, L", ");
    AppendSystemVersion(line);
    AppendWide(line, L", command line: ");
    AppendWide(line, GetCommandLineW());
    WriteLine(line);
}

static void WriteStep(const WCHAR *step, const char *result, DWORD error)
{
    WCHAR line[LINE_SIZE], code[32];

    line[0] = 0;
    AppendWide(line, step);
    AppendWide(line, L": ");
    AppendAnsi(line, result);
    wsprintfW(code, L", error %lu", error);
    AppendWide(line, code);
    WriteLine(line);
}

void LogStep(const char *result, DWORD error, const char *format, ...)
{
    char step[2 * TEXT_SIZE];
    WCHAR wide[LINE_SIZE];
    DWORD lastError = GetLastError();
    va_list arguments;

    if (logFile == INVALID_HANDLE_VALUE) return;
    va_start(arguments, format);
    vsnprintf(step, sizeof step, format, arguments);
    va_end(arguments);
    wide[0] = 0;
    AppendAnsi(wide, step);
    WriteStep(wide, result, error);
    SetLastError(lastError);
}

void LogAccountStep(const char *result, DWORD error, const char *step)
{
    WCHAR wide[LINE_SIZE];
    DWORD lastError = GetLastError();

    if (logFile == INVALID_HANDLE_VALUE) return;
    wide[0] = 0;
    AppendAnsi(wide, step);
    AppendWide(wide, L" of ");
    AppendWide(wide, AccountName());
    WriteStep(wide, result, error);
    SetLastError(lastError);
}

void LogText(const char *text)
{
    WCHAR wide[LINE_SIZE];
    DWORD lastError = GetLastError();

    if (logFile == INVALID_HANDLE_VALUE) return;
    wide[0] = 0;
    AppendAnsi(wide, text);
    WriteLine(wide);
    SetLastError(lastError);
}

void CloseRunLog(int exitCode)
{
    WCHAR line[32];

    if (logFile == INVALID_HANDLE_VALUE) return;
    wsprintfW(line, L"exit code %d", exitCode);
    WriteLine(line);
    CloseHandle(logFile);
    logFile = INVALID_HANDLE_VALUE;
}
