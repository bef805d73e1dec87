/* Switch enumeration and switch summary helpers. */
#include "extensions/kernel_helpers.h"

#include <stdlib.h>
#include <string.h>

#include "module/conv.h"

TESSEL_EXPORT VSList *VSHYX_GetSwitchesPy(VSListType listType) {
   VSList *list = NULL;
   HYX_ReturnStatus status = VSHYX_GetSwitches(listType, &list);
   if (status != 0) {
      tessel_print_diagnosticf("failed: %x\n", (unsigned)status);
      return NULL;
   }
   return list;
}

size_t tessel_vslist_size(const VSList *list) {
   hyx_int32 count;
   VSListType type;
   memcpy(&count, &list->count, sizeof(count));
   memcpy(&type, &list->listType, sizeof(type));
   if (count < 0)
      count = 0;
   return sizeof(VSList) + (size_t)count * tessel_vslist_slot_width(type);
}

TESSEL_EXPORT void free_switches(VSList *list) { free(list); }

TESSEL_EXPORT VSInfo *alloc_vs_info(void) {
   VSInfo *info = malloc(sizeof(VSInfo));
   if (!info)
      tessel_print_diagnostic("malloc failed for VSInfo");
   return info;
}

TESSEL_EXPORT void free_vs_info(VSInfo *info) { free(info); }

size_t tessel_vslist_slot_width(VSListType type) {
   return type == VS_LIST_PS ? VS_LIST_PS_ENTRY_LEN : VS_LIST_ALIAS_ENTRY_LEN;
}

const char *tessel_vslist_entry(const VSList *list, size_t extent, int index, size_t *len) {
   hyx_int32 count;
   VSListType type;
   size_t width, start;
   const char *slot;
   memcpy(&count, &list->count, sizeof(count));
   memcpy(&type, &list->listType, sizeof(type));
   if (index < 0 || index >= count)
      return NULL;
   width = tessel_vslist_slot_width(type);
   start = offsetof(VSList, switches) + (size_t)index * width;
   if (start + width > extent)
      return NULL;
   slot = (const char *)list + start;
   *len = SWIG_strnlen(slot, width);
   return slot;
}

int tessel_vsinfo_vlan_use_count(const VSInfo *info, int vlan, unsigned *count) {
   hyx_VlanID value;
   if (vlan < 0 || vlan >= VS_VLAN_ID_COUNT)
      return 0;
   memcpy(&value,
          (const char *)info + offsetof(VSInfo, overlayVlanUseCount) +
              (size_t)vlan * sizeof(hyx_VlanID),
          sizeof(value));
   *count = value;
   return 1;
}

void tessel_print_invalid_index(void) { tessel_print_diagnostic(TESSEL_INVALID_INDEX_TEXT); }
