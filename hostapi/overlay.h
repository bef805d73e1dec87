/* Overlay and RDMA tables: the remote tunnel endpoints of a switch, the
 * RDMA identifiers of its ports per tenant, the tenant table and the
 * switch's RDMA settings.  Every record is packed; several multi-byte fields
 * sit at odd offsets. */
#ifndef TESSEL_HOSTAPI_OVERLAY_H
#define TESSEL_HOSTAPI_OVERLAY_H

#include "hostapi/common.h"
#include "hostapi/kernel.h"

#ifndef SWIG
/* Slots of VSSetRdmaEntry.ids. */
#define VS_RDMA_MAX_IDS 32
/* Width of a tenant id (no terminating NUL when it is full). */
#define VS_RDMA_TENANT_ID_LEN 8
/* VSRdmaID.idType: the address the identifier holds. */
#define VS_RDMA_ID_TYPE_IPV4 1
#define VS_RDMA_ID_TYPE_IPV6 2
/* Remote tunnel endpoints a switch keeps. */
#define VS_REMOTE_TEP_MAX 4096
/* RDMA identifiers a switch keeps over all its ports. */
#define VS_RDMA_ENTRIES_MAX 4096
#endif

/* ---- Remote tunnel endpoints ---- */

/* One remote tunnel endpoint: its outer address (IPv4 in dstIPv4, or IPv6 in
 * dstIPv6 when isIPv6 is set; bytes in network order), its MAC address,
 * how many users it has and its kind. */
typedef struct HYX_PACKED VSRemoteTepEntry {
   union HYX_PACKED {
      hyx_uint32 dstIPv4;
      hyx_uint32 dstIPv6[4];
   };
   unsigned char dstMAC[6];
   hyx_Bool isIPv6;
   hyx_uint32 refCnt;
   hyx_uint32 entryType;
   hyx_uint8 pad;
} VSRemoteTepEntry;
HYX_CHECK_OFFSET(VSRemoteTepEntry, dstIPv4, 0);
HYX_CHECK_OFFSET(VSRemoteTepEntry, dstIPv6, 0);
HYX_CHECK_OFFSET(VSRemoteTepEntry, dstMAC, 16);
HYX_CHECK_OFFSET(VSRemoteTepEntry, isIPv6, 22);
HYX_CHECK_OFFSET(VSRemoteTepEntry, refCnt, 23);
HYX_CHECK_OFFSET(VSRemoteTepEntry, entryType, 27);
HYX_CHECK_OFFSET(VSRemoteTepEntry, pad, 31);
HYX_CHECK_SIZE(VSRemoteTepEntry, 32);

/* The tunnel endpoints of a switch: numEntries packed entries follow. */
typedef struct HYX_PACKED VSRemoteTepEntries {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSRemoteTepEntry entry[0];
} VSRemoteTepEntries;
HYX_CHECK_OFFSET(VSRemoteTepEntries, totalEntries, 0);
HYX_CHECK_OFFSET(VSRemoteTepEntries, numEntries, 4);
HYX_CHECK_OFFSET(VSRemoteTepEntries, entry, 8);
HYX_CHECK_SIZE(VSRemoteTepEntries, 8);

/* A copy request for the endpoint table, in the natural layout. */
typedef struct HYX_PACKED VSGetRemoteTepTable {
   VSRemoteTepEntries *entries;
   hyx_uint32 count;
   hyx_uint32 numEntriesToCopy;
} VSGetRemoteTepTable;
HYX_CHECK_OFFSET(VSGetRemoteTepTable, entries, 0);
HYX_CHECK_OFFSET(VSGetRemoteTepTable, count, 8);
HYX_CHECK_OFFSET(VSGetRemoteTepTable, numEntriesToCopy, 12);
HYX_CHECK_SIZE(VSGetRemoteTepTable, 16);

/* ---- RDMA and tenants ---- */

/* One RDMA identifier: an IPv4 address in the first word of rdmaId or an
 * IPv6 address in all 16 bytes (network order), its type, length and VLAN. */
typedef struct HYX_PACKED VSRdmaID {
   hyx_uint32 rdmaId[4];
   hyx_uint16 idType;
   hyx_uint16 idLen;
   hyx_uint16 vlanID;
   hyx_uint16 pad;
} VSRdmaID;
HYX_CHECK_OFFSET(VSRdmaID, rdmaId, 0);
HYX_CHECK_OFFSET(VSRdmaID, idType, 16);
HYX_CHECK_OFFSET(VSRdmaID, idLen, 18);
HYX_CHECK_OFFSET(VSRdmaID, vlanID, 20);
HYX_CHECK_OFFSET(VSRdmaID, pad, 22);
HYX_CHECK_SIZE(VSRdmaID, 24);

/* The request that programs the RDMA identifiers of one port and tenant: the
 * first numIDs slots of ids. */
typedef struct HYX_PACKED VSSetRdmaEntry {
   hyx_uint32 numIDs;
   char tenantID[8];
   hyx_uint32 vtepLabel;
   hyx_SwitchPortID portID;
   hyx_Bool remoteEntry;
   hyx_uint16 postponeTime;
   VSRdmaID ids[32];
} VSSetRdmaEntry;
HYX_CHECK_OFFSET(VSSetRdmaEntry, numIDs, 0);
HYX_CHECK_OFFSET(VSSetRdmaEntry, tenantID, 4);
HYX_CHECK_OFFSET(VSSetRdmaEntry, vtepLabel, 12);
HYX_CHECK_OFFSET(VSSetRdmaEntry, portID, 16);
HYX_CHECK_OFFSET(VSSetRdmaEntry, remoteEntry, 20);
HYX_CHECK_OFFSET(VSSetRdmaEntry, postponeTime, 21);
HYX_CHECK_OFFSET(VSSetRdmaEntry, ids, 23);
HYX_CHECK_SIZE(VSSetRdmaEntry, 791);

/* One entry of the RDMA table: one identifier of a port and tenant. */
typedef struct HYX_PACKED VSGetRdmaEntry {
   hyx_SwitchPortID portID;
   hyx_uint32 numIDs;
   char tenantID[8];
   hyx_uint32 vtepLabel;
   hyx_uint32 elapsed;
   hyx_Bool remoteEntry;
   hyx_uint16 postponeTime;
   hyx_uint32 entryType;
   VSRdmaID id;
} VSGetRdmaEntry;
HYX_CHECK_OFFSET(VSGetRdmaEntry, portID, 0);
HYX_CHECK_OFFSET(VSGetRdmaEntry, numIDs, 4);
HYX_CHECK_OFFSET(VSGetRdmaEntry, tenantID, 8);
HYX_CHECK_OFFSET(VSGetRdmaEntry, vtepLabel, 16);
HYX_CHECK_OFFSET(VSGetRdmaEntry, elapsed, 20);
HYX_CHECK_OFFSET(VSGetRdmaEntry, remoteEntry, 24);
HYX_CHECK_OFFSET(VSGetRdmaEntry, postponeTime, 25);
HYX_CHECK_OFFSET(VSGetRdmaEntry, entryType, 27);
HYX_CHECK_OFFSET(VSGetRdmaEntry, id, 31);
HYX_CHECK_SIZE(VSGetRdmaEntry, 55);

/* One entry of the tenant table: a port, its virtual function and tenant,
 * and how many ports share that tenant. */
typedef struct HYX_PACKED VSTenantEntry {
   hyx_SwitchPortID portID;
   hyx_uint32 vf;
   hyx_uint32 numPorts;
   char tenantID[8];
} VSTenantEntry;
HYX_CHECK_OFFSET(VSTenantEntry, portID, 0);
HYX_CHECK_OFFSET(VSTenantEntry, vf, 4);
HYX_CHECK_OFFSET(VSTenantEntry, numPorts, 8);
HYX_CHECK_OFFSET(VSTenantEntry, tenantID, 12);
HYX_CHECK_SIZE(VSTenantEntry, 20);

typedef struct HYX_PACKED VSRdmaEntries {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSGetRdmaEntry entry[0];
} VSRdmaEntries;
HYX_CHECK_OFFSET(VSRdmaEntries, totalEntries, 0);
HYX_CHECK_OFFSET(VSRdmaEntries, numEntries, 4);
HYX_CHECK_OFFSET(VSRdmaEntries, entry, 8);
HYX_CHECK_SIZE(VSRdmaEntries, 8);

typedef struct HYX_PACKED VSTenantEntries {
   hyx_uint32 totalEntries;
   hyx_uint32 numEntries;
   VSTenantEntry entry[0];
} VSTenantEntries;
HYX_CHECK_OFFSET(VSTenantEntries, totalEntries, 0);
HYX_CHECK_OFFSET(VSTenantEntries, numEntries, 4);
HYX_CHECK_OFFSET(VSTenantEntries, entry, 8);
HYX_CHECK_SIZE(VSTenantEntries, 8);

/* Copy requests for the two tables, in the natural layout. */
typedef struct HYX_PACKED VSGetRdmaTable {
   VSRdmaEntries *entries;
   hyx_uint32 count;
   hyx_uint32 numEntriesToCopy;
} VSGetRdmaTable;
HYX_CHECK_OFFSET(VSGetRdmaTable, entries, 0);
HYX_CHECK_OFFSET(VSGetRdmaTable, count, 8);
HYX_CHECK_OFFSET(VSGetRdmaTable, numEntriesToCopy, 12);
HYX_CHECK_SIZE(VSGetRdmaTable, 16);

typedef struct HYX_PACKED VSGetTenantTable {
   VSTenantEntries *entries;
   hyx_uint32 count;
   hyx_uint32 numEntriesToCopy;
} VSGetTenantTable;
HYX_CHECK_OFFSET(VSGetTenantTable, entries, 0);
HYX_CHECK_OFFSET(VSGetTenantTable, count, 8);
HYX_CHECK_OFFSET(VSGetTenantTable, numEntriesToCopy, 12);
HYX_CHECK_SIZE(VSGetTenantTable, 16);

HYX_EXTERN_C_BEGIN

/* Switches are named by portset name.  Records passed in are only read.
 * Tables handed out belong to the library: release them with
 * VSHYX_FreeMemory.  A NULL argument or a value the library does not know
 * gives HYX_BAD_PARAM, an unknown switch or port HYX_NOT_FOUND, a count or
 * VLAN id above its limit HYX_LIMIT_EXCEEDED; on failure nothing changes. */

/* Fills *table with the switch's remote tunnel endpoints, in the order they
 * were added. */
HYX_ReturnStatus VSHYX_GetRemoteTepTable(char const *switchName, VSRemoteTepEntries **table);
/* Adds a user of the endpoint with the entry's address (isIPv6 0 or 1, not
 * all zero): a new endpoint starts with refCnt 1 and takes the entry's MAC
 * (a unicast address) and entryType; a known one counts one more user and
 * must have the same MAC (HYX_EXISTS otherwise).  refCnt and pad of the
 * entry are not read. */
HYX_ReturnStatus VSHYX_SetRemoteTepTable(char const *switchName, VSRemoteTepEntry const *entry);
/* Removes a user of the endpoint with the entry's address; the endpoint goes
 * with its last user.  HYX_NOT_FOUND when there is no such endpoint. */
HYX_ReturnStatus VSHYX_ClearRemoteTepTable(char const *switchName, VSRemoteTepEntry const *entry);

/* Replaces the RDMA identifiers of the entry's port (a port ID of the
 * switch) and tenant (a non-empty tenant id) with its numIDs slots
 * (1..VS_RDMA_MAX_IDS, each of a known idType, a non-zero address and a
 * VLAN id up to 4094).  The switch summary's RDMA counts follow. */
HYX_ReturnStatus VSHYX_SetRdmaTable(char const *switchName, VSSetRdmaEntry const *entry);
/* Removes the identifiers of the entry's port and tenant (the other fields
 * are not read); HYX_NOT_FOUND when it has none. */
HYX_ReturnStatus VSHYX_ClearPortRdmaTable(char const *switchName, VSSetRdmaEntry const *entry);
/* Fills *table with one entry per identifier, by port and tenant. */
HYX_ReturnStatus VSHYX_GetRdmaTable(char const *switchName, VSRdmaEntries **table);
/* Fills *table with one entry per port and tenant. */
HYX_ReturnStatus VSHYX_GetTenantTable(char const *switchName, VSTenantEntries **table);
/* Whether the switch handles RDMA traffic, and whether it offloads it to
 * smart NICs (enabled) with their own tunnel endpoints (ownVtep). */
HYX_ReturnStatus VSHYX_SetRdma(char const *switchName, hyx_Bool enabled);
HYX_ReturnStatus VSHYX_SetRdmaSNIC(char const *switchName, hyx_Bool enabled, hyx_Bool ownVtep);

HYX_EXTERN_C_END

#endif
