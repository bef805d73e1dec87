/* Helpers of the VLAN policy extension methods and of the element arrays
 * Python builds for the host (vidrangeArray, pvlanmapentryArray), with the
 * extents the module can know of a block it is given. */
#ifndef TESSEL_EXTENSIONS_VLAN_HELPERS_H
#define TESSEL_EXTENSIONS_VLAN_HELPERS_H

#include <stddef.h>
#include <stdint.h>

#include "hostapi/vlan.h"

/* The extent of a block whose length the module cannot know (a view into a
 * host table): the caller keeps indexes and counts within it. */
#define TESSEL_EXTENT_UNKNOWN SIZE_MAX
/* Elements an array made from Python may have: no host call takes more than
 * a 16-bit count of them. */
#define TESSEL_ARRAY_MAX_ELEMENTS 65535u

/* The number of elements at p the module knows of: an array from
 * tessel_array_new has its count, any other block Python owns (own non-zero)
 * is owned_count records, and anything else is TESSEL_EXTENT_UNKNOWN. */
size_t tessel_extent(const void *p, int own, size_t owned_count);

/* Allocates a zero-filled array of count elements of size bytes and records
 * its count; writes "malloc failed for <type>" and returns NULL when that
 * fails.  count is at most TESSEL_ARRAY_MAX_ELEMENTS (checked by the
 * caller). */
void *tessel_array_new(size_t count, size_t size, const char *type);
/* Frees an array from tessel_array_new and returns 1; returns 0 and frees
 * nothing for any other address. */
int tessel_array_delete(void *array);
/* Whether p is an array from tessel_array_new that is not freed yet. */
int tessel_array_known(const void *p);

/* A Python-owned copy of element index of the block at first (size bytes per
 * element), or NULL after an "Invalid array index." line when index is
 * negative or not below a known extent (or "malloc failed for <type>"). */
void *tessel_bounded_copy(const void *first, size_t size, long long index, size_t extent,
                          const char *type);
/* Copies size bytes from value into element index of the block at first; an
 * index not below a known extent changes nothing: an "Invalid array index."
 * line and 0. */
int tessel_bounded_store(void *first, size_t size, size_t index, size_t extent, const void *value);

/* Word i (0..63) of a VLAN bitmap, as stored in host order; 0 after an
 * "Invalid array index." line for any other i. */
int tessel_bitmap_word(const VSVLANBitmap *bitmap, int i, uint64_t *word);

#endif
