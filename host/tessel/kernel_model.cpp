#include "kernel_model.h"

#include <string.h>

#include "api_support.h"

namespace tessel {

TESSEL_COMPONENT(KernelComponent, "kernel");

void KernelComponent::addSwitch(Host &, Switch const &sw, SwitchSettings &settings) {
   Settings &in = settings.onSwitch;
   KernelState k;
   k.dvsName = in.text("dvsName", "");
   k.zarId = in.text("zarId", "");
   if (k.dvsName.size() >= sizeof(VSInfo::dvsName) || k.dvsName.find('\0') != std::string::npos)
      in.fail("does not fit the summary's " + std::to_string(sizeof(VSInfo::dvsName)) + " bytes",
              "dvsName");
   if (k.zarId.size() >= sizeof(VSInfo::zarID) || k.zarId.find('\0') != std::string::npos)
      in.fail("does not fit the summary's " + std::to_string(sizeof(VSInfo::zarID)) + " bytes",
              "zarId");
   /* The summary tells a distributed switch by its name in the store. */
   if (sw.distributed == k.dvsName.empty())
      in.fail(sw.distributed ? "a distributed switch needs one"
                             : "only distributed switches have one",
              "dvsName");
   if (!sw.distributed && !k.zarId.empty())
      in.fail("only distributed switches have one", "zarId");
   k.mtu = in.number<uint32_t>("mtu", k.mtu);
   k.minValidVlan = in.number<uint16_t>("minValidVlan", k.minValidVlan);
   k.maxValidVlan = in.number<uint16_t>("maxValidVlan", k.maxValidVlan, VS_VLAN_ID_COUNT - 1);
   if (k.minValidVlan > k.maxValidVlan)
      in.fail("less than minValidVlan", "maxValidVlan");
   k.maxPorts = in.number<uint32_t>("maxPorts", static_cast<uint32_t>(sw.ports.size()));
   if (k.maxPorts < sw.ports.size())
      in.fail("fewer than the switch's " + std::to_string(sw.ports.size()) + " ports", "maxPorts");
   k.assocMacFilter = in.flag("assocMacFilter", false);
   k.flags = in.number<uint32_t>("flags", 0);
   k.forwardingDisabled = in.flag("forwardingDisabled", false);
   for (auto const &use : in.numberMap("vlanUseCounts", VS_VLAN_ID_COUNT - 1, UINT16_MAX))
      k.vlanUseCounts[static_cast<uint16_t>(use.first)] = static_cast<uint16_t>(use.second);
   k.serviceVmPorts = in.number<uint16_t>("serviceVmPorts", 0);
   std::string const vdrPort = in.text("vdrPort", "");
   if (!vdrPort.empty()) {
      Port const *port = sw.findPort(vdrPort.c_str());
      if (port == nullptr)
         in.fail("no port " + vdrPort + " on the switch", "vdrPort");
      k.vdrPortId = port->id;
   }
   k.rdmaEntries = in.number<uint32_t>("rdmaEntries", 0);
   k.rdmaTenantEntries = in.number<uint32_t>("rdmaTenantEntries", 0);
   switches_.push_back(std::move(k));
}

void fillSwitchInfo(Host const &host, Switch const &sw, VSInfo *info) {
   KernelState const &k = host.component<KernelComponent>().of(sw);
   uint16_t sinks = 0;
   for (auto const &p : sw.ports)
      sinks = static_cast<uint16_t>(sinks + (p.sink ? 1 : 0));
   memset(info, 0, sizeof *info);
   putAt<hyx_uint32>(info, offsetof(VSInfo, mtu), k.mtu);
   putAt<hyx_VlanID>(info, offsetof(VSInfo, maxValidVlan), k.maxValidVlan);
   putAt<hyx_VlanID>(info, offsetof(VSInfo, minValidVlan), k.minValidVlan);
   putAt<hyx_uint32>(info, offsetof(VSInfo, activePorts), static_cast<uint32_t>(sw.ports.size()));
   putAt<hyx_uint32>(info, offsetof(VSInfo, maxPorts), k.maxPorts);
   /* The texts are shorter than their fields, so the zero fill terminates
    * them. */
   memcpy(reinterpret_cast<char *>(info) + offsetof(VSInfo, dvsName), k.dvsName.data(),
          k.dvsName.size());
   memcpy(reinterpret_cast<char *>(info) + offsetof(VSInfo, zarID), k.zarId.data(), k.zarId.size());
   putAt<hyx_uint16>(info, offsetof(VSInfo, numSinkPorts), sinks);
   putAt<hyx_Bool>(info, offsetof(VSInfo, isAssocMACFilterEnabled), k.assocMacFilter ? 1 : 0);
   putAt<hyx_uint32>(info, offsetof(VSInfo, flags), k.flags);
   putAt<hyx_Bool>(info, offsetof(VSInfo, isForwardingDisabled), k.forwardingDisabled ? 1 : 0);
   for (auto const &use : k.vlanUseCounts) {
      putAt<hyx_VlanID>(
          info, offsetof(VSInfo, overlayVlanUseCount) + use.first * sizeof(hyx_VlanID), use.second);
   }
   putAt<hyx_uint16>(info, offsetof(VSInfo, numServiceVmPorts), k.serviceVmPorts);
   putAt<hyx_SwitchPortID>(info, offsetof(VSInfo, vdrPortID), k.vdrPortId);
   putAt<hyx_uint32>(info, offsetof(VSInfo, numRdmaEntries), k.rdmaEntries);
   putAt<hyx_uint32>(info, offsetof(VSInfo, numRdmaTenantEntries), k.rdmaTenantEntries);
}

} // namespace tessel
