/* The vlan subsystem's state: each port's VLAN policy, nested tagging and
 * extra Ethernet filter, and each switch's private-VLAN map and RCF
 * instruction type.  The switch MTU is the kernel's and sink ports are the
 * switch's own; the VLAN settings of a port's information record follow
 * its policy. */
#ifndef TESSEL_HOST_VLAN_MODEL_H
#define TESSEL_HOST_VLAN_MODEL_H

#include <stdint.h>

#include <optional>
#include <utility>
#include <vector>

#include "hostapi/vlan.h"
#include "model.h"

namespace tessel {

using VidRange = std::pair<uint16_t, uint16_t>;

struct VlanPolicy {
   /* VSPORT_VLAN_* bits. */
   uint16_t flags = 0;
   uint16_t vlanId = 0;
   std::vector<VidRange> ranges;
};

struct ExtraEthFilter {
   uint32_t flags = 0;
   std::vector<MacAddress> multicastAddrs;
};

struct PvlanEntry {
   uint16_t primary = 0;
   uint16_t secondary = 0;
   uint8_t type = 0;
};

struct PortVlan {
   /* The policy set on the port; unset, the topology's applies. */
   std::optional<VlanPolicy> policy;
   bool nestedTagging = false;
   std::optional<ExtraEthFilter> extraFilter;
   /* The port's VLAN settings as the topology gave them. */
   uint16_t baseDefaultVid = 0;
   uint16_t basePrimaryVid = 0;
   uint32_t baseFlags = 0;
};

struct VlanState {
   /* By port index. */
   std::vector<PortVlan> ports;
   std::vector<PvlanEntry> pvlanMap;
   int32_t rcfType = ZEB_RCF_INSN_TYPE_CBPF;
};

class VlanComponent : public ComponentOf<VlanState> {
 public:
   void addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) override;
   void dumpSwitch(Host const &host, Switch const &sw, nlohmann::json &onSwitch,
                   std::vector<nlohmann::json> &onPorts) const override;
};

/* Reads a port's "policy" and "extraFilter" settings (as a dump writes them)
 * into v. */
void readVlanPortSettings(Settings &in, PortVlan &v);

/* The policy in force on a port: its own, or the one its topology gives (a
 * trunk or team port tags VLANs 1..4094, another port has its VLAN). */
VlanPolicy effectivePolicy(Host &host, Switch const &sw, Port const &port);
/* Writes the port's VLAN settings (those of its information record) from its
 * policy, nested tagging and the switch's private-VLAN map. */
void applyVlanSettings(Host &host, Switch const &sw, Port const &port);

} // namespace tessel

#endif
