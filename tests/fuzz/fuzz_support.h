/*
 * What every fuzz target needs. Texts and buffers are heap blocks of exactly
 * their size, so that AddressSanitizer reports a read or a write one byte
 * past any of them; a failed property stops the run with abort(), which
 * libFuzzer keeps as a crash with its input.
 */
#ifndef FUZZ_SUPPORT_H
#define FUZZ_SUPPORT_H

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define CHECK(condition) ((condition) ? (void)0 : CheckFailed(#condition, __FILE__, __LINE__))

/* What fills an output buffer before a call, to see what the call wrote. */
#define UNWRITTEN 0xA5

inline void CheckFailed(const char *condition, const char *file, int line)
{
    fprintf(stderr, "%s:%d: property failed: %s\n", file, line, condition);
    abort();
}

/*
 * A heap block of exactly size bytes. AddressSanitizer gives malloc(0) a
 * byte it does not watch, so an empty block is the end of a one-byte one:
 * any access to it is then reported. FreeBlock takes the same size.
 */
inline char *ExactBlock(size_t size)
{
    char *block = (char *)malloc(size ? size : 1);

    return size ? block : block + 1;
}

inline void FreeBlock(char *block, size_t size)
{
    free(size ? block : block - 1);
}

/* The bytes alone, without a terminator. */
inline char *ExactCopy(const uint8_t *data, size_t size)
{
    char *copy = ExactBlock(size);

    if (size) memcpy(copy, data, size);
    return copy;
}

/* The bytes and a terminator: the text ends at the first NUL among them. */
inline char *TextCopy(const uint8_t *data, size_t size)
{
    char *copy = (char *)malloc(size + 1);

    if (size) memcpy(copy, data, size);
    copy[size] = 0;
    return copy;
}

/* The next NUL-ended part of the input as a text of its own; "" past the end. */
inline char *NextPart(const uint8_t **data, size_t *size)
{
    const uint8_t *end = (const uint8_t *)memchr(*data, 0, *size);
    size_t length = end ? (size_t)(end - *data) : *size;
    char *part = TextCopy(*data, length);

    *data += end ? length + 1 : length;
    *size -= end ? length + 1 : length;
    return part;
}

/* An output buffer of the size a byte of the input asks for: 0 to 254
   bytes, or for 255 the size the program itself passes. */
inline int BufferSize(const uint8_t **data, size_t *size, int programSize)
{
    int selector = *size ? **data : 255;

    if (*size) {
        (*data)++;
        (*size)--;
    }
    return selector == 255 ? programSize : selector;
}

inline char *OutputBuffer(int size)
{
    char *buffer = ExactBlock(size);

    memset(buffer, UNWRITTEN, size);
    return buffer;
}

inline int IsUnwritten(const char *buffer, int size)
{
    for (int i = 0; i < size; i++)
        if ((unsigned char)buffer[i] != UNWRITTEN) return 0;
    return 1;
}

/* The length of a text in a buffer of size bytes; size when it has no NUL. */
inline int BoundedLength(const char *buffer, int size)
{
    const char *end = (const char *)memchr(buffer, 0, size);

    return end ? (int)(end - buffer) : size;
}

/* Lead bytes of code page 949, the programs' ANSI code page under test. */
inline int IsCp949LeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

inline int IsNoLeadByte(unsigned char)
{
    return 0;
}

/* The length in bytes of the character at text: two for a lead byte with a
   trail byte after it. */
inline int CharacterLength(const char *text, int (*isLeadByte)(unsigned char))
{
    return isLeadByte((unsigned char)text[0]) && text[1] ? 2 : 1;
}

/* 1 when one of the single-byte characters in set is a character of the
   first length bytes of text, walked character by character. */
inline int HasCharacter(const char *text, int length, const char *set, int (*isLeadByte)(unsigned char))
{
    for (int i = 0; i < length && text[i]; i += CharacterLength(text + i, isLeadByte))
        if (strchr(set, text[i])) return 1;
    return 0;
}

#endif
