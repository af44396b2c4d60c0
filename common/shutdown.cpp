/* The privilege a restart needs, shared by both programs. */
#include <windows.h>
#include "shutdown.h"

int EnableShutdownPrivilege(void)
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
