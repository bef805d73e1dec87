/* Helpers of the MAC table extension methods. */
#include "extensions/mac_helpers.h"

#include <string.h>

#include "module/addresses.h"
#include "module/conv.h"

#define BLOCK_ROWS ((int)(sizeof(((VSMACEntries *)0)->macEntry) / TESSEL_MAC_LEN))

void tessel_set_mac(unsigned char *dest, const unsigned char *mac) {
   memcpy(dest, mac, TESSEL_MAC_LEN);
}

void tessel_macentries_set(VSMACEntries *block, int index, const unsigned char *mac) {
   if (index < 0 || index >= BLOCK_ROWS) {
      tessel_print_diagnostic("Invalid array index.\n");
      return;
   }
   memcpy(block->macEntry[index], mac, TESSEL_MAC_LEN);
}
