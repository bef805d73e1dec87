/* The mac subsystem's state: each switch's MAC table, its learning settings
 * and those of its ports, the ports' layer-2 security and learning figures,
 * and the host-wide learning properties. */
#ifndef TESSEL_HOST_MAC_MODEL_H
#define TESSEL_HOST_MAC_MODEL_H

#include <stdint.h>

#include <optional>
#include <utility>
#include <vector>

#include "hostapi/mac.h"
#include "hostapi/status.h"
#include "mac_table.h"
#include "model.h"

namespace tessel {

constexpr uint32_t kSecurityFlagsAll = VSPORT_SECURITY_DISALLOW_PROMISC |
                                       VSPORT_SECURITY_DISALLOW_MAC_CHANGE |
                                       VSPORT_SECURITY_DISALLOW_FORGED_SRC;
/* The NIC team side learns unless a switch turns it off. */
constexpr bool kTeamLearningDefault = true;
constexpr bool kOverlayCachingDefault = false;

/* Host-wide learning properties; a switch without a setting of its own
 * follows them. */
struct HostLearning {
   uint32_t agingTime = VS_MAC_LEARNING_AGING_TIME_DEFAULT;
   uint32_t macLimit = VS_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT;
   bool learnStatic = VS_MAC_LEARNING_LEARN_STATIC_DEFAULT != 0;
   bool staticMacAllow = VS_MAC_LEARNING_ALLOW_STATIC_DEFAULT != 0;
};

struct PortLearning {
   bool learning = true;
   bool flooding = true;
   uint32_t macLimit = VSPORT_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT;
   int32_t macLimitPolicy = VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW;
   uint32_t securityFlags = 0;

   uint32_t unicastRpfDroppedPkts = 0;
   uint64_t noLearningAllowedPkts = 0;
   uint64_t noLearningDroppedPkts = 0;
   uint64_t macsMoved = 0;
   uint64_t allowedPktsWithPortLimit = 0;
   uint64_t cacheSrcHits = 0;
   uint64_t cacheDstHits = 0;
};

struct MacState {
   MacTable macs;
   /* By port index. */
   std::vector<PortLearning> ports;
   /* The switch's own settings; unset ones follow the host-wide values. */
   std::optional<uint32_t> agingTime;
   std::optional<uint32_t> macLimit;
   std::optional<bool> learnStatic;
   std::optional<bool> staticMacAllow;
   bool teamLearning = kTeamLearningDefault;
   bool overlayCaching = kOverlayCachingDefault;
};

class MacComponent : public ComponentOf<MacState> {
 public:
   void fillHost(Settings &settings) override;
   void addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) override;
   void removePort(Host &host, Switch const &sw, uint32_t index) override;
   void dumpHost(nlohmann::json &settings) const override;
   void dumpSwitch(Host const &host, Switch const &sw, nlohmann::json &onSwitch,
                   std::vector<nlohmann::json> &onPorts) const override;

   HostLearning &hostLearning() { return host_; }
   HostLearning const &hostLearning() const { return host_; }

   /* Effective learning settings of a switch. */
   uint32_t agingTime(Switch const &sw) const;
   uint32_t macLimit(Switch const &sw) const;
   bool learnStatic(Switch const &sw) const;
   bool staticMacAllow(Switch const &sw) const;

   /* A learned entry is reported only while its port (and, on the team side,
    * the team) learns. */
   bool reported(Switch const &sw, MacRecord const &record) const;
   /* Learned entries a port reports. */
   uint32_t learnedOn(Switch const &sw, Port const &port) const;

 private:
   HostLearning host_;
};

/* The packets a port dropped for want of learning, as the host derives them
 * from its ID and limit policy when the topology gives no figure. */
uint64_t derivedNoLearningDropped(Port const &port, int32_t macLimitPolicy);
/* Fills the switch's MAC table from the "table" list of its settings (the
 * exact entries a dump wrote) instead of deriving it. */
void readMacTable(Switch const &sw, Settings &in, MacTable &table);

/* HYX_OK, or the status of an aging time or switch MAC limit outside its
 * range: HYX_BAD_PARAM for zero, HYX_LIMIT_EXCEEDED above the maximum. */
HYX_ReturnStatus checkAgingTime(uint32_t agingTime);
/* The port and address of a MAC entry of the topology ("port", "address"),
 * refused with its place when the switch has no such port or the address is
 * missing or zero. */
std::pair<Port const *, std::optional<MacAddress>> entryPlace(Switch const &sw, Settings &entry);
HYX_ReturnStatus checkSwitchMacLimit(uint32_t macLimit);

} // namespace tessel

#endif
