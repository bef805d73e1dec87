/* The ports subsystem's state of each port as its topology settings. */
#include "dump_support.h"
#include "ports_model.h"

namespace tessel {

void PortsComponent::dumpSwitch(Host const &, Switch const &sw, json &,
                                std::vector<json> &onPorts) const {
   for (auto const &port : sw.ports) {
      PortState const &p = of(sw, port);
      json &out = onPorts[port.index];
      putUnlessDefault(out, "vlan", p.vlan, 0);
      putUnlessDefault(out, "vni", p.vni, 0u);
      putUnlessDefault(out, "assocMacFilterStaticAging", p.assocMacFilterStaticAging, false);
   }
}

} // namespace tessel
