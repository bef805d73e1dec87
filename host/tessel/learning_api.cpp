/* The exported MAC-learning and layer-2 security functions of libtessel.so:
 * the live views (VSHYX_*) and the switch and port configuration (VSDVS_*).
 *
 * Limits: an aging time must be 1..VS_MAC_LEARNING_AGING_TIME_MAX and a
 * switch MAC limit 1..VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED, a port MAC limit
 * 0..VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX; a value above its maximum gives
 * HYX_LIMIT_EXCEEDED, a zero where one is not allowed, a truth value other
 * than 0 or 1, an unknown policy, security bit or reserved bit gives
 * HYX_BAD_PARAM.  A rejected setting changes nothing. */
#include <string.h>

#include "api_support.h"
#include "hostapi/mac.h"

namespace tessel {
namespace {

HYX_ReturnStatus checkAgingTime(uint32_t agingTime) {
   if (agingTime == 0)
      return HYX_BAD_PARAM;
   return agingTime > VS_MAC_LEARNING_AGING_TIME_MAX ? HYX_LIMIT_EXCEEDED : HYX_OK;
}

HYX_ReturnStatus checkSwitchMacLimit(uint32_t macLimit) {
   if (macLimit == 0)
      return HYX_BAD_PARAM;
   return macLimit > VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED ? HYX_LIMIT_EXCEEDED : HYX_OK;
}

/* The aging time and MAC limit of a switch or of the whole host. */
HYX_ReturnStatus checkLearningLimits(uint32_t agingTime, uint32_t macLimit) {
   HYX_ReturnStatus status = checkAgingTime(agingTime);
   return status == HYX_OK ? checkSwitchMacLimit(macLimit) : status;
}

/* The team side may hold more entries once the switch is scaled up. */
uint32_t teamMacLimit(uint32_t switchMacLimit) {
   return switchMacLimit > VS_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT
              ? TEAM_MAC_LEARNING_LIMIT_ENTRIES_SCALED
              : TEAM_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT;
}

VSPMACLearning portLearning(Port const &p) {
   VSPMACLearning cfg;
   memset(&cfg, 0, sizeof cfg);
   cfg.learning = p.learning ? 1 : 0;
   cfg.flooding = p.flooding ? 1 : 0;
   cfg.macLimit = p.macLimit;
   cfg.macLimitPolicy = static_cast<VSPortMACLearningLimitPolicy>(p.macLimitPolicy);
   return cfg;
}

VSPMACLearningStats learningStats(VirtualSwitch const &sw, Port const &p) {
   VSPMACLearningStats st;
   memset(&st, 0, sizeof st);
   st.numMACsLearned = sw.learnedOn(p);
   st.noLearningAllowedPkts = p.noLearningAllowedPkts;
   st.noLearningDroppedPkts = p.noLearningDroppedPkts;
   st.numMACsMoved = p.macsMoved;
   return st;
}

/* Writes the 52-byte statistics element of port p at dst.  Cache figures
 * count only while the switch caches learning results. */
void fillPortStats(VirtualSwitch const &sw, Port const &p, unsigned char *dst) {
   memset(dst, 0, sizeof(VSPMACLearningStatsPortInfo));
   putAt<hyx_SwitchPortID>(dst, offsetof(VSPMACLearningStatsPortInfo, portID), p.id);
   putAt<hyx_uint32>(dst, offsetof(VSPMACLearningStatsPortInfo, unicastRPFDroppedPkts),
                     p.unicastRpfDroppedPkts);
   putAt(dst, offsetof(VSPMACLearningStatsPortInfo, portStats), learningStats(sw, p));
   VSPCacheStatsInfo cache;
   memset(&cache, 0, sizeof cache);
   if (sw.overlayCaching) {
      cache.cacheSrcMlStats = p.cacheSrcHits;
      cache.cacheDstStats = p.cacheDstHits;
   }
   putAt(dst, offsetof(VSPMACLearningStatsPortInfo, cacheStats), cache);
}

/* Puts a switch setting back: value is std::nullopt for a setting that falls
 * back to the host-wide one, or the setting's default. */
template <typename Slot, typename Value>
HYX_ReturnStatus resetSetting(char const *switchName, Slot slot, Value value) {
   return withSwitch(switchName, [&](VirtualSwitch &sw) {
      slot(sw) = value;
      return HYX_OK;
   });
}

/* Stores a truth value the caller passed in slot. */
template <typename Slot>
HYX_ReturnStatus setFlag(char const *switchName, hyx_Bool value, Slot slot) {
   bool flag = false;
   if (!readBool(value, flag))
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](VirtualSwitch &sw) {
      slot(sw) = flag;
      return HYX_OK;
   });
}

/* ---- Live state ---- */

HYX_ReturnStatus getGlobalProps(VSMACLearningGlobalProps *props) noexcept {
   if (props == nullptr)
      return HYX_BAD_PARAM;
   GlobalLearning const &global = SwitchModel::instance().global();
   VSMACLearningGlobalProps out;
   memset(&out, 0, sizeof out);
   out.agingTime = global.agingTime;
   out.macLimit = global.macLimit;
   out.learnStatic = global.learnStatic ? 1 : 0;
   out.staticMACAllow = global.staticMacAllow ? 1 : 0;
   memcpy(props, &out, sizeof out);
   return HYX_OK;
}

HYX_ReturnStatus setGlobalProps(VSMACLearningGlobalProps const *props) noexcept {
   if (props == nullptr)
      return HYX_BAD_PARAM;
   VSMACLearningGlobalProps in;
   memcpy(&in, props, sizeof in);
   GlobalLearning next;
   if (!readBool(in.learnStatic, next.learnStatic) ||
       !readBool(in.staticMACAllow, next.staticMacAllow))
      return HYX_BAD_PARAM;
   HYX_ReturnStatus status = checkLearningLimits(in.agingTime, in.macLimit);
   if (status != HYX_OK)
      return status;
   next.agingTime = in.agingTime;
   next.macLimit = in.macLimit;
   SwitchModel::instance().global() = next;
   return HYX_OK;
}

HYX_ReturnStatus getSwitchLearningInfo(char const *switchName,
                                       VSMACLearningSwitchInfo *info) noexcept {
   if (info == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](VirtualSwitch &sw) {
      SwitchModel const &model = SwitchModel::instance();
      uint32_t const macLimit = macLimitOf(model, sw);
      VSMACLearningSwitchInfo out;
      memset(&out, 0, sizeof out);
      out.agingTime = agingTimeOf(model, sw);
      out.macLimit = macLimit;

      VSPMACLearningStats team;
      memset(&team, 0, sizeof team);
      uint64_t teamAllowed = 0;
      for (auto const &p : sw.ports) {
         uint32_t const learned = sw.learnedOn(p);
         if (p.team()) {
            team.numMACsLearned += learned;
            team.noLearningAllowedPkts += p.noLearningAllowedPkts;
            team.noLearningDroppedPkts += p.noLearningDroppedPkts;
            team.numMACsMoved += p.macsMoved;
            teamAllowed += p.allowedPktsWithPortLimit;
         } else if (p.learning) {
            ++out.numLearningPorts;
            out.numMACsLearned += learned;
            if (learned >= p.macLimit)
               ++out.noOfPortsMACLimitHit;
         }
         if (p.sink) {
            ++out.numSinkPorts;
            if (p.flooding)
               ++out.numSinkAndFloodingPorts;
         }
      }
      out.teamNumMACsLearned = team.numMACsLearned;
      VSPMACLearning teamCfg;
      memset(&teamCfg, 0, sizeof teamCfg);
      teamCfg.learning = sw.teamLearning ? 1 : 0;
      teamCfg.flooding = 1;
      teamCfg.macLimit = teamMacLimit(macLimit);
      teamCfg.macLimitPolicy = VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW;
      putAt(&out, offsetof(VSMACLearningSwitchInfo, teamMACLearning), teamCfg);
      putAt(&out, offsetof(VSMACLearningSwitchInfo, teamMACLearningStats), team);
      out.teamAllowedPktsWithPortLimit = teamAllowed;
      out.cachingMlOverlayEnabled = sw.overlayCaching ? 1 : 0;
      size_t const userUnicast = sw.macs.userUnicast();
      out.numUserUnicastMacEntries = static_cast<hyx_uint8>(userUnicast > 255 ? 255 : userUnicast);
      out.configureTeamMacLearning = sw.teamLearning ? 1 : 0;
      out.agingMultiplier = VS_MAC_LEARNING_MAX_AGING_MULTIPLIER_DEFAULT;
      memcpy(info, &out, sizeof out);
      return HYX_OK;
   });
}

HYX_ReturnStatus getLearningAllPorts(char const *switchName,
                                     VSMACLearningEntries **table) noexcept {
   return handOutPortTable(
       switchName, sizeof(VSPMACLearningInfo),
       [](VirtualSwitch const &, Port const &p, unsigned char *dst) {
          putAt<hyx_SwitchPortID>(dst, offsetof(VSPMACLearningInfo, portID), p.id);
          putAt(dst, offsetof(VSPMACLearningInfo, portMACLearning), portLearning(p));
       },
       table);
}

HYX_ReturnStatus getSwitchLearningStats(char const *switchName,
                                        VSMACLearningStats **table) noexcept {
   return handOutPortTable(switchName, sizeof(VSPMACLearningStatsPortInfo), fillPortStats, table);
}

HYX_ReturnStatus getPortLearningStats(char const *switchName, char const *portName,
                                      VSPMACLearningStatsPortInfo *stats) noexcept {
   if (stats == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](VirtualSwitch &sw, Port &port) {
      fillPortStats(sw, port, reinterpret_cast<unsigned char *>(stats));
      return HYX_OK;
   });
}

HYX_ReturnStatus getL2Security(char const *switchName, VSL2Security **table) noexcept {
   return handOutPortTable(
       switchName, sizeof(VSPropSecurityPortInfo),
       [](VirtualSwitch const &, Port const &p, unsigned char *dst) {
          putAt<hyx_SwitchPortID>(dst, offsetof(VSPropSecurityPortInfo, portID), p.id);
          putAt<hyx_uint32>(dst, offsetof(VSPropSecurityPortInfo, l2SecPortInfo), p.securityFlags);
       },
       table);
}

/* ---- Configuration ---- */

HYX_ReturnStatus getMACLearning(char const *switchName, VSPropMACLearning *prop) noexcept {
   if (prop == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](VirtualSwitch &sw) {
      SwitchModel const &model = SwitchModel::instance();
      VSPropMACLearning out;
      memset(&out, 0, sizeof out);
      out.agingTime = agingTimeOf(model, sw) & 0xFFFFFFu;
      out.macLimit = macLimitOf(model, sw);
      memcpy(prop, &out, sizeof out);
      return HYX_OK;
   });
}

HYX_ReturnStatus setMACLearning(char const *switchName, VSPropMACLearning const *prop) noexcept {
   if (prop == nullptr)
      return HYX_BAD_PARAM;
   VSPropMACLearning in;
   memcpy(&in, prop, sizeof in);
   if (in.reserved != 0)
      return HYX_BAD_PARAM;
   uint32_t const agingTime = in.agingTime;
   uint32_t const macLimit = in.macLimit;
   HYX_ReturnStatus status = checkLearningLimits(agingTime, macLimit);
   if (status != HYX_OK)
      return status;
   return withSwitch(switchName, [&](VirtualSwitch &sw) {
      sw.agingTime = agingTime;
      sw.macLimit = macLimit;
      return HYX_OK;
   });
}

HYX_ReturnStatus clearMACLearning(char const *switchName) noexcept {
   return withSwitch(switchName, [](VirtualSwitch &sw) {
      sw.agingTime.reset();
      sw.macLimit.reset();
      return HYX_OK;
   });
}

HYX_ReturnStatus getLearnStatic(char const *switchName, hyx_Bool *learnStatic) noexcept {
   if (learnStatic == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](VirtualSwitch &sw) {
      *learnStatic = learnStaticOf(SwitchModel::instance(), sw) ? 1 : 0;
      return HYX_OK;
   });
}

HYX_ReturnStatus getStaticMACAllow(char const *switchName, hyx_Bool *staticMACAllow) noexcept {
   if (staticMACAllow == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](VirtualSwitch &sw) {
      *staticMACAllow = staticMacAllowOf(SwitchModel::instance(), sw) ? 1 : 0;
      return HYX_OK;
   });
}

HYX_ReturnStatus getPortMACLearning(char const *switchName, char const *portName,
                                    VSPMACLearning *cfg) noexcept {
   if (cfg == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](VirtualSwitch &, Port &port) {
      VSPMACLearning out = portLearning(port);
      memcpy(cfg, &out, sizeof out);
      return HYX_OK;
   });
}

HYX_ReturnStatus setPortMACLearning(char const *switchName, char const *portName,
                                    VSPMACLearning const *cfg) noexcept {
   if (cfg == nullptr)
      return HYX_BAD_PARAM;
   bool learning = false, flooding = false;
   auto const macLimit = getAt<hyx_uint32>(cfg, offsetof(VSPMACLearning, macLimit));
   auto const policy = getAt<int32_t>(cfg, offsetof(VSPMACLearning, macLimitPolicy));
   if (!readBool(getAt<hyx_Bool>(cfg, offsetof(VSPMACLearning, learning)), learning) ||
       !readBool(getAt<hyx_Bool>(cfg, offsetof(VSPMACLearning, flooding)), flooding) ||
       (policy != VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW &&
        policy != VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP))
      return HYX_BAD_PARAM;
   if (macLimit > VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX)
      return HYX_LIMIT_EXCEEDED;
   return withPort(switchName, portName, [&](VirtualSwitch &, Port &port) {
      port.learning = learning;
      port.flooding = flooding;
      port.macLimit = macLimit;
      port.macLimitPolicy = policy;
      return HYX_OK;
   });
}

HYX_ReturnStatus getPortSecurity(char const *switchName, char const *portName,
                                 VSPropSecurity *sec) noexcept {
   if (sec == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](VirtualSwitch &, Port &port) {
      putAt<hyx_uint32>(sec, offsetof(VSPropSecurity, flags), port.securityFlags);
      return HYX_OK;
   });
}

HYX_ReturnStatus setPortSecurity(char const *switchName, char const *portName,
                                 VSPropSecurity const *sec) noexcept {
   if (sec == nullptr)
      return HYX_BAD_PARAM;
   auto const flags = getAt<hyx_uint32>(sec, offsetof(VSPropSecurity, flags));
   if ((flags & ~kSecurityFlagsAll) != 0)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](VirtualSwitch &, Port &port) {
      port.securityFlags = flags;
      return HYX_OK;
   });
}

HYX_ReturnStatus setLearnStatic(char const *switchName, hyx_Bool value) noexcept {
   return setFlag(switchName, value,
                  [](VirtualSwitch &sw) -> std::optional<bool> & { return sw.learnStatic; });
}

HYX_ReturnStatus clearLearnStatic(char const *switchName) noexcept {
   return resetSetting(
       switchName, [](VirtualSwitch &sw) -> std::optional<bool> & { return sw.learnStatic; },
       std::nullopt);
}

HYX_ReturnStatus setStaticMACAllow(char const *switchName, hyx_Bool value) noexcept {
   return setFlag(switchName, value,
                  [](VirtualSwitch &sw) -> std::optional<bool> & { return sw.staticMacAllow; });
}

HYX_ReturnStatus clearStaticMACAllow(char const *switchName) noexcept {
   return resetSetting(
       switchName, [](VirtualSwitch &sw) -> std::optional<bool> & { return sw.staticMacAllow; },
       std::nullopt);
}

HYX_ReturnStatus setTeamLearning(char const *switchName, hyx_Bool value) noexcept {
   return setFlag(switchName, value, [](VirtualSwitch &sw) -> bool & { return sw.teamLearning; });
}

HYX_ReturnStatus clearTeamLearning(char const *switchName) noexcept {
   return resetSetting(
       switchName, [](VirtualSwitch &sw) -> bool & { return sw.teamLearning; },
       kTeamLearningDefault);
}

HYX_ReturnStatus setCaching(char const *switchName, hyx_Bool value) noexcept {
   return setFlag(switchName, value, [](VirtualSwitch &sw) -> bool & { return sw.overlayCaching; });
}

HYX_ReturnStatus clearCaching(char const *switchName) noexcept {
   return resetSetting(
       switchName, [](VirtualSwitch &sw) -> bool & { return sw.overlayCaching; },
       kOverlayCachingDefault);
}

} // namespace
} // namespace tessel

extern "C" {

TESSEL_HOST_EXPORT HYX_ReturnStatus
VSHYX_GetGlobalMACLearningProps(VSMACLearningGlobalProps *props) {
   TESSEL_SIM_ENTRY("VSHYX_GetGlobalMACLearningProps");
   return tessel::getGlobalProps(props);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus
VSHYX_SetGlobalMACLearningProps(VSMACLearningGlobalProps *props) {
   TESSEL_SIM_ENTRY("VSHYX_SetGlobalMACLearningProps");
   return tessel::setGlobalProps(props);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetSwitchMACLearningInfo(char const *switchName,
                                                                   VSMACLearningSwitchInfo *info) {
   TESSEL_SIM_ENTRY("VSHYX_GetSwitchMACLearningInfo");
   return tessel::getSwitchLearningInfo(switchName, info);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetMACLearningAllPorts(char const *switchName,
                                                                 VSMACLearningEntries **table) {
   TESSEL_SIM_ENTRY("VSHYX_GetMACLearningAllPorts");
   return tessel::getLearningAllPorts(switchName, table);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetSwitchMACLearningStats(char const *switchName,
                                                                    VSMACLearningStats **table) {
   TESSEL_SIM_ENTRY("VSHYX_GetSwitchMACLearningStats");
   return tessel::getSwitchLearningStats(switchName, table);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetPortMACLearningStats(
    char const *switchName, char const *portName, VSPMACLearningStatsPortInfo *stats) {
   TESSEL_SIM_ENTRY("VSHYX_GetPortMACLearningStats");
   return tessel::getPortLearningStats(switchName, portName, stats);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetL2Security(char const *switchName,
                                                        VSL2Security **table) {
   TESSEL_SIM_ENTRY("VSHYX_GetL2Security");
   return tessel::getL2Security(switchName, table);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_GetMACLearning(char const *switchName,
                                                         VSPropMACLearning *prop) {
   TESSEL_SIM_ENTRY("VSDVS_GetMACLearning");
   return tessel::getMACLearning(switchName, prop);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_SetMACLearning(char const *switchName,
                                                         VSPropMACLearning const *prop) {
   TESSEL_SIM_ENTRY("VSDVS_SetMACLearning");
   return tessel::setMACLearning(switchName, prop);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_ClearMACLearning(char const *switchName) {
   TESSEL_SIM_ENTRY("VSDVS_ClearMACLearning");
   return tessel::clearMACLearning(switchName);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_GetLearnStatic(char const *switchName,
                                                         hyx_Bool *learnStatic) {
   TESSEL_SIM_ENTRY("VSDVS_GetLearnStatic");
   return tessel::getLearnStatic(switchName, learnStatic);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_SetLearnStatic(char const *switchName,
                                                         hyx_Bool learnStatic) {
   TESSEL_SIM_ENTRY("VSDVS_SetLearnStatic");
   return tessel::setLearnStatic(switchName, learnStatic);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_ClearLearnStatic(char const *switchName) {
   TESSEL_SIM_ENTRY("VSDVS_ClearLearnStatic");
   return tessel::clearLearnStatic(switchName);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_GetStaticMACAllow(char const *switchName,
                                                            hyx_Bool *staticMACAllow) {
   TESSEL_SIM_ENTRY("VSDVS_GetStaticMACAllow");
   return tessel::getStaticMACAllow(switchName, staticMACAllow);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_SetStaticMACAllow(char const *switchName,
                                                            hyx_Bool staticMACAllow) {
   TESSEL_SIM_ENTRY("VSDVS_SetStaticMACAllow");
   return tessel::setStaticMACAllow(switchName, staticMACAllow);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_ClearStaticMACAllow(char const *switchName) {
   TESSEL_SIM_ENTRY("VSDVS_ClearStaticMACAllow");
   return tessel::clearStaticMACAllow(switchName);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_SetTeamMacLearning(char const *switchName,
                                                             hyx_Bool teamMacLearning) {
   TESSEL_SIM_ENTRY("VSDVS_SetTeamMacLearning");
   return tessel::setTeamLearning(switchName, teamMacLearning);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_ClearTeamMacLearning(char const *switchName) {
   TESSEL_SIM_ENTRY("VSDVS_ClearTeamMacLearning");
   return tessel::clearTeamLearning(switchName);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_SetCaching(char const *switchName, hyx_Bool caching) {
   TESSEL_SIM_ENTRY("VSDVS_SetCaching");
   return tessel::setCaching(switchName, caching);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_ClearCaching(char const *switchName) {
   TESSEL_SIM_ENTRY("VSDVS_ClearCaching");
   return tessel::clearCaching(switchName);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_GetPortMACLearning(char const *switchName,
                                                             char const *portName,
                                                             VSPMACLearning *cfg) {
   TESSEL_SIM_ENTRY("VSDVS_GetPortMACLearning");
   return tessel::getPortMACLearning(switchName, portName, cfg);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_SetPortMACLearning(char const *switchName,
                                                             char const *portName,
                                                             VSPMACLearning const *cfg) {
   TESSEL_SIM_ENTRY("VSDVS_SetPortMACLearning");
   return tessel::setPortMACLearning(switchName, portName, cfg);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_GetPortSecurity(char const *switchName,
                                                          char const *portName,
                                                          VSPropSecurity *sec) {
   TESSEL_SIM_ENTRY("VSDVS_GetPortSecurity");
   return tessel::getPortSecurity(switchName, portName, sec);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSDVS_SetPortSecurity(char const *switchName,
                                                          char const *portName,
                                                          VSPropSecurity const *sec) {
   TESSEL_SIM_ENTRY("VSDVS_SetPortSecurity");
   return tessel::setPortSecurity(switchName, portName, sec);
}

} // extern "C"
