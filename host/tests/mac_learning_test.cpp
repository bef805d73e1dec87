/* MAC learning and layer-2 security of the simulated libtessel.so beyond
 * what the module's tests see: the switch summary's counts, a switch's own
 * settings against the host-wide ones, the published limits, the cache
 * figures, and the status of NULL records and unknown names for every
 * function. */
#include <string.h>

#include <string>

#include "check.h"
#include "hostapi/mac.h"
#include "hostapi/status.h"

namespace {

using check::at;

/* The aging time (bits 0 to 23 of the first word) and MAC limit of a switch. */
std::pair<uint32_t, uint32_t> switchProp(char const *sw) {
   unsigned char raw[8];
   memset(raw, 0xEE, sizeof raw);
   CHECK_EQ(VSDVS_GetMACLearning(sw, reinterpret_cast<VSPropMACLearning *>(raw)), HYX_OK);
   CHECK_EQ(at<uint32_t>(raw, 0) >> 24, 0);
   return {at<uint32_t>(raw, 0) & 0xFFFFFF, at<uint32_t>(raw, 4)};
}

HYX_ReturnStatus setSwitchProp(char const *sw, uint32_t word0, uint32_t macLimit) {
   unsigned char raw[8];
   check::put<uint32_t>(raw, 0, word0);
   check::put<uint32_t>(raw, 4, macLimit);
   return VSDVS_SetMACLearning(sw, reinterpret_cast<VSPropMACLearning const *>(raw));
}

HYX_ReturnStatus setHostProps(uint32_t agingTime, uint32_t macLimit, unsigned char learnStatic,
                              unsigned char staticAllow) {
   unsigned char raw[10];
   check::put<uint32_t>(raw, 0, agingTime);
   check::put<uint32_t>(raw, 4, macLimit);
   raw[8] = learnStatic;
   raw[9] = staticAllow;
   return VSHYX_SetGlobalMACLearningProps(reinterpret_cast<VSMACLearningGlobalProps *>(raw));
}

VSMACLearningSwitchInfo switchInfo(char const *sw) {
   VSMACLearningSwitchInfo info;
   memset(&info, 0xEE, sizeof info);
   CHECK_EQ(VSHYX_GetSwitchMACLearningInfo(sw, &info), HYX_OK);
   return info;
}

#define INFO(info, field)                                                                          \
   at<decltype(VSMACLearningSwitchInfo::field)>(&(info), offsetof(VSMACLearningSwitchInfo, field))

/* The summary counts learning ports, the entries they and the team side
 * learned, ports at their limit, sink ports and unicast user entries. */
void testSummaryCounts() {
   VSMACLearningSwitchInfo info = switchInfo("switch0");
   CHECK_EQ(INFO(info, numLearningPorts), 4);
   CHECK_EQ(INFO(info, numMACsLearned), 3);
   CHECK_EQ(INFO(info, teamNumMACsLearned), 7);
   CHECK_EQ(INFO(info, noOfPortsMACLimitHit), 0);
   CHECK_EQ(INFO(info, teamMACLearning.macLimit), TEAM_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT);
   info = switchInfo("dswitch0");
   CHECK_EQ(INFO(info, numSinkPorts), 1);
   CHECK_EQ(INFO(info, numSinkAndFloodingPorts), 1);
   CHECK_EQ(INFO(info, numUserUnicastMacEntries), 2);

   /* A port that stops learning leaves the counts; one at its limit hits it. */
   unsigned char const off[10] = {0, 1, 2, 0, 0, 0, 1, 0, 0, 0};
   unsigned char const full[10] = {1, 1, 1, 0, 0, 0, 1, 0, 0, 0};
   CHECK_EQ(VSDVS_SetPortMACLearning("switch0", "web-01.eth0",
                                     reinterpret_cast<VSPMACLearning const *>(off)),
            HYX_OK);
   CHECK_EQ(VSDVS_SetPortMACLearning("switch0", "db-01.eth0",
                                     reinterpret_cast<VSPMACLearning const *>(full)),
            HYX_OK);
   info = switchInfo("switch0");
   CHECK_EQ(INFO(info, numLearningPorts), 3);
   CHECK_EQ(INFO(info, numMACsLearned), 1);
   CHECK_EQ(INFO(info, noOfPortsMACLimitHit), 1);
   tessel_sim_reset();
}

/* A switch's own setting wins over the host-wide one; clearing it brings the
 * host-wide value back, and a scaled switch gives its team side more room. */
void testSwitchAndHostSettings() {
   CHECK_EQ(setSwitchProp("switch1", 300, 1000), HYX_OK);
   CHECK_EQ(setHostProps(900, 2000, 1, 0), HYX_OK);
   CHECK(switchProp("switch1") == std::make_pair(300u, 1000u));
   CHECK(switchProp("switch0") == std::make_pair(900u, 2000u));
   hyx_Bool flag = 9;
   CHECK(VSDVS_GetStaticMACAllow("switch0", &flag) == HYX_OK && flag == 0);
   CHECK_EQ(VSDVS_ClearMACLearning("switch1"), HYX_OK);
   CHECK(switchProp("switch1") == std::make_pair(900u, 2000u));
   CHECK_EQ(setSwitchProp("switch1", 1000000, 131072), HYX_OK);
   VSMACLearningSwitchInfo const info = switchInfo("switch1");
   CHECK_EQ(INFO(info, teamMACLearning.macLimit), TEAM_MAC_LEARNING_LIMIT_ENTRIES_SCALED);
   tessel_sim_reset();
   CHECK(switchProp("switch1") == std::make_pair(600u, 65536u));
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
   };
   for (auto const &c : cases) {
      CHECK_EQ(setSwitchProp("dswitch1", c.word0, c.macLimit), c.status);
      if ((c.word0 >> 24) == 0)
         CHECK_EQ(setHostProps(c.word0, c.macLimit, 0, 1), c.status);
   }
   CHECK_EQ(setHostProps(600, 65536, 2, 1), HYX_BAD_PARAM);
   CHECK_EQ(setHostProps(600, 65536, 0, '1'), HYX_BAD_PARAM);
   CHECK(switchProp("dswitch1") == std::make_pair(600u, 65536u));
   CHECK_EQ(setHostProps(600, 65536, 0, 1), HYX_OK);
   for (unsigned char bad : {2u, unsigned('1'), 0xFFu}) {
      hyx_Bool const value = static_cast<hyx_Bool>(bad);
      CHECK_EQ(VSDVS_SetLearnStatic("switch0", value), HYX_BAD_PARAM);
      CHECK_EQ(VSDVS_SetStaticMACAllow("switch0", value), HYX_BAD_PARAM);
      CHECK_EQ(VSDVS_SetTeamMacLearning("switch0", value), HYX_BAD_PARAM);
   }
   unsigned char cfg[10] = {1, 1, 0, 0, 0, 0, 2, 0, 0, 0};
   auto const *portCfg = reinterpret_cast<VSPMACLearning const *>(cfg);
   CHECK_EQ(VSDVS_SetPortMACLearning("switch0", "hostport0", portCfg), HYX_BAD_PARAM);
   cfg[6] = 0;
   check::put<uint32_t>(cfg, 2, 4097);
   CHECK_EQ(VSDVS_SetPortMACLearning("switch0", "hostport0", portCfg), HYX_LIMIT_EXCEEDED);
   VSPropSecurity sec = {8};
   CHECK_EQ(VSDVS_SetPortSecurity("switch0", "hostport0", &sec), HYX_BAD_PARAM);
   tessel_sim_reset();
}

/* Cache figures count only while the switch caches learning results. */
void testCacheFigures() {
   VSPMACLearningStatsPortInfo stats;
   CHECK_EQ(VSHYX_GetPortMACLearningStats("dswitch0", "prod-db-01.eth0", &stats), HYX_OK);
   CHECK(stats.cacheStats.cacheSrcMlStats == 0 && stats.cacheStats.cacheDstStats == 0);
   CHECK_EQ(VSDVS_SetCaching("dswitch0", 1), HYX_OK);
   CHECK_EQ(VSHYX_GetPortMACLearningStats("dswitch0", "prod-db-01.eth0", &stats), HYX_OK);
   CHECK(stats.cacheStats.cacheSrcMlStats > 0 && stats.cacheStats.cacheDstStats > 0);
   CHECK_EQ(VSDVS_ClearCaching("dswitch0"), HYX_OK);
   CHECK_EQ(VSHYX_GetPortMACLearningStats("dswitch0", "prod-db-01.eth0", &stats), HYX_OK);
   CHECK_EQ(stats.cacheStats.cacheSrcMlStats, 0);
}

/* NULL records, unknown switches and ports: a status, nothing handed out or
 * written. */
void testBadArguments() {
   long const blocks = tessel_sim_outstanding_blocks();
   void *const sentinel = reinterpret_cast<void *>(0x1234);
   auto *entries = static_cast<VSMACLearningEntries *>(sentinel);
   auto *stats = static_cast<VSMACLearningStats *>(sentinel);
   auto *l2 = static_cast<VSL2Security *>(sentinel);
   for (char const *sw : {static_cast<char const *>(nullptr), "", "nope", "dvs-prod"}) {
      HYX_ReturnStatus const expected = sw == nullptr ? HYX_BAD_PARAM : HYX_NOT_FOUND;
      VSMACLearningSwitchInfo info;
      hyx_Bool flag = 9;
      HYX_ReturnStatus const got[] = {VSHYX_GetMACLearningAllPorts(sw, &entries),
                                      VSHYX_GetSwitchMACLearningStats(sw, &stats),
                                      VSHYX_GetL2Security(sw, &l2),
                                      VSHYX_GetSwitchMACLearningInfo(sw, &info),
                                      setSwitchProp(sw, 600, 1000),
                                      VSDVS_ClearMACLearning(sw),
                                      VSDVS_SetLearnStatic(sw, 1),
                                      VSDVS_ClearLearnStatic(sw),
                                      VSDVS_SetStaticMACAllow(sw, 1),
                                      VSDVS_ClearStaticMACAllow(sw),
                                      VSDVS_SetTeamMacLearning(sw, 1),
                                      VSDVS_ClearTeamMacLearning(sw),
                                      VSDVS_SetCaching(sw, 1),
                                      VSDVS_ClearCaching(sw),
                                      VSDVS_GetLearnStatic(sw, &flag),
                                      VSDVS_GetStaticMACAllow(sw, &flag)};
      for (HYX_ReturnStatus status : got)
         CHECK_EQ(status, expected);
      CHECK_EQ(flag, 9);
   }
   CHECK(entries == sentinel && stats == sentinel && l2 == sentinel);
   HYX_ReturnStatus const nullRecords[] = {
       VSHYX_GetMACLearningAllPorts("switch0", nullptr),
       VSHYX_GetSwitchMACLearningStats("switch0", nullptr),
       VSHYX_GetL2Security("switch0", nullptr),
       VSHYX_GetSwitchMACLearningInfo("switch0", nullptr),
       VSHYX_GetGlobalMACLearningProps(nullptr),
       VSHYX_SetGlobalMACLearningProps(nullptr),
       VSDVS_GetMACLearning("switch0", nullptr),
       VSDVS_SetMACLearning("switch0", nullptr),
       VSDVS_GetLearnStatic("switch0", nullptr),
       VSDVS_GetStaticMACAllow("switch0", nullptr),
       VSDVS_GetPortMACLearning("switch0", "hostport0", nullptr),
       VSDVS_SetPortMACLearning("switch0", "hostport0", nullptr),
       VSDVS_GetPortSecurity("switch0", "hostport0", nullptr),
       VSDVS_SetPortSecurity("switch0", "hostport0", nullptr),
       VSHYX_GetPortMACLearningStats("switch0", "hostport0", nullptr)};
   for (HYX_ReturnStatus status : nullRecords)
      CHECK_EQ(status, HYX_BAD_PARAM);

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
   CHECK(check::allBytes(&portStats, sizeof portStats, 0x11));
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

} // namespace

int main() {
   testSummaryCounts();
   testSwitchAndHostSettings();
   testLimits();
   testCacheFigures();
   testBadArguments();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("mac_learning_test");
}
