/* VLAN and port filtering policy: a port's VLAN policy (VLAN id, flags and
 * VID ranges), the switch's private-VLAN map, nested VLAN tagging, a port's
 * extra Ethernet filter, sink ports, the switch MTU and the switch's RCF
 * instruction type; the VLAN bitmap and VLAN counter records. */
#ifndef TESSEL_HOSTAPI_VLAN_H
#define TESSEL_HOSTAPI_VLAN_H

#include "hostapi/common.h"
#include "hostapi/kernel.h"

#ifndef SWIG
/* Bits of VSPortVlanPolicy.flags. */
#define VSPORT_VLAN_GUEST_TAGGING 1
#define VSPORT_VLAN_PVLAN_ENABLED 2
#define VSPORT_VLAN_SET_PRIORITY 4
/* VSPvlanMapEntry.pvlanType. */
#define VSPORT_PVLAN_TYPE_PROMISC 1
#define VSPORT_PVLAN_TYPE_ISOLATED 2
#define VSPORT_PVLAN_TYPE_COMMUNITY 3
/* Words of VSVLANBitmap.bits: one bit per VLAN id 0..4095. */
#define VS_VLAN_BITMAP_ARRAY_SIZE 64
/* Exact multicast addresses of an extra Ethernet filter. */
#define VS_ETH_MAX_EXACT_MULTICAST_ADDRS 32
/* The highest VLAN id a policy, range or map entry may name: 4095 is not a
 * VLAN. */
#define VS_VLAN_ID_MAX 4094
/* Entries of a private-VLAN map: each secondary VLAN maps once. */
#define VS_PVLAN_MAP_ENTRIES_MAX VS_VLAN_ID_MAX
/* The MTU range of a switch. */
#define VS_MTU_MIN 68
#define VS_MTU_MAX 9000
/* The property keys under which the distributed-switch store shows these
 * settings: the switch MTU, private-VLAN map and RCF instruction type, and a
 * port's VLAN policy and nested tagging. */
#define VSPROP_MTU "com.kestra.vswitch.mtu"
#define VSPROP_PVLAN_MAP "com.kestra.vswitch.pvlanMap"
#define VSPROP_RCF_INSN_TYPE "com.kestra.vswitch.rcf.INSNType"
#define VSPROP_PORT_VLAN "com.kestra.vswitch.port.vlan"
#define VSPROP_PORT_VLAN_NESTEDTAG "com.kestra.vswitch.port.vlanNestedTag"
#endif

/* The instruction set of the switch's filter programs. */
typedef enum zeb_RCFInsnType {
   ZEB_RCF_INSN_TYPE_CBPF = 0,
   ZEB_RCF_INSN_TYPE_EBPF = 1,
   ZEB_RCF_INSN_TYPE_MAX = 2
} zeb_RCFInsnType;

/* A port's VLAN policy: numRanges VID ranges follow the header. */
typedef struct HYX_PACKED VSPortVlanPolicy {
   hyx_uint16 flags;
   hyx_uint16 vlanID;
   hyx_uint16 pad;
   hyx_uint16 numRanges;
   hyx_ZARPortVIDRange vidRanges[0];
} VSPortVlanPolicy;
HYX_CHECK_OFFSET(VSPortVlanPolicy, flags, 0);
HYX_CHECK_OFFSET(VSPortVlanPolicy, vlanID, 2);
HYX_CHECK_OFFSET(VSPortVlanPolicy, pad, 4);
HYX_CHECK_OFFSET(VSPortVlanPolicy, numRanges, 6);
HYX_CHECK_OFFSET(VSPortVlanPolicy, vidRanges, 8);
HYX_CHECK_SIZE(VSPortVlanPolicy, 8);

/* One private-VLAN mapping: secondaryVID belongs to primaryVID as a
 * VSPORT_PVLAN_TYPE_* VLAN (a promiscuous one is its own primary). */
typedef struct HYX_PACKED VSPvlanMapEntry {
   hyx_uint16 primaryVID;
   hyx_uint16 secondaryVID;
   hyx_uint8 pvlanType;
   char pad[3];
} VSPvlanMapEntry;
HYX_CHECK_OFFSET(VSPvlanMapEntry, primaryVID, 0);
HYX_CHECK_OFFSET(VSPvlanMapEntry, secondaryVID, 2);
HYX_CHECK_OFFSET(VSPvlanMapEntry, pvlanType, 4);
HYX_CHECK_OFFSET(VSPvlanMapEntry, pad, 5);
HYX_CHECK_SIZE(VSPvlanMapEntry, 8);

/* The extra Ethernet filter of a port: the first numMulticastAddrs rows are
 * the exact multicast addresses it accepts. */
typedef struct HYX_PACKED VSExtraEthFilter {
   hyx_uint32 flags;
   hyx_uint16 numMulticastAddrs;
   unsigned char multicastAddrs[32][6];
   hyx_uint16 pad;
} VSExtraEthFilter;
HYX_CHECK_OFFSET(VSExtraEthFilter, flags, 0);
HYX_CHECK_OFFSET(VSExtraEthFilter, numMulticastAddrs, 4);
HYX_CHECK_OFFSET(VSExtraEthFilter, multicastAddrs, 6);
HYX_CHECK_OFFSET(VSExtraEthFilter, pad, 198);
HYX_CHECK_SIZE(VSExtraEthFilter, 200);

/* One bit per VLAN id: bit v % 64 of word v / 64. */
typedef struct HYX_PACKED VSVLANBitmap {
   hyx_uint64 bits[64];
} VSVLANBitmap;
HYX_CHECK_OFFSET(VSVLANBitmap, bits, 0);
HYX_CHECK_SIZE(VSVLANBitmap, 512);

/* Counters of one VLAN. */
typedef struct HYX_PACKED VSVLAN {
   hyx_uint64 creationTime;
   hyx_uint64 modificationTime;
   hyx_uint64 pktsTx;
   hyx_uint64 pktsRx;
} VSVLAN;
HYX_CHECK_OFFSET(VSVLAN, creationTime, 0);
HYX_CHECK_OFFSET(VSVLAN, modificationTime, 8);
HYX_CHECK_OFFSET(VSVLAN, pktsTx, 16);
HYX_CHECK_OFFSET(VSVLAN, pktsRx, 24);
HYX_CHECK_SIZE(VSVLAN, 32);

HYX_EXTERN_C_BEGIN

/* Switch configuration.  Switches are named by portset name, ports by client
 * name or port ID in decimal.  A NULL argument or a value the library does
 * not know gives HYX_BAD_PARAM, a VLAN id above VS_VLAN_ID_MAX or a count
 * above its maximum HYX_LIMIT_EXCEEDED (checked before anything is read
 * through a pointer), an unknown switch or port HYX_NOT_FOUND; on failure
 * nothing changes and no out-value is written.  Tables handed out belong to
 * the library: release them with VSDVS_FreeMemory (or VSHYX_FreeMemory). */

/* Fills *policy with the port's VLAN policy (numRanges ranges after the
 * header) and *numRanges with its range count.  A port without a policy of
 * its own reports the one its topology gives: its VLAN, or for a trunk port
 * guest tagging over VLANs 1..4094. */
HYX_ReturnStatus VSDVS_GetPortVLANPolicy(char const *switchName, char const *portName,
                                         VSPortVlanPolicy **policy, int *numRanges);
/* Sets the port's VLAN policy: vlanID (0..4094; the primary VLAN's
 * secondary when pvlan is set), flags (only VSPORT_VLAN_SET_PRIORITY may be
 * given here), guest tagging (the port carries the tagged VLANs of the
 * ranges) and private VLAN (vlanID must be a secondary of the switch's map),
 * and numRanges ranges (each with minVID <= maxVID <= 4094, read from
 * ranges; NULL only for no ranges).  The port's VLAN settings in its
 * information record follow. */
HYX_ReturnStatus VSDVS_SetPortVLANPolicy(char const *switchName, char const *portName,
                                         hyx_uint16 vlanID, int flags, hyx_Bool guestTagging,
                                         hyx_Bool pvlan, hyx_ZARPortVIDRange *ranges,
                                         hyx_uint16 numRanges);
/* Returns the port to the policy its topology gives. */
HYX_ReturnStatus VSDVS_ClearPortVLANPolicy(char const *switchName, char const *portName);

/* Fills *entries with the switch's private-VLAN map and *count with its
 * length; an empty map gives NULL and 0. */
HYX_ReturnStatus VSDVS_GetPrivateVLANMap(char const *switchName, VSPvlanMapEntry **entries,
                                         int *count);
/* Replaces the switch's private-VLAN map with count entries (0 empties it).
 * Each entry has VLAN ids 1..4094, a known type, a promiscuous entry names
 * its primary as its own secondary and the others a different one, and no
 * secondary appears twice.  Ports whose private VLAN leaves the map keep
 * their policy; their primary VLAN reads as their own VLAN. */
HYX_ReturnStatus VSDVS_SetPrivateVLANMap(char const *switchName, VSPvlanMapEntry const *entries,
                                         int count);

/* Whether the port passes frames with a second VLAN tag; the port's VLAN
 * flags show VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG while it does. */
HYX_ReturnStatus VSDVS_GetPortNestedVLANTagging(char const *switchName, char const *portName,
                                                hyx_Bool *enabled);
HYX_ReturnStatus VSDVS_SetPortNestedVLANTagging(char const *switchName, char const *portName,
                                                hyx_Bool enabled);

/* The port's extra Ethernet filter: Get fills the caller's record (all zero
 * when the port has none); Set takes at most VS_ETH_MAX_EXACT_MULTICAST_ADDRS
 * addresses, each a multicast address; Clear removes it. */
HYX_ReturnStatus VSDVS_GetExtraEthFilter(char const *switchName, char const *portName,
                                         VSExtraEthFilter *filter);
HYX_ReturnStatus VSDVS_SetExtraEthFilter(char const *switchName, char const *portName,
                                         VSExtraEthFilter const *filter);
HYX_ReturnStatus VSDVS_ClearExtraEthFilter(char const *switchName, char const *portName);

/* Whether the port is a sink port (takes every frame); the switch summary's
 * sink-port count follows. */
HYX_ReturnStatus VSDVS_ConfigureSinkPort(char const *switchName, char const *portName,
                                         hyx_Bool enabled);
HYX_ReturnStatus VSDVS_IsSinkPortEnabled(char const *switchName, char const *portName,
                                         hyx_Bool *enabled);

/* The switch MTU, VS_MTU_MIN..VS_MTU_MAX; the switch summary follows. */
HYX_ReturnStatus VSDVS_GetMTU(char const *switchName, hyx_uint32 *mtu);
HYX_ReturnStatus VSDVS_SetMTU(char const *switchName, hyx_uint32 mtu);

/* The instruction set of the switch's filter programs (CBPF unless set). */
HYX_ReturnStatus VSDVS_GetRCFType(char const *switchName, int *type);
HYX_ReturnStatus VSDVS_SetRCFType(char const *switchName, zeb_RCFInsnType type);

HYX_EXTERN_C_END

#endif
