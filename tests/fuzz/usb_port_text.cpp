/*
 * The texts of USB port discovery: the device path without its \\?\, the
 * product test, the registry key of the device parameters in a buffer of any
 * size, the port name made from any number, and the serial port test.
 */
#include "fuzz_support.h"
#include "port_text.h"
#include "textbuf.h"

static const char DeviceClassesPrefix[] =
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\##?#";
static const char DeviceParametersSuffix[] = "\\#\\Device Parameters";

static void CheckKeyPath(const char *path, int keySize)
{
    char *keyPath = OutputBuffer(keySize);
    int prefixLength = (int)strlen(DeviceClassesPrefix), pathLength = (int)strlen(path);
    int length = prefixLength + pathLength + (int)strlen(DeviceParametersSuffix);
    int built = BuildUsbKeyPath(path, keyPath, keySize);

    CHECK(built == (length < keySize));
    if (built) {
        CHECK(BoundedLength(keyPath, keySize) == length);
        CHECK(!memcmp(keyPath, DeviceClassesPrefix, prefixLength));
        CHECK(!memcmp(keyPath + prefixLength, path, pathLength));
        CHECK(!strcmp(keyPath + prefixLength + pathLength, DeviceParametersSuffix));
    }
    FreeBlock(keyPath, keySize);
}

static void CheckPortName(unsigned long number, int nameSize)
{
    char whole[64], *name = OutputBuffer(nameSize), *end;
    int digits, expected;

    FormatUsbPortName(number, whole, sizeof whole);
    digits = (int)strlen(whole) - 3;
    CHECK(!strncmp(whole, "USB", 3) && digits >= 3);
    CHECK((int)strspn(whole + 3, "0123456789") == digits);
    CHECK(digits == 3 || whole[3] != '0');
    CHECK(strtoul(whole + 3, &end, 10) == number && !*end);

    FormatUsbPortName(number, name, nameSize);
    if (nameSize > 0) {
        expected = digits + 3 < nameSize - 1 ? digits + 3 : nameSize - 1;
        CHECK(BoundedLength(name, nameSize) == expected);
        CHECK(!memcmp(name, whole, expected));
    }
    FreeBlock(name, nameSize);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int keySize = BufferSize(&data, &size, TEXT_SIZE), nameSize = BufferSize(&data, &size, NAME_SIZE);
    unsigned long number = 0;
    size_t numberSize = size < sizeof number ? size : sizeof number;
    char *path, *productPrefix;
    const char *withoutPrefix;
    int pathLength;

    memcpy(&number, data, numberSize);
    data += numberSize;
    size -= numberSize;
    path = NextPart(&data, &size);
    productPrefix = NextPart(&data, &size);
    pathLength = (int)strlen(path);

    withoutPrefix = InterfacePathWithoutPrefix(path);
    if (pathLength > 4)
        CHECK(withoutPrefix == path + 4);
    else
        CHECK(!*withoutPrefix);
    CHECK(IsProductInterface(withoutPrefix, productPrefix) ==
          !strncmp(withoutPrefix, productPrefix, strlen(productPrefix)));
    CheckKeyPath(withoutPrefix, keySize);
    CheckPortName(number, nameSize);
    CHECK(IsSerialPortName(path) == !strncmp(path, "COM", 3));
    free(path);
    free(productPrefix);
    return 0;
}
