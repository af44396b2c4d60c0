/*
 * The product's constants. The Korean texts are code page 949 bytes, handed
 * unchanged to the ANSI window functions.
 */
#include <windows.h>
#include "ansi_text.h"
#include "product.h"
#include "textbuf.h"

const ProductIdentity productIdentity = {
    "TARVOK QLP-RM550",
    "C:\\TARVOK\\qlrm550.inf",
    "usb#vid_7c3e&pid_0914",
    "TarvokQLP-RM550EA55",
};

const SetupInfoRow SetupInfoTable[SETUP_INFO_ROWS] = {
    { 0, "QLRM550.INF", "TarvokSystems" },
    { 1, "QLRM550.INF", "TarvokSystems" },
    { 2, "QLRM550.INF", "TarvokSystems" },
    { 3, "QLRM550.INF", "TarvokSystems" },
};

short setupInfoRow = 0;
HINSTANCE appInstance;

static char packageDirectory[TEXT_SIZE];
static int packageDirectoryAsked;
static char setupInfoPath[TEXT_SIZE];

/* "타르복시스템" */
static const char ManufacturerName[] =
    "\xc5\xb8\xb8\xa3\xba\xb9\xbd\xc3\xbd\xba\xc5\xdb";

/* "프린터 드라이버 설치" */
static const char SetupTitle[] =
    "\xc7\xc1\xb8\xb0\xc5\xcd \xb5\xe5\xb6\xf3\xc0\xcc\xb9\xf6 \xbc\xb3\xc4\xa1";

/* "저작권 (C) 2014-2026 타르복시스템. 모든 권리 보유." */
static const char CopyrightLine[] =
    "\xc0\xfa\xc0\xdb\xb1\xc7 (C) 2014-2026 "
    "\xc5\xb8\xb8\xa3\xba\xb9\xbd\xc3\xbd\xba\xc5\xdb. "
    "\xb8\xf0\xb5\xe7 \xb1\xc7\xb8\xae \xba\xb8\xc0\xaf.";

static const char OemUrl[] = "http://www.tarvok.co.kr";

/* The usable systems, one a line, then a request to close all running
   applications before the driver is installed. */
static const char WelcomeText[] =
    "\xbb\xe7\xbf\xeb \xb0\xa1\xb4\xc9\xc7\xd1 \xbf\xee\xbf\xb5\xc3\xbc\xc1\xa6:\r\n"
    "\tWindows XP\r\n"
    "\tWindows VISTA\r\n"
    "\tWindows 7\r\n"
    "\tWindows 8 / 8.1\r\n"
    "\tWindows 10\r\n"
    "\r\n"
    "\xb5\xe5\xb6\xf3\xc0\xcc\xb9\xf6\xb8\xa6 \xbc\xb3\xc4\xa1\xc7\xcf\xb1\xe2 "
    "\xc0\xfc\xbf\xa1 \xbb\xe7\xbf\xeb\xc1\xdf\xc0\xce \xc0\xc0\xbf\xeb "
    "\xc7\xc1\xb7\xce\xb1\xd7\xb7\xa5\xc0\xbb \xb8\xf0\xb5\xce "
    "\xc1\xbe\xb7\xe1\xc7\xcf\xbd\xca\xbd\xc3\xbf\xc0.";

static const char SpoolerEnvironment[] = "Windows x64";

const char *GetManufacturerName(void) { return ManufacturerName; }
const char *GetProviderName(void) { return GetManufacturerName(); }
const char *GetOemUrl(void) { return OemUrl; }
const char *GetSetupTitle(void) { return SetupTitle; }
const char *GetWelcomeText(void) { return WelcomeText; }
const char *GetCopyrightLine(void) { return CopyrightLine; }
const char *GetSpoolerEnvironment(void) { return SpoolerEnvironment; }

int IsAnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte);
}

int AnsiFolderName(const WCHAR *folder, char *buffer)
{
    WCHAR shortName[TEXT_SIZE];
    DWORD length;

    if (ExactAnsiText(folder, buffer)) return 1;
    length = GetShortPathNameW(folder, shortName, TEXT_SIZE);
    if (length && length < TEXT_SIZE && ExactAnsiText(shortName, buffer)) return 1;
    buffer[0] = 0;
    return 0;
}

/*
 * The folder is taken by its wide name: its ANSI name could be another
 * folder's. When the ANSI form is not exact, the folder's short name may be;
 * otherwise the folder cannot be named here and the buffer stays empty.
 */
void GetModuleDirectory(char *buffer)
{
    WCHAR path[TEXT_SIZE], *name = path;
    DWORD length = GetModuleFileNameW(appInstance, path, TEXT_SIZE);

    buffer[0] = 0;
    if (!length) {
        CopyText(buffer, TEXT_SIZE, ".\\");
        return;
    }
    if (length >= TEXT_SIZE) return;
    for (WCHAR *p = path; *p; p++)
        if (*p == L'\\') name = p + 1;
    if (name != path) *name = 0;
    AnsiFolderName(path, buffer);
}

/* The program's folder, asked for once, until the package is taken
   elsewhere; kept only here. Empty when the folder cannot be named, and the
   package then counts as absent. */
static const char *PackageDirectory(void)
{
    if (!packageDirectoryAsked) {
        GetModuleDirectory(packageDirectory);
        packageDirectoryAsked = 1;
    }
    return packageDirectory;
}

void UsePackageFolder(const char *folder)
{
    CopyText(packageDirectory, TEXT_SIZE, folder);
    packageDirectoryAsked = 1;
}

/* Made from the kept folder at each call, in the same buffer. */
const char *GetSetupInfoPath(void)
{
    GetPackageFilePath(SetupInfoTable[setupInfoRow].fileName, setupInfoPath);
    return setupInfoPath;
}

/* Reads as from a missing file when the package is absent: a name without
   a folder would be looked for in the Windows folder. */
void ReadSetupInfoValue(const char *section, const char *key, const char *fallback, char *value, DWORD size)
{
    /* A key list that does not fit gets only one NUL: clear the buffer first. */
    ZeroMemory(value, size);
    if (GetSetupInfoPath()[0])
        GetPrivateProfileStringA(section, key, fallback, value, size, GetSetupInfoPath());
    else
        CopyText(value, (int)size, fallback);
}

void GetPackageFilePath(const char *name, char *path)
{
    path[0] = 0;
    /* Not the current directory's file of that name. */
    if (!PackageDirectory()[0]) return;
    CopyText(path, TEXT_SIZE, PackageDirectory());
    AppendText(path, TEXT_SIZE, name);
}

const char *GetManufacturerSection(void)
{
    return SetupInfoTable[setupInfoRow].manufacturerSection;
}
