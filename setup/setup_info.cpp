/*
 * The model catalogue and the install-section reader. Every value comes from
 * the profile reader; nothing here parses the file by hand.
 */
#include <windows.h>
#include "install_state.h"
#include "product.h"
#include "resource.h"
#include "setup_info.h"
#include "textbuf.h"

static const char X64DriverDirectory[] = "C:\\Windows\\System32\\spool\\drivers\\x64";

static char hardwareIdKey[TEXT_SIZE];
static char hardwareIdLine[TEXT_SIZE];

static void ReadSetupValue(const char *section, const char *key, const char *fallback,
                           char *value, DWORD size)
{
    /* A key list that does not fit gets only one NUL: clear the buffer first. */
    ZeroMemory(value, size);
    GetPrivateProfileStringA(section, key, fallback, value, size, GetSetupInfoPath());
}

/*
 * Cuts text at commas: commas at the start are skipped, several in a row
 * count as one separator, and a field keeps its blanks. Returns the field and
 * leaves *next behind it; NULL when no field is left.
 */
static char *NextField(char **next)
{
    char *field = *next, *end;

    while (*field == ',') field++;
    if (!*field) return NULL;
    end = field;
    while (*end && *end != ',') end++;
    if (*end) *end++ = 0;
    *next = end;
    return field;
}

/* The quoted key of a model; 0 when the model is too long for the key. */
static int MakeModelKey(const char *model, char *key)
{
    int length = lstrlenA(model);

    if (length > TEXT_SIZE - 3) return 0;
    key[0] = '"';
    CopyMemory(key + 1, model, length);
    key[length + 1] = '"';
    key[length + 2] = 0;
    return 1;
}

short GetModelCount(void)
{
    char keys[TEXT_SIZE];
    const char *p;
    short count = 0;

    ReadSetupValue(GetManufacturerSection(), NULL, "", keys, sizeof keys);
    for (p = keys; p < keys + sizeof keys && *p; p += lstrlenA(p) + 1) count++;
    return count;
}

void GetModelNameAt(WORD index, char *name)
{
    char keys[KEYLIST_SIZE];
    const char *p = keys;
    int length;
    WORD i;

    ReadSetupValue(GetManufacturerSection(), NULL, "", keys, sizeof keys);
    for (i = 0; i < index && *p; i++) p += lstrlenA(p) + 1;
    if (!*p) return;
    length = lstrlenA(p);
    if (length < 2) {
        name[0] = 0;
        return;
    }
    CopyText(name, TEXT_SIZE, p + 1);
    if (length - 2 < TEXT_SIZE) name[length - 2] = 0;
}

/* An "@" with no name behind it adds nothing: an empty name would end the list. */
void BuildDependentFiles(const char *copyFiles)
{
    char *out = installState.dependentFiles;
    char *limit = installState.dependentFiles + TEXT_SIZE - 2;
    const char *p = copyFiles, *name;
    int length;

    installState.fileCount = 0;
    while (*p) {
        if (*p++ != '@') continue;
        name = p;
        while (*p && *p != ',') p++;
        length = (int)(p - name);
        if (*p == ',') p++;
        if (!length || out + length > limit) continue;
        CopyMemory(out, name, length);
        out += length;
        *out++ = 0;
        installState.fileCount++;
    }
    *out = 0;
}

static void ReadPrintProcessor(void)
{
    char reference[TEXT_SIZE], entry[TEXT_SIZE];
    char *next, *field;
    int length;

    ReadSetupValue("QLP", "PrintProcessor", "", reference, sizeof reference);
    length = lstrlenA(reference);
    if (!length) return;
    reference[length - 1] = 0;
    ReadSetupValue("Strings", reference + 1, "", entry, sizeof entry);

    installState.printProcessorName[0] = 0;
    installState.printProcessorFile[0] = 0;
    next = entry;
    field = NextField(&next);
    if (field) CopyText(installState.printProcessorName, TEXT_SIZE, field);
    field = NextField(&next);
    if (field) CopyText(installState.printProcessorFile, TEXT_SIZE, field);
}

int ReadInstallSection(HWND modelPage)
{
    HWND list = GetDlgItem(modelPage, IDC_MODEL_LIST);
    LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
    char key[TEXT_SIZE], line[TEXT_SIZE], copyFiles[TEXT_SIZE], dataSection[TEXT_SIZE];
    char *next = line, *installSection;
    DWORD needed;

    if (row == LB_ERR) return 0;
    if (SendMessageA(list, LB_GETTEXTLEN, row, 0) >= TEXT_SIZE) return 0;
    SendMessageA(list, LB_GETTEXT, row, (LPARAM)installState.modelName);

    line[0] = 0;
    if (MakeModelKey(installState.modelName, key))
        ReadSetupValue(GetManufacturerSection(), key, "", line, sizeof line);
    installSection = NextField(&next);
    copyFiles[0] = dataSection[0] = 0;
    if (installSection) {
        ReadSetupValue(installSection, "CopyFiles", "", copyFiles, sizeof copyFiles);
        ReadSetupValue(installSection, "DataSection", "", dataSection, sizeof dataSection);
    }
    BuildDependentFiles(copyFiles);
    ReadSetupValue(dataSection, "DefaultDataType", "RAW", installState.dataType, TEXT_SIZE);

    installState.printProcessorDirectory[0] = 0;
    GetPrintProcessorDirectoryA(NULL, (LPSTR)installState.environment, 1,
                                (BYTE *)installState.printProcessorDirectory, TEXT_SIZE, &needed);
    installState.printProcessorDirectory[TEXT_SIZE - 1] = 0;
    AppendText(installState.printProcessorDirectory, TEXT_SIZE, "\\");

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
    if (MakeModelKey(model, hardwareIdKey))
        ReadSetupValue(GetManufacturerSection(), hardwareIdKey, "", hardwareIdLine, sizeof hardwareIdLine);
    if (!NextField(&next)) return NULL;
    return NextField(&next);
}
