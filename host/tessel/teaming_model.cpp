#include "teaming_model.h"

#include <string.h>

#include <set>

#include "hostapi/ports.h"
#include "kernel_model.h"

namespace tessel {

TESSEL_COMPONENT(TeamingComponent, "teaming", "kernel");

namespace {

constexpr uint32_t kKnownCriteria =
    TEAM_FRP_CRIT_LINK_SPEED | TEAM_FRP_CRIT_LINK_SPEED_GTE | TEAM_FRP_CRIT_LINK_DUPLEX |
    TEAM_FRP_CRIT_LACP_PORT_DOWN | TEAM_FRP_CRIT_BEACON_STATE | TEAM_FRP_CRIT_LINK_ERR |
    TEAM_FRP_CRIT_LINK_STATE | TEAM_FRP_CRIT_PORT_BLOCKED | TEAM_FRP_CRIT_DRV_PRESENT;
constexpr uint32_t kKnownFlags = TEAM_FRP_FLAG_ALL_AVAILABLE | TEAM_FRP_FLAG_REVERSE |
                                 TEAM_FRP_FLAG_BEST_EFFORT | TEAM_FRP_FLAG_ROLLING |
                                 TEAM_FRP_FLAG_SHOTGUN | TEAM_FRP_FLAG_NOTIFY_SWITCH |
                                 TEAM_FRP_FLAG_BLOCK_OUTPUT | TEAM_FRP_FLAG_LACP_CLIENT;

/* The fields both policy records share, read from a record at any
 * alignment. */
HYX_ReturnStatus readCommon(uint32_t loadBalance, uint32_t criteria, uint32_t flags,
                            uint32_t numActive, uint32_t numStandby, char const *slots,
                            TeamPolicy &out) {
   if (loadBalance > TEAM_FRP_TYPE_LB_LBT || (criteria & ~kKnownCriteria) != 0 ||
       (flags & ~kKnownFlags) != 0)
      return HYX_BAD_PARAM;
   if (numActive > HYX_TEAM_MAX_UPLINKS || numStandby > HYX_TEAM_MAX_UPLINKS - numActive)
      return HYX_BAD_PARAM;
   TeamPolicy p;
   p.loadBalance = loadBalance;
   p.linkCriteria = criteria;
   p.flags = flags;
   for (uint32_t i = 0; i < numActive + numStandby; ++i) {
      char const *slot = slots + i * VS_UPLINK_PORT_NAME_LEN;
      size_t len = strnlen(slot, VS_UPLINK_PORT_NAME_LEN);
      if (len == 0 || len == VS_UPLINK_PORT_NAME_LEN)
         return HYX_BAD_PARAM;
      (i < numActive ? p.active : p.standby).emplace_back(slot, len);
   }
   out = std::move(p);
   return HYX_OK;
}

void writeSlots(TeamPolicy const &in, char (*slots)[VS_UPLINK_PORT_NAME_LEN]) {
   size_t i = 0;
   for (auto const *names : {&in.active, &in.standby})
      for (auto const &name : *names) {
         /* Every stored name is shorter than its slot. */
         memset(slots[i], 0, VS_UPLINK_PORT_NAME_LEN);
         memcpy(slots[i], name.data(), name.size());
         ++i;
      }
}

} // namespace

HYX_ReturnStatus readPolicy(VSTeamPolicy const &in, TeamPolicy &out) {
   TeamPolicy p;
   HYX_ReturnStatus status = readCommon(in.loadBalance, in.linkCriteria, in.flags, in.numActive,
                                        in.numStandby, in.uplinkPortName[0], p);
   if (status != HYX_OK)
      return status;
   p.percentError = in.percentError;
   p.fullDuplex = in.fullDuplex;
   p.speed = in.speed;
   out = std::move(p);
   return HYX_OK;
}

HYX_ReturnStatus readPolicy(LSTeamPolicy const &in, TeamPolicy &out) {
   return readCommon(in.loadBalance, in.linkCriteria, in.flags, in.numActive, in.numStandby,
                     in.uplinkPortName[0], out);
}

void writePolicy(TeamPolicy const &in, VSTeamPolicy &out) {
   memset(&out, 0, sizeof out);
   out.loadBalance = in.loadBalance;
   out.linkCriteria = in.linkCriteria;
   out.percentError = in.percentError;
   out.fullDuplex = in.fullDuplex;
   out.speed = in.speed;
   out.flags = in.flags;
   out.numActive = static_cast<hyx_uint32>(in.active.size());
   out.numStandby = static_cast<hyx_uint32>(in.standby.size());
   writeSlots(in, out.uplinkPortName);
}

void writePolicy(TeamPolicy const &in, LSTeamPolicy &out) {
   /* The name is the caller's to write. */
   out.loadBalance = in.loadBalance;
   out.linkCriteria = in.linkCriteria;
   out.flags = in.flags;
   out.numActive = static_cast<hyx_uint32>(in.active.size());
   out.numStandby = static_cast<hyx_uint32>(in.standby.size());
   memset(out.uplinkPortName, 0, sizeof out.uplinkPortName);
   writeSlots(in, out.uplinkPortName);
}

Uplink *TeamingState::findUplink(Switch const &sw, char const *name) {
   Port const *port = sw.findPort(name);
   if (port == nullptr)
      return nullptr;
   for (auto &u : uplinks)
      if (u.port == port->index)
         return &u;
   return nullptr;
}

Uplink const *TeamingState::findUplink(Switch const &sw, std::string const &name) const {
   for (auto const &u : uplinks)
      if (sw.ports[u.port].clientName == name)
         return &u;
   return nullptr;
}

Lag const *TeamingState::lagOf(size_t uplink) const {
   for (auto const &lag : lags)
      for (size_t m : lag.members)
         if (m == uplink)
            return &lag;
   return nullptr;
}

void TeamingComponent::removePort(Host &host, Switch const &sw, uint32_t index) {
   ComponentOf<TeamingState>::removePort(host, sw, index);
   for (auto &uplink : of(sw).uplinks)
      if (uplink.port > index)
         --uplink.port;
}

void TeamingComponent::addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) {
   TeamingState state;
   state.ports.resize(sw.ports.size());
   for (auto const &port : sw.ports) {
      Settings &in = *settings.onPorts[port.index];
      bool const isUplink = port.clientType == VS_PORT_CLIENT_UPLINK;
      if (!isUplink) {
         if (in.has("link") || in.has("speed"))
            in.fail("only an uplink has a link");
         continue;
      }
      Uplink u;
      u.port = port.index;
      u.physicalUp = in.choice<bool>("link", {{"up", true}, {"down", false}}, true);
      u.speed = in.number<uint32_t>("speed", u.speed);
      state.uplinks.push_back(u);
   }

   std::set<std::string> lagNames;
   std::set<size_t> inLag;
   for (Settings *entry : settings.onSwitch.list("lags")) {
      Lag lag;
      lag.name = entry->text("name", "");
      if (lag.name.empty() || lag.name.size() >= VS_LAG_NAME_LEN)
         entry->fail("a LAG name is 1 to " + std::to_string(VS_LAG_NAME_LEN - 1) + " bytes",
                     "name");
      if (!lagNames.insert(lag.name).second)
         entry->fail("a second LAG named " + lag.name, "name");
      lag.id = entry->number<uint32_t>("id", static_cast<uint32_t>(state.lags.size() + 1));
      for (auto const &name : entry->texts("uplinks").value_or(std::vector<std::string>{})) {
         size_t i = 0;
         while (i < state.uplinks.size() && sw.ports[state.uplinks[i].port].clientName != name)
            ++i;
         if (i == state.uplinks.size())
            entry->fail("no uplink " + name + " on the switch", "uplinks");
         if (!inLag.insert(i).second)
            entry->fail("uplink " + name + " is in a LAG already", "uplinks");
         lag.members.push_back(i);
      }
      if (lag.members.size() > 64)
         entry->fail("a LAG has at most 64 uplinks", "uplinks");
      state.lags.push_back(std::move(lag));
   }

   if (auto names = settings.onSwitch.texts("uplinkPorts")) {
      if (!sw.distributed)
         settings.onSwitch.fail("only a distributed switch has configured uplink ports",
                                "uplinkPorts");
      if (names->size() > HYX_TEAM_MAX_UPLINKS)
         settings.onSwitch.fail("at most " + std::to_string(HYX_TEAM_MAX_UPLINKS), "uplinkPorts");
      for (auto const &name : *names) {
         Port const *port = sw.findPort(name.c_str());
         if (name.empty() || name.size() >= VS_UPLINK_PORT_NAME_LEN)
            settings.onSwitch.fail("\"" + name + "\" cannot be an uplink port name", "uplinkPorts");
         state.uplinkPorts.push_back({name, port != nullptr ? port->dvPortId : std::string()});
      }
   } else if (sw.distributed) {
      for (auto const &u : state.uplinks) {
         Port const &port = sw.ports[u.port];
         if (state.uplinkPorts.size() < HYX_TEAM_MAX_UPLINKS)
            state.uplinkPorts.push_back({port.clientName, port.dvPortId});
      }
   }

   readTeamingSettings(sw, settings, state);

   /* A switch with service VM ports has counters of its service port. */
   if (host.component<KernelComponent>().of(sw).serviceVmPorts != 0) {
      uint64_t s = mix(0x7EA0000u + sw.ordinal);
      VSServicePortTeamingStats &st = state.serviceStats;
      st.txFromSrvPort = 1000 + s % 100000;
      st.txUsingSrvPortFRP = st.txFromSrvPort / 2;
      st.txUsingPktSrcPortFRP = st.txFromSrvPort - st.txUsingSrvPortFRP;
      st.txErrors = (s >> 20) % 5;
      st.rxToSrvPort = 800 + (s >> 24) % 90000;
      st.rxRpfOverride = (s >> 44) % 40;
   }
   switches_.push_back(std::move(state));
}

TeamPolicy TeamingComponent::defaultPolicy(Switch const &sw) const {
   TeamPolicy p;
   for (auto const &u : of(sw).uplinks)
      if (p.active.size() < HYX_TEAM_MAX_UPLINKS)
         p.active.push_back(sw.ports[u.port].clientName);
   return p;
}

TeamPolicy TeamingComponent::switchPolicy(Switch const &sw) const {
   auto const &policy = of(sw).policy;
   return policy ? *policy : defaultPolicy(sw);
}

TeamPolicy TeamingComponent::portPolicy(Switch const &sw, Port const &port) const {
   auto const &policy = of(sw).ports[port.index].policy;
   return policy ? *policy : switchPolicy(sw);
}

std::string TeamingComponent::uplinkHint(Switch const &sw, Port const &port) const {
   TeamingState const &state = of(sw);
   auto isUp = [&](std::string const &name) {
      Uplink const *u = state.findUplink(sw, name);
      return u != nullptr && u->up();
   };
   std::string const &override = state.ports[port.index].override;
   if (!override.empty() && isUp(override))
      return override;
   TeamPolicy const policy = portPolicy(sw, port);
   for (auto const *names : {&policy.active, &policy.standby})
      for (auto const &name : *names)
         if (isUp(name))
            return name;
   return std::string();
}

} // namespace tessel
