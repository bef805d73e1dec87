/* The module's MAC address text form. */
#include "module/addresses.h"

#include <stdio.h>

PyObject *tessel_mac_text(const unsigned char *mac) {
   char text[32];
   int len;
   if (!mac)
      Py_RETURN_NONE;
   len = snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
   return PyUnicode_FromStringAndSize(text, len);
}
