#include "vlan_model.h"

#include "hostapi/ports.h"
#include "ports_model.h"

namespace tessel {

TESSEL_COMPONENT(VlanComponent, "vlan", "ports");

namespace {

std::vector<PvlanEntry> pvlanMapSetting(Settings &in) {
   std::vector<PvlanEntry> map;
   for (Settings *entry : in.list("pvlanMap")) {
      PvlanEntry e;
      e.primary = entry->number<uint16_t>("primary", 0, VS_VLAN_ID_MAX);
      e.secondary = entry->number<uint16_t>("secondary", 0, VS_VLAN_ID_MAX);
      e.type = entry->choice<uint8_t>("type",
                                      {{"promisc", VSPORT_PVLAN_TYPE_PROMISC},
                                       {"isolated", VSPORT_PVLAN_TYPE_ISOLATED},
                                       {"community", VSPORT_PVLAN_TYPE_COMMUNITY}},
                                      VSPORT_PVLAN_TYPE_PROMISC);
      if (e.primary == 0 || e.secondary == 0)
         entry->fail("a private VLAN map entry names VLANs 1 to " + std::to_string(VS_VLAN_ID_MAX));
      if ((e.type == VSPORT_PVLAN_TYPE_PROMISC) != (e.primary == e.secondary))
         entry->fail("only a promiscuous entry names its primary VLAN as secondary", "secondary");
      for (auto const &other : map) {
         if (other.secondary == e.secondary)
            entry->fail("the map has this secondary VLAN already", "secondary");
      }
      map.push_back(e);
   }
   return map;
}

} // namespace

void VlanComponent::addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) {
   Settings &in = settings.onSwitch;
   PortsState const &info = host.component<PortsComponent>().of(sw);
   VlanState state;
   state.pvlanMap = pvlanMapSetting(in);
   state.rcfType = in.choice<int32_t>(
       "rcfType", {{"cbpf", ZEB_RCF_INSN_TYPE_CBPF}, {"ebpf", ZEB_RCF_INSN_TYPE_EBPF}},
       ZEB_RCF_INSN_TYPE_CBPF);
   state.ports.reserve(sw.ports.size());
   for (auto const &port : sw.ports) {
      PortState const &p = info.ports[port.index];
      PortVlan v;
      v.baseDefaultVid = p.defaultVid;
      v.basePrimaryVid = p.primaryVid;
      v.baseFlags = p.vlanFlags & ~static_cast<uint32_t>(VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG);
      v.nestedTagging = settings.onPorts[port.index]->flag(
          "nestedTagging", (p.vlanFlags & VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG) != 0);
      readVlanPortSettings(*settings.onPorts[port.index], v);
      state.ports.push_back(std::move(v));
   }
   switches_.push_back(std::move(state));
   for (auto const &port : sw.ports)
      applyVlanSettings(host, sw, port);
}

VlanPolicy effectivePolicy(Host &host, Switch const &sw, Port const &port) {
   PortVlan const &v = host.component<VlanComponent>().of(sw).ports[port.index];
   if (v.policy)
      return *v.policy;
   VlanPolicy policy;
   uint16_t const vlan = host.component<PortsComponent>().of(sw, port).vlan;
   if (port.team() || vlan == kTrunkVlan) {
      policy.flags = VSPORT_VLAN_GUEST_TAGGING;
      policy.ranges.emplace_back(1, VS_VLAN_ID_MAX);
   } else {
      policy.vlanId = vlan;
   }
   return policy;
}

void applyVlanSettings(Host &host, Switch const &sw, Port const &port) {
   VlanState const &state = host.component<VlanComponent>().of(sw);
   PortVlan const &v = state.ports[port.index];
   PortState &p = host.component<PortsComponent>().of(sw).ports[port.index];
   if (!v.policy) {
      p.defaultVid = v.baseDefaultVid;
      p.primaryVid = v.basePrimaryVid;
      p.vlanFlags = v.baseFlags;
   } else {
      VlanPolicy const &policy = *v.policy;
      bool const guest = (policy.flags & VSPORT_VLAN_GUEST_TAGGING) != 0;
      uint32_t flags = v.baseFlags & VS_VLAN_TP_FLAG_TRUNK_VLAN_OVERLAY;
      p.defaultVid = p.vni != 0 ? 0 : policy.vlanId;
      p.primaryVid = p.defaultVid;
      if (guest) {
         flags |= VS_VLAN_TP_FLAG_TAGGED_INPUT | VS_VLAN_TP_FLAG_TAGGED_OUTPUT;
         if (!policy.ranges.empty())
            flags |= VS_VLAN_TP_FLAG_FILTER_ON_VIDS;
      } else if (policy.vlanId != 0) {
         flags |= VS_VLAN_TP_FLAG_OVERWRITE_VID;
      }
      if (policy.flags & VSPORT_VLAN_SET_PRIORITY)
         flags |= VS_VLAN_TP_FLAG_OVERWRITE_PRIORITY;
      if (policy.flags & VSPORT_VLAN_PVLAN_ENABLED) {
         for (auto const &e : state.pvlanMap) {
            if (e.secondary == policy.vlanId)
               p.primaryVid = e.primary;
         }
      }
      p.vlanFlags = flags;
   }
   if (v.nestedTagging)
      p.vlanFlags |= VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG;
}

} // namespace tessel
