#include <windows.h>
#include "import_spy.h"
#include "restart_spy.h"

RestartSpy restartSpy;

static int WINAPI AnswerRestartQuestion(HWND, LPCSTR, LPCSTR, UINT)
{
    return restartSpy.answer;
}

static BOOL WINAPI RecordRestartRequest(UINT, DWORD)
{
    restartSpy.requests++;
    return restartSpy.result;
}

void SpyOnRestart(int answer, BOOL result)
{
    restartSpy.answer = answer;
    restartSpy.result = result;
    restartSpy.requests = 0;
    ReplaceImport("user32.dll", "MessageBoxA", (void *)AnswerRestartQuestion);
    ReplaceImport("user32.dll", "ExitWindowsEx", (void *)RecordRestartRequest);
}
