/* Helpers of the uplink, teaming and LAG extension methods. */
#include "extensions/teaming_helpers.h"

#include <stdlib.h>
#include <string.h>

/* ---- Sized tables ---- */

void *tessel_sized_table(int count, size_t header, size_t slot, size_t count_offset) {
   long long bytes;
   hyx_uint32 stored;
   void *block;
   if (count < 0)
      return NULL;
   bytes = (long long)header + (long long)count * (long long)slot;
   if (bytes > INT32_MAX)
      return NULL;
   block = calloc(1, (size_t)bytes);
   if (!block)
      return NULL;
   stored = (hyx_uint32)count;
   memcpy((char *)block + count_offset, &stored, sizeof stored);
   return block;
}

uint32_t tessel_slots_within(uint32_t count, size_t extent, size_t header, size_t slot) {
   size_t room;
   if (extent == SIZE_MAX)
      return count;
   room = extent > header ? (extent - header) / slot : 0;
   return room < count ? (uint32_t)room : count;
}

char *tessel_slot(void *table, int index, uint32_t count, size_t header, size_t stride) {
   if ((uint32_t)index >= count) {
      tessel_print_bad_index();
      return NULL;
   }
   return (char *)table + header + (size_t)(uint32_t)index * stride;
}

PyObject *tessel_slot_text(const char *slot, size_t width) {
   return PyUnicode_DecodeUTF8(slot, (Py_ssize_t)SWIG_strnlen(slot, width), "surrogateescape");
}

void tessel_slot_store(char *slot, size_t width, const char *text) {
   size_t len = strlen(text);
   if (len >= width) {
      memcpy(slot, text, width);
   } else {
      memcpy(slot, text, len);
      memset(slot + len, 0, width - len);
   }
}

/* ---- Logical-switch teaming tables ---- */

TESSEL_EXPORT LSTeamTable *alloc_ls_team_table(int n) {
   long long bytes;
   LSTeamTable *table;
   if (n < 0)
      return NULL;
   /* The size is a 32-bit signed quantity: 781471 policies at most. */
   bytes = 4 + 2748LL * n;
   if (bytes > INT32_MAX)
      return NULL;
   table = calloc(1, (size_t)bytes);
   if (!table)
      return NULL;
   table->numLSTeam = (hyx_uint32)n;
   return table;
}

TESSEL_EXPORT void free_ls_team_table(LSTeamTable *t) { free(t); }

/* ---- LAG walk ---- */

#define LAG_HEADER sizeof(VSLAGStatus)
#define LAG_MEMBER sizeof(hyx_Name)

uint32_t tessel_lag_members(const VSLAGStatus *lag, size_t extent) {
   hyx_uint32 count;
   memcpy(&count, (const char *)lag + offsetof(VSLAGStatus, numUplinks), sizeof count);
   return tessel_slots_within(count, extent, LAG_HEADER, LAG_MEMBER);
}

VSLAGStatus *tessel_lag_first(VSLAGTable *table, size_t extent) {
   if (extent < sizeof(VSLAGTable))
      return NULL;
   return (VSLAGStatus *)((char *)table + sizeof(VSLAGTable));
}

VSLAGStatus *tessel_lag_next(VSLAGStatus *lag, size_t extent) {
   hyx_uint32 count;
   size_t step;
   memcpy(&count, (const char *)lag + offsetof(VSLAGStatus, numUplinks), sizeof count);
   step = LAG_HEADER + (size_t)count * LAG_MEMBER;
   if (step > extent)
      return NULL;
   return (VSLAGStatus *)((char *)lag + step);
}

size_t tessel_lag_table_size(const VSLAGTable *table) {
   hyx_uint32 lags, i;
   size_t size = sizeof(VSLAGTable);
   memcpy(&lags, table, sizeof lags);
   for (i = 0; i < lags; i++) {
      hyx_uint32 members;
      memcpy(&members, (const char *)table + size + offsetof(VSLAGStatus, numUplinks),
             sizeof members);
      size += LAG_HEADER + (size_t)members * LAG_MEMBER;
   }
   return size;
}

void tessel_print_bad_index(void) { tessel_print_diagnostic("Invalid array index."); }
