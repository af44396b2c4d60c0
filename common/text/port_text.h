/*
 * The texts of port discovery: which device interface is the product's, the
 * registry key that holds its port number, and the names offered. Needs no
 * Windows header, so it also compiles natively for the fuzzers.
 */
#ifndef PORT_TEXT_H
#define PORT_TEXT_H

/* The device path without the \\?\ that begins every such path. */
const char *InterfacePathWithoutPrefix(const char *devicePath);

/* 1 when the path begins with the product's interface prefix, exactly. */
int IsProductInterface(const char *path, const char *productPrefix);

/* The key of the interface's device parameters; 0 when it does not fit. */
int BuildUsbKeyPath(const char *path, char *keyPath, int size);

/* "USB" and the port number, three digits at least. */
void FormatUsbPortName(unsigned long number, char *name, int size);

/* Serial ports are the spooler's ports whose names begin with "COM". */
int IsSerialPortName(const char *name);

/* The kind of port a name given by a person names. */
#define PORT_NAME_NONE   0
#define PORT_NAME_SERIAL 1
#define PORT_NAME_USB    2

/*
 * "COMn" or "COMn:" names the serial port the spooler calls "COMn:";
 * "USBnnn" (three digits at least, as the USB port discovery writes them)
 * a USB printer port; letters in any case. Writes the name in the spooler's
 * spelling and returns its kind; PORT_NAME_NONE, and nothing written, for a
 * name of neither form or one that does not fit.
 */
int ReadPortName(const char *text, char *port, int size);

#endif
