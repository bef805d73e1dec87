/* The exported uplink, teaming and LAG functions of libtessel.so. */
#include <string.h>

#include <algorithm>
#include <set>

#include "api_support.h"
#include "hostapi/teaming.h"
#include "kernel_model.h"
#include "statestore_keys.h"
#include "teaming_model.h"

namespace tessel {
namespace {

TeamingComponent &teaming() { return Host::instance().component<TeamingComponent>(); }

/* Copies text into a slot of width bytes; the text is shorter than the
 * slot, so the zero fill terminates it. */
void putText(void *slot, size_t width, std::string const &text) {
   size_t n = std::min(text.size(), width - 1);
   memset(slot, 0, width);
   memcpy(slot, text.data(), n);
}

/* A name given in: HYX_BAD_PARAM for NULL or empty, HYX_NAME_TOO_LONG when
 * it has no NUL within width bytes (it is not read past them). */
HYX_ReturnStatus readName(char const *name, size_t width, std::string &out) {
   if (name == nullptr)
      return HYX_BAD_PARAM;
   size_t len = strnlen(name, width);
   if (len == 0)
      return HYX_BAD_PARAM;
   if (len == width)
      return HYX_NAME_TOO_LONG;
   out.assign(name, len);
   return HYX_OK;
}

/* Runs body(switch, state, uplink) for an uplink port of a switch;
 * HYX_NOT_FOUND for a port that is not an uplink. */
template <typename Body>
HYX_ReturnStatus withUplink(char const *switchName, char const *uplinkName, Body body) noexcept {
   return withPort(switchName, uplinkName, [&](Switch &sw, Port &port) -> HYX_ReturnStatus {
      TeamingState &state = teaming().of(sw);
      for (size_t i = 0; i < state.uplinks.size(); ++i)
         if (state.uplinks[i].port == port.index)
            return body(sw, state, i);
      return HYX_NOT_FOUND;
   });
}

/* A distributed switch's configuration; HYX_NOT_SUPPORTED on a standard
 * switch. */
template <typename Body> HYX_ReturnStatus withDistributed(char const *switchName, Body body) {
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      if (!sw.distributed)
         return HYX_NOT_SUPPORTED;
      return body(sw, teaming().of(sw));
   });
}

/* The switch and port a port ID names. */
HYX_ReturnStatus lookupPortId(hyx_SwitchPortID id, Switch const *&sw, Port const *&port) {
   port = nullptr;
   sw = Host::instance().findByPortId(id, &port);
   return sw == nullptr ? HYX_NOT_FOUND : HYX_OK;
}

/* ---- Uplinks and link state ---- */

HYX_ReturnStatus getUplinks(char const *switchName, VSUplinks **uplinks) noexcept {
   if (uplinks == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      auto const &list = teaming().of(sw).uplinks;
      unsigned char *block =
          allocTable(static_cast<uint32_t>(list.size()), sizeof(VSUplinks_entries));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      for (size_t i = 0; i < list.size(); ++i) {
         unsigned char *entry = block + 8 + i * sizeof(VSUplinks_entries);
         Port const &port = sw.ports[list[i].port];
         putText(entry, sizeof(hyx_Name), port.clientName);
         putAt<hyx_SwitchPortID>(entry, offsetof(VSUplinks_entries, portID), port.id);
      }
      *uplinks = reinterpret_cast<VSUplinks *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus getLinkState(char const *switchName, char const *uplinkName, hyx_LinkState *state,
                              bool lacp) noexcept {
   if (state == nullptr)
      return HYX_BAD_PARAM;
   return withUplink(switchName, uplinkName,
                     [&](Switch &, TeamingState &t, size_t i) -> HYX_ReturnStatus {
                        if (lacp && t.lagOf(i) == nullptr)
                           return HYX_NOT_FOUND;
                        *state = t.uplinks[i].up() ? HYX_LINK_STATE_UP : HYX_LINK_STATE_DOWN;
                        return HYX_OK;
                     });
}

HYX_ReturnStatus setAdminLinkState(char const *switchName, char const *uplinkName,
                                   hyx_LinkState state) noexcept {
   int32_t value = rawValue<int32_t>(state);
   if (value != HYX_LINK_STATE_DOWN && value != HYX_LINK_STATE_UP)
      return HYX_BAD_PARAM;
   return withUplink(switchName, uplinkName,
                     [&](Switch &, TeamingState &t, size_t i) -> HYX_ReturnStatus {
                        t.uplinks[i].adminUp = value == HYX_LINK_STATE_UP;
                        Host::instance().tick();
                        return HYX_OK;
                     });
}

/* The uplink is looked for on every distributed switch. */
HYX_ReturnStatus getUplinkDVPortID(char const *uplinkName, char *dvPortId) noexcept {
   if (dvPortId == nullptr)
      return HYX_BAD_PARAM;
   return guarded([&]() -> HYX_ReturnStatus {
      std::string name;
      HYX_ReturnStatus status = readName(uplinkName, HYX_PORT_CLIENT_NAME_MAX, name);
      if (status != HYX_OK)
         return status;
      for (auto const &sw : Host::instance().switches()) {
         if (!sw.distributed)
            continue;
         Uplink const *u = teaming().of(sw).findUplink(sw, name);
         if (u != nullptr) {
            std::string const &id = sw.ports[u->port].dvPortId;
            memset(dvPortId, 0, VS_UPLINK_PORT_ID_LEN);
            memcpy(dvPortId, id.data(), std::min(id.size(), size_t{VS_UPLINK_PORT_ID_LEN}));
            return HYX_OK;
         }
      }
      return HYX_NOT_FOUND;
   });
}

HYX_ReturnStatus getSwitchUplinkPorts(char const *switchName, VSUplinkPorts **ports,
                                      VSUplinkPortIds **portIds) noexcept {
   if (ports == nullptr || portIds == nullptr)
      return HYX_BAD_PARAM;
   return withDistributed(switchName, [&](Switch &, TeamingState &t) -> HYX_ReturnStatus {
      size_t n = t.uplinkPorts.size();
      auto *names =
          static_cast<unsigned char *>(tessel_sim_block_alloc(4 + n * VS_UPLINK_PORT_NAME_LEN));
      auto *ids =
          static_cast<unsigned char *>(tessel_sim_block_alloc(4 + n * VS_UPLINK_PORT_ID_LEN));
      if (names == nullptr || ids == nullptr) {
         tessel_sim_block_release(names);
         tessel_sim_block_release(ids);
         return HYX_NO_MEMORY;
      }
      putAt<hyx_uint32>(names, 0, static_cast<uint32_t>(n));
      putAt<hyx_uint32>(ids, 0, static_cast<uint32_t>(n));
      for (size_t i = 0; i < n; ++i) {
         putText(names + 4 + i * VS_UPLINK_PORT_NAME_LEN, VS_UPLINK_PORT_NAME_LEN,
                 t.uplinkPorts[i].name);
         putText(ids + 4 + i * VS_UPLINK_PORT_ID_LEN, VS_UPLINK_PORT_ID_LEN,
                 t.uplinkPorts[i].dvPortId);
      }
      *ports = reinterpret_cast<VSUplinkPorts *>(names);
      *portIds = reinterpret_cast<VSUplinkPortIds *>(ids);
      return HYX_OK;
   });
}

HYX_ReturnStatus setSwitchUplinkPorts(char const *switchName, VSUplinkPorts const *ports,
                                      VSUplinkPortIds const *portIds) noexcept {
   if (ports == nullptr || portIds == nullptr)
      return HYX_BAD_PARAM;
   return withDistributed(switchName, [&](Switch &, TeamingState &t) -> HYX_ReturnStatus {
      uint32_t n = getAt<hyx_uint32>(ports, 0);
      if (getAt<hyx_uint32>(portIds, 0) != n)
         return HYX_BAD_PARAM;
      if (n > HYX_TEAM_MAX_UPLINKS)
         return HYX_LIMIT_EXCEEDED;
      std::vector<UplinkPortEntry> list;
      std::set<std::string> seen;
      auto const *names = reinterpret_cast<char const *>(ports) + 4;
      auto const *ids = reinterpret_cast<char const *>(portIds) + 4;
      for (uint32_t i = 0; i < n; ++i) {
         UplinkPortEntry e;
         if (readName(names + i * VS_UPLINK_PORT_NAME_LEN, VS_UPLINK_PORT_NAME_LEN, e.name) !=
             HYX_OK)
            return HYX_BAD_PARAM;
         char const *id = ids + i * VS_UPLINK_PORT_ID_LEN;
         size_t idLen = strnlen(id, VS_UPLINK_PORT_ID_LEN);
         if (idLen == VS_UPLINK_PORT_ID_LEN || !seen.insert(e.name).second)
            return HYX_BAD_PARAM;
         e.dvPortId.assign(id, idLen);
         list.push_back(std::move(e));
      }
      t.uplinkPorts = std::move(list);
      return HYX_OK;
   });
}

HYX_ReturnStatus addSwitchUplinkPort(char const *switchName, char const *uplinkPort) noexcept {
   return withDistributed(switchName, [&](Switch &sw, TeamingState &t) -> HYX_ReturnStatus {
      std::string name;
      HYX_ReturnStatus status = readName(uplinkPort, VS_UPLINK_PORT_NAME_LEN, name);
      if (status != HYX_OK)
         return status;
      for (auto const &e : t.uplinkPorts)
         if (e.name == name)
            return HYX_EXISTS;
      if (t.uplinkPorts.size() >= HYX_TEAM_MAX_UPLINKS)
         return HYX_LIMIT_EXCEEDED;
      Port const *port = sw.findPort(name.c_str());
      t.uplinkPorts.push_back({name, port != nullptr ? port->dvPortId : std::string()});
      return HYX_OK;
   });
}

HYX_ReturnStatus removeSwitchUplinkPort(char const *switchName, char const *uplinkPort) noexcept {
   return withDistributed(switchName, [&](Switch &, TeamingState &t) -> HYX_ReturnStatus {
      std::string name;
      HYX_ReturnStatus status = readName(uplinkPort, VS_UPLINK_PORT_NAME_LEN, name);
      if (status != HYX_OK)
         return status;
      for (auto it = t.uplinkPorts.begin(); it != t.uplinkPorts.end(); ++it)
         if (it->name == name) {
            t.uplinkPorts.erase(it);
            return HYX_OK;
         }
      return HYX_NOT_FOUND;
   });
}

HYX_ReturnStatus clearSwitchUplinkPorts(char const *switchName) noexcept {
   return withDistributed(switchName, [&](Switch &, TeamingState &t) -> HYX_ReturnStatus {
      t.uplinkPorts.clear();
      return HYX_OK;
   });
}

/* ---- Teaming policy ---- */

HYX_ReturnStatus getTeamingPolicy(char const *switchName, VSTeamPolicy *policy) noexcept {
   if (policy == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      writePolicy(teaming().switchPolicy(sw), *policy);
      return HYX_OK;
   });
}

HYX_ReturnStatus getTeamingPolicyFromDVSID(char const *dvsId, VSTeamPolicy *policy) noexcept {
   if (policy == nullptr)
      return HYX_BAD_PARAM;
   return guarded([&]() -> HYX_ReturnStatus {
      std::string id;
      HYX_ReturnStatus status = readName(dvsId, VS_DVS_SWITCH_ID_LEN, id);
      if (status != HYX_OK)
         return status;
      Host &host = Host::instance();
      for (auto const &sw : host.switches())
         if (sw.distributed && host.component<KernelComponent>().of(sw).dvsName == id) {
            writePolicy(teaming().switchPolicy(sw), *policy);
            return HYX_OK;
         }
      return HYX_NOT_FOUND;
   });
}

HYX_ReturnStatus setTeamingPolicy(char const *switchName, VSTeamPolicy const *policy) noexcept {
   if (policy == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      TeamPolicy p;
      HYX_ReturnStatus status = readPolicy(*policy, p);
      if (status == HYX_OK)
         teaming().of(sw).policy = std::move(p);
      return status;
   });
}

HYX_ReturnStatus clearTeamingPolicy(char const *switchName) noexcept {
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      teaming().of(sw).policy.reset();
      return HYX_OK;
   });
}

template <typename Body>
HYX_ReturnStatus withPortTeaming(char const *switchName, char const *portName, Body body) noexcept {
   return withPort(switchName, portName, [&](Switch &sw, Port &port) -> HYX_ReturnStatus {
      return body(sw, port, teaming().of(sw).ports[port.index]);
   });
}

HYX_ReturnStatus getPortTeamingPolicy(char const *switchName, char const *portName,
                                      VSTeamPolicy *policy) noexcept {
   if (policy == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) -> HYX_ReturnStatus {
      writePolicy(teaming().portPolicy(sw, port), *policy);
      return HYX_OK;
   });
}

HYX_ReturnStatus setPortTeamingPolicy(char const *switchName, char const *portName,
                                      VSTeamPolicy const *policy) noexcept {
   if (policy == nullptr)
      return HYX_BAD_PARAM;
   return withPortTeaming(switchName, portName,
                          [&](Switch &, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
                             TeamPolicy p;
                             HYX_ReturnStatus status = readPolicy(*policy, p);
                             if (status == HYX_OK)
                                pt.policy = std::move(p);
                             return status;
                          });
}

HYX_ReturnStatus clearPortTeamingPolicy(char const *switchName, char const *portName) noexcept {
   return withPortTeaming(switchName, portName,
                          [&](Switch &, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
                             pt.policy.reset();
                             return HYX_OK;
                          });
}

HYX_ReturnStatus getPortTeamingOverride(char const *switchName, char const *portName,
                                        char *overrideUplink) noexcept {
   if (overrideUplink == nullptr)
      return HYX_BAD_PARAM;
   return withPortTeaming(switchName, portName,
                          [&](Switch &, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
                             putText(overrideUplink, VS_UPLINK_PORT_NAME_LEN, pt.override);
                             return HYX_OK;
                          });
}

HYX_ReturnStatus setPortTeamingOverride(char const *switchName, char const *portName,
                                        char const *uplinkName) noexcept {
   return withPortTeaming(
       switchName, portName, [&](Switch &sw, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
          std::string name;
          HYX_ReturnStatus status = readName(uplinkName, VS_UPLINK_PORT_NAME_LEN, name);
          if (status != HYX_OK)
             return status;
          if (teaming().of(sw).findUplink(sw, name) == nullptr)
             return HYX_NOT_FOUND;
          pt.override = name;
          return HYX_OK;
       });
}

HYX_ReturnStatus clearPortTeamingOverride(char const *switchName, char const *portName) noexcept {
   return withPortTeaming(switchName, portName,
                          [&](Switch &, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
                             pt.override.clear();
                             return HYX_OK;
                          });
}

HYX_ReturnStatus getTxUplinkAlways(char const *switchName, char const *portName,
                                   hyx_Bool *flag) noexcept {
   if (flag == nullptr)
      return HYX_BAD_PARAM;
   return withPortTeaming(switchName, portName,
                          [&](Switch &, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
                             *flag = pt.txUplinkAlways ? 1 : 0;
                             return HYX_OK;
                          });
}

HYX_ReturnStatus setTxUplinkAlways(char const *switchName, char const *portName,
                                   hyx_Bool flag) noexcept {
   bool value = false;
   if (!readBool(flag, value))
      return HYX_BAD_PARAM;
   return withPortTeaming(switchName, portName,
                          [&](Switch &, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
                             pt.txUplinkAlways = value;
                             return HYX_OK;
                          });
}

HYX_ReturnStatus getServicePortTeamingStats(char const *switchName,
                                            VSServicePortTeamingStats *stats) noexcept {
   if (stats == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      memcpy(stats, &teaming().of(sw).serviceStats, sizeof *stats);
      return HYX_OK;
   });
}

HYX_ReturnStatus portGetTeamUplinkHint(hyx_SwitchPortID portID, hyx_Name *uplinkName) noexcept {
   if (uplinkName == nullptr)
      return HYX_BAD_PARAM;
   return guarded([&]() -> HYX_ReturnStatus {
      Switch const *sw = nullptr;
      Port const *port = nullptr;
      HYX_ReturnStatus status = lookupPortId(portID, sw, port);
      if (status != HYX_OK)
         return status;
      std::string hint = teaming().uplinkHint(*sw, *port);
      if (hint.empty())
         return HYX_NOT_FOUND;
      putText(uplinkName, sizeof(hyx_Name), hint);
      return HYX_OK;
   });
}

/* ---- Logical-switch teaming ---- */

HYX_ReturnStatus getLSTeamingPolicyTable(char const *switchName, LSTeamTable **table) noexcept {
   if (table == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      auto const &list = teaming().of(sw).lsPolicies;
      auto *block = static_cast<unsigned char *>(
          tessel_sim_block_alloc(4 + list.size() * sizeof(LSTeamPolicy)));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      putAt<hyx_uint32>(block, 0, static_cast<uint32_t>(list.size()));
      for (size_t i = 0; i < list.size(); ++i) {
         LSTeamPolicy out;
         memset(&out, 0, sizeof out);
         putText(out.name, sizeof out.name, list[i].name);
         writePolicy(list[i].policy, out);
         putAt(block, 4 + i * sizeof(LSTeamPolicy), out);
      }
      *table = reinterpret_cast<LSTeamTable *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus setLSTeamingPolicy(char const *switchName, LSTeamTable const *table) noexcept {
   if (table == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      uint32_t n = getAt<hyx_uint32>(table, 0);
      if (n > VS_LS_TEAM_POLICIES_MAX)
         return HYX_LIMIT_EXCEEDED;
      std::vector<LsTeamPolicy> list;
      std::set<std::string> names;
      for (uint32_t i = 0; i < n; ++i) {
         auto const in = getAt<LSTeamPolicy>(table, 4 + i * sizeof(LSTeamPolicy));
         LsTeamPolicy p;
         if (readName(in.name, sizeof in.name, p.name) != HYX_OK || !names.insert(p.name).second ||
             readPolicy(in, p.policy) != HYX_OK)
            return HYX_BAD_PARAM;
         list.push_back(std::move(p));
      }
      TeamingState &t = teaming().of(sw);
      t.lsPolicies = std::move(list);
      for (auto &pt : t.ports)
         if (!pt.lsPolicy.empty() && names.count(pt.lsPolicy) == 0)
            pt.lsPolicy.clear();
      return HYX_OK;
   });
}

HYX_ReturnStatus clearLSTeamingPolicy(char const *switchName) noexcept {
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      TeamingState &t = teaming().of(sw);
      t.lsPolicies.clear();
      for (auto &pt : t.ports)
         pt.lsPolicy.clear();
      return HYX_OK;
   });
}

HYX_ReturnStatus setPortLSTeamingPolicy(char const *switchName, char const *portName,
                                        char const *policyName) noexcept {
   return withPortTeaming(
       switchName, portName, [&](Switch &sw, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
          std::string name;
          HYX_ReturnStatus status = readName(policyName, VS_LS_TEAM_POLICY_NAME_LEN, name);
          if (status != HYX_OK)
             return status;
          for (auto const &p : teaming().of(sw).lsPolicies)
             if (p.name == name) {
                pt.lsPolicy = name;
                return HYX_OK;
             }
          return HYX_NOT_FOUND;
       });
}

HYX_ReturnStatus clearPortLSTeamingPolicy(char const *switchName, char const *portName) noexcept {
   return withPortTeaming(switchName, portName,
                          [&](Switch &, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
                             pt.lsPolicy.clear();
                             return HYX_OK;
                          });
}

HYX_ReturnStatus getPortLSTeamingPolicyNameById(hyx_SwitchPortID portID,
                                                char *chosenPolicy) noexcept {
   if (chosenPolicy == nullptr)
      return HYX_BAD_PARAM;
   return guarded([&]() -> HYX_ReturnStatus {
      Switch const *sw = nullptr;
      Port const *port = nullptr;
      HYX_ReturnStatus status = lookupPortId(portID, sw, port);
      if (status != HYX_OK)
         return status;
      putText(chosenPolicy, VS_LS_TEAM_POLICY_NAME_LEN,
              teaming().of(*sw).ports[port->index].lsPolicy);
      return HYX_OK;
   });
}

HYX_ReturnStatus getPortLSTeamingPolicyName(char const *switchName, char const *portName,
                                            char *chosenPolicy) noexcept {
   if (chosenPolicy == nullptr)
      return HYX_BAD_PARAM;
   return withPortTeaming(switchName, portName,
                          [&](Switch &, Port &, PortTeaming &pt) -> HYX_ReturnStatus {
                             putText(chosenPolicy, VS_LS_TEAM_POLICY_NAME_LEN, pt.lsPolicy);
                             return HYX_OK;
                          });
}

/* ---- Link aggregation ---- */

HYX_ReturnStatus getLAGTable(char const *switchName, VSLAGTable **table) noexcept {
   if (table == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      TeamingState const &t = teaming().of(sw);
      size_t bytes = sizeof(VSLAGTable);
      for (auto const &lag : t.lags)
         bytes += sizeof(VSLAGStatus) + lag.members.size() * sizeof(hyx_Name);
      auto *block = static_cast<unsigned char *>(tessel_sim_block_alloc(bytes));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      putAt<hyx_uint32>(block, 0, static_cast<uint32_t>(t.lags.size()));
      unsigned char *at = block + sizeof(VSLAGTable);
      for (auto const &lag : t.lags) {
         uint64_t bitmap = 0;
         for (size_t m = 0; m < lag.members.size(); ++m) {
            Uplink const &u = t.uplinks[lag.members[m]];
            if (u.up())
               bitmap |= uint64_t{1} << m;
            putText(at + sizeof(VSLAGStatus) + m * sizeof(hyx_Name), sizeof(hyx_Name),
                    sw.ports[u.port].clientName);
         }
         putAt<int32_t>(at, offsetof(VSLAGStatus, state),
                        bitmap != 0 ? HYX_LINK_STATE_UP : HYX_LINK_STATE_DOWN);
         putAt<hyx_uint32>(at, offsetof(VSLAGStatus, id), lag.id);
         putText(at + offsetof(VSLAGStatus, name), VS_LAG_NAME_LEN, lag.name);
         putAt<hyx_uint64>(at, offsetof(VSLAGStatus, uplinkLinkupBitmap), bitmap);
         putAt<hyx_uint32>(at, offsetof(VSLAGStatus, numUplinks),
                           static_cast<uint32_t>(lag.members.size()));
         at += sizeof(VSLAGStatus) + lag.members.size() * sizeof(hyx_Name);
      }
      *table = reinterpret_cast<VSLAGTable *>(block);
      return HYX_OK;
   });
}

} // namespace
/* ---- Keyed settings ---- */

/* The configured uplink ports: a VSUplinkPorts table (the count and the
 * names), as the Get call hands it out.  Written, each name takes the
 * distributed port ID of the switch's port of that name, as an added uplink
 * port does. */
struct UplinkPortsKey {
   static HYX_ReturnStatus get(char const *sw, char const *, PropBytes &out) {
      VSUplinkPorts *ports = nullptr;
      VSUplinkPortIds *ids = nullptr;
      HYX_ReturnStatus status = getSwitchUplinkPorts(sw, &ports, &ids);
      if (status == HYX_OK)
         putValue(out, ports, 4 + getAt<hyx_uint32>(ports, 0) * size_t{VS_UPLINK_PORT_NAME_LEN});
      tessel_sim_block_release(ports);
      tessel_sim_block_release(ids);
      return status;
   }
   static HYX_ReturnStatus set(char const *sw, char const *, uint8_t const *value, size_t len) {
      if (len < 4)
         return HYX_BAD_PARAM;
      size_t const n = readLe32(value);
      if (len != 4 + n * VS_UPLINK_PORT_NAME_LEN)
         return HYX_BAD_PARAM;
      if (n > HYX_TEAM_MAX_UPLINKS)
         return HYX_LIMIT_EXCEEDED;
      std::vector<uint8_t> ids(4 + n * VS_UPLINK_PORT_ID_LEN, 0);
      putAt<hyx_uint32>(ids.data(), 0, static_cast<uint32_t>(n));
      HYX_ReturnStatus status =
          withDistributed(sw, [&](Switch &s, TeamingState &) -> HYX_ReturnStatus {
             for (size_t i = 0; i < n; ++i) {
                char const *slot =
                    reinterpret_cast<char const *>(value) + 4 + i * VS_UPLINK_PORT_NAME_LEN;
                std::string const name(slot, strnlen(slot, VS_UPLINK_PORT_NAME_LEN));
                Port const *port = s.findPort(name.c_str());
                if (port != nullptr)
                   putText(ids.data() + 4 + i * VS_UPLINK_PORT_ID_LEN, VS_UPLINK_PORT_ID_LEN,
                           port->dvPortId);
             }
             return HYX_OK;
          });
      if (status != HYX_OK)
         return status;
      return setSwitchUplinkPorts(sw, reinterpret_cast<VSUplinkPorts const *>(value),
                                  reinterpret_cast<VSUplinkPortIds const *>(ids.data()));
   }
   static HYX_ReturnStatus clear(char const *sw, char const *) {
      return clearSwitchUplinkPorts(sw);
   }
};

using SwitchTeamingKey = SwitchRecord<&getTeamingPolicy, &setTeamingPolicy, &clearTeamingPolicy>;
using PortTeamingKey =
    PortRecord<&getPortTeamingPolicy, &setPortTeamingPolicy, &clearPortTeamingPolicy>;

TESSEL_KEYED_SETTING(UplinkPorts, HYX_ZARPROP_SWITCH_UPLINKPORTS, false,
                     TESSEL_KEYED_BY(UplinkPortsKey));
TESSEL_KEYED_SETTING(SwitchTeaming, VSPROP_SWITCH_TEAMING, false,
                     TESSEL_KEYED_BY(SwitchTeamingKey));
TESSEL_KEYED_SETTING(PortTeaming, VSPROP_PORT_TEAMING_POLICY, true,
                     TESSEL_KEYED_BY(PortTeamingKey));

} // namespace tessel

using namespace tessel;

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetUplinks, (char const *switchName, VSUplinks **uplinks),
                getUplinks(switchName, uplinks))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetUplinkLinkState,
                (char const *switchName, char const *uplinkName, hyx_LinkState *state),
                getLinkState(switchName, uplinkName, state, false))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetUplinkLACPLinkState,
                (char const *switchName, char const *uplinkName, hyx_LinkState *state),
                getLinkState(switchName, uplinkName, state, true))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetUplinkAdminLinkState,
                (char const *switchName, char const *uplinkName, hyx_LinkState state),
                setAdminLinkState(switchName, uplinkName, state))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetUplinkDVPortID, (char const *uplinkName, char *dvPortId),
                getUplinkDVPortID(uplinkName, dvPortId))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetSwitchUplinkPorts,
                (char const *switchName, VSUplinkPorts **ports, VSUplinkPortIds **portIds),
                getSwitchUplinkPorts(switchName, ports, portIds))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetSwitchUplinkPorts,
                (char const *switchName, VSUplinkPorts const *ports,
                 VSUplinkPortIds const *portIds),
                setSwitchUplinkPorts(switchName, ports, portIds))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_AddSwitchUplinkPort,
                (char const *switchName, char const *uplinkPort),
                addSwitchUplinkPort(switchName, uplinkPort))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_RemoveSwitchUplinkPort,
                (char const *switchName, char const *uplinkPort),
                removeSwitchUplinkPort(switchName, uplinkPort))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearSwitchUplinkPorts, (char const *switchName),
                clearSwitchUplinkPorts(switchName))

TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetTeamingPolicy,
                (char const *switchName, VSTeamPolicy *policy),
                getTeamingPolicy(switchName, policy))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetTeamingPolicyFromDVSID,
                (char const *dvsId, VSTeamPolicy *policy), getTeamingPolicyFromDVSID(dvsId, policy))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetTeamingPolicy,
                (char const *switchName, VSTeamPolicy const *policy),
                setTeamingPolicy(switchName, policy))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearTeamingPolicy, (char const *switchName),
                clearTeamingPolicy(switchName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPortTeamingPolicy,
                (char const *switchName, char const *portName, VSTeamPolicy *policy),
                getPortTeamingPolicy(switchName, portName, policy))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPortTeamingPolicy,
                (char const *switchName, char const *portName, VSTeamPolicy const *policy),
                setPortTeamingPolicy(switchName, portName, policy))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearPortTeamingPolicy,
                (char const *switchName, char const *portName),
                clearPortTeamingPolicy(switchName, portName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPortTeamingOverride,
                (char const *switchName, char const *portName, char *overrideUplink),
                getPortTeamingOverride(switchName, portName, overrideUplink))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPortTeamingOverride,
                (char const *switchName, char const *portName, char const *uplinkName),
                setPortTeamingOverride(switchName, portName, uplinkName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearPortTeamingOverride,
                (char const *switchName, char const *portName),
                clearPortTeamingOverride(switchName, portName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetTxUplinkAlways,
                (char const *switchName, char const *portName, hyx_Bool *txUplinkAlways),
                getTxUplinkAlways(switchName, portName, txUplinkAlways))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetTxUplinkAlways,
                (char const *switchName, char const *portName, hyx_Bool txUplinkAlways),
                setTxUplinkAlways(switchName, portName, txUplinkAlways))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetServicePortTeamingStats,
                (char const *switchName, VSServicePortTeamingStats *stats),
                getServicePortTeamingStats(switchName, stats))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_PortGetTeamUplinkHint,
                (hyx_SwitchPortID portID, hyx_Name *uplinkName),
                portGetTeamUplinkHint(portID, uplinkName))

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetLSTeamingPolicyTable,
                (char *switchName, LSTeamTable **table), getLSTeamingPolicyTable(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetLSTeamingPolicyTable,
                (char const *switchName, LSTeamTable **table),
                getLSTeamingPolicyTable(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetLSTeamingPolicy,
                (char const *switchName, LSTeamTable const *table),
                setLSTeamingPolicy(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearLSTeamingPolicy, (char const *switchName),
                clearLSTeamingPolicy(switchName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPortLSTeamingPolicy,
                (char const *switchName, char const *portName, char const *policyName),
                setPortLSTeamingPolicy(switchName, portName, policyName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearPortLSTeamingPolicy,
                (char const *switchName, char const *portName),
                clearPortLSTeamingPolicy(switchName, portName))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetPortLSTeamingPolicyName,
                (hyx_SwitchPortID portID, char *chosenPolicy),
                getPortLSTeamingPolicyNameById(portID, chosenPolicy))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPortLSTeamingPolicyName,
                (char const *switchName, char const *portName, char *chosenPolicy),
                getPortLSTeamingPolicyName(switchName, portName, chosenPolicy))

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetLAGTable, (char const *switchName, VSLAGTable **table),
                getLAGTable(switchName, table))
