/* The switch and port lifecycle and property calls of libtessel.so: they
 * work on the distributed-switch store of libdvs.so, so what they create,
 * set or clear is what the store's own calls see.
 *
 * Choices: a switch is destroyed only when none of its ports is in use (a
 * port with a non-zero connect id): HYX_BUSY otherwise.  A property call
 * names the switch twice, by its portset name and its alias, and both must
 * give the same switch.  A value set with persistent 0 is volatile (left out
 * of the persistent store), with 1 a configuration value; runtime host
 * values are runtime and volatile.  A read fills the caller's query: the
 * value is copied into propValue when propLen holds it, and propLen is set to
 * the value's size; a value larger than propLen (or a NULL propValue) gives
 * HYX_LIMIT_EXCEEDED with propLen set to the size needed, nothing written. */
#include <string.h>

#include "api_support.h"
#include "hostapi/statestore.h"

namespace tessel {
namespace {

constexpr hyx_uint32 kVolatileProp = 4, kConfigProp = 16, kRuntimeProp = 32;
constexpr hyx_uint32 kFirstVersion = 4, kLastVersion = 7;

/* The switch named switchName must have the alias dvsName. */
HYX_ReturnStatus checkNames(char const *switchName, char const *dvsName) {
   if (switchName == nullptr || dvsName == nullptr)
      return HYX_BAD_PARAM;
   if (strnlen(switchName, VS_LIST_PS_ENTRY_LEN) >= VS_LIST_PS_ENTRY_LEN ||
       strnlen(dvsName, VS_LIST_PS_ENTRY_LEN) >= VS_LIST_PS_ENTRY_LEN)
      return HYX_NAME_TOO_LONG;
   char alias[VS_LIST_PS_ENTRY_LEN] = {0};
   HYX_ReturnStatus status = tessel_sim_dvs_alias(switchName, alias);
   if (status != HYX_OK)
      return status;
   return strcmp(alias, dvsName) == 0 ? HYX_OK : HYX_BAD_PARAM;
}

hyx_uint32 propType(hyx_Bool persistent) { return persistent ? kConfigProp : kVolatileProp; }

/* Copies a value the store handed out into the query. */
HYX_ReturnStatus fillQuery(ZARQuery *query, HYX_ReturnStatus status, void *data, int len) {
   if (status != HYX_OK)
      return status;
   int room = query->propLen;
   char *value = nullptr;
   memcpy(&value, reinterpret_cast<char *>(query) + offsetof(ZARQuery, propValue), sizeof value);
   query->propLen = len;
   if (value == nullptr || room < len) {
      DVSHYX_DataFree(data);
      return HYX_LIMIT_EXCEEDED;
   }
   if (len > 0)
      memcpy(value, data, static_cast<size_t>(len));
   DVSHYX_DataFree(data);
   return HYX_OK;
}

HYX_ReturnStatus createSwitch(char const *switchName, char const *alias, char const *className,
                              hyx_uint32 maxPorts, hyx_uint32 version) {
   if (version == 0)
      version = kLastVersion;
   if (version < kFirstVersion || version > kLastVersion)
      return HYX_BAD_PARAM;
   return tessel_sim_dvs_switch_create(switchName, alias, className ? className : "cswitch",
                                       maxPorts, version);
}

HYX_ReturnStatus destroySwitch(char const *switchName) {
   DVPortList *list = nullptr;
   HYX_ReturnStatus status = DVSHYX_SwitchPortList(switchName, &list, DVSPORT_TYPE_INVALID);
   if (status != HYX_OK)
      return status;
   bool inUse = false;
   for (int i = 0; i < list->nports; i++)
      inUse = inUse || list->dvPort[i].connectId != 0;
   DVSHYX_DataFree(list);
   return inUse ? HYX_BUSY : DVSHYX_SwitchRemove(switchName);
}

HYX_ReturnStatus portNumber(char const *switchName, char const *dvPortId, hyx_SwitchPortID *id) {
   if (id == nullptr)
      return HYX_BAD_PARAM;
   unsigned number = 0;
   HYX_ReturnStatus status = tessel_sim_dvs_port_number(switchName, dvPortId, &number);
   if (status == HYX_OK)
      *id = number;
   return status;
}

HYX_ReturnStatus aliasOf(char const *switchName, char *alias) {
   if (alias == nullptr)
      return HYX_BAD_PARAM;
   return tessel_sim_dvs_alias(switchName, alias);
}

HYX_ReturnStatus getProp(int scope, char const *switchName, char const *dvsName, char const *port,
                         ZARQuery *query, char const *key) {
   if (query == nullptr || key == nullptr)
      return HYX_BAD_PARAM;
   HYX_ReturnStatus status = checkNames(switchName, dvsName);
   if (status != HYX_OK)
      return status;
   void *data = nullptr;
   int len = 0;
   if (scope == 0)
      status = DVSHYX_PortDataGet(switchName, port, key, &data, &len);
   else if (scope == 1)
      status = DVSHYX_HostPropGet(switchName, key, &data, &len);
   else
      status = DVSHYX_GlobalPropGet(switchName, key, &data, &len);
   return fillQuery(query, status, data, len);
}

HYX_ReturnStatus setProp(int scope, char const *switchName, char const *dvsName, char const *port,
                         void const *value, int len, char const *key, hyx_uint32 type) {
   if (key == nullptr || len < 0 || (value == nullptr && len > 0))
      return HYX_BAD_PARAM;
   HYX_ReturnStatus status = checkNames(switchName, dvsName);
   if (status != HYX_OK)
      return status;
   void *data = const_cast<void *>(value);
   if (scope == 0)
      return DVSHYX_PortDataSet(switchName, port, key, data, len, type);
   if (scope == 1)
      return DVSHYX_HostPropSet(switchName, key, data, len, type);
   return DVSHYX_GlobalPropSet(switchName, key, data, len, type);
}

HYX_ReturnStatus clearProp(int scope, char const *switchName, char const *dvsName, char const *port,
                           char const *key) {
   if (key == nullptr)
      return HYX_BAD_PARAM;
   HYX_ReturnStatus status = checkNames(switchName, dvsName);
   if (status != HYX_OK)
      return status;
   if (scope == 0)
      return DVSHYX_PortDataClear(switchName, port, key);
   if (scope == 1)
      return DVSHYX_HostPropClear(switchName, key);
   return DVSHYX_GlobalPropClear(switchName, key);
}

/* The host's distributed switches and their ports, in the store: each
   port is connected (its connect id is its port id), so in use. */
constexpr hyx_uint32 kSeededMaxPorts = 1024;

void seedStore() {
   for (Switch const &sw : Host::instance().switches()) {
      if (!sw.distributed)
         continue;
      if (tessel_sim_dvs_switch_create(sw.name.c_str(), sw.alias.c_str(), "cswitch",
                                       kSeededMaxPorts, kLastVersion) != HYX_OK)
         continue;
      for (Port const &port : sw.ports)
         if (!port.dvPortId.empty())
            tessel_sim_dvs_port_add(sw.name.c_str(), port.dvPortId.c_str(), port.id, nullptr);
   }
}

struct SeederSetup {
   SeederSetup() { tessel_sim_dvs_set_seeder(seedStore); }
   ~SeederSetup() { tessel_sim_dvs_set_seeder(nullptr); }
} g_seederSetup;

} // namespace
} // namespace tessel

using namespace tessel;

TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_CreateVSwitch,
                (char const *switchName, char const *alias, char const *className,
                 hyx_uint32 maxPorts, hyx_Bool uplink, hyx_uint32 mtu, hyx_uint32 version,
                 hyx_uint32 flags),
                ((void)uplink, (void)mtu, (void)flags,
                 createSwitch(switchName, alias, className, maxPorts, version)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_DestroyVSwitch, (char const *switchName),
                destroySwitch(switchName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_AddDVPort,
                (char const *switchName, char const *dvPortId, hyx_uint32 connectId),
                tessel_sim_dvs_port_add(switchName, dvPortId, connectId, nullptr))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_AddOpaqueDVPort,
                (char const *switchName, char const *dvPortId, char const *externalId),
                externalId == nullptr
                    ? HYX_BAD_PARAM
                    : tessel_sim_dvs_port_add(switchName, dvPortId, 0, externalId))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_RemoveDVPort,
                (char const *switchName, char const *dvPortId),
                DVSHYX_PortRemove(switchName, dvPortId))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_DvPortIDToPortID,
                (char const *switchName, char const *dvPortId, hyx_SwitchPortID *portID),
                portNumber(switchName, dvPortId, portID))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_DvPortIDToPortIDFromDVSID,
                (char const *switchId, char const *dvPortId, hyx_SwitchPortID *portID),
                portNumber(switchId, dvPortId, portID))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetAliasFromPortset, (char const *switchName, char *alias),
                aliasOf(switchName, alias))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPortProp,
                (char const *switchName, char const *dvsName, char const *dvPortId, ZARQuery *query,
                 char const *key, hyx_Bool persistent),
                ((void)persistent, getProp(0, switchName, dvsName, dvPortId, query, key)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetHostProp,
                (char const *switchName, char const *dvsName, ZARQuery *query, char const *key,
                 hyx_Bool persistent),
                ((void)persistent, getProp(1, switchName, dvsName, nullptr, query, key)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetGlobProp,
                (char const *switchName, char const *dvsName, ZARQuery *query, char const *key,
                 hyx_Bool persistent),
                ((void)persistent, getProp(2, switchName, dvsName, nullptr, query, key)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPortProp,
                (char const *switchName, char const *dvsName, char const *dvPortId,
                 void const *value, int len, char const *key, hyx_Bool persistent),
                setProp(0, switchName, dvsName, dvPortId, value, len, key, propType(persistent)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetHostProp,
                (char const *switchName, char const *dvsName, void const *value, int len,
                 char const *key, hyx_Bool persistent),
                setProp(1, switchName, dvsName, nullptr, value, len, key, propType(persistent)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetGlobProp,
                (char const *switchName, char const *dvsName, void const *value, int len,
                 char const *key, hyx_Bool persistent),
                setProp(2, switchName, dvsName, nullptr, value, len, key, propType(persistent)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetRuntimeHostProp,
                (char const *switchName, char const *dvsName, void const *value, int len,
                 char const *key, hyx_Bool persistent),
                ((void)persistent, setProp(1, switchName, dvsName, nullptr, value, len, key,
                                           kRuntimeProp | kVolatileProp)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearPortProp,
                (char const *switchName, char const *dvsName, char const *dvPortId, char const *key,
                 hyx_Bool persistent),
                ((void)persistent, clearProp(0, switchName, dvsName, dvPortId, key)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearHostProp,
                (char const *switchName, char const *dvsName, char const *key, hyx_Bool persistent),
                ((void)persistent, clearProp(1, switchName, dvsName, nullptr, key)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearGlobProp,
                (char const *switchName, char const *dvsName, char const *key, hyx_Bool persistent),
                ((void)persistent, clearProp(2, switchName, dvsName, nullptr, key)))
