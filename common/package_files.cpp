#include <windows.h>
#include "package_files.h"
#include "path_names.h"
#include "product.h"
#include "textbuf.h"

const char *const UnidrvFiles[UNIDRV_FILE_COUNT] = {
    "STDNAMES.GPD", UNIDRV_DRIVER_FILE, UNIDRV_HELP_FILE, UNIDRV_CONFIG_FILE, "UNIRES.DLL",
};

/* The wide form as the system makes it when the file is opened. */
int IsPackageFileName(const char *name)
{
    WCHAR wide[TEXT_SIZE];

    if (!IsBareFileName(name, IsAnsiLeadByte)) return 0;
    if (!MultiByteToWideChar(CP_ACP, 0, name, -1, wide, TEXT_SIZE)) return 0;
    return !IsSuperscriptDeviceName((const char16_t *)wide);
}
