/*
 * The dependent-file list made from a "CopyFiles" value, in a list buffer of
 * any size. The value is cut at its commas; a piece with an "@" names the
 * file after its first "@". A name is listed when it is not empty, is a bare
 * file name, and leaves room in the buffer for its NUL and the empty name
 * that ends the list; the count is the number of names listed.
 */
#include "fuzz_support.h"
#include "setup_info_text.h"
#include "textbuf.h"

static int IsCp949BareFileName(const char *name)
{
    return IsBareFileName(name, IsCp949LeadByte);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int listSize = BufferSize(&data, &size, TEXT_SIZE);
    char *copyFiles = TextCopy(data, size), *list = OutputBuffer(listSize);
    char *expected = (char *)calloc(strlen(copyFiles) + 2, 1), *out = expected;
    const char *piece = copyFiles, *at, *listed;
    int count = BuildFileList(copyFiles, list, listSize, IsCp949BareFileName), expectedCount = 0;
    int pieceLength, length;

    for (;; piece += pieceLength + 1) {
        pieceLength = (int)strcspn(piece, ",");
        at = (const char *)memchr(piece, '@', pieceLength);
        if (at) {
            length = pieceLength - (int)(at + 1 - piece);
            memcpy(out, at + 1, length);
            out[length] = 0;
            if (length && (out - expected) + length + 1 <= listSize - 1 && IsBareFileName(out, IsCp949LeadByte)) {
                out += length + 1;
                expectedCount++;
            }
        }
        if (!piece[pieceLength]) break;
    }
    *out = 0;

    CHECK(count == expectedCount);
    if (listSize >= 1) {
        listed = list;
        for (int i = 0; i < count; i++) {
            length = BoundedLength(listed, listSize - (int)(listed - list));
            CHECK(listed + length < list + listSize);
            CHECK(length > 0);
            CHECK(IsBareFileName(listed, IsCp949LeadByte));
            listed += length + 1;
        }
        CHECK(listed < list + listSize && !*listed);
        CHECK(!memcmp(list, expected, listed + 1 - list));
    }
    free(copyFiles);
    FreeBlock(list, listSize);
    free(expected);
    return 0;
}
