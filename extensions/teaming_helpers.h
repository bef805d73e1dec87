/* Helpers of the uplink, teaming and LAG extension methods: the sized
 * tables, bounded reads and writes of fixed-width name slots, the LAG walk
 * bounded by the extents of the blocks the module knows. */
#ifndef TESSEL_EXTENSIONS_TEAMING_HELPERS_H
#define TESSEL_EXTENSIONS_TEAMING_HELPERS_H

#include <stddef.h>
#include <stdint.h>

#include "hostapi/teaming.h"
#include "module/conv.h"

/* Extents: the bytes a block has from an address on, SIZE_MAX when the
 * module cannot know them. */

/* A zero-filled block of header + count * slot bytes with the count stored
 * as a 32-bit value at count_offset.  NULL for a negative count, a size
 * above INT32_MAX bytes or a failed allocation. */
void *tessel_sized_table(int count, size_t header, size_t slot, size_t count_offset);

/* The number of whole slots of a table that lie inside its extent: count,
 * or fewer when the block cannot hold that many. */
uint32_t tessel_slots_within(uint32_t count, size_t extent, size_t header, size_t slot);

/* The slot at index of a table of count slots, or NULL (after the line
 * "Invalid array index." on standard output, no newline) when index taken
 * as unsigned is not below count. */
char *tessel_slot(void *table, int index, uint32_t count, size_t header, size_t stride);

/* The text of a fixed-width slot: up to its first NUL, or all width bytes
 * when it holds none (never more). */
PyObject *tessel_slot_text(const char *slot, size_t width);
/* Copies text into a fixed-width slot: at most width bytes, zero-filled
 * after a shorter text, no terminator for width bytes or more. */
void tessel_slot_store(char *slot, size_t width, const char *text);

/* LSTeamTable: allocated with its count set and every policy zero.  NULL
 * for a negative count, one whose size overflows 32-bit signed arithmetic,
 * or a failed allocation. */
LSTeamTable *alloc_ls_team_table(int n);
void free_ls_team_table(LSTeamTable *t);

/* The first LAG of a table of extent bytes, or NULL when it would start
 * past the table's end. */
VSLAGStatus *tessel_lag_first(VSLAGTable *table, size_t extent);
/* The LAG after lag (extent bytes from lag's start to its block's end), or
 * NULL when it would start past that end.  A position at the very end is
 * given: nothing can be read through it. */
VSLAGStatus *tessel_lag_next(VSLAGStatus *lag, size_t extent);
/* The bytes of a LAG table: its count and the records the count says it
 * holds, each as long as its member count makes it. */
size_t tessel_lag_table_size(const VSLAGTable *table);
/* The member names of lag that lie within extent bytes of its start. */
uint32_t tessel_lag_members(const VSLAGStatus *lag, size_t extent);

/* Writes "Invalid array index." (no newline) to standard output. */
void tessel_print_bad_index(void);

#endif
