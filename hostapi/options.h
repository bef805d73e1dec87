/* Runtime options of the switch-control library: the switch-wide settings
 * (IGMP and MLD snooping, reverse-ARP announcements, reverse-path checks,
 * fast path, teaming behaviour, mirror statistics, router addresses) that
 * travel as one packed block of self-describing options. */
#ifndef TESSEL_HOSTAPI_OPTIONS_H
#define TESSEL_HOSTAPI_OPTIONS_H

#include "hostapi/common.h"

#ifndef SWIG
/* Option types: index into runtimeOptionNames.  Types below
 * VS_RT_OPT_FIRST_TEXT carry a 32-bit integer, the others a text. */
#define VS_RT_OPT_IGMP_QUERY_INTERVAL 0
#define VS_RT_OPT_IGMP_V3_MAX_SRC_IP_NUM 1
#define VS_RT_OPT_IGMP_QUERIES 2
#define VS_RT_OPT_IGMP_VERSION 3
#define VS_RT_OPT_MLD_VERSION 4
#define VS_RT_OPT_MLD_V2_MAX_SRC_IP_NUM 5
#define VS_RT_OPT_MAX_RARPS_PER_INTERVAL 6
#define VS_RT_OPT_RARP_ADVERTISEMENT_DURATION 7
#define VS_RT_OPT_REVERSE_PATH_FWD_CHECK 8
#define VS_RT_OPT_REVERSE_PATH_FWD_CHECK_PROMISC 9
#define VS_RT_OPT_ALLOW_FAST_PATH 10
#define VS_RT_OPT_TEAM_POLICY_UP_DELAY 11
#define VS_RT_OPT_ALLOW_MIRROR_STATS 12
#define VS_RT_OPT_TEAMING_NUMA_AWARE 13
#define VS_RT_OPT_SEND_IGMP_REPORT_TO_UPLINK 14
#define VS_RT_OPT_TEAMING_IGNORE_SHOTGUN 15
#define VS_RT_OPT_IGMP_ROUTER_IP 16
#define VS_RT_OPT_MLD_ROUTER_IP 17
#define VS_NUM_RT_OPT 18
#define VS_RT_OPT_FIRST_TEXT 16
/* The largest block, and the longest text value with its terminating zero. */
#define VS_CHARDEV_MAX_RUNTIME_OPTIONS_LENGTH 4096
#define VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH 128
/* Length of an integer option: its header and the 32-bit value. */
#define VS_RT_OPT_INT_LENGTH 8
#endif

/* The option block: totalLength (this field included; while a block is
 * being built, the capacity of its buffer), then the options back to back. */
typedef struct HYX_PACKED VSRuntimeOptions {
   hyx_uint32 totalLength;
} VSRuntimeOptions;
HYX_CHECK_OFFSET(VSRuntimeOptions, totalLength, 0);
HYX_CHECK_SIZE(VSRuntimeOptions, 4);

/* One option: its type, its whole length (header included) and its value. */
typedef struct HYX_PACKED VSRuntimeOptionHeader {
   hyx_uint16 type;
   hyx_uint16 length;
   hyx_uint8 data[0];
} VSRuntimeOptionHeader;
HYX_CHECK_OFFSET(VSRuntimeOptionHeader, type, 0);
HYX_CHECK_OFFSET(VSRuntimeOptionHeader, length, 2);
HYX_CHECK_OFFSET(VSRuntimeOptionHeader, data, 4);
HYX_CHECK_SIZE(VSRuntimeOptionHeader, 4);

HYX_EXTERN_C_BEGIN

/* Hands out a block with the options of the given types, in the order given
 * (types NULL with count 0: every option, in type order).  The block belongs
 * to the library: release it with VSHYX_FreeMemory.  An unknown type, or
 * types NULL with a count, gives HYX_BAD_PARAM; *options is written only on
 * HYX_OK. */
HYX_ReturnStatus VSHYX_GetRuntimeOptions(hyx_uint16 const *types, hyx_uint16 count,
                                         VSRuntimeOptions **options);
/* Applies every option of a block, or none: a block whose totalLength is
 * below 4 or above VS_CHARDEV_MAX_RUNTIME_OPTIONS_LENGTH, an option whose
 * length is below its header or runs past the block, an unknown type, an
 * integer option of another length than 8, a text not NUL-terminated within
 * its option or longer than VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH
 * bytes with its zero, or a value out of its option's range gives
 * HYX_BAD_PARAM and changes nothing.  Nothing is read past totalLength. */
HYX_ReturnStatus VSHYX_SetRuntimeOptions(VSRuntimeOptions *options);

HYX_EXTERN_C_END

#endif
