/* Helpers of the components' dump code: values written in the forms the
 * topology reader takes. */
#ifndef TESSEL_HOST_DUMP_SUPPORT_H
#define TESSEL_HOST_DUMP_SUPPORT_H

#include <arpa/inet.h>
#include <stdint.h>
#include <stdio.h>

#include <string>

#include <nlohmann/json.hpp>

#include "model.h"

namespace tessel {

using nlohmann::json;

/* "02:aa:00:00:00:01". */
inline std::string macText(MacAddress const &mac) {
   char text[18];
   snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3],
            mac[4], mac[5]);
   return text;
}

/* An IPv4 address in the first four bytes, or an IPv6 address. */
inline std::string ipText(uint8_t const *bytes, bool v6) {
   char text[INET6_ADDRSTRLEN];
   if (inet_ntop(v6 ? AF_INET6 : AF_INET, bytes, text, sizeof text) == nullptr)
      return std::string();
   return text;
}

/* Sets key to value unless value is fallback, so a dump says only what
 * differs from the defaults. */
template <typename T, typename U>
void putUnlessDefault(json &out, char const *key, T const &value, U const &fallback) {
   if (!(value == static_cast<T>(fallback)))
      out[key] = value;
}

} // namespace tessel

#endif
