/* Python-owned copies of records that live inside a host table or record. */
#include "module/copies.h"

#include <stdlib.h>
#include <string.h>

#include "module/conv.h"

void *tessel_block_copy(const void *src, size_t size, const char *type) {
   void *copy = malloc(size);
   if (!copy) {
      tessel_print_diagnosticf("malloc failed for %s\n", type);
      return NULL;
   }
   memcpy(copy, src, size);
   return copy;
}

void *tessel_element_copy(const void *first, size_t size, int index, const char *type) {
   if (index < 0) {
      tessel_print_diagnostic(TESSEL_INVALID_ELEMENT_INDEX_TEXT);
      return NULL;
   }
   return tessel_block_copy((const char *)first + size * (size_t)index, size, type);
}
