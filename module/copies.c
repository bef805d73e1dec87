/* Python-owned copies of records that live inside a host table or record. */
#include "module/copies.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "module/conv.h"

void *tessel_block_copy(const void *src, size_t size, const char *type) {
   void *copy = malloc(size);
   if (!copy) {
      char text[128];
      snprintf(text, sizeof text, "malloc failed for %s\n", type);
      tessel_print_diagnostic(text);
      return NULL;
   }
   memcpy(copy, src, size);
   return copy;
}

void *tessel_element_copy(const void *first, size_t size, int index, const char *type) {
   if (index < 0) {
      tessel_print_diagnostic("Invalid array index.\n");
      return NULL;
   }
   return tessel_block_copy((const char *)first + size * (size_t)index, size, type);
}
