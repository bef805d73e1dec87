/* The kernel subsystem's state: what the switch summary (VSInfo) reports
 * beyond the switch's identity and ports. */
#ifndef TESSEL_HOST_KERNEL_MODEL_H
#define TESSEL_HOST_KERNEL_MODEL_H

#include <stdint.h>

#include <map>
#include <string>

#include "hostapi/kernel.h"
#include "model.h"

namespace tessel {

struct KernelState {
   /* Distributed switches: the switch's identity in the distributed store. */
   std::string dvsName;
   std::string zarId;
   uint32_t mtu = 1500;
   uint16_t minValidVlan = 0;
   uint16_t maxValidVlan = 4094;
   uint32_t maxPorts = 0;
   /* The switch filters the addresses associated with its VM ports. */
   bool assocMacFilter = false;
   uint32_t flags = 0;
   bool forwardingDisabled = false;
   /* Ports using each overlay VLAN; VLANs not listed have none. */
   std::map<uint16_t, uint16_t> vlanUseCounts;
   uint16_t serviceVmPorts = 0;
   uint32_t vdrPortId = 0;
   uint32_t rdmaEntries = 0;
   uint32_t rdmaTenantEntries = 0;
};

class KernelComponent : public ComponentOf<KernelState> {
 public:
   void addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) override;
   void dumpSwitch(Host const &host, Switch const &sw, nlohmann::json &onSwitch,
                   std::vector<nlohmann::json> &onPorts) const override;
};

/* Writes every field of the summary record of sw into info. */
void fillSwitchInfo(Host const &host, Switch const &sw, VSInfo *info);

} // namespace tessel

#endif
