/* Helpers that make the switch list and the switch summary usable from
 * Python. */
#ifndef TESSEL_EXTENSIONS_KERNEL_HELPERS_H
#define TESSEL_EXTENSIONS_KERNEL_HELPERS_H

#include <stddef.h>

#include "hostapi/kernel.h"

/* Lists the host's switches of one list type.  On a failure status writes
 * "failed: <status in hex>" on a line of its own to standard output (the
 * module's diagnostic writer) and returns NULL; otherwise returns the list,
 * which the caller frees. */
VSList *VSHYX_GetSwitchesPy(VSListType listType);
/* Frees a list from VSHYX_GetSwitchesPy. */
void free_switches(VSList *list);
/* Allocates an uncleared summary record, or writes "malloc failed for
 * VSInfo" to standard output and returns NULL. */
VSInfo *alloc_vs_info(void);
/* Frees a record from alloc_vs_info. */
void free_vs_info(VSInfo *info);

/* The width of one entry slot of a list of the given type. */
size_t tessel_vslist_slot_width(VSListType type);

/* The bytes of a list: its header and count slots. */
size_t tessel_vslist_size(const VSList *list);

/* The text of entry index of a list whose block has extent bytes from the
 * list's address: its address, with *len its length up to the first NUL
 * within the entry's slot.  NULL when index is not in 0..count-1 or the
 * slot does not lie inside the block. */
const char *tessel_vslist_entry(const VSList *list, size_t extent, int index, size_t *len);

/* Reads the use count of one VLAN id into *count; returns 0 when vlan is not
 * in 0..4095. */
int tessel_vsinfo_vlan_use_count(const VSInfo *info, int vlan, unsigned *count);

/* Writes the fixed diagnostic of an out-of-range index, on a line of its
 * own, to standard output. */
void tessel_print_invalid_index(void);

#endif
