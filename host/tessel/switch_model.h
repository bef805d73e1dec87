/* The simulated host's virtual switches, as libtessel.so reports them: the
 * switches, their ports, MAC tables and learning settings. */
#ifndef TESSEL_HOST_SWITCH_MODEL_H
#define TESSEL_HOST_SWITCH_MODEL_H

#include <stdint.h>

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "hostapi/kernel.h"
#include "hostapi/mac.h"
#include "hostapi/ports.h"
#include "mac_table.h"

namespace tessel {

/* Settings a new port starts with. */
constexpr uint32_t kPortMacLimitDefault = VSPORT_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT;
/* The NIC team side learns unless a switch turns it off. */
constexpr bool kTeamLearningDefault = true;
constexpr bool kOverlayCachingDefault = false;
constexpr uint32_t kSecurityFlagsAll = VSPORT_SECURITY_DISALLOW_PROMISC |
                                       VSPORT_SECURITY_DISALLOW_MAC_CHANGE |
                                       VSPORT_SECURITY_DISALLOW_FORGED_SRC;

/* One switch port: identity, client, traffic figures, VLAN settings and its
 * learning and security configuration. */
struct Port {
   uint32_t id = 0;
   uint32_t index = 0;
   std::string clientName;
   int32_t clientType = VS_PORT_CLIENT_UNKNOWN;
   MacAddress mac{};
   /* Distributed switches only. */
   std::string dvPortId;
   VSStats stats{};
   VSPortCounters counters{};

   uint16_t defaultVid = 0;
   uint16_t primaryVid = 0;
   uint32_t vlanFlags = 0;
   bool vlanStatsEnabled = false;
   /* Overlay network of the port's segment; 0 when VLAN-backed. */
   uint32_t vni = 0;

   bool assocMacFilterEnabled = false;
   bool assocMacFilterStaticAging = false;
   int32_t assocMacFilterQueueFeatures = 0;
   uint64_t ensSeqNo = 0;
   uint64_t privFlags = 0;
   std::vector<MacAddress> multicastAddrs;
   uint32_t multicastGroups = 0;
   uint16_t subnetConnectedVlan = 0;
   bool subnetVlanEncap = false;
   bool sink = false;

   bool learning = true;
   bool flooding = true;
   uint32_t macLimit = kPortMacLimitDefault;
   int32_t macLimitPolicy = VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW;
   uint32_t securityFlags = 0;

   uint32_t unicastRpfDroppedPkts = 0;
   uint64_t noLearningAllowedPkts = 0;
   uint64_t noLearningDroppedPkts = 0;
   uint64_t macsMoved = 0;
   uint64_t allowedPktsWithPortLimit = 0;
   uint64_t cacheSrcHits = 0;
   uint64_t cacheDstHits = 0;
   /* Reverse-ARP announcements sent for the port and the time they took, in
    * microseconds. */
   uint32_t rarpSent = 0;
   uint32_t rarpTime = 0;

   /* Uplinks and LAGs form the switch's NIC team side. */
   bool team() const {
      return clientType == VS_PORT_CLIENT_UPLINK || clientType == VS_PORT_CLIENT_LAG;
   }
};

/* Host-wide learning properties; a switch without a setting of its own
 * follows them. */
struct GlobalLearning {
   uint32_t agingTime = VS_MAC_LEARNING_AGING_TIME_DEFAULT;
   uint32_t macLimit = VS_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT;
   bool learnStatic = VS_MAC_LEARNING_LEARN_STATIC_DEFAULT != 0;
   bool staticMacAllow = VS_MAC_LEARNING_ALLOW_STATIC_DEFAULT != 0;
};

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
   bool assocMacFilterEnabled = false;
   uint32_t flags = 0;
   bool forwardingDisabled = false;
   /* Ports using each overlay VLAN; VLANs not listed have none. */
   std::map<uint16_t, uint16_t> vlanUseCounts;
   uint16_t numServiceVmPorts = 0;
   uint32_t vdrPortId = 0;
   uint32_t numRdmaEntries = 0;
   uint32_t numRdmaTenantEntries = 0;

   /* In port index order: ports[i].index == i. */
   std::vector<Port> ports;
   MacTable macs;

   /* The switch's own settings; unset ones follow the host-wide values. */
   std::optional<uint32_t> agingTime;
   std::optional<uint32_t> macLimit;
   std::optional<bool> learnStatic;
   std::optional<bool> staticMacAllow;
   bool teamLearning = kTeamLearningDefault;
   bool overlayCaching = kOverlayCachingDefault;

   /* Finds a port by client name, or by port ID written in decimal. */
   Port *findPort(char const *name);
   /* A learned entry is reported only while its port (and, on the team side,
    * the team) learns. */
   bool reported(MacRecord const &record) const;
   /* Learned entries a port reports. */
   uint32_t learnedOn(Port const &port) const;

 private:
   friend class SwitchModel;
   std::unordered_map<std::string, uint32_t> portsByName_;
   std::unordered_map<uint32_t, uint32_t> portsById_;
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
    * its host field, a VLAN id is out of range, the name or alias is taken or
    * the ports or MAC entries are inconsistent (see the checks in add). */
   void add(VirtualSwitch sw);
   /* Adds a standard switch with ports ports (the first of several is an
    * uplink, the others VM ports) and learnedMacs learned entries spread over
    * them, for scale tests; the same exceptions as add. */
   void addScaled(std::string const &name, uint32_t ports, uint32_t learnedMacs);

   std::vector<VirtualSwitch> const &switches() const { return switches_; }
   VirtualSwitch const *findByPortset(char const *name) const;
   VirtualSwitch *findByPortset(char const *name);
   /* Only distributed switches have aliases. */
   VirtualSwitch const *findByAlias(char const *alias) const;

   GlobalLearning &global() { return global_; }
   GlobalLearning const &global() const { return global_; }

   /* The host's clock in seconds; it advances by one on every change. */
   uint32_t now() const { return clock_; }
   uint32_t tick() { return ++clock_; }

 private:
   std::vector<VirtualSwitch> switches_;
   GlobalLearning global_;
   uint32_t clock_ = 1700000000;
};

/* Effective learning settings of a switch. */
uint32_t agingTimeOf(SwitchModel const &model, VirtualSwitch const &sw);
uint32_t macLimitOf(SwitchModel const &model, VirtualSwitch const &sw);
bool learnStaticOf(SwitchModel const &model, VirtualSwitch const &sw);
bool staticMacAllowOf(SwitchModel const &model, VirtualSwitch const &sw);

/* Writes every field of the summary record of sw into info. */
void fillSwitchInfo(VirtualSwitch const &sw, VSInfo *info);

} // namespace tessel

#endif
