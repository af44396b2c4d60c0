/*
 * Paths and file names taken apart by characters, not bytes: in a
 * double-byte code page the trail byte of a character may be 0x5C, which is
 * no backslash. Needs no Windows header, so it also compiles natively.
 */
#ifndef PATH_NAMES_H
#define PATH_NAMES_H

/* 1 when the byte starts a double-byte character in the code page in use. */
typedef int (*LeadByteTest)(unsigned char byte);

const char *NextCharacter(const char *text, LeadByteTest isLeadByte);

/* The text after the last backslash; the whole text when it holds none. */
const char *FileNamePart(const char *path, LeadByteTest isLeadByte);

/*
 * 1 for a name that can only mean a file in the directory it is joined to:
 * not empty, no backslash, slash or colon (a path, a drive or a stream), not
 * made of dots and blanks alone ("." and "..", which Windows also reads into
 * ". " and ".. "), and not a device's name: CON, PRN, AUX, NUL, COM1 to
 * COM9, LPT1 to LPT9, CONIN$ or CONOUT$ in any case, with or without an
 * extension, with trailing dots or blanks.
 */
int IsBareFileName(const char *name, LeadByteTest isLeadByte);

/*
 * Windows reads a name in its wide form, where COM and LPT followed by a
 * superscript one, two or three (U+00B9, U+00B2, U+00B3) are devices too,
 * in any case, with or without an extension, with trailing blanks. The name
 * in UTF-16 code units, ended by a zero.
 */
int IsSuperscriptDeviceName(const char16_t *name);

#endif
