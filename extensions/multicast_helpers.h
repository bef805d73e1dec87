/* Helpers of the multicast extension methods: address text forms read
 * within a table's header count. */
#ifndef TESSEL_EXTENSIONS_MULTICAST_HELPERS_H
#define TESSEL_EXTENSIONS_MULTICAST_HELPERS_H

#include <Python.h>

#include "hostapi/multicast.h"
/* The address text forms, shared with the overlay tables. */
#include "extensions/overlay_helpers.h"

/* Bytes of one address in a table read in mode: 6 (MAC) for the legacy
 * mode, 16 for MLD, 4 for the others. */
size_t tessel_mcast_width(int mode);

/* Entry index of a table of count entries of width bytes starting at first,
 * header bytes into a block of extent bytes (SIZE_MAX: unknown), as text
 * (MAC for width 6, IPv4 for 4, IPv6 for 16); None after "Invalid array
 * index." for an index outside 0..count-1 or an entry past the block, so
 * nothing past the table is read. */
PyObject *tessel_mcast_entry_text(const unsigned char *first, unsigned count, size_t extent,
                                  size_t header, int index, size_t width);

#endif
