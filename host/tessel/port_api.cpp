/* The exported port-information functions of libtessel.so, the switch's
 * reverse-ARP statistics and the control call that adds a large switch.
 *
 * Like the other exported functions, each is a shell whose first statement
 * is the entry check; the work is done by a noexcept implementation. */
#include <string.h>

#include "api_support.h"
#include "hostapi/kernel.h"
#include "hostapi/ports.h"
#include "tessel_sim.h"

namespace tessel {
namespace {

/* Writes the whole 1685-byte record of port p at dst. */
void fillPortInfo(Port const &p, unsigned char *dst) {
   memset(dst, 0, sizeof(VSPortInfo));
   putAt<hyx_uint32>(dst, offsetof(VSPortInfo, portIdx), p.index);
   /* The model keeps every text shorter than its field, so the zero fill
    * terminates it. */
   memcpy(dst + offsetof(VSPortInfo, clientName), p.clientName.data(), p.clientName.size());
   putAt<int32_t>(dst, offsetof(VSPortInfo, clientType), p.clientType);
   memcpy(dst + offsetof(VSPortInfo, fixedHwID), p.mac.data(), p.mac.size());
   memcpy(dst + offsetof(VSPortInfo, dvPortId), p.dvPortId.data(), p.dvPortId.size());

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
   putAt<hyx_SwitchPortID>(dst, offsetof(VSPortInfo, portID), p.id);
   putAt<hyx_uint32>(dst, offsetof(VSPortInfo, multicastGrpNum), p.multicastGroups);
   putAt(dst, offsetof(VSPortInfo, portCounters), p.counters);
   putAt<hyx_VlanID>(dst, offsetof(VSPortInfo, subnetConnectedVlan), p.subnetConnectedVlan);
   putAt<hyx_Bool>(dst, offsetof(VSPortInfo, subnetVlanEncap), p.subnetVlanEncap ? 1 : 0);
}

HYX_ReturnStatus getPortInfo(char const *switchName, char const *portName,
                             VSPortInfo **info) noexcept {
   if (info == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](VirtualSwitch &, Port &port) -> HYX_ReturnStatus {
      auto *block = static_cast<unsigned char *>(tessel_sim_block_alloc(sizeof(VSPortInfo)));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      fillPortInfo(port, block);
      *info = reinterpret_cast<VSPortInfo *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus getSwitchPortInfo(char const *switchName, VSSwitchPortInfo **table) noexcept {
   return handOutPortTable(
       switchName, sizeof(VSPortInfo),
       [](VirtualSwitch const &, Port const &p, unsigned char *dst) { fillPortInfo(p, dst); },
       table);
}

HYX_ReturnStatus getSwitchInfo(char const *switchName, VSInfo **info) noexcept {
   if (info == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](VirtualSwitch &sw) -> HYX_ReturnStatus {
      auto *block = static_cast<VSInfo *>(tessel_sim_block_alloc(sizeof(VSInfo)));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      fillSwitchInfo(sw, block);
      *info = block;
      return HYX_OK;
   });
}

/* The announcements the switch sent when its ports connected: how many, the
 * longest for one port and the total time. */
HYX_ReturnStatus getRARPStats(char const *switchName, VSRARPStats *stats) noexcept {
   if (stats == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](VirtualSwitch &sw) {
      VSRARPStats out;
      memset(&out, 0, sizeof out);
      for (auto const &p : sw.ports) {
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

extern "C" {

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetPortInfo(char const *switchName, char const *portName,
                                                      VSPortInfo **info) {
   TESSEL_SIM_ENTRY("VSHYX_GetPortInfo");
   return tessel::getPortInfo(switchName, portName, info);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetSwitchPortInfo(char const *switchName,
                                                            VSSwitchPortInfo **table) {
   TESSEL_SIM_ENTRY("VSHYX_GetSwitchPortInfo");
   return tessel::getSwitchPortInfo(switchName, table);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetSwitchInfo(char const *switchName, VSInfo **info) {
   TESSEL_SIM_ENTRY("VSHYX_GetSwitchInfo");
   return tessel::getSwitchInfo(switchName, info);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetRARPStats(char const *switchName, VSRARPStats *stats) {
   TESSEL_SIM_ENTRY("VSHYX_GetRARPStats");
   return tessel::getRARPStats(switchName, stats);
}

TESSEL_HOST_EXPORT int tessel_sim_add_switch(char const *name, unsigned ports,
                                             unsigned learnedMacs) {
   if (name == nullptr || name[0] == '\0')
      return -1;
   try {
      tessel::SwitchModel::instance().addScaled(name, ports, learnedMacs);
      return 0;
   } catch (...) {
      return -1;
   }
}

} // extern "C"
