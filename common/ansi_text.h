/* Wide texts the programs take in the ANSI code page, only when exact. */
#ifndef ANSI_TEXT_H
#define ANSI_TEXT_H

#include <windows.h>

/*
 * The ANSI form of a wide text in a TEXT_SIZE buffer, 1 when it converts
 * back to the very same text, code unit for code unit: a letter the code
 * page lacks has no nearest-letter stand-in (code page 949 would give the
 * won sign as a backslash), and a text that does not fit is not cut. On 0
 * the buffer holds a text with stand-ins, or the front of a long one.
 */
int ExactAnsiText(const WCHAR *wide, char *ansi);

#endif
