/* Uplinks, NIC teaming and link aggregation: a switch's live uplink table and
 * the link state of its uplinks, the configured uplink ports of a distributed
 * switch, the teaming policy of a switch and of its ports, the named teaming
 * policies of logical switches and the link aggregation groups (LAGs). */
#ifndef TESSEL_HOSTAPI_TEAMING_H
#define TESSEL_HOSTAPI_TEAMING_H

#include "hostapi/common.h"
#include "hostapi/kernel.h"

#ifndef SWIG
/* Uplink slots of a teaming policy. */
#define HYX_TEAM_MAX_UPLINKS 32
/* Width of an uplink port name slot, with its NUL. */
#define VS_UPLINK_PORT_NAME_LEN 81
/* Width of a distributed port ID slot, with its NUL. */
#define VS_UPLINK_PORT_ID_LEN 48
/* Width of a logical-switch teaming policy name, with its NUL. */
#define VS_LS_TEAM_POLICY_NAME_LEN 136
/* Width of a LAG name, with its NUL. */
#define VS_LAG_NAME_LEN 68
/* Width of a name in the live uplink table and of a LAG member name. */
#define VS_UPLINK_NAME_LEN 32

/* loadBalance of a teaming policy: one of these. */
#define TEAM_FRP_TYPE_NONE 0
#define TEAM_FRP_TYPE_LB_IP 1
#define TEAM_FRP_TYPE_LB_SRCMAC 2
#define TEAM_FRP_TYPE_LB_SRCID 3
#define TEAM_FRP_TYPE_FO_EXPLICIT 4
#define TEAM_FRP_TYPE_LB_LBT 5
/* linkCriteria of a teaming policy: a set of these bits. */
#define TEAM_FRP_CRIT_LINK_SPEED 0x1
#define TEAM_FRP_CRIT_LINK_SPEED_GTE 0x2
#define TEAM_FRP_CRIT_LINK_DUPLEX 0x4
#define TEAM_FRP_CRIT_LACP_PORT_DOWN 0x8
#define TEAM_FRP_CRIT_BEACON_STATE 0x20
#define TEAM_FRP_CRIT_LINK_ERR 0x40
#define TEAM_FRP_CRIT_LINK_STATE 0x80
#define TEAM_FRP_CRIT_PORT_BLOCKED 0x100
#define TEAM_FRP_CRIT_DRV_PRESENT 0x200
/* flags of a teaming policy: a set of these bits. */
#define TEAM_FRP_FLAG_ALL_AVAILABLE 0x1
#define TEAM_FRP_FLAG_REVERSE 0x2
#define TEAM_FRP_FLAG_BEST_EFFORT 0x4
#define TEAM_FRP_FLAG_ROLLING 0x8
#define TEAM_FRP_FLAG_SHOTGUN 0x10
#define TEAM_FRP_FLAG_NOTIFY_SWITCH 0x20
#define TEAM_FRP_FLAG_BLOCK_OUTPUT 0x40
#define TEAM_FRP_FLAG_LACP_CLIENT 0x40000
/* The property keys under which the distributed-switch store shows a
 * switch's configured uplink ports and a switch's and a port's teaming
 * policy. */
#define HYX_ZARPROP_SWITCH_UPLINKPORTS "com.kestra.common.uplinkPorts"
#define VSPROP_SWITCH_TEAMING "com.kestra.vswitch.teaming"
#define VSPROP_PORT_TEAMING_POLICY "com.kestra.vswitch.port.teaming.policy"
#endif

/* ---- Uplinks and link state ---- */

/* One uplink of a switch's live uplink table. */
typedef struct HYX_PACKED VSUplinks_entries {
   hyx_Name name;
   hyx_SwitchPortID portID;
} VSUplinks_entries;
HYX_CHECK_OFFSET(VSUplinks_entries, name, 0);
HYX_CHECK_OFFSET(VSUplinks_entries, portID, 32);
HYX_CHECK_SIZE(VSUplinks_entries, 36);

/* The live uplink table of a switch: numEntries entries follow the header. */
typedef struct HYX_PACKED VSUplinks {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSUplinks_entries entries[0];
} VSUplinks;
HYX_CHECK_OFFSET(VSUplinks, totalEntries, 0);
HYX_CHECK_OFFSET(VSUplinks, numEntries, 4);
HYX_CHECK_OFFSET(VSUplinks, entries, 8);
HYX_CHECK_SIZE(VSUplinks, 8);

/* The configured uplink port names of a distributed switch: nUplinkPorts
 * name slots of 81 bytes follow the count. */
typedef struct HYX_PACKED VSUplinkPorts {
   hyx_uint32 nUplinkPorts;
   char uplinkPortName[0][81];
} VSUplinkPorts;
HYX_CHECK_OFFSET(VSUplinkPorts, nUplinkPorts, 0);
HYX_CHECK_OFFSET(VSUplinkPorts, uplinkPortName, 4);
HYX_CHECK_SIZE(VSUplinkPorts, 4);

/* The distributed port IDs of the configured uplink ports, slot i belonging
 * to name slot i: nUplinkPorts ID slots of 48 bytes follow the count. */
typedef struct HYX_PACKED VSUplinkPortIds {
   hyx_uint32 nUplinkPorts;
   char uplinkPortId[0][48];
} VSUplinkPortIds;
HYX_CHECK_OFFSET(VSUplinkPortIds, nUplinkPorts, 0);
HYX_CHECK_OFFSET(VSUplinkPortIds, uplinkPortId, 4);
HYX_CHECK_SIZE(VSUplinkPortIds, 4);

HYX_EXTERN_C_BEGIN

/* Uplinks are named by their client name (uplink0).  Tables handed out
 * belong to the library: release them with VSHYX_FreeMemory.  A NULL
 * argument gives HYX_BAD_PARAM, an unknown switch or uplink HYX_NOT_FOUND;
 * out values are written only on HYX_OK. */

/* Fills *uplinks with the uplinks of the named switch, in port order. */
HYX_ReturnStatus VSHYX_GetUplinks(char const *switchName, VSUplinks **uplinks);
/* The link state of an uplink: down while the uplink is administratively
 * down, otherwise its physical state. */
HYX_ReturnStatus VSHYX_GetUplinkLinkState(char const *switchName, char const *uplinkName,
                                          hyx_LinkState *state);
/* The link state LACP reports for an uplink that is a member of a LAG;
 * HYX_NOT_FOUND for an uplink in no LAG. */
HYX_ReturnStatus VSHYX_GetUplinkLACPLinkState(char const *switchName, char const *uplinkName,
                                              hyx_LinkState *state);
/* Sets an uplink administratively up or down; any other state gives
 * HYX_BAD_PARAM. */
HYX_ReturnStatus VSHYX_SetUplinkAdminLinkState(char const *switchName, char const *uplinkName,
                                               hyx_LinkState state);
/* Writes the ID of the distributed port bound to an uplink (at most 48
 * bytes, NUL-terminated when shorter) into dvPortId; HYX_NOT_FOUND for an
 * uplink of no distributed switch. */
HYX_ReturnStatus VSHYX_GetUplinkDVPortID(char const *uplinkName, char *dvPortId);

/* The configured uplink ports of a distributed switch (HYX_NOT_SUPPORTED for
 * a standard switch), at most HYX_TEAM_MAX_UPLINKS of them.  Get hands out
 * both lists, which belong to the library. */
HYX_ReturnStatus VSDVS_GetSwitchUplinkPorts(char const *switchName, VSUplinkPorts **ports,
                                            VSUplinkPortIds **portIds);
/* Replaces the whole list.  The two lists must have the same count (at most
 * HYX_TEAM_MAX_UPLINKS, else HYX_LIMIT_EXCEEDED) and every slot must hold a
 * NUL within its width, a name must be non-empty and unique: otherwise
 * HYX_BAD_PARAM and nothing changes. */
HYX_ReturnStatus VSDVS_SetSwitchUplinkPorts(char const *switchName, VSUplinkPorts const *ports,
                                            VSUplinkPortIds const *portIds);
/* Adds one uplink port (HYX_EXISTS when listed, HYX_LIMIT_EXCEEDED when the
 * list is full); its distributed port ID is the one of the switch's port of
 * that name, or empty. */
HYX_ReturnStatus VSDVS_AddSwitchUplinkPort(char const *switchName, char const *uplinkPort);
/* Removes one uplink port (HYX_NOT_FOUND when not listed). */
HYX_ReturnStatus VSDVS_RemoveSwitchUplinkPort(char const *switchName, char const *uplinkPort);
HYX_ReturnStatus VSDVS_ClearSwitchUplinkPorts(char const *switchName);

HYX_EXTERN_C_END

/* ---- Teaming policy ---- */

/* A NIC teaming policy: how traffic is spread over the uplinks, what counts
 * as a failure, and the uplinks: the first numActive slots are the active
 * uplinks, the next numStandby the standby ones. */
typedef struct HYX_PACKED VSTeamPolicy {
   hyx_uint32 loadBalance;
   hyx_uint32 linkCriteria;
   hyx_uint8 percentError;
   hyx_uint8 fullDuplex;
   hyx_uint16 speed;
   hyx_uint32 flags;
   hyx_uint32 numActive;
   hyx_uint32 numStandby;
   char uplinkPortName[32][81];
} VSTeamPolicy;
HYX_CHECK_OFFSET(VSTeamPolicy, loadBalance, 0);
HYX_CHECK_OFFSET(VSTeamPolicy, linkCriteria, 4);
HYX_CHECK_OFFSET(VSTeamPolicy, percentError, 8);
HYX_CHECK_OFFSET(VSTeamPolicy, fullDuplex, 9);
HYX_CHECK_OFFSET(VSTeamPolicy, speed, 10);
HYX_CHECK_OFFSET(VSTeamPolicy, flags, 12);
HYX_CHECK_OFFSET(VSTeamPolicy, numActive, 16);
HYX_CHECK_OFFSET(VSTeamPolicy, numStandby, 20);
HYX_CHECK_OFFSET(VSTeamPolicy, uplinkPortName, 24);
HYX_CHECK_SIZE(VSTeamPolicy, 2616);

/* Teaming counters of a switch's service port. */
typedef struct HYX_PACKED VSServicePortTeamingStats {
   hyx_uint64 txFromSrvPort;
   hyx_uint64 txUsingSrvPortFRP;
   hyx_uint64 txUsingPktSrcPortFRP;
   hyx_uint64 txErrors;
   hyx_uint64 rxToSrvPort;
   hyx_uint64 rxRpfOverride;
} VSServicePortTeamingStats;
HYX_CHECK_OFFSET(VSServicePortTeamingStats, txFromSrvPort, 0);
HYX_CHECK_OFFSET(VSServicePortTeamingStats, txUsingSrvPortFRP, 8);
HYX_CHECK_OFFSET(VSServicePortTeamingStats, txUsingPktSrcPortFRP, 16);
HYX_CHECK_OFFSET(VSServicePortTeamingStats, txErrors, 24);
HYX_CHECK_OFFSET(VSServicePortTeamingStats, rxToSrvPort, 32);
HYX_CHECK_OFFSET(VSServicePortTeamingStats, rxRpfOverride, 40);
HYX_CHECK_SIZE(VSServicePortTeamingStats, 48);

HYX_EXTERN_C_BEGIN

/* Policies are read into and from the caller's record.  A policy given is
 * checked before anything is stored: loadBalance one of the TEAM_FRP_TYPE_*
 * values, linkCriteria and flags known bits, numActive + numStandby at most
 * HYX_TEAM_MAX_UPLINKS, each counted slot a non-empty name with a NUL within
 * its 81 bytes; otherwise HYX_BAD_PARAM.  A port without a policy of its own
 * follows its switch's, and a switch without one the host's default
 * (explicit failover over its uplinks in port order). */
HYX_ReturnStatus VSDVS_GetTeamingPolicy(char const *switchName, VSTeamPolicy *policy);
/* The policy of the distributed switch whose identity (its DVS name) is
 * dvsId. */
HYX_ReturnStatus VSDVS_GetTeamingPolicyFromDVSID(char const *dvsId, VSTeamPolicy *policy);
HYX_ReturnStatus VSDVS_SetTeamingPolicy(char const *switchName, VSTeamPolicy const *policy);
HYX_ReturnStatus VSDVS_ClearTeamingPolicy(char const *switchName);
HYX_ReturnStatus VSDVS_GetPortTeamingPolicy(char const *switchName, char const *portName,
                                            VSTeamPolicy *policy);
HYX_ReturnStatus VSDVS_SetPortTeamingPolicy(char const *switchName, char const *portName,
                                            VSTeamPolicy const *policy);
HYX_ReturnStatus VSDVS_ClearPortTeamingPolicy(char const *switchName, char const *portName);
/* The one uplink a port is pinned to: written into overrideUplink (at most 81
 * bytes); an empty name when the port has none. */
HYX_ReturnStatus VSDVS_GetPortTeamingOverride(char const *switchName, char const *portName,
                                              char *overrideUplink);
/* Pins a port to an uplink of its switch (HYX_NOT_FOUND for another name). */
HYX_ReturnStatus VSDVS_SetPortTeamingOverride(char const *switchName, char const *portName,
                                              char const *uplinkName);
HYX_ReturnStatus VSDVS_ClearPortTeamingOverride(char const *switchName, char const *portName);
/* Whether a port always transmits on its uplink (0 or 1). */
HYX_ReturnStatus VSDVS_GetTxUplinkAlways(char const *switchName, char const *portName,
                                         hyx_Bool *txUplinkAlways);
HYX_ReturnStatus VSDVS_SetTxUplinkAlways(char const *switchName, char const *portName,
                                         hyx_Bool txUplinkAlways);
/* Fills the caller's record with the teaming counters of the switch's
 * service port (all zero when it has none). */
HYX_ReturnStatus VSHYX_GetServicePortTeamingStats(char const *switchName,
                                                  VSServicePortTeamingStats *stats);
/* Writes the name of the uplink the port's traffic leaves on into the
 * caller's record: its override when that uplink is up, else the first
 * active (then standby) uplink of its policy whose link is up;
 * HYX_NOT_FOUND when no uplink of the policy is up. */
HYX_ReturnStatus VSHYX_PortGetTeamUplinkHint(hyx_SwitchPortID portID, hyx_Name *uplinkName);

HYX_EXTERN_C_END

/* ---- Logical-switch teaming table ---- */

#ifndef SWIG
typedef char LSTeamPolicyName[(32 * 4) + 8];
#endif

/* One named teaming policy of a logical switch. */
typedef struct HYX_PACKED LSTeamPolicy {
   /* clang-format off */
   char name[(32*4) +8];
   /* clang-format on */
   hyx_uint32 loadBalance;
   hyx_uint32 linkCriteria;
   hyx_uint32 flags;
   hyx_uint32 numActive;
   hyx_uint32 numStandby;
   char uplinkPortName[32][81];
} LSTeamPolicy;
HYX_CHECK_OFFSET(LSTeamPolicy, name, 0);
HYX_CHECK_OFFSET(LSTeamPolicy, loadBalance, 136);
HYX_CHECK_OFFSET(LSTeamPolicy, linkCriteria, 140);
HYX_CHECK_OFFSET(LSTeamPolicy, flags, 144);
HYX_CHECK_OFFSET(LSTeamPolicy, numActive, 148);
HYX_CHECK_OFFSET(LSTeamPolicy, numStandby, 152);
HYX_CHECK_OFFSET(LSTeamPolicy, uplinkPortName, 156);
HYX_CHECK_SIZE(LSTeamPolicy, 2748);

/* The teaming policies of a switch's logical switches: numLSTeam policies
 * follow the count. */
typedef struct HYX_PACKED LSTeamTable {
   hyx_uint32 numLSTeam;
   LSTeamPolicy lsTeamPolicy[0];
} LSTeamTable;
HYX_CHECK_OFFSET(LSTeamTable, numLSTeam, 0);
HYX_CHECK_OFFSET(LSTeamTable, lsTeamPolicy, 4);
HYX_CHECK_SIZE(LSTeamTable, 4);

#ifndef SWIG
/* Policies a switch keeps at most. */
#define VS_LS_TEAM_POLICIES_MAX 64
#endif

HYX_EXTERN_C_BEGIN

/* Fills *table with the named policies of a switch (the live table and the
 * distributed configuration are the same here); it belongs to the library. */
HYX_ReturnStatus VSHYX_GetLSTeamingPolicyTable(char *switchName, LSTeamTable **table);
HYX_ReturnStatus VSDVS_GetLSTeamingPolicyTable(char const *switchName, LSTeamTable **table);
/* Replaces the named policies with the table's, which is read during the
 * call only: at most VS_LS_TEAM_POLICIES_MAX (HYX_LIMIT_EXCEEDED), each name
 * non-empty, NUL-terminated within its field and unique, and each policy
 * valid as a teaming policy is; otherwise HYX_BAD_PARAM and nothing changes.
 * Ports whose policy is no longer named lose their choice. */
HYX_ReturnStatus VSDVS_SetLSTeamingPolicy(char const *switchName, LSTeamTable const *table);
HYX_ReturnStatus VSDVS_ClearLSTeamingPolicy(char const *switchName);
/* A port's choice of one named policy (HYX_NOT_FOUND for a name the switch
 * does not have). */
HYX_ReturnStatus VSDVS_SetPortLSTeamingPolicy(char const *switchName, char const *portName,
                                              char const *policyName);
HYX_ReturnStatus VSDVS_ClearPortLSTeamingPolicy(char const *switchName, char const *portName);
/* Writes the name of the port's chosen policy (empty for none) into
 * chosenPolicy (at most 136 bytes). */
HYX_ReturnStatus VSHYX_GetPortLSTeamingPolicyName(hyx_SwitchPortID portID, char *chosenPolicy);
HYX_ReturnStatus VSDVS_GetPortLSTeamingPolicyName(char const *switchName, char const *portName,
                                                  char *chosenPolicy);

HYX_EXTERN_C_END

/* ---- Link aggregation ---- */

/* The status of one LAG: the fixed header, then numUplinks member names of
 * 32 bytes each. */
typedef struct HYX_PACKED VSLAGStatus {
   hyx_LinkState state;
   hyx_uint32 id;
   hyx_uint8 name[68];
   hyx_uint64 uplinkLinkupBitmap;
   hyx_uint32 numUplinks;
   hyx_Name uplinkNames[0];
} VSLAGStatus;
HYX_CHECK_OFFSET(VSLAGStatus, state, 0);
HYX_CHECK_OFFSET(VSLAGStatus, id, 4);
HYX_CHECK_OFFSET(VSLAGStatus, name, 8);
HYX_CHECK_OFFSET(VSLAGStatus, uplinkLinkupBitmap, 76);
HYX_CHECK_OFFSET(VSLAGStatus, numUplinks, 84);
HYX_CHECK_OFFSET(VSLAGStatus, uplinkNames, 88);
HYX_CHECK_SIZE(VSLAGStatus, 88);

/* The LAGs of a switch: numLAGs LAG records of their own lengths follow the
 * count, end to end. */
typedef struct HYX_PACKED VSLAGTable {
   hyx_uint32 numLAGs;
} VSLAGTable;
HYX_CHECK_OFFSET(VSLAGTable, numLAGs, 0);
HYX_CHECK_SIZE(VSLAGTable, 4);

HYX_EXTERN_C_BEGIN

/* Fills *table with the LAGs of a switch; bit i of a LAG's
 * uplinkLinkupBitmap is set while member i's link is up, and the LAG is up
 * while any member is.  The table belongs to the library. */
HYX_ReturnStatus VSHYX_GetLAGTable(char const *switchName, VSLAGTable **table);

HYX_EXTERN_C_END

#endif
