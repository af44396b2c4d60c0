/*
 * qlpproc.dll: the QLPPrintProc print processor library. It offers the one
 * data type RAW and hands a job's data to the printer unchanged, as the
 * platform's own print processor does for RAW jobs. The spooler asks for
 * the data types when it loads the library and takes a printer whose data
 * type is among them.
 */
#define UNICODE
#define _UNICODE
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

/* "QLPP", the mark of a handle this library gave out. */
#define JOB_SIGNATURE 0x51504C50
#define COPY_CHUNK 4096

static const WCHAR RawDatatype[] = L"RAW";

/* One opened print processor: the printer a job goes to and its state. */
typedef struct
{
    DWORD signature;
    HANDLE printer;
    HANDLE running;          /* manual-reset event, reset while paused */
    volatile LONG cancelled;
    WCHAR *documentName;
    WCHAR *outputFile;
} ProcessorJob;

BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID reserved)
{
    (void)hinst;
    (void)reason;
    (void)reserved;
    return TRUE;
}

static WCHAR *CopyString(const WCHAR *text)
{
    WCHAR *copy;

    if (!text) return NULL;
    copy = (WCHAR *)HeapAlloc(GetProcessHeap(), 0, (lstrlenW(text) + 1) * sizeof(WCHAR));
    if (copy) lstrcpyW(copy, text);
    return copy;
}

static BOOL IsRaw(const WCHAR *datatype)
{
    return datatype && !lstrcmpiW(datatype, RawDatatype);
}

/* The job behind a handle, or NULL with ERROR_INVALID_HANDLE. */
static ProcessorJob *JobOf(HANDLE handle)
{
    ProcessorJob *job = (ProcessorJob *)handle;

    if (job && job->signature == JOB_SIGNATURE) return job;
    SetLastError(ERROR_INVALID_HANDLE);
    return NULL;
}

static void FreeJob(ProcessorJob *job)
{
    if (job->printer) ClosePrinter(job->printer);
    if (job->running) CloseHandle(job->running);
    if (job->documentName) HeapFree(GetProcessHeap(), 0, job->documentName);
    if (job->outputFile) HeapFree(GetProcessHeap(), 0, job->outputFile);
    job->signature = 0;
    HeapFree(GetProcessHeap(), 0, job);
}

/* Level 1 only: one DATATYPES_INFO_1W record, its name right behind it. */
BOOL WINAPI EnumPrintProcessorDatatypesW(LPWSTR pName, LPWSTR pPrintProcessorName,
                                         DWORD Level, LPBYTE pDatatypes, DWORD cbBuf,
                                         LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    DATATYPES_INFO_1W *record = (DATATYPES_INFO_1W *)pDatatypes;

    (void)pName;
    (void)pPrintProcessorName;
    if (Level != 1) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    if (!pcbNeeded || !pcReturned) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *pcReturned = 0;
    *pcbNeeded = sizeof *record + sizeof RawDatatype;
    if (cbBuf < *pcbNeeded) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (!record) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    record->pName = (LPWSTR)(record + 1);
    CopyMemory(record->pName, RawDatatype, sizeof RawDatatype);
    *pcReturned = 1;
    return TRUE;
}

/* A job without a data type is a RAW job, the only kind this library takes. */
HANDLE WINAPI OpenPrintProcessor(LPWSTR pPrinterName, PPRINTPROCESSOROPENDATA pPrintProcessorOpenData)
{
    ProcessorJob *job;
    const WCHAR *datatype;

    if (!pPrintProcessorOpenData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    datatype = pPrintProcessorOpenData->pDatatype;
    if (datatype && *datatype && !IsRaw(datatype)) {
        SetLastError(ERROR_INVALID_DATATYPE);
        return NULL;
    }
    job = (ProcessorJob *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *job);
    if (!job) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    job->signature = JOB_SIGNATURE;
    job->running = CreateEventW(NULL, TRUE, TRUE, NULL);
    job->documentName = CopyString(pPrintProcessorOpenData->pDocumentName);
    job->outputFile = CopyString(pPrintProcessorOpenData->pOutputFile);
    if (!job->running || (pPrintProcessorOpenData->pDocumentName && !job->documentName) ||
        (pPrintProcessorOpenData->pOutputFile && !job->outputFile)) {
        FreeJob(job);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    if (!OpenPrinterW(pPrinterName, &job->printer, NULL)) {
        DWORD error = GetLastError();
        job->printer = NULL;
        FreeJob(job);
        SetLastError(error);
        return NULL;
    }
    return (HANDLE)job;
}

static BOOL WriteAll(HANDLE printer, BYTE *data, DWORD size)
{
    DWORD written;

    while (size) {
        if (!WritePrinter(printer, data, size, &written)) return FALSE;
        if (!written) {
            SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        data += written;
        size -= written;
    }
    return TRUE;
}

/* pDocumentName names the spooled job ("printer, Job n"); its data is read
   and written to the printer as it is, waiting while the job is paused. */
BOOL WINAPI PrintDocumentOnPrintProcessor(HANDLE hPrintProcessor, LPWSTR pDocumentName)
{
    ProcessorJob *job = JobOf(hPrintProcessor);
    DOC_INFO_1W document;
    HANDLE spooled;
    BYTE chunk[COPY_CHUNK];
    DWORD got, error = ERROR_SUCCESS;

    if (!job) return FALSE;
    if (!OpenPrinterW(pDocumentName, &spooled, NULL)) return FALSE;
    document.pDocName = job->documentName;
    document.pOutputFile = job->outputFile;
    document.pDatatype = (LPWSTR)RawDatatype;
    if (!StartDocPrinterW(job->printer, 1, (LPBYTE)&document)) {
        DWORD error = GetLastError();
        ClosePrinter(spooled);
        SetLastError(error);
        return FALSE;
    }
    for (;;) {
        WaitForSingleObject(job->running, INFINITE);
        if (job->cancelled) break;
        if (!ReadPrinter(spooled, chunk, sizeof chunk, &got) || (got && !WriteAll(job->printer, chunk, got))) {
            error = GetLastError();
            break;
        }
        if (!got) break;
    }
    ClosePrinter(spooled);
    if (!EndDocPrinter(job->printer) && error == ERROR_SUCCESS) error = GetLastError();
    if (error == ERROR_SUCCESS) return TRUE;
    SetLastError(error);
    return FALSE;
}

BOOL WINAPI ClosePrintProcessor(HANDLE hPrintProcessor)
{
    ProcessorJob *job = JobOf(hPrintProcessor);

    if (!job) return FALSE;
    FreeJob(job);
    return TRUE;
}

/* A cancelled job is let go of a pause, so that it can end. */
BOOL WINAPI ControlPrintProcessor(HANDLE hPrintProcessor, DWORD Command)
{
    ProcessorJob *job = JobOf(hPrintProcessor);

    if (!job) return FALSE;
    switch (Command) {
    case JOB_CONTROL_PAUSE:
        return ResetEvent(job->running);
    case JOB_CONTROL_RESUME:
        return SetEvent(job->running);
    case JOB_CONTROL_CANCEL:
        InterlockedExchange(&job->cancelled, 1);
        return SetEvent(job->running);
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

/* RAW data goes out as it is: one page per side, in order, one copy. */
DWORD WINAPI GetPrintProcessorCapabilities(LPTSTR pValueName, DWORD dwAttributes,
                                           LPBYTE pData, DWORD nSize, LPDWORD pcbNeeded)
{
    PRINTPROCESSOR_CAPS_1 *caps = (PRINTPROCESSOR_CAPS_1 *)pData;

    (void)dwAttributes;
    if (!pValueName || !pcbNeeded) return ERROR_INVALID_PARAMETER;
    if (!IsRaw(pValueName)) return ERROR_INVALID_DATATYPE;
    *pcbNeeded = sizeof *caps;
    if (nSize < sizeof *caps) return ERROR_MORE_DATA;
    if (!caps) return ERROR_INVALID_PARAMETER;
    caps->dwLevel = 1;
    caps->dwNupOptions = 1;
    caps->dwPageOrderFlags = NORMAL_PRINT;
    caps->dwNumberOfCopies = 1;
    return ERROR_SUCCESS;
}
