/* Helpers that make the switch list and the switch summary usable from
 * Python. */
#ifndef TESSEL_EXTENSIONS_KERNEL_HELPERS_H
#define TESSEL_EXTENSIONS_KERNEL_HELPERS_H

#include <stddef.h>

#include "hostapi/kernel.h"

/* Lists the host's switches of one list type.  On a failure status writes
 * "failed: <status in hex>" on a line of its own to standard output and
 * returns NULL; otherwise returns the list, which the caller frees. */
VSList *VSHYX_GetSwitchesPy(VSListType listType);
/* Frees a list from VSHYX_GetSwitchesPy. */
void free_switches(VSList *list);
/* Allocates an uncleared summary record, or writes "malloc failed for
 * VSInfo" to standard output and returns NULL. */
VSInfo *alloc_vs_info(void);
/* Frees a record from alloc_vs_info. */
void free_vs_info(VSInfo *info);

/* The text of entry index of a list: its address, with *len its length up to
 * the first NUL within the entry's slot.  NULL when index is not in
 * 0..count-1. */
const char *tessel_vslist_entry(const VSList *list, int index, size_t *len);

/* Reads the use count of one VLAN id into *count; returns 0 when vlan is not
 * in 0..4095. */
int tessel_vsinfo_vlan_use_count(const VSInfo *info, int vlan, unsigned *count);

/* Writes the fixed diagnostic of an out-of-range index, on a line of its
 * own, to standard output. */
void tessel_print_invalid_index(void);

#endif
