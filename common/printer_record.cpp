/* Both programs read what the spooler keeps of a printer. */
#include <windows.h>
#include "printer_record.h"

PRINTER_INFO_2A *ReadPrinterRecord(HANDLE printer)
{
    DWORD needed = 0;
    PRINTER_INFO_2A *record;

    GetPrinterA(printer, 2, NULL, 0, &needed);
    if (!needed) return NULL;
    record = (PRINTER_INFO_2A *)GlobalAlloc(GPTR, needed);
    if (!record) return NULL;
    if (!GetPrinterA(printer, 2, (BYTE *)record, needed, &needed)) {
        GlobalFree(record);
        return NULL;
    }
    return record;
}
