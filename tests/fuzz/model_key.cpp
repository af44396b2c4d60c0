/*
 * The model key both ways. A model quoted into a key buffer of any size and
 * read back gives the model again (cut to the name buffer) when it could be a
 * printer name; any key read as a model gives the text between its first and
 * last characters, or 0 with the name buffer untouched.
 */
#include "fuzz_support.h"
#include "setup_info_text.h"
#include "textbuf.h"

/* The name in a buffer of nameSize bytes: model cut to fit. */
static void CheckName(const char *name, int nameSize, const char *model, int modelLength)
{
    int expected;

    if (nameSize <= 0) return;
    expected = modelLength < nameSize - 1 ? modelLength : nameSize - 1;
    CHECK(BoundedLength(name, nameSize) == expected);
    CHECK(!memcmp(name, model, expected));
}

static void CheckModelToKeyAndBack(const char *model, int keySize, int nameSize)
{
    int length = (int)strlen(model), made, read;
    char *key = OutputBuffer(keySize), *name = OutputBuffer(nameSize);

    made = MakeModelKey(model, key, keySize);
    CHECK(made == (length <= keySize - 3));
    if (made) {
        CHECK(key[0] == '"' && key[length + 1] == '"' && !key[length + 2]);
        CHECK(!memcmp(key + 1, model, length));
        read = ModelNameFromKey(key, length + 2, name, nameSize, IsCp949LeadByte);
        CHECK(read == (length > 0 && !HasCharacter(model, length, "\\,", IsCp949LeadByte)));
        if (read)
            CheckName(name, nameSize, model, length);
        else
            CHECK(IsUnwritten(name, nameSize));
    }
    FreeBlock(key, keySize);
    FreeBlock(name, nameSize);
}

/* The key is a name of the section's key list: no NUL in it and none after. */
static void CheckKeyToModel(const uint8_t *data, size_t size, int nameSize)
{
    const uint8_t *end = (const uint8_t *)memchr(data, 0, size);
    int keyLength = end ? (int)(end - data) : (int)size, modelLength = keyLength - 2, read;
    char *key = ExactCopy(data, keyLength), *name = OutputBuffer(nameSize), *model;

    if (modelLength > TEXT_SIZE - 1) modelLength = TEXT_SIZE - 1;
    model = TextCopy(data + 1, modelLength > 0 ? modelLength : 0);
    read = ModelNameFromKey(key, keyLength, name, nameSize, IsCp949LeadByte);
    CHECK(read == (modelLength > 0 && !HasCharacter(model, modelLength, "\\,", IsCp949LeadByte)));
    if (read)
        CheckName(name, nameSize, model, modelLength);
    else
        CHECK(IsUnwritten(name, nameSize));
    FreeBlock(key, keyLength);
    FreeBlock(name, nameSize);
    free(model);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int keySize = BufferSize(&data, &size, TEXT_SIZE), nameSize = BufferSize(&data, &size, TEXT_SIZE);
    char *model = TextCopy(data, size);

    CheckModelToKeyAndBack(model, keySize, nameSize);
    CheckKeyToModel(data, size, nameSize);
    free(model);
    return 0;
}
