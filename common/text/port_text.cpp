#include <stdio.h>
#include "port_text.h"
#include "textbuf.h"

static const char DeviceClassesPrefix[] =
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\"
    "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\##?#";
static const char DeviceParametersSuffix[] = "\\#\\Device Parameters";

static int TextLength(const char *text)
{
    int length = 0;

    while (text[length]) length++;
    return length;
}

const char *InterfacePathWithoutPrefix(const char *devicePath)
{
    return TextLength(devicePath) > 4 ? devicePath + 4 : "";
}

int IsProductInterface(const char *path, const char *productPrefix)
{
    int i;

    for (i = 0; productPrefix[i]; i++)
        if (path[i] != productPrefix[i]) return 0;
    return 1;
}

int BuildUsbKeyPath(const char *path, char *keyPath, int size)
{
    if ((int)sizeof DeviceClassesPrefix - 1 + TextLength(path) + (int)sizeof DeviceParametersSuffix > size)
        return 0;
    CopyText(keyPath, size, DeviceClassesPrefix);
    AppendText(keyPath, size, path);
    AppendText(keyPath, size, DeviceParametersSuffix);
    return 1;
}

void FormatUsbPortName(unsigned long number, char *name, int size)
{
    char formatted[32];

    snprintf(formatted, sizeof formatted, "USB%03lu", number);
    CopyText(name, size, formatted);
}

int IsSerialPortName(const char *name)
{
    return name[0] == 'C' && name[1] == 'O' && name[2] == 'M';
}
