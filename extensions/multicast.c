/* Helpers of the multicast extension methods. */
#include "extensions/multicast_helpers.h"

#include <stdint.h>

#include "extensions/overlay_helpers.h"
#include "module/addresses.h"
#include "module/conv.h"

size_t tessel_mcast_width(int mode) {
   return mode == VS_MCAST_FILTER_MODE_LEGACY ? 6 : mode == VS_MCAST_FILTER_MODE_MLD ? 16 : 4;
}

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
