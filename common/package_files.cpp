#include "package_files.h"

const char *const UnidrvFiles[UNIDRV_FILE_COUNT] = {
    "STDNAMES.GPD", UNIDRV_DRIVER_FILE, UNIDRV_HELP_FILE, UNIDRV_CONFIG_FILE, "UNIRES.DLL",
};
