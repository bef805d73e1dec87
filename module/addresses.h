/* The module's MAC address forms. */
#ifndef TESSEL_MODULE_ADDRESSES_H
#define TESSEL_MODULE_ADDRESSES_H

#include <Python.h>

/* Bytes of a MAC address. */
#define TESSEL_MAC_LEN 6

/* The six bytes at mac as "0a:1b:2c:3d:4e:5f"; None for NULL. */
PyObject *tessel_mac_text(const unsigned char *mac);

#endif
