/* Port mirroring: the records of the mirror session table a distributed
 * switch keeps (sessions, their source and destination entities, filter
 * rules and prefixes), the calls that read, replace, extend, shorten and
 * clear it, and what the running switch reports about its sessions. */
#ifndef TESSEL_HOSTAPI_MIRROR_H
#define TESSEL_HOSTAPI_MIRROR_H

#include "hostapi/common.h"
#include "hostapi/kernel.h"

typedef hyx_int32 hyx_WorldID;
/* A session identifier and a session's display name. */
typedef char DVMirrorSID[32];
typedef char VSDVMirrorSID[32];
typedef char DVMirrorDName[81];
typedef char VSDVMirrorDName[81];

typedef enum DVMirrorVersion {
   VS_DVMIRROR_VERSION_V1 = 1,
   VS_DVMIRROR_VERSION_V2 = 2,
   VS_DVMIRROR_VERSION_V3 = 3,
   VS_DVMIRROR_VERSION_V4 = 4,
   VS_DVMIRROR_VERSION_UNSUPPORTED = 5
} DVMirrorVersion;

typedef enum DVMirrorFlags {
   VS_DVMIRROR_FLAG_DST_NO_OUTPUT = 1,
   VS_DVMIRROR_FLAG_DST_NO_INPUT = 2,
   VS_DVMIRROR_FLAG_DST_ORIG_VLAN = 4,
   VS_DVMIRROR_FLAG_DST_ENCAP = 8,
   VS_DVMIRROR_FLAG_LEGACY = 16,
   VS_DVMIRROR_FLAG_DISABLED = 32,
   VS_DVMIRROR_FLAG_SRC_UPLINK_MIRROR = 64
} DVMirrorFlags;

typedef enum DVMirrorWildcards {
   VS_DVMIRROR_WILDCARD_VMM = 1,
   VS_DVMIRROR_WILDCARD_PNIC = 2,
   VS_DVMIRROR_WILDCARD_COS = 4,
   VS_DVMIRROR_WILDCARD_TCPIP = 8,
   VS_DVMIRROR_WILDCARD_TEST = 16
} DVMirrorWildcards;

typedef enum DVMirrorSessionType {
   VS_DVMIRROR_SESSIONTYPE_MIXDST = 0,
   VS_DVMIRROR_SESSIONTYPE_DVPORT = 1,
   VS_DVMIRROR_SESSIONTYPE_RMIRROR_SRC = 2,
   VS_DVMIRROR_SESSIONTYPE_RMIRROR_DST = 3,
   VS_DVMIRROR_SESSIONTYPE_ERMIRROR_SRC = 4,
   VS_DVMIRROR_SESSIONTYPE_LOGICAL_DVPORT = 5
} DVMirrorSessionType;

typedef enum DVMirrorEntityType {
   MIRROR_ENTTYPE_DVPORT = 0,
   MIRROR_ENTTYPE_UPLINK = 1,
   MIRROR_ENTTYPE_VLAN = 2,
   MIRROR_ENTTYPE_IP = 3,
   MIRROR_ENTTYPE_PORT = 4,
   MIRROR_ENTTYPE_MAC = 5
} DVMirrorEntityType;

typedef enum DVMirrorFilterType {
   MIRROR_UPLINK_FILTER_NONE = 0,
   MIRROR_UPLINK_FILTER_NORMAL = 1,
   MIRROR_UPLINK_FILTER_STT = 2,
   MIRROR_UPLINK_FILTER_VXLAN = 3,
   MIRROR_UPLINK_FILTER_GENEVE = 4,
   MIRROR_UPLINK_FILTER_ALL_ENCAP = 5,
   MIRROR_UPLINK_FILTER_TYPE_MAX = 6
} DVMirrorFilterType;

typedef enum DVMirrorEncapType {
   DVMIRROR_ENCAP_GRE = 0,
   DVMIRROR_ENCAP_ERSPAN2 = 1,
   DVMIRROR_ENCAP_ERSPAN3 = 2,
   DVMIRROR_ENCAP_TYPE_MAX = 3
} DVMirrorEncapType;

typedef enum DVMirrorFilterAction {
   ACTION_DONT_MIRROR = 0,
   ACTION_MIRROR = 1
} DVMirrorFilterAction;

#ifndef SWIG
/* The pattern of a table's magicNum. */
#define VS_DVMIRROR_MAGIC_NUM 0xFACEBEEFu
/* snapLen of a session that keeps whole frames. */
#define VS_DVMIRROR_SNAPLEN_COMPLETE 0xFFFFFFFFu
#define VS_DVMIRROR_DEFAULT_LEGACY_SESSION_SID "legacy_promiscuous"
#define VS_DVMIRROR_DEFAULT_LEGACY_SESSION_DNAME "legacy_promiscuous"
/* Slots of VSDVMirrorAgentWorldStats.worlds. */
#define MIRROR_AGENT_WORLD_NUM 3
/* Limits of a table the host accepts. */
#define VS_DVMIRROR_SESSIONS_MAX 64
#define VS_DVMIRROR_ENTITIES_MAX 4096
#endif

/* An IPv4 or IPv6 address. */
typedef struct HYX_PACKED DVMirrorIP {
   hyx_Bool isIPv6;
   hyx_uint8 pad[3];
   union HYX_PACKED {
      hyx_SocketIPAddressAddr ipv4;
      hyx_SocketIPv6AddressAddr ipv6;
   };
} DVMirrorIP;
HYX_CHECK_OFFSET(DVMirrorIP, isIPv6, 0);
HYX_CHECK_OFFSET(DVMirrorIP, pad, 1);
HYX_CHECK_OFFSET(DVMirrorIP, ipv4, 4);
HYX_CHECK_OFFSET(DVMirrorIP, ipv6, 4);
HYX_CHECK_SIZE(DVMirrorIP, 20);

/* An address prefix of a filter rule. */
typedef struct HYX_PACKED DVMirrorIpPrefix {
   hyx_Bool isIPv6;
   hyx_uint8 prefix_length;
   hyx_uint8 pad[2];
   union HYX_PACKED {
      hyx_SocketIPAddressAddr ipv4;
      hyx_SocketIPv6AddressAddr ipv6;
   };
} DVMirrorIpPrefix;
HYX_CHECK_OFFSET(DVMirrorIpPrefix, isIPv6, 0);
HYX_CHECK_OFFSET(DVMirrorIpPrefix, prefix_length, 1);
HYX_CHECK_OFFSET(DVMirrorIpPrefix, pad, 2);
HYX_CHECK_OFFSET(DVMirrorIpPrefix, ipv4, 4);
HYX_CHECK_OFFSET(DVMirrorIpPrefix, ipv6, 4);
HYX_CHECK_SIZE(DVMirrorIpPrefix, 20);

/* A transport port range. */
typedef struct HYX_PACKED DVMirrorPortRanage {
   hyx_uint16 begin;
   hyx_uint16 end;
} DVMirrorPortRanage;
HYX_CHECK_OFFSET(DVMirrorPortRanage, begin, 0);
HYX_CHECK_OFFSET(DVMirrorPortRanage, end, 2);
HYX_CHECK_SIZE(DVMirrorPortRanage, 4);

/* One traffic filter of a session; byte 8 holds the four bit-fields, least
 * significant bit first. */
typedef struct HYX_PACKED DVMirrorFilterRule {
   hyx_uint16 startIPIdx;
   hyx_uint16 numSrcIPs;
   hyx_uint16 numDstIPs;
   hyx_uint16 protocol;
   hyx_uint8 has_protocol : 1;
   hyx_uint8 has_srcports : 1;
   hyx_uint8 has_dstports : 1;
   hyx_uint8 reserved : 5;
   DVMirrorPortRanage srcPorts;
   DVMirrorPortRanage dstPorts;
   DVMirrorFilterAction action;
} DVMirrorFilterRule;
HYX_CHECK_OFFSET(DVMirrorFilterRule, startIPIdx, 0);
HYX_CHECK_OFFSET(DVMirrorFilterRule, numSrcIPs, 2);
HYX_CHECK_OFFSET(DVMirrorFilterRule, numDstIPs, 4);
HYX_CHECK_OFFSET(DVMirrorFilterRule, protocol, 6);
HYX_CHECK_OFFSET(DVMirrorFilterRule, srcPorts, 9);
HYX_CHECK_OFFSET(DVMirrorFilterRule, dstPorts, 13);
HYX_CHECK_OFFSET(DVMirrorFilterRule, action, 17);
HYX_CHECK_SIZE(DVMirrorFilterRule, 21);

/* One source or destination of a session; type says which member of the
 * union is meaningful. */
typedef struct HYX_PACKED DVMirrorEntity {
   DVMirrorEntityType type;
   union HYX_PACKED {
      char dvPortId[48];
      hyx_Name uplink;
      hyx_uint16 vlan;
      DVMirrorIP ip;
      hyx_uint32 portId;
      unsigned char mac[6];
   };
} DVMirrorEntity;
HYX_CHECK_OFFSET(DVMirrorEntity, type, 0);
HYX_CHECK_OFFSET(DVMirrorEntity, dvPortId, 4);
HYX_CHECK_OFFSET(DVMirrorEntity, uplink, 4);
HYX_CHECK_OFFSET(DVMirrorEntity, vlan, 4);
HYX_CHECK_OFFSET(DVMirrorEntity, ip, 4);
HYX_CHECK_OFFSET(DVMirrorEntity, portId, 4);
HYX_CHECK_OFFSET(DVMirrorEntity, mac, 4);
HYX_CHECK_SIZE(DVMirrorEntity, 52);

/* One mirror session; its entities are the run of numDstEntities +
 * numSrcInEntities + numSrcOutEntities records from startIdx of the table's
 * entity array (destinations, then ingress sources, then egress sources). */
typedef struct HYX_PACKED DVMirrorSession {
   char sid[32];
   char dname[81];
   char pad0[3];
   DVMirrorSessionType type;
   hyx_uint32 snapLen;
   hyx_uint32 flags;
   hyx_uint16 encapVlan;
   hyx_uint16 wildIn;
   hyx_uint16 wildOut;
   hyx_uint16 pad1;
   hyx_uint32 samplingRate;
   hyx_uint32 greKey;
   DVMirrorFilterType uplinkFilter;
   hyx_Bool stack;
   DVMirrorEncapType encapType;
   hyx_uint16 erspanID;
   hyx_uint8 erspanCOS;
   hyx_uint8 erspanGra;
   hyx_uint16 numFilterRules;
   hyx_uint16 startRuleIdx;
   char pad2[55];
   hyx_uint32 numDstEntities;
   hyx_uint32 numSrcInEntities;
   hyx_uint32 numSrcOutEntities;
   hyx_uint32 startIdx;
} DVMirrorSession;
HYX_CHECK_OFFSET(DVMirrorSession, sid, 0);
HYX_CHECK_OFFSET(DVMirrorSession, dname, 32);
HYX_CHECK_OFFSET(DVMirrorSession, pad0, 113);
HYX_CHECK_OFFSET(DVMirrorSession, type, 116);
HYX_CHECK_OFFSET(DVMirrorSession, snapLen, 120);
HYX_CHECK_OFFSET(DVMirrorSession, flags, 124);
HYX_CHECK_OFFSET(DVMirrorSession, encapVlan, 128);
HYX_CHECK_OFFSET(DVMirrorSession, wildIn, 130);
HYX_CHECK_OFFSET(DVMirrorSession, wildOut, 132);
HYX_CHECK_OFFSET(DVMirrorSession, pad1, 134);
HYX_CHECK_OFFSET(DVMirrorSession, samplingRate, 136);
HYX_CHECK_OFFSET(DVMirrorSession, greKey, 140);
HYX_CHECK_OFFSET(DVMirrorSession, uplinkFilter, 144);
HYX_CHECK_OFFSET(DVMirrorSession, stack, 148);
HYX_CHECK_OFFSET(DVMirrorSession, encapType, 149);
HYX_CHECK_OFFSET(DVMirrorSession, erspanID, 153);
HYX_CHECK_OFFSET(DVMirrorSession, erspanCOS, 155);
HYX_CHECK_OFFSET(DVMirrorSession, erspanGra, 156);
HYX_CHECK_OFFSET(DVMirrorSession, numFilterRules, 157);
HYX_CHECK_OFFSET(DVMirrorSession, startRuleIdx, 159);
HYX_CHECK_OFFSET(DVMirrorSession, pad2, 161);
HYX_CHECK_OFFSET(DVMirrorSession, numDstEntities, 216);
HYX_CHECK_OFFSET(DVMirrorSession, numSrcInEntities, 220);
HYX_CHECK_OFFSET(DVMirrorSession, numSrcOutEntities, 224);
HYX_CHECK_OFFSET(DVMirrorSession, startIdx, 228);
HYX_CHECK_SIZE(DVMirrorSession, 232);

/* The session table block: this header, numSessions sessions, numEntities
 * entities, then numFilterRules rules and numFilterIPs prefixes, each array
 * directly after the one before. */
typedef struct HYX_PACKED DVMirrorSessionTable {
   hyx_uint32 magicNum;
   DVMirrorVersion version;
   hyx_uint32 numSessions;
   hyx_uint32 numEntities;
   hyx_uint16 numFilterRules;
   hyx_uint16 numFilterIPs;
   DVMirrorSession sessions[0];
} DVMirrorSessionTable;
HYX_CHECK_OFFSET(DVMirrorSessionTable, magicNum, 0);
HYX_CHECK_OFFSET(DVMirrorSessionTable, version, 4);
HYX_CHECK_OFFSET(DVMirrorSessionTable, numSessions, 8);
HYX_CHECK_OFFSET(DVMirrorSessionTable, numEntities, 12);
HYX_CHECK_OFFSET(DVMirrorSessionTable, numFilterRules, 16);
HYX_CHECK_OFFSET(DVMirrorSessionTable, numFilterIPs, 18);
HYX_CHECK_OFFSET(DVMirrorSessionTable, sessions, 20);
HYX_CHECK_SIZE(DVMirrorSessionTable, 20);

/* The identifiers of the sessions active on a switch: numEntries 32-byte
 * identifiers follow the header. */
typedef struct HYX_PACKED VSDVMirrorSessionIDs {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   char entries[0][32];
} VSDVMirrorSessionIDs;
HYX_CHECK_OFFSET(VSDVMirrorSessionIDs, totalEntries, 0);
HYX_CHECK_OFFSET(VSDVMirrorSessionIDs, numEntries, 4);
HYX_CHECK_OFFSET(VSDVMirrorSessionIDs, entries, 8);
HYX_CHECK_SIZE(VSDVMirrorSessionIDs, 8);

/* The ports that receive promiscuous (legacy) mirroring: numEntries port
 * IDs follow the header. */
typedef struct HYX_PACKED VSPromiscSessionActiveDsts {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   hyx_SwitchPortID entries[0];
} VSPromiscSessionActiveDsts;
HYX_CHECK_OFFSET(VSPromiscSessionActiveDsts, totalEntries, 0);
HYX_CHECK_OFFSET(VSPromiscSessionActiveDsts, numEntries, 4);
HYX_CHECK_OFFSET(VSPromiscSessionActiveDsts, entries, 8);
HYX_CHECK_SIZE(VSPromiscSessionActiveDsts, 8);

/* Counters of one session. */
typedef struct HYX_PACKED VSDVMirrorSessionStats {
   hyx_uint64 mirrorPktCnt;
   hyx_uint64 mirrorPktFailCnt;
   hyx_uint64 mirroredPkts;
   hyx_uint64 discardedPkts;
   hyx_uint64 failedPkts;
   char name[81];
} VSDVMirrorSessionStats;
HYX_CHECK_OFFSET(VSDVMirrorSessionStats, mirrorPktCnt, 0);
HYX_CHECK_OFFSET(VSDVMirrorSessionStats, mirrorPktFailCnt, 8);
HYX_CHECK_OFFSET(VSDVMirrorSessionStats, mirroredPkts, 16);
HYX_CHECK_OFFSET(VSDVMirrorSessionStats, discardedPkts, 24);
HYX_CHECK_OFFSET(VSDVMirrorSessionStats, failedPkts, 32);
HYX_CHECK_OFFSET(VSDVMirrorSessionStats, name, 40);
HYX_CHECK_SIZE(VSDVMirrorSessionStats, 121);

/* Counters of one worker context of the mirror agent. */
typedef struct HYX_PACKED VSDVMirrorAgentWorld {
   hyx_WorldID worldID;
   hyx_uint16 portCnt;
   hyx_uint16 requestNum;
   hyx_uint64 socketTxPkts;
   hyx_uint64 socketErrors;
} VSDVMirrorAgentWorld;
HYX_CHECK_OFFSET(VSDVMirrorAgentWorld, worldID, 0);
HYX_CHECK_OFFSET(VSDVMirrorAgentWorld, portCnt, 4);
HYX_CHECK_OFFSET(VSDVMirrorAgentWorld, requestNum, 6);
HYX_CHECK_OFFSET(VSDVMirrorAgentWorld, socketTxPkts, 8);
HYX_CHECK_OFFSET(VSDVMirrorAgentWorld, socketErrors, 16);
HYX_CHECK_SIZE(VSDVMirrorAgentWorld, 24);

/* Every worker context; numWorlds slots are meaningful. */
typedef struct HYX_PACKED VSDVMirrorAgentWorldStats {
   VSDVMirrorAgentWorld worlds[3];
   hyx_uint32 numWorlds;
} VSDVMirrorAgentWorldStats;
HYX_CHECK_OFFSET(VSDVMirrorAgentWorldStats, worlds, 0);
HYX_CHECK_OFFSET(VSDVMirrorAgentWorldStats, numWorlds, 72);
HYX_CHECK_SIZE(VSDVMirrorAgentWorldStats, 76);

#ifndef SWIG
HYX_STATIC_ASSERT(sizeof(DVMirrorEntityType) == 4, "entity type is four bytes");
HYX_STATIC_ASSERT(sizeof(DVMirrorEncapType) == 4, "encapsulation type is four bytes");
#endif

HYX_EXTERN_C_BEGIN

/* Session tables of a distributed switch.  switchName is the switch's
 * portset name and dvsName the alias of that same distributed switch; NULL
 * for either gives HYX_BAD_PARAM, an unknown switch HYX_NOT_FOUND, a
 * standard switch or an alias of another switch HYX_BAD_PARAM.
 *
 * A table passed in is only read.  It must carry VS_DVMIRROR_MAGIC_NUM and a
 * version from V1 to V4, at most VS_DVMIRROR_SESSIONS_MAX sessions and
 * VS_DVMIRROR_ENTITIES_MAX entities, each session's run of entities inside
 * the entity array, and its filter rules and prefixes inside theirs; the
 * host reads no byte past the extent its header gives.  A table that breaks
 * any of these, or that names one session identifier twice, is refused with
 * HYX_BAD_PARAM and changes nothing. */

/* Fills *table with the switch's sessions, a block in the same format,
 * allocated by the library: release it with VSDVS_FreeMemory. */
HYX_ReturnStatus VSDVS_GetDVMirrorSessions(char const *switchName, char const *dvsName,
                                           DVMirrorSessionTable **table);
/* Replaces the switch's sessions with those of the table. */
HYX_ReturnStatus VSDVS_SetDVMirrorSessions(char const *switchName, char const *dvsName,
                                           DVMirrorSessionTable *table);
/* Adds the table's sessions after the switch's own; a session identifier the
 * switch already has gives HYX_EXISTS, more than VS_DVMIRROR_SESSIONS_MAX
 * sessions in all HYX_LIMIT_EXCEEDED, and nothing is added. */
HYX_ReturnStatus VSDVS_AppendDVMirrorSessions(char const *switchName, char const *dvsName,
                                              DVMirrorSessionTable *table);
/* Drops the session with identifier sid (read within its 32 bytes);
 * HYX_NOT_FOUND when there is none. */
HYX_ReturnStatus VSDVS_RemoveDVMirrorSession(char const *switchName, char const *dvsName,
                                             char const sid[32]);
/* Drops every session of the switch. */
HYX_ReturnStatus VSDVS_ClearDVMirrorSessions(char const *switchName, char const *dvsName);

/* What the running switch reports.  Lists are allocated by the library:
 * release them with VSHYX_FreeMemory. */

/* Fills *list with the identifiers of the switch's enabled sessions. */
HYX_ReturnStatus VSHYX_GetDVMirrorSessionIDs(char const *switchName, VSDVMirrorSessionIDs **list);
/* Fills the caller's record with the counters of session sid (read within
 * its 32 bytes); HYX_NOT_FOUND for a session the switch does not have. */
HYX_ReturnStatus VSHYX_GetDVMirrorSessionStats(char const *switchName, char const sid[32],
                                               VSDVMirrorSessionStats *stats);
/* Fills *list with the IDs of the ports that are destinations of enabled
 * legacy (promiscuous) sessions. */
HYX_ReturnStatus VSHYX_GetPromiscSessionActiveDsts(char const *switchName,
                                                   VSPromiscSessionActiveDsts **list);
/* Fills the caller's record with the mirror agent's worker counters. */
HYX_ReturnStatus VSHYX_GetDVMirrorAgentWorldStats(VSDVMirrorAgentWorldStats *stats);

HYX_EXTERN_C_END

#endif
