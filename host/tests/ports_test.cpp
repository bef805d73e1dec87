/* Port information of the simulated libtessel.so beyond what the module's
 * tests see: every switch's ports have their own IDs and unicast addresses,
 * port names are parsed strictly, reverse-ARP figures add up, and failures
 * leave the out slot alone. */
#include <string.h>

#include <set>
#include <string>

#include "check.h"
#include "hostapi/kernel.h"
#include "hostapi/ports.h"
#include "hostapi/status.h"

namespace {

using check::at;

void testEveryPortIsItsOwn() {
   long const blocks = tessel_sim_outstanding_blocks();
   for (char const *name : {"switch0", "switch1", "dswitch0", "dswitch1"}) {
      VSSwitchPortInfo *table = nullptr;
      CHECK_EQ(VSHYX_GetSwitchPortInfo(name, &table), HYX_OK);
      uint32_t const n = table != nullptr ? at<uint32_t>(table, 4) : 0;
      CHECK(n > 0);
      std::set<uint32_t> ids;
      std::set<std::string> macs;
      for (uint32_t i = 0; i < n; ++i) {
         auto const *entry =
             reinterpret_cast<unsigned char const *>(table) + 8 + i * sizeof(VSPortInfo);
         CHECK_EQ(at<uint32_t>(entry, offsetof(VSPortInfo, portIdx)), i);
         uint32_t const id = at<uint32_t>(entry, offsetof(VSPortInfo, portID));
         std::string const mac(
             reinterpret_cast<char const *>(entry) + offsetof(VSPortInfo, fixedHwID), 6);
         CHECK(ids.insert(id).second && macs.insert(mac).second && (mac[0] & 1) == 0);
      }
      VSHYX_FreeMemory(table);
   }
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

void testRarpStats() {
   /* Three announcements for each port that is not on the team side. */
   struct {
      char const *name;
      uint32_t sent;
   } const cases[] = {{"dswitch0", 3 * 14}, {"switch1", 3 * 2}};
   for (auto const &c : cases) {
      VSRARPStats stats;
      CHECK_EQ(VSHYX_GetRARPStats(c.name, &stats), HYX_OK);
      CHECK_EQ(stats.rarpPktsSent, c.sent);
      CHECK(stats.maxRARPTime > 0 && stats.maxRARPTime <= stats.rarpTime);
   }
   VSRARPStats stats;
   memset(&stats, 0x5A, sizeof stats);
   CHECK_EQ(VSHYX_GetRARPStats("nope", &stats), HYX_NOT_FOUND);
   CHECK_EQ(stats.rarpPktsSent, 0x5A5A5A5A);
   CHECK_EQ(VSHYX_GetRARPStats("switch0", nullptr), HYX_BAD_PARAM);
}

/* A port is its client name or its port ID in plain decimal; failures leave
 * the out slot alone and hand out nothing. */
void testPortNames() {
   long const blocks = tessel_sim_outstanding_blocks();
   VSPortInfo *const sentinel = reinterpret_cast<VSPortInfo *>(0x1234);
   VSPortInfo *info = sentinel;
   struct {
      std::string port;
      HYX_ReturnStatus status;
   } const cases[] = {
       {"HOSTPORT0", HYX_NOT_FOUND},
       {"hostport1", HYX_NOT_FOUND},
       {"0", HYX_NOT_FOUND},
       {"-1", HYX_NOT_FOUND},
       {"+33554435", HYX_NOT_FOUND},
       {" 33554435", HYX_NOT_FOUND},
       {"33554435 ", HYX_NOT_FOUND},
       {"4294967296", HYX_NOT_FOUND},
       {"99999999999", HYX_NOT_FOUND},
       {"0x2000003", HYX_NOT_FOUND},
       {std::string(1039, 'p'), HYX_NOT_FOUND},
       {std::string(1040, 'p'), HYX_NAME_TOO_LONG},
   };
   for (auto const &c : cases)
      CHECK_EQ(VSHYX_GetPortInfo("switch0", c.port.c_str(), &info), c.status);
   CHECK_EQ(VSHYX_GetPortInfo("switch0", "hostport0", nullptr), HYX_BAD_PARAM);
   CHECK(info == sentinel);
   /* Leading zeros still read as the number. */
   CHECK_EQ(VSHYX_GetPortInfo("switch0", "033554435", &info), HYX_OK);
   CHECK(info != sentinel && strcmp(reinterpret_cast<char const *>(info) + 4, "hostport0") == 0);
   VSHYX_FreeMemory(info);
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

} // namespace

int main() {
   testEveryPortIsItsOwn();
   testRarpStats();
   testPortNames();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("ports_test");
}
