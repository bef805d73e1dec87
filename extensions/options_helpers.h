/* Helpers of the runtime-option block methods: building and walking a block
 * without leaving it.  A block's end is the smaller of its totalLength and
 * the bytes the module knows it has (extent, SIZE_MAX when unknown); a
 * position is an option header's address inside the block. */
#ifndef TESSEL_EXTENSIONS_OPTIONS_HELPERS_H
#define TESSEL_EXTENSIONS_OPTIONS_HELPERS_H

#include <Python.h>
#include <stddef.h>
#include <stdint.h>

#include "hostapi/options.h"
#include "module/conv.h"

/* A block of capacity size: totalLength = size, the buffer zero-filled and
 * never shorter than totalLength itself (so a size below 4 makes a 4-byte
 * buffer with no room for an option).  NULL for a negative size or a failed
 * allocation. */
VSRuntimeOptions *tessel_options_new(int size);
/* The bytes the buffer of a block made by tessel_options_new has. */
size_t tessel_options_buffer_size(const VSRuntimeOptions *block);

/* The first option of a block, or NULL when no option header fits. */
VSRuntimeOptionHeader *tessel_options_first(VSRuntimeOptions *block, size_t extent);
/* The option after opt, or NULL when opt lies outside the block, its length
 * is below a header (a walk would never end) or no header fits after it. */
VSRuntimeOptionHeader *tessel_options_next(VSRuntimeOptions *block, size_t extent,
                                           VSRuntimeOptionHeader *opt);
/* Writes an integer or text option at pos and gives the position after it;
 * NULL, with nothing written, when pos lies outside the block, the text is
 * VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH bytes or more, or the option
 * would not end strictly before the block's end. */
VSRuntimeOptionHeader *tessel_options_add_int(VSRuntimeOptions *block, size_t extent,
                                              VSRuntimeOptionHeader *pos, int type, int value);
VSRuntimeOptionHeader *tessel_options_add_str(VSRuntimeOptions *block, size_t extent,
                                              VSRuntimeOptionHeader *pos, int type,
                                              const char *value);

/* The name of an option (extent bytes from its start): a str, or NULL with
 * ValueError for a type that names no option. */
PyObject *tessel_option_name(const VSRuntimeOptionHeader *opt);
/* The value of an option: an int for an integer type, bytes up to the first
 * zero for a text; never read past the option's length nor past extent.
 * NULL with ValueError when the integer does not lie within them. */
PyObject *tessel_option_value(const VSRuntimeOptionHeader *opt, size_t extent);

/* The type of the option named name (exact, case-sensitive), -1 for none. */
int get_runtime_option_type_from_name(char const *name);

/* ---- RTM and property queries ---- */

/* The entries of a query that lie inside its extent: count, or fewer when
 * the block cannot hold that many. */
uint32_t tessel_query_entries(uint32_t count, size_t extent, size_t header, size_t entry);
/* Entry index of a query of count entries, or NULL (after the line
 * "Invalid array index." on standard output) when index taken as unsigned
 * is not below count. */
char *tessel_query_entry(void *query, int index, uint32_t count, size_t header, size_t entry);

/* Zero-filled queries with their count set.  NULL, after the line "Calloc
 * failed for <record>", for a negative count, one whose size exceeds
 * INT32_MAX bytes, or a failed allocation. */
RTMIOCtlQuery *alloc_rtm_query(int n);
void free_rtm_query(RTMIOCtlQuery *query);
RTMModIOCtlQuery *alloc_rtm_mod_query(int n);
void free_rtm_mod_query(RTMModIOCtlQuery *query);

/* A property query with propLen s and a zero-filled value of s bytes (none
 * for s of 0 or less).  The value blocks the module makes are listed with
 * their size, and carry one zero byte more, so a text read from one ends
 * inside it.  free_zar_query frees the value only when it is one of them. */
ZARQuery *alloc_zar_query(int s);
void free_zar_query(ZARQuery *query);
/* propValue: the text, or NULL; set: the old value (when the module made
 * it) freed, a copy of text stored (NULL for NULL); propLen unchanged. */
char *ZARQuery_propValue_get(ZARQuery *query);
void ZARQuery_propValue_set(ZARQuery *query, char *text);
/* propLen bytes of the value, never more than its block holds: empty for a
 * length of 0 or less or a NULL value. */
PyObject *tessel_zar_value_bytes(const ZARQuery *query);

#endif
