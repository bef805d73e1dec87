#include "mac_model.h"

#include "ports_model.h"

namespace tessel {

TESSEL_COMPONENT(MacComponent, "mac", "ports");

namespace {

MacAddress learnedMac(uint32_t ordinal, uint32_t serial) {
   return {0x0a,
           static_cast<uint8_t>(ordinal),
           static_cast<uint8_t>(serial >> 24),
           static_cast<uint8_t>(serial >> 16),
           static_cast<uint8_t>(serial >> 8),
           static_cast<uint8_t>(serial)};
}

std::optional<uint32_t> agingTimeSetting(Settings &in) {
   auto value = in.optionalNumber<uint32_t>("agingTime");
   if (value && checkAgingTime(*value) != HYX_OK)
      in.fail("an aging time is 1 to " + std::to_string(VS_MAC_LEARNING_AGING_TIME_MAX) +
                  " seconds",
              "agingTime");
   return value;
}

std::optional<uint32_t> macLimitSetting(Settings &in) {
   auto value = in.optionalNumber<uint32_t>("macLimit");
   if (value && checkSwitchMacLimit(*value) != HYX_OK)
      in.fail("a MAC limit is 1 to " + std::to_string(VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED),
              "macLimit");
   return value;
}

PortLearning portLearning(Port const &port, PortState const &info, Settings &in, bool distributed) {
   PortLearning p;
   p.learning = in.flag("learning", true);
   p.flooding = in.flag("flooding", true);
   p.macLimit = in.number<uint32_t>("macLimit", p.macLimit, VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX);
   p.macLimitPolicy = in.choice<int32_t>("macLimitPolicy",
                                         {{"allow", VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW},
                                          {"drop", VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP}},
                                         VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW);
   p.securityFlags = distributed ? kSecurityFlagsAll : VSPORT_SECURITY_DISALLOW_PROMISC;
   if (auto disallow = in.texts("disallow")) {
      p.securityFlags = 0;
      for (auto const &name : *disallow) {
         if (name == "promisc")
            p.securityFlags |= VSPORT_SECURITY_DISALLOW_PROMISC;
         else if (name == "macChange")
            p.securityFlags |= VSPORT_SECURITY_DISALLOW_MAC_CHANGE;
         else if (name == "forgedSrc")
            p.securityFlags |= VSPORT_SECURITY_DISALLOW_FORGED_SRC;
         else
            in.fail("\"" + name + "\" is none of promisc, macChange, forgedSrc", "disallow");
      }
   }

   /* Figures derived from the port ID, like its traffic. */
   uint64_t s = mix(port.id);
   p.unicastRpfDroppedPkts = port.team() ? 0 : static_cast<uint32_t>((s >> 3) % 11);
   p.noLearningAllowedPkts = (s >> 17) % 300;
   p.noLearningDroppedPkts = in.number<uint64_t>("noLearningDroppedPkts",
                                                 derivedNoLearningDropped(port, p.macLimitPolicy));
   p.macsMoved = (s >> 29) % 4;
   p.allowedPktsWithPortLimit = port.team() ? 100 + (s >> 37) % 1000 : 0;
   p.cacheSrcHits = info.stats.pktsRx / 3;
   p.cacheDstHits = info.stats.pktsTx / 4;
   return p;
}

/* The STATIC entry of a port's own address. */
MacRecord ownEntry(Port const &port, PortState const &info, uint32_t clock) {
   MacRecord own;
   own.key = {port.mac, info.entryVid(), info.vni};
   own.port = port.index;
   own.kind = kMacStatic;
   own.elapsed = static_cast<uint32_t>(mix(port.id ^ 0x5A5A) % 86400);
   own.timestamp = clock - own.elapsed;
   own.rarpTxTimestamp = own.timestamp + 1;
   own.refCount = 1;
   own.pktsRx = info.stats.pktsTx;
   own.bytesRx = info.stats.bytesTx;
   own.pktsTx = info.stats.pktsRx;
   own.bytesTx = info.stats.bytesRx;
   return own;
}

MacRecord learnedEntry(Port const &port, uint32_t n, MacKey const &key, uint32_t clock) {
   uint64_t r = mix((static_cast<uint64_t>(port.id) << 20) ^ n);
   MacRecord learned;
   learned.key = key;
   learned.port = port.index;
   learned.kind = kMacLearned;
   learned.elapsed = static_cast<uint32_t>(r % 300);
   learned.macMove = static_cast<uint32_t>((r >> 9) % 3);
   learned.timestamp = clock - learned.elapsed;
   learned.pktsRx = 10 + (r >> 12) % 50000;
   learned.bytesRx = learned.pktsRx * (64 + (r >> 30) % 1400);
   learned.pktsTx = 10 + (r >> 40) % 50000;
   learned.bytesTx = learned.pktsTx * (64 + (r >> 52) % 1400);
   return learned;
}

/* The switch's table: each port's own address (team ports have none) and
 * learned entries, in port order, then the topology's entries.  Team ports
 * learn addresses on the segments of the other ports, in turn. */
void fillTable(Switch const &sw, PortsState const &info, SwitchSettings &settings,
               std::vector<uint32_t> const &learned, MacState &state, uint32_t clock) {
   std::vector<std::pair<uint16_t, uint32_t>> segments;
   for (auto const &port : sw.ports) {
      PortState const &p = info.ports[port.index];
      std::pair<uint16_t, uint32_t> segment{p.entryVid(), p.vni};
      if (!port.team() && (segments.empty() || segments.back() != segment))
         segments.push_back(segment);
   }
   if (segments.empty())
      segments.emplace_back(0, 0);

   uint32_t serial = 0;
   size_t teamSegment = 0;
   for (auto const &port : sw.ports) {
      PortState const &p = info.ports[port.index];
      if (!port.team())
         state.macs.put(ownEntry(port, p, clock));
      for (uint32_t n = 0; n < learned[port.index]; ++n) {
         auto const &segment = port.team() ? segments[teamSegment++ % segments.size()]
                                           : std::make_pair(p.entryVid(), p.vni);
         state.macs.put(learnedEntry(
             port, n, {learnedMac(sw.ordinal, serial++), segment.first, segment.second}, clock));
      }
   }

   for (Settings *entry : settings.onSwitch.list("entries")) {
      auto const [port, address] = entryPlace(sw, *entry);
      uint16_t const vid = entry->number<uint16_t>("vid", 0, VS_VLAN_ID_COUNT - 1);
      MacRecord user;
      user.key = {*address, vid, entry->number<uint32_t>("vni", 0)};
      user.port = port->index;
      user.kind =
          entry->choice<MacKind>("type", {{"user", kMacUser}, {"static", kMacStatic}}, kMacUser);
      user.elapsed = 3600;
      user.timestamp = clock - user.elapsed;
      if (state.macs.find(user.key) != nullptr)
         entry->fail("the switch has an entry of this address, VLAN and network already",
                     "address");
      state.macs.put(user);
   }
}

} // namespace

uint64_t derivedNoLearningDropped(Port const &port, int32_t macLimitPolicy) {
   return macLimitPolicy == VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP ? 1 + (mix(port.id) >> 23) % 50
                                                                  : 0;
}

HYX_ReturnStatus checkAgingTime(uint32_t agingTime) {
   if (agingTime == 0)
      return HYX_BAD_PARAM;
   return agingTime > VS_MAC_LEARNING_AGING_TIME_MAX ? HYX_LIMIT_EXCEEDED : HYX_OK;
}

HYX_ReturnStatus checkSwitchMacLimit(uint32_t macLimit) {
   if (macLimit == 0)
      return HYX_BAD_PARAM;
   return macLimit > VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED ? HYX_LIMIT_EXCEEDED : HYX_OK;
}

void MacComponent::fillHost(Settings &in) {
   host_.agingTime = agingTimeSetting(in).value_or(host_.agingTime);
   host_.macLimit = macLimitSetting(in).value_or(host_.macLimit);
   host_.learnStatic = in.flag("learnStatic", host_.learnStatic);
   host_.staticMacAllow = in.flag("staticMacAllow", host_.staticMacAllow);
}

std::pair<Port const *, std::optional<MacAddress>> entryPlace(Switch const &sw, Settings &entry) {
   std::string const portName = entry.text("port", "");
   Port const *port = sw.findPort(portName.c_str());
   if (port == nullptr)
      entry.fail("no port " + portName + " on the switch", "port");
   auto const address = entry.address("address");
   if (!address || *address == MacAddress{})
      entry.fail("an entry needs an address other than 00:00:00:00:00:00", "address");
   return {port, address};
}

void MacComponent::removePort(Host &host, Switch const &sw, uint32_t index) {
   ComponentOf<MacState>::removePort(host, sw, index);
   of(sw).macs.dropPort(index);
}

void MacComponent::addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) {
   Settings &in = settings.onSwitch;
   PortsState const &info = host.component<PortsComponent>().of(sw);
   MacState state;
   state.agingTime = agingTimeSetting(in);
   state.macLimit = macLimitSetting(in);
   state.learnStatic = in.optionalFlag("learnStatic");
   state.staticMacAllow = in.optionalFlag("staticMacAllow");
   state.teamLearning = in.flag("teamLearning", kTeamLearningDefault);
   state.overlayCaching = in.flag("overlayCaching", kOverlayCachingDefault);

   std::vector<uint32_t> learned;
   learned.reserve(sw.ports.size());
   state.ports.reserve(sw.ports.size());
   uint64_t total = 0;
   for (auto const &port : sw.ports) {
      Settings &p = *settings.onPorts[port.index];
      learned.push_back(p.number<uint32_t>("learned", 0, VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX));
      total += learned.back();
      state.ports.push_back(portLearning(port, info.ports[port.index], p, sw.distributed));
   }
   if (total > VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED)
      in.fail("the ports learn more than " + std::to_string(VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED) +
              " addresses");
   if (in.has("table")) {
      /* The exact table of a dump: nothing is derived. */
      for (auto const &port : sw.ports)
         if (learned[port.index] != 0)
            settings.onPorts[port.index]->fail("the switch's table lists every entry", "learned");
      if (in.has("entries"))
         in.fail("the switch's table lists every entry", "entries");
      readMacTable(sw, in, state.macs);
   } else {
      state.macs.reserve(sw.ports.size() + total);
      fillTable(sw, info, settings, learned, state, host.now());
   }
   switches_.push_back(std::move(state));
}

uint32_t MacComponent::agingTime(Switch const &sw) const {
   return of(sw).agingTime.value_or(host_.agingTime);
}

uint32_t MacComponent::macLimit(Switch const &sw) const {
   return of(sw).macLimit.value_or(host_.macLimit);
}

bool MacComponent::learnStatic(Switch const &sw) const {
   return of(sw).learnStatic.value_or(host_.learnStatic);
}

bool MacComponent::staticMacAllow(Switch const &sw) const {
   return of(sw).staticMacAllow.value_or(host_.staticMacAllow);
}

bool MacComponent::reported(Switch const &sw, MacRecord const &record) const {
   if (record.kind != kMacLearned)
      return true;
   MacState const &state = of(sw);
   return state.ports[record.port].learning &&
          (!sw.ports[record.port].team() || state.teamLearning);
}

uint32_t MacComponent::learnedOn(Switch const &sw, Port const &port) const {
   MacState const &state = of(sw);
   if (!state.ports[port.index].learning || (port.team() && !state.teamLearning))
      return 0;
   return state.macs.counts(port.index).learned;
}

} // namespace tessel
