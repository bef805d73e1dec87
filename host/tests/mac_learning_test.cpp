/* Tests of the MAC-learning and layer-2 security functions of the simulated
 * libtessel.so: what each setting stores, how the live views reflect it,
 * the published defaults and limits, and the statuses of bad arguments. */
#include <string.h>

#include <map>
#include <string>

#include "check.h"
#include "hostapi/mac.h"
#include "hostapi/status.h"

namespace {

using check::at;

struct PropValues {
   uint32_t agingTime;
   uint32_t macLimit;
};

PropValues switchProp(char const *sw) {
   unsigned char raw[8];
   memset(raw, 0xEE, sizeof raw);
   CHECK_EQ(VSDVS_GetMACLearning(sw, reinterpret_cast<VSPropMACLearning *>(raw)), HYX_OK);
   uint32_t const word = at<uint32_t>(raw, 0);
   /* The aging time fills bits 0 to 23; the reserved byte reads zero. */
   CHECK_EQ(word >> 24, 0);
   return {word & 0xFFFFFF, at<uint32_t>(raw, 4)};
}

HYX_ReturnStatus setSwitchProp(char const *sw, uint32_t word0, uint32_t macLimit) {
   unsigned char raw[8];
   check::put<uint32_t>(raw, 0, word0);
   check::put<uint32_t>(raw, 4, macLimit);
   return VSDVS_SetMACLearning(sw, reinterpret_cast<VSPropMACLearning const *>(raw));
}

VSMACLearningSwitchInfo switchInfo(char const *sw) {
   VSMACLearningSwitchInfo info;
   memset(&info, 0xEE, sizeof info);
   CHECK_EQ(VSHYX_GetSwitchMACLearningInfo(sw, &info), HYX_OK);
   return info;
}

template <typename T> T infoAt(char const *sw, size_t offset) {
   VSMACLearningSwitchInfo const info = switchInfo(sw);
   return at<T>(&info, offset);
}

int learnStatic(char const *sw) {
   hyx_Bool value = 9;
   CHECK_EQ(VSDVS_GetLearnStatic(sw, &value), HYX_OK);
   return static_cast<unsigned char>(value);
}

int staticAllow(char const *sw) {
   hyx_Bool value = 9;
   CHECK_EQ(VSDVS_GetStaticMACAllow(sw, &value), HYX_OK);
   return static_cast<unsigned char>(value);
}

/* Entries of one kind a port reports. */
uint32_t portEntries(char const *sw, char const *port, VSMACAddrType type) {
   VSMACTable *table = nullptr;
   CHECK_EQ(VSHYX_GetPortMACTable(sw, port, type, &table), HYX_OK);
   uint32_t n = table != nullptr ? at<uint32_t>(table, 4) : 0;
   VSHYX_FreeMemory(table);
   return n;
}

/* Elements of a per-port table by port ID; size is the element width. */
std::map<uint32_t, std::string> elements(void const *table, size_t size) {
   std::map<uint32_t, std::string> out;
   uint32_t const n = at<uint32_t>(table, 4);
   CHECK_EQ(at<uint32_t>(table, 0), n);
   for (uint32_t i = 0; i < n; ++i) {
      char const *e = static_cast<char const *>(table) + 8 + i * size;
      CHECK(out.emplace(at<uint32_t>(e, 0), std::string(e, size)).second);
   }
   return out;
}

uint32_t portId(char const *sw, char const *port) {
   VSPortInfo *info = nullptr;
   CHECK_EQ(VSHYX_GetPortInfo(sw, port, &info), HYX_OK);
   uint32_t id = info != nullptr ? at<uint32_t>(info, 1442) : 0;
   VSHYX_FreeMemory(info);
   return id;
}

void testDefaults() {
   VSMACLearningGlobalProps global;
   memset(&global, 0xEE, sizeof global);
   CHECK_EQ(VSHYX_GetGlobalMACLearningProps(&global), HYX_OK);
   CHECK_EQ(at<uint32_t>(&global, 0), VS_MAC_LEARNING_AGING_TIME_DEFAULT);
   CHECK_EQ(at<uint32_t>(&global, 4), VS_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT);
   CHECK_EQ(at<char>(&global, 8), VS_MAC_LEARNING_LEARN_STATIC_DEFAULT);
   CHECK_EQ(at<char>(&global, 9), VS_MAC_LEARNING_ALLOW_STATIC_DEFAULT);

   PropValues const prop = switchProp("dswitch0");
   CHECK_EQ(prop.agingTime, 600);
   CHECK_EQ(prop.macLimit, 65536);
   CHECK_EQ(learnStatic("dswitch0"), 0);
   CHECK_EQ(staticAllow("dswitch0"), 1);

   VSMACLearningSwitchInfo const info = switchInfo("switch0");
   CHECK_EQ(at<uint32_t>(&info, 0), 600);
   CHECK_EQ(at<uint32_t>(&info, 4), 65536);
   /* hostport0 and the three VM ports learn: three entries on VM ports, seven
    * behind the two uplinks. */
   CHECK_EQ(at<uint32_t>(&info, 8), 4);
   CHECK_EQ(at<uint32_t>(&info, 12), 3);
   CHECK_EQ(at<uint32_t>(&info, 16), 7);
   CHECK_EQ(at<char>(&info, 20), 1);
   CHECK_EQ(at<uint32_t>(&info, 22), TEAM_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT);
   CHECK_EQ(at<uint32_t>(&info, 30), 7);
   CHECK(at<uint64_t>(&info, 58) > 0);
   CHECK_EQ(at<uint32_t>(&info, 66), 0);
   CHECK_EQ(at<char>(&info, 78), 0);
   CHECK_EQ(at<char>(&info, 80), 1);
   CHECK_EQ(at<uint8_t>(&info, 81), VS_MAC_LEARNING_MAX_AGING_MULTIPLIER_DEFAULT);

   VSMACLearningSwitchInfo const dvs = switchInfo("dswitch0");
   CHECK_EQ(at<uint32_t>(&dvs, 70), 1);
   CHECK_EQ(at<uint32_t>(&dvs, 74), 1);
   /* One user entry on a VM port and one on an uplink. */
   CHECK_EQ(at<uint8_t>(&dvs, 79), 2);
}

/* A switch's own setting wins over the host-wide one; clearing it brings the
 * host-wide value back. */
void testSwitchAndHostSettings() {
   CHECK_EQ(setSwitchProp("switch1", 300, 1000), HYX_OK);
   PropValues prop = switchProp("switch1");
   CHECK(prop.agingTime == 300 && prop.macLimit == 1000);
   CHECK_EQ(infoAt<uint32_t>("switch1", 0), 300);

   unsigned char global[10];
   check::put<uint32_t>(global, 0, 900);
   check::put<uint32_t>(global, 4, 2000);
   global[8] = 1;
   global[9] = 0;
   auto *props = reinterpret_cast<VSMACLearningGlobalProps *>(global);
   CHECK_EQ(VSHYX_SetGlobalMACLearningProps(props), HYX_OK);
   CHECK_EQ(switchProp("switch1").agingTime, 300);
   CHECK_EQ(switchProp("switch0").agingTime, 900);
   CHECK_EQ(learnStatic("switch0"), 1);
   CHECK_EQ(staticAllow("switch0"), 0);
   CHECK_EQ(VSDVS_SetLearnStatic("switch0", 0), HYX_OK);
   CHECK_EQ(learnStatic("switch0"), 0);
   CHECK_EQ(VSDVS_ClearLearnStatic("switch0"), HYX_OK);
   CHECK_EQ(learnStatic("switch0"), 1);
   CHECK_EQ(VSDVS_ClearMACLearning("switch1"), HYX_OK);
   CHECK_EQ(switchProp("switch1").agingTime, 900);

   /* Back to the published defaults, which Clear then restores. */
   check::put<uint32_t>(global, 0, VS_MAC_LEARNING_AGING_TIME_DEFAULT);
   check::put<uint32_t>(global, 4, VS_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT);
   global[8] = VS_MAC_LEARNING_LEARN_STATIC_DEFAULT;
   global[9] = VS_MAC_LEARNING_ALLOW_STATIC_DEFAULT;
   CHECK_EQ(VSHYX_SetGlobalMACLearningProps(props), HYX_OK);
   CHECK_EQ(VSDVS_SetStaticMACAllow("switch1", 0), HYX_OK);
   CHECK_EQ(staticAllow("switch1"), 0);
   CHECK_EQ(VSDVS_ClearStaticMACAllow("switch1"), HYX_OK);
   CHECK_EQ(staticAllow("switch1"), 1);
   CHECK_EQ(setSwitchProp("switch1", 1000000, 131072), HYX_OK);
   /* A scaled switch gives its team side the scaled limit. */
   CHECK_EQ(infoAt<uint32_t>("switch1", 22), TEAM_MAC_LEARNING_LIMIT_ENTRIES_SCALED);
   CHECK_EQ(VSDVS_ClearMACLearning("switch1"), HYX_OK);
   prop = switchProp("switch1");
   CHECK(prop.agingTime == 600 && prop.macLimit == 65536);
}

/* Values outside the published limits are refused and change nothing. */
void testLimits() {
   struct {
      uint32_t word0, macLimit;
      HYX_ReturnStatus status;
   } const cases[] = {
       {0, 1000, HYX_BAD_PARAM},
       {1000001, 1000, HYX_LIMIT_EXCEEDED},
       {600, 0, HYX_BAD_PARAM},
       {600, 131073, HYX_LIMIT_EXCEEDED},
       {600 | (1u << 24), 1000, HYX_BAD_PARAM},
       {1, 1, HYX_OK},
   };
   for (auto const &c : cases)
      CHECK_EQ(setSwitchProp("dswitch1", c.word0, c.macLimit), c.status);
   PropValues prop = switchProp("dswitch1");
   CHECK(prop.agingTime == 1 && prop.macLimit == 1);

   unsigned char global[10];
   VSMACLearningGlobalProps *props = reinterpret_cast<VSMACLearningGlobalProps *>(global);
   CHECK_EQ(VSHYX_GetGlobalMACLearningProps(props), HYX_OK);
   global[8] = 2;
   CHECK_EQ(VSHYX_SetGlobalMACLearningProps(props), HYX_BAD_PARAM);
   global[8] = 0;
   check::put<uint32_t>(global, 0, 1000001);
   CHECK_EQ(VSHYX_SetGlobalMACLearningProps(props), HYX_LIMIT_EXCEEDED);
   check::put<uint32_t>(global, 0, 600);
   check::put<uint32_t>(global, 4, 131073);
   CHECK_EQ(VSHYX_SetGlobalMACLearningProps(props), HYX_LIMIT_EXCEEDED);
   CHECK_EQ(VSHYX_SetGlobalMACLearningProps(nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetGlobalMACLearningProps(props), HYX_OK);
   CHECK_EQ(at<uint32_t>(global, 4), 65536);

   for (hyx_Bool bad :
        {static_cast<hyx_Bool>(2), static_cast<hyx_Bool>('1'), static_cast<hyx_Bool>(0xFF)}) {
      CHECK_EQ(VSDVS_SetLearnStatic("switch0", bad), HYX_BAD_PARAM);
      CHECK_EQ(VSDVS_SetStaticMACAllow("switch0", bad), HYX_BAD_PARAM);
      CHECK_EQ(VSDVS_SetTeamMacLearning("switch0", bad), HYX_BAD_PARAM);
      CHECK_EQ(VSDVS_SetCaching("switch0", bad), HYX_BAD_PARAM);
   }
   CHECK_EQ(learnStatic("switch0"), 0);
   tessel_sim_reset();
   prop = switchProp("dswitch1");
   CHECK(prop.agingTime == 600 && prop.macLimit == 65536);
}

/* Switch settings change what the MAC tables and statistics report. */
void testSettingsReachTheViews() {
   /* Learned entries become static ones that do not age. */
   CHECK_EQ(VSDVS_SetLearnStatic("switch0", 1), HYX_OK);
   VSMACTable *table = nullptr;
   CHECK_EQ(VSHYX_GetMACTable("switch0", VS_MAC_ADDR_TYPE_LEARNED, VS_ALL_MAC_TABLE, &table),
            HYX_OK);
   for (uint32_t i = 0; table != nullptr && i < at<uint32_t>(table, 4); ++i) {
      auto const *e = reinterpret_cast<unsigned char const *>(table) + 8 + i * 103;
      CHECK(e[11] == 0 && e[13] == 1);
   }
   VSHYX_FreeMemory(table);
   CHECK_EQ(VSDVS_ClearLearnStatic("switch0"), HYX_OK);

   /* Static entries are refused while the switch does not allow them. */
   unsigned char e[103] = {0x02, 0xee, 0, 0, 0, 1, VS_MAC_ADDR_TYPE_USER};
   auto const *records = reinterpret_cast<VSMACEntry const *>(e);
   CHECK_EQ(VSDVS_SetStaticMACAllow("switch0", 0), HYX_OK);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 1, records), HYX_NO_PERMISSION);
   CHECK_EQ(VSDVS_ClearStaticMACAllow("switch0"), HYX_OK);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 1, records), HYX_OK);

   /* Without team learning the team side reports no learned entries. */
   CHECK_EQ(VSDVS_SetTeamMacLearning("switch0", 0), HYX_OK);
   CHECK_EQ(VSHYX_GetTeamMACTable("switch0", VS_MAC_ADDR_TYPE_LEARNED, &table), HYX_OK);
   CHECK(table != nullptr && at<uint32_t>(table, 4) == 0);
   VSHYX_FreeMemory(table);
   VSMACLearningSwitchInfo info = switchInfo("switch0");
   CHECK(at<uint32_t>(&info, 16) == 0 && at<char>(&info, 20) == 0 && at<char>(&info, 80) == 0);
   CHECK_EQ(VSDVS_ClearTeamMacLearning("switch0"), HYX_OK);
   CHECK_EQ(infoAt<uint32_t>("switch0", 16), 7);

   /* Cache figures count only while caching is on. */
   VSPMACLearningStatsPortInfo stats;
   CHECK_EQ(VSHYX_GetPortMACLearningStats("dswitch0", "prod-db-01.eth0", &stats), HYX_OK);
   CHECK(at<uint64_t>(&stats, 36) == 0 && at<uint64_t>(&stats, 44) == 0);
   CHECK_EQ(VSDVS_SetCaching("dswitch0", 1), HYX_OK);
   CHECK_EQ(infoAt<char>("dswitch0", 78), 1);
   CHECK_EQ(VSHYX_GetPortMACLearningStats("dswitch0", "prod-db-01.eth0", &stats), HYX_OK);
   CHECK(at<uint64_t>(&stats, 36) > 0 && at<uint64_t>(&stats, 44) > 0);
   CHECK_EQ(at<uint32_t>(&stats, 0), portId("dswitch0", "prod-db-01.eth0"));
   CHECK_EQ(at<uint32_t>(&stats, 8), 3);
   CHECK_EQ(VSDVS_ClearCaching("dswitch0"), HYX_OK);
   CHECK_EQ(infoAt<char>("dswitch0", 78), 0);
   tessel_sim_reset();
}

/* Per-port learning and security: stored, reported in the switch-wide
 * tables, and applied to the port's entries. */
void testPortSettings() {
   uint32_t const web = portId("switch0", "web-01.eth0");
   unsigned char cfg[10];
   CHECK_EQ(
       VSDVS_GetPortMACLearning("switch0", "web-01.eth0", reinterpret_cast<VSPMACLearning *>(cfg)),
       HYX_OK);
   CHECK(cfg[0] == 1 && cfg[1] == 1 && at<uint32_t>(cfg, 2) == 4096 && at<int32_t>(cfg, 6) == 0);

   unsigned char const off[10] = {0, 1, 2, 0, 0, 0, 1, 0, 0, 0};
   auto const *offCfg = reinterpret_cast<VSPMACLearning const *>(off);
   CHECK_EQ(portEntries("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_LEARNED), 2);
   CHECK_EQ(VSDVS_SetPortMACLearning("switch0", std::to_string(web).c_str(), offCfg), HYX_OK);
   CHECK_EQ(portEntries("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_LEARNED), 0);
   CHECK_EQ(portEntries("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_STATIC), 1);
   VSMACLearningSwitchInfo info = switchInfo("switch0");
   CHECK(at<uint32_t>(&info, 8) == 3 && at<uint32_t>(&info, 12) == 1);

   VSMACLearningEntries *all = nullptr;
   CHECK_EQ(VSHYX_GetMACLearningAllPorts("switch0", &all), HYX_OK);
   if (all != nullptr) {
      auto const byPort = elements(all, 14);
      CHECK_EQ(byPort.size(), 6);
      CHECK(byPort.count(web) && memcmp(byPort.at(web).data() + 4, off, 10) == 0);
      VSHYX_FreeMemory(all);
   }
   VSMACLearningStats *stats = nullptr;
   CHECK_EQ(VSHYX_GetSwitchMACLearningStats("switch0", &stats), HYX_OK);
   if (stats != nullptr) {
      auto const byPort = elements(stats, 52);
      CHECK_EQ(byPort.size(), 6);
      for (auto const &port : byPort) {
         VSPMACLearningStatsPortInfo one;
         CHECK_EQ(
             VSHYX_GetPortMACLearningStats("switch0", std::to_string(port.first).c_str(), &one),
             HYX_OK);
         CHECK(memcmp(&one, port.second.data(), 52) == 0);
      }
      CHECK(byPort.count(web) && at<uint32_t>(byPort.at(web).data(), 8) == 0);
      VSHYX_FreeMemory(stats);
   }

   unsigned char bad[10];
   memcpy(bad, off, sizeof bad);
   bad[0] = 2;
   CHECK_EQ(
       VSDVS_SetPortMACLearning("switch0", "hostport0", reinterpret_cast<VSPMACLearning *>(bad)),
       HYX_BAD_PARAM);
   memcpy(bad, off, sizeof bad);
   check::put<int32_t>(bad, 6, 2);
   CHECK_EQ(
       VSDVS_SetPortMACLearning("switch0", "hostport0", reinterpret_cast<VSPMACLearning *>(bad)),
       HYX_BAD_PARAM);
   memcpy(bad, off, sizeof bad);
   check::put<uint32_t>(bad, 2, 4097);
   CHECK_EQ(
       VSDVS_SetPortMACLearning("switch0", "hostport0", reinterpret_cast<VSPMACLearning *>(bad)),
       HYX_LIMIT_EXCEEDED);
   CHECK_EQ(
       VSDVS_GetPortMACLearning("switch0", "hostport0", reinterpret_cast<VSPMACLearning *>(cfg)),
       HYX_OK);
   CHECK_EQ(cfg[0], 1);

   /* A port at its MAC limit counts as one that hit it. */
   unsigned char limited[10] = {1, 1, 1, 0, 0, 0, 1, 0, 0, 0};
   CHECK_EQ(VSDVS_SetPortMACLearning("switch0", "db-01.eth0",
                                     reinterpret_cast<VSPMACLearning *>(limited)),
            HYX_OK);
   CHECK_EQ(infoAt<uint32_t>("switch0", 66), 1);

   VSPropSecurity sec;
   CHECK_EQ(VSDVS_GetPortSecurity("dswitch0", "svm-guard.eth0", &sec), HYX_OK);
   CHECK_EQ(sec.flags, 0);
   sec.flags = VSPORT_SECURITY_DISALLOW_FORGED_SRC;
   CHECK_EQ(VSDVS_SetPortSecurity("dswitch0", "svm-guard.eth0", &sec), HYX_OK);
   sec.flags = 8;
   CHECK_EQ(VSDVS_SetPortSecurity("dswitch0", "svm-guard.eth0", &sec), HYX_BAD_PARAM);
   VSL2Security *l2 = nullptr;
   CHECK_EQ(VSHYX_GetL2Security("dswitch0", &l2), HYX_OK);
   if (l2 != nullptr) {
      auto const byPort = elements(l2, 8);
      CHECK_EQ(byPort.size(), 17);
      uint32_t const svm = portId("dswitch0", "svm-guard.eth0");
      for (auto const &port : byPort) {
         uint32_t const flags = at<uint32_t>(port.second.data(), 4);
         CHECK_EQ(flags, port.first == svm ? VSPORT_SECURITY_DISALLOW_FORGED_SRC : 7);
      }
      VSHYX_FreeMemory(l2);
   }
   tessel_sim_reset();
   CHECK_EQ(VSDVS_GetPortSecurity("dswitch0", "svm-guard.eth0", &sec), HYX_OK);
   CHECK_EQ(sec.flags, 0);
   CHECK_EQ(portEntries("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_LEARNED), 2);
}

/* NULL records, unknown switches and ports: a status, nothing handed out. */
void testBadArguments() {
   long const blocks = tessel_sim_outstanding_blocks();
   VSMACLearningEntries *entries = reinterpret_cast<VSMACLearningEntries *>(0x1234);
   VSMACLearningStats *stats = reinterpret_cast<VSMACLearningStats *>(0x1234);
   VSL2Security *l2 = reinterpret_cast<VSL2Security *>(0x1234);
   for (char const *sw : {static_cast<char const *>(nullptr), "", "nope", "dvs-prod"}) {
      HYX_ReturnStatus const expected = sw == nullptr ? HYX_BAD_PARAM : HYX_NOT_FOUND;
      CHECK_EQ(VSHYX_GetMACLearningAllPorts(sw, &entries), expected);
      CHECK_EQ(VSHYX_GetSwitchMACLearningStats(sw, &stats), expected);
      CHECK_EQ(VSHYX_GetL2Security(sw, &l2), expected);
      VSMACLearningSwitchInfo info;
      CHECK_EQ(VSHYX_GetSwitchMACLearningInfo(sw, &info), expected);
      CHECK_EQ(setSwitchProp(sw, 600, 1000), expected);
      CHECK_EQ(VSDVS_ClearMACLearning(sw), expected);
      CHECK_EQ(VSDVS_SetLearnStatic(sw, 1), expected);
      CHECK_EQ(VSDVS_ClearLearnStatic(sw), expected);
      CHECK_EQ(VSDVS_SetStaticMACAllow(sw, 1), expected);
      CHECK_EQ(VSDVS_ClearStaticMACAllow(sw), expected);
      CHECK_EQ(VSDVS_SetTeamMacLearning(sw, 1), expected);
      CHECK_EQ(VSDVS_ClearTeamMacLearning(sw), expected);
      CHECK_EQ(VSDVS_SetCaching(sw, 1), expected);
      CHECK_EQ(VSDVS_ClearCaching(sw), expected);
      hyx_Bool flag = 9;
      CHECK_EQ(VSDVS_GetLearnStatic(sw, &flag), expected);
      CHECK_EQ(VSDVS_GetStaticMACAllow(sw, &flag), expected);
      CHECK_EQ(flag, 9);
   }
   CHECK(entries == reinterpret_cast<VSMACLearningEntries *>(0x1234));
   CHECK(stats == reinterpret_cast<VSMACLearningStats *>(0x1234));
   CHECK(l2 == reinterpret_cast<VSL2Security *>(0x1234));
   CHECK_EQ(VSHYX_GetMACLearningAllPorts("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetSwitchMACLearningStats("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetL2Security("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetSwitchMACLearningInfo("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetGlobalMACLearningProps(nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetMACLearning("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_SetMACLearning("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetLearnStatic("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetStaticMACAllow("switch0", nullptr), HYX_BAD_PARAM);

   VSPMACLearning cfg;
   VSPropSecurity sec;
   VSPMACLearningStatsPortInfo portStats;
   memset(&portStats, 0x11, sizeof portStats);
   for (char const *port : {static_cast<char const *>(nullptr), "", "hostport9", "2"}) {
      HYX_ReturnStatus const expected = port == nullptr ? HYX_BAD_PARAM : HYX_NOT_FOUND;
      CHECK_EQ(VSDVS_GetPortMACLearning("switch0", port, &cfg), expected);
      CHECK_EQ(VSDVS_GetPortSecurity("switch0", port, &sec), expected);
      CHECK_EQ(VSHYX_GetPortMACLearningStats("switch0", port, &portStats), expected);
   }
   CHECK(at<uint32_t>(&portStats, 0) == 0x11111111);
   CHECK_EQ(VSDVS_GetPortMACLearning("switch0", "hostport0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_SetPortMACLearning("switch0", "hostport0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetPortSecurity("switch0", "hostport0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_SetPortSecurity("switch0", "hostport0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetPortMACLearningStats("switch0", "hostport0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetPortSecurity("switch0", std::string(1040, 'x').c_str(), &sec),
            HYX_NAME_TOO_LONG);
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

} // namespace

int main() {
   testDefaults();
   testSwitchAndHostSettings();
   testLimits();
   testSettingsReachTheViews();
   testPortSettings();
   testBadArguments();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("learning_test");
}
