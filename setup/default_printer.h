/* The user's default printer. */
#ifndef DEFAULT_PRINTER_H
#define DEFAULT_PRINTER_H

int MakeDefaultPrinter(const char *printerName);

#endif
