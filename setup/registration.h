/* Registration of driver, print processor and printer with the spooler. */
#ifndef REGISTRATION_H
#define REGISTRATION_H

int RegisterDriverAndPrinter(void);
int ReportSpoolerError(const char *format, const char *caption);

#endif
