/* Helpers of the VLAN policy extension methods and of the element arrays
 * Python builds for the host. */
#include "extensions/vlan_helpers.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "module/conv.h"

/* The arrays made from Python that are not freed yet, with their counts.
 * The blocks are freed only through tessel_array_delete, so an address found
 * here is one of them. */
typedef struct {
   const void *block;
   size_t count;
} tessel_array_slot;

static tessel_array_slot *arrays = NULL;
static size_t array_count = 0;
static size_t array_capacity = 0;

static size_t find_array(const void *p) {
   size_t i;
   for (i = 0; i < array_count; i++) {
      if (arrays[i].block == p)
         return i;
   }
   return SIZE_MAX;
}

static void print_malloc_failed(const char *type) {
   char text[128];
   snprintf(text, sizeof text, "malloc failed for %s\n", type);
   tessel_print_diagnostic(text);
}

size_t tessel_extent(const void *p, int own, size_t owned_count) {
   size_t at = find_array(p);
   if (at != SIZE_MAX)
      return arrays[at].count;
   return own ? owned_count : TESSEL_EXTENT_UNKNOWN;
}

void *tessel_array_new(size_t count, size_t size, const char *type) {
   /* At least one element, so a zero count still gives a distinct block. */
   void *block = calloc(count ? count : 1, size);
   if (!block) {
      print_malloc_failed(type);
      return NULL;
   }
   if (array_count == array_capacity) {
      size_t grown = array_capacity ? 2 * array_capacity : 16;
      tessel_array_slot *more = realloc(arrays, grown * sizeof *more);
      if (!more) {
         free(block);
         print_malloc_failed(type);
         return NULL;
      }
      arrays = more;
      array_capacity = grown;
   }
   arrays[array_count].block = block;
   arrays[array_count].count = count;
   array_count++;
   return block;
}

int tessel_array_delete(void *array) {
   size_t at = find_array(array);
   if (at == SIZE_MAX)
      return 0;
   arrays[at] = arrays[--array_count];
   free(array);
   return 1;
}

int tessel_array_known(const void *p) { return find_array(p) != SIZE_MAX; }

void *tessel_bounded_copy(const void *first, size_t size, long long index, size_t extent,
                          const char *type) {
   void *copy;
   if (index < 0 || (extent != TESSEL_EXTENT_UNKNOWN && (unsigned long long)index >= extent)) {
      tessel_print_diagnostic("Invalid array index.\n");
      return NULL;
   }
   copy = malloc(size);
   if (!copy) {
      print_malloc_failed(type);
      return NULL;
   }
   memcpy(copy, (const char *)first + size * (size_t)index, size);
   return copy;
}

int tessel_bounded_store(void *first, size_t size, size_t index, size_t extent, const void *value) {
   if (extent != TESSEL_EXTENT_UNKNOWN && index >= extent) {
      tessel_print_diagnostic("Invalid array index.\n");
      return 0;
   }
   memcpy((char *)first + size * index, value, size);
   return 1;
}

int tessel_bitmap_word(const VSVLANBitmap *bitmap, int i, uint64_t *word) {
   if (i < 0 || i >= VS_VLAN_BITMAP_ARRAY_SIZE) {
      tessel_print_diagnostic("Invalid array index.\n");
      return 0;
   }
   memcpy(word, (const char *)bitmap + (size_t)i * sizeof *word, sizeof *word);
   return 1;
}
