#include <windows.h>
#include "listed_rows.h"

void FindListedRow(short count, NameAtIndexCallback nameAt, const char *wanted, ListedRow *row)
{
    static char name[TEXT_SIZE];

    ZeroMemory(row, sizeof *row);
    name[0] = 0;
    for (short i = 0; i < count; i++) {
        nameAt((WORD)i, name);
        name[TEXT_SIZE - 1] = 0;
        if (!name[0]) continue;
        if (!row->rows) {
            CopyText(row->first, TEXT_SIZE, name);
            row->rows = 1;
        } else if (lstrcmpiA(name, row->first)) {
            row->rows = 2;
        }
        if (wanted && !row->found && !lstrcmpiA(name, wanted)) {
            CopyText(row->match, TEXT_SIZE, name);
            row->found = 1;
        }
    }
}
