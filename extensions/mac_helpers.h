/* Helpers of the MAC table extension methods. */
#ifndef TESSEL_EXTENSIONS_MAC_HELPERS_H
#define TESSEL_EXTENSIONS_MAC_HELPERS_H

#include "hostapi/mac.h"

/* Copies the six address bytes at mac into dest. */
void tessel_set_mac(unsigned char *dest, const unsigned char *mac);

/* Copies the six address bytes at mac into row index of block; for an index
 * outside the block's 25 rows writes the line "Invalid array index." to
 * standard output instead and changes nothing. */
void tessel_macentries_set(VSMACEntries *block, int index, const unsigned char *mac);

#endif
