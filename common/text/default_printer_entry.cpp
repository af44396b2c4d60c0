#include "default_printer_entry.h"
#include "textbuf.h"

int FormatDeviceEntry(const char *printer, const char *driver, const char *port, char *entry, int size)
{
    const char *parts[] = { printer, ",", driver, ",", port };
    int length = 0;

    if (size > 0) entry[0] = 0;
    for (const char *part : parts) {
        for (const char *p = part; *p; p++) length++;
        AppendText(entry, size, part);
    }
    return length;
}
