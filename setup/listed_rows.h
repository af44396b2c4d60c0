/*
 * The rows an icon list of the wizard shows, walked without a list: the
 * quiet run finds its model and port among what the Model and Port pages
 * would offer.
 */
#ifndef LISTED_ROWS_H
#define LISTED_ROWS_H

#include "dialog_kit.h"
#include "textbuf.h"

struct ListedRow
{
    int rows;                   /* 0, 1, or 2 for several */
    char first[TEXT_SIZE];      /* the first row */
    int found;
    char match[TEXT_SIZE];      /* the row found, as the list spells it */
};

/*
 * Walks the names as FillIconList fills its list and DropEmptyRows empties
 * it: a name the callback does not write repeats the one before, a name
 * already listed is dropped, and so is an empty one. A row is found as the
 * list's own look-up finds it, whatever the case of its letters; wanted may
 * be NULL.
 */
void FindListedRow(short count, NameAtIndexCallback nameAt, const char *wanted, ListedRow *row);

#endif
