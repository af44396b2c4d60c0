/*
 * The default-printer entry "printer,driver,port" from any three texts, in
 * an entry buffer of any size: the reported length is the whole entry's, and
 * the buffer holds as much of the entry as fits. Measured first with no
 * buffer, then written into one just large enough, as the program does.
 */
#include "fuzz_support.h"
#include "default_printer_entry.h"
#include "textbuf.h"

static void CheckEntry(const char *entry, int size, const char *whole, int length)
{
    int expected;

    if (size <= 0) return;
    expected = length < size - 1 ? length : size - 1;
    CHECK(BoundedLength(entry, size) == expected);
    CHECK(!memcmp(entry, whole, expected));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int entrySize = BufferSize(&data, &size, TEXT_SIZE), length;
    char *printer = NextPart(&data, &size), *driver = NextPart(&data, &size), *port = NextPart(&data, &size);
    int printerLength = (int)strlen(printer), driverLength = (int)strlen(driver), portLength = (int)strlen(port);
    int wholeLength = printerLength + driverLength + portLength + 2;
    char *whole = (char *)malloc(wholeLength + 1), *entry = OutputBuffer(entrySize), *fitted;

    snprintf(whole, wholeLength + 1, "%s,%s,%s", printer, driver, port);

    length = FormatDeviceEntry(printer, driver, port, NULL, 0);
    CHECK(length == wholeLength);
    CHECK(FormatDeviceEntry(printer, driver, port, entry, entrySize) == length);
    CheckEntry(entry, entrySize, whole, length);
    fitted = OutputBuffer(length + 1);
    CHECK(FormatDeviceEntry(printer, driver, port, fitted, length + 1) == length);
    CHECK(!strcmp(fitted, whole));

    free(printer);
    free(driver);
    free(port);
    free(whole);
    FreeBlock(entry, entrySize);
    FreeBlock(fitted, length + 1);
    return 0;
}
