/* The vlan subsystem's state as topology settings, and the port settings
 * only a dump needs (the policy and extra filter the host's calls set). */
#include "dump_support.h"
#include "vlan_model.h"

namespace tessel {

void readVlanPortSettings(Settings &in, PortVlan &v) {
   if (in.has("policy")) {
      Settings &p = in.object("policy");
      VlanPolicy policy;
      policy.vlanId = p.number<uint16_t>("vlanId", 0, VS_VLAN_ID_MAX);
      bool const guest = p.flag("guestTagging", false);
      bool const pvlan = p.flag("pvlan", false);
      if (guest && pvlan)
         p.fail("a port tags its guests' VLANs or is on a private VLAN, not both", "pvlan");
      policy.flags = static_cast<uint16_t>(
          (guest ? VSPORT_VLAN_GUEST_TAGGING : 0) | (pvlan ? VSPORT_VLAN_PVLAN_ENABLED : 0) |
          (p.flag("setPriority", false) ? VSPORT_VLAN_SET_PRIORITY : 0));
      for (Settings *range : p.list("ranges")) {
         uint16_t const first = range->number<uint16_t>("first", 0, VS_VLAN_ID_MAX);
         uint16_t const last = range->number<uint16_t>("last", first, VS_VLAN_ID_MAX);
         if (first > last)
            range->fail("a range ends at or after its first VLAN", "last");
         policy.ranges.emplace_back(first, last);
      }
      if (!policy.ranges.empty() && !guest)
         p.fail("only a port that tags its guests' VLANs has ranges", "ranges");
      v.policy = std::move(policy);
   }
   if (in.has("extraFilter")) {
      Settings &f = in.object("extraFilter");
      ExtraEthFilter filter;
      filter.flags = f.number<uint32_t>("flags", 0);
      auto texts = f.texts("multicastAddrs").value_or(std::vector<std::string>{});
      if (texts.size() > VS_ETH_MAX_EXACT_MULTICAST_ADDRS)
         f.fail("at most " + std::to_string(VS_ETH_MAX_EXACT_MULTICAST_ADDRS) + " addresses",
                "multicastAddrs");
      for (auto const &text : texts) {
         json const one = {{"a", text}};
         Settings read(&one, f.path() + ".multicastAddrs");
         auto const mac = read.address("a");
         if ((*mac)[0] % 2 == 0)
            f.fail("\"" + text + "\" is not a multicast address", "multicastAddrs");
         filter.multicastAddrs.push_back(*mac);
      }
      v.extraFilter = std::move(filter);
   }
}

void VlanComponent::dumpSwitch(Host const &, Switch const &sw, json &out,
                               std::vector<json> &onPorts) const {
   VlanState const &state = of(sw);
   if (!state.pvlanMap.empty()) {
      json map = json::array();
      for (auto const &e : state.pvlanMap) {
         char const *type = e.type == VSPORT_PVLAN_TYPE_ISOLATED    ? "isolated"
                            : e.type == VSPORT_PVLAN_TYPE_COMMUNITY ? "community"
                                                                    : "promisc";
         map.push_back({{"primary", e.primary}, {"secondary", e.secondary}, {"type", type}});
      }
      out["pvlanMap"] = std::move(map);
   }
   if (state.rcfType == ZEB_RCF_INSN_TYPE_EBPF)
      out["rcfType"] = "ebpf";
   for (auto const &port : sw.ports) {
      PortVlan const &v = state.ports[port.index];
      json &o = onPorts[port.index];
      o["nestedTagging"] = v.nestedTagging;
      if (v.policy) {
         json policy = {{"vlanId", v.policy->vlanId}};
         putUnlessDefault(policy, "guestTagging",
                          (v.policy->flags & VSPORT_VLAN_GUEST_TAGGING) != 0, false);
         putUnlessDefault(policy, "pvlan", (v.policy->flags & VSPORT_VLAN_PVLAN_ENABLED) != 0,
                          false);
         putUnlessDefault(policy, "setPriority", (v.policy->flags & VSPORT_VLAN_SET_PRIORITY) != 0,
                          false);
         json ranges = json::array();
         for (auto const &r : v.policy->ranges)
            ranges.push_back({{"first", r.first}, {"last", r.second}});
         if (!ranges.empty())
            policy["ranges"] = std::move(ranges);
         o["policy"] = std::move(policy);
      }
      if (v.extraFilter) {
         json addrs = json::array();
         for (auto const &a : v.extraFilter->multicastAddrs)
            addrs.push_back(macText(a));
         o["extraFilter"] = {{"flags", v.extraFilter->flags}, {"multicastAddrs", addrs}};
      }
   }
}

} // namespace tessel
