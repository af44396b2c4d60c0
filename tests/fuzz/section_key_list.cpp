/*
 * A section's key list exactly as large as the input, without a terminator
 * added: the count and every name at an index stay inside the buffer, the
 * names follow one another, each ended by a NUL or by the buffer's end, and
 * the list ends with an empty name or at the end of the buffer. Each name is
 * then read as a model, as the model page does.
 */
#include "fuzz_support.h"
#include "setup_info_text.h"
#include "textbuf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    char *list = ExactCopy(data, size), *end = list + size, model[TEXT_SIZE];
    const char *name;
    int count = CountKeyListNames(list, (int)size), length, modelLength, expected = 0;

    CHECK(count >= 0);
    for (int i = 0; i < count; i++) {
        name = KeyListName(list, (int)size, i, &length);
        CHECK(name == list + expected);
        CHECK(length > 0 && name + length <= end);
        CHECK(!memchr(name, 0, length));
        CHECK(name + length == end || !name[length]);
        if (ModelNameFromKey(name, length, model, sizeof model, IsCp949LeadByte)) {
            modelLength = length - 2 < TEXT_SIZE - 1 ? length - 2 : TEXT_SIZE - 1;
            CHECK((int)strlen(model) == modelLength && !memcmp(model, name + 1, modelLength));
        }
        expected += length + 1;
    }
    CHECK(expected >= (int)size || !list[expected]);
    CHECK(!KeyListName(list, (int)size, count, &length));
    CHECK(!KeyListName(list, (int)size, count + 1, &length));
    FreeBlock(list, size);
    return 0;
}
