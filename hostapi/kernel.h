/* Switch enumeration and switch summary: the records and functions of the
 * switch-control library (libtessel.so) and the base library
 * (libbasekit.so) that every other subsystem builds on. */
#ifndef TESSEL_HOSTAPI_KERNEL_H
#define TESSEL_HOSTAPI_KERNEL_H

#include "hostapi/common.h"

/* Records that other subsystems define in full; the switch summary only
 * refers to them by pointer. */
struct VSMACLearningEntries;
struct VSL2Security;
struct VSMACLearningStats;
struct VSSwitchPortInfo;
typedef struct VSMACLearningEntries VSMACLearningEntries;
typedef struct VSL2Security VSL2Security;
typedef struct VSMACLearningStats VSMACLearningStats;
typedef struct VSSwitchPortInfo VSSwitchPortInfo;

/* Kernel handles the API names but never lays out, and a port client's
 * name. */
typedef struct PktHandle hyx_PktHandle;
typedef struct Portset hyx_Portset;
typedef char hyx_PortClientName[1040];

typedef enum VSListType { VS_LIST_PS = 1, VS_LIST_DVS_ALIAS = 2 } VSListType;

#ifndef SWIG
/* Slot widths of the two kinds of switch list entry. */
#define VS_LIST_PS_ENTRY_LEN 128
#define VS_LIST_ALIAS_ENTRY_LEN 81
/* Number of VLAN ids, 0..4095. */
#define VS_VLAN_ID_COUNT 4096
/* The longest switch id VSHYX_DVSAliasToSwitchId writes, with its NUL. */
#define VS_DVS_SWITCH_ID_LEN 128
#endif

/* A list of switch names: count fixed-width NUL-terminated slots follow the
 * header, 128 bytes each for portset names, 81 bytes each for aliases. */
typedef struct HYX_PACKED VSList {
   hyx_int32 count;
   VSListType listType;
   char switches[0];
} VSList;
HYX_CHECK_OFFSET(VSList, count, 0);
HYX_CHECK_OFFSET(VSList, listType, 4);
HYX_CHECK_OFFSET(VSList, switches, 8);
HYX_CHECK_SIZE(VSList, 8);

typedef enum ForwardingMode {
   FORWARDING_MODE_INVALID = 0,
   FORWARDING_MODE_IPV4_ONLY = 1,
   FORWARDING_MODE_IPV6_ONLY = 2,
   FORWARDING_MODE_IPV4_AND_IPV6 = 3
} ForwardingMode;

typedef struct HYX_PACKED VSForwardingMode {
   ForwardingMode forwardingMode;
} VSForwardingMode;
HYX_CHECK_OFFSET(VSForwardingMode, forwardingMode, 0);
HYX_CHECK_SIZE(VSForwardingMode, 4);

typedef struct HYX_PACKED VSInfo {
   hyx_uint32 mtu;
   hyx_VlanID maxValidVlan;
   hyx_VlanID minValidVlan;
   hyx_uint32 activePorts;
   hyx_uint32 maxPorts;
   hyx_uint8 dvsName[128];
   hyx_uint8 zarID[64];
   hyx_uint16 numSinkPorts;
   hyx_Bool isAssocMACFilterEnabled;
   hyx_uint32 flags;
   hyx_Bool isForwardingDisabled;
   hyx_VlanID overlayVlanUseCount[4096];
   hyx_uint16 numServiceVmPorts;
   hyx_SwitchPortID vdrPortID;
   hyx_uint32 numRdmaEntries;
   hyx_uint32 numRdmaTenantEntries;
} VSInfo;
HYX_CHECK_OFFSET(VSInfo, mtu, 0);
HYX_CHECK_OFFSET(VSInfo, maxValidVlan, 4);
HYX_CHECK_OFFSET(VSInfo, minValidVlan, 6);
HYX_CHECK_OFFSET(VSInfo, activePorts, 8);
HYX_CHECK_OFFSET(VSInfo, maxPorts, 12);
HYX_CHECK_OFFSET(VSInfo, dvsName, 16);
HYX_CHECK_OFFSET(VSInfo, zarID, 144);
HYX_CHECK_OFFSET(VSInfo, numSinkPorts, 208);
HYX_CHECK_OFFSET(VSInfo, isAssocMACFilterEnabled, 210);
HYX_CHECK_OFFSET(VSInfo, flags, 211);
HYX_CHECK_OFFSET(VSInfo, isForwardingDisabled, 215);
HYX_CHECK_OFFSET(VSInfo, overlayVlanUseCount, 216);
HYX_CHECK_OFFSET(VSInfo, numServiceVmPorts, 8408);
HYX_CHECK_OFFSET(VSInfo, vdrPortID, 8410);
HYX_CHECK_OFFSET(VSInfo, numRdmaEntries, 8414);
HYX_CHECK_OFFSET(VSInfo, numRdmaTenantEntries, 8418);
HYX_CHECK_SIZE(VSInfo, 8422);

/* Only one of the four pointers is meaningful at a time. */
typedef struct HYX_PACKED VSwitchEntriesInfo {
   union HYX_PACKED {
      VSMACLearningEntries *macEntries;
      VSL2Security *L2secEntries;
      VSMACLearningStats *stats;
      VSSwitchPortInfo *info;
   };
   hyx_uint32 numEntriesToCopy;
} VSwitchEntriesInfo;
HYX_CHECK_OFFSET(VSwitchEntriesInfo, macEntries, 0);
HYX_CHECK_OFFSET(VSwitchEntriesInfo, info, 0);
HYX_CHECK_OFFSET(VSwitchEntriesInfo, numEntriesToCopy, 8);
HYX_CHECK_SIZE(VSwitchEntriesInfo, 12);

/* ---- Kernel API basic records ---- */

/* A fixed-size name: at most 31 bytes of text and its NUL. */
typedef struct HYX_PACKED hyx_Name {
   char string[32];
} hyx_Name;
HYX_CHECK_OFFSET(hyx_Name, string, 0);
HYX_CHECK_SIZE(hyx_Name, 32);

/* A caller-owned byte buffer with its capacity and used length. */
typedef struct HYX_PACKED {
   hyx_ByteCountSmall bufferSize;
   hyx_ByteCountSmall stringLength;
   hyx_uint8 *buffer;
} hyx_String;
HYX_CHECK_OFFSET(hyx_String, bufferSize, 0);
HYX_CHECK_OFFSET(hyx_String, stringLength, 4);
HYX_CHECK_OFFSET(hyx_String, buffer, 8);
HYX_CHECK_SIZE(hyx_String, 16);

/* Doubly linked list node. */
typedef struct HYX_PACKED hyx_ListLinks {
   struct hyx_ListLinks *prevPtr;
   struct hyx_ListLinks *nextPtr;
} hyx_ListLinks;
HYX_CHECK_OFFSET(hyx_ListLinks, prevPtr, 0);
HYX_CHECK_OFFSET(hyx_ListLinks, nextPtr, 8);
HYX_CHECK_SIZE(hyx_ListLinks, 16);

/* Singly linked list with head and tail. */
typedef struct HYX_PACKED hyx_SList_Links {
   struct hyx_SList_Links *next;
} hyx_SList_Links;
HYX_CHECK_OFFSET(hyx_SList_Links, next, 0);
HYX_CHECK_SIZE(hyx_SList_Links, 8);

typedef struct HYX_PACKED hyx_SList {
   hyx_SList_Links *head;
   hyx_SList_Links *tail;
} hyx_SList;
HYX_CHECK_OFFSET(hyx_SList, head, 0);
HYX_CHECK_OFFSET(hyx_SList, tail, 8);
HYX_CHECK_SIZE(hyx_SList, 16);

#ifndef SWIG
#define HYX_MGMT_MAX_CALLBACK_PARMS 4
#define HYX_MGMT_MAX_INSTANCES 32
#define HYX_ATTR_STRING_MAX 64
#endif

/* Where a management callback runs. */
typedef enum hyx_MgmtCallbackLocation {
   HYX_MGMT_CALLBACK_KERNEL = 1,
   HYX_MGMT_CALLBACK_USER = 2
} hyx_MgmtCallbackLocation;

/* How a management callback parameter is passed. */
typedef enum hyx_MgmtParm {
   HYX_MGMT_PARMTYPE_IN = 0,
   HYX_MGMT_PARMTYPE_OUT = 1,
   HYX_MGMT_PARMTYPE_INOUT = 2,
   HYX_MGMT_PARMTYPE_VECTOR_IN = 3,
   HYX_MGMT_PARMTYPE_VECTOR_OUT = 4,
   HYX_MGMT_PARMTYPE_VECTOR_INOUT = 5
} hyx_MgmtParmType;

/* One callback of a management interface. */
typedef struct HYX_PACKED hyx_MgmtCallbackInfo {
   hyx_MgmtCallbackLocation location;
   HYX_RESERVED(hyx_pad0, 4)
   void *callback;
   hyx_Bool synchronous;
   hyx_uint8 numParms;
   HYX_RESERVED(hyx_pad1, 2)
   hyx_uint32 parmSizes[4];
   hyx_MgmtParmType parmTypes[4];
   HYX_RESERVED(hyx_pad2, 4)
   hyx_uint64 callbackId;
} hyx_MgmtCallbackInfo;
HYX_CHECK_OFFSET(hyx_MgmtCallbackInfo, location, 0);
HYX_CHECK_OFFSET(hyx_MgmtCallbackInfo, callback, 8);
HYX_CHECK_OFFSET(hyx_MgmtCallbackInfo, synchronous, 16);
HYX_CHECK_OFFSET(hyx_MgmtCallbackInfo, numParms, 17);
HYX_CHECK_OFFSET(hyx_MgmtCallbackInfo, parmSizes, 20);
HYX_CHECK_OFFSET(hyx_MgmtCallbackInfo, parmTypes, 36);
HYX_CHECK_OFFSET(hyx_MgmtCallbackInfo, callbackId, 56);
HYX_CHECK_SIZE(hyx_MgmtCallbackInfo, 64);

typedef struct HYX_PACKED hyx_MgmtApiSignature {
   hyx_revnum version;
   hyx_Name name;
   hyx_Name vendor;
   int numCallbacks;
   hyx_MgmtCallbackInfo *callbacks;
} hyx_MgmtApiSignature;
HYX_CHECK_OFFSET(hyx_MgmtApiSignature, version, 0);
HYX_CHECK_OFFSET(hyx_MgmtApiSignature, name, 4);
HYX_CHECK_OFFSET(hyx_MgmtApiSignature, vendor, 36);
HYX_CHECK_OFFSET(hyx_MgmtApiSignature, numCallbacks, 68);
HYX_CHECK_OFFSET(hyx_MgmtApiSignature, callbacks, 72);
HYX_CHECK_SIZE(hyx_MgmtApiSignature, 80);

typedef struct HYX_PACKED hyx_MgmtVectorParm {
   hyx_ByteCount length;
   void *dataPtr;
} hyx_MgmtVectorParm;
HYX_CHECK_OFFSET(hyx_MgmtVectorParm, length, 0);
HYX_CHECK_OFFSET(hyx_MgmtVectorParm, dataPtr, 8);
HYX_CHECK_SIZE(hyx_MgmtVectorParm, 16);

typedef struct HYX_PACKED hyx_MgmtInstances {
   hyx_uint8 numInstances;
   HYX_RESERVED(hyx_pad0, 7)
   hyx_uint64 instanceIds[32];
   hyx_Name instanceNames[32];
} hyx_MgmtInstances;
HYX_CHECK_OFFSET(hyx_MgmtInstances, numInstances, 0);
HYX_CHECK_OFFSET(hyx_MgmtInstances, instanceIds, 8);
HYX_CHECK_OFFSET(hyx_MgmtInstances, instanceNames, 264);
HYX_CHECK_SIZE(hyx_MgmtInstances, 1288);

typedef enum hyx_IntrTriggerType {
   HYX_INTR_TRIGGER_LEVEL = 0,
   HYX_INTR_TRIGGER_EDGE = 1
} hyx_IntrTriggerType;

typedef enum hyx_IntrPolarityType {
   HYX_INTR_POLARITY_LOW = 0,
   HYX_INTR_POLARITY_HIGH = 1
} hyx_IntrPolarityType;

typedef struct HYX_PACKED hyx_IntrInfo {
   hyx_IntrTriggerType trigger;
   hyx_IntrPolarityType polarity;
} hyx_IntrInfo;
HYX_CHECK_OFFSET(hyx_IntrInfo, trigger, 0);
HYX_CHECK_OFFSET(hyx_IntrInfo, polarity, 4);
HYX_CHECK_SIZE(hyx_IntrInfo, 8);

typedef enum hyx_AttrType {
   HYX_ATTR_TYPE_INVALID = 0,
   HYX_ATTR_TYPE_BOOL = 1,
   HYX_ATTR_TYPE_INT64 = 2,
   HYX_ATTR_TYPE_STRING = 3
} hyx_AttrType;

typedef struct HYX_PACKED hyx_Attribute {
   hyx_Name name;
   char value[64];
   hyx_AttrType attrType;
} hyx_Attribute;
HYX_CHECK_OFFSET(hyx_Attribute, name, 0);
HYX_CHECK_OFFSET(hyx_Attribute, value, 32);
HYX_CHECK_OFFSET(hyx_Attribute, attrType, 96);
HYX_CHECK_SIZE(hyx_Attribute, 100);

typedef enum hyx_LinkState { HYX_LINK_STATE_DOWN = 0, HYX_LINK_STATE_UP = 1 } hyx_LinkState;

/* Link speed in Mbit/s; 0 is auto-negotiated. */
typedef hyx_uint32 hyx_LinkSpeed;

/* Signed: auto-negotiation is -1. */
typedef enum hyx_LinkDuplex {
   HYX_LINK_DUPLEX_AUTO = -1,
   HYX_LINK_DUPLEX_HALF = 1,
   HYX_LINK_DUPLEX_FULL = 2
} hyx_LinkDuplex;

typedef struct HYX_PACKED {
   hyx_LinkState state;
   hyx_LinkSpeed speed;
   hyx_LinkDuplex duplex;
} hyx_LinkStatus;
HYX_CHECK_OFFSET(hyx_LinkStatus, state, 0);
HYX_CHECK_OFFSET(hyx_LinkStatus, speed, 4);
HYX_CHECK_OFFSET(hyx_LinkStatus, duplex, 8);
HYX_CHECK_SIZE(hyx_LinkStatus, 12);

/* Network resource-pool configuration and statistics. */
typedef hyx_uint32 hyx_PortsetResPoolShares;
typedef hyx_int32 hyx_PortsetResPoolLimit;
typedef hyx_int32 hyx_PortsetResPoolReservation;
typedef hyx_uint8 hyx_PortsetResPoolPriorityTag;
typedef hyx_int32 hyx_PortsetResPoolQueueDepth;

typedef struct HYX_PACKED hyx_PortsetResPoolCfg {
   hyx_PortsetResPoolShares shares;
   hyx_PortsetResPoolLimit limit;
   hyx_PortsetResPoolReservation reservation;
   hyx_PortsetResPoolPriorityTag pTag;
   HYX_RESERVED(hyx_pad0, 3)
   hyx_PortsetResPoolQueueDepth queueDepth;
} hyx_PortsetResPoolCfg;
HYX_CHECK_OFFSET(hyx_PortsetResPoolCfg, shares, 0);
HYX_CHECK_OFFSET(hyx_PortsetResPoolCfg, limit, 4);
HYX_CHECK_OFFSET(hyx_PortsetResPoolCfg, reservation, 8);
HYX_CHECK_OFFSET(hyx_PortsetResPoolCfg, pTag, 12);
HYX_CHECK_OFFSET(hyx_PortsetResPoolCfg, queueDepth, 16);
HYX_CHECK_SIZE(hyx_PortsetResPoolCfg, 20);

typedef struct HYX_PACKED hyx_PortsetResPoolStats {
   hyx_uint64 pktsIn;
   hyx_uint64 bytesIn;
   hyx_uint64 pktsOut;
   hyx_uint64 bytesOut;
   hyx_uint64 pktsDropped;
   hyx_uint64 bytesDropped;
} hyx_PortsetResPoolStats;
HYX_CHECK_OFFSET(hyx_PortsetResPoolStats, pktsIn, 0);
HYX_CHECK_OFFSET(hyx_PortsetResPoolStats, bytesIn, 8);
HYX_CHECK_OFFSET(hyx_PortsetResPoolStats, pktsOut, 16);
HYX_CHECK_OFFSET(hyx_PortsetResPoolStats, bytesOut, 24);
HYX_CHECK_OFFSET(hyx_PortsetResPoolStats, pktsDropped, 32);
HYX_CHECK_OFFSET(hyx_PortsetResPoolStats, bytesDropped, 40);
HYX_CHECK_SIZE(hyx_PortsetResPoolStats, 48);

/* Bits of hyx_ZARPortStatus.flags. */
typedef enum hyx_ZARPortStatusFlag {
   HYX_ZARPORT_STATUS_INUSE = 1,
   HYX_ZARPORT_STATUS_LINKUP = 2,
   HYX_ZARPORT_STATUS_BLOCKED = 4,
   HYX_ZARPORT_STATUS_PASSTHRU = 8
} hyx_ZARPortStatusFlag;

/* Distributed port status, statistics and VLAN records, the values of the
 * port properties of the same names. */
typedef struct HYX_PACKED hyx_ZARPortStatus {
   hyx_uint64 flags;
   hyx_uint64 noPassthruReason;
   hyx_uint32 portID;
   char displayStr[80];
} hyx_ZARPortStatus;
HYX_CHECK_OFFSET(hyx_ZARPortStatus, flags, 0);
HYX_CHECK_OFFSET(hyx_ZARPortStatus, noPassthruReason, 8);
HYX_CHECK_OFFSET(hyx_ZARPortStatus, portID, 16);
HYX_CHECK_OFFSET(hyx_ZARPortStatus, displayStr, 20);
HYX_CHECK_SIZE(hyx_ZARPortStatus, 100);

typedef struct HYX_PACKED hyx_ZARPortStatistics {
   hyx_uint64 pktsInUnicast;
   hyx_uint64 bytesInUnicast;
   hyx_uint64 pktsInMulticast;
   hyx_uint64 bytesInMulticast;
   hyx_uint64 pktsInBroadcast;
   hyx_uint64 bytesInBroadcast;
   hyx_uint64 pktsOutUnicast;
   hyx_uint64 bytesOutUnicast;
   hyx_uint64 pktsOutMulticast;
   hyx_uint64 bytesOutMulticast;
   hyx_uint64 pktsOutBroadcast;
   hyx_uint64 bytesOutBroadcast;
   hyx_uint64 pktsInDropped;
   hyx_uint64 pktsOutDropped;
   hyx_uint64 pktsInException;
   hyx_uint64 pktsOutException;
} hyx_ZARPortStatistics;
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsInUnicast, 0);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, bytesInUnicast, 8);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsInMulticast, 16);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, bytesInMulticast, 24);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsInBroadcast, 32);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, bytesInBroadcast, 40);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsOutUnicast, 48);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, bytesOutUnicast, 56);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsOutMulticast, 64);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, bytesOutMulticast, 72);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsOutBroadcast, 80);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, bytesOutBroadcast, 88);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsInDropped, 96);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsOutDropped, 104);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsInException, 112);
HYX_CHECK_OFFSET(hyx_ZARPortStatistics, pktsOutException, 120);
HYX_CHECK_SIZE(hyx_ZARPortStatistics, 128);

/* An inclusive VLAN id range. */
typedef struct HYX_PACKED hyx_ZARPortVIDRange {
   hyx_uint16 minVID;
   hyx_uint16 maxVID;
} hyx_ZARPortVIDRange;
HYX_CHECK_OFFSET(hyx_ZARPortVIDRange, minVID, 0);
HYX_CHECK_OFFSET(hyx_ZARPortVIDRange, maxVID, 2);
HYX_CHECK_SIZE(hyx_ZARPortVIDRange, 4);

/* Header followed directly by numRanges ranges. */
typedef struct HYX_PACKED hyx_ZARPortVlanInfo {
   hyx_uint16 vlanID;
   hyx_uint16 numRanges;
   hyx_ZARPortVIDRange vidRanges[0];
} hyx_ZARPortVlanInfo;
HYX_CHECK_OFFSET(hyx_ZARPortVlanInfo, vlanID, 0);
HYX_CHECK_OFFSET(hyx_ZARPortVlanInfo, numRanges, 2);
HYX_CHECK_OFFSET(hyx_ZARPortVlanInfo, vidRanges, 4);
HYX_CHECK_SIZE(hyx_ZARPortVlanInfo, 4);

/* Socket addresses. */
typedef struct HYX_PACKED hyx_SocketAddress {
   hyx_uint8 sa_len;
   hyx_uint8 sa_family;
   hyx_uint8 sa_data[254];
} hyx_SocketAddress;
HYX_CHECK_OFFSET(hyx_SocketAddress, sa_len, 0);
HYX_CHECK_OFFSET(hyx_SocketAddress, sa_family, 1);
HYX_CHECK_OFFSET(hyx_SocketAddress, sa_data, 2);
HYX_CHECK_SIZE(hyx_SocketAddress, 256);

typedef struct HYX_PACKED hyx_SocketIPAddressAddr {
   hyx_uint32 s_addr;
} hyx_SocketIPAddressAddr;
HYX_CHECK_OFFSET(hyx_SocketIPAddressAddr, s_addr, 0);
HYX_CHECK_SIZE(hyx_SocketIPAddressAddr, 4);

typedef struct HYX_PACKED hyx_SocketIPAddress {
   hyx_uint8 sin_len;
   hyx_uint8 sin_family;
   hyx_uint16 sin_port;
   hyx_SocketIPAddressAddr sin_addr;
   hyx_uint8 sin_zero[8];
} hyx_SocketIPAddress;
HYX_CHECK_OFFSET(hyx_SocketIPAddress, sin_len, 0);
HYX_CHECK_OFFSET(hyx_SocketIPAddress, sin_family, 1);
HYX_CHECK_OFFSET(hyx_SocketIPAddress, sin_port, 2);
HYX_CHECK_OFFSET(hyx_SocketIPAddress, sin_addr, 4);
HYX_CHECK_OFFSET(hyx_SocketIPAddress, sin_zero, 8);
HYX_CHECK_SIZE(hyx_SocketIPAddress, 16);

/* Three views of the same 16 address bytes.  The union has a name of its
 * own (the one the module gives it) so that it, too, is declared packed. */
typedef union HYX_PACKED {
   hyx_uint8 __u6_addr8[16];
   hyx_uint16 __u6_addr16[8];
   hyx_uint32 __u6_addr32[4];
} hyx_SocketIPv6AddressAddr___u6_addr;
HYX_CHECK_OFFSET(hyx_SocketIPv6AddressAddr___u6_addr, __u6_addr8, 0);
HYX_CHECK_OFFSET(hyx_SocketIPv6AddressAddr___u6_addr, __u6_addr16, 0);
HYX_CHECK_OFFSET(hyx_SocketIPv6AddressAddr___u6_addr, __u6_addr32, 0);
HYX_CHECK_SIZE(hyx_SocketIPv6AddressAddr___u6_addr, 16);

typedef struct HYX_PACKED hyx_SocketIPv6AddressAddr {
   hyx_SocketIPv6AddressAddr___u6_addr __u6_addr;
} hyx_SocketIPv6AddressAddr;
HYX_CHECK_OFFSET(hyx_SocketIPv6AddressAddr, __u6_addr, 0);
HYX_CHECK_SIZE(hyx_SocketIPv6AddressAddr, 16);

typedef struct HYX_PACKED hyx_SocketIPv6Address {
   hyx_uint8 sin6_len;
   hyx_uint8 sin6_family;
   hyx_uint16 sin6_port;
   hyx_uint32 sin6_flowinfo;
   hyx_SocketIPv6AddressAddr sin6_addr;
   hyx_uint32 sin6_scopeid;
} hyx_SocketIPv6Address;
HYX_CHECK_OFFSET(hyx_SocketIPv6Address, sin6_len, 0);
HYX_CHECK_OFFSET(hyx_SocketIPv6Address, sin6_family, 1);
HYX_CHECK_OFFSET(hyx_SocketIPv6Address, sin6_port, 2);
HYX_CHECK_OFFSET(hyx_SocketIPv6Address, sin6_flowinfo, 4);
HYX_CHECK_OFFSET(hyx_SocketIPv6Address, sin6_addr, 8);
HYX_CHECK_OFFSET(hyx_SocketIPv6Address, sin6_scopeid, 24);
HYX_CHECK_SIZE(hyx_SocketIPv6Address, 28);

HYX_EXTERN_C_BEGIN

/* libtessel.so: live switch state. */

/* Fills *list with a list the library allocates with malloc; the caller owns
 * it and releases it with free(). */
HYX_ReturnStatus VSHYX_GetSwitches(VSListType listType, VSList **list);
/* Fills the caller's record with the summary of the named switch. */
HYX_ReturnStatus VSHYX_GetVSInfo(char const *switchName, VSInfo *info);
/* Writes the switch (portset) name of a distributed-switch alias into
 * switchId, at most VS_DVS_SWITCH_ID_LEN bytes with its NUL. */
HYX_ReturnStatus VSHYX_DVSAliasToSwitchId(char const *alias, char *switchId);
/* The two release functions for blocks the library hands out through an
 * out-parameter; an address the library did not hand out is ignored. */
void VSHYX_FreeMemory(void *mem);
void VSDVS_FreeMemory(void *mem);

/* libbasekit.so */

/* A static text for any status; never released. */
char const *HYX_ReturnStatusToString(HYX_ReturnStatus status);
/* Reports a fatal condition; the variadic tail is formatted as by printf. */
void Panic(char const *fmt, ...);

HYX_EXTERN_C_END

#endif
