/* The robot's programs: the staged package, the programs started in it, and
   the files they are given and leave. */
#include <windows.h>
#include <gtest/gtest.h>
#include <string.h>
#include "robot.h"

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

bool StartProgram(Program *program, const char *exePath, const char *currentDir, const char *arguments,
                  DWORD creationFlags)
{
    STARTUPINFOW si;
    std::wstring exe = Wide(exePath), commandLine = L"\"" + exe + L"\"";

    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    if (arguments) commandLine += L" " + Wide(arguments);
    program->running = CreateProcessW(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, creationFlags, NULL,
                                      currentDir ? Wide(currentDir).c_str() : NULL, &si, &program->pi) != 0;
    EXPECT_TRUE(program->running) << "cannot start " << exePath << ", error " << GetLastError();
    if (program->running && !(creationFlags & CREATE_SUSPENDED)) WaitForInputIdle(program->pi.hProcess, 5000);
    return program->running;
}

/*
 * Wine takes its debug channels from the environment the program starts
 * with and writes them to the standard error it got from Wine, which the
 * runner collects; only this program is traced.
 */
bool StartTracedProgram(Program *program, const char *exePath, const char *currentDir,
                        const char *relayInclude, const char *arguments, DWORD creationFlags)
{
    RegSetString(HKEY_CURRENT_USER, "Software\\Wine\\Debug", "RelayInclude", relayInclude);
    SetEnvironmentVariableA("WINEDEBUG", "+pid,+loaddll,+relay");
    StartProgram(program, exePath, currentDir, arguments, creationFlags);
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
