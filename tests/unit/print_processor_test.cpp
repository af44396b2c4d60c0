/*
 * The package's print processor library, loaded in-process from the built
 * package and called through its exports as the spooler calls them: the
 * data type it reports, the jobs it opens and controls, its capabilities,
 * and spooled jobs of Wine's own spooler copied to a port.
 *
 * Wine's EnumPrintProcessorDatatypesW reports no data type for any print
 * processor, Wine's own included, without asking the library; Windows asks
 * the library and refuses a printer whose data type it does not offer. So
 * the test calls the export itself, as the spooler of Windows does.
 */
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>
#include <gtest/gtest.h>
#include <string>
#include "engine_fixtures.h"

typedef BOOL(WINAPI *EnumDatatypesProc)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
typedef HANDLE(WINAPI *OpenProc)(LPWSTR, PPRINTPROCESSOROPENDATA);
typedef BOOL(WINAPI *PrintDocumentProc)(HANDLE, LPWSTR);
typedef BOOL(WINAPI *CloseProc)(HANDLE);
typedef BOOL(WINAPI *ControlProc)(HANDLE, DWORD);
typedef DWORD(WINAPI *CapabilitiesProc)(LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD);

#define TEST_PRINTER_NAME "QLP Test Printer"
#define TEST_PRINTER L"" TEST_PRINTER_NAME
/* The spooler opens a print processor on the port the job goes to. */
#define TEST_PORT L"FILE:, Port"

template <typename Proc> static Proc Export(HMODULE library, const char *name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)(void)>(GetProcAddress(library, name)));
}

static std::string ReadWholeFile(const wchar_t *path)
{
    std::string data;
    char chunk[4096];
    DWORD got;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);

    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got) data.append(chunk, got);
    CloseHandle(file);
    return data;
}

/* Bytes of every value, so that a copy that stops at a NUL or drops a
   chunk boundary shows. */
static std::string Payload(size_t size)
{
    std::string data(size, 0);
    for (size_t i = 0; i < size; i++) data[i] = (char)(i * 7 + i / 251);
    return data;
}

class PrintProcessor : public ::testing::Test
{
protected:
    HMODULE library = NULL;
    EnumDatatypesProc enumDatatypes = NULL;
    OpenProc open = NULL;
    PrintDocumentProc printDocument = NULL;
    CloseProc close = NULL;
    ControlProc control = NULL;
    CapabilitiesProc capabilities = NULL;

    void SetUp() override
    {
        std::string path = PackageFile("qlpproc.dll");
        library = LoadLibraryA(path.c_str());
        ASSERT_TRUE(library != NULL) << path << ": error " << GetLastError();
        enumDatatypes = Export<EnumDatatypesProc>(library, "EnumPrintProcessorDatatypesW");
        open = Export<OpenProc>(library, "OpenPrintProcessor");
        printDocument = Export<PrintDocumentProc>(library, "PrintDocumentOnPrintProcessor");
        close = Export<CloseProc>(library, "ClosePrintProcessor");
        control = Export<ControlProc>(library, "ControlPrintProcessor");
        capabilities = Export<CapabilitiesProc>(library, "GetPrintProcessorCapabilities");
        ASSERT_TRUE(enumDatatypes && open && printDocument && close && control && capabilities);
    }

    void TearDown() override
    {
        if (library) FreeLibrary(library);
    }

    HANDLE OpenJob(const wchar_t *datatype, const wchar_t *outputFile, const wchar_t *port = TEST_PORT)
    {
        PRINTPROCESSOROPENDATA data = {};
        data.pDatatype = (LPWSTR)datatype;
        data.pDocumentName = (LPWSTR)L"label";
        data.pOutputFile = (LPWSTR)outputFile;
        return open((LPWSTR)port, &data);
    }

    /* A job spooled to Wine's spooler and not yet printed; its name as the
       spooler hands it to the print processor ("printer, Job n"). The job
       lasts as long as the printer handle that added it stays open. */
    std::wstring SpoolJob(const std::string &data, HANDLE *printer)
    {
        static bool added;
        BYTE info[1024];
        DWORD needed, written;

        if (!added) AddTestPrinter(TEST_PRINTER_NAME);
        added = true;
        if (!OpenPrinterW((LPWSTR)TEST_PRINTER, printer, NULL)) return L"<no printer>";
        if (!AddJobW(*printer, 1, info, sizeof info, &needed)) return L"<no job>";
        ADDJOB_INFO_1W *job = (ADDJOB_INFO_1W *)info;
        HANDLE file = CreateFileW(job->Path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, 0, NULL);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        WriteFile(file, data.data(), (DWORD)data.size(), &written, NULL);
        CloseHandle(file);
        return std::wstring(TEST_PRINTER L", Job ") + std::to_wstring(job->JobId);
    }
};

TEST_F(PrintProcessor, ReportsRawAtLevelOne)
{
    DWORD needed = 0, returned = 99;

    /* The sizing call tells the size of one record and its name. */
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(enumDatatypes(NULL, NULL, 1, NULL, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(returned, 0u);
    ASSERT_GE(needed, sizeof(DATATYPES_INFO_1W) + sizeof L"RAW");
    ASSERT_LE(needed, 192u);

    static const struct
    {
        const char *label;
        DWORD level;
        bool buffer;
        int sizeBeyondNeeded;
        BOOL result;
        DWORD error;
    } cases[] = {
        { "exact size",           1, true,  0,  TRUE,  0 },
        { "larger buffer",        1, true,  64, TRUE,  0 },
        { "one byte short",       1, true,  -1, FALSE, ERROR_INSUFFICIENT_BUFFER },
        { "size without buffer",  1, false, 0,  FALSE, ERROR_INVALID_PARAMETER },
        { "level 2",              2, true,  0,  FALSE, ERROR_INVALID_LEVEL },
        { "level 0",              0, true,  0,  FALSE, ERROR_INVALID_LEVEL },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        BYTE buffer[256];
        DWORD size = needed + c.sizeBeyondNeeded, sizeSeen = 0;
        memset(buffer, 0xcc, sizeof buffer);
        returned = 99;
        SetLastError(0xdeadbeef);
        BOOL result = enumDatatypes((LPWSTR)L"", (LPWSTR)L"QLPPrintProc", c.level, c.buffer ? buffer : NULL, size,
                                    &sizeSeen, &returned);
        EXPECT_EQ(result, c.result);
        if (!c.result) {
            EXPECT_EQ(GetLastError(), c.error);
            EXPECT_EQ(buffer[0], 0xcc) << "nothing is written into a buffer that does not serve";
            continue;
        }
        EXPECT_EQ(GetLastError(), 0xdeadbeef) << "success leaves the last error alone";
        EXPECT_EQ(returned, 1u);
        EXPECT_EQ(sizeSeen, needed);
        /* The name lies in the caller's buffer, behind the record. */
        const wchar_t *name = ((DATATYPES_INFO_1W *)buffer)->pName;
        EXPECT_GE((const BYTE *)name, buffer + sizeof(DATATYPES_INFO_1W));
        EXPECT_LE((const BYTE *)name + sizeof L"RAW", buffer + needed);
        EXPECT_EQ(std::wstring(name), L"RAW");
    }

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(enumDatatypes(NULL, NULL, 1, NULL, 0, NULL, &returned));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

TEST_F(PrintProcessor, OpensRawJobsOnly)
{
    static const struct
    {
        const char *label;
        const wchar_t *datatype;
        const wchar_t *port;
        DWORD error;
    } cases[] = {
        { "RAW",                 L"RAW",          TEST_PORT,              0 },
        { "raw in lower case",   L"raw",          TEST_PORT,              0 },
        { "no data type",        NULL,            TEST_PORT,              0 },
        { "empty data type",     L"",             TEST_PORT,              0 },
        { "EMF",                 L"NT EMF 1.008", TEST_PORT,              ERROR_INVALID_DATATYPE },
        { "TEXT",                L"TEXT",         TEST_PORT,              ERROR_INVALID_DATATYPE },
        { "printer not known",   L"RAW",          L"No such printer",     ERROR_INVALID_PRINTER_NAME },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        SetLastError(0xdeadbeef);
        HANDLE job = OpenJob(c.datatype, NULL, c.port);
        if (c.error) {
            EXPECT_TRUE(job == NULL);
            EXPECT_EQ(GetLastError(), c.error);
            continue;
        }
        ASSERT_TRUE(job != NULL) << "error " << GetLastError();
        EXPECT_TRUE(close(job));
    }

    SetLastError(0xdeadbeef);
    EXPECT_TRUE(open((LPWSTR)TEST_PORT, NULL) == NULL);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

TEST_F(PrintProcessor, TakesOnlyHandlesItOpened)
{
    DWORD foreign[16] = {};
    HANDLE handles[] = { NULL, (HANDLE)foreign };

    for (HANDLE handle : handles) {
        SCOPED_TRACE(handle ? "foreign block" : "NULL");
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(close(handle));
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(control(handle, JOB_CONTROL_PAUSE));
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(printDocument(handle, (LPWSTR)TEST_PRINTER L", Job 1"));
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
    }
}

TEST_F(PrintProcessor, AnswersJobControl)
{
    static const struct
    {
        DWORD command;
        BOOL result;
    } cases[] = {
        { JOB_CONTROL_PAUSE,   TRUE },
        { JOB_CONTROL_RESUME,  TRUE },
        { JOB_CONTROL_CANCEL,  TRUE },
        { JOB_CONTROL_RESTART, FALSE },
        { JOB_CONTROL_DELETE,  FALSE },
    };
    HANDLE job = OpenJob(L"RAW", NULL);
    ASSERT_TRUE(job != NULL) << "error " << GetLastError();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        SetLastError(0xdeadbeef);
        EXPECT_EQ(control(job, c.command), c.result);
        if (!c.result) {
            EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
        }
    }
    EXPECT_TRUE(close(job));
}

TEST_F(PrintProcessor, CapabilitiesOfRaw)
{
    static const struct
    {
        const char *label;
        const wchar_t *datatype;
        DWORD size;
        DWORD result;
    } cases[] = {
        { "RAW",               L"RAW",          sizeof(PRINTPROCESSOR_CAPS_1),     ERROR_SUCCESS },
        { "raw in lower case", L"raw",          sizeof(PRINTPROCESSOR_CAPS_1),     ERROR_SUCCESS },
        { "one byte short",    L"RAW",          sizeof(PRINTPROCESSOR_CAPS_1) - 1, ERROR_MORE_DATA },
        { "EMF",               L"NT EMF 1.008", sizeof(PRINTPROCESSOR_CAPS_1),     ERROR_INVALID_DATATYPE },
        { "no data type",      NULL,            sizeof(PRINTPROCESSOR_CAPS_1),     ERROR_INVALID_PARAMETER },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        PRINTPROCESSOR_CAPS_1 caps;
        DWORD needed = 0;
        memset(&caps, 0xcc, sizeof caps);
        EXPECT_EQ(capabilities((LPWSTR)c.datatype, PRINTER_ATTRIBUTE_RAW_ONLY, (BYTE *)&caps, c.size, &needed),
                  c.result);
        if (c.result == ERROR_MORE_DATA || c.result == ERROR_SUCCESS) {
            EXPECT_EQ(needed, sizeof caps);
        }
        if (c.result != ERROR_SUCCESS) continue;
        EXPECT_EQ(caps.dwLevel, 1u);
        EXPECT_EQ(caps.dwNupOptions, 1u) << "one page per side";
        EXPECT_EQ(caps.dwPageOrderFlags, (DWORD)NORMAL_PRINT);
        EXPECT_EQ(caps.dwNumberOfCopies, 1u) << "the data goes out once";
    }
}

TEST_F(PrintProcessor, CopiesASpooledJobToThePortUnchanged)
{
    /* Empty, one byte, exactly one copy chunk, and several chunks. */
    static const size_t sizes[] = { 0, 1, 4096, 10000 };

    for (size_t size : sizes) {
        SCOPED_TRACE(size);
        std::wstring output = L"C:\\qlpproc-out-" + std::to_wstring(size) + L".prn";
        std::string data = Payload(size);
        HANDLE printer = NULL;
        std::wstring spooled = SpoolJob(data, &printer);
        HANDLE job = OpenJob(L"RAW", output.c_str());
        ASSERT_TRUE(job != NULL) << "error " << GetLastError();
        EXPECT_TRUE(printDocument(job, (LPWSTR)spooled.c_str())) << "error " << GetLastError();
        EXPECT_TRUE(close(job));
        ClosePrinter(printer);
        EXPECT_TRUE(ReadWholeFile(output.c_str()) == data) << "the port got other bytes";
    }

    HANDLE job = OpenJob(L"RAW", L"C:\\qlpproc-out-none.prn");
    ASSERT_TRUE(job != NULL);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(printDocument(job, (LPWSTR)TEST_PRINTER L", Job 999"));
    EXPECT_NE(GetLastError(), 0xdeadbeefu);
    EXPECT_TRUE(close(job));
}

struct PrintCall
{
    PrintDocumentProc printDocument;
    HANDLE job;
    const wchar_t *spooled;
    BOOL result;
};

static DWORD WINAPI PrintOnThread(LPVOID param)
{
    PrintCall *call = (PrintCall *)param;
    call->result = call->printDocument(call->job, (LPWSTR)call->spooled);
    return 0;
}

TEST_F(PrintProcessor, PausedJobWaitsAndCancelledJobSendsNothing)
{
    std::string data = Payload(6000);
    HANDLE printer = NULL;
    std::wstring spooled = SpoolJob(data, &printer);

    HANDLE job = OpenJob(L"RAW", L"C:\\qlpproc-out-paused.prn");
    ASSERT_TRUE(job != NULL);
    ASSERT_TRUE(control(job, JOB_CONTROL_PAUSE));
    PrintCall call = { printDocument, job, spooled.c_str(), FALSE };
    HANDLE thread = CreateThread(NULL, 0, PrintOnThread, &call, 0, NULL);
    ASSERT_TRUE(thread != NULL);
    EXPECT_EQ(WaitForSingleObject(thread, 500), (DWORD)WAIT_TIMEOUT) << "a paused job goes on";
    EXPECT_TRUE(control(job, JOB_CONTROL_RESUME));
    EXPECT_EQ(WaitForSingleObject(thread, 20000), (DWORD)WAIT_OBJECT_0) << "a resumed job stays paused";
    CloseHandle(thread);
    EXPECT_TRUE(call.result);
    EXPECT_TRUE(close(job));
    ClosePrinter(printer);
    EXPECT_TRUE(ReadWholeFile(L"C:\\qlpproc-out-paused.prn") == data);

    /* Cancelled while paused, the job ends without sending its data. */
    spooled = SpoolJob(data, &printer);
    job = OpenJob(L"RAW", L"C:\\qlpproc-out-cancelled.prn");
    ASSERT_TRUE(job != NULL);
    ASSERT_TRUE(control(job, JOB_CONTROL_PAUSE));
    call = { printDocument, job, spooled.c_str(), FALSE };
    thread = CreateThread(NULL, 0, PrintOnThread, &call, 0, NULL);
    ASSERT_TRUE(thread != NULL);
    EXPECT_EQ(WaitForSingleObject(thread, 500), (DWORD)WAIT_TIMEOUT);
    EXPECT_TRUE(control(job, JOB_CONTROL_CANCEL));
    EXPECT_EQ(WaitForSingleObject(thread, 20000), (DWORD)WAIT_OBJECT_0) << "a cancelled job stays paused";
    CloseHandle(thread);
    EXPECT_TRUE(call.result);
    EXPECT_TRUE(close(job));
    ClosePrinter(printer);
    EXPECT_EQ(ReadWholeFile(L"C:\\qlpproc-out-cancelled.prn"), "");
}
