/* Python-owned copies of records that live inside a host table or record.
 * The copies come from malloc, so the records' own destructors free them. */
#ifndef TESSEL_MODULE_COPIES_H
#define TESSEL_MODULE_COPIES_H

#include <stddef.h>

/* A copy of the size bytes at src; on allocation failure writes
 * "malloc failed for <type>" on a line to standard output and returns NULL. */
void *tessel_block_copy(const void *src, size_t size, const char *type);

/* A copy of element index of the packed array that starts at first.  The
 * wrapper has checked index against the extent of first's block where the
 * module knows it; a negative index addresses no element: the line "Invalid
 * array index." goes to standard output and NULL is returned. */
void *tessel_element_copy(const void *first, size_t size, int index, const char *type);

#endif
