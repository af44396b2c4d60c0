/*
 * Bounded copies written without the platform's help, so that the text rules
 * built on them also compile and can be fuzzed natively.
 */
#include "textbuf.h"

void CopyText(char *dest, int size, const char *src)
{
    int i = 0;

    if (size <= 0) return;
    if (src)
        for (; i < size - 1 && src[i]; i++) dest[i] = src[i];
    dest[i] = 0;
}

void AppendText(char *dest, int size, const char *src)
{
    int used = 0;

    if (size <= 0) return;
    while (used < size - 1 && dest[used]) used++;
    CopyText(dest + used, size - used, src);
}
