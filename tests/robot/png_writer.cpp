/*
 * A PNG writer small enough to need no library: RGB rows in stored (not
 * compressed) deflate blocks. Screenshots are few and small.
 */
#include <windows.h>
#include <vector>
#include "png_writer.h"

static unsigned long Crc32(const unsigned char *data, size_t length, unsigned long crc)
{
    static unsigned long table[256];

    if (!table[1]) {
        for (unsigned long n = 0; n < 256; n++) {
            unsigned long c = n;
            for (int k = 0; k < 8; k++) c = (c & 1) ? 0xedb88320UL ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    crc ^= 0xffffffffUL;
    for (size_t i = 0; i < length; i++) crc = table[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    return crc ^ 0xffffffffUL;
}

static void PutBig32(std::vector<unsigned char> &out, unsigned long v)
{
    out.push_back((unsigned char)(v >> 24));
    out.push_back((unsigned char)(v >> 16));
    out.push_back((unsigned char)(v >> 8));
    out.push_back((unsigned char)v);
}

static void PutChunk(std::vector<unsigned char> &out, const char *type, const std::vector<unsigned char> &data)
{
    std::vector<unsigned char> body(type, type + 4);

    body.insert(body.end(), data.begin(), data.end());
    PutBig32(out, (unsigned long)data.size());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(&body[0], body.size(), 0));
}

static bool WritePng(const char *path, int width, int height, const std::vector<unsigned char> &rows)
{
    static const unsigned char signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    std::vector<unsigned char> out(signature, signature + 8), header, zlib;
    unsigned long a = 1, b = 0;
    size_t pos = 0;
    HANDLE file;
    DWORD written;
    bool ok;

    PutBig32(header, width);
    PutBig32(header, height);
    header.push_back(8);            /* bit depth */
    header.push_back(2);            /* colour type: RGB */
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    PutChunk(out, "IHDR", header);

    zlib.push_back(0x78);
    zlib.push_back(0x01);
    do {
        size_t n = rows.size() - pos > 65535 ? 65535 : rows.size() - pos;
        zlib.push_back(pos + n == rows.size() ? 1 : 0);
        zlib.push_back((unsigned char)n);
        zlib.push_back((unsigned char)(n >> 8));
        zlib.push_back((unsigned char)~n);
        zlib.push_back((unsigned char)(~n >> 8));
        zlib.insert(zlib.end(), rows.begin() + pos, rows.begin() + pos + n);
        pos += n;
    } while (pos < rows.size());
    for (size_t i = 0; i < rows.size(); i++) {
        a = (a + rows[i]) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(zlib, (b << 16) | a);
    PutChunk(out, "IDAT", zlib);
    PutChunk(out, "IEND", std::vector<unsigned char>());

    file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    ok = WriteFile(file, &out[0], (DWORD)out.size(), &written, NULL) && written == out.size();
    CloseHandle(file);
    return ok;
}

bool SaveScreenPng(const RECT *r, const char *path)
{
    int width = r->right - r->left, height = r->bottom - r->top;
    BITMAPINFO info;
    void *bits = NULL;
    HDC screen, memory;
    HBITMAP dib;
    HGDIOBJ old;
    std::vector<unsigned char> rows;

    if (width <= 0 || height <= 0) return false;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    screen = GetDC(NULL);
    memory = CreateCompatibleDC(screen);
    dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!dib) {
        DeleteDC(memory);
        ReleaseDC(NULL, screen);
        return false;
    }
    old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, screen, r->left, r->top, SRCCOPY);
    GdiFlush();

    rows.reserve((size_t)(3 * width + 1) * height);
    for (int y = 0; y < height; y++) {
        const unsigned char *pixel = (const unsigned char *)bits + (size_t)y * width * 4;
        rows.push_back(0);
        for (int x = 0; x < width; x++, pixel += 4) {
            rows.push_back(pixel[2]);
            rows.push_back(pixel[1]);
            rows.push_back(pixel[0]);
        }
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return WritePng(path, width, height, rows);
}
