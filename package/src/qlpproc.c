/* qlpproc.dll: the QLPPrintProc print processor library. */
#define UNICODE
#define _UNICODE
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

/* The entry points exist so the spooler can load and register the library;
   jobs are not processed here, every call reports ERROR_NOT_SUPPORTED. */

BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID reserved)
{
    (void)hinst;
    (void)reason;
    (void)reserved;
    return TRUE;
}

BOOL WINAPI EnumPrintProcessorDatatypesW(LPWSTR pName, LPWSTR pPrintProcessorName,
                                         DWORD Level, LPBYTE pDatatypes, DWORD cbBuf,
                                         LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    (void)pName;
    (void)pPrintProcessorName;
    (void)Level;
    (void)pDatatypes;
    (void)cbBuf;
    if (pcbNeeded)
        *pcbNeeded = 0;
    if (pcReturned)
        *pcReturned = 0;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

HANDLE WINAPI OpenPrintProcessor(LPWSTR pPrinterName,
                                 PPRINTPROCESSOROPENDATA pPrintProcessorOpenData)
{
    (void)pPrinterName;
    (void)pPrintProcessorOpenData;
    SetLastError(ERROR_NOT_SUPPORTED);
    return NULL;
}

BOOL WINAPI PrintDocumentOnPrintProcessor(HANDLE hPrintProcessor, LPWSTR pDocumentName)
{
    (void)hPrintProcessor;
    (void)pDocumentName;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI ClosePrintProcessor(HANDLE hPrintProcessor)
{
    (void)hPrintProcessor;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI ControlPrintProcessor(HANDLE hPrintProcessor, DWORD Command)
{
    (void)hPrintProcessor;
    (void)Command;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

DWORD WINAPI GetPrintProcessorCapabilities(LPTSTR pValueName, DWORD dwAttributes,
                                           LPBYTE pData, DWORD nSize, LPDWORD pcbNeeded)
{
    (void)pValueName;
    (void)dwAttributes;
    (void)pData;
    (void)nSize;
    if (pcbNeeded)
        *pcbNeeded = 0;
    return ERROR_NOT_SUPPORTED;
}
