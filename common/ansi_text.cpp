#include <windows.h>
#include "ansi_text.h"
#include "textbuf.h"

/* Code unit for code unit: a linguistic comparison holds some different
   texts equal, such as a backslash and the won sign in code page 949. */
static int SameCodeUnits(const WCHAR *a, const WCHAR *b)
{
    while (*a && *a == *b) {
        a++;
        b++;
    }
    return *a == *b;
}

int ExactAnsiText(const WCHAR *wide, char *ansi)
{
    WCHAR back[TEXT_SIZE];
    BOOL usedDefault = FALSE;
    int length;

    if (!WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, ansi, TEXT_SIZE, NULL, &usedDefault)) {
        /* Too long: the front of it, which two bytes a letter always hold,
           still tells what the text is. */
        length = lstrlenW(wide);
        if (length > TEXT_SIZE / 2 - 1) length = TEXT_SIZE / 2 - 1;
        length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, ansi, TEXT_SIZE - 1, NULL, NULL);
        ansi[length > 0 ? length : 0] = 0;
        return 0;
    }
    if (usedDefault) return 0;
    if (!MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, -1, back, TEXT_SIZE)) return 0;
    return SameCodeUnits(back, wide);
}
