/* The teaming subsystem's state: each switch's uplinks with their link state,
 * its link aggregation groups, its configured uplink ports, the teaming
 * policies of the switch and its ports, per-port overrides and the named
 * policies of its logical switches.  The configuration is kept here so the
 * state store can publish it under its property keys. */
#ifndef TESSEL_HOST_TEAMING_MODEL_H
#define TESSEL_HOST_TEAMING_MODEL_H

#include <stdint.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "hostapi/status.h"
#include "hostapi/teaming.h"
#include "model.h"

namespace tessel {

/* A teaming policy: the fields of VSTeamPolicy, with the active and standby
 * uplinks as names. */
struct TeamPolicy {
   uint32_t loadBalance = TEAM_FRP_TYPE_LB_SRCID;
   uint32_t linkCriteria = TEAM_FRP_CRIT_LINK_STATE;
   uint8_t percentError = 0;
   uint8_t fullDuplex = 0;
   uint16_t speed = 0;
   uint32_t flags = TEAM_FRP_FLAG_NOTIFY_SWITCH;
   std::vector<std::string> active;
   std::vector<std::string> standby;
};

/* A named policy of a logical switch. */
struct LsTeamPolicy {
   std::string name;
   TeamPolicy policy;
};

struct Uplink {
   /* Index of the uplink port on its switch. */
   uint32_t port = 0;
   bool physicalUp = true;
   bool adminUp = true;
   /* Mbit/s. */
   uint32_t speed = 10000;

   bool up() const { return physicalUp && adminUp; }
};

struct Lag {
   uint32_t id = 0;
   std::string name;
   /* Indices into TeamingState::uplinks. */
   std::vector<size_t> members;
};

struct UplinkPortEntry {
   std::string name;
   std::string dvPortId;
};

struct PortTeaming {
   std::optional<TeamPolicy> policy;
   std::string override;
   bool txUplinkAlways = false;
   std::string lsPolicy;
};

struct TeamingState {
   /* The switch's uplink ports, in port order. */
   std::vector<Uplink> uplinks;
   std::vector<Lag> lags;
   /* Distributed switches: the configured uplink ports. */
   std::vector<UplinkPortEntry> uplinkPorts;
   std::optional<TeamPolicy> policy;
   std::vector<LsTeamPolicy> lsPolicies;
   /* By port index. */
   std::vector<PortTeaming> ports;
   VSServicePortTeamingStats serviceStats{};

   Uplink *findUplink(Switch const &sw, char const *name);
   Uplink const *findUplink(Switch const &sw, std::string const &name) const;
   /* The LAG an uplink (index into uplinks) belongs to, or NULL. */
   Lag const *lagOf(size_t uplink) const;
};

class TeamingComponent : public ComponentOf<TeamingState> {
 public:
   void addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) override;
   /* Only ports that are not team ports leave a switch. */
   void removePort(Host &host, Switch const &sw, uint32_t index) override;
   void dumpSwitch(Host const &host, Switch const &sw, nlohmann::json &onSwitch,
                   std::vector<nlohmann::json> &onPorts) const override;

   /* The host's policy of a switch without one of its own: route by the
    * originating port over every uplink, in port order. */
   TeamPolicy defaultPolicy(Switch const &sw) const;
   /* The policy in force on a switch and on one of its ports. */
   TeamPolicy switchPolicy(Switch const &sw) const;
   TeamPolicy portPolicy(Switch const &sw, Port const &port) const;
   /* The uplink a port's traffic leaves on: its override when that uplink is
    * up, else the first active, then standby, uplink that is up; empty when
    * none is. */
   std::string uplinkHint(Switch const &sw, Port const &port) const;
};

/* Reads the settings a dump gives beyond the topology's (each uplink's
 * "admin" state, the IDs of the configured uplink ports, the switch's and
 * ports' policies, overrides and logical-switch policies) into state. */
void readTeamingSettings(Switch const &sw, SwitchSettings &settings, TeamingState &state);

/* HYX_OK, or HYX_BAD_PARAM for a policy record the host refuses (an unknown
 * load-balancing type or bit, more than HYX_TEAM_MAX_UPLINKS uplinks, an
 * uplink slot empty or without its NUL). */
HYX_ReturnStatus readPolicy(VSTeamPolicy const &in, TeamPolicy &out);
HYX_ReturnStatus readPolicy(LSTeamPolicy const &in, TeamPolicy &out);
void writePolicy(TeamPolicy const &in, VSTeamPolicy &out);
void writePolicy(TeamPolicy const &in, LSTeamPolicy &out);

} // namespace tessel

#endif
