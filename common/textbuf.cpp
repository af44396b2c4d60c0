#include <windows.h>
#include "textbuf.h"

void CopyText(char *dest, int size, const char *src)
{
    if (size <= 0) return;
    lstrcpynA(dest, src ? src : "", size);
}

void AppendText(char *dest, int size, const char *src)
{
    int used = lstrlenA(dest);
    if (used < size - 1) lstrcpynA(dest + used, src ? src : "", size - used);
}
