/* The multicast subsystem's state as topology settings: each switch's mode
 * and user entries, each port's groups (always listed, so none is derived
 * again) and user entries. */
#include "dump_support.h"
#include "multicast_model.h"

namespace tessel {

namespace {

json macList(std::vector<MacAddress> const &macs) {
   json list = json::array();
   for (auto const &mac : macs)
      list.push_back(macText(mac));
   return list;
}

} // namespace

void MulticastComponent::dumpSwitch(Host const &, Switch const &sw, json &out,
                                    std::vector<json> &onPorts) const {
   McastState const &state = of(sw);
   static char const *const modes[] = {"legacy", "snooping", "igmp", "mld"};
   out["mode"] = validMcastMode(state.mode) ? modes[state.mode - VS_MCAST_FILTER_MODE_LEGACY]
                                            : std::to_string(state.mode);
   if (!state.userMacs.empty())
      out["userMacs"] = macList(state.userMacs);
   for (auto const &port : sw.ports) {
      McastPort const &mp = state.ports[port.index];
      json &o = onPorts[port.index];
      json groups = json::array();
      for (auto const &g : mp.groups) {
         char const *filter = g.filterMode == VS_MCAST_SRC_IP_FILTER_MODE_INCLUDE   ? "include"
                              : g.filterMode == VS_MCAST_SRC_IP_FILTER_MODE_EXCLUDE ? "exclude"
                                                                                    : "none";
         json sources = json::array();
         for (auto const &s : g.sources)
            sources.push_back(ipText(s.data(), g.v6));
         groups.push_back({{"group", ipText(g.group.data(), g.v6)},
                           {"filter", filter},
                           {"sources", sources},
                           {"updated", g.updated}});
      }
      o["groups"] = std::move(groups);
      if (!mp.userMacs.empty())
         o["userMacs"] = macList(mp.userMacs);
   }
}

} // namespace tessel
