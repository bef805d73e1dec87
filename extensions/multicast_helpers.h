/* Helpers of the multicast extension methods: address text forms read
 * within a table's header count. */
#ifndef TESSEL_EXTENSIONS_MULTICAST_HELPERS_H
#define TESSEL_EXTENSIONS_MULTICAST_HELPERS_H

#include <Python.h>

#include "hostapi/multicast.h"

/* Set by each method of a filter table, statistics or legacy keys record:
 * whether the record is owned by its Python proxy (a bare header). */
extern int tessel_mcast_owned_self;

/* The text of the IPv4 (4 bytes) or IPv6 (16 bytes) address at addr. */
PyObject *tessel_ipv4_text(const void *addr);
PyObject *tessel_ipv6_text(const void *addr);

/* Entry index of a table of count entries of width bytes starting at first,
 * as text (MAC for width 6, IPv4 for 4, IPv6 for 16); None after "Invalid
 * array index." for an index outside 0..count-1 (no entry at all behind a
 * Python-owned header), so nothing past the table is read. */
PyObject *tessel_mcast_entry_text(const unsigned char *first, unsigned count, int index,
                                  size_t width);

#endif
