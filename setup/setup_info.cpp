/*
 * The model catalogue and the install-section reader. Every value comes from
 * the profile reader; nothing here parses the file by hand.
 */
#include <windows.h>
#include "install_state.h"
#include "product.h"
#include "resource.h"
#include "setup_info.h"
#include "setup_info_text.h"
#include "textbuf.h"

static const char X64DriverDirectory[] = "C:\\Windows\\System32\\spool\\drivers\\x64";

static char hardwareIdKey[TEXT_SIZE];
static char hardwareIdLine[TEXT_SIZE];

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
    installState.fileCount = BuildFileList(copyFiles, installState.dependentFiles, TEXT_SIZE, IsAnsiLeadByte);
}

/*
 * The library is copied into the spooler's print processor directory under
 * its own name: a name that is not a bare file name counts as no print
 * processor at all.
 */
static void ReadPrintProcessor(void)
{
    char reference[TEXT_SIZE], key[TEXT_SIZE], entry[TEXT_SIZE];
    char *next = entry, *name, *file;

    ReadSetupInfoValue("QLP", "PrintProcessor", "", reference, sizeof reference);
    if (!ReferencedKey(reference, key, sizeof key)) return;
    ReadSetupInfoValue("Strings", key, "", entry, sizeof entry);

    installState.printProcessorName[0] = 0;
    installState.printProcessorFile[0] = 0;
    name = NextField(&next);
    file = name ? NextField(&next) : NULL;
    if (file && !IsBareFileName(file, IsAnsiLeadByte)) return;
    if (name) CopyText(installState.printProcessorName, TEXT_SIZE, name);
    if (file) CopyText(installState.printProcessorFile, TEXT_SIZE, file);
}

int ReadInstallSection(HWND modelPage)
{
    HWND list = GetDlgItem(modelPage, IDC_MODEL_LIST);
    LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
    char key[TEXT_SIZE], line[TEXT_SIZE], copyFiles[TEXT_SIZE], dataSection[TEXT_SIZE];
    char *next = line, *installSection;
    DWORD needed;

    LRESULT length = row == LB_ERR ? 0 : SendMessageA(list, LB_GETTEXTLEN, row, 0);

    /* An empty row is never a model. */
    if (length <= 0 || length >= TEXT_SIZE) return 0;
    SendMessageA(list, LB_GETTEXT, row, (LPARAM)installState.modelName);

    line[0] = 0;
    if (MakeModelKey(installState.modelName, key, sizeof key))
        ReadSetupInfoValue(GetManufacturerSection(), key, "", line, sizeof line);
    installSection = NextField(&next);
    copyFiles[0] = dataSection[0] = 0;
    if (installSection) {
        ReadSetupInfoValue(installSection, "CopyFiles", "", copyFiles, sizeof copyFiles);
        ReadSetupInfoValue(installSection, "DataSection", "", dataSection, sizeof dataSection);
    }
    BuildDependentFiles(copyFiles);
    ReadSetupInfoValue(dataSection, "DefaultDataType", "RAW", installState.dataType, TEXT_SIZE);

    /* Without the directory it stays empty, and the copy puts nothing there. */
    ZeroMemory(installState.printProcessorDirectory, TEXT_SIZE);
    if (GetPrintProcessorDirectoryA(NULL, (LPSTR)installState.environment, 1,
                                    (BYTE *)installState.printProcessorDirectory, TEXT_SIZE - 1, &needed) &&
        installState.printProcessorDirectory[0])
        AppendText(installState.printProcessorDirectory, TEXT_SIZE, "\\");
    else
        installState.printProcessorDirectory[0] = 0;

    CopyText(installState.x64DriverDirectory, TEXT_SIZE, X64DriverDirectory);
    CreateDirectoryA(installState.x64DriverDirectory, NULL);
    AppendText(installState.x64DriverDirectory, TEXT_SIZE, "\\");

    ReadPrintProcessor();
    return 1;
}

const char *GetHardwareId(const char *model)
{
    char *next = hardwareIdLine;

    hardwareIdLine[0] = 0;
    if (MakeModelKey(model, hardwareIdKey, sizeof hardwareIdKey))
        ReadSetupInfoValue(GetManufacturerSection(), hardwareIdKey, "", hardwareIdLine, sizeof hardwareIdLine);
    if (!NextField(&next)) return NULL;
    return NextField(&next);
}
