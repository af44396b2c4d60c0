/* Wide texts the programs take in the ANSI code page, only when exact. */
#ifndef ANSI_TEXT_H
#define ANSI_TEXT_H

#include <windows.h>

/*
 * The ANSI form of a wide text in a TEXT_SIZE buffer, 1 when it converts
 * back to the very same text: a letter the code page lacks has no
 * nearest-letter stand-in, and a text that does not fit is not cut. On 0 the
 * buffer holds a text with stand-ins, or is empty.
 */
int ExactAnsiText(const WCHAR *wide, char *ansi);

#endif
