/* What the programs leave in the system: registry values, files and the
   spooler's printers, read the way the robot compares them. */
#include <windows.h>
#include <gtest/gtest.h>
#include <string.h>
#include <algorithm>
#include "robot.h"

std::string RegString(HKEY root, const char *path, const char *value, bool *found)
{
    char data[4096];
    DWORD size = sizeof data - 1;
    HKEY key;

    *found = false;
    ZeroMemory(data, sizeof data);
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key)) return "";
    *found = RegQueryValueExA(key, value, NULL, NULL, (BYTE *)data, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return std::string(data, size && !data[size - 1] ? size - 1 : size);
}

bool RegKeyExists(HKEY root, const char *path)
{
    HKEY key;

    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key)) return false;
    RegCloseKey(key);
    return true;
}

void RegSetString(HKEY root, const char *path, const char *value, const char *data)
{
    HKEY key;

    ASSERT_EQ(RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS) << path;
    RegSetValueExA(key, value, 0, REG_SZ, (const BYTE *)data, (DWORD)strlen(data) + 1);
    RegCloseKey(key);
}

bool FileExists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

std::string RegMultiString(HKEY root, const char *path, const char *value, bool *found)
{
    std::vector<char> data(65536, 0);
    DWORD size = (DWORD)data.size() - 2;
    std::string joined;
    HKEY key;

    *found = false;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key)) return "";
    *found = RegQueryValueExA(key, value, NULL, NULL, (BYTE *)&data[0], &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    for (const char *p = &data[0]; *found && *p; p += strlen(p) + 1) {
        if (!joined.empty()) joined += "|";
        joined += p;
    }
    return joined;
}

std::vector<std::string> FileNames(const char *directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(directory) + "\\*").c_str(), &found);

    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> PrinterNames(void)
{
    std::vector<std::string> names;
    DWORD needed = 0, count = 0;

    EnumPrintersA(PRINTER_ENUM_LOCAL, NULL, 4, NULL, 0, &needed, &count);
    if (!needed) return names;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL, NULL, 4, &buffer[0], needed, &needed, &count)) return names;
    PRINTER_INFO_4A *printers = (PRINTER_INFO_4A *)&buffer[0];
    for (DWORD i = 0; i < count; i++) names.push_back(printers[i].pPrinterName ? printers[i].pPrinterName : "<no name>");
    return names;
}

std::string PrinterLine(const char *name)
{
    HANDLE handle;
    DWORD needed = 0;
    std::string line;

    if (!OpenPrinterA((LPSTR)name, &handle, NULL)) return "<none>";
    GetPrinterA(handle, 2, NULL, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (needed && GetPrinterA(handle, 2, &buffer[0], needed, &needed)) {
        PRINTER_INFO_2A *info = (PRINTER_INFO_2A *)&buffer[0];
        line = std::string(info->pDriverName ? info->pDriverName : "") + " on " +
               (info->pPortName ? info->pPortName : "") + ", " +
               (info->pPrintProcessor ? info->pPrintProcessor : "") + ", " +
               (info->pDatatype ? info->pDatatype : "");
    }
    ClosePrinter(handle);
    return line;
}

std::vector<std::string> SubkeyNames(HKEY root, const char *path)
{
    std::vector<std::string> names;
    char name[260];
    HKEY key;

    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key)) return names;
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; i++) names.push_back(name);
    RegCloseKey(key);
    return names;
}

bool Holds(const std::vector<std::string> &names, const std::string &name)
{
    for (const std::string &n : names)
        if (!_stricmp(n.c_str(), name.c_str())) return true;
    return false;
}

#define ENVIRONMENT_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64"
#define PROCESSORS_KEY ENVIRONMENT_KEY "\\Print Processors"

static const char *const SnapshotDirectories[] = {
    "C:\\windows\\system32\\spool\\drivers\\x64",
    "C:\\windows\\system32\\spool\\drivers\\x64\\3",
    "C:\\windows\\system32\\spool\\prtprocs\\x64",
    "C:\\windows\\inf",
};

void TakeSpoolerSnapshot(SpoolerSnapshot *snapshot)
{
    for (size_t i = 0; i < ARRAYSIZE(SnapshotDirectories); i++) snapshot->files[i] = FileNames(SnapshotDirectories[i]);
    snapshot->processors = SubkeyNames(HKEY_LOCAL_MACHINE, PROCESSORS_KEY);
}

void RestoreSpooler(const SpoolerSnapshot *snapshot)
{
    PRINTER_DEFAULTSA all = { NULL, NULL, PRINTER_ALL_ACCESS };
    HANDLE printer;

    for (const std::string &name : PrinterNames()) {
        if (!OpenPrinterA((LPSTR)name.c_str(), &printer, &all)) continue;
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
    for (const std::string &name : SubkeyNames(HKEY_LOCAL_MACHINE, ENVIRONMENT_KEY "\\Drivers\\Version-3"))
        DeletePrinterDriverA(NULL, (LPSTR) "Windows x64", (LPSTR)name.c_str());
    for (const std::string &name : SubkeyNames(HKEY_LOCAL_MACHINE, PROCESSORS_KEY))
        if (!Holds(snapshot->processors, name))
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, (PROCESSORS_KEY "\\" + name).c_str());
    for (size_t i = 0; i < ARRAYSIZE(SnapshotDirectories); i++)
        for (const std::string &name : FileNames(SnapshotDirectories[i]))
            if (!Holds(snapshot->files[i], name))
                DeleteFileA((std::string(SnapshotDirectories[i]) + "\\" + name).c_str());
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "device");
}
