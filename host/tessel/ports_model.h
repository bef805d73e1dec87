/* The ports subsystem's state: what a port's information record (VSPortInfo)
 * reports beyond the port's identity: its segment and VLAN settings,
 * multicast filter, traffic figures and reverse-ARP announcements. */
#ifndef TESSEL_HOST_PORTS_MODEL_H
#define TESSEL_HOST_PORTS_MODEL_H

#include <stdint.h>

#include <vector>

#include "hostapi/ports.h"
#include "model.h"

namespace tessel {

/* The VLAN setting of a port that carries every VLAN. */
constexpr uint16_t kTrunkVlan = 4095;

struct PortState {
   /* The topology's VLAN (kTrunkVlan for a trunk) and overlay network (0
    * when VLAN-backed). */
   uint16_t vlan = 0;
   uint32_t vni = 0;
   uint16_t defaultVid = 0;
   uint16_t primaryVid = 0;
   uint32_t vlanFlags = 0;
   bool vlanStatsEnabled = false;
   bool assocMacFilterEnabled = false;
   bool assocMacFilterStaticAging = false;
   int32_t assocMacFilterQueueFeatures = 0;
   uint64_t ensSeqNo = 0;
   uint64_t privFlags = 0;
   std::vector<MacAddress> multicastAddrs;
   uint16_t subnetConnectedVlan = 0;
   bool subnetVlanEncap = false;
   VSStats stats{};
   VSPortCounters counters{};
   /* Reverse-ARP announcements sent for the port and the time they took, in
    * microseconds. */
   uint32_t rarpSent = 0;
   uint32_t rarpTime = 0;

   /* The VLAN of the port's own MAC entries: none on overlay and trunk
    * ports. */
   uint16_t entryVid() const { return vni != 0 || vlan == kTrunkVlan ? 0 : vlan; }
};

struct PortsState {
   /* By port index. */
   std::vector<PortState> ports;
};

class PortsComponent : public ComponentOf<PortsState> {
 public:
   void addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) override;
   void dumpSwitch(Host const &host, Switch const &sw, nlohmann::json &onSwitch,
                   std::vector<nlohmann::json> &onPorts) const override;
   using ComponentOf<PortsState>::of;
   PortState const &of(Switch const &sw, Port const &port) const {
      return switches_[sw.ordinal].ports[port.index];
   }
};

} // namespace tessel

#endif
