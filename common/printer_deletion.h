/* Deleting a printer, for the wizard and the removal alike. */
#ifndef PRINTER_DELETION_H
#define PRINTER_DELETION_H

#include <windows.h>

/* The named printer opened with the access deleting it needs, which a
   handle opened without defaults lacks; NULL when there is none. */
HANDLE OpenPrinterToDelete(const char *name);

/* Deletes the printer of a handle from OpenPrinterToDelete and closes it;
   0 when the spooler refused the deletion. */
int DeleteOpenedPrinter(HANDLE printer);

/* 1 when a printer of that name was there to be deleted. */
int DeletePrinterNamed(const char *name);

#endif
