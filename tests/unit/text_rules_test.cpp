/*
 * The header-free text rules, on the inputs where a byte-wise or unbounded
 * reading goes wrong: double-byte names, key lists that were cut, names that
 * are paths. The fuzzers run the same routines natively.
 */
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "package_files.h"
#include "path_names.h"
#include "progress_geometry.h"
#include "setup_info_text.h"
#include "textbuf.h"

/* Code page 949, as Wine runs the tests. */
static int Cp949LeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

TEST(TextRules, FileNameAfterTheLastBackslashByCharacters)
{
    static const struct
    {
        const char *path, *name;
    } cases[] = {
        { "C:\\Windows\\INF\\oem7.inf", "oem7.inf" },
        { "oem7.inf", "oem7.inf" },
        { "C:\\", "" },
        /* 0x5C as the trail byte of a double-byte character is no backslash. */
        { "C:\\\xb0\x5c\\\xc7\x5c.inf", "\xc7\x5c.inf" },
        { "D:\\\x81\x5c", "\x81\x5c" },
        { "", "" },
    };

    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(FileNamePart(c.path, Cp949LeadByte), c.name);
    }
}

TEST(TextRules, OnlyBareFileNames)
{
    static const struct
    {
        const char *name;
        int bare;
    } cases[] = {
        { "QLRM550.GPD", 1 }, { "A.GPD ", 1 }, { "a..b", 1 }, { "\xb0\x5c.dll", 1 },
        { "", 0 }, { ".", 0 }, { "..", 0 }, { ".. ", 0 }, { " . ", 0 },
        { "..\\..\\evil.dll", 0 }, { "sub\\a.gpd", 0 }, { "/x", 0 }, { "C:x.dll", 0 }, { "a.dll:stream", 0 },
        { "CON", 0 }, { "nul.txt", 0 }, { "Com9 ", 0 }, { "aux. .", 0 }, { "prn .gpd", 0 }, { "conout$.log", 0 },
        { "LPT1.txt", 0 },
        { "COM0", 1 }, { "COM10", 1 }, { "CONSOLE", 1 }, { "NULL.DLL", 1 },
        /* Superscript one, two, three: devices in the names' wide form; four is not. */
        { "COM\xa9\xf6", 0 }, { "lpt\xa9\xf8.dll", 0 }, { "Com\xa9\xf7 .gpd", 0 }, { "COM\xa9\xf9", 1 },
    };

    /* The program's rule, in code page 949 as Wine runs the tests. */
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsPackageFileName(c.name), c.bare);
    }
}

TEST(TextRules, FileListLeavesOutWhatIsNoBareName)
{
    static const struct
    {
        const char *copyFiles, *names;
        int count;
    } cases[] = {
        { "@A.GPD,@B.DLL", "A.GPD|B.DLL", 2 },
        { "@..\\..\\evil.dll,@A.GPD", "A.GPD", 1 },
        { "@C:\\x.dll,@sub\\b.dll,@/c,@..,@D.DLL", "D.DLL", 1 },
        { "@,@@,@", "@", 1 },
    };

    for (const auto &c : cases) {
        SCOPED_TRACE(c.copyFiles);
        char list[64];
        std::string joined;
        memset(list, 'x', sizeof list);
        EXPECT_EQ(BuildFileList(c.copyFiles, list, sizeof list, IsPackageFileName), c.count);
        for (const char *p = list; *p; p += strlen(p) + 1) joined += (joined.empty() ? "" : "|") + std::string(p);
        EXPECT_EQ(joined, c.names);
    }

    /* A name that does not fit is left out; the list keeps room for the
       empty name that ends it. */
    char small[8];
    EXPECT_EQ(BuildFileList("@ABC,@DEF,@G", small, sizeof small, IsPackageFileName), 2);
    EXPECT_EQ(std::string(small, 7), std::string("ABC\0G\0\0", 7));
}

TEST(TextRules, KeyListsThatWereCutAreWalkedWithinTheirBuffer)
{
    /* No NUL at all: the reader of another system may fill the buffer. */
    const char unterminated[6] = { '"', 'A', '"', 0, '"', 'B' };
    int length = -1;

    EXPECT_EQ(CountKeyListNames(unterminated, sizeof unterminated), 2);
    EXPECT_EQ(KeyListName(unterminated, sizeof unterminated, 1, &length), unterminated + 4);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(KeyListName(unterminated, sizeof unterminated, 2, &length), (const char *)NULL);
    EXPECT_EQ(KeyListName("\0\"B\"\0", 5, 0, &length), (const char *)NULL) << "an empty name ends the list";
}

TEST(TextRules, ModelNamesThatCannotBePrinterNamesAreNotOffered)
{
    static const struct
    {
        const char *key, *name;
    } cases[] = {
        { "\"TARVOK QLP-RM550\"", "TARVOK QLP-RM550" },
        { "ABCD", "BC" },
        { "\"A\\B\"", NULL },
        { "\"A,B\"", NULL },
        { "\"\"", NULL },
        { "\"", NULL },
        /* The trail byte 0x5C of a Korean character is no backslash. */
        { "\"\xb0\x5c\"", "\xb0\x5c" },
    };

    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        char name[TEXT_SIZE] = "untouched";
        EXPECT_EQ(ModelNameFromKey(c.key, (int)strlen(c.key), name, sizeof name, Cp949LeadByte), c.name ? 1 : 0);
        EXPECT_STREQ(name, c.name ? c.name : "untouched");
    }
}

TEST(TextRules, TextsThatDoNotFitAreCut)
{
    static const struct
    {
        const char *start, *text;
        int size;
        const char *result;
    } cases[] = {
        { "", "QLP-RM550", 4, "QLP" }, { "", "QLP", 4, "QLP" }, { "", "Q", 1, "" },
        { "AB", "CDE", 4, "ABC" }, { "ABC", "D", 4, "ABC" },
    };

    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.start) + "+" + c.text);
        char buffer[8];
        memset(buffer, '#', sizeof buffer);
        CopyText(buffer, c.size, c.start);
        AppendText(buffer, c.size, c.text);
        EXPECT_STREQ(buffer, c.result);
        EXPECT_EQ(buffer[c.size], '#') << "written past the buffer";
    }
}

TEST(TextRules, ProgressRoundsAsMulDiv)
{
    for (int count : { 1, 2, 3, 7, 200, 2147483647 })
        for (int copied : { 0, 1, 2, 3, 5, count / 2, count - 1, count }) {
            SCOPED_TRACE(std::to_string(copied) + " of " + std::to_string(count));
            EXPECT_EQ(ProgressPercent(copied, count), MulDiv(100, copied, count));
        }
    EXPECT_EQ(ProgressEdge(50, -2147483647, 2147483647), 0) << "no overflow on a wide bar";
}
