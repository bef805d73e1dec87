/* Tests of the port information functions of the simulated libtessel.so:
 * the port records and tables, their agreement with the switch summary, the
 * reverse-ARP statistics, argument handling and the large-switch control
 * call.  Record offsets are written out: the binary layout is what callers
 * rely on. */
#include <stdlib.h>
#include <string.h>

#include <set>
#include <string>

#include "check.h"
#include "hostapi/kernel.h"
#include "hostapi/ports.h"
#include "hostapi/status.h"

namespace {

using check::at;

constexpr size_t kPortInfoSize = 1685;

char const *const kSwitches[] = {"switch0", "switch1", "dswitch0", "dswitch1"};

std::string text(unsigned char const *record, size_t offset, size_t width) {
   char const *start = reinterpret_cast<char const *>(record) + offset;
   return std::string(start, strnlen(start, width));
}

/* The table of every switch agrees with its summary and with the single-port
 * lookups by name and by decimal port ID. */
void testTablesAgreeWithSummaryAndLookups() {
   long const blocks = tessel_sim_outstanding_blocks();
   for (char const *name : kSwitches) {
      VSInfo summary;
      CHECK_EQ(VSHYX_GetVSInfo(name, &summary), HYX_OK);
      VSInfo *info = nullptr;
      CHECK_EQ(VSHYX_GetSwitchInfo(name, &info), HYX_OK);
      CHECK(info != nullptr && memcmp(info, &summary, sizeof summary) == 0);
      VSHYX_FreeMemory(info);

      VSSwitchPortInfo *table = nullptr;
      CHECK_EQ(VSHYX_GetSwitchPortInfo(name, &table), HYX_OK);
      if (table == nullptr)
         continue;
      uint32_t const n = at<uint32_t>(table, 4);
      CHECK_EQ(at<uint32_t>(table, 0), n);
      CHECK_EQ(n, at<uint32_t>(&summary, 8));
      CHECK(n <= at<uint32_t>(&summary, 12));
      bool const distributed = summary.dvsName[0] != 0;
      std::set<uint32_t> ids;
      std::set<std::string> names;
      std::set<std::string> macs;
      bool vdrFound = at<uint32_t>(&summary, 8410) == 0;
      for (uint32_t i = 0; i < n; ++i) {
         auto const *entry = reinterpret_cast<unsigned char const *>(table) + 8 + i * kPortInfoSize;
         CHECK_EQ(at<uint32_t>(entry, 0), i);
         uint32_t const id = at<uint32_t>(entry, 1442);
         std::string const client = text(entry, 4, 1040);
         CHECK(ids.insert(id).second);
         CHECK(!client.empty() && names.insert(client).second);
         vdrFound = vdrFound || id == at<uint32_t>(&summary, 8410);
         int32_t const type = at<int32_t>(entry, 1044);
         CHECK(type >= VS_PORT_CLIENT_UNKNOWN && type <= VS_PORT_CLIENT_LAG);
         /* A unicast fixed address of its own. */
         std::string const mac(reinterpret_cast<char const *>(entry) + 1048, 6);
         CHECK((entry[1048] & 1) == 0 && mac != std::string(6, '\0'));
         CHECK(macs.insert(mac).second);
         CHECK_EQ(text(entry, 1054, 48).empty(), !distributed);
         CHECK(at<uint16_t>(entry, 1102) <= 32);
         /* Traffic: packets in both directions, subsets within totals. */
         CHECK(at<uint64_t>(entry, 1296) > 0 && at<uint64_t>(entry, 1296 + 24) > 0);
         CHECK(at<uint64_t>(entry, 1296 + 8) <= at<uint64_t>(entry, 1296));
         CHECK(at<uint64_t>(entry, 1296 + 48) >= at<uint64_t>(entry, 1296));
         CHECK(at<uint16_t>(entry, 1408) < 4096);
         CHECK(at<uint64_t>(entry, 1450 + 80 + 24) > 0);

         /* The same record by name and by ID. */
         VSPortInfo *byName = nullptr;
         VSPortInfo *byId = nullptr;
         CHECK_EQ(VSHYX_GetPortInfo(name, client.c_str(), &byName), HYX_OK);
         CHECK_EQ(VSHYX_GetPortInfo(name, std::to_string(id).c_str(), &byId), HYX_OK);
         CHECK(byName != nullptr && memcmp(byName, entry, kPortInfoSize) == 0);
         CHECK(byId != nullptr && memcmp(byId, entry, kPortInfoSize) == 0);
         VSHYX_FreeMemory(byName);
         VSDVS_FreeMemory(byId);
      }
      CHECK(vdrFound);
      VSHYX_FreeMemory(table);
   }
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

/* Values of the built-in model at their offsets. */
void testPortRecordLayout() {
   VSPortInfo *info = nullptr;
   CHECK_EQ(VSHYX_GetPortInfo("switch0", "web-01.eth0", &info), HYX_OK);
   if (info != nullptr) {
      auto const *p = reinterpret_cast<unsigned char const *>(info);
      CHECK_EQ(at<int32_t>(p, 1044), VS_PORT_CLIENT_VNIC);
      CHECK_EQ(at<uint16_t>(p, 1408), 10);
      CHECK_EQ(at<uint16_t>(p, 1410), 10);
      CHECK(at<uint32_t>(p, 1412) & VS_VLAN_TP_FLAG_OVERWRITE_VID);
      CHECK_EQ(at<uint16_t>(p, 1102), 2);
      unsigned char const allHosts[6] = {0x01, 0x00, 0x5e, 0x00, 0x00, 0x01};
      CHECK(memcmp(p + 1104, allHosts, 6) == 0);
      CHECK_EQ(at<uint32_t>(p, 1446), 2);
      /* Text past the client name is zero. */
      CHECK(p[4 + strlen("web-01.eth0")] == 0 && p[4 + 1039] == 0);
      VSHYX_FreeMemory(info);
   }
   info = nullptr;
   CHECK_EQ(VSHYX_GetPortInfo("dswitch0", "hostport2", &info), HYX_OK);
   if (info != nullptr) {
      auto const *p = reinterpret_cast<unsigned char const *>(info);
      CHECK_EQ(at<int32_t>(p, 1044), VS_PORT_CLIENT_TCPIP);
      CHECK_EQ(at<uint16_t>(p, 1682), 100);
      CHECK(at<uint64_t>(p, 1426) != 0);
      CHECK_EQ(p[1684], 0);
      VSHYX_FreeMemory(info);
   }
   info = nullptr;
   CHECK_EQ(VSHYX_GetPortInfo("dswitch0", "prod-web-01.eth0", &info), HYX_OK);
   if (info != nullptr) {
      /* The switch filters associated MACs on its VM ports. */
      CHECK_EQ(reinterpret_cast<unsigned char const *>(info)[1420], 1);
      VSHYX_FreeMemory(info);
   }
}

void testRarpStats() {
   VSRARPStats stats;
   memset(&stats, 0x5A, sizeof stats);
   CHECK_EQ(VSHYX_GetRARPStats("dswitch0", &stats), HYX_OK);
   /* Three announcements for each port that is not on the team side. */
   CHECK_EQ(stats.rarpPktsSent, 3 * 14);
   CHECK(stats.maxRARPTime > 0 && stats.maxRARPTime <= stats.rarpTime);
   VSRARPStats other;
   CHECK_EQ(VSHYX_GetRARPStats("switch1", &other), HYX_OK);
   CHECK_EQ(other.rarpPktsSent, 3 * 2);

   memset(&stats, 0x5A, sizeof stats);
   CHECK_EQ(VSHYX_GetRARPStats("nope", &stats), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetRARPStats(nullptr, &stats), HYX_BAD_PARAM);
   CHECK_EQ(stats.rarpPktsSent, 0x5A5A5A5A);
   CHECK_EQ(VSHYX_GetRARPStats("switch0", nullptr), HYX_BAD_PARAM);
}

/* Failures leave the out slot alone and hand out nothing. */
void testBadArguments() {
   long const blocks = tessel_sim_outstanding_blocks();
   VSPortInfo *const sentinel = reinterpret_cast<VSPortInfo *>(0x1234);
   VSPortInfo *info = sentinel;
   CHECK_EQ(VSHYX_GetPortInfo(nullptr, "hostport0", &info), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetPortInfo("switch0", nullptr, &info), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetPortInfo("switch0", "hostport0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetPortInfo("switch9", "hostport0", &info), HYX_NOT_FOUND);
   /* Ports of another switch are not found. */
   CHECK_EQ(VSHYX_GetPortInfo("switch1", "hostport0", &info), HYX_NOT_FOUND);
   char const *const notPorts[] = {
       "",          "HOSTPORT0", "0",          "-1",          "+33554435",
       " 33554435", "33554435 ", "4294967296", "99999999999", "0x2000003"};
   for (char const *port : notPorts)
      CHECK_EQ(VSHYX_GetPortInfo("switch0", port, &info), HYX_NOT_FOUND);
   /* Leading zeros still read as the number. */
   CHECK_EQ(VSHYX_GetPortInfo("switch0", "033554435", &info), HYX_OK);
   CHECK(info != sentinel);
   VSHYX_FreeMemory(info);
   info = sentinel;

   std::string const longName(1040, 'p');
   CHECK_EQ(VSHYX_GetPortInfo("switch0", longName.c_str(), &info), HYX_NAME_TOO_LONG);
   CHECK_EQ(VSHYX_GetPortInfo("switch0", longName.substr(1).c_str(), &info), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetPortInfo(std::string(128, 's').c_str(), "hostport0", &info),
            HYX_NAME_TOO_LONG);
   CHECK(info == sentinel);

   VSSwitchPortInfo *table = reinterpret_cast<VSSwitchPortInfo *>(0x1234);
   CHECK_EQ(VSHYX_GetSwitchPortInfo(nullptr, &table), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetSwitchPortInfo("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetSwitchPortInfo("dvs-prod", &table), HYX_NOT_FOUND);
   CHECK(table == reinterpret_cast<VSSwitchPortInfo *>(0x1234));
   VSInfo *summary = reinterpret_cast<VSInfo *>(0x1234);
   CHECK_EQ(VSHYX_GetSwitchInfo("", &summary), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetSwitchInfo("switch0", nullptr), HYX_BAD_PARAM);
   CHECK(summary == reinterpret_cast<VSInfo *>(0x1234));
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

/* The control call adds a switch that every view sees, and a reset removes
 * it again. */
void testAddedSwitch() {
   CHECK_EQ(tessel_sim_add_switch("bench-ports", 300, 1000), 0);
   VSInfo summary;
   CHECK_EQ(VSHYX_GetVSInfo("bench-ports", &summary), HYX_OK);
   CHECK_EQ(at<uint32_t>(&summary, 8), 300);
   VSList *list = nullptr;
   CHECK_EQ(VSHYX_GetSwitches(VS_LIST_PS, &list), HYX_OK);
   CHECK(list != nullptr && list->count == 5 &&
         strcmp(list->switches + 4 * VS_LIST_PS_ENTRY_LEN, "bench-ports") == 0);
   free(list);
   VSSwitchPortInfo *table = nullptr;
   CHECK_EQ(VSHYX_GetSwitchPortInfo("bench-ports", &table), HYX_OK);
   CHECK(table != nullptr && at<uint32_t>(table, 4) == 300);
   VSHYX_FreeMemory(table);
   VSPortInfo *info = nullptr;
   CHECK_EQ(VSHYX_GetPortInfo("bench-ports", "uplink0", &info), HYX_OK);
   CHECK(info != nullptr && at<int32_t>(info, 1044) == VS_PORT_CLIENT_UPLINK);
   VSHYX_FreeMemory(info);

   CHECK_EQ(tessel_sim_add_switch("bench-ports", 10, 0), -1);
   CHECK_EQ(tessel_sim_add_switch("switch0", 10, 0), -1);
   CHECK_EQ(tessel_sim_add_switch(nullptr, 10, 0), -1);
   CHECK_EQ(tessel_sim_add_switch("", 10, 0), -1);
   CHECK_EQ(tessel_sim_add_switch(std::string(128, 'b').c_str(), 10, 0), -1);
   CHECK_EQ(tessel_sim_add_switch("no-ports", 0, 0), -1);
   /* More than the published scaled limit, or than the ports may hold. */
   CHECK_EQ(tessel_sim_add_switch("too-many", 4096, 131073), -1);
   CHECK_EQ(tessel_sim_add_switch("too-dense", 1, 4097), -1);
   CHECK_EQ(tessel_sim_add_switch("one-port", 1, 4096), 0);
   CHECK_EQ(VSHYX_GetVSInfo("too-dense", &summary), HYX_NOT_FOUND);

   tessel_sim_reset();
   CHECK_EQ(VSHYX_GetVSInfo("bench-ports", &summary), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetVSInfo("one-port", &summary), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetVSInfo("switch0", &summary), HYX_OK);
}

} // namespace

int main() {
   testTablesAgreeWithSummaryAndLookups();
   testPortRecordLayout();
   testRarpStats();
   testBadArguments();
   testAddedSwitch();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("port_test");
}
