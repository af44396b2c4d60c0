/*
 * The product's constants. The Korean texts are code page 949 bytes, handed
 * unchanged to the ANSI window functions.
 */
#include <windows.h>
#include "path_names.h"
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

static char setupInfoPath[TEXT_SIZE];
static char packageDirectory[TEXT_SIZE];

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

void GetModuleDirectory(char *buffer)
{
    char *name;

    buffer[0] = 0;
    GetModuleFileNameA(appInstance, buffer, TEXT_SIZE);
    buffer[TEXT_SIZE - 1] = 0;
    if (!buffer[0]) {
        CopyText(buffer, TEXT_SIZE, ".\\");
        return;
    }
    name = (char *)FileNamePart(buffer, IsAnsiLeadByte);
    if (name != buffer) *name = 0;
}

const char *GetSetupInfoPath(void)
{
    if (!setupInfoPath[0]) {
        GetModuleDirectory(setupInfoPath);
        AppendText(setupInfoPath, TEXT_SIZE, SetupInfoTable[setupInfoRow].fileName);
    }
    return setupInfoPath;
}

void GetPackageFilePath(const char *name, char *path)
{
    if (!packageDirectory[0]) GetModuleDirectory(packageDirectory);
    CopyText(path, TEXT_SIZE, packageDirectory);
    AppendText(path, TEXT_SIZE, name);
}

const char *GetManufacturerSection(void)
{
    return SetupInfoTable[setupInfoRow].manufacturerSection;
}
