/* The wizard removes a printer of the model's name before it installs one,
   and the removal removes the product's printer. */
#include <windows.h>
#include "printer_deletion.h"

HANDLE OpenPrinterToDelete(const char *name)
{
    PRINTER_DEFAULTSA defaults = { NULL, NULL, PRINTER_ALL_ACCESS };
    HANDLE printer = NULL;

    if (!OpenPrinterA((LPSTR)name, &printer, &defaults)) return NULL;
    return printer;
}

int DeleteOpenedPrinter(HANDLE printer)
{
    int deleted = DeletePrinter(printer);
    DWORD error = deleted ? 0 : GetLastError();

    ClosePrinter(printer);
    if (!deleted) SetLastError(error);
    return deleted;
}

int DeletePrinterNamed(const char *name)
{
    HANDLE printer = OpenPrinterToDelete(name);

    if (!printer) return 0;
    DeleteOpenedPrinter(printer);
    return 1;
}
