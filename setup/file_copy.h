/*
 * The copy of the package's files into the spooler's directories, file by
 * file, for the copy dialog and the quiet run alike. Every copy replaces the
 * target, and each is logged with its outcome.
 */
#ifndef FILE_COPY_H
#define FILE_COPY_H

/* A file of the package into a target directory ending in a backslash;
   0 when it was not copied, with the last error. */
int CopyIntoDirectory(const char *name, const char *targetDirectory);

/* The print processor's library into the spooler's print processor
   directory; 1 when there is none to copy. */
int CopyPrintProcessorLibrary(void);

/* The name at that index of the listed files. */
const char *ListedFileName(int index);

/* A listed file into the driver directory, and the Unidrv files after it;
   0 when one of them was not copied. */
int CopyListedFile(const char *name);

#endif
