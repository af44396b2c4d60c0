#ifndef PRINTER_RECORD_H
#define PRINTER_RECORD_H

#include <windows.h>

/* The printer's level-2 record, in a block the caller frees with GlobalFree;
   NULL when it cannot be read. */
PRINTER_INFO_2A *ReadPrinterRecord(HANDLE printer);

#endif
