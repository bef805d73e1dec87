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

typedef enum ForwardingMode {
   FORWARDING_MODE_INVALID = 0,
   FORWARDING_MODE_IPV4_ONLY = 1,
   FORWARDING_MODE_IPV6_ONLY = 2,
   FORWARDING_MODE_IPV4_AND_IPV6 = 3
} ForwardingMode;

typedef struct HYX_PACKED VSForwardingMode {
   ForwardingMode forwardingMode;
} VSForwardingMode;

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

/* Only one of the four pointers is meaningful at a time. */
typedef struct HYX_PACKED VSwitchEntriesInfo {
   union {
      VSMACLearningEntries *macEntries;
      VSL2Security *L2secEntries;
      VSMACLearningStats *stats;
      VSSwitchPortInfo *info;
   };
   hyx_uint32 numEntriesToCopy;
} VSwitchEntriesInfo;

#ifndef SWIG
HYX_CHECK_OFFSET(VSList, count, 0);
HYX_CHECK_OFFSET(VSList, listType, 4);
HYX_CHECK_OFFSET(VSList, switches, 8);
HYX_CHECK_SIZE(VSList, 8);
HYX_CHECK_OFFSET(VSForwardingMode, forwardingMode, 0);
HYX_CHECK_SIZE(VSForwardingMode, 4);
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
HYX_CHECK_OFFSET(VSwitchEntriesInfo, macEntries, 0);
HYX_CHECK_OFFSET(VSwitchEntriesInfo, info, 0);
HYX_CHECK_OFFSET(VSwitchEntriesInfo, numEntriesToCopy, 8);
HYX_CHECK_SIZE(VSwitchEntriesInfo, 12);
#endif

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
