/* The host-wide runtime options, their defaults and their valid values. */
#include "options_model.h"

#include <arpa/inet.h>

namespace tessel {

TESSEL_COMPONENT(OptionsComponent, "options");

char const *const kRuntimeOptionNames[VS_NUM_RT_OPT] = {VS_RT_OPT_NAMES};

RuntimeOptions::RuntimeOptions() {
   integers = {125, 10, 2, 3, 2, 10, 128, 60, 1, 0, 1, 100, 1, 0, 0, 1};
   texts = {"0.0.0.0", "::"};
}

bool RuntimeOptions::validInteger(unsigned type, uint32_t value) {
   switch (type) {
   case VS_RT_OPT_IGMP_VERSION:
      return value == 2 || value == 3;
   case VS_RT_OPT_MLD_VERSION:
      return value == 1 || value == 2;
   case VS_RT_OPT_REVERSE_PATH_FWD_CHECK:
   case VS_RT_OPT_REVERSE_PATH_FWD_CHECK_PROMISC:
   case VS_RT_OPT_ALLOW_FAST_PATH:
   case VS_RT_OPT_ALLOW_MIRROR_STATS:
   case VS_RT_OPT_TEAMING_NUMA_AWARE:
   case VS_RT_OPT_SEND_IGMP_REPORT_TO_UPLINK:
   case VS_RT_OPT_TEAMING_IGNORE_SHOTGUN:
      return value <= 1;
   default:
      return type < VS_RT_OPT_FIRST_TEXT;
   }
}

bool RuntimeOptions::validText(unsigned type, std::string const &text) {
   unsigned char addr[16];
   if (text.size() >= VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH)
      return false;
   if (type == VS_RT_OPT_IGMP_ROUTER_IP)
      return inet_pton(AF_INET, text.c_str(), addr) == 1;
   if (type == VS_RT_OPT_MLD_ROUTER_IP)
      return inet_pton(AF_INET6, text.c_str(), addr) == 1;
   return false;
}

void OptionsComponent::fillHost(Settings &in) {
   for (unsigned t = 0; t < VS_RT_OPT_FIRST_TEXT; ++t) {
      uint32_t value = in.number<uint32_t>(kRuntimeOptionNames[t], options.integers[t]);
      if (!RuntimeOptions::validInteger(t, value))
         in.fail(std::to_string(value) + " is not a valid value", kRuntimeOptionNames[t]);
      options.integers[t] = value;
   }
   for (unsigned t = VS_RT_OPT_FIRST_TEXT; t < VS_NUM_RT_OPT; ++t) {
      std::string &slot = options.texts[t - VS_RT_OPT_FIRST_TEXT];
      std::string value = in.text(kRuntimeOptionNames[t], slot);
      if (!RuntimeOptions::validText(t, value))
         in.fail("\"" + value + "\" is not a valid address", kRuntimeOptionNames[t]);
      slot = value;
   }
   readHostControlSettings(in, *this);
}

} // namespace tessel
