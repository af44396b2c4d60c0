/*
 * File names taken from paths, walked by characters in code page 949 and in
 * a single-byte code page: the name part starts the text or follows a
 * backslash character and holds none itself; a bare file name is one that is
 * not empty, holds no backslash, slash or colon character, is not made of
 * dots and blanks alone and does not name a device. In the wide form of the
 * name, in code page 949 and in Latin-1, COM and LPT with a superscript one,
 * two or three name devices too.
 */
#include <ctype.h>
#include <iconv.h>
#include <string>
#include "fuzz_support.h"
#include "path_names.h"

/* What Windows reads as a device: the part before the first dot, without the
   blanks that end it, in any case. */
static bool NamesDevice(const char *path)
{
    std::string stem(path, strcspn(path, "."));

    stem.erase(stem.find_last_not_of(' ') + 1);
    for (char &c : stem) c = (char)toupper((unsigned char)c);
    if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9' && (!stem.compare(0, 3, "COM") || !stem.compare(0, 3, "LPT")))
        return true;
    return stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" || stem == "CONOUT$";
}

static void CheckPath(const char *path, LeadByteTest isLeadByte)
{
    const char *name = FileNamePart(path, isLeadByte), *afterBackslash = path, *p;
    int length = (int)strlen(path), step, separators = 0, onlyDotsAndBlanks = 1;

    for (int i = 0; i < length; i += step) {
        step = CharacterLength(path + i, isLeadByte);
        CHECK(NextCharacter(path + i, isLeadByte) == path + i + step);
        if (path[i] == '\\') afterBackslash = path + i + 1;
        if (strchr("\\/:", path[i])) separators++;
        if (path[i] != '.' && path[i] != ' ') onlyDotsAndBlanks = 0;
    }
    CHECK(NextCharacter(path + length, isLeadByte) == path + length);

    CHECK(name >= path && name <= path + length);
    CHECK(name == afterBackslash);
    for (p = name; *p; p += CharacterLength(p, isLeadByte))
        CHECK(*p != '\\');

    CHECK(IsBareFileName(path, isLeadByte) ==
          (length > 0 && !separators && !onlyDotsAndBlanks && !NamesDevice(path)));
}

static bool NamesSuperscriptDevice(const std::u16string &name)
{
    std::u16string stem = name.substr(0, name.find(u'.'));

    stem.erase(stem.find_last_not_of(u' ') + 1);
    if (stem.size() != 4 || (stem[3] != 0xB9 && stem[3] != 0xB2 && stem[3] != 0xB3)) return false;
    for (int i = 0; i < 3; i++)
        if (stem[i] >= u'a' && stem[i] <= u'z') stem[i] = (char16_t)(stem[i] - u'a' + u'A');
    return !stem.compare(0, 3, u"COM") || !stem.compare(0, 3, u"LPT");
}

/* The text in code page 949, or nothing for bytes that 949 does not hold. */
static std::u16string Cp949WideForm(const char *text)
{
    static iconv_t toWide = iconv_open("UTF-16LE", "CP949");
    size_t inLeft = strlen(text), outLeft = inLeft * 2;
    std::u16string wide(inLeft, 0);
    char *in = (char *)text, *out = (char *)&wide[0];

    iconv(toWide, NULL, NULL, NULL, NULL);
    if (iconv(toWide, &in, &inLeft, &out, &outLeft) == (size_t)-1) return u"";
    wide.resize(wide.size() - outLeft / 2);
    return wide;
}

static void CheckWideForm(const std::u16string &wide)
{
    CHECK(IsSuperscriptDeviceName(wide.c_str()) == NamesSuperscriptDevice(wide));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    char *path = TextCopy(data, size);

    CheckPath(path, IsCp949LeadByte);
    CheckPath(path, IsNoLeadByte);
    CheckWideForm(Cp949WideForm(path));
    CheckWideForm(std::u16string((const unsigned char *)path, (const unsigned char *)path + strlen(path)));
    free(path);
    return 0;
}
