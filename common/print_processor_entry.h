/*
 * The print processor the setup information names: [QLP] PrintProcessor
 * holds a reference such as %KEY%, and the [Strings] entry of that key holds
 * the print processor's name and its library, comma fields.
 */
#ifndef PRINT_PROCESSOR_ENTRY_H
#define PRINT_PROCESSOR_ENTRY_H

/* The name and the library, each a TEXT_SIZE buffer left empty when its
   field is missing; 0, and nothing written, when the reference is empty. */
int ReadPrintProcessorEntry(char *name, char *file);

#endif
