/*
 * The resources as the programs carry them: every dialog template control by
 * control, the string table, the pictures, the manifest and the version.
 * The programs are loaded as data files and their templates walked.
 */
#include <windows.h>
#include <setupapi.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "resource.h"

#define PAGE_STYLE   (DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT)
#define MSG_STYLE    (DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT)
#define STATUS_STYLE (DS_MODALFRAME | DS_3DLOOK | WS_POPUP | DS_SETFONT)

#define CHILD     (WS_CHILD | WS_VISIBLE)
#define DEFPUSH   (CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON)
#define PUSH      (CHILD | WS_TABSTOP | BS_PUSHBUTTON)
#define LTEXT_STYLE      (CHILD | SS_LEFT)
#define ICONST    (CHILD | SS_ICON)
#define PICTURE   (CHILD | SS_BITMAP | SS_REALSIZEIMAGE | SS_SUNKEN)
#define SEPARATOR (CHILD | SS_GRAYRECT | SS_SUNKEN)
#define SIDE      (WS_CHILD | WS_DISABLED | WS_TABSTOP | BS_OWNERDRAW)
#define LIST      (CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | \
                   WS_VSCROLL | WS_BORDER | WS_TABSTOP)

struct Control
{
    int id;
    const char *kind;
    DWORD style;
    short x, y, cx, cy;
    const char *text;   /* "#n" for a resource ordinal */
};

struct Template
{
    const char *name;
    bool extended;
    DWORD style, exStyle;
    short x, y, cx, cy;
    const char *caption, *font;
    std::vector<Control> controls;
};

#define BITMAP_113(h) { -1, "Static", PICTURE, 0, 0, 333, h, "#113" }
#define SEPARATOR_LINE { -1, "Static", SEPARATOR, 124, 151, 202, 1, "" }
#define SIDE_PICTURE { 2039, "Button", SIDE, 6, 149, 19, 30, "" }
#define MSG_TEXT(y, h) { 4038, "Static", LTEXT_STYLE, 38, y, 167, h, "" }
#define MSG_ICON { 2032, "Static", ICONST, 10, 8, 20, 20, "" }

static const char Wizard[] = "Tarvok Printer Driver Install Wizard";

static const std::vector<Template> templates = {
    { "IDD_WELCOME", true, PAGE_STYLE, 0, 0, 0, 333, 179, Wizard, "Arial", {
        BITMAP_113(226),
        { 2001, "Button", DEFPUSH, 199, 154, 56, 15, "Next" },
        SEPARATOR_LINE,
        { 2, "Button", PUSH, 272, 154, 54, 15, "&Cancel" },
        SIDE_PICTURE,
        { 2037, "Static", LTEXT_STYLE, 163, 53, 154, 93, "Static" },
        { -1, "Static", ICONST, 131, 14, 21, 18, "#32516" },
        { -1, "Static", LTEXT_STYLE, 163, 16, 154, 27,
          " Welcome to the Install Wizard for QLP Driver. To continue, click Next." } } },
    { "IDD_GETMODEL", true, PAGE_STYLE, WS_EX_WINDOWEDGE, 0, 0, 333, 179, Wizard, "Arial", {
        BITMAP_113(179), SEPARATOR_LINE, SIDE_PICTURE,
        { 2035, "ListBox", LIST, 129, 48, 189, 96, "" },
        { 2001, "Button", DEFPUSH, 191, 156, 65, 12, "Next" },
        { 2, "Button", PUSH, 262, 156, 63, 12, "&Cancel" },
        { 2009, "Static", LTEXT_STYLE, 159, 12, 157, 23, " Select printer model to install. To continue, click Next." },
        { 2034, "Static", LTEXT_STYLE, 129, 39, 188, 8, "Printer &Models:" },
        { -1, "Static", ICONST, 129, 12, 21, 18, "#32516" },
        { 2000, "Button", PUSH, 128, 156, 63, 12, "&Back" } } },
    { "IDD_SETPORT", true, PAGE_STYLE, 0, 0, 0, 333, 179, "Tarvok Printer Driver Install Wizard set port", "Arial", {
        BITMAP_113(179), SEPARATOR_LINE, SIDE_PICTURE,
        { 2017, "Static", LTEXT_STYLE, 131, 42, 186, 8, "Printer Port Type:" },
        { 2009, "Static", LTEXT_STYLE, 162, 14, 153, 22, " Select the port type. To continue, click Next." },
        { 2001, "Button", DEFPUSH, 191, 156, 65, 12, "Next" },
        { 2000, "Button", PUSH, 128, 156, 63, 12, "&Back" },
        { 2, "Button", PUSH, 262, 156, 63, 12, "&Cancel" },
        { -1, "Static", ICONST, 130, 14, 20, 20, "#32516" },
        { 2042, "Button", CHILD | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 149, 99, 135, 10,
          "USB ( USB001, USB002, USBxxx ... )" },
        { 2041, "Button", CHILD | BS_AUTORADIOBUTTON, 149, 73, 125, 10, "SERIAL ( COM1, COM2, COMx ... )" } } },
    { "IDD_GETPORT", true, PAGE_STYLE, 0, 0, 0, 333, 179, Wizard, "Arial", {
        BITMAP_113(179), SEPARATOR_LINE, SIDE_PICTURE,
        { 2017, "Static", LTEXT_STYLE, 131, 42, 186, 8, "Printer &Ports:" },
        { 2009, "Static", LTEXT_STYLE, 162, 14, 153, 22, " Select the port connected to printer. To continue, click Next." },
        { 2033, "ListBox", LIST, 130, 50, 189, 96, "" },
        { 2001, "Button", DEFPUSH, 191, 156, 65, 12, "Next" },
        { 2000, "Button", PUSH, 128, 156, 63, 12, "&Back" },
        { 2, "Button", PUSH, 262, 156, 63, 12, "&Cancel" },
        { -1, "Static", ICONST, 130, 14, 21, 18, "#32516" } } },
    { "IDD_EXIT", true, PAGE_STYLE, 0, 0, 0, 333, 179, Wizard, "Arial", {
        BITMAP_113(179), SEPARATOR_LINE, SIDE_PICTURE,
        { 1, "Button", PUSH, 272, 154, 54, 15, "&Ok" },
        { 2032, "Static", ICONST, 129, 13, 21, 18, "" },
        { 2005, "Static", LTEXT_STYLE, 155, 19, 162, 18, "" },
        { 2038, "Static", LTEXT_STYLE, 161, 127, 156, 10, "" },
        { 2040, "Button", CHILD | BS_AUTOCHECKBOX | WS_TABSTOP, 166, 90, 151, 10, "Set as &default printer" } } },
    { "IDD_MSG_OK", false, MSG_STYLE, 0, 13, 13, 214, 74, "", "MS Sans Serif", {
        MSG_TEXT(15, 30), MSG_ICON,
        { 1, "Button", DEFPUSH, 79, 52, 56, 15, "&Ok" } } },
    { "IDD_MSG_OKCANCEL", false, MSG_STYLE, 0, 13, 13, 214, 74, "", "MS Sans Serif", {
        MSG_TEXT(15, 30), MSG_ICON,
        { 1, "Button", DEFPUSH, 45, 52, 59, 15, "&Ok" },
        { 2, "Button", PUSH, 111, 52, 59, 15, "&Cancel" } } },
    { "IDD_MSG_YESNO", false, MSG_STYLE, 0, 13, 13, 214, 74, "", "MS Sans Serif", {
        MSG_TEXT(13, 32), MSG_ICON,
        { 6, "Button", DEFPUSH, 45, 52, 58, 15, "&Yes" },
        { 7, "Button", PUSH, 111, 52, 59, 15, "&No" } } },
    { "IDD_MSG_YESNOCANCEL", false, MSG_STYLE, 0, 13, 13, 214, 74, "", "MS Sans Serif", {
        MSG_TEXT(13, 32), MSG_ICON,
        { 6, "Button", DEFPUSH, 16, 52, 57, 15, "&Yes" },
        { 7, "Button", PUSH, 77, 52, 58, 15, "&No" },
        { 2, "Button", PUSH, 139, 52, 58, 15, "&Cancel" } } },
    { "IDD_MSG_RETRYCANCEL", false, MSG_STYLE, 0, 13, 13, 214, 74, "", "MS Sans Serif", {
        MSG_TEXT(13, 32), MSG_ICON,
        { 4, "Button", DEFPUSH, 45, 52, 59, 15, "&Retry" },
        { 2, "Button", PUSH, 111, 52, 59, 15, "&Cancel" } } },
    { "IDD_STATUS", false, STATUS_STYLE, 0, 13, 14, 179, 36, "", "MS Sans Serif", {
        { 2031, "Static", LTEXT_STYLE, 44, 15, 126, 10, "" },
        { -1, "Static", ICONST, 13, 9, 20, 20, "IDI_DISK" } } },
};

/* Reads a template field that is a text or an ordinal. */
static std::string TakeNameOrOrdinal(const WORD *&p)
{
    char text[1024];

    if (*p == 0xffff) {
        snprintf(text, sizeof text, "#%u", p[1]);
        p += 2;
        return text;
    }
    WideCharToMultiByte(CP_ACP, 0, (const WCHAR *)p, -1, text, sizeof text, NULL, NULL);
    p += lstrlenW((const WCHAR *)p) + 1;
    return text;
}

static std::string ClassName(const std::string &name)
{
    static const char *const ordinals[] = { "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" };
    if (name[0] == '#') return ordinals[atoi(name.c_str() + 1) - 0x80];
    return name;
}

static std::string PackagePath(const char *file)
{
    std::string path = std::string("Z:") + getenv("DRV_PACKAGE_DIR") + "/" + file;
    for (char &c : path) if (c == '/') c = '\\';
    return path;
}

static HMODULE LoadProgram(const char *file)
{
    return LoadLibraryExA(PackagePath(file).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
}

/* Style and extended style, in the order each template form keeps them; an
   extended record starts with a help id. */
static void TakeStyles(const WORD *&p, bool extended, DWORD *style, DWORD *exStyle)
{
    if (extended) p += 2;
    *(extended ? exStyle : style) = *(const DWORD *)p;
    *(extended ? style : exStyle) = *(const DWORD *)(p + 2);
    p += 4;
}

static std::string TakeRect(const WORD *&p)
{
    const short *r = (const short *)p;
    p += 4;
    return std::to_string(r[0]) + "," + std::to_string(r[1]) + "," + std::to_string(r[2]) + "," + std::to_string(r[3]);
}

static std::string Rect(short x, short y, short cx, short cy)
{
    return std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(cx) + "," + std::to_string(cy);
}

static void CheckTemplate(HMODULE module, const Template &t)
{
    SCOPED_TRACE(t.name);
    HRSRC found = FindResourceExA(module, (LPCSTR)RT_DIALOG, t.name, MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
    ASSERT_TRUE(found != NULL) << "no Korean template";
    const WORD *p = (const WORD *)LockResource(LoadResource(module, found));
    DWORD style, exStyle;

    ASSERT_EQ(p[0] == 1 && p[1] == 0xffff, t.extended) << "extended template";
    if (t.extended) p += 2;                          /* version and signature */
    TakeStyles(p, t.extended, &style, &exStyle);
    EXPECT_EQ(style, t.style);
    EXPECT_EQ(exStyle, t.exStyle);
    WORD count = *p++;
    EXPECT_EQ(TakeRect(p), Rect(t.x, t.y, t.cx, t.cy));
    EXPECT_EQ(TakeNameOrOrdinal(p), "");            /* menu */
    EXPECT_EQ(TakeNameOrOrdinal(p), "");            /* class */
    EXPECT_EQ(TakeNameOrOrdinal(p), t.caption);
    EXPECT_EQ(*p++, 8) << "point size";
    if (t.extended) p += 2;                          /* weight, italic and charset */
    EXPECT_EQ(TakeNameOrOrdinal(p), t.font);

    ASSERT_EQ(count, t.controls.size());
    for (const Control &c : t.controls) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.id) + " " + c.text);
        p = (const WORD *)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
        TakeStyles(p, t.extended, &style, &exStyle);
        EXPECT_EQ(style, c.style);
        EXPECT_EQ(exStyle, 0u);
        EXPECT_EQ(TakeRect(p), Rect(c.x, c.y, c.cx, c.cy));
        int id = t.extended ? *(const int *)p : (short)*p;
        p += t.extended ? 2 : 1;
        EXPECT_EQ(id, c.id);
        EXPECT_EQ(lstrcmpiA(ClassName(TakeNameOrOrdinal(p)).c_str(), c.kind), 0) << "class " << c.kind;
        EXPECT_EQ(TakeNameOrOrdinal(p), c.text);
        p = (const WORD *)((const BYTE *)p + sizeof(WORD) + *p);
    }
}

TEST(Resources, DialogTemplatesOfBothPrograms)
{
    for (const char *program : { "drvsetup.exe", "drvremove.exe" }) {
        SCOPED_TRACE(program);
        HMODULE module = LoadProgram(program);
        ASSERT_TRUE(module != NULL);
        for (const Template &t : templates) CheckTemplate(module, t);
        FreeLibrary(module);
    }
}

TEST(Resources, StringTable)
{
    static const struct { UINT id; const char *text; } strings[] = {
        { 4000, "The Installation has done successfully." },
        { 4001, "The Installation has failed." },
        { 4007, "Cannot read the source file" },
        { 4008, "Cannot create the destination file." },
        { 4013, "Unknown error accured." },
        { 4014, "Decompression error." },
        { 4015, "Memory exhausted." },
        { 4016, "File has damaged." },
        { 4017, "Insufficient disk space." },
        { 4018, "File open error." },
        { 4027, "Reading setup information..." },
        { 4028, "Writing system information..." },
        { 4032, "Error" },
        { 4033, "Question" },
        { 4034, "Warinig" },
        { 4044, "Are you sure you want to cancel QLP driver installation?" },
        { 4052, "Select printer model to install." },
        { 4053, "Select printer port to connect." },
        { 4054, "There is no setup information. Cannot continue." },
        { 4055, "Selected printer driver has installed already. Exit setup and delete old printer driver and continue." },
    };
    HMODULE module = LoadProgram("drvsetup.exe");
    char text[1024];
    unsigned listed = 0;

    ASSERT_TRUE(module != NULL);
    for (UINT id = 3900; id < 4200; id++) {
        SCOPED_TRACE(id);
        text[0] = 0;
        int length = LoadStringA(module, id, text, sizeof text);
        const char *expected = NULL;
        for (auto &s : strings) if (s.id == id) expected = s.text;
        if (!expected) {
            EXPECT_EQ(length, 0) << "a string the table does not hold: " << text;
            continue;
        }
        EXPECT_STREQ(text, expected);
        listed++;
    }
    EXPECT_EQ(listed, ARRAYSIZE(strings));
    /* The strings are Korean resources too. */
    EXPECT_TRUE(FindResourceExA(module, (LPCSTR)RT_STRING, MAKEINTRESOURCEA(4000 / 16 + 1),
                                MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)) != NULL);
    FreeLibrary(module);
}

struct IconImage
{
    int size, bits;
};

static std::vector<IconImage> IconImages(HMODULE module, const char *name)
{
    std::vector<IconImage> images;
    HRSRC found = FindResourceExA(module, (LPCSTR)RT_GROUP_ICON, name, MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
    if (!found) return images;
    const BYTE *group = (const BYTE *)LockResource(LoadResource(module, found));
    WORD count = *(const WORD *)(group + 4);
    for (WORD i = 0; i < count; i++) {
        const BYTE *entry = group + 6 + 14 * i;
        images.push_back({ entry[0] ? entry[0] : 256, *(const WORD *)(entry + 6) });
    }
    return images;
}

static bool HasImage(const std::vector<IconImage> &images, int size, int bits)
{
    for (const IconImage &i : images) if (i.size == size && i.bits == bits) return true;
    return false;
}

TEST(Resources, PicturesAndIcons)
{
    static const struct { const char *name; int size, bits; } icons[] = {
        { "IDI_DISK", 16, 4 }, { "IDI_DISK", 32, 4 }, { "IDI_DISK", 16, 8 }, { "IDI_DISK", 32, 8 },
        { "IDI_NETWORK", 48, 8 }, { "IDI_NETWORK", 32, 8 }, { "IDI_NETWORK", 16, 8 },
        { "IDI_PORT", 32, 1 }, { "IDI_PORT", 32, 4 },
        { "IDI_PRINTER", 48, 8 }, { "IDI_PRINTER", 32, 8 }, { "IDI_PRINTER", 16, 8 },
        { "IDI_SETUP", 32, 4 }, { "IDI_SETUP", 16, 4 },
    };
    static const struct { int id, width, height, bits; } bitmaps[] = {
        { IDB_PICTURE, 497, 309, 24 }, { IDB_SIDE_PICTURE, 154, 248, 4 },
    };
    HMODULE setup = LoadProgram("drvsetup.exe"), remove = LoadProgram("drvremove.exe");
    ASSERT_TRUE(setup && remove);

    for (auto &icon : icons) {
        SCOPED_TRACE(std::string(icon.name) + " " + std::to_string(icon.size) + "/" + std::to_string(icon.bits));
        EXPECT_TRUE(HasImage(IconImages(setup, icon.name), icon.size, icon.bits));
        if (strcmp(icon.name, "IDI_SETUP")) {
            EXPECT_TRUE(HasImage(IconImages(remove, icon.name), icon.size, icon.bits)) << "drvremove";
        }
    }
    /* The removal window is never shown: its program has its own icon and no IDI_SETUP. */
    EXPECT_TRUE(IconImages(remove, "IDI_SETUP").empty());
    EXPECT_FALSE(IconImages(remove, "IDI_DELETEMODEL").empty());

    for (auto &b : bitmaps) {
        for (HMODULE module : { setup, remove }) {
            HRSRC found = FindResourceExA(module, (LPCSTR)RT_BITMAP, MAKEINTRESOURCEA(b.id),
                                          MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
            ASSERT_TRUE(found != NULL) << b.id;
            const BITMAPINFOHEADER *info = (const BITMAPINFOHEADER *)LockResource(LoadResource(module, found));
            EXPECT_EQ(info->biWidth, b.width);
            EXPECT_EQ(info->biHeight, b.height);
            EXPECT_EQ(info->biBitCount, b.bits);
        }
    }
    FreeLibrary(setup);
    FreeLibrary(remove);
}

/* The driver's version in the package's setup information file, "w.x.y.z"
   of its DriverVer line: the one place the product's version is written. */
static std::string SetupInfoVersion(void)
{
    char text[64] = "";
    INFCONTEXT line;
    HINF inf = SetupOpenInfFileA(PackagePath("QLRM550.INF").c_str(), NULL, INF_STYLE_WIN4, NULL);

    if (inf == INVALID_HANDLE_VALUE) return "<no setup information>";
    if (SetupFindFirstLineA(inf, "Version", "DriverVer", &line)) SetupGetStringFieldA(&line, 2, text, sizeof text, NULL);
    SetupCloseInfFile(inf);
    return text;
}

static std::string VersionText(DWORD high, DWORD low)
{
    char text[64];
    snprintf(text, sizeof text, "%u.%u.%u.%u", HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low));
    return text;
}

TEST(Resources, ManifestAndVersion)
{
    const std::string version = SetupInfoVersion();
    EXPECT_EQ(version, PRODUCT_VERSION_TEXT) << "the version the code is built with";

    for (const char *program : { "drvsetup.exe", "drvremove.exe" }) {
        SCOPED_TRACE(program);
        HMODULE module = LoadProgram(program);
        ASSERT_TRUE(module != NULL);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), (LPCSTR)RT_MANIFEST);
        ASSERT_TRUE(found != NULL);
        std::string manifest((const char *)LockResource(LoadResource(module, found)), SizeofResource(module, found));
        EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
        EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
        FreeLibrary(module);

        std::string path = PackagePath(program);
        DWORD handle, size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        ASSERT_NE(size, 0u);
        std::vector<BYTE> info(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &info[0]));
        char *value;
        UINT length;
        ASSERT_TRUE(VerQueryValueA(&info[0], "\\StringFileInfo\\041203b5\\OriginalFilename", (void **)&value, &length));
        EXPECT_STREQ(value, program);
        ASSERT_TRUE(VerQueryValueA(&info[0], "\\StringFileInfo\\041203b5\\CompanyName", (void **)&value, &length));
        EXPECT_STREQ(value, "\xc5\xb8\xb8\xa3\xba\xb9\xbd\xc3\xbd\xba\xc5\xdb");
        for (const char *key : { "FileVersion", "ProductVersion" }) {
            ASSERT_TRUE(VerQueryValueA(&info[0], (std::string("\\StringFileInfo\\041203b5\\") + key).c_str(),
                                       (void **)&value, &length));
            EXPECT_EQ(value, version) << key;
        }
        VS_FIXEDFILEINFO *fixed;
        ASSERT_TRUE(VerQueryValueA(&info[0], "\\", (void **)&fixed, &length));
        EXPECT_EQ(VersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS), version);
        EXPECT_EQ(VersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS), version);
    }
}
