/* What a scenario sets up in its prefix before a program starts: USB
   printer interfaces and the spooler's ports. */
#include <windows.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include "robot.h"

static const char UsbPrinterClass[] = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

/*
 * Wine counts a device interface as present when its "#\Control" key has
 * Linked = 1 and its device has an Enum key with a class GUID; the keys sort
 * by name, which gives the order of the interfaces.
 */
void AddUsbPrinterInterface(const char *serial, const char *vidPid, int portNumber)
{
    char instance[512], iface[1024], path[1200], link[512];
    DWORD linked = 1, port = (DWORD)portNumber;
    HKEY key;

    snprintf(instance, sizeof instance, "USB\\%s\\%s", vidPid, serial);
    snprintf(path, sizeof path, "SYSTEM\\CurrentControlSet\\Enum\\%s", instance);
    RegSetString(HKEY_LOCAL_MACHINE, path, "ClassGUID", "{4d36e979-e325-11ce-bfc1-08002be10318}");

    snprintf(link, sizeof link, "usb#%s#%s#%s", vidPid, serial, UsbPrinterClass);
    CharLowerA(link);
    snprintf(iface, sizeof iface, "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\%s\\##?#%s",
             UsbPrinterClass, link);
    RegSetString(HKEY_LOCAL_MACHINE, iface, "DeviceInstance", instance);

    snprintf(path, sizeof path, "%s\\#", iface);
    std::string symbolic = std::string("\\\\?\\") + link;
    RegSetString(HKEY_LOCAL_MACHINE, path, "SymbolicLink", symbolic.c_str());

    snprintf(path, sizeof path, "%s\\#\\Control", iface);
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS);
    RegSetValueExA(key, "Linked", 0, REG_DWORD, (const BYTE *)&linked, sizeof linked);
    RegCloseKey(key);

    if (portNumber < 0) return;
    snprintf(path, sizeof path, "%s\\#\\Device Parameters", iface);
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS);
    RegSetValueExA(key, "Port Number", 0, REG_DWORD, (const BYTE *)&port, sizeof port);
    RegCloseKey(key);
}

static const char PortsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

/* Wine's spooler lists the values of the Ports key, sorted by name. */
void SetSpoolerPorts(const char *const *names, int count)
{
    HKEY key;
    char name[260];
    DWORD size;

    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortsKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    for (;;) {
        size = sizeof name;
        if (RegEnumValueA(key, 0, name, &size, NULL, NULL, NULL, NULL)) break;
        RegDeleteValueA(key, name);
    }
    for (int i = 0; i < count; i++) RegSetValueExA(key, names[i], 0, REG_SZ, (const BYTE *)"", 1);
    RegCloseKey(key);
}
