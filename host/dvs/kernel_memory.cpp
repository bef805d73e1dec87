/* The release of the blocks libdvs.so hands out. */
#include "hostapi/kernel.h"
#include "sim_internal.h"

TESSEL_HOST_API(void, VSDVS_FreeMemory, (void *mem), tessel_sim_block_release(mem))
