/* Helpers of the multicast extension methods. */
#include "extensions/multicast_helpers.h"

#include <arpa/inet.h>
#include <stdint.h>

#include "module/addresses.h"
#include "module/conv.h"

static PyObject *ip_text(int family, const void *addr) {
   char text[INET6_ADDRSTRLEN];
   if (!inet_ntop(family, addr, text, sizeof text))
      return PyErr_SetFromErrno(PyExc_OSError);
   return PyUnicode_FromString(text);
}

size_t tessel_mcast_width(int mode) {
   return mode == VS_MCAST_FILTER_MODE_LEGACY ? 6 : mode == VS_MCAST_FILTER_MODE_MLD ? 16 : 4;
}

PyObject *tessel_ipv4_text(const void *addr) { return ip_text(AF_INET, addr); }

PyObject *tessel_ipv6_text(const void *addr) { return ip_text(AF_INET6, addr); }

PyObject *tessel_mcast_entry_text(const unsigned char *first, unsigned count, size_t extent,
                                  size_t header, int index, size_t width) {
   const unsigned char *at;
   if (extent != SIZE_MAX) {
      size_t fit = extent < header ? 0 : (extent - header) / width;
      if (fit < count)
         count = (unsigned)fit;
   }
   if (index < 0 || (unsigned)index >= count) {
      tessel_print_diagnostic("Invalid array index.");
      Py_RETURN_NONE;
   }
   at = first + width * (unsigned)index;
   if (width == TESSEL_MAC_LEN)
      return tessel_mac_text(at);
   return width == 4 ? tessel_ipv4_text(at) : tessel_ipv6_text(at);
}
