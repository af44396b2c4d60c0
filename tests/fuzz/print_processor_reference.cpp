/*
 * The print processor reference (%KEY%) read into a key buffer of any size:
 * 0 for an empty reference, otherwise the text between its first and last
 * characters, cut to the buffer.
 */
#include "fuzz_support.h"
#include "setup_info_text.h"
#include "textbuf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int keySize = BufferSize(&data, &size, TEXT_SIZE);
    char *reference = TextCopy(data, size), *key = OutputBuffer(keySize);
    int length = (int)strlen(reference), inner = length > 1 ? length - 2 : 0;
    int found = ReferencedKey(reference, key, keySize);

    CHECK(found == (length > 0));
    if (found && keySize > 0) {
        if (inner > keySize - 1) inner = keySize - 1;
        CHECK(BoundedLength(key, keySize) == inner);
        CHECK(!memcmp(key, reference + 1, inner));
    }
    free(reference);
    FreeBlock(key, keySize);
    return 0;
}
