/* Multicast filtering: the filter mode of a switch, the IGMP and MLD group
 * filters of its ports with their source-filter statistics, and the user
 * legacy multicast MAC entries of a switch and of a port. */
#ifndef TESSEL_HOSTAPI_MULTICAST_H
#define TESSEL_HOSTAPI_MULTICAST_H

#include "hostapi/common.h"
#include "hostapi/mac.h"

/* How a switch filters multicast: by the legacy MAC filter, by snooping
 * IGMP and MLD, or by one of the two only. */
typedef enum VSMcastFilterMode {
   VS_MCAST_FILTER_MODE_LEGACY = 0,
   VS_MCAST_FILTER_MODE_SNOOPING = 1,
   VS_MCAST_FILTER_MODE_IGMP = 2,
   VS_MCAST_FILTER_MODE_MLD = 3
} VSMcastFilterMode;

/* How a group's source list applies. */
typedef enum VSMcastSrcIPFilterMode {
   VS_MCAST_SRC_IP_FILTER_MODE_NONE = 0,
   VS_MCAST_SRC_IP_FILTER_MODE_INCLUDE = 1,
   VS_MCAST_SRC_IP_FILTER_MODE_EXCLUDE = 2
} VSMcastSrcIPFilterMode;

#ifndef SWIG
/* User legacy entries a switch or a port holds at most (the rows of a
 * VSMACEntries block). */
#define VS_MULTICAST_USER_ENTRIES_MAX 25
/* Bytes of a group text VSHYX_GetMcastFilterStats reads at most. */
#define VS_MCAST_GROUP_TEXT_MAX 64
/* The property key under which the distributed-switch store shows a
 * switch's multicast filter mode. */
#define VSPROP_MULTICAST_FILTER "com.kestra.vswitch.multicastFilter"
#endif

/* One filter of one port; which address member holds the address follows
 * from the mode the table was asked for. */
typedef struct HYX_PACKED VSPMcastFilter {
   hyx_SwitchPortID portID;
   union HYX_PACKED {
      unsigned char macEntry[6];
      hyx_IPv4Address ipv4Entry;
      unsigned char ipv6Entry[16];
   };
} VSPMcastFilter;
HYX_CHECK_OFFSET(VSPMcastFilter, portID, 0);
HYX_CHECK_OFFSET(VSPMcastFilter, macEntry, 4);
HYX_CHECK_OFFSET(VSPMcastFilter, ipv4Entry, 4);
HYX_CHECK_OFFSET(VSPMcastFilter, ipv6Entry, 4);
HYX_CHECK_SIZE(VSPMcastFilter, 20);

/* The filters of one port: numEntries addresses of one kind follow. */
typedef struct HYX_PACKED VSMcastFilters {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   union HYX_PACKED {
      unsigned char macEntries[0][6];
      hyx_IPv4Address ipv4Entries[0];
      unsigned char ipv6Entries[0][16];
   };
} VSMcastFilters;
HYX_CHECK_OFFSET(VSMcastFilters, totalEntries, 0);
HYX_CHECK_OFFSET(VSMcastFilters, numEntries, 4);
HYX_CHECK_OFFSET(VSMcastFilters, macEntries, 8);
HYX_CHECK_OFFSET(VSMcastFilters, ipv4Entries, 8);
HYX_CHECK_OFFSET(VSMcastFilters, ipv6Entries, 8);
HYX_CHECK_SIZE(VSMcastFilters, 8);

/* The filters of every port of a switch: numEntries elements follow. */
typedef struct HYX_PACKED VSMcastSwitchFilters {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSPMcastFilter filterEntries[0];
} VSMcastSwitchFilters;
HYX_CHECK_OFFSET(VSMcastSwitchFilters, totalEntries, 0);
HYX_CHECK_OFFSET(VSMcastSwitchFilters, numEntries, 4);
HYX_CHECK_OFFSET(VSMcastSwitchFilters, filterEntries, 8);
HYX_CHECK_SIZE(VSMcastSwitchFilters, 8);

/* The source filter of one group of one port: numEntries source addresses
 * of the group's family follow. */
typedef struct HYX_PACKED VSMcastFilterStats {
   hyx_uint32 version;
   hyx_uint32 srcIPFilterMode;
   hyx_uint64 updateTime;
   hyx_uint32 vni;
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   union HYX_PACKED {
      hyx_IPv4Address ipv4Entries[0];
      unsigned char ipv6Entries[0][16];
   };
} VSMcastFilterStats;
HYX_CHECK_OFFSET(VSMcastFilterStats, version, 0);
HYX_CHECK_OFFSET(VSMcastFilterStats, srcIPFilterMode, 4);
HYX_CHECK_OFFSET(VSMcastFilterStats, updateTime, 8);
HYX_CHECK_OFFSET(VSMcastFilterStats, vni, 16);
HYX_CHECK_OFFSET(VSMcastFilterStats, totalEntries, 20);
HYX_CHECK_OFFSET(VSMcastFilterStats, numEntries, 24);
HYX_CHECK_OFFSET(VSMcastFilterStats, ipv4Entries, 28);
HYX_CHECK_OFFSET(VSMcastFilterStats, ipv6Entries, 28);
HYX_CHECK_SIZE(VSMcastFilterStats, 28);

/* User legacy multicast MAC addresses: numEntries addresses follow. */
typedef struct HYX_PACKED VSUserMcastLegacyKeys {
   hyx_uint8 numEntries;
   unsigned char multicastAddrs[0][6];
} VSUserMcastLegacyKeys;
HYX_CHECK_OFFSET(VSUserMcastLegacyKeys, numEntries, 0);
HYX_CHECK_OFFSET(VSUserMcastLegacyKeys, multicastAddrs, 1);
HYX_CHECK_SIZE(VSUserMcastLegacyKeys, 1);

#ifndef SWIG
HYX_STATIC_ASSERT(sizeof(VSMcastFilterMode) == 4, "filter mode is four bytes");
#endif

HYX_EXTERN_C_BEGIN

/* Switches are named by portset name, ports by client name or port ID in
 * decimal (or by port ID).  Tables are allocated by the library: release
 * them with VSHYX_FreeMemory.  A NULL argument or a mode outside the four
 * gives HYX_BAD_PARAM, an unknown switch or port HYX_NOT_FOUND; on failure
 * nothing is handed out. */

/* The mode the running switch filters with. */
HYX_ReturnStatus VSHYX_GetMcastFilterMode(char const *switchName, VSMcastFilterMode *mode);
/* Fills *filters with the groups of one port: MAC addresses for the legacy
 * mode (user entries, then the groups' MAC addresses), IPv4 groups for
 * snooping and IGMP, IPv6 groups for MLD. */
HYX_ReturnStatus VSHYX_GetMcastFilters(char const *switchName, hyx_SwitchPortID portID,
                                       VSMcastFilterMode mode, VSMcastFilters **filters);
/* The same for every port of the switch, one element per port and group. */
HYX_ReturnStatus VSHYX_GetSwitchMcastFilters(char const *switchName, VSMcastFilterMode mode,
                                             VSMcastSwitchFilters **filters);
/* Fills *stats with the source filter of one group of one port; group is the
 * group's address as text (read up to its NUL, at most
 * VS_MCAST_GROUP_TEXT_MAX bytes): IPv4 for snooping and IGMP, IPv6 for MLD.
 * A text that is no such address, or the legacy mode, gives HYX_BAD_PARAM; a
 * group the port has not joined HYX_NOT_FOUND. */
HYX_ReturnStatus VSHYX_GetMcastFilterStats(char const *switchName, hyx_SwitchPortID portID,
                                           VSMcastFilterMode mode, char *group,
                                           VSMcastFilterStats **stats);

/* The configured mode; setting it changes the running switch's mode too. */
HYX_ReturnStatus VSDVS_GetMcastFilterMode(char const *switchName, VSMcastFilterMode *mode);
HYX_ReturnStatus VSDVS_SetMcastFilterMode(char const *switchName, VSMcastFilterMode mode);
/* User legacy entries of the switch and of one port; each table is
 * allocated by the library. */
HYX_ReturnStatus VSDVS_GetMcastUserLegacyEntries(char const *switchName,
                                                 VSUserMcastLegacyKeys **keys);
HYX_ReturnStatus VSDVS_GetPortMcastUserLegacyEntries(char const *switchName, char const *portName,
                                                     VSUserMcastLegacyKeys **keys);
/* Replace the entries with the first count rows of entries, read only
 * within the block's VS_MULTICAST_USER_ENTRIES_MAX rows: a count above that
 * gives HYX_LIMIT_EXCEEDED, a negative count or a row that is not a
 * multicast address (low bit of its first byte clear) HYX_BAD_PARAM, and
 * nothing changes. */
HYX_ReturnStatus VSDVS_SetMcastUserLegacyEntries(char const *switchName, int count,
                                                 VSMACEntries *entries);
HYX_ReturnStatus VSDVS_SetPortMcastUserLegacyEntries(char const *switchName, char const *portName,
                                                     int count, VSMACEntries *entries);
HYX_ReturnStatus VSDVS_ClearMcastUserLegacyEntries(char const *switchName);
HYX_ReturnStatus VSDVS_ClearPortMcastUserLegacyEntries(char const *switchName,
                                                       char const *portName);

HYX_EXTERN_C_END

#endif
