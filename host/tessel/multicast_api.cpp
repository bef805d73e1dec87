/* The exported multicast functions of libtessel.so. */
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "api_support.h"
#include "multicast_model.h"
#include "statestore_keys.h"

namespace tessel {
namespace {

MulticastComponent &mcast() { return Host::instance().component<MulticastComponent>(); }

/* Looks up a port by its ID and runs body(switch, port). */
template <typename Body>
HYX_ReturnStatus withPortId(char const *switchName, hyx_SwitchPortID portID, Body body) noexcept {
   std::string const id = std::to_string(portID);
   return withPort(switchName, id.c_str(), body);
}

/* The addresses a port filters on in a mode: MAC addresses for legacy (its
 * user entries, then its groups' addresses, each once), IPv4 groups for
 * snooping and IGMP, IPv6 groups for MLD.  Each is written as width bytes. */
std::vector<std::vector<uint8_t>> portAddresses(McastPort const &port, int32_t mode) {
   std::vector<std::vector<uint8_t>> out;
   if (mode == VS_MCAST_FILTER_MODE_LEGACY) {
      std::vector<MacAddress> macs = port.userMacs;
      for (auto const &g : port.groups) {
         MacAddress const m = g.mac();
         if (std::find(macs.begin(), macs.end(), m) == macs.end())
            macs.push_back(m);
      }
      for (auto const &m : macs)
         out.emplace_back(m.begin(), m.end());
      return out;
   }
   bool const v6 = mode == VS_MCAST_FILTER_MODE_MLD;
   for (auto const &g : port.groups) {
      if (g.v6 == v6)
         out.emplace_back(g.group.begin(), g.group.begin() + (v6 ? 16 : 4));
   }
   return out;
}

size_t addressWidth(int32_t mode) {
   return mode == VS_MCAST_FILTER_MODE_LEGACY ? 6 : mode == VS_MCAST_FILTER_MODE_MLD ? 16 : 4;
}

HYX_ReturnStatus getMode(char const *switchName, VSMcastFilterMode *mode) noexcept {
   if (mode == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      int32_t const value = mcast().of(sw).mode;
      memcpy(mode, &value, sizeof value);
      return HYX_OK;
   });
}

HYX_ReturnStatus setMode(char const *switchName, int32_t mode) noexcept {
   if (!validMcastMode(mode))
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      mcast().of(sw).mode = mode;
      Host::instance().tick();
      return HYX_OK;
   });
}

HYX_ReturnStatus getFilters(char const *switchName, hyx_SwitchPortID portID, int32_t mode,
                            VSMcastFilters **filters) noexcept {
   if (filters == nullptr || !validMcastMode(mode))
      return HYX_BAD_PARAM;
   return withPortId(switchName, portID, [&](Switch &sw, Port &port) -> HYX_ReturnStatus {
      auto const addresses = portAddresses(mcast().of(sw, port), mode);
      size_t const width = addressWidth(mode);
      unsigned char *block = allocTable(static_cast<uint32_t>(addresses.size()), width);
      if (block == nullptr)
         return HYX_NO_MEMORY;
      for (size_t i = 0; i < addresses.size(); ++i)
         memcpy(block + 8 + width * i, addresses[i].data(), width);
      *filters = reinterpret_cast<VSMcastFilters *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus getSwitchFilters(char const *switchName, int32_t mode,
                                  VSMcastSwitchFilters **filters) noexcept {
   if (filters == nullptr || !validMcastMode(mode))
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      std::vector<std::pair<uint32_t, std::vector<uint8_t>>> rows;
      for (auto const &port : sw.ports) {
         for (auto &a : portAddresses(mcast().of(sw, port), mode))
            rows.emplace_back(port.id, std::move(a));
      }
      unsigned char *block = allocTable(static_cast<uint32_t>(rows.size()), sizeof(VSPMcastFilter));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      for (size_t i = 0; i < rows.size(); ++i) {
         unsigned char *slot = block + 8 + sizeof(VSPMcastFilter) * i;
         putAt<uint32_t>(slot, 0, rows[i].first);
         memcpy(slot + 4, rows[i].second.data(), rows[i].second.size());
      }
      *filters = reinterpret_cast<VSMcastSwitchFilters *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus getFilterStats(char const *switchName, hyx_SwitchPortID portID, int32_t mode,
                                char const *groupText, VSMcastFilterStats **stats) noexcept {
   if (stats == nullptr || groupText == nullptr || !validMcastMode(mode) ||
       mode == VS_MCAST_FILTER_MODE_LEGACY)
      return HYX_BAD_PARAM;
   size_t const len = strnlen(groupText, VS_MCAST_GROUP_TEXT_MAX + 1);
   if (len > VS_MCAST_GROUP_TEXT_MAX)
      return HYX_BAD_PARAM;
   bool const v6 = mode == VS_MCAST_FILTER_MODE_MLD;
   auto group = parseIp(std::string(groupText, len), v6);
   if (!group)
      return HYX_BAD_PARAM;
   return withPortId(switchName, portID, [&](Switch &sw, Port &port) -> HYX_ReturnStatus {
      for (auto const &g : mcast().of(sw, port).groups) {
         if (g.v6 != v6 || g.group != *group)
            continue;
         size_t const width = v6 ? 16 : 4;
         uint32_t const count = static_cast<uint32_t>(g.sources.size());
         auto *block = static_cast<unsigned char *>(
             tessel_sim_block_alloc(sizeof(VSMcastFilterStats) + width * count));
         if (block == nullptr)
            return HYX_NO_MEMORY;
         /* Version of the report: IGMPv3 or MLDv2. */
         putAt<uint32_t>(block, 0, v6 ? 2 : 3);
         putAt<uint32_t>(block, 4, g.filterMode);
         putAt<uint64_t>(block, 8, g.updated);
         putAt<uint32_t>(block, 16, 0);
         putAt<uint32_t>(block, 20, count);
         putAt<uint32_t>(block, 24, count);
         for (uint32_t i = 0; i < count; ++i)
            memcpy(block + sizeof(VSMcastFilterStats) + width * i, g.sources[i].data(), width);
         *stats = reinterpret_cast<VSMcastFilterStats *>(block);
         return HYX_OK;
      }
      return HYX_NOT_FOUND;
   });
}

HYX_ReturnStatus handOutKeys(std::vector<MacAddress> const &macs, VSUserMcastLegacyKeys **keys) {
   auto *block = static_cast<unsigned char *>(
       tessel_sim_block_alloc(sizeof(VSUserMcastLegacyKeys) + 6 * macs.size()));
   if (block == nullptr)
      return HYX_NO_MEMORY;
   block[0] = static_cast<unsigned char>(macs.size());
   for (size_t i = 0; i < macs.size(); ++i)
      memcpy(block + 1 + 6 * i, macs[i].data(), 6);
   *keys = reinterpret_cast<VSUserMcastLegacyKeys *>(block);
   return HYX_OK;
}

/* The first count rows of entries, all multicast addresses. */
HYX_ReturnStatus readRows(int count, VSMACEntries const *entries, std::vector<MacAddress> &out) {
   if (count < 0 || (count > 0 && entries == nullptr))
      return HYX_BAD_PARAM;
   if (count > VS_MULTICAST_USER_ENTRIES_MAX)
      return HYX_LIMIT_EXCEEDED;
   out.clear();
   for (int i = 0; i < count; ++i) {
      MacAddress m;
      memcpy(m.data(), entries->macEntry[i], 6);
      if ((m[0] & 1) == 0)
         return HYX_BAD_PARAM;
      out.push_back(m);
   }
   return HYX_OK;
}

HYX_ReturnStatus getUserEntries(char const *switchName, VSUserMcastLegacyKeys **keys) noexcept {
   if (keys == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName,
                     [&](Switch &sw) { return handOutKeys(mcast().of(sw).userMacs, keys); });
}

HYX_ReturnStatus getPortUserEntries(char const *switchName, char const *portName,
                                    VSUserMcastLegacyKeys **keys) noexcept {
   if (keys == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      return handOutKeys(mcast().of(sw, port).userMacs, keys);
   });
}

HYX_ReturnStatus setUserEntries(char const *switchName, int count,
                                VSMACEntries const *entries) noexcept {
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      std::vector<MacAddress> macs;
      HYX_ReturnStatus status = readRows(count, entries, macs);
      if (status != HYX_OK)
         return status;
      mcast().of(sw).userMacs = std::move(macs);
      Host::instance().tick();
      return HYX_OK;
   });
}

HYX_ReturnStatus setPortUserEntries(char const *switchName, char const *portName, int count,
                                    VSMACEntries const *entries) noexcept {
   return withPort(switchName, portName, [&](Switch &sw, Port &port) -> HYX_ReturnStatus {
      std::vector<MacAddress> macs;
      HYX_ReturnStatus status = readRows(count, entries, macs);
      if (status != HYX_OK)
         return status;
      mcast().of(sw, port).userMacs = std::move(macs);
      Host::instance().tick();
      return HYX_OK;
   });
}

} // namespace
/* ---- Keyed settings ---- */

/* Keyed settings belong to distributed switches, whose default mode is
 * snooping. */
using McastModeKey = SwitchNumber<&getMode, &setMode, VS_MCAST_FILTER_MODE_SNOOPING>;

TESSEL_KEYED_SETTING(McastMode, VSPROP_MULTICAST_FILTER, false, TESSEL_KEYED_BY(McastModeKey));

} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetMcastFilterMode,
                (char const *switchName, VSMcastFilterMode *mode),
                tessel::getMode(switchName, mode))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetMcastFilters,
                (char const *switchName, hyx_SwitchPortID portID, VSMcastFilterMode mode,
                 VSMcastFilters **filters),
                tessel::getFilters(switchName, portID, tessel::rawValue<int32_t>(mode), filters))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetSwitchMcastFilters,
                (char const *switchName, VSMcastFilterMode mode, VSMcastSwitchFilters **filters),
                tessel::getSwitchFilters(switchName, tessel::rawValue<int32_t>(mode), filters))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetMcastFilterStats,
                (char const *switchName, hyx_SwitchPortID portID, VSMcastFilterMode mode,
                 char *group, VSMcastFilterStats **stats),
                tessel::getFilterStats(switchName, portID, tessel::rawValue<int32_t>(mode), group,
                                       stats))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetMcastFilterMode,
                (char const *switchName, VSMcastFilterMode *mode),
                tessel::getMode(switchName, mode))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetMcastFilterMode,
                (char const *switchName, VSMcastFilterMode mode),
                tessel::setMode(switchName, tessel::rawValue<int32_t>(mode)))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetMcastUserLegacyEntries,
                (char const *switchName, VSUserMcastLegacyKeys **keys),
                tessel::getUserEntries(switchName, keys))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPortMcastUserLegacyEntries,
                (char const *switchName, char const *portName, VSUserMcastLegacyKeys **keys),
                tessel::getPortUserEntries(switchName, portName, keys))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetMcastUserLegacyEntries,
                (char const *switchName, int count, VSMACEntries *entries),
                tessel::setUserEntries(switchName, count, entries))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPortMcastUserLegacyEntries,
                (char const *switchName, char const *portName, int count, VSMACEntries *entries),
                tessel::setPortUserEntries(switchName, portName, count, entries))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearMcastUserLegacyEntries, (char const *switchName),
                tessel::setUserEntries(switchName, 0, nullptr))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearPortMcastUserLegacyEntries,
                (char const *switchName, char const *portName),
                tessel::setPortUserEntries(switchName, portName, 0, nullptr))
