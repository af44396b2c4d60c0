/*
 * The comma field rule on any text: the fields are the text's pieces between
 * commas, in order and unchanged, with the empty pieces left out.
 */
#include "fuzz_support.h"
#include "setup_info_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    char *text = TextCopy(data, size), *original = TextCopy(data, size);
    char *next = text, *field;
    const char *piece = original, *textEnd = text + strlen(text);
    size_t pieceLength;

    while ((field = NextField(&next))) {
        while (*piece == ',') piece++;
        pieceLength = strcspn(piece, ",");
        CHECK(pieceLength > 0);
        CHECK(field == text + (piece - original));
        CHECK(strlen(field) == pieceLength);
        CHECK(!memcmp(field, piece, pieceLength));
        CHECK(next >= field + pieceLength && next <= textEnd);
        piece += pieceLength;
    }
    while (*piece == ',') piece++;
    CHECK(!*piece);
    CHECK(!NextField(&next));
    free(text);
    free(original);
    return 0;
}
