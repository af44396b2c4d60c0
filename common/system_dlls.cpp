/*
 * The spooler's and SetupAPI's libraries are not imported at start-up but
 * loaded when first called (delay-load import libraries), and this hook
 * loads them by their full path in the system directory: Windows does not
 * protect winspool.drv with its list of known DLLs, so a plain load would
 * take a copy planted beside the program.
 */
#include <windows.h>
#include <delayimp.h>
#include "system_dlls.h"
#include "textbuf.h"

static int defaultDirectoriesSet;
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

static FARPROC WINAPI LoadFromSystemDirectory(unsigned notification, PDelayLoadInfo info)
{
    char path[TEXT_SIZE];
    UINT length;

    if (notification == dliStartProcessing) UnprotectImportEntry(info->ppfn);
    if (notification == dliNoteEndProcessing) ProtectImportEntry();
    if (notification != dliNotePreLoadLibrary) return NULL;
    length = GetSystemDirectoryA(path, sizeof path);
    if (!length || length >= sizeof path) return NULL;
    AppendText(path, sizeof path, "\\");
    AppendText(path, sizeof path, info->szDll);
    /* Without the default directories, the libraries it needs in turn are
       looked for beside it first. */
    return (FARPROC)LoadLibraryExA(path, NULL, defaultDirectoriesSet ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

PfnDliHook __pfnDliNotifyHook2 = LoadFromSystemDirectory;

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
