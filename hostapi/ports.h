/* Ports and statistics: the counter records the switch-control library
 * fills (port traffic statistics, forwarding counters, port-cache and
 * reverse-ARP statistics) and the per-port information records and tables. */
#ifndef TESSEL_HOSTAPI_PORTS_H
#define TESSEL_HOSTAPI_PORTS_H

#include "hostapi/common.h"
#include "hostapi/kernel.h"

/* ---- Switch and port counters (natural layout) ---- */

/* Traffic statistics of one port. */
typedef struct HYX_PACKED VSStats {
   hyx_uint64 pktsTx;
   hyx_uint64 pktsTxMulticast;
   hyx_uint64 pktsTxBroadcast;
   hyx_uint64 pktsRx;
   hyx_uint64 pktsRxMulticast;
   hyx_uint64 pktsRxBroadcast;
   hyx_uint64 bytesTx;
   hyx_uint64 bytesTxMulticast;
   hyx_uint64 bytesTxBroadcast;
   hyx_uint64 bytesRx;
   hyx_uint64 bytesRxMulticast;
   hyx_uint64 bytesRxBroadcast;
   hyx_uint64 droppedTx;
   hyx_uint64 droppedRx;
} VSStats;
HYX_CHECK_OFFSET(VSStats, pktsTx, 0);
HYX_CHECK_OFFSET(VSStats, pktsTxMulticast, 8);
HYX_CHECK_OFFSET(VSStats, pktsTxBroadcast, 16);
HYX_CHECK_OFFSET(VSStats, pktsRx, 24);
HYX_CHECK_OFFSET(VSStats, pktsRxMulticast, 32);
HYX_CHECK_OFFSET(VSStats, pktsRxBroadcast, 40);
HYX_CHECK_OFFSET(VSStats, bytesTx, 48);
HYX_CHECK_OFFSET(VSStats, bytesTxMulticast, 56);
HYX_CHECK_OFFSET(VSStats, bytesTxBroadcast, 64);
HYX_CHECK_OFFSET(VSStats, bytesRx, 72);
HYX_CHECK_OFFSET(VSStats, bytesRxMulticast, 80);
HYX_CHECK_OFFSET(VSStats, bytesRxBroadcast, 88);
HYX_CHECK_OFFSET(VSStats, droppedTx, 96);
HYX_CHECK_OFFSET(VSStats, droppedRx, 104);
HYX_CHECK_SIZE(VSStats, 112);

/* Forwarding error counters of one port. */
typedef struct HYX_PACKED VSPortFwdErrCtrs {
   hyx_uint64 brBcastPktCloneErr;
   hyx_uint64 brBcastPktBridgeActErr;
   hyx_uint64 brL3IsoL3HdrFindErr;
   hyx_uint64 brL3IsoL3HdrDataGetErr;
   hyx_uint64 brL3IsoArpHdrFindErr;
   hyx_uint64 brL3IsoArpHdrDataGetErr;
   hyx_uint64 brL3IsoCbErr;
   hyx_uint64 brL3IsoInvalidActions;
   hyx_uint64 brBridgeLENotFound;
} VSPortFwdErrCtrs;
HYX_CHECK_OFFSET(VSPortFwdErrCtrs, brBcastPktCloneErr, 0);
HYX_CHECK_OFFSET(VSPortFwdErrCtrs, brBcastPktBridgeActErr, 8);
HYX_CHECK_OFFSET(VSPortFwdErrCtrs, brL3IsoL3HdrFindErr, 16);
HYX_CHECK_OFFSET(VSPortFwdErrCtrs, brL3IsoL3HdrDataGetErr, 24);
HYX_CHECK_OFFSET(VSPortFwdErrCtrs, brL3IsoArpHdrFindErr, 32);
HYX_CHECK_OFFSET(VSPortFwdErrCtrs, brL3IsoArpHdrDataGetErr, 40);
HYX_CHECK_OFFSET(VSPortFwdErrCtrs, brL3IsoCbErr, 48);
HYX_CHECK_OFFSET(VSPortFwdErrCtrs, brL3IsoInvalidActions, 56);
HYX_CHECK_OFFSET(VSPortFwdErrCtrs, brBridgeLENotFound, 64);
HYX_CHECK_SIZE(VSPortFwdErrCtrs, 72);

/* Forwarding information counters of one port. */
typedef struct HYX_PACKED VSPortFwdInfoCtrs {
   hyx_uint64 brKnownUnicastVlan;
   hyx_uint64 brKnownUnicastOverlay;
   hyx_uint64 brUnkownUnicast;
   hyx_uint64 brBcast;
   hyx_uint64 brMcast;
   hyx_uint64 brL3IsoContinueBridge;
   hyx_uint64 brL3IsoSkipBridge;
   hyx_uint64 brL3IsoRedoMACLookup;
   hyx_uint64 brL3IsoDrop;
   hyx_uint64 brL3IsoReplace;
   hyx_uint64 brUplinkRxVniSkipBridge;
   hyx_uint64 brOverlayRarpPktDropCnt;
   hyx_uint64 brVlanEntryInvalForVni;
   hyx_uint64 brBcastOverlayUplink;
   hyx_uint64 brTFReportInfo;
   hyx_uint64 brTFReportDecision;
   hyx_uint64 brTFReportDrop;
   hyx_uint64 vdrTxUplinkOnly;
   hyx_uint64 loopBackPktDropCnt;
} VSPortFwdInfoCtrs;
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brKnownUnicastVlan, 0);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brKnownUnicastOverlay, 8);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brUnkownUnicast, 16);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brBcast, 24);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brMcast, 32);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brL3IsoContinueBridge, 40);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brL3IsoSkipBridge, 48);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brL3IsoRedoMACLookup, 56);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brL3IsoDrop, 64);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brL3IsoReplace, 72);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brUplinkRxVniSkipBridge, 80);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brOverlayRarpPktDropCnt, 88);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brVlanEntryInvalForVni, 96);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brBcastOverlayUplink, 104);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brTFReportInfo, 112);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brTFReportDecision, 120);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, brTFReportDrop, 128);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, vdrTxUplinkOnly, 136);
HYX_CHECK_OFFSET(VSPortFwdInfoCtrs, loopBackPktDropCnt, 144);
HYX_CHECK_SIZE(VSPortFwdInfoCtrs, 152);

/* Forwarding counters of one port. */
typedef struct HYX_PACKED VSPortCounters {
   hyx_uint64 dispatchDataSlabErrors;
   VSPortFwdErrCtrs errCtrs;
   VSPortFwdInfoCtrs infoCtrs;
} VSPortCounters;
HYX_CHECK_OFFSET(VSPortCounters, dispatchDataSlabErrors, 0);
HYX_CHECK_OFFSET(VSPortCounters, errCtrs, 8);
HYX_CHECK_OFFSET(VSPortCounters, infoCtrs, 80);
HYX_CHECK_SIZE(VSPortCounters, 232);

/* Port-cache statistics (nested in the MAC-learning statistics). */
typedef struct HYX_PACKED VSPCacheStatsInfo {
   hyx_uint64 cacheSrcMlStats;
   hyx_uint64 cacheDstStats;
} VSPCacheStatsInfo;
HYX_CHECK_OFFSET(VSPCacheStatsInfo, cacheSrcMlStats, 0);
HYX_CHECK_OFFSET(VSPCacheStatsInfo, cacheDstStats, 8);
HYX_CHECK_SIZE(VSPCacheStatsInfo, 16);

/* Reverse-ARP announcement statistics of a switch. */
typedef struct HYX_PACKED VSRARPStats {
   hyx_uint32 rarpPktsSent;
   hyx_uint32 maxRARPTime;
   hyx_uint64 rarpTime;
} VSRARPStats;
HYX_CHECK_OFFSET(VSRARPStats, rarpPktsSent, 0);
HYX_CHECK_OFFSET(VSRARPStats, maxRARPTime, 4);
HYX_CHECK_OFFSET(VSRARPStats, rarpTime, 8);
HYX_CHECK_SIZE(VSRARPStats, 16);

HYX_EXTERN_C_BEGIN

/* Fills the caller's record with the reverse-ARP statistics of the named
 * switch; the library keeps no reference to it. */
HYX_ReturnStatus VSHYX_GetRARPStats(char const *switchName, VSRARPStats *stats);

HYX_EXTERN_C_END

/* ---- Port information ---- */

/* What is connected to a port. */
typedef enum VS_PortClientType {
   VS_PORT_CLIENT_UNKNOWN = 0,
   VS_PORT_CLIENT_TCPIP = 1,
   VS_PORT_CLIENT_VNIC = 2,
   VS_PORT_CLIENT_UPLINK = 3,
   VS_PORT_CLIENT_LAG = 4
} VS_PortClientType;

/* Bits of a port's VLAN tagging policy (VSPortInfo_vlan.flags). */
typedef enum VSVlanTPFlags {
   VS_VLAN_TP_FLAG_TAGGED_INPUT = 0x1,
   VS_VLAN_TP_FLAG_TAGGED_OUTPUT = 0x2,
   VS_VLAN_TP_FLAG_OVERWRITE_VID = 0x4,
   VS_VLAN_TP_FLAG_OVERWRITE_PRIORITY = 0x8,
   VS_VLAN_TP_FLAG_FILTER_ON_VIDS = 0x10,
   VS_VLAN_TP_FLAG_QOS_OUTPUT_QUEUE = 0x20,
   VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG = 0x10000,
   VS_VLAN_TP_FLAG_TRUNK_VLAN_OVERLAY = 0x20000
} VSVlanTPFlags;

#ifndef SWIG
/* Width of VSPortInfo.clientName, with its NUL. */
#define HYX_PORT_CLIENT_NAME_MAX 1040
/* Rows of VSPortInfo_ethFrpAccepted.multicastAddrs. */
#define VSWITCH_ETH_MAX_EXACT_MULTICAST_ADDRS 32
/* Width of VSPortInfo.dvPortId, with its NUL. */
#define VS_DVPORT_ID_LEN 48
#endif

/* A port's VLAN settings, in the natural layout. */
typedef struct HYX_PACKED {
   hyx_VlanID defaultVID;
   hyx_VlanID primaryVID;
   VSVlanTPFlags flags;
   hyx_Bool statsEnabled;
   HYX_RESERVED(hyx_pad0, 3)
} VSPortInfo_vlan;
HYX_CHECK_OFFSET(VSPortInfo_vlan, defaultVID, 0);
HYX_CHECK_OFFSET(VSPortInfo_vlan, primaryVID, 2);
HYX_CHECK_OFFSET(VSPortInfo_vlan, flags, 4);
HYX_CHECK_OFFSET(VSPortInfo_vlan, statsEnabled, 8);
HYX_CHECK_SIZE(VSPortInfo_vlan, 12);

/* The exact multicast addresses a port accepts: the first numMulticastAddrs
 * rows are valid. */
typedef struct HYX_PACKED VSPortInfo_ethFrpAccepted {
   hyx_uint16 numMulticastAddrs;
   unsigned char multicastAddrs[32][6];
} VSPortInfo_ethFrpAccepted;
HYX_CHECK_OFFSET(VSPortInfo_ethFrpAccepted, numMulticastAddrs, 0);
HYX_CHECK_OFFSET(VSPortInfo_ethFrpAccepted, multicastAddrs, 2);
HYX_CHECK_SIZE(VSPortInfo_ethFrpAccepted, 194);

/* The information of one switch port. */
typedef struct HYX_PACKED VSPortInfo {
   hyx_uint32 portIdx;
   char clientName[1040];
   VS_PortClientType clientType;
   unsigned char fixedHwID[6];
   hyx_uint8 dvPortId[48];
   VSPortInfo_ethFrpAccepted ethFrpAccepted;
   VSStats stats;
   VSPortInfo_vlan vlan;
   hyx_Bool isAssocMACFilterEnabled;
   hyx_Bool isAssocMACFilterStaticAging;
   int assocMACFilterQueueFeatures;
   hyx_uint64 ensSeqNo;
   hyx_uint64 privFlags;
   hyx_SwitchPortID portID;
   hyx_uint32 multicastGrpNum;
   VSPortCounters portCounters;
   hyx_VlanID subnetConnectedVlan;
   hyx_Bool subnetVlanEncap;
} VSPortInfo;
HYX_CHECK_OFFSET(VSPortInfo, portIdx, 0);
HYX_CHECK_OFFSET(VSPortInfo, clientName, 4);
HYX_CHECK_OFFSET(VSPortInfo, clientType, 1044);
HYX_CHECK_OFFSET(VSPortInfo, fixedHwID, 1048);
HYX_CHECK_OFFSET(VSPortInfo, dvPortId, 1054);
HYX_CHECK_OFFSET(VSPortInfo, ethFrpAccepted, 1102);
HYX_CHECK_OFFSET(VSPortInfo, stats, 1296);
HYX_CHECK_OFFSET(VSPortInfo, vlan, 1408);
HYX_CHECK_OFFSET(VSPortInfo, isAssocMACFilterEnabled, 1420);
HYX_CHECK_OFFSET(VSPortInfo, isAssocMACFilterStaticAging, 1421);
HYX_CHECK_OFFSET(VSPortInfo, assocMACFilterQueueFeatures, 1422);
HYX_CHECK_OFFSET(VSPortInfo, ensSeqNo, 1426);
HYX_CHECK_OFFSET(VSPortInfo, privFlags, 1434);
HYX_CHECK_OFFSET(VSPortInfo, portID, 1442);
HYX_CHECK_OFFSET(VSPortInfo, multicastGrpNum, 1446);
HYX_CHECK_OFFSET(VSPortInfo, portCounters, 1450);
HYX_CHECK_OFFSET(VSPortInfo, subnetConnectedVlan, 1682);
HYX_CHECK_OFFSET(VSPortInfo, subnetVlanEncap, 1684);
HYX_CHECK_SIZE(VSPortInfo, 1685);

/* The port table of one switch: numEntries packed VSPortInfo records follow
 * the header. */
typedef struct HYX_PACKED VSSwitchPortInfo {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSPortInfo entries[0];
} VSSwitchPortInfo;
HYX_CHECK_OFFSET(VSSwitchPortInfo, totalEntries, 0);
HYX_CHECK_OFFSET(VSSwitchPortInfo, numEntries, 4);
HYX_CHECK_OFFSET(VSSwitchPortInfo, entries, 8);
HYX_CHECK_SIZE(VSSwitchPortInfo, 8);

/* A list of port IDs: numPorts IDs follow the header. */
typedef struct HYX_PACKED VSPortList {
   hyx_uint32 numPorts;
   hyx_SwitchPortID ports[0];
} VSPortList;
HYX_CHECK_OFFSET(VSPortList, numPorts, 0);
HYX_CHECK_OFFSET(VSPortList, ports, 4);
HYX_CHECK_SIZE(VSPortList, 4);

HYX_EXTERN_C_BEGIN

/* Fills *info with the record of one port of the named switch; the port is
 * named by its client name or by its port ID written in decimal.  The record
 * belongs to the library: release it with VSHYX_FreeMemory.  These three
 * functions give HYX_BAD_PARAM for a NULL argument and HYX_NOT_FOUND for an
 * unknown switch or port, and then leave the out slot alone. */
HYX_ReturnStatus VSHYX_GetPortInfo(char const *switchName, char const *portName, VSPortInfo **info);
/* Fills *table with the records of every port of the named switch, in port
 * index order.  The table belongs to the library: release it with
 * VSHYX_FreeMemory. */
HYX_ReturnStatus VSHYX_GetSwitchPortInfo(char const *switchName, VSSwitchPortInfo **table);
/* Fills *info with the summary of the named switch, the same record
 * VSHYX_GetVSInfo writes.  The record belongs to the library: release it with
 * VSHYX_FreeMemory. */
HYX_ReturnStatus VSHYX_GetSwitchInfo(char const *switchName, VSInfo **info);

HYX_EXTERN_C_END

#endif
