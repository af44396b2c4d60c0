/* The names offered on the Port page, serial or USB, and the stored choice. */
#ifndef PORTS_H
#define PORTS_H

#include <windows.h>

short GetPortCount(void);
void GetPortNameAt(WORD index, char *name);
void GetPortIconName(const char *rowText, char *iconName);
/* The port the printer will be registered on. */
void StorePortName(const char *name);

#endif
