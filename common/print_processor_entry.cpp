/* Both programs read which print processor the setup information names. */
#include <windows.h>
#include "print_processor_entry.h"
#include "product.h"
#include "setup_info_text.h"
#include "textbuf.h"

int ReadPrintProcessorEntry(char *name, char *file)
{
    char reference[TEXT_SIZE], key[TEXT_SIZE], entry[TEXT_SIZE];
    char *next = entry, *field;

    ReadSetupInfoValue("QLP", "PrintProcessor", "", reference, sizeof reference);
    if (!ReferencedKey(reference, key, sizeof key)) return 0;
    ReadSetupInfoValue("Strings", key, "", entry, sizeof entry);
    name[0] = file[0] = 0;
    field = NextField(&next);
    if (!field) return 1;
    CopyText(name, TEXT_SIZE, field);
    field = NextField(&next);
    if (field) CopyText(file, TEXT_SIZE, field);
    return 1;
}
