#include "path_names.h"

const char *NextCharacter(const char *text, LeadByteTest isLeadByte)
{
    if (!*text) return text;
    if (isLeadByte((unsigned char)text[0]) && text[1]) return text + 2;
    return text + 1;
}

const char *FileNamePart(const char *path, LeadByteTest isLeadByte)
{
    const char *p, *name = path;

    for (p = path; *p; p = NextCharacter(p, isLeadByte))
        if (*p == '\\') name = p + 1;
    return name;
}

/* 1 when the letters, of that length, are the upper-case text, in any case. */
static int SameLetters(const char *letters, int length, const char *upper)
{
    int i;

    for (i = 0; i < length && upper[i]; i++) {
        char c = letters[i] >= 'a' && letters[i] <= 'z' ? (char)(letters[i] - 'a' + 'A') : letters[i];
        if (c != upper[i]) return 0;
    }
    return i == length && !upper[i];
}

/*
 * Windows opens a device for these names whatever follows their first dot,
 * and with blanks before it. A dot or a blank is never the trail byte of a
 * double-byte character, so the bytes can be looked at one by one.
 */
static int IsDeviceName(const char *name)
{
    static const char *const devices[] = { "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$" };
    int length = 0;
    unsigned i;

    while (name[length] && name[length] != '.') length++;
    while (length && name[length - 1] == ' ') length--;
    for (i = 0; i < sizeof devices / sizeof devices[0]; i++)
        if (SameLetters(name, length, devices[i])) return 1;
    return length == 4 && (SameLetters(name, 3, "COM") || SameLetters(name, 3, "LPT")) &&
           name[3] >= '1' && name[3] <= '9';
}

int IsBareFileName(const char *name, LeadByteTest isLeadByte)
{
    const char *p;
    int onlyDots = 1;

    if (!*name || IsDeviceName(name)) return 0;
    for (p = name; *p; p = NextCharacter(p, isLeadByte)) {
        if (*p == '\\' || *p == '/' || *p == ':') return 0;
        if (*p != '.' && *p != ' ') onlyDots = 0;
    }
    return !onlyDots;
}

int IsSuperscriptDeviceName(const char16_t *name)
{
    char letters[3];
    int length = 0;

    while (name[length] && name[length] != u'.') length++;
    while (length && name[length - 1] == u' ') length--;
    if (length != 4 || (name[3] != 0xB9 && name[3] != 0xB2 && name[3] != 0xB3)) return 0;
    for (int i = 0; i < 3; i++) {
        if (name[i] > 0x7F) return 0;
        letters[i] = (char)name[i];
    }
    return SameLetters(letters, 3, "COM") || SameLetters(letters, 3, "LPT");
}
