#ifndef PNG_WRITER_H
#define PNG_WRITER_H

#include <windows.h>

/* Saves what the screen shows in the rectangle as a PNG file. */
bool SaveScreenPng(const RECT *r, const char *path);

#endif
