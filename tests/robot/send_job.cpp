/*
 * send_job.exe: an application that prints, for the end-to-end scenarios.
 * It sends the bytes of a file to a printer as one RAW job through the
 * spooler, and applies the SetJob commands named after them (JOB_CONTROL_
 * numbers) to the job once its data is written, before it ends the job.
 *
 *     send_job.exe PRINTER FILE [COMMAND...]
 *
 * Exit code 0, or the number of the step that failed; the failed call and
 * its error go to the standard error.
 */
#include <windows.h>
#include <winspool.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>

enum Step { READ_FILE = 1, OPEN_PRINTER, START_DOC, START_PAGE, WRITE, END_PAGE, SET_JOB, END_DOC };

static int Fail(Step step, const char *call)
{
    fprintf(stderr, "send_job: %s failed, error %lu\n", call, GetLastError());
    return step;
}

static bool ReadWholeFile(const char *path, std::string *data)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    char chunk[4096];
    DWORD got;

    if (file == INVALID_HANDLE_VALUE) return false;
    while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got) data->append(chunk, got);
    CloseHandle(file);
    return true;
}

int main(int argc, char **argv)
{
    std::string data;
    HANDLE printer;
    DOC_INFO_1A document = { (LPSTR) "label", NULL, (LPSTR) "RAW" };
    DWORD job, written = 0;

    if (argc < 3) {
        fprintf(stderr, "usage: send_job PRINTER FILE [COMMAND...]\n");
        return 2;
    }
    if (!ReadWholeFile(argv[2], &data)) return Fail(READ_FILE, "CreateFileA");
    if (!OpenPrinterA(argv[1], &printer, NULL)) return Fail(OPEN_PRINTER, "OpenPrinterA");
    if (!(job = StartDocPrinterA(printer, 1, (LPBYTE)&document))) return Fail(START_DOC, "StartDocPrinterA");
    if (!StartPagePrinter(printer)) return Fail(START_PAGE, "StartPagePrinter");
    if (!WritePrinter(printer, &data[0], (DWORD)data.size(), &written) || written != data.size())
        return Fail(WRITE, "WritePrinter");
    if (!EndPagePrinter(printer)) return Fail(END_PAGE, "EndPagePrinter");
    for (int i = 3; i < argc; i++)
        if (!SetJobA(printer, job, 0, NULL, (DWORD)atoi(argv[i]))) return Fail(SET_JOB, "SetJobA");
    if (!EndDocPrinter(printer)) return Fail(END_DOC, "EndDocPrinter");
    ClosePrinter(printer);
    return 0;
}
