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

int IsBareFileName(const char *name, LeadByteTest isLeadByte)
{
    const char *p;
    int onlyDots = 1;

    if (!*name) return 0;
    for (p = name; *p; p = NextCharacter(p, isLeadByte)) {
        if (*p == '\\' || *p == '/' || *p == ':') return 0;
        if (*p != '.' && *p != ' ') onlyDots = 0;
    }
    return !onlyDots;
}
