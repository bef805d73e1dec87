/* Helpers of the VLAN policy extension methods and of the element arrays
 * Python builds for the host. */
#include "extensions/vlan_helpers.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "module/conv.h"

void *tessel_array_new(size_t count, size_t size, const char *type) {
   void *block = calloc(count ? count : 1, size);
   if (!block) {
      char text[128];
      snprintf(text, sizeof text, "malloc failed for %s\n", type);
      tessel_print_diagnostic(text);
   }
   return block;
}

int tessel_bitmap_word(const VSVLANBitmap *bitmap, int i, uint64_t *word) {
   if (i < 0 || i >= VS_VLAN_BITMAP_ARRAY_SIZE) {
      tessel_print_diagnostic("Invalid array index.\n");
      return 0;
   }
   memcpy(word, (const char *)bitmap + (size_t)i * sizeof *word, sizeof *word);
   return 1;
}
