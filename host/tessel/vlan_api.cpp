/* The exported VLAN and port filtering functions of libtessel.so: port VLAN
 * policy, private-VLAN map, nested tagging, extra Ethernet filter, sink
 * ports, MTU and RCF type. */
#include <string.h>

#include "api_support.h"
#include "hostapi/vlan.h"
#include "kernel_model.h"
#include "ports_model.h"
#include "statestore_keys.h"
#include "vlan_model.h"

namespace tessel {
namespace {

VlanComponent &vlan() { return Host::instance().component<VlanComponent>(); }

/* HYX_OK for a VLAN id a policy may name, HYX_LIMIT_EXCEEDED above. */
HYX_ReturnStatus checkVid(uint32_t vid) {
   return vid > VS_VLAN_ID_MAX ? HYX_LIMIT_EXCEEDED : HYX_OK;
}

HYX_ReturnStatus getPortVlanPolicy(char const *switchName, char const *portName,
                                   VSPortVlanPolicy **policy, int *numRanges) noexcept {
   if (policy == nullptr || numRanges == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) -> HYX_ReturnStatus {
      VlanPolicy const p = effectivePolicy(Host::instance(), sw, port);
      size_t const n = p.ranges.size();
      auto *block = static_cast<unsigned char *>(
          tessel_sim_block_alloc(sizeof(VSPortVlanPolicy) + n * sizeof(hyx_ZARPortVIDRange)));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      putAt<hyx_uint16>(block, offsetof(VSPortVlanPolicy, flags), p.flags);
      putAt<hyx_uint16>(block, offsetof(VSPortVlanPolicy, vlanID), p.vlanId);
      putAt<hyx_uint16>(block, offsetof(VSPortVlanPolicy, numRanges), static_cast<uint16_t>(n));
      for (size_t i = 0; i < n; ++i) {
         size_t const at = sizeof(VSPortVlanPolicy) + i * sizeof(hyx_ZARPortVIDRange);
         putAt<hyx_uint16>(block, at, p.ranges[i].first);
         putAt<hyx_uint16>(block, at + 2, p.ranges[i].second);
      }
      *policy = reinterpret_cast<VSPortVlanPolicy *>(block);
      *numRanges = static_cast<int>(n);
      return HYX_OK;
   });
}

HYX_ReturnStatus setPortVlanPolicy(char const *switchName, char const *portName, uint16_t vlanId,
                                   int flags, hyx_Bool guestTagging, hyx_Bool pvlan,
                                   hyx_ZARPortVIDRange const *ranges, uint16_t numRanges) noexcept {
   bool guest = false, priv = false;
   if (!readBool(guestTagging, guest) || !readBool(pvlan, priv) ||
       (flags & ~VSPORT_VLAN_SET_PRIORITY) != 0 || (guest && priv))
      return HYX_BAD_PARAM;
   if (checkVid(vlanId) != HYX_OK || numRanges > VS_VLAN_ID_MAX + 1)
      return HYX_LIMIT_EXCEEDED;
   /* Ranges belong to a port that carries tagged VLANs. */
   if (numRanges > 0 && (ranges == nullptr || !guest))
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) -> HYX_ReturnStatus {
      VlanPolicy policy;
      policy.flags = static_cast<uint16_t>(flags | (guest ? VSPORT_VLAN_GUEST_TAGGING : 0) |
                                           (priv ? VSPORT_VLAN_PVLAN_ENABLED : 0));
      policy.vlanId = vlanId;
      for (uint16_t i = 0; i < numRanges; ++i) {
         auto const *r = reinterpret_cast<unsigned char const *>(ranges) + i * 4u;
         VidRange range{getAt<uint16_t>(r, 0), getAt<uint16_t>(r, 2)};
         if (range.first > range.second)
            return HYX_BAD_PARAM;
         if (checkVid(range.second) != HYX_OK)
            return HYX_LIMIT_EXCEEDED;
         policy.ranges.push_back(range);
      }
      VlanState &state = vlan().of(sw);
      if (priv) {
         bool secondary = false;
         for (auto const &e : state.pvlanMap)
            secondary = secondary || (e.secondary == vlanId && e.type != VSPORT_PVLAN_TYPE_PROMISC);
         if (!secondary)
            return HYX_BAD_PARAM;
      }
      state.ports[port.index].policy = std::move(policy);
      applyVlanSettings(Host::instance(), sw, port);
      return HYX_OK;
   });
}

HYX_ReturnStatus clearPortVlanPolicy(char const *switchName, char const *portName) noexcept {
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      vlan().of(sw).ports[port.index].policy.reset();
      applyVlanSettings(Host::instance(), sw, port);
      return HYX_OK;
   });
}

HYX_ReturnStatus getPvlanMap(char const *switchName, VSPvlanMapEntry **entries,
                             int *count) noexcept {
   if (entries == nullptr || count == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      auto const &map = vlan().of(sw).pvlanMap;
      unsigned char *block = nullptr;
      if (!map.empty()) {
         block = static_cast<unsigned char *>(
             tessel_sim_block_alloc(map.size() * sizeof(VSPvlanMapEntry)));
         if (block == nullptr)
            return HYX_NO_MEMORY;
      }
      for (size_t i = 0; i < map.size(); ++i) {
         unsigned char *e = block + i * sizeof(VSPvlanMapEntry);
         putAt<hyx_uint16>(e, offsetof(VSPvlanMapEntry, primaryVID), map[i].primary);
         putAt<hyx_uint16>(e, offsetof(VSPvlanMapEntry, secondaryVID), map[i].secondary);
         putAt<hyx_uint8>(e, offsetof(VSPvlanMapEntry, pvlanType), map[i].type);
      }
      *entries = reinterpret_cast<VSPvlanMapEntry *>(block);
      *count = static_cast<int>(map.size());
      return HYX_OK;
   });
}

HYX_ReturnStatus setPvlanMap(char const *switchName, VSPvlanMapEntry const *entries,
                             int count) noexcept {
   if (count < 0 || (count > 0 && entries == nullptr))
      return HYX_BAD_PARAM;
   if (count > VS_PVLAN_MAP_ENTRIES_MAX)
      return HYX_LIMIT_EXCEEDED;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      std::vector<PvlanEntry> map;
      std::vector<bool> seen(VS_VLAN_ID_MAX + 1, false);
      for (int i = 0; i < count; ++i) {
         auto const *r = reinterpret_cast<unsigned char const *>(entries) + i * 8u;
         PvlanEntry e;
         e.primary = getAt<uint16_t>(r, offsetof(VSPvlanMapEntry, primaryVID));
         e.secondary = getAt<uint16_t>(r, offsetof(VSPvlanMapEntry, secondaryVID));
         e.type = getAt<uint8_t>(r, offsetof(VSPvlanMapEntry, pvlanType));
         if (checkVid(e.primary) != HYX_OK || checkVid(e.secondary) != HYX_OK)
            return HYX_LIMIT_EXCEEDED;
         if (e.primary == 0 || e.secondary == 0 || e.type < VSPORT_PVLAN_TYPE_PROMISC ||
             e.type > VSPORT_PVLAN_TYPE_COMMUNITY ||
             (e.type == VSPORT_PVLAN_TYPE_PROMISC) != (e.primary == e.secondary) ||
             seen[e.secondary])
            return HYX_BAD_PARAM;
         seen[e.secondary] = true;
         map.push_back(e);
      }
      vlan().of(sw).pvlanMap = std::move(map);
      for (auto const &port : sw.ports)
         applyVlanSettings(Host::instance(), sw, port);
      return HYX_OK;
   });
}

HYX_ReturnStatus getNestedTagging(char const *switchName, char const *portName,
                                  hyx_Bool *enabled) noexcept {
   if (enabled == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      *enabled = vlan().of(sw).ports[port.index].nestedTagging ? 1 : 0;
      return HYX_OK;
   });
}

HYX_ReturnStatus setNestedTagging(char const *switchName, char const *portName,
                                  hyx_Bool enabled) noexcept {
   bool on = false;
   if (!readBool(enabled, on))
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      vlan().of(sw).ports[port.index].nestedTagging = on;
      applyVlanSettings(Host::instance(), sw, port);
      return HYX_OK;
   });
}

HYX_ReturnStatus getExtraEthFilter(char const *switchName, char const *portName,
                                   VSExtraEthFilter *filter) noexcept {
   if (filter == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      VSExtraEthFilter out;
      memset(&out, 0, sizeof out);
      auto const &f = vlan().of(sw).ports[port.index].extraFilter;
      if (f) {
         out.flags = f->flags;
         out.numMulticastAddrs = static_cast<hyx_uint16>(f->multicastAddrs.size());
         for (size_t i = 0; i < f->multicastAddrs.size(); ++i)
            memcpy(out.multicastAddrs[i], f->multicastAddrs[i].data(), 6);
      }
      memcpy(filter, &out, sizeof out);
      return HYX_OK;
   });
}

HYX_ReturnStatus setExtraEthFilter(char const *switchName, char const *portName,
                                   VSExtraEthFilter const *filter) noexcept {
   if (filter == nullptr)
      return HYX_BAD_PARAM;
   VSExtraEthFilter in;
   memcpy(&in, filter, sizeof in);
   if (in.numMulticastAddrs > VS_ETH_MAX_EXACT_MULTICAST_ADDRS)
      return HYX_LIMIT_EXCEEDED;
   ExtraEthFilter f;
   f.flags = in.flags;
   for (unsigned i = 0; i < in.numMulticastAddrs; ++i) {
      MacAddress a;
      memcpy(a.data(), in.multicastAddrs[i], 6);
      /* Only group addresses: the filter accepts multicast frames. */
      if ((a[0] & 1) == 0)
         return HYX_BAD_PARAM;
      f.multicastAddrs.push_back(a);
   }
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      vlan().of(sw).ports[port.index].extraFilter = std::move(f);
      return HYX_OK;
   });
}

HYX_ReturnStatus clearExtraEthFilter(char const *switchName, char const *portName) noexcept {
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      vlan().of(sw).ports[port.index].extraFilter.reset();
      return HYX_OK;
   });
}

/* The bit of a sink port in the port's private flags. */
constexpr uint64_t kSinkPrivFlag = 0x4;

HYX_ReturnStatus configureSinkPort(char const *switchName, char const *portName,
                                   hyx_Bool enabled) noexcept {
   bool on = false;
   if (!readBool(enabled, on))
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      port.sink = on;
      PortState &p = Host::instance().component<PortsComponent>().of(sw).ports[port.index];
      p.privFlags = on ? (p.privFlags | kSinkPrivFlag) : (p.privFlags & ~kSinkPrivFlag);
      return HYX_OK;
   });
}

HYX_ReturnStatus isSinkPortEnabled(char const *switchName, char const *portName,
                                   hyx_Bool *enabled) noexcept {
   if (enabled == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &, Port &port) {
      *enabled = port.sink ? 1 : 0;
      return HYX_OK;
   });
}

HYX_ReturnStatus getMtu(char const *switchName, hyx_uint32 *mtu) noexcept {
   if (mtu == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      hyx_uint32 value = Host::instance().component<KernelComponent>().of(sw).mtu;
      memcpy(mtu, &value, sizeof value);
      return HYX_OK;
   });
}

HYX_ReturnStatus setMtu(char const *switchName, hyx_uint32 mtu) noexcept {
   if (mtu < VS_MTU_MIN)
      return HYX_BAD_PARAM;
   if (mtu > VS_MTU_MAX)
      return HYX_LIMIT_EXCEEDED;
   return withSwitch(switchName, [&](Switch &sw) {
      Host::instance().component<KernelComponent>().of(sw).mtu = mtu;
      return HYX_OK;
   });
}

HYX_ReturnStatus getRcfType(char const *switchName, int *type) noexcept {
   if (type == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      *type = vlan().of(sw).rcfType;
      return HYX_OK;
   });
}

HYX_ReturnStatus setRcfType(char const *switchName, int type) noexcept {
   if (type != ZEB_RCF_INSN_TYPE_CBPF && type != ZEB_RCF_INSN_TYPE_EBPF)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      vlan().of(sw).rcfType = type;
      return HYX_OK;
   });
}

} // namespace
/* ---- Keyed settings ---- */

/* The private-VLAN map: its VSPvlanMapEntry records, back to back. */
struct PvlanMapKey {
   static HYX_ReturnStatus get(char const *sw, char const *, PropBytes &out) {
      VSPvlanMapEntry *entries = nullptr;
      int count = 0;
      HYX_ReturnStatus status = getPvlanMap(sw, &entries, &count);
      if (status == HYX_OK) {
         putValue(out, entries, static_cast<size_t>(count) * sizeof(VSPvlanMapEntry));
         tessel_sim_block_release(entries);
      }
      return status;
   }
   static HYX_ReturnStatus set(char const *sw, char const *, uint8_t const *value, size_t len) {
      if (len % sizeof(VSPvlanMapEntry) != 0 || len / sizeof(VSPvlanMapEntry) > INT32_MAX)
         return HYX_BAD_PARAM;
      return setPvlanMap(sw, reinterpret_cast<VSPvlanMapEntry const *>(value),
                         static_cast<int>(len / sizeof(VSPvlanMapEntry)));
   }
   static HYX_ReturnStatus clear(char const *sw, char const *) {
      return setPvlanMap(sw, nullptr, 0);
   }
};

/* A port's VLAN policy: a VSPortVlanPolicy header and its numRanges ranges,
 * as the Get call hands them out; the flags bits give guest tagging and the
 * private VLAN. */
struct PortVlanKey {
   static HYX_ReturnStatus get(char const *sw, char const *port, PropBytes &out) {
      VSPortVlanPolicy *policy = nullptr;
      int numRanges = 0;
      HYX_ReturnStatus status = getPortVlanPolicy(sw, port, &policy, &numRanges);
      if (status == HYX_OK) {
         putValue(out, policy,
                  sizeof(VSPortVlanPolicy) +
                      static_cast<size_t>(numRanges) * sizeof(hyx_ZARPortVIDRange));
         tessel_sim_block_release(policy);
      }
      return status;
   }
   static HYX_ReturnStatus set(char const *sw, char const *port, uint8_t const *value, size_t len) {
      if (len < sizeof(VSPortVlanPolicy))
         return HYX_BAD_PARAM;
      uint16_t const flags = getAt<uint16_t>(value, offsetof(VSPortVlanPolicy, flags));
      uint16_t const numRanges = getAt<uint16_t>(value, offsetof(VSPortVlanPolicy, numRanges));
      if (len != sizeof(VSPortVlanPolicy) + numRanges * sizeof(hyx_ZARPortVIDRange))
         return HYX_BAD_PARAM;
      return setPortVlanPolicy(
          sw, port, getAt<uint16_t>(value, offsetof(VSPortVlanPolicy, vlanID)),
          flags & VSPORT_VLAN_SET_PRIORITY, (flags & VSPORT_VLAN_GUEST_TAGGING) ? 1 : 0,
          (flags & VSPORT_VLAN_PVLAN_ENABLED) ? 1 : 0,
          reinterpret_cast<hyx_ZARPortVIDRange const *>(value + sizeof(VSPortVlanPolicy)),
          numRanges);
   }
   static HYX_ReturnStatus clear(char const *sw, char const *port) {
      return clearPortVlanPolicy(sw, port);
   }
};

using MtuKey = SwitchNumber<&getMtu, &setMtu, 1500>;
using RcfKey = SwitchNumber<&getRcfType, &setRcfType, ZEB_RCF_INSN_TYPE_CBPF>;
using NestedTagKey = PortNumber<&getNestedTagging, &setNestedTagging, 0>;

TESSEL_KEYED_SETTING(Mtu, VSPROP_MTU, false, TESSEL_KEYED_BY(MtuKey));
TESSEL_KEYED_SETTING(PvlanMap, VSPROP_PVLAN_MAP, false, TESSEL_KEYED_BY(PvlanMapKey));
TESSEL_KEYED_SETTING(Rcf, VSPROP_RCF_INSN_TYPE, false, TESSEL_KEYED_BY(RcfKey));
TESSEL_KEYED_SETTING(PortVlan, VSPROP_PORT_VLAN, true, TESSEL_KEYED_BY(PortVlanKey));
TESSEL_KEYED_SETTING(NestedTag, VSPROP_PORT_VLAN_NESTEDTAG, true, TESSEL_KEYED_BY(NestedTagKey));

} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPortVLANPolicy,
                (char const *switchName, char const *portName, VSPortVlanPolicy **policy,
                 int *numRanges),
                tessel::getPortVlanPolicy(switchName, portName, policy, numRanges))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPortVLANPolicy,
                (char const *switchName, char const *portName, hyx_uint16 vlanID, int flags,
                 hyx_Bool guestTagging, hyx_Bool pvlan, hyx_ZARPortVIDRange *ranges,
                 hyx_uint16 numRanges),
                tessel::setPortVlanPolicy(switchName, portName, vlanID, flags, guestTagging, pvlan,
                                          ranges, numRanges))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearPortVLANPolicy,
                (char const *switchName, char const *portName),
                tessel::clearPortVlanPolicy(switchName, portName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPrivateVLANMap,
                (char const *switchName, VSPvlanMapEntry **entries, int *count),
                tessel::getPvlanMap(switchName, entries, count))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPrivateVLANMap,
                (char const *switchName, VSPvlanMapEntry const *entries, int count),
                tessel::setPvlanMap(switchName, entries, count))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetPortNestedVLANTagging,
                (char const *switchName, char const *portName, hyx_Bool *enabled),
                tessel::getNestedTagging(switchName, portName, enabled))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetPortNestedVLANTagging,
                (char const *switchName, char const *portName, hyx_Bool enabled),
                tessel::setNestedTagging(switchName, portName, enabled))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetExtraEthFilter,
                (char const *switchName, char const *portName, VSExtraEthFilter *filter),
                tessel::getExtraEthFilter(switchName, portName, filter))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetExtraEthFilter,
                (char const *switchName, char const *portName, VSExtraEthFilter const *filter),
                tessel::setExtraEthFilter(switchName, portName, filter))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearExtraEthFilter,
                (char const *switchName, char const *portName),
                tessel::clearExtraEthFilter(switchName, portName))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ConfigureSinkPort,
                (char const *switchName, char const *portName, hyx_Bool enabled),
                tessel::configureSinkPort(switchName, portName, enabled))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_IsSinkPortEnabled,
                (char const *switchName, char const *portName, hyx_Bool *enabled),
                tessel::isSinkPortEnabled(switchName, portName, enabled))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetMTU, (char const *switchName, hyx_uint32 *mtu),
                tessel::getMtu(switchName, mtu))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetMTU, (char const *switchName, hyx_uint32 mtu),
                tessel::setMtu(switchName, mtu))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetRCFType, (char const *switchName, int *type),
                tessel::getRcfType(switchName, type))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetRCFType, (char const *switchName, zeb_RCFInsnType type),
                tessel::setRcfType(switchName, tessel::rawValue<int>(type)))
