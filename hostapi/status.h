/* Status codes of the host libraries.  HYX_OK is 0; every other status lies
 * in the block that starts at 0xBAD0001, closed by HYX_LAST_ERR, with
 * HYX_GENERIC_LINUX_ERROR standing apart. */
#ifndef TESSEL_HOSTAPI_STATUS_H
#define TESSEL_HOSTAPI_STATUS_H

enum {
#define HYX_STATUS(name, value, text) name = value,
#include "hostapi/status_codes.def"
#undef HYX_STATUS
};

#endif
