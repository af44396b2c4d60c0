/*
 * The files of the driver package that the programs name themselves; the
 * model's own files are those the setup information lists.
 */
#ifndef PACKAGE_FILES_H
#define PACKAGE_FILES_H

/* The driver's own library: its last-write time is the driver's date. */
#define DRIVER_LIBRARY_FILE "QLRM550.DLL"
#define DRIVER_DATA_FILE    "QLRM550.GPD"

/* Unidrv, the platform's printer driver, which reads the data file. */
#define UNIDRV_DRIVER_FILE "UNIDRV.DLL"
#define UNIDRV_CONFIG_FILE "UNIDRVUI.DLL"
#define UNIDRV_HELP_FILE   "UNIDRV.HLP"

/* Every Unidrv file the package carries, copied with each of the model's. */
#define UNIDRV_FILE_COUNT 5
extern const char *const UnidrvFiles[UNIDRV_FILE_COUNT];

/* A name that can only mean a file of the package's folder: a bare file
   name in the ANSI code page whose wide form names no device either. */
int IsPackageFileName(const char *name);

#endif
