/* The whole host as a topology document: the host's clock, each component's
 * host-wide settings under its key, each switch with its identity, its
 * ports and each component's settings of them, and the top-level keys other
 * libraries contribute. */
#include <stdlib.h>

#include "dump_support.h"
#include "hostapi/ports.h"
#include "sim_internal.h"

namespace tessel {

namespace {

char const *portTypeName(int32_t type) {
   switch (type) {
   case VS_PORT_CLIENT_TCPIP:
      return "tcpip";
   case VS_PORT_CLIENT_VNIC:
      return "vnic";
   case VS_PORT_CLIENT_UPLINK:
      return "uplink";
   case VS_PORT_CLIENT_LAG:
      return "lag";
   default:
      return "unknown";
   }
}

} // namespace

void markContributedKeys(Settings &document) {
   char const *key = nullptr;
   tessel_sim_key_load load = nullptr;
   tessel_sim_key_dump dump = nullptr;
   for (size_t i = 0; tessel_sim_topology_key(i, &key, &load, &dump) == 0; ++i)
      document.raw(key);
}

json contributedKeys() {
   json out = json::object();
   char const *key = nullptr;
   tessel_sim_key_load load = nullptr;
   tessel_sim_key_dump dump = nullptr;
   for (size_t i = 0; tessel_sim_topology_key(i, &key, &load, &dump) == 0; ++i) {
      std::unique_ptr<char, void (*)(void *)> text(dump(), free);
      if (text)
         out[key] = json::parse(text.get());
   }
   return out;
}

json Host::dump() const {
   json doc = json::object();
   doc["clock"] = clock_;
   std::vector<char const *> keys;
   for (size_t i = 0; i < components_.size(); ++i) {
      char const *key = componentKey(i);
      keys.push_back(key);
      json settings = json::object();
      components_[i]->dumpHost(settings);
      if (!settings.empty())
         doc[key] = std::move(settings);
   }
   json switches = json::array();
   for (auto const &sw : switches_) {
      json entry = {{"name", sw.name}};
      if (sw.distributed)
         entry["distributed"] = true;
      if (!sw.alias.empty())
         entry["alias"] = sw.alias;
      json ports = json::array();
      for (auto const &port : sw.ports) {
         /* A distributed port added at run time has no client: its
          * distributed port ID and number say which it is. */
         json p = port.runtime
                      ? json{{"dvPort", port.dvPortId}, {"number", port.id & 0xFFFFFFu}}
                      : json{{"name", port.clientName}, {"type", portTypeName(port.clientType)}};
         if (port.sink)
            p["sink"] = true;
         ports.push_back(std::move(p));
      }
      for (size_t i = 0; i < components_.size(); ++i) {
         json onSwitch = json::object();
         std::vector<json> onPorts(sw.ports.size(), json::object());
         components_[i]->dumpSwitch(*this, sw, onSwitch, onPorts);
         if (!onSwitch.empty())
            entry[keys[i]] = std::move(onSwitch);
         for (size_t p = 0; p < onPorts.size(); ++p)
            if (!onPorts[p].empty())
               ports[p][keys[i]] = std::move(onPorts[p]);
      }
      entry["ports"] = std::move(ports);
      switches.push_back(std::move(entry));
   }
   doc["switches"] = std::move(switches);
   json const contributed = contributedKeys();
   for (auto it = contributed.begin(); it != contributed.end(); ++it)
      doc[it.key()] = *it;
   return doc;
}

} // namespace tessel
