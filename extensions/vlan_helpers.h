/* Helpers of the VLAN policy extension methods and of the element arrays
 * Python builds for the host (vidrangeArray, pvlanmapentryArray). */
#ifndef TESSEL_EXTENSIONS_VLAN_HELPERS_H
#define TESSEL_EXTENSIONS_VLAN_HELPERS_H

#include <stddef.h>
#include <stdint.h>

#include "hostapi/vlan.h"

/* Elements an array made from Python may have: no host call takes more than
 * a 16-bit count of them. */
#define TESSEL_ARRAY_MAX_ELEMENTS 65535u

/* A zero-filled array of count elements (at least one) of size bytes;
 * writes "malloc failed for <type>" and returns NULL when that fails.  count
 * is at most TESSEL_ARRAY_MAX_ELEMENTS (checked by the caller), so the size
 * cannot overflow. */
void *tessel_array_new(size_t count, size_t size, const char *type);

/* Word i (0..63) of a VLAN bitmap, as stored in host order; 0 after an
 * "Invalid array index." line for any other i. */
int tessel_bitmap_word(const VSVLANBitmap *bitmap, int i, uint64_t *word);

#endif
