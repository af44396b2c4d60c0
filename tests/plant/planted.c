/*
 * A library planted beside the programs and in their current directory under
 * the names of the system libraries they use. Loading it leaves a mark named
 * after the file it was loaded from; it exports nothing.
 */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    char path[MAX_PATH], mark[MAX_PATH + 32], *name, *p;
    HANDLE file;

    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    GetModuleFileNameA(instance, path, sizeof path);
    for (p = path; *p; p++)
        if (*p == '\\' || *p == ':') *p = '_';
    name = path;
    CreateDirectoryA("C:\\planted-marks", NULL);
    wsprintfA(mark, "C:\\planted-marks\\%s", name);
    file = CreateFileA(mark, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
