/* The host-wide runtime options as topology settings, with the host's RTM
 * phase, layer-3 isolation test mode and bridge fast-path setting. */
#include "dump_support.h"
#include "options_model.h"

namespace tessel {

namespace {

constexpr std::pair<char const *, RtmPhase> kPhases[] = {{"idle", RtmPhase::Idle},
                                                         {"saved", RtmPhase::Saved},
                                                         {"blocked", RtmPhase::Blocked},
                                                         {"restored", RtmPhase::Restored}};

} // namespace

void readHostControlSettings(Settings &in, OptionsComponent &options) {
   options.rtm = in.choice<RtmPhase>("rtmPhase", {kPhases[0], kPhases[1], kPhases[2], kPhases[3]},
                                     RtmPhase::Idle);
   options.l3IsoTestMode = static_cast<int32_t>(in.number<uint32_t>("l3IsoTestMode", 0, 2));
   options.bridgeFastpathDisabled = in.flag("bridgeFastpathDisabled", false);
}

void OptionsComponent::dumpHost(json &out) const {
   for (unsigned t = 0; t < VS_RT_OPT_FIRST_TEXT; ++t)
      out[kRuntimeOptionNames[t]] = options.integers[t];
   for (unsigned t = VS_RT_OPT_FIRST_TEXT; t < VS_NUM_RT_OPT; ++t)
      out[kRuntimeOptionNames[t]] = options.texts[t - VS_RT_OPT_FIRST_TEXT];
   for (auto const &phase : kPhases)
      if (phase.second == rtm && rtm != RtmPhase::Idle)
         out["rtmPhase"] = phase.first;
   putUnlessDefault(out, "l3IsoTestMode", l3IsoTestMode, 0);
   putUnlessDefault(out, "bridgeFastpathDisabled", bridgeFastpathDisabled, false);
}

} // namespace tessel
