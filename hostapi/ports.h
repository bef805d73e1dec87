/* Ports and statistics: the counter records the switch-control library
 * fills (port traffic statistics, forwarding counters, port-cache and
 * reverse-ARP statistics) and the per-port information records and tables. */
#ifndef TESSEL_HOSTAPI_PORTS_H
#define TESSEL_HOSTAPI_PORTS_H

#include "hostapi/common.h"

/* ---- Switch and port counters (natural alignment) ---- */

/* Traffic statistics of one port. */
typedef struct VSStats {
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

/* Forwarding error counters of one port. */
typedef struct VSPortFwdErrCtrs {
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

/* Forwarding information counters of one port. */
typedef struct VSPortFwdInfoCtrs {
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

/* Forwarding counters of one port. */
typedef struct VSPortCounters {
   hyx_uint64 dispatchDataSlabErrors;
   VSPortFwdErrCtrs errCtrs;
   VSPortFwdInfoCtrs infoCtrs;
} VSPortCounters;

/* Port-cache statistics (nested in the MAC-learning statistics). */
typedef struct VSPCacheStatsInfo {
   hyx_uint64 cacheSrcMlStats;
   hyx_uint64 cacheDstStats;
} VSPCacheStatsInfo;

/* Reverse-ARP announcement statistics of a switch. */
typedef struct VSRARPStats {
   hyx_uint32 rarpPktsSent;
   hyx_uint32 maxRARPTime;
   hyx_uint64 rarpTime;
} VSRARPStats;

#ifndef SWIG
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
HYX_CHECK_OFFSET(VSPortCounters, dispatchDataSlabErrors, 0);
HYX_CHECK_OFFSET(VSPortCounters, errCtrs, 8);
HYX_CHECK_OFFSET(VSPortCounters, infoCtrs, 80);
HYX_CHECK_SIZE(VSPortCounters, 232);
HYX_CHECK_OFFSET(VSPCacheStatsInfo, cacheSrcMlStats, 0);
HYX_CHECK_OFFSET(VSPCacheStatsInfo, cacheDstStats, 8);
HYX_CHECK_SIZE(VSPCacheStatsInfo, 16);
HYX_CHECK_OFFSET(VSRARPStats, rarpPktsSent, 0);
HYX_CHECK_OFFSET(VSRARPStats, maxRARPTime, 4);
HYX_CHECK_OFFSET(VSRARPStats, rarpTime, 8);
HYX_CHECK_SIZE(VSRARPStats, 16);
#endif

HYX_EXTERN_C_BEGIN

/* Fills the caller's record with the reverse-ARP statistics of the named
 * switch; the library keeps no reference to it. */
HYX_ReturnStatus VSHYX_GetRARPStats(char const *switchName, VSRARPStats *stats);

HYX_EXTERN_C_END

#endif
