/*
 * The package's folder may be writable by users who are not administrators
 * (a folder made under C:\ is), and the wizard waits on its pages for as
 * long as the user likes: a library swapped in meanwhile would be copied
 * into the spooler's directories and loaded there as SYSTEM. So every file
 * the installation will use is taken once, while "Reading setup
 * information..." shows, into a new folder that only administrators and
 * SYSTEM may write, and is read and copied from there alone. The folder is
 * held open, so that it cannot be renamed away and replaced either.
 */
#include <windows.h>
#include <sddl.h>
#include "package_files.h"
#include "print_processor_entry.h"
#include "product.h"
#include "run_log.h"
#include "setup_info.h"
#include "take_package.h"
#include "textbuf.h"

/* Full control for Administrators and SYSTEM alone, passed on to the files
   inside, with nothing inherited from the temporary folder. */
static const WCHAR TakenFolderRights[] = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
#define FOLDER_NAME_TRIES 64

static WCHAR takenFolder[TEXT_SIZE];
static HANDLE takenFolderHandle = INVALID_HANDLE_VALUE;
static char sourceFolder[TEXT_SIZE];
static char targetFolder[TEXT_SIZE];

/*
 * A new folder in the temporary folder, under a name that nobody made
 * first: CreateDirectoryW fails on a name that exists, and the next is
 * tried. Its name is kept with a backslash at its end.
 */
static int MakeTakenFolder(void)
{
    SECURITY_ATTRIBUTES attributes = { sizeof attributes, NULL, FALSE };
    WCHAR temp[TEXT_SIZE];
    DWORD length = GetTempPathW(TEXT_SIZE, temp), first = GetTickCount();
    int made = 0;

    if (!length || length > TEXT_SIZE - 64) return 0;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(TakenFolderRights, SDDL_REVISION_1,
                                                              &attributes.lpSecurityDescriptor, NULL))
        return 0;
    for (DWORD i = 0; i < FOLDER_NAME_TRIES && !made; i++) {
        wsprintfW(takenFolder, L"%sdrvsetup-%lx-%lx", temp, GetCurrentProcessId(), first + i);
        made = CreateDirectoryW(takenFolder, &attributes);
        if (!made && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    LocalFree(attributes.lpSecurityDescriptor);
    if (!made) {
        takenFolder[0] = 0;
        return 0;
    }
    lstrcatW(takenFolder, L"\\");
    /* Without delete sharing: a rename needs delete access to the folder. */
    takenFolderHandle = CreateFileW(takenFolder, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    return 1;
}

/* A file of the program's folder, copied into the taken folder; a file
   missing there stays missing. A name listed twice is taken once. */
static void TakeFile(const char *name)
{
    char source[TEXT_SIZE], target[TEXT_SIZE];
    WCHAR wideSource[TEXT_SIZE], wideTarget[TEXT_SIZE];

    CopyText(source, sizeof source, sourceFolder);
    AppendText(source, sizeof source, name);
    CopyText(target, sizeof target, targetFolder);
    AppendText(target, sizeof target, name);
    if (MultiByteToWideChar(CP_ACP, 0, source, -1, wideSource, TEXT_SIZE) &&
        MultiByteToWideChar(CP_ACP, 0, target, -1, wideTarget, TEXT_SIZE))
        CopyFileW(wideSource, wideTarget, TRUE);
}

/* The names are read from the taken setup information, the very content
   that the installation then reads. */
static void TakeListedFiles(void)
{
    char model[TEXT_SIZE], list[TEXT_SIZE], name[TEXT_SIZE], file[TEXT_SIZE];
    short count = GetModelCount();

    for (short i = 0; i < count; i++) {
        model[0] = 0;
        GetModelNameAt((WORD)i, model);
        if (!model[0]) continue;
        ListModelFiles(model, list);
        for (const char *listed = list; *listed; listed += lstrlenA(listed) + 1) TakeFile(listed);
    }
    if (ReadPrintProcessorEntry(name, file) && IsPackageFileName(file)) TakeFile(file);
    for (int i = 0; i < UNIDRV_FILE_COUNT; i++) TakeFile(UnidrvFiles[i]);
    TakeFile(DRIVER_LIBRARY_FILE);
}

int TakePackage(void)
{
    GetModuleDirectory(sourceFolder);
    if (!sourceFolder[0] || !MakeTakenFolder() || !AnsiFolderName(takenFolder, targetFolder)) {
        LogStep("failed, the package counts as absent", GetLastError(), "package in %s taken", sourceFolder);
        ReleasePackage();
        UsePackageFolder("");
        return 0;
    }
    TakeFile(SetupInfoTable[setupInfoRow].fileName);
    UsePackageFolder(targetFolder);
    TakeListedFiles();
    LogStep("done", 0, "package in %s taken into %s", sourceFolder, targetFolder);
    return 1;
}

void ReleasePackage(void)
{
    WIN32_FIND_DATAW found;
    WCHAR path[TEXT_SIZE];
    HANDLE search;

    if (takenFolderHandle != INVALID_HANDLE_VALUE) CloseHandle(takenFolderHandle);
    takenFolderHandle = INVALID_HANDLE_VALUE;
    if (!takenFolder[0]) return;
    UsePackageFolder("");
    lstrcpynW(path, takenFolder, TEXT_SIZE - 1);
    lstrcatW(path, L"*");
    search = FindFirstFileW(path, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            lstrcpynW(path, takenFolder, TEXT_SIZE);
            if (lstrlenW(path) + lstrlenW(found.cFileName) >= TEXT_SIZE) continue;
            lstrcatW(path, found.cFileName);
            /* A read-only file of the package is copied read-only. */
            SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(takenFolder);
    takenFolder[0] = 0;
}
