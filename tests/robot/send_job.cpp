/*
 * send_job.exe PRINTER FILE [COMMAND...]: an application that prints, for
 * the end-to-end scenarios. It sends the bytes of the file (64 KiB at most)
 * to the printer as one RAW job, and applies the SetJob commands (JOB_CONTROL_
 * numbers) to the job once its data is written, before it ends the job.
 * Exit code 0, or the number of the step that failed, named on stderr.
 */
#include <windows.h>
#include <winspool.h>
#include <stdio.h>
#include <stdlib.h>

static int Fail(int step, const char *call)
{
    fprintf(stderr, "send_job: %s failed, error %lu\n", call, GetLastError());
    return step;
}

int main(int argc, char **argv)
{
    static char data[65536];
    DOC_INFO_1A document = { (LPSTR) "label", NULL, (LPSTR) "RAW" };
    HANDLE file, printer;
    DWORD size = 0, job, written = 0;

    if (argc < 3) {
        fprintf(stderr, "usage: send_job PRINTER FILE [COMMAND...]\n");
        return 1;
    }
    file = CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE || !ReadFile(file, data, sizeof data, &size, NULL)) return Fail(2, "ReadFile");
    CloseHandle(file);
    if (!OpenPrinterA(argv[1], &printer, NULL)) return Fail(3, "OpenPrinterA");
    if (!(job = StartDocPrinterA(printer, 1, (LPBYTE)&document))) return Fail(4, "StartDocPrinterA");
    if (!StartPagePrinter(printer)) return Fail(5, "StartPagePrinter");
    if (!WritePrinter(printer, data, size, &written) || written != size) return Fail(6, "WritePrinter");
    if (!EndPagePrinter(printer)) return Fail(7, "EndPagePrinter");
    for (int i = 3; i < argc; i++)
        if (!SetJobA(printer, job, 0, NULL, (DWORD)atoi(argv[i]))) return Fail(8, "SetJobA");
    if (!EndDocPrinter(printer)) return Fail(9, "EndDocPrinter");
    ClosePrinter(printer);
    return 0;
}
