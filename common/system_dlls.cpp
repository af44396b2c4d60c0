/*
 * The spooler's and SetupAPI's libraries are not imported at start-up but
 * loaded when first called (delay-load import libraries), and this hook
 * loads them by their full path in the system directory: Windows does not
 * protect winspool.drv with its list of known DLLs, so a plain load would
 * take a copy planted beside the program.
 *
 * The runtime's helper loads the bare name itself when the hook hands it no
 * library, and raises an exception when that fails too. So the hook hands it
 * the library from the system directory or, when the library or one of its
 * functions cannot be had there, a stand-in that fails every call; the
 * program's window is then closed, and the program ends as after a close
 * from outside. A call that failed that way may have been one whose result
 * nobody looks at, so the program keeps it on record: its work has failed.
 */
#include <windows.h>
#include <delayimp.h>
#include "system_dlls.h"
#include "textbuf.h"

static int defaultDirectoriesSet;
static HWND closedWhenMissing;
static int standInHandedOut;
static HMODULE libraryFound;
static FARPROC *unprotectedEntry;
static DWORD entryProtection;

/*
 * The delay-load helper writes each address it resolves into the program's
 * import address table, which GNU ld of binutils 2.44 (Debian 13) makes
 * read-only. The entry is writable only while the helper resolves it.
 */
static void UnprotectImportEntry(FARPROC *entry)
{
    if (VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &entryProtection)) unprotectedEntry = entry;
}

static void ProtectImportEntry(void)
{
    DWORD previous;

    if (unprotectedEntry) VirtualProtect(unprotectedEntry, sizeof *unprotectedEntry, entryProtection, &previous);
    unprotectedEntry = NULL;
}

static HMODULE LoadSystemLibrary(const char *name)
{
    char path[TEXT_SIZE];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    HMODULE library;

    if (!length || length >= sizeof path) return NULL;
    AppendText(path, sizeof path, "\\");
    AppendText(path, sizeof path, name);
    /* Asked again for every function's first call: no reference each time. */
    if ((library = GetModuleHandleA(path))) return library;
    /* Without the default directories, the libraries it needs in turn are
       looked for beside it first. */
    return LoadLibraryExA(path, NULL, defaultDirectoriesSet ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

static INT_PTR WINAPI FailWithoutLibrary(void)
{
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
}

static FARPROC EndForMissingLibrary(void)
{
    standInHandedOut = 1;
    if (closedWhenMissing) PostMessageA(closedWhenMissing, WM_CLOSE, 0, 0);
    return FailWithoutLibrary;
}

static FARPROC WINAPI HandleDelayLoad(unsigned notification, PDelayLoadInfo info)
{
    switch (notification) {
    case dliStartProcessing:
        UnprotectImportEntry(info->ppfn);
        libraryFound = LoadSystemLibrary(info->szDll);
        return libraryFound ? NULL : EndForMissingLibrary();
    case dliNotePreLoadLibrary:
        /* Never none here: the helper would load the bare name. */
        return (FARPROC)libraryFound;
    case dliFailGetProc:
        return EndForMissingLibrary();
    case dliNoteEndProcessing:
        ProtectImportEntry();
        break;
    }
    return NULL;
}

PfnDliHook __pfnDliNotifyHook2 = HandleDelayLoad;
PfnDliHook __pfnDliFailureHook2 = HandleDelayLoad;

void CloseWhenLibraryMissing(HWND window)
{
    closedWhenMissing = window;
}

int SystemLibraryFailed(void)
{
    return standInHandedOut;
}

/* SetDefaultDllDirectories is looked up, not imported: systems without it
   would not start the program at all. They still lose the current
   directory from the search. */
void RestrictLibrarySearch(void)
{
    typedef BOOL (WINAPI *SetDefaultDllDirectoriesProc)(DWORD flags);
    SetDefaultDllDirectoriesProc setDefault = (SetDefaultDllDirectoriesProc)(void (*)(void))
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");

    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        defaultDirectoriesSet = 1;
    else
        SetDllDirectoryA("");
}
