/* Python-owned copies of records that live inside a host table or record. */
#include "module/copies.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void print_diagnostic(const char *text, const char *type) {
   fputs(text, stdout);
   if (type)
      fputs(type, stdout);
   fputc('\n', stdout);
   fflush(stdout);
}

void *tessel_block_copy(const void *src, size_t size, const char *type) {
   void *copy = malloc(size);
   if (!copy) {
      print_diagnostic("malloc failed for ", type);
      return NULL;
   }
   memcpy(copy, src, size);
   return copy;
}

void *tessel_element_copy(const void *first, size_t size, int index, const char *type) {
   if (index < 0) {
      print_diagnostic("Invalid array index.", NULL);
      return NULL;
   }
   return tessel_block_copy((const char *)first + size * (size_t)index, size, type);
}
