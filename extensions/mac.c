/* Helpers of the MAC table extension methods. */
#include "extensions/mac_helpers.h"

#include <string.h>

#include "module/addresses.h"
#include "module/conv.h"

/* The block's row count comes from the host header; it must agree with the
   block's declared layout. */
HYX_STATIC_ASSERT(sizeof(((VSMACEntries *)0)->macEntry) ==
                      VS_MAC_ENTRIES_BLOCK_ROWS * TESSEL_MAC_LEN,
                  "VS_MAC_ENTRIES_BLOCK_ROWS disagrees with VSMACEntries.macEntry");

void tessel_set_mac(unsigned char *dest, const unsigned char *mac) {
   memcpy(dest, mac, TESSEL_MAC_LEN);
}

void tessel_macentries_set(VSMACEntries *block, int index, const unsigned char *mac) {
   if (index < 0 || index >= VS_MAC_ENTRIES_BLOCK_ROWS) {
      tessel_print_diagnostic(TESSEL_INVALID_ELEMENT_INDEX_TEXT);
      return;
   }
   memcpy(block->macEntry[index], mac, TESSEL_MAC_LEN);
}
