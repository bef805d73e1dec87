/* Runtime options of the switch-control library: the switch-wide settings
 * (IGMP and MLD snooping, reverse-ARP announcements, reverse-path checks,
 * fast path, teaming behaviour, mirror statistics, router addresses) that
 * travel as one packed block of self-describing options. */
#ifndef TESSEL_HOSTAPI_OPTIONS_H
#define TESSEL_HOSTAPI_OPTIONS_H

#include "hostapi/common.h"
#include "hostapi/mac.h"
#include "hostapi/overlay.h"

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
/* The options' names, in type order: the one list the host and the module's
 * runtimeOptionNames both take. */
#define VS_RT_OPT_NAMES                                                                            \
   "IGMPQueryInterval", "IGMPV3MaxSrcIPNum", "IGMPQueries", "IGMPVersion", "MLDVersion",           \
       "MLDV2MaxSrcIPNum", "MaxRARPsPerInterval", "RARPAdvertisementDuration",                     \
       "ReversePathFwdCheck", "ReversePathFwdCheckPromisc", "AllowFastPath", "TeamPolicyUpDelay",  \
       "AllowMirrorStats", "TeamingNUMAAware", "SendIGMPReportToUplink", "TeamingIgnoreShotgun",   \
       "IGMPRouterIP", "MLDRouterIP"
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

/* Restart-time (RTM) operations, applied to portsets, modules or ports. */
typedef enum RTMIOCtlMode {
   RTM_IOCCMD_REG_SAVE = 0,
   RTM_IOCCMD_REG_RESTORE = 1,
   RTM_IOCCMD_REG_SAVE_DUALLOAD = 2,
   RTM_IOCCMD_REG_RESTORE_DUALLOAD = 3,
   RTM_IOCCMD_SAVE = 4,
   RTM_IOCCMD_RESTORE = 5,
   RTM_IOCCMD_BLOCKPORTS = 6,
   RTM_IOCCMD_PREDUALLOAD = 7,
   RTM_IOCCMD_GLOBALCONFIG_SAVERESTORE = 8,
   RTM_IOCCMD_PS_UPGRADE = 9,
   RTM_IOCCMD_PORT_UPGRADE = 10,
   RTM_IOCCMD_COMPLETE = 11,
   RTM_IOCCMD_RESTORE_COMPLETE = 12,
   RTM_IOCCMD_ENS_OP = 13,
   RTM_IOCCMD_CSWITCH_OP = 14
} RTMIOCtlMode;

typedef enum RTMIOCtlEnsMode {
   RTM_IOCCMD_ENS_DEACTIVATE = 0,
   RTM_IOCCMD_ENS_ACTIVATE = 1
} RTMIOCtlEnsMode;

typedef hyx_int32 hyx_WorldID;
typedef hyx_int32 hyx_ModuleID;

/* One portset of an RTM query. */
typedef struct HYX_PACKED RTM_Portset {
   char psName[128];
   hyx_uint32 ensSwitchMode;
   hyx_uint32 ensPsMode;
} RTM_Portset;
HYX_CHECK_OFFSET(RTM_Portset, psName, 0);
HYX_CHECK_OFFSET(RTM_Portset, ensSwitchMode, 128);
HYX_CHECK_OFFSET(RTM_Portset, ensPsMode, 132);
HYX_CHECK_SIZE(RTM_Portset, 136);

/* An RTM query: numPortsets portsets follow the 9-byte header. */
typedef struct HYX_PACKED RTMIOCtlQuery {
   hyx_uint32 numPortsets;
   hyx_Bool isZEBV;
   hyx_uint32 maxAllowedOutage;
   RTM_Portset rtmPs[0];
} RTMIOCtlQuery;
HYX_CHECK_OFFSET(RTMIOCtlQuery, numPortsets, 0);
HYX_CHECK_OFFSET(RTMIOCtlQuery, isZEBV, 4);
HYX_CHECK_OFFSET(RTMIOCtlQuery, maxAllowedOutage, 5);
HYX_CHECK_OFFSET(RTMIOCtlQuery, rtmPs, 9);
HYX_CHECK_SIZE(RTMIOCtlQuery, 9);

/* One module of a module query. */
typedef struct HYX_PACKED RTM_ModInfo {
   hyx_Bool isFromMod;
   hyx_ModuleID ModID;
} RTM_ModInfo;
HYX_CHECK_OFFSET(RTM_ModInfo, isFromMod, 0);
HYX_CHECK_OFFSET(RTM_ModInfo, ModID, 1);
HYX_CHECK_SIZE(RTM_ModInfo, 5);

/* A module query of a portset: numMod entries follow the 132-byte header. */
typedef struct HYX_PACKED RTMModIOCtlQuery {
   hyx_uint32 numMod;
   char psName[128];
   RTM_ModInfo rtmModId[0];
} RTMModIOCtlQuery;
HYX_CHECK_OFFSET(RTMModIOCtlQuery, numMod, 0);
HYX_CHECK_OFFSET(RTMModIOCtlQuery, psName, 4);
HYX_CHECK_OFFSET(RTMModIOCtlQuery, rtmModId, 132);
HYX_CHECK_SIZE(RTMModIOCtlQuery, 132);

typedef struct HYX_PACKED RTMPortIOCtlQuery {
   hyx_WorldID worldID;
   hyx_SwitchPortID portID;
   hyx_Bool isAssociatedPort;
} RTMPortIOCtlQuery;
HYX_CHECK_OFFSET(RTMPortIOCtlQuery, worldID, 0);
HYX_CHECK_OFFSET(RTMPortIOCtlQuery, portID, 4);
HYX_CHECK_OFFSET(RTMPortIOCtlQuery, isAssociatedPort, 8);
HYX_CHECK_SIZE(RTMPortIOCtlQuery, 9);

/* The in and out buffers of a device request; the addresses are plain
 * 64-bit numbers. */
typedef struct HYX_PACKED RTMIOCtlData {
   hyx_uint32 dataInLen;
   hyx_uint32 dataOutLen;
   hyx_uint64 dataInPtr;
   hyx_uint64 dataOutPtr;
} RTMIOCtlData;
HYX_CHECK_OFFSET(RTMIOCtlData, dataInLen, 0);
HYX_CHECK_OFFSET(RTMIOCtlData, dataOutLen, 4);
HYX_CHECK_OFFSET(RTMIOCtlData, dataInPtr, 8);
HYX_CHECK_OFFSET(RTMIOCtlData, dataOutPtr, 16);
HYX_CHECK_SIZE(RTMIOCtlData, 24);

typedef struct HYX_PACKED VSIOCtlData {
   hyx_uint32 dataInLen;
   hyx_uint32 dataOutLen;
   hyx_uint64 dataInPtr;
   hyx_uint64 dataOutPtr;
} VSIOCtlData;
HYX_CHECK_OFFSET(VSIOCtlData, dataInLen, 0);
HYX_CHECK_OFFSET(VSIOCtlData, dataOutLen, 4);
HYX_CHECK_OFFSET(VSIOCtlData, dataInPtr, 8);
HYX_CHECK_OFFSET(VSIOCtlData, dataOutPtr, 16);
HYX_CHECK_SIZE(VSIOCtlData, 24);

/* The library's own records inside a switch-control query; the module
 * offers them only as opaque views. */
#ifndef SWIG
struct HYX_PACKED _mcastFilter {
   hyx_uint32 numAddrs;
   hyx_EthAddress addrs[32];
};
struct HYX_PACKED _uplink {
   char name[32];
   hyx_uint32 linkState;
   hyx_uint32 linkSpeed;
};
#else
/* Known to SWIG without fields, so a query's member of these types reads as
   a view into the query, not a copy. */
struct _mcastFilter {};
struct _uplink {};
#endif
typedef struct _mcastFilter _mcastFilter;
typedef struct _uplink _uplink;

/* The argument block of a switch-control query: what it names (union A),
 * the port (union B) and the request's own data (union C), then four
 * fields every request has. */
#ifndef SWIG
typedef struct HYX_PACKED VSIOCtlQuery {
   union HYX_PACKED {
      hyx_uint8 psName[128];
      char dvsId[64];
      hyx_uint8 dvsName[81];
   };
   union HYX_PACKED {
      hyx_uint8 dvPortID[48];
      hyx_SwitchPortID portID;
   };
   union HYX_PACKED {
      char dvMirrorSID[32];
      hyx_VlanID vlanID;
      struct _mcastFilter mcastFilter;
      struct _uplink uplink;
      VSMACEntry macEntry;
      VSMacTableType macTableType;
      VSRemoteTepEntry remoteTepEntry;
      VSSetRdmaEntry rdmaEntry;
      VSMACLearningGlobalProps globalMACLearningProps;
      int l3IsoTestMode;
      hyx_Bool bridgeFastpathDisable;
      hyx_Bool enableRdma;
      HYX_RESERVED(requestData, 792)
   };
   hyx_SwitchPortID lagPortID;
   hyx_Bool checkVniVid;
   hyx_Bool isMux;
   hyx_VirtualNetworkID vni;
} VSIOCtlQuery;
#else
/* The same record as the module sees it: the union members side by side. */
typedef struct VSIOCtlQuery {
   hyx_uint8 psName[128];
   char dvsId[64];
   hyx_uint8 dvsName[81];
   hyx_uint8 dvPortID[48];
   hyx_SwitchPortID portID;
   char dvMirrorSID[32];
   hyx_VlanID vlanID;
   _mcastFilter mcastFilter;
   _uplink uplink;
   VSMACEntry macEntry;
   VSMacTableType macTableType;
   VSRemoteTepEntry remoteTepEntry;
   VSSetRdmaEntry rdmaEntry;
   VSMACLearningGlobalProps globalMACLearningProps;
   int l3IsoTestMode;
   hyx_Bool bridgeFastpathDisable;
   hyx_Bool enableRdma;
   hyx_SwitchPortID lagPortID;
   hyx_Bool checkVniVid;
   hyx_Bool isMux;
   hyx_VirtualNetworkID vni;
} VSIOCtlQuery;
#endif
HYX_CHECK_OFFSET(VSIOCtlQuery, psName, 0);
HYX_CHECK_OFFSET(VSIOCtlQuery, dvsId, 0);
HYX_CHECK_OFFSET(VSIOCtlQuery, dvsName, 0);
HYX_CHECK_OFFSET(VSIOCtlQuery, dvPortID, 128);
HYX_CHECK_OFFSET(VSIOCtlQuery, portID, 128);
HYX_CHECK_OFFSET(VSIOCtlQuery, dvMirrorSID, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, vlanID, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, mcastFilter, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, uplink, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, macEntry, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, macTableType, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, remoteTepEntry, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, rdmaEntry, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, globalMACLearningProps, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, l3IsoTestMode, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, bridgeFastpathDisable, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, enableRdma, 176);
HYX_CHECK_OFFSET(VSIOCtlQuery, lagPortID, 968);
HYX_CHECK_OFFSET(VSIOCtlQuery, checkVniVid, 972);
HYX_CHECK_OFFSET(VSIOCtlQuery, isMux, 973);
HYX_CHECK_OFFSET(VSIOCtlQuery, vni, 974);
HYX_CHECK_SIZE(VSIOCtlQuery, 978);

/* A property value: propLen bytes at propValue. */
typedef struct HYX_PACKED ZARQuery {
   int propLen;
   char *propValue;
} ZARQuery;
HYX_CHECK_OFFSET(ZARQuery, propLen, 0);
HYX_CHECK_OFFSET(ZARQuery, propValue, 4);
HYX_CHECK_SIZE(ZARQuery, 12);

/* Tunables of the datapath's redundancy-protocol support. */
typedef struct HYX_PACKED EnsPRPTunablesData {
   hyx_uint8 supMcastAddr[6];
   hyx_uint16 lifeCheckInterval;
   hyx_uint16 nodeForgetTime;
   hyx_uint16 entryForgetTime;
   hyx_uint16 nodeRebootInterval;
} EnsPRPTunablesData;
HYX_CHECK_OFFSET(EnsPRPTunablesData, supMcastAddr, 0);
HYX_CHECK_OFFSET(EnsPRPTunablesData, lifeCheckInterval, 6);
HYX_CHECK_OFFSET(EnsPRPTunablesData, nodeForgetTime, 8);
HYX_CHECK_OFFSET(EnsPRPTunablesData, entryForgetTime, 10);
HYX_CHECK_OFFSET(EnsPRPTunablesData, nodeRebootInterval, 12);
HYX_CHECK_SIZE(EnsPRPTunablesData, 14);

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

/* RTM operations follow one sequence: a save (RTM_IOCCMD_SAVE or
 * RTM_IOCCMD_REG_SAVE, and their dual-load forms) of the portsets named,
 * then optionally RTM_IOCCMD_BLOCKPORTS, then a restore, then
 * RTM_IOCCMD_COMPLETE or RTM_IOCCMD_RESTORE_COMPLETE, which ends it.  A step
 * out of that order gives HYX_INVALID_STATE; the other modes are accepted at
 * any time.  Every portset named must be a switch of the host
 * (HYX_NOT_FOUND), every name NUL-terminated within its field and the query
 * non-NULL (HYX_BAD_PARAM), a mode one of RTMIOCtlMode (HYX_BAD_PARAM). */
HYX_ReturnStatus VSHYX_RTMOp(RTMIOCtlQuery *query, RTMIOCtlMode mode);
/* The same for the modules of one portset. */
HYX_ReturnStatus VSHYX_RTMModOp(RTMModIOCtlQuery *query, RTMIOCtlMode mode);
/* A port upgrade step of one port (HYX_NOT_FOUND for a port ID the host has
 * not; a flag other than 0 or 1 is HYX_BAD_PARAM). */
HYX_ReturnStatus VSHYX_RTMPortOp(hyx_WorldID world, hyx_SwitchPortID port, hyx_Bool isAssociated);
/* Refreshes the NUMA placement of a device: an uplink of the host, by
 * name (HYX_NOT_FOUND for another name, HYX_BAD_PARAM for NULL). */
HYX_ReturnStatus VSHYX_RefreshDevNUMAInfo(char const *deviceName);
/* The layer-3 isolation test mode (0 off, 1 or 2 on; another value is
 * HYX_BAD_PARAM). */
HYX_ReturnStatus VSHYX_GetL3IsoTestMode(int *mode);
HYX_ReturnStatus VSHYX_SetL3IsoTestMode(int mode);
/* Whether the bridge fast path is disabled (0 or 1). */
HYX_ReturnStatus VSHYX_GetBridgeFastpathConfig(hyx_Bool *disable);
HYX_ReturnStatus VSHYX_SetBridgeFastpathConfig(hyx_Bool disable);

HYX_EXTERN_C_END

#endif
