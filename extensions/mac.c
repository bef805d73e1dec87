/* Helpers of the MAC table extension methods. */
#include "extensions/mac.h"

#include <stdio.h>
#include <string.h>

#define MAC_LEN 6
#define BLOCK_ROWS ((int)(sizeof(((VSMACEntries *)0)->macEntry) / MAC_LEN))

void tessel_set_mac(unsigned char *dest, const unsigned char *mac) { memcpy(dest, mac, MAC_LEN); }

void tessel_macentries_set(VSMACEntries *block, int index, const unsigned char *mac) {
   if (index < 0 || index >= BLOCK_ROWS) {
      fputs("Invalid array index.\n", stdout);
      fflush(stdout);
      return;
   }
   memcpy(block->macEntry[index], mac, MAC_LEN);
}
