/*
 * Bounded text copies into the program's fixed buffers. A text that does not
 * fit is cut, never overflowed.
 */
#ifndef TEXTBUF_H
#define TEXTBUF_H

#define TEXT_SIZE 1024      /* paths, profile values and texts */
#define NAME_SIZE 260       /* registry names and port names */
#define KEYLIST_SIZE 2048   /* the key list of a section */

void CopyText(char *dest, int size, const char *src);
void AppendText(char *dest, int size, const char *src);

#endif
