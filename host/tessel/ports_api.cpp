/* The exported port-information functions of libtessel.so: single ports,
 * the switch's port table and allocated summary, and its reverse-ARP
 * statistics. */
#include <string.h>

#include "api_support.h"
#include "kernel_model.h"
#include "ports_model.h"

namespace tessel {
namespace {

/* Writes the whole 1685-byte record of port at dst. */
void fillPortInfo(Port const &port, PortState const &p, unsigned char *dst) {
   memset(dst, 0, sizeof(VSPortInfo));
   putAt<hyx_uint32>(dst, offsetof(VSPortInfo, portIdx), port.index);
   /* Every text is shorter than its field, so the zero fill terminates it. */
   memcpy(dst + offsetof(VSPortInfo, clientName), port.clientName.data(), port.clientName.size());
   putAt<int32_t>(dst, offsetof(VSPortInfo, clientType), port.clientType);
   memcpy(dst + offsetof(VSPortInfo, fixedHwID), port.mac.data(), port.mac.size());
   memcpy(dst + offsetof(VSPortInfo, dvPortId), port.dvPortId.data(), port.dvPortId.size());

   VSPortInfo_ethFrpAccepted accepted;
   memset(&accepted, 0, sizeof accepted);
   accepted.numMulticastAddrs = static_cast<hyx_uint16>(p.multicastAddrs.size());
   for (size_t i = 0; i < p.multicastAddrs.size(); ++i)
      memcpy(accepted.multicastAddrs[i], p.multicastAddrs[i].data(), 6);
   putAt(dst, offsetof(VSPortInfo, ethFrpAccepted), accepted);

   putAt(dst, offsetof(VSPortInfo, stats), p.stats);

   VSPortInfo_vlan vlan;
   memset(&vlan, 0, sizeof vlan);
   vlan.defaultVID = p.defaultVid;
   vlan.primaryVID = p.primaryVid;
   vlan.flags = static_cast<VSVlanTPFlags>(p.vlanFlags);
   vlan.statsEnabled = p.vlanStatsEnabled ? 1 : 0;
   putAt(dst, offsetof(VSPortInfo, vlan), vlan);

   putAt<hyx_Bool>(dst, offsetof(VSPortInfo, isAssocMACFilterEnabled),
                   p.assocMacFilterEnabled ? 1 : 0);
   putAt<hyx_Bool>(dst, offsetof(VSPortInfo, isAssocMACFilterStaticAging),
                   p.assocMacFilterStaticAging ? 1 : 0);
   putAt<int32_t>(dst, offsetof(VSPortInfo, assocMACFilterQueueFeatures),
                  p.assocMacFilterQueueFeatures);
   putAt<hyx_uint64>(dst, offsetof(VSPortInfo, ensSeqNo), p.ensSeqNo);
   putAt<hyx_uint64>(dst, offsetof(VSPortInfo, privFlags), p.privFlags);
   putAt<hyx_SwitchPortID>(dst, offsetof(VSPortInfo, portID), port.id);
   putAt<hyx_uint32>(dst, offsetof(VSPortInfo, multicastGrpNum),
                     static_cast<uint32_t>(p.multicastAddrs.size()));
   putAt(dst, offsetof(VSPortInfo, portCounters), p.counters);
   putAt<hyx_VlanID>(dst, offsetof(VSPortInfo, subnetConnectedVlan), p.subnetConnectedVlan);
   putAt<hyx_Bool>(dst, offsetof(VSPortInfo, subnetVlanEncap), p.subnetVlanEncap ? 1 : 0);
}

HYX_ReturnStatus getPortInfo(char const *switchName, char const *portName,
                             VSPortInfo **info) noexcept {
   if (info == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) -> HYX_ReturnStatus {
      auto *block = static_cast<unsigned char *>(tessel_sim_block_alloc(sizeof(VSPortInfo)));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      fillPortInfo(port, Host::instance().component<PortsComponent>().of(sw, port), block);
      *info = reinterpret_cast<VSPortInfo *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus getSwitchPortInfo(char const *switchName, VSSwitchPortInfo **table) noexcept {
   return handOutPortTable(
       switchName, sizeof(VSPortInfo),
       [](Switch const &sw, Port const &port, unsigned char *dst) {
          fillPortInfo(port, Host::instance().component<PortsComponent>().of(sw, port), dst);
       },
       table);
}

HYX_ReturnStatus getSwitchInfo(char const *switchName, VSInfo **info) noexcept {
   if (info == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      auto *block = static_cast<VSInfo *>(tessel_sim_block_alloc(sizeof(VSInfo)));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      fillSwitchInfo(Host::instance(), sw, block);
      *info = block;
      return HYX_OK;
   });
}

/* The announcements the switch sent when its ports connected: how many, the
 * longest for one port and the total time. */
HYX_ReturnStatus getRARPStats(char const *switchName, VSRARPStats *stats) noexcept {
   if (stats == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      VSRARPStats out;
      memset(&out, 0, sizeof out);
      for (auto const &p : Host::instance().component<PortsComponent>().of(sw).ports) {
         out.rarpPktsSent += p.rarpSent;
         if (p.rarpTime > out.maxRARPTime)
            out.maxRARPTime = p.rarpTime;
         out.rarpTime += p.rarpTime;
      }
      memcpy(stats, &out, sizeof out);
      return HYX_OK;
   });
}

} // namespace
} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetPortInfo,
                (char const *switchName, char const *portName, VSPortInfo **info),
                tessel::getPortInfo(switchName, portName, info))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetSwitchPortInfo,
                (char const *switchName, VSSwitchPortInfo **table),
                tessel::getSwitchPortInfo(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetSwitchInfo, (char const *switchName, VSInfo **info),
                tessel::getSwitchInfo(switchName, info))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetRARPStats, (char const *switchName, VSRARPStats *stats),
                tessel::getRARPStats(switchName, stats))
