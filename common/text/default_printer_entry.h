/*
 * The profile entry that names the default printer: "printer,driver,port".
 * Needs no Windows header, so it also compiles natively for the fuzzers.
 */
#ifndef DEFAULT_PRINTER_ENTRY_H
#define DEFAULT_PRINTER_ENTRY_H

/* Writes as much of the entry as fits; returns the length of the whole entry. */
int FormatDeviceEntry(const char *printer, const char *driver, const char *port, char *entry, int size);

#endif
