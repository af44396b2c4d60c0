/*
 * The model catalogue and the install-section reader. Every value comes from
 * the profile reader; nothing here parses the file by hand, and nothing here
 * knows the pages.
 */
#include <windows.h>
#include "install_state.h"
#include "package_files.h"
#include "print_processor_entry.h"
#include "product.h"
#include "run_log.h"
#include "setup_info.h"
#include "setup_info_text.h"
#include "textbuf.h"

short GetModelCount(void)
{
    char keys[TEXT_SIZE];

    ReadSetupInfoValue(GetManufacturerSection(), NULL, "", keys, sizeof keys);
    return (short)CountKeyListNames(keys, sizeof keys);
}

void GetModelNameAt(WORD index, char *name)
{
    char keys[KEYLIST_SIZE];
    const char *key;
    int length;

    ReadSetupInfoValue(GetManufacturerSection(), NULL, "", keys, sizeof keys);
    key = KeyListName(keys, sizeof keys, index, &length);
    if (key) ModelNameFromKey(key, length, name, TEXT_SIZE, IsAnsiLeadByte);
}

void BuildDependentFiles(const char *copyFiles)
{
    installState.fileCount = BuildFileList(copyFiles, installState.dependentFiles, TEXT_SIZE, IsPackageFileName);
}

/*
 * The library is copied into the spooler's print processor directory under
 * its own name: a name that is not a bare file name counts as no print
 * processor at all.
 */
static void ReadPrintProcessor(void)
{
    char name[TEXT_SIZE], file[TEXT_SIZE];

    if (!ReadPrintProcessorEntry(name, file)) return;
    installState.printProcessorName[0] = 0;
    installState.printProcessorFile[0] = 0;
    if (file[0] && !IsPackageFileName(file)) return;
    CopyText(installState.printProcessorName, TEXT_SIZE, name);
    CopyText(installState.printProcessorFile, TEXT_SIZE, file);
}

typedef BOOL (WINAPI *SpoolerDirectoryQuery)(LPSTR server, LPSTR environment, DWORD level, LPBYTE directory,
                                             DWORD size, LPDWORD needed);

/*
 * A directory the spooler names for the environment in use, ending in a
 * backslash: on a system whose Windows is not on drive C, a fixed path would
 * name a folder that any user can create. Without an answer it stays empty,
 * and the copy puts nothing there.
 */
static void AskSpoolerDirectory(SpoolerDirectoryQuery query, char *directory, int create)
{
    DWORD needed;

    ZeroMemory(directory, TEXT_SIZE);
    if (!query(NULL, (LPSTR)installState.environment, 1, (BYTE *)directory, TEXT_SIZE - 1, &needed) ||
        !directory[0]) {
        directory[0] = 0;
        return;
    }
    if (create) CreateDirectoryA(directory, NULL);
    AppendText(directory, TEXT_SIZE, "\\");
}

/* The model's line of the manufacturer's section: its install section, then
   its hardware ID. Empty when the model has none. */
static void ReadModelLine(const char *model, char *line)
{
    char key[TEXT_SIZE];

    line[0] = 0;
    if (MakeModelKey(model, key, sizeof key))
        ReadSetupInfoValue(GetManufacturerSection(), key, "", line, TEXT_SIZE);
}

/* A value of the install section; empty when there is no section. */
static void ReadInstallValue(const char *installSection, const char *key, char *value)
{
    value[0] = 0;
    if (installSection) ReadSetupInfoValue(installSection, key, "", value, TEXT_SIZE);
}

int ListModelFiles(const char *model, char *list)
{
    char line[TEXT_SIZE], copyFiles[TEXT_SIZE], *next = line;

    ReadModelLine(model, line);
    ReadInstallValue(NextField(&next), "CopyFiles", copyFiles);
    return BuildFileList(copyFiles, list, TEXT_SIZE, IsPackageFileName);
}

void ReadModelInstallSection(const char *model)
{
    char line[TEXT_SIZE], copyFiles[TEXT_SIZE], dataSection[TEXT_SIZE];
    char *next = line, *installSection, *hardwareId;

    CopyText(installState.modelName, TEXT_SIZE, model);
    ReadModelLine(installState.modelName, line);
    installSection = NextField(&next);
    hardwareId = installSection ? NextField(&next) : NULL;
    CopyText(installState.hardwareId, TEXT_SIZE, hardwareId);
    ReadInstallValue(installSection, "CopyFiles", copyFiles);
    ReadInstallValue(installSection, "DataSection", dataSection);
    BuildDependentFiles(copyFiles);
    ReadSetupInfoValue(dataSection, "DefaultDataType", "RAW", installState.dataType, TEXT_SIZE);

    AskSpoolerDirectory(GetPrintProcessorDirectoryA, installState.printProcessorDirectory, 0);
    AskSpoolerDirectory(GetPrinterDriverDirectoryA, installState.x64DriverDirectory, 1);

    ReadPrintProcessor();
    LogStep("read", 0, "install section of \"%s\": %d files, data type %s, print processor \"%s\" (%s), "
            "driver directory %s, print processor directory %s", model, installState.fileCount, installState.dataType,
            installState.printProcessorName, installState.printProcessorFile, installState.x64DriverDirectory,
            installState.printProcessorDirectory);
}
