/* The kernel subsystem's state of a switch as its topology settings. */
#include "dump_support.h"
#include "kernel_model.h"

namespace tessel {

void KernelComponent::dumpSwitch(Host const &, Switch const &sw, json &out,
                                 std::vector<json> &) const {
   KernelState const &k = of(sw);
   if (sw.distributed) {
      out["dvsName"] = k.dvsName;
      putUnlessDefault(out, "zarId", k.zarId, "");
   }
   out["mtu"] = k.mtu;
   out["minValidVlan"] = k.minValidVlan;
   out["maxValidVlan"] = k.maxValidVlan;
   out["maxPorts"] = k.maxPorts;
   out["flags"] = k.flags;
   putUnlessDefault(out, "assocMacFilter", k.assocMacFilter, false);
   putUnlessDefault(out, "forwardingDisabled", k.forwardingDisabled, false);
   if (!k.vlanUseCounts.empty()) {
      json counts = json::object();
      for (auto const &use : k.vlanUseCounts)
         counts[std::to_string(use.first)] = use.second;
      out["vlanUseCounts"] = std::move(counts);
   }
   putUnlessDefault(out, "serviceVmPorts", k.serviceVmPorts, 0);
   if (k.vdrPortId != 0) {
      /* A port ID reads back as the port; one that names no port is kept as
       * the ID it is, which the reader refuses. */
      std::string name = std::to_string(k.vdrPortId);
      for (auto const &port : sw.ports)
         if (port.id == k.vdrPortId)
            name = port.clientName;
      out["vdrPort"] = name;
   }
   putUnlessDefault(out, "rdmaEntries", k.rdmaEntries, 0);
   putUnlessDefault(out, "rdmaTenantEntries", k.rdmaTenantEntries, 0);
}

} // namespace tessel
