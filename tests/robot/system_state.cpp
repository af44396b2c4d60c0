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
