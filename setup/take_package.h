/*
 * The package taken once: the files the installation uses, copied at the
 * start into a folder of the program's own, from which everything is then
 * read and copied.
 */
#ifndef TAKE_PACKAGE_H
#define TAKE_PACKAGE_H

/* 1 when the folder was made and the package's folder is now that one; 0
   when it could not be, and the package then counts as absent. */
int TakePackage(void);
/* Deletes the taken files and their folder; the package is then absent.
   Does nothing when nothing was taken, or once it is done. */
void ReleasePackage(void);

#endif
