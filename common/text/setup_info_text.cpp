#include "setup_info_text.h"
#include "textbuf.h"

char *NextField(char **next)
{
    char *field = *next, *end;

    while (*field == ',') field++;
    if (!*field) return 0;
    end = field;
    while (*end && *end != ',') end++;
    if (*end) *end++ = 0;
    *next = end;
    return field;
}

/* The end of the name at p: its NUL, or the end of the buffer. */
static const char *NameEnd(const char *p, const char *end)
{
    while (p < end && *p) p++;
    return p;
}

int CountKeyListNames(const char *list, int size)
{
    const char *p = list, *end = list + size;
    int count = 0;

    while (p < end && *p) {
        count++;
        p = NameEnd(p, end);
        if (p < end) p++;
    }
    return count;
}

const char *KeyListName(const char *list, int size, int index, int *length)
{
    const char *p = list, *end = list + size, *nameEnd;
    int i = 0;

    while (p < end && *p) {
        nameEnd = NameEnd(p, end);
        if (i++ == index) {
            *length = (int)(nameEnd - p);
            return p;
        }
        p = nameEnd < end ? nameEnd + 1 : end;
    }
    return 0;
}

int ModelNameFromKey(const char *key, int keyLength, char *name, int size, LeadByteTest isLeadByte)
{
    char model[TEXT_SIZE];
    const char *p;
    int length = keyLength - 2;

    if (length <= 0) return 0;
    if (length > TEXT_SIZE - 1) length = TEXT_SIZE - 1;
    for (int i = 0; i < length; i++) model[i] = key[i + 1];
    model[length] = 0;
    for (p = model; *p; p = NextCharacter(p, isLeadByte))
        if (*p == '\\' || *p == ',') return 0;
    CopyText(name, size, model);
    return 1;
}

int MakeModelKey(const char *model, char *key, int size)
{
    int length = 0;

    while (model[length] && length < size) length++;
    if (length > size - 3) return 0;
    key[0] = '"';
    for (int i = 0; i < length; i++) key[i + 1] = model[i];
    key[length + 1] = '"';
    key[length + 2] = 0;
    return 1;
}

int BuildFileList(const char *copyFiles, char *list, int size, FileNameTest isFileName)
{
    char *out = list, *limit;
    const char *p = copyFiles, *name;
    int length, count = 0;

    if (size > 0) *list = 0;
    if (size < 2) return 0;
    limit = list + size - 2;
    while (*p) {
        if (*p++ != '@') continue;
        name = p;
        while (*p && *p != ',') p++;
        length = (int)(p - name);
        if (*p == ',') p++;
        /* An empty name would end the list early. */
        if (!length || length > limit - out) continue;
        for (int i = 0; i < length; i++) out[i] = name[i];
        out[length] = 0;
        if (!isFileName(out)) continue;
        out += length + 1;
        count++;
    }
    *out = 0;
    return count;
}

int ReferencedKey(const char *reference, char *key, int size)
{
    int length = 0;

    while (reference[length]) length++;
    if (!length) return 0;
    CopyText(key, size, length > 1 ? reference + 1 : "");
    if (size > 0 && length - 2 < size) key[length > 1 ? length - 2 : 0] = 0;
    return 1;
}
