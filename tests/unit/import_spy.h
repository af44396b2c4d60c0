/*
 * Puts a function of ours in front of one that this program imports, so a
 * test can record the arguments of a real call before passing it on. Wine
 * accepts some records without keeping all their fields; the spy shows what
 * the program handed over.
 */
#ifndef IMPORT_SPY_H
#define IMPORT_SPY_H

/* Returns the function that was imported, or NULL when the import is absent. */
void *ReplaceImport(const char *dll, const char *function, void *replacement);

#endif
