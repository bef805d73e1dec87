/* The simulated host's control side in libtessel.so: tessel_sim_reset builds
 * the host again from its topology, and tessel_sim_add_switch adds a large
 * switch for scale runs. */
#include <stdio.h>

#include <nlohmann/json.hpp>

#include "hostapi/mac.h"
#include "mac_model.h"
#include "sim_internal.h"
#include "tessel_sim.h"

namespace tessel {
namespace {

void resetHook() {
   try {
      Host::reset();
   } catch (std::exception const &e) {
      fprintf(stderr, "libtessel: host not restored: %s\n", e.what());
   }
}

struct LoadTimeSetup {
   LoadTimeSetup() { tessel_sim_add_reset_hook(resetHook); }
   ~LoadTimeSetup() { tessel_sim_remove_reset_hook(resetHook); }
} g_loadTimeSetup;

/* The topology entry of a standard switch with ports ports (the first of
 * several is an uplink, the others VM ports on VLANs 1..100) and learnedMacs
 * learned entries spread evenly over them.  A switch that learns more than
 * the host-wide limit gets the scaled limit. */
nlohmann::json scaledSwitch(Host const &host, std::string const &name, uint32_t ports,
                            uint32_t learnedMacs) {
   nlohmann::json sw = {{"name", name}, {"kernel", {{"maxPorts", ports}, {"flags", 1}}}};
   if (learnedMacs > host.component<MacComponent>().hostLearning().macLimit)
      sw["mac"] = {{"macLimit", VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED}};
   nlohmann::json list = nlohmann::json::array();
   for (uint32_t i = 0; i < ports; ++i) {
      uint32_t learned = learnedMacs / ports + (i < learnedMacs % ports ? 1 : 0);
      nlohmann::json port;
      if (i == 0 && ports > 1)
         port = {{"name", "uplink0"}, {"type", "uplink"}};
      else
         port = {{"name", "vm-" + std::to_string(i) + ".eth0"},
                 {"type", "vnic"},
                 {"ports", {{"vlan", 1 + i % 100}}}};
      port["mac"] = {{"learned", learned}};
      list.push_back(std::move(port));
   }
   sw["ports"] = std::move(list);
   return sw;
}

} // namespace
} // namespace tessel

extern "C" TESSEL_HOST_EXPORT int tessel_sim_add_switch(char const *name, unsigned ports,
                                                        unsigned learnedMacs) {
   if (name == nullptr || name[0] == '\0' || ports < 1 || ports > tessel::kMaxPorts)
      return -1;
   try {
      tessel::Host &host = tessel::Host::instance();
      nlohmann::json const entry = tessel::scaledSwitch(host, name, ports, learnedMacs);
      tessel::Settings settings(&entry, std::string("tessel_sim_add_switch(") + name + ")");
      host.add(settings);
      return 0;
   } catch (...) {
      return -1;
   }
}
