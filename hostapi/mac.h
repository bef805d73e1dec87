/* MAC forwarding and learning: the MAC table records and functions of the
 * switch-control library (libtessel.so), its MAC-learning configuration and
 * statistics, and the per-port layer-2 security flags. */
#ifndef TESSEL_HOSTAPI_MAC_H
#define TESSEL_HOSTAPI_MAC_H

#include "hostapi/common.h"
#include "hostapi/kernel.h"
#include "hostapi/ports.h"
#include "hostapi/vlan.h"

/* ---- MAC tables ---- */

/* How a MAC table entry came to be: STATIC entries are the addresses the
 * host registers for its own ports, USER entries were set by a user, LEARNED
 * entries were learned from traffic.  ALL selects every kind in a query.
 * One byte wide wherever it is stored or passed. */
typedef enum HYX_PACKED VSMACAddrType {
   VS_MAC_ADDR_TYPE_STATIC = 0,
   VS_MAC_ADDR_TYPE_USER = 1,
   VS_MAC_ADDR_TYPE_LEARNED = 2,
   VS_MAC_ADDR_TYPE_ALL = 3
} VSMACAddrType;

/* Which entries a table query returns: all of them, the dynamic (learned,
 * aging) ones or the static (STATIC and USER) ones. */
typedef enum VSMacTableType {
   VS_ALL_MAC_TABLE = 0,
   VS_DYNAMIC_MAC_TABLE = 1,
   VS_STATIC_MAC_TABLE = 2
} VSMacTableType;

#ifndef SWIG
/* Rows of VSMACEntries.macEntry. */
#define VS_MAC_ENTRIES_BLOCK_ROWS 25
/* The property keys under which the distributed-switch store shows a
 * switch's MAC learning and a port's learning and layer-2 security. */
#define VSPROP_SWITCH_MAC_LEARNING "com.kestra.vswitch.macLearning"
#define VSPROP_PORT_SECURITY "com.kestra.vswitch.port.security"
#define VSPROP_PORT_MAC_MANAGEMENT "com.kestra.vswitch.port.macManagement"
#endif

/* One MAC table entry; multi-byte fields sit at odd offsets. */
typedef struct HYX_PACKED VSMACEntry {
   unsigned char macAddress[6];
   VSMACAddrType macAddrType;
   hyx_SwitchPortID portID;
   hyx_Bool aging;
   hyx_Bool assocMACFilterAging;
   hyx_Bool isLearnedStatic;
   hyx_Bool markEntry;
   hyx_Bool overrideEntry;
   hyx_Bool applyMaxAging;
   hyx_VlanID vid;
   hyx_uint32 vni;
   hyx_uint32 elapsed;
   hyx_uint32 macMove;
   hyx_uint32 refCount;
   hyx_uint64 macFilterPktsRx;
   hyx_uint64 macFilterBytesRx;
   hyx_uint64 macFilterPktsTx;
   hyx_uint64 macFilterBytesTx;
   hyx_uint32 assocMACFilterElapsedTime;
   hyx_uint64 assocMACFilterPktsRx;
   hyx_uint64 assocMACFilterBytesRx;
   hyx_uint64 assocMACFilterTimestamp;
   hyx_uint32 rarpTxTimestamp;
   hyx_uint32 timestamp;
} VSMACEntry;
HYX_CHECK_OFFSET(VSMACEntry, macAddress, 0);
HYX_CHECK_OFFSET(VSMACEntry, macAddrType, 6);
HYX_CHECK_OFFSET(VSMACEntry, portID, 7);
HYX_CHECK_OFFSET(VSMACEntry, aging, 11);
HYX_CHECK_OFFSET(VSMACEntry, assocMACFilterAging, 12);
HYX_CHECK_OFFSET(VSMACEntry, isLearnedStatic, 13);
HYX_CHECK_OFFSET(VSMACEntry, markEntry, 14);
HYX_CHECK_OFFSET(VSMACEntry, overrideEntry, 15);
HYX_CHECK_OFFSET(VSMACEntry, applyMaxAging, 16);
HYX_CHECK_OFFSET(VSMACEntry, vid, 17);
HYX_CHECK_OFFSET(VSMACEntry, vni, 19);
HYX_CHECK_OFFSET(VSMACEntry, elapsed, 23);
HYX_CHECK_OFFSET(VSMACEntry, macMove, 27);
HYX_CHECK_OFFSET(VSMACEntry, refCount, 31);
HYX_CHECK_OFFSET(VSMACEntry, macFilterPktsRx, 35);
HYX_CHECK_OFFSET(VSMACEntry, macFilterBytesRx, 43);
HYX_CHECK_OFFSET(VSMACEntry, macFilterPktsTx, 51);
HYX_CHECK_OFFSET(VSMACEntry, macFilterBytesTx, 59);
HYX_CHECK_OFFSET(VSMACEntry, assocMACFilterElapsedTime, 67);
HYX_CHECK_OFFSET(VSMACEntry, assocMACFilterPktsRx, 71);
HYX_CHECK_OFFSET(VSMACEntry, assocMACFilterBytesRx, 79);
HYX_CHECK_OFFSET(VSMACEntry, assocMACFilterTimestamp, 87);
HYX_CHECK_OFFSET(VSMACEntry, rarpTxTimestamp, 95);
HYX_CHECK_OFFSET(VSMACEntry, timestamp, 99);
HYX_CHECK_SIZE(VSMACEntry, 103);

/* A MAC table: numEntries packed VSMACEntry records follow the header. */
typedef struct HYX_PACKED VSMACTable {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSMACEntry macEntries[0];
} VSMACTable;
HYX_CHECK_OFFSET(VSMACTable, totalEntries, 0);
HYX_CHECK_OFFSET(VSMACTable, numEntries, 4);
HYX_CHECK_OFFSET(VSMACTable, macEntries, 8);
HYX_CHECK_SIZE(VSMACTable, 8);

/* A block of exactly 25 bare MAC addresses. */
typedef struct HYX_PACKED VSMACEntries {
   unsigned char macEntry[25][6];
} VSMACEntries;
HYX_CHECK_OFFSET(VSMACEntries, macEntry, 0);
HYX_CHECK_SIZE(VSMACEntries, 150);

/* Query record of a dynamic-table request, in the natural layout. */
typedef struct HYX_PACKED VSMACGetDynamic {
   VSMACTable *macTable;
   hyx_uint32 count;
   VSMACAddrType macAddrType;
   HYX_RESERVED(hyx_pad0, 3)
   hyx_uint32 numEntriesToCopy;
   hyx_Bool getTeamMacs;
   HYX_RESERVED(hyx_pad1, 1)
   hyx_VlanID vlanID;
   hyx_VirtualNetworkID vni;
   hyx_Bool isBridged;
   hyx_Bool getCount;
   HYX_RESERVED(hyx_pad2, 2)
} VSMACGetDynamic;
HYX_CHECK_OFFSET(VSMACGetDynamic, macTable, 0);
HYX_CHECK_OFFSET(VSMACGetDynamic, count, 8);
HYX_CHECK_OFFSET(VSMACGetDynamic, macAddrType, 12);
HYX_CHECK_OFFSET(VSMACGetDynamic, numEntriesToCopy, 16);
HYX_CHECK_OFFSET(VSMACGetDynamic, getTeamMacs, 20);
HYX_CHECK_OFFSET(VSMACGetDynamic, vlanID, 22);
HYX_CHECK_OFFSET(VSMACGetDynamic, vni, 24);
HYX_CHECK_OFFSET(VSMACGetDynamic, isBridged, 28);
HYX_CHECK_OFFSET(VSMACGetDynamic, getCount, 29);
HYX_CHECK_SIZE(VSMACGetDynamic, 32);

#ifndef SWIG
HYX_STATIC_ASSERT(sizeof(VSMACAddrType) == 1, "VSMACAddrType is one byte");
#endif

HYX_EXTERN_C_BEGIN

/* Every table below is allocated by the library and belongs to it: release
 * it with VSHYX_FreeMemory.  A table carries every matching entry, so
 * totalEntries equals numEntries.  Switches are named by portset name, ports
 * by client name or port ID in decimal.  A NULL argument, an address type
 * above VS_MAC_ADDR_TYPE_ALL, a table type or VLAN out of range gives
 * HYX_BAD_PARAM, an unknown switch or port HYX_NOT_FOUND; on failure no
 * table is handed out and *table is not written. */

/* Fills *table with the entries of the named switch, team side included,
 * that are of the address type addrType (or of any type for
 * VS_MAC_ADDR_TYPE_ALL) and in the part of the table tableType selects. */
HYX_ReturnStatus VSHYX_GetMACTable(char const *switchName, VSMACAddrType addrType,
                                   VSMacTableType tableType, VSMACTable **table);
/* Fills *table with the entries of the named switch bridged on the overlay
 * network vni (0: VLAN-backed) and VLAN vlanID, of every address type. */
HYX_ReturnStatus VSHYX_GetBridgedMACTableByID(char const *switchName, hyx_VirtualNetworkID vni,
                                              hyx_VlanID vlanID, VSMACTable **table);
/* Fills *table with the entries of one port (client name or decimal port ID)
 * of the address type addrType. */
HYX_ReturnStatus VSHYX_GetPortMACTable(char const *switchName, char const *portName,
                                       VSMACAddrType addrType, VSMACTable **table);
/* Fills *table with the entries of the NIC team side (the uplink and LAG
 * ports) of the address type addrType. */
HYX_ReturnStatus VSHYX_GetTeamMACTable(char const *switchName, VSMACAddrType addrType,
                                       VSMACTable **table);
/* Looks up the entry with the address, VLAN (vid) and network (vni) of the
 * caller's record; its other fields are not used.  searchTeam 0 searches the
 * switch's own ports only, 1 the team side as well.  *result receives the ID
 * of the port the entry is on, or -1 whenever the status is not HYX_OK
 * (HYX_NOT_FOUND when no such entry exists). */
HYX_ReturnStatus VSHYX_GetMACEntry(char const *switchName, VSMACEntry const *entry,
                                   hyx_Bool searchTeam, int *result);
/* Adds or updates the static entries of one port from count packed records
 * (at any address), which the library only reads.  Each record gives the
 * address (not all zero), vid (0..4095), vni and macAddrType
 * (VS_MAC_ADDR_TYPE_STATIC or VS_MAC_ADDR_TYPE_USER); a static entry takes
 * the place of a learned one with the same address, vid and vni.  All
 * records are applied or none: a count above
 * VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX, or a port that would hold more
 * static entries than that, gives HYX_LIMIT_EXCEEDED (the former before any
 * record is read); an address static on another port HYX_EXISTS; a switch
 * that does not allow static entries HYX_NO_PERMISSION.  A count of 0 does
 * nothing. */
HYX_ReturnStatus VSHYX_SetPortMACTable(char const *switchName, char const *portName,
                                       hyx_uint32 count, VSMACEntry const *entries);
/* Removes static entries of one port, named by the address, vid and vni of
 * count packed records; all of them are removed, or none and HYX_NOT_FOUND
 * when one is not a static entry of that port. */
HYX_ReturnStatus VSHYX_ClearPortMACTable(char const *switchName, char const *portName,
                                         hyx_uint32 count, VSMACEntry const *entries);

HYX_EXTERN_C_END

/* ---- MAC learning and layer-2 security ---- */

/* What a port does with frames from new addresses once it has learned its
 * macLimit addresses. */
typedef enum VSPortMACLearningLimitPolicy {
   VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW = 0,
   VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP = 1
} VSPortMACLearningLimitPolicy;

#ifndef SWIG
/* Published limits and defaults of MAC learning. */
#define VS_MAC_LEARNING_AGING_TIME_DEFAULT 600
#define VS_MAC_LEARNING_AGING_TIME_MAX 1000000
#define VS_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT 65536
#define VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED 131072
#define TEAM_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT 16384
#define TEAM_MAC_LEARNING_LIMIT_ENTRIES_SCALED 65536
#define VSPORT_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT 4096
#define VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX 4096
#define VS_MAC_LEARNING_LEARN_STATIC_DEFAULT 0
#define VS_MAC_LEARNING_ALLOW_STATIC_DEFAULT 1
#define VS_MAC_LEARNING_MAX_AGING_MULTIPLIER_DEFAULT 6
/* Bits of VSPropSecurity.flags. */
#define VSPORT_SECURITY_DISALLOW_PROMISC 1
#define VSPORT_SECURITY_DISALLOW_MAC_CHANGE 2
#define VSPORT_SECURITY_DISALLOW_FORGED_SRC 4
#endif

/* The learning configuration of one port. */
typedef struct HYX_PACKED VSPMACLearning {
   hyx_Bool learning;
   hyx_Bool flooding;
   hyx_uint32 macLimit;
   VSPortMACLearningLimitPolicy macLimitPolicy;
} VSPMACLearning;
HYX_CHECK_OFFSET(VSPMACLearning, learning, 0);
HYX_CHECK_OFFSET(VSPMACLearning, flooding, 1);
HYX_CHECK_OFFSET(VSPMACLearning, macLimit, 2);
HYX_CHECK_OFFSET(VSPMACLearning, macLimitPolicy, 6);
HYX_CHECK_SIZE(VSPMACLearning, 10);

/* Learning counters of one port or of the NIC team side. */
typedef struct HYX_PACKED VSPMACLearningStats {
   hyx_uint32 numMACsLearned;
   hyx_uint64 noLearningAllowedPkts;
   hyx_uint64 noLearningDroppedPkts;
   hyx_uint64 numMACsMoved;
} VSPMACLearningStats;
HYX_CHECK_OFFSET(VSPMACLearningStats, numMACsLearned, 0);
HYX_CHECK_OFFSET(VSPMACLearningStats, noLearningAllowedPkts, 4);
HYX_CHECK_OFFSET(VSPMACLearningStats, noLearningDroppedPkts, 12);
HYX_CHECK_OFFSET(VSPMACLearningStats, numMACsMoved, 20);
HYX_CHECK_SIZE(VSPMACLearningStats, 28);

/* One element of VSMACLearningStats. */
typedef struct HYX_PACKED VSPMACLearningStatsPortInfo {
   hyx_SwitchPortID portID;
   hyx_uint32 unicastRPFDroppedPkts;
   VSPMACLearningStats portStats;
   VSPCacheStatsInfo cacheStats;
} VSPMACLearningStatsPortInfo;
HYX_CHECK_OFFSET(VSPMACLearningStatsPortInfo, portID, 0);
HYX_CHECK_OFFSET(VSPMACLearningStatsPortInfo, unicastRPFDroppedPkts, 4);
HYX_CHECK_OFFSET(VSPMACLearningStatsPortInfo, portStats, 8);
HYX_CHECK_OFFSET(VSPMACLearningStatsPortInfo, cacheStats, 36);
HYX_CHECK_SIZE(VSPMACLearningStatsPortInfo, 52);

/* Learning statistics of the ports of a switch: numEntries packed elements
 * follow the header. */
typedef struct HYX_PACKED VSMACLearningStats {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSPMACLearningStatsPortInfo macLearningEntries[0];
} VSMACLearningStats;
HYX_CHECK_OFFSET(VSMACLearningStats, totalEntries, 0);
HYX_CHECK_OFFSET(VSMACLearningStats, numEntries, 4);
HYX_CHECK_OFFSET(VSMACLearningStats, macLearningEntries, 8);
HYX_CHECK_SIZE(VSMACLearningStats, 8);

/* One element of VSMACLearningEntries. */
typedef struct HYX_PACKED VSPMACLearningInfo {
   hyx_SwitchPortID portID;
   VSPMACLearning portMACLearning;
} VSPMACLearningInfo;
HYX_CHECK_OFFSET(VSPMACLearningInfo, portID, 0);
HYX_CHECK_OFFSET(VSPMACLearningInfo, portMACLearning, 4);
HYX_CHECK_SIZE(VSPMACLearningInfo, 14);

/* Learning configuration of the ports of a switch: numEntries packed
 * elements follow the header. */
typedef struct HYX_PACKED VSMACLearningEntries {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSPMACLearningInfo portMACLearningEntries[0];
} VSMACLearningEntries;
HYX_CHECK_OFFSET(VSMACLearningEntries, totalEntries, 0);
HYX_CHECK_OFFSET(VSMACLearningEntries, numEntries, 4);
HYX_CHECK_OFFSET(VSMACLearningEntries, portMACLearningEntries, 8);
HYX_CHECK_SIZE(VSMACLearningEntries, 8);

/* The layer-2 security flags of a port (VSPORT_SECURITY_* bits). */
typedef struct HYX_PACKED VSPropSecurity {
   hyx_uint32 flags;
} VSPropSecurity;
HYX_CHECK_OFFSET(VSPropSecurity, flags, 0);
HYX_CHECK_SIZE(VSPropSecurity, 4);

/* One element of VSL2Security. */
typedef struct HYX_PACKED VSPropSecurityPortInfo {
   hyx_SwitchPortID portID;
   VSPropSecurity l2SecPortInfo;
} VSPropSecurityPortInfo;
HYX_CHECK_OFFSET(VSPropSecurityPortInfo, portID, 0);
HYX_CHECK_OFFSET(VSPropSecurityPortInfo, l2SecPortInfo, 4);
HYX_CHECK_SIZE(VSPropSecurityPortInfo, 8);

/* Layer-2 security of the ports of a switch: numEntries elements follow the
 * header. */
typedef struct HYX_PACKED VSL2Security {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSPropSecurityPortInfo portSecEntries[0];
} VSL2Security;
HYX_CHECK_OFFSET(VSL2Security, totalEntries, 0);
HYX_CHECK_OFFSET(VSL2Security, numEntries, 4);
HYX_CHECK_OFFSET(VSL2Security, portSecEntries, 8);
HYX_CHECK_SIZE(VSL2Security, 8);

/* Host-wide MAC-learning properties. */
typedef struct HYX_PACKED VSMACLearningGlobalProps {
   hyx_uint32 agingTime;
   hyx_uint32 macLimit;
   hyx_Bool learnStatic;
   hyx_Bool staticMACAllow;
} VSMACLearningGlobalProps;
HYX_CHECK_OFFSET(VSMACLearningGlobalProps, agingTime, 0);
HYX_CHECK_OFFSET(VSMACLearningGlobalProps, macLimit, 4);
HYX_CHECK_OFFSET(VSMACLearningGlobalProps, learnStatic, 8);
HYX_CHECK_OFFSET(VSMACLearningGlobalProps, staticMACAllow, 9);
HYX_CHECK_SIZE(VSMACLearningGlobalProps, 10);

/* The learning summary of a switch. */
typedef struct HYX_PACKED VSMACLearningSwitchInfo {
   hyx_uint32 agingTime;
   hyx_uint32 macLimit;
   hyx_uint32 numLearningPorts;
   hyx_uint32 numMACsLearned;
   hyx_uint32 teamNumMACsLearned;
   VSPMACLearning teamMACLearning;
   VSPMACLearningStats teamMACLearningStats;
   hyx_uint64 teamAllowedPktsWithPortLimit;
   hyx_uint32 noOfPortsMACLimitHit;
   hyx_uint32 numSinkPorts;
   hyx_uint32 numSinkAndFloodingPorts;
   hyx_Bool cachingMlOverlayEnabled;
   hyx_uint8 numUserUnicastMacEntries;
   hyx_Bool configureTeamMacLearning;
   hyx_uint8 agingMultiplier;
} VSMACLearningSwitchInfo;
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, agingTime, 0);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, macLimit, 4);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, numLearningPorts, 8);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, numMACsLearned, 12);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, teamNumMACsLearned, 16);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, teamMACLearning, 20);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, teamMACLearningStats, 30);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, teamAllowedPktsWithPortLimit, 58);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, noOfPortsMACLimitHit, 66);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, numSinkPorts, 70);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, numSinkAndFloodingPorts, 74);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, cachingMlOverlayEnabled, 78);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, numUserUnicastMacEntries, 79);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, configureTeamMacLearning, 80);
HYX_CHECK_OFFSET(VSMACLearningSwitchInfo, agingMultiplier, 81);
HYX_CHECK_SIZE(VSMACLearningSwitchInfo, 82);

/* The MAC-learning property of a switch: agingTime is bits 0 to 23 and
 * reserved bits 24 to 31 of the little-endian word at offset 0. */
typedef struct HYX_PACKED VSPropMACLearning {
   hyx_uint32 agingTime : 24;
   hyx_uint32 reserved : 8;
   hyx_uint32 macLimit;
} VSPropMACLearning;
HYX_CHECK_OFFSET(VSPropMACLearning, macLimit, 4);
HYX_CHECK_SIZE(VSPropMACLearning, 8);

/* MAC management of a port: whether its address may change, and its
 * learning configuration. */
typedef struct HYX_PACKED VSPMACManagement {
   hyx_Bool macChangeAllowed;
   VSPMACLearning portMACLearning;
} VSPMACManagement;
HYX_CHECK_OFFSET(VSPMACManagement, macChangeAllowed, 0);
HYX_CHECK_OFFSET(VSPMACManagement, portMACLearning, 1);
HYX_CHECK_SIZE(VSPMACManagement, 11);

#ifndef SWIG
HYX_STATIC_ASSERT(sizeof(VSPortMACLearningLimitPolicy) == 4, "limit policy is four bytes");
/* agingTime and reserved are bit-fields, which offsetof cannot name; the
 * host tests check their bit positions. */
#endif

HYX_EXTERN_C_BEGIN

/* Live state.  Ports are named by their client name or their port ID in
 * decimal.  The tables are allocated by the library and belong to it:
 * release them with VSHYX_FreeMemory.  Records passed by pointer belong to
 * the caller and are only read or filled during the call. */

/* Fills the caller's record with the host-wide learning properties, which
 * apply to every switch that has no setting of its own. */
HYX_ReturnStatus VSHYX_GetGlobalMACLearningProps(VSMACLearningGlobalProps *props);
/* Replaces the host-wide learning properties with the caller's record. */
HYX_ReturnStatus VSHYX_SetGlobalMACLearningProps(VSMACLearningGlobalProps *props);
/* Fills the caller's record with the learning summary of the named switch. */
HYX_ReturnStatus VSHYX_GetSwitchMACLearningInfo(char const *switchName,
                                                VSMACLearningSwitchInfo *info);
/* Fills *table with the learning configuration of every port of the switch. */
HYX_ReturnStatus VSHYX_GetMACLearningAllPorts(char const *switchName, VSMACLearningEntries **table);
/* Fills *table with the learning statistics of every port of the switch. */
HYX_ReturnStatus VSHYX_GetSwitchMACLearningStats(char const *switchName,
                                                 VSMACLearningStats **table);
/* Fills the caller's record with the learning statistics of one port. */
HYX_ReturnStatus VSHYX_GetPortMACLearningStats(char const *switchName, char const *portName,
                                               VSPMACLearningStatsPortInfo *stats);
/* Fills *table with the security flags of every port of the switch. */
HYX_ReturnStatus VSHYX_GetL2Security(char const *switchName, VSL2Security **table);

/* Switch and port configuration.  A Clear function removes the switch's own
 * setting, so the host-wide value (initially the published default) applies
 * again; team learning returns to on and caching to off.
 *
 * Values are checked before anything is stored: a truth value must be 0 or 1,
 * an aging time 1..VS_MAC_LEARNING_AGING_TIME_MAX, a switch MAC limit
 * 1..VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED, a port MAC limit
 * 0..VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX, the reserved bits zero and the
 * policy and security flags known ones.  A value above its maximum gives
 * HYX_LIMIT_EXCEEDED, any other bad value HYX_BAD_PARAM. */

/* Fills the caller's record with the aging time and MAC limit in force on
 * the switch. */
HYX_ReturnStatus VSDVS_GetMACLearning(char const *switchName, VSPropMACLearning *prop);
HYX_ReturnStatus VSDVS_SetMACLearning(char const *switchName, VSPropMACLearning const *prop);
HYX_ReturnStatus VSDVS_ClearMACLearning(char const *switchName);
/* Whether learned entries are kept as static (they do not age). */
HYX_ReturnStatus VSDVS_GetLearnStatic(char const *switchName, hyx_Bool *learnStatic);
HYX_ReturnStatus VSDVS_SetLearnStatic(char const *switchName, hyx_Bool learnStatic);
HYX_ReturnStatus VSDVS_ClearLearnStatic(char const *switchName);
/* Whether static entries may be set on the switch's ports. */
HYX_ReturnStatus VSDVS_GetStaticMACAllow(char const *switchName, hyx_Bool *staticMACAllow);
HYX_ReturnStatus VSDVS_SetStaticMACAllow(char const *switchName, hyx_Bool staticMACAllow);
HYX_ReturnStatus VSDVS_ClearStaticMACAllow(char const *switchName);
/* Whether the NIC team side learns addresses. */
HYX_ReturnStatus VSDVS_SetTeamMacLearning(char const *switchName, hyx_Bool teamMacLearning);
HYX_ReturnStatus VSDVS_ClearTeamMacLearning(char const *switchName);
/* Whether learning results are cached for overlay traffic. */
HYX_ReturnStatus VSDVS_SetCaching(char const *switchName, hyx_Bool caching);
HYX_ReturnStatus VSDVS_ClearCaching(char const *switchName);
/* Learning configuration of one port. */
HYX_ReturnStatus VSDVS_GetPortMACLearning(char const *switchName, char const *portName,
                                          VSPMACLearning *cfg);
HYX_ReturnStatus VSDVS_SetPortMACLearning(char const *switchName, char const *portName,
                                          VSPMACLearning const *cfg);
/* Layer-2 security flags of one port. */
HYX_ReturnStatus VSDVS_GetPortSecurity(char const *switchName, char const *portName,
                                       VSPropSecurity *sec);
HYX_ReturnStatus VSDVS_SetPortSecurity(char const *switchName, char const *portName,
                                       VSPropSecurity const *sec);

HYX_EXTERN_C_END

/* ---- Static LE contexts ---- */

/* One static LE context: a static or user address of a port on the network
 * vni, with the VLANs it is static on as a bitmap. */
typedef struct HYX_PACKED VSStaticLEEntry {
   VSVLANBitmap vlanBitmap;
   hyx_Bool isTrunkVNI;
   hyx_Bool isVdrMac;
   hyx_uint32 vni;
   unsigned char macAddress[6];
   VSMACAddrType macAddrType;
   hyx_SwitchPortID portID;
} VSStaticLEEntry;
HYX_CHECK_OFFSET(VSStaticLEEntry, vlanBitmap, 0);
HYX_CHECK_OFFSET(VSStaticLEEntry, isTrunkVNI, 512);
HYX_CHECK_OFFSET(VSStaticLEEntry, isVdrMac, 513);
HYX_CHECK_OFFSET(VSStaticLEEntry, vni, 514);
HYX_CHECK_OFFSET(VSStaticLEEntry, macAddress, 518);
HYX_CHECK_OFFSET(VSStaticLEEntry, macAddrType, 524);
HYX_CHECK_OFFSET(VSStaticLEEntry, portID, 525);
HYX_CHECK_SIZE(VSStaticLEEntry, 529);

/* The static LE contexts of a switch or port: numEntries packed entries
 * follow the header. */
typedef struct HYX_PACKED VSStaticLeCtxEntries {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSStaticLEEntry staticLECtxEntries[0];
} VSStaticLeCtxEntries;
HYX_CHECK_OFFSET(VSStaticLeCtxEntries, totalEntries, 0);
HYX_CHECK_OFFSET(VSStaticLeCtxEntries, numEntries, 4);
HYX_CHECK_OFFSET(VSStaticLeCtxEntries, staticLECtxEntries, 8);
HYX_CHECK_SIZE(VSStaticLeCtxEntries, 8);

HYX_EXTERN_C_BEGIN

/* Fills *entries with the static LE contexts of the switch: one per static or
 * user address, port, address type and network of its MAC table, in the
 * order of the table, its VLANs set in the bitmap.  isVdrMac marks the
 * switch's router port, isTrunkVNI an overlay address on a trunk port.  The
 * table belongs to the library: release it with VSHYX_FreeMemory.  NULL
 * arguments give HYX_BAD_PARAM, an unknown switch or port HYX_NOT_FOUND. */
HYX_ReturnStatus VSHYX_GetStaticLectx(char const *switchName, VSStaticLeCtxEntries **entries);
/* The same for the addresses of one port. */
HYX_ReturnStatus VSHYX_GetPortStaticLectx(char const *switchName, char const *portName,
                                          VSStaticLeCtxEntries **entries);

HYX_EXTERN_C_END

#endif
