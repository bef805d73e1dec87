#include "ports_model.h"

#include "kernel_model.h"

namespace tessel {

TESSEL_COMPONENT(PortsComponent, "ports", "kernel");

namespace {

/* Traffic figures derived from the port ID; the team side carries more. */
void fillTraffic(Port const &port, PortState &p, bool distributed) {
   uint64_t s = mix(port.id);
   uint64_t scale = port.team() ? 40 : 1;
   uint64_t rx = (20000 + s % 2000000) * scale;
   uint64_t tx = (20000 + (s >> 21) % 2000000) * scale;
   VSStats &st = p.stats;
   st.pktsRx = rx;
   st.pktsRxMulticast = rx / 40;
   st.pktsRxBroadcast = rx / 160;
   st.bytesRx = rx * (300 + (s >> 11) % 900);
   st.bytesRxMulticast = st.pktsRxMulticast * 110;
   st.bytesRxBroadcast = st.pktsRxBroadcast * 64;
   st.pktsTx = tx;
   st.pktsTxMulticast = tx / 50;
   st.pktsTxBroadcast = tx / 200;
   st.bytesTx = tx * (200 + (s >> 33) % 1100);
   st.bytesTxMulticast = st.pktsTxMulticast * 120;
   st.bytesTxBroadcast = st.pktsTxBroadcast * 64;
   st.droppedRx = (s >> 7) % 23;
   st.droppedTx = (s >> 13) % 7;

   VSPortCounters &c = p.counters;
   c.dispatchDataSlabErrors = (s >> 40) % 3;
   c.errCtrs.brBcastPktCloneErr = (s >> 44) % 2;
   c.errCtrs.brBridgeLENotFound = (s >> 50) % 5;
   uint64_t known = tx - st.pktsTxMulticast - st.pktsTxBroadcast - tx / 500;
   (p.vni != 0 ? c.infoCtrs.brKnownUnicastOverlay : c.infoCtrs.brKnownUnicastVlan) = known;
   c.infoCtrs.brUnkownUnicast = tx / 500;
   c.infoCtrs.brBcast = st.pktsTxBroadcast;
   c.infoCtrs.brMcast = st.pktsTxMulticast;
   if (port.team() && distributed)
      c.infoCtrs.brBcastOverlayUplink = st.pktsRxBroadcast / 3;
   c.infoCtrs.loopBackPktDropCnt = (s >> 56) % 4;
   if (!port.team()) {
      p.rarpSent = 3;
      p.rarpTime = 30 + static_cast<uint32_t>((s >> 47) % 90);
   }
}

/* A multicast address derived from the low three bytes of a unicast one:
 * the solicited-node group of an IPv6 host. */
MacAddress solicitedNode(MacAddress const &mac) {
   return {0x33, 0x33, 0xff, mac[3], mac[4], mac[5]};
}

PortState portState(Port const &port, Settings &in, bool distributed, bool assocMacFilter) {
   PortState p;
   bool const team = port.team();
   p.vlan = in.number<uint16_t>("vlan", 0, kTrunkVlan);
   p.vni = in.number<uint32_t>("vni", 0);
   p.defaultVid = p.vni != 0 ? 0 : p.vlan;
   p.primaryVid = p.defaultVid;
   if (team || p.vlan == kTrunkVlan)
      p.vlanFlags = VS_VLAN_TP_FLAG_TAGGED_INPUT | VS_VLAN_TP_FLAG_TAGGED_OUTPUT;
   if (team)
      p.vlanFlags |= VS_VLAN_TP_FLAG_FILTER_ON_VIDS;
   else if (p.vlan == kTrunkVlan)
      p.vlanFlags |= VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG;
   else if (p.vlan != 0)
      p.vlanFlags |= VS_VLAN_TP_FLAG_OVERWRITE_VID;
   if (p.vni != 0)
      p.vlanFlags |= VS_VLAN_TP_FLAG_TRUNK_VLAN_OVERLAY;
   p.vlanStatsEnabled = distributed;

   /* A service VM's filter keeps its associated addresses without aging. */
   bool const staticAging = in.flag("assocMacFilterStaticAging", false);
   if (port.clientType == VS_PORT_CLIENT_VNIC && assocMacFilter) {
      p.assocMacFilterEnabled = true;
      p.assocMacFilterStaticAging = staticAging;
      p.assocMacFilterQueueFeatures = 0x3;
   }
   p.ensSeqNo = distributed ? 1 + mix(port.id ^ 0x5A5A) % 5000 : 0;
   p.privFlags = (team ? 0x1u : 0u) | (port.sink ? 0x4u : 0u) |
                 (port.clientType == VS_PORT_CLIENT_TCPIP ? 0x2u : 0u);
   if (!team) {
      p.multicastAddrs = {{0x01, 0x00, 0x5e, 0x00, 0x00, 0x01}, {0x33, 0x33, 0, 0, 0, 0x01}};
      if (port.clientType == VS_PORT_CLIENT_TCPIP) {
         p.multicastAddrs.push_back({0x01, 0x00, 0x5e, 0x00, 0x00, 0xfb});
         p.multicastAddrs.push_back(solicitedNode(port.mac));
         p.subnetConnectedVlan = p.defaultVid;
      }
   }
   fillTraffic(port, p, distributed);
   return p;
}

} // namespace

void PortsComponent::addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) {
   bool const assocMacFilter = host.component<KernelComponent>().of(sw).assocMacFilter;
   PortsState state;
   state.ports.reserve(sw.ports.size());
   for (auto const &port : sw.ports)
      state.ports.push_back(
          portState(port, *settings.onPorts[port.index], sw.distributed, assocMacFilter));
   switches_.push_back(std::move(state));
}

} // namespace tessel
