/*
 * How the texts read from the setup information file become data: comma
 * fields, section key lists, the quoted model key, the "@" list of files and
 * the reference to the print processor's entry. Every routine is bounded by
 * the buffers it is given and needs no Windows header, so it also compiles
 * natively for the fuzzers.
 */
#ifndef SETUP_INFO_TEXT_H
#define SETUP_INFO_TEXT_H

#include "path_names.h"

/*
 * Cuts text at commas: commas at the start are skipped, several in a row
 * count as one separator, and a field keeps its blanks. Returns the field and
 * leaves *next behind it; NULL when no field is left.
 */
char *NextField(char **next);

/*
 * A key list holds names each ended by a NUL, the list ended by an empty
 * name; one that did not fit its buffer may end in a single NUL, or none.
 */
int CountKeyListNames(const char *list, int size);
/* The name at the index and its length; NULL past the last name. */
const char *KeyListName(const char *list, int size, int index, int *length);

/*
 * The model a quoted key names: the key without its first and last
 * characters. 0, and nothing written, when that name is empty or could not
 * be a printer name (a backslash or a comma in it).
 */
int ModelNameFromKey(const char *key, int keyLength, char *name, int size, LeadByteTest isLeadByte);

/* The model's quoted key; 0 when it does not fit. */
int MakeModelKey(const char *model, char *key, int size);

/* 1 for a name that may be listed. */
typedef int (*FileNameTest)(const char *name);

/*
 * The names of a "CopyFiles" value, each after an "@" and up to the next
 * comma, as a list ended by an empty name. A name that is empty, does not
 * fit, or is refused by the test (for the program: not a bare file name) is
 * left out. Returns the number listed.
 */
int BuildFileList(const char *copyFiles, char *list, int size, FileNameTest isFileName);

/* The key that a reference such as %KEY% names: the text without its first
   and last characters. 0 for an empty reference. */
int ReferencedKey(const char *reference, char *key, int size);

#endif
