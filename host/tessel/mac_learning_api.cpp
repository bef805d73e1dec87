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
#include "mac_model.h"
#include "statestore_keys.h"

namespace tessel {
namespace {

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

MacComponent &mac() { return Host::instance().component<MacComponent>(); }

VSPMACLearning portLearning(PortLearning const &p) {
   VSPMACLearning cfg;
   memset(&cfg, 0, sizeof cfg);
   cfg.learning = p.learning ? 1 : 0;
   cfg.flooding = p.flooding ? 1 : 0;
   cfg.macLimit = p.macLimit;
   cfg.macLimitPolicy = static_cast<VSPortMACLearningLimitPolicy>(p.macLimitPolicy);
   return cfg;
}

VSPMACLearningStats learningStats(Switch const &sw, Port const &port) {
   PortLearning const &p = mac().of(sw).ports[port.index];
   VSPMACLearningStats st;
   memset(&st, 0, sizeof st);
   st.numMACsLearned = mac().learnedOn(sw, port);
   st.noLearningAllowedPkts = p.noLearningAllowedPkts;
   st.noLearningDroppedPkts = p.noLearningDroppedPkts;
   st.numMACsMoved = p.macsMoved;
   return st;
}

/* Writes the 52-byte statistics element of port p at dst.  Cache figures
 * count only while the switch caches learning results. */
void fillPortStats(Switch const &sw, Port const &port, unsigned char *dst) {
   MacState const &state = mac().of(sw);
   PortLearning const &p = state.ports[port.index];
   memset(dst, 0, sizeof(VSPMACLearningStatsPortInfo));
   putAt<hyx_SwitchPortID>(dst, offsetof(VSPMACLearningStatsPortInfo, portID), port.id);
   putAt<hyx_uint32>(dst, offsetof(VSPMACLearningStatsPortInfo, unicastRPFDroppedPkts),
                     p.unicastRpfDroppedPkts);
   putAt(dst, offsetof(VSPMACLearningStatsPortInfo, portStats), learningStats(sw, port));
   VSPCacheStatsInfo cache;
   memset(&cache, 0, sizeof cache);
   if (state.overlayCaching) {
      cache.cacheSrcMlStats = p.cacheSrcHits;
      cache.cacheDstStats = p.cacheDstHits;
   }
   putAt(dst, offsetof(VSPMACLearningStatsPortInfo, cacheStats), cache);
}

/* Puts a switch setting back: value is std::nullopt for a setting that falls
 * back to the host-wide one, or the setting's default. */
template <typename Slot, typename Value>
HYX_ReturnStatus resetSetting(char const *switchName, Slot slot, Value value) {
   return withSwitch(switchName, [&](Switch &sw) {
      slot(mac().of(sw)) = value;
      return HYX_OK;
   });
}

/* Stores a truth value the caller passed in slot. */
template <typename Slot>
HYX_ReturnStatus setFlag(char const *switchName, hyx_Bool value, Slot slot) {
   bool flag = false;
   if (!readBool(value, flag))
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      slot(mac().of(sw)) = flag;
      return HYX_OK;
   });
}

/* ---- Live state ---- */

HYX_ReturnStatus getGlobalProps(VSMACLearningGlobalProps *props) noexcept {
   if (props == nullptr)
      return HYX_BAD_PARAM;
   return guarded([&] {
      HostLearning const &global = mac().hostLearning();
      VSMACLearningGlobalProps out;
      memset(&out, 0, sizeof out);
      out.agingTime = global.agingTime;
      out.macLimit = global.macLimit;
      out.learnStatic = global.learnStatic ? 1 : 0;
      out.staticMACAllow = global.staticMacAllow ? 1 : 0;
      memcpy(props, &out, sizeof out);
      return HYX_OK;
   });
}

HYX_ReturnStatus setGlobalProps(VSMACLearningGlobalProps const *props) noexcept {
   if (props == nullptr)
      return HYX_BAD_PARAM;
   VSMACLearningGlobalProps in;
   memcpy(&in, props, sizeof in);
   HostLearning next;
   if (!readBool(in.learnStatic, next.learnStatic) ||
       !readBool(in.staticMACAllow, next.staticMacAllow))
      return HYX_BAD_PARAM;
   HYX_ReturnStatus status = checkLearningLimits(in.agingTime, in.macLimit);
   if (status != HYX_OK)
      return status;
   next.agingTime = in.agingTime;
   next.macLimit = in.macLimit;
   return guarded([&] {
      mac().hostLearning() = next;
      return HYX_OK;
   });
}

HYX_ReturnStatus getSwitchLearningInfo(char const *switchName,
                                       VSMACLearningSwitchInfo *info) noexcept {
   if (info == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      MacState const &state = mac().of(sw);
      uint32_t const macLimit = mac().macLimit(sw);
      VSMACLearningSwitchInfo out;
      memset(&out, 0, sizeof out);
      out.agingTime = mac().agingTime(sw);
      out.macLimit = macLimit;

      VSPMACLearningStats team;
      memset(&team, 0, sizeof team);
      uint64_t teamAllowed = 0;
      for (auto const &port : sw.ports) {
         PortLearning const &p = state.ports[port.index];
         uint32_t const learned = mac().learnedOn(sw, port);
         if (port.team()) {
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
         if (port.sink) {
            ++out.numSinkPorts;
            if (p.flooding)
               ++out.numSinkAndFloodingPorts;
         }
      }
      out.teamNumMACsLearned = team.numMACsLearned;
      VSPMACLearning teamCfg;
      memset(&teamCfg, 0, sizeof teamCfg);
      teamCfg.learning = state.teamLearning ? 1 : 0;
      teamCfg.flooding = 1;
      teamCfg.macLimit = teamMacLimit(macLimit);
      teamCfg.macLimitPolicy = VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW;
      putAt(&out, offsetof(VSMACLearningSwitchInfo, teamMACLearning), teamCfg);
      putAt(&out, offsetof(VSMACLearningSwitchInfo, teamMACLearningStats), team);
      out.teamAllowedPktsWithPortLimit = teamAllowed;
      out.cachingMlOverlayEnabled = state.overlayCaching ? 1 : 0;
      size_t const userUnicast = state.macs.userUnicast();
      out.numUserUnicastMacEntries = static_cast<hyx_uint8>(userUnicast > 255 ? 255 : userUnicast);
      out.configureTeamMacLearning = state.teamLearning ? 1 : 0;
      out.agingMultiplier = VS_MAC_LEARNING_MAX_AGING_MULTIPLIER_DEFAULT;
      memcpy(info, &out, sizeof out);
      return HYX_OK;
   });
}

HYX_ReturnStatus getLearningAllPorts(char const *switchName,
                                     VSMACLearningEntries **table) noexcept {
   return handOutPortTable(
       switchName, sizeof(VSPMACLearningInfo),
       [](Switch const &sw, Port const &port, unsigned char *dst) {
          putAt<hyx_SwitchPortID>(dst, offsetof(VSPMACLearningInfo, portID), port.id);
          putAt(dst, offsetof(VSPMACLearningInfo, portMACLearning),
                portLearning(mac().of(sw).ports[port.index]));
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
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      fillPortStats(sw, port, reinterpret_cast<unsigned char *>(stats));
      return HYX_OK;
   });
}

HYX_ReturnStatus getL2Security(char const *switchName, VSL2Security **table) noexcept {
   return handOutPortTable(
       switchName, sizeof(VSPropSecurityPortInfo),
       [](Switch const &sw, Port const &port, unsigned char *dst) {
          putAt<hyx_SwitchPortID>(dst, offsetof(VSPropSecurityPortInfo, portID), port.id);
          putAt<hyx_uint32>(dst, offsetof(VSPropSecurityPortInfo, l2SecPortInfo),
                            mac().of(sw).ports[port.index].securityFlags);
       },
       table);
}

/* ---- Configuration ---- */

HYX_ReturnStatus getMACLearning(char const *switchName, VSPropMACLearning *prop) noexcept {
   if (prop == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      VSPropMACLearning out;
      memset(&out, 0, sizeof out);
      out.agingTime = mac().agingTime(sw) & 0xFFFFFFu;
      out.macLimit = mac().macLimit(sw);
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
   return withSwitch(switchName, [&](Switch &sw) {
      MacState &state = mac().of(sw);
      state.agingTime = agingTime;
      state.macLimit = macLimit;
      return HYX_OK;
   });
}

HYX_ReturnStatus clearMACLearning(char const *switchName) noexcept {
   return withSwitch(switchName, [](Switch &sw) {
      MacState &state = mac().of(sw);
      state.agingTime.reset();
      state.macLimit.reset();
      return HYX_OK;
   });
}

HYX_ReturnStatus getLearnStatic(char const *switchName, hyx_Bool *learnStatic) noexcept {
   if (learnStatic == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      *learnStatic = mac().learnStatic(sw) ? 1 : 0;
      return HYX_OK;
   });
}

HYX_ReturnStatus getStaticMACAllow(char const *switchName, hyx_Bool *staticMACAllow) noexcept {
   if (staticMACAllow == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      *staticMACAllow = mac().staticMacAllow(sw) ? 1 : 0;
      return HYX_OK;
   });
}

HYX_ReturnStatus getPortMACLearning(char const *switchName, char const *portName,
                                    VSPMACLearning *cfg) noexcept {
   if (cfg == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      VSPMACLearning out = portLearning(mac().of(sw).ports[port.index]);
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
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      PortLearning &p = mac().of(sw).ports[port.index];
      p.learning = learning;
      p.flooding = flooding;
      p.macLimit = macLimit;
      p.macLimitPolicy = policy;
      return HYX_OK;
   });
}

HYX_ReturnStatus getPortSecurity(char const *switchName, char const *portName,
                                 VSPropSecurity *sec) noexcept {
   if (sec == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      putAt<hyx_uint32>(sec, offsetof(VSPropSecurity, flags),
                        mac().of(sw).ports[port.index].securityFlags);
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
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      mac().of(sw).ports[port.index].securityFlags = flags;
      return HYX_OK;
   });
}

HYX_ReturnStatus setLearnStatic(char const *switchName, hyx_Bool value) noexcept {
   return setFlag(switchName, value,
                  [](MacState &sw) -> std::optional<bool> & { return sw.learnStatic; });
}

HYX_ReturnStatus clearLearnStatic(char const *switchName) noexcept {
   return resetSetting(
       switchName, [](MacState &sw) -> std::optional<bool> & { return sw.learnStatic; },
       std::nullopt);
}

HYX_ReturnStatus setStaticMACAllow(char const *switchName, hyx_Bool value) noexcept {
   return setFlag(switchName, value,
                  [](MacState &sw) -> std::optional<bool> & { return sw.staticMacAllow; });
}

HYX_ReturnStatus clearStaticMACAllow(char const *switchName) noexcept {
   return resetSetting(
       switchName, [](MacState &sw) -> std::optional<bool> & { return sw.staticMacAllow; },
       std::nullopt);
}

HYX_ReturnStatus setTeamLearning(char const *switchName, hyx_Bool value) noexcept {
   return setFlag(switchName, value, [](MacState &sw) -> bool & { return sw.teamLearning; });
}

HYX_ReturnStatus clearTeamLearning(char const *switchName) noexcept {
   return resetSetting(
       switchName, [](MacState &sw) -> bool & { return sw.teamLearning; }, kTeamLearningDefault);
}

HYX_ReturnStatus setCaching(char const *switchName, hyx_Bool value) noexcept {
   return setFlag(switchName, value, [](MacState &sw) -> bool & { return sw.overlayCaching; });
}

HYX_ReturnStatus clearCaching(char const *switchName) noexcept {
   return resetSetting(
       switchName, [](MacState &sw) -> bool & { return sw.overlayCaching; },
       kOverlayCachingDefault);
}

} // namespace
/* ---- Keyed settings ---- */

/* A port's learning and security have no Clear call: clearing writes the
 * defaults a new port has. */
HYX_ReturnStatus clearPortMACLearning(char const *switchName, char const *portName) noexcept {
   VSPMACLearning cfg;
   memset(&cfg, 0, sizeof cfg);
   PortLearning const defaults;
   putAt<hyx_Bool>(&cfg, offsetof(VSPMACLearning, learning), defaults.learning ? 1 : 0);
   putAt<hyx_Bool>(&cfg, offsetof(VSPMACLearning, flooding), defaults.flooding ? 1 : 0);
   putAt<hyx_uint32>(&cfg, offsetof(VSPMACLearning, macLimit), defaults.macLimit);
   putAt<int32_t>(&cfg, offsetof(VSPMACLearning, macLimitPolicy), defaults.macLimitPolicy);
   return setPortMACLearning(switchName, portName, &cfg);
}

HYX_ReturnStatus clearPortSecurity(char const *switchName, char const *portName) noexcept {
   VSPropSecurity sec;
   memset(&sec, 0, sizeof sec);
   return setPortSecurity(switchName, portName, &sec);
}

using MacLearningKey = SwitchRecord<&getMACLearning, &setMACLearning, &clearMACLearning>;
using PortLearningKey = PortRecord<&getPortMACLearning, &setPortMACLearning, &clearPortMACLearning>;
using PortSecurityKey = PortRecord<&getPortSecurity, &setPortSecurity, &clearPortSecurity>;

TESSEL_KEYED_SETTING(MacLearning, VSPROP_SWITCH_MAC_LEARNING, false,
                     TESSEL_KEYED_BY(MacLearningKey));
TESSEL_KEYED_SETTING(PortLearning, VSPROP_PORT_MAC_MANAGEMENT, true,
                     TESSEL_KEYED_BY(PortLearningKey));
TESSEL_KEYED_SETTING(PortSecurity, VSPROP_PORT_SECURITY, true, TESSEL_KEYED_BY(PortSecurityKey));

} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetGlobalMACLearningProps,
                (VSMACLearningGlobalProps * props), tessel::getGlobalProps(props))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetGlobalMACLearningProps,
                (VSMACLearningGlobalProps * props), tessel::setGlobalProps(props))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetSwitchMACLearningInfo,
                (char const *switchName, VSMACLearningSwitchInfo *info),
                tessel::getSwitchLearningInfo(switchName, info))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetMACLearningAllPorts,
                (char const *switchName, VSMACLearningEntries **table),
                tessel::getLearningAllPorts(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetSwitchMACLearningStats,
                (char const *switchName, VSMACLearningStats **table),
                tessel::getSwitchLearningStats(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetPortMACLearningStats,
                (char const *switchName, char const *portName, VSPMACLearningStatsPortInfo *stats),
                tessel::getPortLearningStats(switchName, portName, stats))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetL2Security,
                (char const *switchName, VSL2Security **table),
                tessel::getL2Security(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetMACLearning,
                (char const *switchName, VSPropMACLearning *prop),
                tessel::getMACLearning(switchName, prop))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetMACLearning,
                (char const *switchName, VSPropMACLearning const *prop),
                tessel::setMACLearning(switchName, prop))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearMACLearning, (char const *switchName),
                tessel::clearMACLearning(switchName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetLearnStatic,
                (char const *switchName, hyx_Bool *learnStatic),
                tessel::getLearnStatic(switchName, learnStatic))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetLearnStatic,
                (char const *switchName, hyx_Bool learnStatic),
                tessel::setLearnStatic(switchName, learnStatic))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearLearnStatic, (char const *switchName),
                tessel::clearLearnStatic(switchName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetStaticMACAllow,
                (char const *switchName, hyx_Bool *staticMACAllow),
                tessel::getStaticMACAllow(switchName, staticMACAllow))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetStaticMACAllow,
                (char const *switchName, hyx_Bool staticMACAllow),
                tessel::setStaticMACAllow(switchName, staticMACAllow))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearStaticMACAllow, (char const *switchName),
                tessel::clearStaticMACAllow(switchName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetTeamMacLearning,
                (char const *switchName, hyx_Bool teamMacLearning),
                tessel::setTeamLearning(switchName, teamMacLearning))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearTeamMacLearning, (char const *switchName),
                tessel::clearTeamLearning(switchName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetCaching, (char const *switchName, hyx_Bool caching),
                tessel::setCaching(switchName, caching))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearCaching, (char const *switchName),
                tessel::clearCaching(switchName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPortMACLearning,
                (char const *switchName, char const *portName, VSPMACLearning *cfg),
                tessel::getPortMACLearning(switchName, portName, cfg))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPortMACLearning,
                (char const *switchName, char const *portName, VSPMACLearning const *cfg),
                tessel::setPortMACLearning(switchName, portName, cfg))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPortSecurity,
                (char const *switchName, char const *portName, VSPropSecurity *sec),
                tessel::getPortSecurity(switchName, portName, sec))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPortSecurity,
                (char const *switchName, char const *portName, VSPropSecurity const *sec),
                tessel::setPortSecurity(switchName, portName, sec))
