/* The switch and port lifecycle and property calls of libtessel.so: they
 * work on the distributed-switch store of libdvs.so, so what they create,
 * set or clear is what the store's own calls see.
 *
 * A switch created here joins the host: the switch lists, its summary and
 * its port table show it, with its MTU and maximum ports, and every
 * subsystem keeps its settings like those of any distributed switch.  A port
 * added here joins that switch's port table as a port with no client, whose
 * port ID is what the port-ID translation gives; removing it, or destroying
 * the switch, removes it everywhere.  The store's own calls (DVSHYX_*)
 * change the store only.
 *
 * Choices: a switch is destroyed only when none of its ports is in use (a
 * port with a non-zero connect id): HYX_BUSY otherwise, with nothing
 * changed.  A port with a client of the host's own (a VM port, uplink or
 * host port of the topology) is not removed: HYX_BUSY.  A property call
 * names the switch twice, by its portset name and its alias, and both must
 * give the same switch.  A value set with persistent 0 is volatile (left out
 * of the persistent store), with 1 a configuration value; runtime host
 * values are runtime and volatile.  A read fills the caller's query: the
 * value is copied into propValue when propLen holds it, and propLen is set to
 * the value's size; a value larger than propLen (or a NULL propValue) gives
 * HYX_LIMIT_EXCEEDED with propLen set to the size needed, nothing written. */
#include <string.h>

#include <nlohmann/json.hpp>

#include "api_support.h"
#include "hostapi/statestore.h"
#include "hostapi/vlan.h"
#include "kernel_model.h"
#include "statestore_keys.h"

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
      tessel_sim_block_release(data);
      return HYX_LIMIT_EXCEEDED;
   }
   if (len > 0)
      memcpy(value, data, static_cast<size_t>(len));
   tessel_sim_block_release(data);
   return HYX_OK;
}

/* The host's entry of a switch the store has just created. */
nlohmann::json switchEntry(char const *switchName, char const *alias, char const *storeId,
                           hyx_uint32 maxPorts, hyx_uint32 mtu) {
   nlohmann::json kernel = {{"dvsName", storeId}, {"maxPorts", maxPorts}};
   /* 0 keeps the host's default MTU. */
   if (mtu != 0)
      kernel["mtu"] = mtu;
   return {{"name", switchName}, {"distributed", true}, {"alias", alias}, {"kernel", kernel}};
}

HYX_ReturnStatus createSwitch(char const *switchName, char const *alias, char const *className,
                              hyx_uint32 maxPorts, hyx_uint32 mtu, hyx_uint32 version) noexcept {
   if (version == 0)
      version = kLastVersion;
   if (version < kFirstVersion || version > kLastVersion)
      return HYX_BAD_PARAM;
   if (mtu != 0 && mtu < VS_MTU_MIN)
      return HYX_BAD_PARAM;
   if (mtu > VS_MTU_MAX)
      return HYX_LIMIT_EXCEEDED;
   if (switchName == nullptr || alias == nullptr)
      return HYX_BAD_PARAM;
   if (strnlen(switchName, VS_LIST_PS_ENTRY_LEN) >= VS_LIST_PS_ENTRY_LEN ||
       strnlen(alias, VS_LIST_ALIAS_ENTRY_LEN) >= VS_LIST_ALIAS_ENTRY_LEN)
      return HYX_NAME_TOO_LONG;
   return guarded([&]() -> HYX_ReturnStatus {
      Host &host = Host::instance();
      if (host.find(switchName) != nullptr || host.findByAlias(alias) != nullptr)
         return HYX_EXISTS;
      if (host.switches().size() >= kMaxSwitches)
         return HYX_LIMIT_EXCEEDED;
      HYX_ReturnStatus status = tessel_sim_dvs_switch_create(
          switchName, alias, className ? className : "cswitch", maxPorts, version, nullptr);
      if (status != HYX_OK)
         return status;
      char storeId[DVS_STORE_SWITCH_ID_LEN] = {0};
      status = tessel_sim_dvs_switch_id(switchName, storeId, sizeof storeId);
      try {
         if (status == HYX_OK) {
            nlohmann::json const entry = switchEntry(switchName, alias, storeId, maxPorts, mtu);
            Settings settings(&entry, std::string("VSDVS_CreateVSwitch(") + switchName + ")");
            host.add(settings);
         }
      } catch (std::bad_alloc const &) {
         status = HYX_NO_MEMORY;
      } catch (std::exception const &) {
         status = HYX_BAD_PARAM;
      }
      /* A switch the host could not take leaves the store again. */
      if (status != HYX_OK)
         tessel_sim_dvs_switch_remove(switchName, 0);
      return status;
   });
}

/* The host's distributed switch named by its portset name, alias or store
 * id (the summary's dvsName), or NULL. */
Switch *hostSwitch(char const *name) {
   if (name == nullptr)
      return nullptr;
   Host &host = Host::instance();
   for (Switch const &sw : host.switches()) {
      if (sw.distributed && (sw.name == name || sw.alias == name ||
                             host.component<KernelComponent>().of(sw).dvsName == name))
         return host.find(sw.name.c_str());
   }
   return nullptr;
}

/* The port of a distributed switch with distributed port ID dvPortId. */
Port const *hostPort(char const *switchName, char const *dvPortId) {
   Switch *sw = hostSwitch(switchName);
   if (sw == nullptr || dvPortId == nullptr)
      return nullptr;
   for (Port const &port : sw->ports)
      if (port.dvPortId == dvPortId)
         return &port;
   return nullptr;
}

HYX_ReturnStatus destroySwitch(char const *switchName) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      HYX_ReturnStatus status = tessel_sim_dvs_switch_remove(switchName, 1);
      if (status != HYX_OK)
         return status;
      if (Switch *sw = hostSwitch(switchName))
         Host::instance().remove(*sw);
      return HYX_OK;
   });
}

HYX_ReturnStatus addPort(char const *switchName, char const *dvPortId, hyx_uint32 connectId,
                         char const *externalId) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      HYX_ReturnStatus status =
          tessel_sim_dvs_port_add(switchName, dvPortId, connectId, externalId);
      Switch *sw = hostSwitch(switchName);
      if (status != HYX_OK || sw == nullptr || hostPort(switchName, dvPortId))
         return status;
      try {
         Host::instance().addPort(*sw, dvPortId);
         return HYX_OK;
      } catch (std::bad_alloc const &) {
         status = HYX_NO_MEMORY;
      } catch (std::exception const &) {
         status = HYX_LIMIT_EXCEEDED;
      }
      tessel_sim_dvs_port_remove(switchName, dvPortId);
      return status;
   });
}

HYX_ReturnStatus removePort(char const *switchName, char const *dvPortId) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      Port const *port = hostPort(switchName, dvPortId);
      if (port != nullptr && !port->runtime)
         return HYX_BUSY;
      HYX_ReturnStatus status = tessel_sim_dvs_port_remove(switchName, dvPortId);
      if (status == HYX_OK && port != nullptr)
         Host::instance().removePort(*hostSwitch(switchName), port->index);
      return status;
   });
}

/* The port ID of a distributed port: that of the host's port, for a switch
 * the host has; else the number the store gave it. */
HYX_ReturnStatus portNumber(char const *switchName, char const *dvPortId,
                            hyx_SwitchPortID *id) noexcept {
   if (id == nullptr)
      return HYX_BAD_PARAM;
   return guarded([&]() -> HYX_ReturnStatus {
      unsigned number = 0;
      HYX_ReturnStatus status = tessel_sim_dvs_port_number(switchName, dvPortId, &number);
      if (status != HYX_OK)
         return status;
      Port const *port = hostPort(switchName, dvPortId);
      *id = port != nullptr ? port->id : number;
      return HYX_OK;
   });
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
   status = tessel_sim_dvs_prop_get(scope, switchName, port, key, &data, &len);
   return fillQuery(query, status, data, len);
}

HYX_ReturnStatus setProp(int scope, char const *switchName, char const *dvsName, char const *port,
                         void const *value, int len, char const *key, hyx_uint32 type) {
   if (key == nullptr || len < 0 || (value == nullptr && len > 0))
      return HYX_BAD_PARAM;
   HYX_ReturnStatus status = checkNames(switchName, dvsName);
   if (status != HYX_OK)
      return status;
   return tessel_sim_dvs_prop_set(scope, switchName, port, key, value, len, type);
}

HYX_ReturnStatus clearProp(int scope, char const *switchName, char const *dvsName, char const *port,
                           char const *key) {
   if (key == nullptr)
      return HYX_BAD_PARAM;
   HYX_ReturnStatus status = checkNames(switchName, dvsName);
   if (status != HYX_OK)
      return status;
   return tessel_sim_dvs_prop_clear(scope, switchName, port, key);
}

/* ---- Keys of the subsystems' settings ---- */

std::vector<KeyedSetting> &keyedSettings() {
   static auto *settings = new std::vector<KeyedSetting>;
   return *settings;
}

/* The setting of key and the port name its calls take, when key names a
 * setting of this host's switch (and port) at the scope asked for; NULL
 * otherwise, and the store keeps the key like any other. */
KeyedSetting const *keyedFor(char const *switchName, char const *portId, char const *key,
                             std::string &portName) {
   KeyedSetting const *setting = findKeyedSetting(key);
   if (setting == nullptr || setting->port != (portId != nullptr) ||
       hostSwitch(switchName) == nullptr)
      return nullptr;
   if (portId != nullptr) {
      Port const *port = hostPort(switchName, portId);
      if (port == nullptr)
         return nullptr;
      portName = std::to_string(port->id);
   }
   return setting;
}

int bridgeGet(char const *switchName, char const *portId, char const *key, void **value, int *len) {
   int answer = -1;
   HYX_ReturnStatus status = guarded([&]() -> HYX_ReturnStatus {
      std::string portName;
      KeyedSetting const *setting = keyedFor(switchName, portId, key, portName);
      if (setting == nullptr)
         return HYX_OK;
      PropBytes bytes;
      HYX_ReturnStatus got = setting->get(switchName, portId ? portName.c_str() : nullptr, bytes);
      if (got == HYX_OK) {
         void *block = tessel_sim_block_alloc(bytes.empty() ? 1 : bytes.size());
         if (block == nullptr)
            got = HYX_NO_MEMORY;
         else {
            if (!bytes.empty())
               memcpy(block, bytes.data(), bytes.size());
            *value = block;
            *len = static_cast<int>(bytes.size());
         }
      }
      answer = got;
      return HYX_OK;
   });
   return status != HYX_OK ? status : answer;
}

int bridgeSet(char const *switchName, char const *portId, char const *key, void const *value,
              int len) {
   int answer = -1;
   HYX_ReturnStatus status = guarded([&]() -> HYX_ReturnStatus {
      std::string portName;
      KeyedSetting const *setting = keyedFor(switchName, portId, key, portName);
      if (setting != nullptr)
         answer = setting->set(switchName, portId ? portName.c_str() : nullptr,
                               static_cast<uint8_t const *>(value), static_cast<size_t>(len));
      return HYX_OK;
   });
   return status != HYX_OK ? status : answer;
}

int bridgeClear(char const *switchName, char const *portId, char const *key) {
   int answer = -1;
   HYX_ReturnStatus status = guarded([&]() -> HYX_ReturnStatus {
      std::string portName;
      KeyedSetting const *setting = keyedFor(switchName, portId, key, portName);
      if (setting != nullptr)
         answer = setting->clear(switchName, portId ? portName.c_str() : nullptr);
      return HYX_OK;
   });
   return status != HYX_OK ? status : answer;
}

/* The host's distributed switches and their ports, in the store: each
   port is connected (its connect id is its port id), so in use. */
constexpr hyx_uint32 kSeededMaxPorts = 1024;

void seedStore() {
   for (Switch const &sw : Host::instance().switches()) {
      if (!sw.distributed)
         continue;
      KernelState const &kernel = Host::instance().component<KernelComponent>().of(sw);
      hyx_uint32 const maxPorts =
          kernel.maxPorts > kSeededMaxPorts ? kernel.maxPorts : kSeededMaxPorts;
      if (tessel_sim_dvs_switch_create(sw.name.c_str(), sw.alias.c_str(), "cswitch", maxPorts,
                                       kLastVersion, kernel.dvsName.c_str()) != HYX_OK)
         continue;
      /* A port with a client is in use; one added by the lifecycle calls
       * has none. */
      for (Port const &port : sw.ports)
         if (!port.dvPortId.empty())
            tessel_sim_dvs_port_add(sw.name.c_str(), port.dvPortId.c_str(),
                                    port.runtime ? 0 : port.id, nullptr);
   }
}

struct SeederSetup {
   SeederSetup() {
      tessel_sim_dvs_set_seeder(seedStore);
      tessel_sim_dvs_set_bridge(bridgeGet, bridgeSet, bridgeClear);
      tessel_sim_add_topology_key("statestore", tessel_sim_dvs_store_load,
                                  tessel_sim_dvs_store_dump);
   }
   ~SeederSetup() {
      tessel_sim_dvs_set_seeder(nullptr);
      tessel_sim_dvs_set_bridge(nullptr, nullptr, nullptr);
   }
} g_seederSetup;

} // namespace

size_t registerKeyedSetting(KeyedSetting setting) {
   keyedSettings().push_back(setting);
   return keyedSettings().size() - 1;
}

KeyedSetting const *findKeyedSetting(char const *key) {
   if (key == nullptr)
      return nullptr;
   for (KeyedSetting const &setting : keyedSettings())
      if (strcmp(setting.key, key) == 0)
         return &setting;
   return nullptr;
}
} // namespace tessel

using namespace tessel;

TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_CreateVSwitch,
                (char const *switchName, char const *alias, char const *className,
                 hyx_uint32 maxPorts, hyx_Bool uplink, hyx_uint32 mtu, hyx_uint32 version,
                 hyx_uint32 flags),
                ((void)uplink, (void)flags,
                 createSwitch(switchName, alias, className, maxPorts, mtu, version)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_DestroyVSwitch, (char const *switchName),
                destroySwitch(switchName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_AddDVPort,
                (char const *switchName, char const *dvPortId, hyx_uint32 connectId),
                addPort(switchName, dvPortId, connectId, nullptr))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_AddOpaqueDVPort,
                (char const *switchName, char const *dvPortId, char const *externalId),
                externalId == nullptr ? HYX_BAD_PARAM
                                      : addPort(switchName, dvPortId, 0, externalId))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_RemoveDVPort,
                (char const *switchName, char const *dvPortId), removePort(switchName, dvPortId))
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
