/* The teaming subsystem's state as topology settings, and the settings only
 * a dump needs (the policies and overrides the host's calls set). */
#include <string.h>

#include "dump_support.h"
#include "hostapi/ports.h"
#include "teaming_model.h"

namespace tessel {

namespace {

json policyJson(TeamPolicy const &p, bool full) {
   json out = {{"loadBalance", p.loadBalance},
               {"linkCriteria", p.linkCriteria},
               {"flags", p.flags},
               {"active", p.active},
               {"standby", p.standby}};
   if (full) {
      out["percentError"] = p.percentError;
      out["fullDuplex"] = p.fullDuplex;
      out["speed"] = p.speed;
   }
   return out;
}

/* A policy in the form policyJson writes, checked as the host checks the
 * record a caller gives. */
TeamPolicy policySetting(Settings &in, bool full) {
   TeamPolicy p;
   p.loadBalance = in.number<uint32_t>("loadBalance", p.loadBalance);
   p.linkCriteria = in.number<uint32_t>("linkCriteria", p.linkCriteria);
   p.flags = in.number<uint32_t>("flags", p.flags);
   p.active = in.texts("active").value_or(std::vector<std::string>{});
   p.standby = in.texts("standby").value_or(std::vector<std::string>{});
   if (full) {
      p.percentError = in.number<uint8_t>("percentError", 0);
      p.fullDuplex = in.number<uint8_t>("fullDuplex", 0);
      p.speed = in.number<uint16_t>("speed", 0);
   }
   if (p.active.size() + p.standby.size() > HYX_TEAM_MAX_UPLINKS)
      in.fail("at most " + std::to_string(HYX_TEAM_MAX_UPLINKS) + " uplinks", "active");
   for (auto const *names : {&p.active, &p.standby})
      for (auto const &name : *names)
         if (name.empty() || name.size() >= VS_UPLINK_PORT_NAME_LEN ||
             name.find('\0') != std::string::npos)
            in.fail("\"" + name + "\" cannot be an uplink name",
                    names == &p.active ? "active" : "standby");
   TeamPolicy checked;
   HYX_ReturnStatus status;
   if (full) {
      VSTeamPolicy record;
      writePolicy(p, record);
      status = readPolicy(record, checked);
   } else {
      LSTeamPolicy record;
      memset(&record, 0, sizeof record);
      writePolicy(p, record);
      status = readPolicy(record, checked);
   }
   if (status != HYX_OK)
      in.fail("the host refuses this policy (load balancing, criteria or flags)");
   return p;
}

} // namespace

void readTeamingSettings(Switch const &sw, SwitchSettings &settings, TeamingState &state) {
   Settings &in = settings.onSwitch;
   for (auto &u : state.uplinks) {
      Settings &port = *settings.onPorts[u.port];
      u.adminUp = port.choice<bool>("admin", {{"up", true}, {"down", false}}, true);
   }
   for (auto const &port : sw.ports) {
      Settings &p = *settings.onPorts[port.index];
      if (port.clientType != VS_PORT_CLIENT_UPLINK && p.has("admin"))
         p.fail("only an uplink has a link", "admin");
   }
   if (auto ids = in.texts("uplinkPortIds")) {
      if (!in.has("uplinkPorts") || ids->size() != state.uplinkPorts.size())
         in.fail("one ID for each of uplinkPorts", "uplinkPortIds");
      for (size_t i = 0; i < ids->size(); ++i) {
         if ((*ids)[i].size() >= VS_UPLINK_PORT_ID_LEN)
            in.fail("\"" + (*ids)[i] + "\" cannot be an uplink port ID", "uplinkPortIds");
         state.uplinkPorts[i].dvPortId = (*ids)[i];
      }
   }
   if (in.has("policy"))
      state.policy = policySetting(in.object("policy"), true);
   for (Settings *entry : in.list("lsPolicies")) {
      LsTeamPolicy p;
      p.name = entry->text("name", "");
      if (p.name.empty() || p.name.size() >= VS_LS_TEAM_POLICY_NAME_LEN)
         entry->fail("a policy name is 1 to " + std::to_string(VS_LS_TEAM_POLICY_NAME_LEN - 1) +
                         " bytes",
                     "name");
      for (auto const &other : state.lsPolicies)
         if (other.name == p.name)
            entry->fail("a second policy named " + p.name, "name");
      p.policy = policySetting(*entry, false);
      state.lsPolicies.push_back(std::move(p));
   }
   for (auto const &port : sw.ports) {
      Settings &in = *settings.onPorts[port.index];
      PortTeaming &pt = state.ports[port.index];
      if (in.has("policy"))
         pt.policy = policySetting(in.object("policy"), true);
      pt.override = in.text("override", "");
      if (!pt.override.empty() && state.findUplink(sw, pt.override) == nullptr)
         in.fail("no uplink " + pt.override + " on the switch", "override");
      pt.txUplinkAlways = in.flag("txUplinkAlways", false);
      pt.lsPolicy = in.text("lsPolicy", "");
      bool known = pt.lsPolicy.empty();
      for (auto const &p : state.lsPolicies)
         known = known || p.name == pt.lsPolicy;
      if (!known)
         in.fail("no policy " + pt.lsPolicy + " in the switch's lsPolicies", "lsPolicy");
   }
}

void TeamingComponent::dumpSwitch(Host const &, Switch const &sw, json &out,
                                  std::vector<json> &onPorts) const {
   TeamingState const &state = of(sw);
   for (auto const &u : state.uplinks) {
      json &o = onPorts[u.port];
      o["link"] = u.physicalUp ? "up" : "down";
      putUnlessDefault(o, "admin", std::string(u.adminUp ? "up" : "down"), "up");
      putUnlessDefault(o, "speed", u.speed, 10000u);
   }
   if (!state.lags.empty()) {
      json lags = json::array();
      for (auto const &lag : state.lags) {
         json members = json::array();
         for (size_t m : lag.members)
            members.push_back(sw.ports[state.uplinks[m].port].clientName);
         lags.push_back({{"name", lag.name}, {"id", lag.id}, {"uplinks", members}});
      }
      out["lags"] = std::move(lags);
   }
   if (sw.distributed) {
      json names = json::array(), ids = json::array();
      for (auto const &e : state.uplinkPorts) {
         names.push_back(e.name);
         ids.push_back(e.dvPortId);
      }
      out["uplinkPorts"] = std::move(names);
      out["uplinkPortIds"] = std::move(ids);
   }
   if (state.policy)
      out["policy"] = policyJson(*state.policy, true);
   if (!state.lsPolicies.empty()) {
      json list = json::array();
      for (auto const &p : state.lsPolicies) {
         json entry = policyJson(p.policy, false);
         entry["name"] = p.name;
         list.push_back(std::move(entry));
      }
      out["lsPolicies"] = std::move(list);
   }
   for (auto const &port : sw.ports) {
      PortTeaming const &pt = state.ports[port.index];
      json &o = onPorts[port.index];
      if (pt.policy)
         o["policy"] = policyJson(*pt.policy, true);
      putUnlessDefault(o, "override", pt.override, "");
      putUnlessDefault(o, "txUplinkAlways", pt.txUplinkAlways, false);
      putUnlessDefault(o, "lsPolicy", pt.lsPolicy, "");
   }
}

} // namespace tessel
