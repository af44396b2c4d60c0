/*
 * What names the one product both programs serve, and where its setup
 * information file lies: beside the running program, not in the current
 * directory.
 */
#ifndef PRODUCT_H
#define PRODUCT_H

#include <windows.h>

struct ProductIdentity
{
    const char *printerModel;
    const char *oemInfPath;
    const char *usbInterfacePrefix;
    const char *productTag;
};

struct SetupInfoRow
{
    int rowNumber;
    const char *fileName;
    const char *manufacturerSection;
};

#define SETUP_INFO_ROWS 4

extern const ProductIdentity productIdentity;
extern const SetupInfoRow SetupInfoTable[SETUP_INFO_ROWS];
extern short setupInfoRow;
extern HINSTANCE appInstance;

const char *GetManufacturerName(void);
const char *GetProviderName(void);
const char *GetOemUrl(void);
const char *GetSetupTitle(void);
const char *GetWelcomeText(void);
const char *GetCopyrightLine(void);
const char *GetSpoolerEnvironment(void);

/* The lead-byte test of the system's ANSI code page, for the path rules. */
int IsAnsiLeadByte(unsigned char byte);

/* Empty when the folder's name cannot be held by the ANSI code page. */
void GetModuleDirectory(char *buffer);
/* The ANSI name of a folder given by its wide name: that name when it
   converts back exactly, else the folder's short name when that does; 0,
   and an empty buffer, when neither does. */
int AnsiFolderName(const WCHAR *folder, char *buffer);
/* From now on the package's files lie in this folder, an ANSI name ending
   in a backslash; an empty one makes the package absent. */
void UsePackageFolder(const char *folder);
/* Empty when the package is absent. */
const char *GetSetupInfoPath(void);
/* One value of the setup information file, or its default. */
void ReadSetupInfoValue(const char *section, const char *key, const char *fallback, char *value, DWORD size);
/* A file of the package: it lies beside the program, whatever the current
   directory; the path buffer holds TEXT_SIZE bytes, and stays empty when the
   package is absent. */
void GetPackageFilePath(const char *name, char *path);
const char *GetManufacturerSection(void);

#endif
