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

void GetModuleDirectory(char *buffer);
const char *GetSetupInfoPath(void);
/* A file of the package: it lies beside the program, whatever the current
   directory; the path buffer holds TEXT_SIZE bytes. */
void GetPackageFilePath(const char *name, char *path);
const char *GetManufacturerSection(void);

#endif
