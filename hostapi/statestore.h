/* The distributed-switch state store of libdvs.so (switches, their ports and
 * property blobs at global, host and port scope, the property-data
 * containers, traversal and alias translation), and the switch and port
 * lifecycle and property calls of libtessel.so that work on it. */
#ifndef TESSEL_HOSTAPI_STATESTORE_H
#define TESSEL_HOSTAPI_STATESTORE_H

#include <stddef.h>

#include "hostapi/common.h"
#include "hostapi/options.h"

HYX_EXTERN_C_BEGIN

/* The kind of ports a port list holds: invalid, active, shadow, zombie,
 * local cache, numbered from 0 in this order. */
typedef enum DVSPortType {
   DVSPORT_TYPE_INVALID,
   DVSPORT_TYPE_ACTIVE,
   DVSPORT_TYPE_SHADOW,
   DVSPORT_TYPE_ZOMBIE,
   DVSPORT_TYPE_LOCALCACHE
} DVSPortType;

/* A distributed switch's version (4 to 7 are the versions the store knows). */
typedef hyx_uint32 ZARVersion;

/* One distributed port of a port list. */
typedef struct HYX_PACKED DVPortData {
   char dvPortId[48];
   hyx_uint32 connectId;
} DVPortData;
HYX_CHECK_OFFSET(DVPortData, dvPortId, 0);
HYX_CHECK_OFFSET(DVPortData, connectId, 48);
HYX_CHECK_SIZE(DVPortData, 52);

/* A header and nports entries; the record itself has room for one. */
typedef struct HYX_PACKED DVPortList {
   int nports;
   DVSPortType type;
   DVPortData dvPort[1];
} DVPortList;
HYX_CHECK_OFFSET(DVPortList, nports, 0);
HYX_CHECK_OFFSET(DVPortList, type, 4);
HYX_CHECK_OFFSET(DVPortList, dvPort, 8);
HYX_CHECK_SIZE(DVPortList, 60);

/* A port found by its external id. */
typedef struct HYX_PACKED OpaqueDVPortData {
   char dvPortId[48];
   char externalId[128];
} OpaqueDVPortData;
HYX_CHECK_OFFSET(OpaqueDVPortData, dvPortId, 0);
HYX_CHECK_OFFSET(OpaqueDVPortData, externalId, 48);
HYX_CHECK_SIZE(OpaqueDVPortData, 176);

/* Opaque handles of the store. */
typedef void *DVSwitchHandle;
typedef void *DVSPortHandle;
typedef void *DVSDataHandle;
typedef void *DVSDataItem;
typedef char DVSwitchId[64];

/* Traversal callbacks: (item, context); a result of 0 stops the walk. */
typedef char (*DVSwitchCallback)(void *, void *);
typedef char (*DVSPortCallback)(void *, void *);
typedef char (*DVSPortDataCallback)(void *, void *);
typedef void *(*DVSData_MemAlloc)(size_t);
typedef void (*DVSData_MemFree)(void *);

#ifndef SWIG
/* Limits of the store's names, with their NUL. */
#define DVS_STORE_SWITCH_ID_LEN 64
#define DVS_STORE_NAME_LEN 128
#define DVS_STORE_PORT_ID_LEN 48
#define DVS_STORE_EXTERNAL_ID_LEN 128
#define DVS_STORE_PROP_NAME_LEN 128
/* The serialised store: a 4-byte magic, a 4-byte format version, then the
 * records (see host/dvs/statestore.cpp), then a 4-byte checksum. */
#define DVS_STORE_MAGIC 0x53535644u
#define DVS_STORE_FORMAT 2u
#endif

/* Store operations of the kernel side. */
HYX_ReturnStatus DVSHYX_StateInit(void *state, int len);
HYX_ReturnStatus DVSHYX_StateCleanup(void);
HYX_ReturnStatus DVSHYX_StateSanitize(void);
HYX_ReturnStatus DVSHYX_StateGet(void **data, int *len);
HYX_ReturnStatus DVSHYX_PersistentStateGet(void **data, int *len);
HYX_ReturnStatus DVSHYX_SwitchAdd(char const *switchId, char const *className, hyx_uint32 maxPorts,
                                  ZARVersion version);
HYX_ReturnStatus DVSHYX_SwitchRemove(char const *switchId);
HYX_ReturnStatus DVSHYX_SwitchAssociate(char const *switchId);
HYX_ReturnStatus DVSHYX_SwitchDissociate(char const *switchId);
HYX_ReturnStatus DVSHYX_SwitchSetVersion(char const *switchId, ZARVersion version);
HYX_ReturnStatus DVSHYX_SwitchSetMaxPorts(char const *switchId, hyx_uint32 maxPorts);
HYX_ReturnStatus DVSHYX_SwitchPortList(char const *switchId, DVPortList **list, DVSPortType type);
HYX_ReturnStatus DVSHYX_CmdExec(char const *switchId, char const *cmd, void *in, int inLen,
                                void **out, int *outLen);
HYX_ReturnStatus DVSHYX_GlobalPropGet(char const *switchId, char const *name, void **data,
                                      int *len);
HYX_ReturnStatus DVSHYX_SmartNICGlobalPropGet(char const *switchId, char const *name, void **data,
                                              int *len);
HYX_ReturnStatus DVSHYX_GlobalPropSet(char const *switchId, char const *name, void *data, int len,
                                      hyx_uint32 propType);
HYX_ReturnStatus DVSHYX_GlobalPropClear(char const *switchId, char const *name);
HYX_ReturnStatus DVSHYX_HostPropGet(char const *switchId, char const *name, void **data, int *len);
HYX_ReturnStatus DVSHYX_SmartNICHostPropGet(char const *switchId, char const *name, void **data,
                                            int *len);
HYX_ReturnStatus DVSHYX_HostPropSet(char const *switchId, char const *name, void *data, int len,
                                    hyx_uint32 propType);
HYX_ReturnStatus DVSHYX_HostPropClear(char const *switchId, char const *name);
HYX_ReturnStatus DVSHYX_PortAdd(char const *switchId, char const *portId, void *data, int len);
HYX_ReturnStatus DVSHYX_PortRemove(char const *switchId, char const *portId);
HYX_ReturnStatus DVSHYX_PortDataGet(char const *switchId, char const *portId, char const *name,
                                    void **data, int *len);
HYX_ReturnStatus DVSHYX_SmartNICPortDataGet(char const *switchId, char const *portId,
                                            char const *name, void **data, int *len);
HYX_ReturnStatus DVSHYX_PortDataSet(char const *switchId, char const *portId, char const *name,
                                    void *data, int len, hyx_uint32 propType);
HYX_ReturnStatus DVSHYX_PortDataClear(char const *switchId, char const *portId, char const *name);
HYX_ReturnStatus DVSHYX_PortStateGet(char const *switchId, char const *portId, void **data,
                                     int *len);
HYX_ReturnStatus DVSHYX_PersistentPortStateGet(char const *switchId, char const *portId,
                                               ZARVersion version, void **data, int *len);
HYX_ReturnStatus DVSHYX_VendorPortPropList(char const *switchId, char const *portId,
                                           DVSDataHandle *list, hyx_uint32 propType);
HYX_ReturnStatus DVSHYX_ExtraConfigPortPropList(char const *switchId, char const *portId,
                                                DVSDataHandle *list, hyx_uint32 propType);
HYX_ReturnStatus DVSHYX_ExtraConfigPropList(char const *switchId, DVSDataHandle *list,
                                            hyx_uint32 propType);
HYX_ReturnStatus DVSHYX_VendorHostPropList(char const *switchId, DVSDataHandle *list,
                                           hyx_uint32 propType);
HYX_ReturnStatus DVSHYX_VendorGlobalPropList(char const *switchId, DVSDataHandle *list,
                                             hyx_uint32 propType);
HYX_ReturnStatus DVSHYX_UplinkDataSet(char const *switchId, char const *uplink, hyx_uint32 index,
                                      void *data, int len, hyx_uint32 propType);
HYX_ReturnStatus DVSHYX_UplinkDataGet(char const *switchId, char const *uplink, hyx_uint32 index,
                                      void **data, int *len);
HYX_ReturnStatus DVSHYX_PortFind(char const *switchId, char const *portId);
HYX_ReturnStatus DVSHYX_PortGetByExternalId(char const *switchId, char const *externalId,
                                            OpaqueDVPortData **port);
void DVSHYX_DataFree(void *released);

/* Lookups, identity and traversal. */
DVSwitchHandle DVSState_SwitchFindByAlias(char const *alias);
DVSPortHandle DVSState_PortFind(char const *switchId, char const *portId);
char const *DVS_SwitchId(DVSwitchHandle sw);
char const *DVS_SwitchName(DVSwitchHandle sw);
char const *DVS_ClassName(DVSwitchHandle sw);
char const *DVS_PortId(DVSPortHandle port);
char const *DVS_PortAlias(DVSPortHandle port);
int DVS_GetMaxPorts(DVSwitchHandle sw);
ZARVersion DVS_Version(DVSwitchHandle sw);
hyx_Bool DVPortExist(char const *switchId, char const *portId);
void DVSState_SwitchForEach(DVSwitchCallback cb, void *context);
void DVSState_PortForEach(DVSwitchHandle sw, DVSPortCallback cb, void *context);
void DVSState_HostPropForEach(DVSwitchHandle sw, DVSPortDataCallback cb, void *context);
void DVSState_GlobalPropForEach(DVSwitchHandle sw, DVSPortDataCallback cb, void *context);
void DVSState_PortDataForEach(DVSPortHandle port, DVSPortDataCallback cb, void *context);

/* Property lookups and containers. */
int DVSState_HostPropLookup(char const *switchId, char const *name, DVSDataItem *item);
int DVSState_GlobalPropLookup(char const *switchId, char const *name, DVSDataItem *item);
int DVSData_Alloc(DVSDataHandle *data, DVSData_MemAlloc memAlloc, DVSData_MemFree memFree);
void DVSData_Free(DVSDataHandle data);
int DVSData_Update(DVSDataHandle data, char const *name, void *value, hyx_uint32 len,
                   hyx_uint32 propType);
int DVSData_Serialize(DVSDataHandle data, void **buf, hyx_uint32 *len, ZARVersion version);
hyx_uint32 DVSData_Data(DVSDataItem item, void **data);
char const *DVSData_Name(DVSDataItem item);
hyx_uint32 DVSData_PropType(DVSDataItem item);
hyx_Bool DVSData_IsSamePropType(DVSDataItem item, hyx_uint32 propType);

/* Configuration. */
int DVSState_ConfigDeserialize(void *buf, int len);
int DVSState_ConfigReset(void);
int DVSLoadConfig(void);

/* Alias translations. */
int DVSAliasToSwitchId(char const *alias, char switchId[64]);
int DVSAliasToSwitchIdAllTypes(char const *alias, char switchId[64]);
int DVSPortsetNameToAlias(char const *name, char alias[128]);
int DVSAliasToPortsetName(char const *alias, char *name);

/* Switch and port lifecycle, property access (libtessel.so). */
HYX_ReturnStatus VSDVS_CreateVSwitch(char const *switchName, char const *alias,
                                     char const *className, hyx_uint32 maxPorts, hyx_Bool uplink,
                                     hyx_uint32 mtu, hyx_uint32 version, hyx_uint32 flags);
HYX_ReturnStatus VSDVS_DestroyVSwitch(char const *switchName);
HYX_ReturnStatus VSDVS_AddDVPort(char const *switchName, char const *dvPortId,
                                 hyx_uint32 connectId);
HYX_ReturnStatus VSDVS_AddOpaqueDVPort(char const *switchName, char const *dvPortId,
                                       char const *externalId);
HYX_ReturnStatus VSDVS_RemoveDVPort(char const *switchName, char const *dvPortId);
HYX_ReturnStatus VSDVS_DvPortIDToPortID(char const *switchName, char const *dvPortId,
                                        hyx_SwitchPortID *portID);
HYX_ReturnStatus VSDVS_DvPortIDToPortIDFromDVSID(char const *switchId, char const *dvPortId,
                                                 hyx_SwitchPortID *portID);
HYX_ReturnStatus VSDVS_GetAliasFromPortset(char const *switchName, char *aliasOut);
HYX_ReturnStatus VSDVS_GetPortProp(char const *switchName, char const *dvsName,
                                   char const *dvPortId, ZARQuery *query, char const *key,
                                   hyx_Bool persistent);
HYX_ReturnStatus VSDVS_GetHostProp(char const *switchName, char const *dvsName, ZARQuery *query,
                                   char const *key, hyx_Bool persistent);
HYX_ReturnStatus VSDVS_GetGlobProp(char const *switchName, char const *dvsName, ZARQuery *query,
                                   char const *key, hyx_Bool persistent);
HYX_ReturnStatus VSDVS_SetPortProp(char const *switchName, char const *dvsName,
                                   char const *dvPortId, void const *value, int len,
                                   char const *key, hyx_Bool persistent);
HYX_ReturnStatus VSDVS_SetHostProp(char const *switchName, char const *dvsName, void const *value,
                                   int len, char const *key, hyx_Bool persistent);
HYX_ReturnStatus VSDVS_SetGlobProp(char const *switchName, char const *dvsName, void const *value,
                                   int len, char const *key, hyx_Bool persistent);
HYX_ReturnStatus VSDVS_SetRuntimeHostProp(char const *switchName, char const *dvsName,
                                          void const *value, int len, char const *key,
                                          hyx_Bool persistent);
HYX_ReturnStatus VSDVS_ClearPortProp(char const *switchName, char const *dvsName,
                                     char const *dvPortId, char const *key, hyx_Bool persistent);
HYX_ReturnStatus VSDVS_ClearHostProp(char const *switchName, char const *dvsName, char const *key,
                                     hyx_Bool persistent);
HYX_ReturnStatus VSDVS_ClearGlobProp(char const *switchName, char const *dvsName, char const *key,
                                     hyx_Bool persistent);

HYX_EXTERN_C_END

#endif
