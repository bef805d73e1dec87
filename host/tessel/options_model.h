/* The options subsystem's state: the host-wide runtime options of the
 * switch-control library.
 *
 * Defaults: IGMPQueryInterval 125 (seconds), IGMPV3MaxSrcIPNum 10,
 * IGMPQueries 2, IGMPVersion 3 (2 or 3), MLDVersion 2 (1 or 2),
 * MLDV2MaxSrcIPNum 10, MaxRARPsPerInterval 128, RARPAdvertisementDuration
 * 60 (seconds), TeamPolicyUpDelay 100 (milliseconds); the switches (0 or 1)
 * ReversePathFwdCheck 1, ReversePathFwdCheckPromisc 0, AllowFastPath 1,
 * AllowMirrorStats 1, TeamingNUMAAware 0, SendIGMPReportToUplink 0,
 * TeamingIgnoreShotgun 1; IGMPRouterIP "0.0.0.0" (an IPv4 address) and
 * MLDRouterIP "::" (an IPv6 address).  The topology's top-level "options"
 * key sets any of them by name. */
#ifndef TESSEL_HOST_OPTIONS_MODEL_H
#define TESSEL_HOST_OPTIONS_MODEL_H

#include <stdint.h>

#include <array>
#include <string>

#include "hostapi/options.h"
#include "model.h"

namespace tessel {

struct RuntimeOptions {
   std::array<uint32_t, VS_RT_OPT_FIRST_TEXT> integers{};
   std::array<std::string, VS_NUM_RT_OPT - VS_RT_OPT_FIRST_TEXT> texts;

   RuntimeOptions();
   /* Whether value is one the integer option of type may take. */
   static bool validInteger(unsigned type, uint32_t value);
   /* Whether text (without its zero) is one the text option of type may take. */
   static bool validText(unsigned type, std::string const &text);
};

/* The option names, index = type. */
extern char const *const kRuntimeOptionNames[VS_NUM_RT_OPT];

/* Where the host is in a restart-time (RTM) sequence: a save, optionally
 * the ports blocked, a restore, then completion back to idle. */
enum class RtmPhase { Idle, Saved, Blocked, Restored };

class OptionsComponent : public Component {
 public:
   void fillHost(Settings &settings) override;
   void addSwitch(Host &, Switch const &, SwitchSettings &) override {}
   void truncate(size_t) override {}
   void dumpHost(nlohmann::json &settings) const override;

   RuntimeOptions options;
   RtmPhase rtm = RtmPhase::Idle;
   /* Layer-3 isolation test mode (0 off, 1 or 2) and whether the bridge
    * fast path is disabled. */
   int32_t l3IsoTestMode = 0;
   bool bridgeFastpathDisabled = false;
};

/* Reads the host's RTM phase ("rtmPhase": idle, saved, blocked, restored),
 * "l3IsoTestMode" (0 to 2) and "bridgeFastpathDisabled" from the options
 * settings. */
void readHostControlSettings(Settings &in, OptionsComponent &options);

} // namespace tessel

#endif
