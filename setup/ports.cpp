/*
 * Port discovery: serial ports as the spooler lists them, USB printer ports
 * from the device interfaces of the USB printer class.
 */
#include <windows.h>
#include <setupapi.h>
#include <string.h>
#include "install_state.h"
#include "ports.h"
#include "port_text.h"
#include "product.h"
#include "run_log.h"

static const GUID UsbPrinterInterface =
    { 0x28d78fad, 0x5a12, 0x11d1, { 0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2 } };

static const char DefaultUsbPort[] = "USB001";

/* The spooler's ports at level 1, in a block the caller frees with LocalFree. */
static PORT_INFO_1A *FetchPorts(DWORD *count)
{
    DWORD needed = 0;
    PORT_INFO_1A *ports;

    *count = 0;
    EnumPortsA(NULL, 1, NULL, 0, &needed, count);
    if (!needed) return NULL;
    ports = (PORT_INFO_1A *)LocalAlloc(LPTR, needed);
    if (!ports) return NULL;
    if (!EnumPortsA(NULL, 1, (BYTE *)ports, needed, &needed, count)) {
        LocalFree(ports);
        *count = 0;
        return NULL;
    }
    return ports;
}

short GetPortCount(void)
{
    DWORD count;
    PORT_INFO_1A *ports = FetchPorts(&count);

    if (!ports) return 0;
    LocalFree(ports);
    return (short)count;
}

static void GetSerialPortName(WORD index, char *name)
{
    DWORD count;
    PORT_INFO_1A *ports;

    installState.usbPortIndex = 0;
    ports = FetchPorts(&count);
    if (!ports) return;
    if (index < count && ports[index].pName && IsSerialPortName(ports[index].pName))
        CopyText(name, TEXT_SIZE, ports[index].pName);
    LocalFree(ports);
}

/* The port number the system gave the interface's device; 0 when unreadable. */
static DWORD ReadUsbPortNumber(const char *keyPath)
{
    char data[NAME_SIZE];
    DWORD size = sizeof data, type, number = 0;
    HKEY key;

    ZeroMemory(data, sizeof data);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        if (RegQueryValueExA(key, "Port Number", NULL, &type, (BYTE *)data, &size) == ERROR_SUCCESS)
            CopyMemory(&number, data, sizeof number);
        RegCloseKey(key);
    }
    return number;
}

/*
 * A path too long for its key to fit cannot name a key we could open; such
 * an interface is offered as the default port.
 */
static void GetUsbPortNameFromSet(HDEVINFO set, WORD index, char *name)
{
    SP_DEVICE_INTERFACE_DATA iface;
    SP_DEVICE_INTERFACE_DETAIL_DATA_A *detail;
    DWORD needed = 0;
    char path[NAME_SIZE], keyPath[NAME_SIZE];

    ZeroMemory(&iface, sizeof iface);
    iface.cbSize = sizeof iface;
    if (!SetupDiEnumDeviceInterfaces(set, NULL, &UsbPrinterInterface, index, &iface)) {
        CopyText(name, TEXT_SIZE, DefaultUsbPort);
        return;
    }
    SetupDiGetDeviceInterfaceDetailA(set, &iface, NULL, 0, &needed, NULL);
    if (needed < sizeof *detail) return;
    detail = (SP_DEVICE_INTERFACE_DETAIL_DATA_A *)GlobalAlloc(GPTR, needed + 1);
    if (!detail) return;
    detail->cbSize = sizeof *detail;
    if (!SetupDiGetDeviceInterfaceDetailA(set, &iface, detail, needed, NULL, NULL)) {
        GlobalFree(detail);
        return;
    }

    ZeroMemory(path, sizeof path);
    ZeroMemory(keyPath, sizeof keyPath);
    CopyText(path, sizeof path, InterfacePathWithoutPrefix(detail->DevicePath));
    if (!IsProductInterface(path, productIdentity.usbInterfacePrefix) ||
        !BuildUsbKeyPath(InterfacePathWithoutPrefix(detail->DevicePath), keyPath, sizeof keyPath)) {
        ZeroMemory(name, NAME_SIZE);
        CopyText(name, TEXT_SIZE, DefaultUsbPort);
    } else {
        FormatUsbPortName(ReadUsbPortNumber(keyPath), name, TEXT_SIZE);
        installState.usbPortIndex = index;
    }
    GlobalFree(detail);
}

static void GetUsbPortName(WORD index, char *name)
{
    DWORD count;
    PORT_INFO_1A *ports = FetchPorts(&count);
    HDEVINFO set;

    if (!ports) return;
    set = SetupDiGetClassDevsA(&UsbPrinterInterface, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set != INVALID_HANDLE_VALUE) {
        GetUsbPortNameFromSet(set, index, name);
        SetupDiDestroyDeviceInfoList(set);
    }
    LocalFree(ports);
}

void GetPortNameAt(WORD index, char *name)
{
    if (installState.portKind == PORT_KIND_USB)
        GetUsbPortName(index, name);
    else
        GetSerialPortName(index, name);
}

void GetPortIconName(const char *rowText, char *iconName)
{
    const char *icon = "IDI_NETWORK";

    if (!lstrcmpiA(rowText, "FILE:"))
        icon = "IDI_SETUP";
    else if (!strncmp(rowText, "LPT", 3) || IsSerialPortName(rowText))
        icon = "IDI_PORT";
    CopyText(iconName, NAME_SIZE, icon);
}

void StorePortName(const char *name)
{
    CopyText(installState.portName, TEXT_SIZE, name);
    LogStep("chosen", 0, "port \"%s\"", installState.portName);
}
