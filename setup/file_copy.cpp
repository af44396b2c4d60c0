#include <windows.h>
#include "file_copy.h"
#include "install_state.h"
#include "package_files.h"
#include "product.h"
#include "run_log.h"

/* A directory the spooler did not name is none: nothing goes there. */
int CopyIntoDirectory(const char *name, const char *targetDirectory)
{
    char source[TEXT_SIZE], target[TEXT_SIZE];
    int copied;

    if (!targetDirectory[0]) {
        LogStep("failed, the spooler named no directory", 0, "copy %s", name);
        failedSteps++;
        return 0;
    }
    GetPackageFilePath(name, source);
    CopyText(target, sizeof target, targetDirectory);
    AppendText(target, sizeof target, name);
    copied = CopyFileA(source, target, FALSE);
    LogStep(copied ? "done" : "failed", copied ? 0 : GetLastError(), "copy %s to %s", source, target);
    if (!copied) failedSteps++;
    return copied;
}

int CopyPrintProcessorLibrary(void)
{
    if (!installState.printProcessorFile[0]) return 1;
    return CopyIntoDirectory(installState.printProcessorFile, installState.printProcessorDirectory);
}

const char *ListedFileName(int index)
{
    const char *name = installState.dependentFiles;

    while (index-- > 0 && *name) name += lstrlenA(name) + 1;
    return name;
}

int CopyListedFile(const char *name)
{
    int copied = CopyIntoDirectory(name, installState.x64DriverDirectory);

    for (unsigned i = 0; i < ARRAYSIZE(UnidrvFiles); i++)
        if (!CopyIntoDirectory(UnidrvFiles[i], installState.x64DriverDirectory)) copied = 0;
    return copied;
}
