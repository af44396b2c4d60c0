/*
 * Identifiers shared by the resource scripts and the code. Macros only, so
 * windres and the compiler read the same file. Dialogs and icons are named
 * resources ("IDD_WELCOME", "IDI_PRINTER") and have no macro here.
 */
#ifndef RESOURCE_H
#define RESOURCE_H

/* Bitmaps */
#define IDB_PICTURE             113
#define IDB_SIDE_PICTURE        2039

/* The system's information icon, which the modules do not hold */
#define IDI_SYSTEM_INFORMATION  32516

/* Controls */
#define IDC_BACK                2000
#define IDC_NEXT                2001
#define IDC_RESULT_TEXT         2005
#define IDC_HEADING             2009
#define IDC_COPY_FILE           2010
#define IDC_COPY_SPARE          2011
#define IDC_COPY_BAR            2012
#define IDC_PORT_LABEL          2017
#define IDC_STATUS_TEXT         2031
#define IDC_MESSAGE_ICON        2032
#define IDC_PORT_LIST           2033
#define IDC_MODEL_LABEL         2034
#define IDC_MODEL_LIST          2035
#define IDC_WELCOME_TEXT        2037
#define IDC_COPYRIGHT           2038
#define IDC_SIDE_PICTURE        2039
#define IDC_DEFAULT_PRINTER     2040
#define IDC_KIND_SERIAL         2041
#define IDC_KIND_USB            2042
#define IDC_MESSAGE_TEXT        4038

/* String table */
#define IDS_INSTALL_DONE        4000
#define IDS_INSTALL_FAILED      4001
#define IDS_CANNOT_READ_SOURCE  4007
#define IDS_CANNOT_CREATE_DEST  4008
#define IDS_UNKNOWN_ERROR       4013
#define IDS_DECOMPRESSION_ERROR 4014
#define IDS_MEMORY_EXHAUSTED    4015
#define IDS_FILE_DAMAGED        4016
#define IDS_DISK_FULL           4017
#define IDS_FILE_OPEN_ERROR     4018
#define IDS_READING_SETUP_INFO  4027
#define IDS_WRITING_SYSTEM_INFO 4028
#define IDS_ERROR               4032
#define IDS_QUESTION            4033
#define IDS_WARNING             4034
#define IDS_CONFIRM_CANCEL      4044
#define IDS_SELECT_MODEL        4052
#define IDS_SELECT_PORT         4053
#define IDS_NO_SETUP_INFO       4054
#define IDS_DRIVER_INSTALLED    4055

/* Version information: PRODUCT_VERSION_NUMBERS and PRODUCT_VERSION_TEXT,
   which the build makes from the DriverVer line of package/QLRM550.INF */
#include "product_version.h"

#endif
