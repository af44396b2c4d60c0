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

static int IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

static int StartsWithLetters(const char *text, const char *upper)
{
    for (; *upper; text++, upper++)
        if (*text != *upper && *text != *upper - 'A' + 'a') return 0;
    return 1;
}

static int DigitCount(const char *text)
{
    int count = 0;

    while (IsDigit(text[count])) count++;
    return count;
}

int ReadPortName(const char *text, char *port, int size)
{
    int digits, kind = PORT_NAME_NONE;

    if (StartsWithLetters(text, "COM")) {
        digits = DigitCount(text + 3);
        if (digits && (!text[3 + digits] || (text[3 + digits] == ':' && !text[4 + digits]))) kind = PORT_NAME_SERIAL;
    } else if (StartsWithLetters(text, "USB")) {
        digits = DigitCount(text + 3);
        if (digits >= 3 && !text[3 + digits]) kind = PORT_NAME_USB;
    }
    /* The three letters, the digits, a serial port's colon and the NUL. */
    if (kind == PORT_NAME_NONE || 3 + digits + (kind == PORT_NAME_SERIAL) + 1 > size) return PORT_NAME_NONE;
    CopyText(port, size, kind == PORT_NAME_SERIAL ? "COM" : "USB");
    for (int i = 0; i < digits; i++) port[3 + i] = text[3 + i];
    port[3 + digits] = 0;
    if (kind == PORT_NAME_SERIAL) AppendText(port, size, ":");
    return kind;
}
