/* The simulated host's virtual switches, as libtessel.so reports them. */
#ifndef TESSEL_HOST_SWITCH_MODEL_H
#define TESSEL_HOST_SWITCH_MODEL_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "hostapi/kernel.h"

namespace tessel {

/* One virtual switch.  A standard switch has no alias and no distributed
 * switch identity (dvsName, zarId empty). */
struct VirtualSwitch {
   std::string portsetName;
   bool distributed = false;
   std::string alias;
   std::string dvsName;
   std::string zarId;
   uint32_t mtu = 1500;
   uint16_t minValidVlan = 0;
   uint16_t maxValidVlan = 4094;
   uint32_t maxPorts = 0;
   uint32_t activePorts = 0;
   uint16_t numSinkPorts = 0;
   bool assocMacFilterEnabled = false;
   uint32_t flags = 0;
   bool forwardingDisabled = false;
   /* Ports using each overlay VLAN; VLANs not listed have none. */
   std::map<uint16_t, uint16_t> vlanUseCounts;
   uint16_t numServiceVmPorts = 0;
   uint32_t vdrPortId = 0;
   uint32_t numRdmaEntries = 0;
   uint32_t numRdmaTenantEntries = 0;
};

/* All switches of the host, in the order the host lists them.  The model is
 * built in at load; tessel_sim_reset restores it. */
class SwitchModel {
 public:
   static SwitchModel &instance();
   /* The host as it is at load. */
   static SwitchModel builtIn();
   /* Replaces the live model by the built-in one; on failure the live model
    * is kept and the exception propagates. */
   static void reset();

   /* Adds a switch; throws std::invalid_argument when a text does not fit
    * its host field, a VLAN id is out of range or the name or alias is taken. */
   void add(VirtualSwitch sw);

   std::vector<VirtualSwitch> const &switches() const { return switches_; }
   VirtualSwitch const *findByPortset(char const *name) const;
   /* Only distributed switches have aliases. */
   VirtualSwitch const *findByAlias(char const *alias) const;

 private:
   std::vector<VirtualSwitch> switches_;
};

/* Writes every field of the summary record of sw into info. */
void fillSwitchInfo(VirtualSwitch const &sw, VSInfo *info);

} // namespace tessel

#endif
