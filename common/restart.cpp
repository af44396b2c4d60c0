/* The restart both programs offer, and the privilege it needs. */
#include <windows.h>
#include "exit_codes.h"
#include "restart.h"
#include "run_log.h"
#include "switch_rules.h"

int restartRequested;

/* 1 when SeShutdownPrivilege is enabled in the process token. */
static int EnableShutdownPrivilege(void)
{
    HANDLE token;
    TOKEN_PRIVILEGES privileges;

    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return 0;
    ZeroMemory(&privileges, sizeof privileges);
    LookupPrivilegeValueA(NULL, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    /* The call succeeds even when the privilege is not held; only the last
       error (ERROR_NOT_ALL_ASSIGNED) tells. */
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, NULL, NULL);
    int enabled = GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return enabled;
}

int AskRestartQuestion(const char *question)
{
    return MessageBoxA(NULL, question, "Question", MB_ICONQUESTION | MB_YESNO) == IDYES;
}

int RequestRestart(void)
{
    if (!EnableShutdownPrivilege() || !ExitWindowsEx(EWX_REBOOT, 0)) return 0;
    restartRequested = 1;
    return 1;
}

int RestartCancelled(WPARAM sessionEnds)
{
    if (sessionEnds || !restartRequested) return 0;
    restartRequested = 0;
    return 1;
}

int EndWithRestart(int restartSwitch)
{
    if (restartSwitch != RESTART_FORCED) {
        LogStep("left to the caller", 0, "restart");
        return EXIT_CODE_RESTART_REQUIRED;
    }
    if (RequestRestart()) {
        LogStep("requested", 0, "restart");
        return EXIT_CODE_RESTART_INITIATED;
    }
    LogStep("refused, left to the caller", GetLastError(), "restart");
    return EXIT_CODE_RESTART_REQUIRED;
}
