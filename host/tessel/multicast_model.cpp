#include "multicast_model.h"

#include <arpa/inet.h>
#include <string.h>

#include "ports_model.h"

namespace tessel {

TESSEL_COMPONENT(MulticastComponent, "multicast", "ports");

MacAddress McastGroup::mac() const {
   if (v6)
      return {0x33, 0x33, group[12], group[13], group[14], group[15]};
   return {0x01, 0x00, 0x5e, static_cast<uint8_t>(group[1] & 0x7f), group[2], group[3]};
}

std::optional<IpAddress> parseIp(std::string const &text, bool v6) {
   IpAddress out{};
   if (inet_pton(v6 ? AF_INET6 : AF_INET, text.c_str(), out.data()) != 1)
      return std::nullopt;
   return out;
}

namespace {

IpAddress v4(uint8_t a, uint8_t b, uint8_t c, uint8_t d) { return {a, b, c, d}; }

McastGroup group(bool v6, IpAddress const &address, uint32_t clock) {
   McastGroup g;
   g.v6 = v6;
   g.group = address;
   g.updated = clock;
   return g;
}

/* The groups a port joins unless the topology lists its own: every host
 * port the all-hosts groups (224.0.0.1, ff02::1), a host port also mDNS and
 * its solicited-node group, a VM port one application group with a source
 * filter; the team side joins none. */
std::vector<McastGroup> defaultGroups(Switch const &sw, Port const &port, uint32_t clock) {
   std::vector<McastGroup> groups;
   if (port.team())
      return groups;
   IpAddress allNodes{0xff, 0x02};
   allNodes[15] = 1;
   groups.push_back(group(false, v4(224, 0, 0, 1), clock));
   groups.push_back(group(true, allNodes, clock));
   if (port.clientType == VS_PORT_CLIENT_TCPIP) {
      groups.push_back(group(false, v4(224, 0, 0, 251), clock));
      IpAddress solicited{0xff, 0x02};
      solicited[11] = 1;
      solicited[12] = 0xff;
      solicited[13] = port.mac[3];
      solicited[14] = port.mac[4];
      solicited[15] = port.mac[5];
      groups.push_back(group(true, solicited, clock));
   } else if (port.clientType == VS_PORT_CLIENT_VNIC) {
      McastGroup app = group(
          false, v4(239, 1, static_cast<uint8_t>(sw.ordinal), static_cast<uint8_t>(port.index)),
          clock);
      app.filterMode = VS_MCAST_SRC_IP_FILTER_MODE_INCLUDE;
      app.sources = {v4(10, static_cast<uint8_t>(sw.ordinal), 0, 1),
                     v4(10, static_cast<uint8_t>(sw.ordinal), 0, 2)};
      groups.push_back(app);
   }
   return groups;
}

std::vector<MacAddress> userMacs(Settings &in) {
   std::vector<MacAddress> out;
   auto texts = in.texts("userMacs");
   if (!texts)
      return out;
   if (texts->size() > VS_MULTICAST_USER_ENTRIES_MAX)
      in.fail("at most " + std::to_string(VS_MULTICAST_USER_ENTRIES_MAX) + " entries", "userMacs");
   for (auto const &text : *texts) {
      unsigned b[6];
      char tail;
      if (sscanf(text.c_str(), "%2x:%2x:%2x:%2x:%2x:%2x%c", &b[0], &b[1], &b[2], &b[3], &b[4],
                 &b[5], &tail) != 6 ||
          (b[0] & 1) == 0)
         in.fail("\"" + text + "\" is not a multicast MAC address", "userMacs");
      out.push_back({static_cast<uint8_t>(b[0]), static_cast<uint8_t>(b[1]),
                     static_cast<uint8_t>(b[2]), static_cast<uint8_t>(b[3]),
                     static_cast<uint8_t>(b[4]), static_cast<uint8_t>(b[5])});
   }
   return out;
}

std::vector<McastGroup> listedGroups(Settings &in, uint32_t clock) {
   std::vector<McastGroup> groups;
   for (Settings *entry : in.list("groups")) {
      std::string const text = entry->text("group", "");
      bool const v6 = text.find(':') != std::string::npos;
      auto address = parseIp(text, v6);
      if (!address || (v6 ? (*address)[0] != 0xff : ((*address)[0] & 0xf0) != 0xe0))
         entry->fail("\"" + text + "\" is not a multicast group", "group");
      McastGroup g = group(v6, *address, entry->number<uint32_t>("updated", clock));
      g.filterMode = entry->choice<uint32_t>("filter",
                                             {{"none", VS_MCAST_SRC_IP_FILTER_MODE_NONE},
                                              {"include", VS_MCAST_SRC_IP_FILTER_MODE_INCLUDE},
                                              {"exclude", VS_MCAST_SRC_IP_FILTER_MODE_EXCLUDE}},
                                             VS_MCAST_SRC_IP_FILTER_MODE_NONE);
      if (auto sources = entry->texts("sources")) {
         for (auto const &s : *sources) {
            auto source = parseIp(s, v6);
            if (!source)
               entry->fail("\"" + s + "\" is not an address of the group's family", "sources");
            g.sources.push_back(*source);
         }
      }
      groups.push_back(std::move(g));
   }
   return groups;
}

} // namespace

void MulticastComponent::addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) {
   McastState state;
   Settings &in = settings.onSwitch;
   state.mode = in.choice<int32_t>("mode",
                                   {{"legacy", VS_MCAST_FILTER_MODE_LEGACY},
                                    {"snooping", VS_MCAST_FILTER_MODE_SNOOPING},
                                    {"igmp", VS_MCAST_FILTER_MODE_IGMP},
                                    {"mld", VS_MCAST_FILTER_MODE_MLD}},
                                   sw.distributed ? VS_MCAST_FILTER_MODE_SNOOPING
                                                  : VS_MCAST_FILTER_MODE_LEGACY);
   state.userMacs = userMacs(in);
   state.ports.reserve(sw.ports.size());
   for (auto const &port : sw.ports) {
      Settings &p = *settings.onPorts[port.index];
      McastPort mp;
      mp.groups =
          p.has("groups") ? listedGroups(p, host.now()) : defaultGroups(sw, port, host.now());
      mp.userMacs = userMacs(p);
      state.ports.push_back(std::move(mp));
   }
   switches_.push_back(std::move(state));
}

} // namespace tessel
