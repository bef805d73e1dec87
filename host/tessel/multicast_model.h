/* The multicast subsystem's state: each switch's filter mode and user legacy
 * multicast MAC entries, and each port's IGMP (IPv4) and MLD (IPv6) groups
 * with their source filters and its own user legacy entries. */
#ifndef TESSEL_HOST_MULTICAST_MODEL_H
#define TESSEL_HOST_MULTICAST_MODEL_H

#include <stdint.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "hostapi/multicast.h"
#include "model.h"

namespace tessel {

/* An IPv4 address in its first 4 bytes, or an IPv6 address. */
using IpAddress = std::array<uint8_t, 16>;

struct McastGroup {
   bool v6 = false;
   IpAddress group{};
   uint32_t filterMode = VS_MCAST_SRC_IP_FILTER_MODE_NONE;
   std::vector<IpAddress> sources;
   /* Host clock when the port last reported the group. */
   uint32_t updated = 0;

   /* The group's MAC address: 01:00:5e and the low 23 bits of an IPv4
    * group, 33:33 and the low 32 bits of an IPv6 one. */
   MacAddress mac() const;
};

struct McastPort {
   std::vector<McastGroup> groups;
   std::vector<MacAddress> userMacs;
};

struct McastState {
   int32_t mode = VS_MCAST_FILTER_MODE_LEGACY;
   std::vector<MacAddress> userMacs;
   /* By port index. */
   std::vector<McastPort> ports;
};

class MulticastComponent : public ComponentOf<McastState> {
 public:
   void addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) override;
   void dumpSwitch(Host const &host, Switch const &sw, nlohmann::json &onSwitch,
                   std::vector<nlohmann::json> &onPorts) const override;
   using ComponentOf<McastState>::of;
   McastPort &of(Switch const &sw, Port const &port) {
      return switches_[sw.ordinal].ports[port.index];
   }
};

/* Parses an IPv4 (v6 false) or IPv6 address text. */
std::optional<IpAddress> parseIp(std::string const &text, bool v6);

/* Whether a mode is one of the four. */
inline bool validMcastMode(int32_t mode) {
   return mode >= VS_MCAST_FILTER_MODE_LEGACY && mode <= VS_MCAST_FILTER_MODE_MLD;
}

} // namespace tessel

#endif
