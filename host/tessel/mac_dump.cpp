/* The mac subsystem's state as topology settings: the host-wide learning
 * properties, each switch's own settings and its whole MAC table, each
 * port's learning and security settings. */
#include "dump_support.h"
#include "mac_model.h"

namespace tessel {

namespace {

char const *kindName(MacKind kind) {
   return kind == kMacStatic ? "static" : kind == kMacUser ? "user" : "learned";
}

json tableEntry(Switch const &sw, MacRecord const &r) {
   json e = {{"port", sw.ports[r.port].clientName},
             {"address", macText(r.key.mac)},
             {"type", kindName(r.kind)}};
   putUnlessDefault(e, "vid", r.key.vid, 0);
   putUnlessDefault(e, "vni", r.key.vni, 0u);
   putUnlessDefault(e, "overrides", r.overrides, false);
   putUnlessDefault(e, "elapsed", r.elapsed, 0u);
   putUnlessDefault(e, "macMove", r.macMove, 0u);
   putUnlessDefault(e, "refCount", r.refCount, 1u);
   putUnlessDefault(e, "timestamp", r.timestamp, 0u);
   putUnlessDefault(e, "rarpTxTimestamp", r.rarpTxTimestamp, 0u);
   putUnlessDefault(e, "pktsRx", r.pktsRx, 0u);
   putUnlessDefault(e, "bytesRx", r.bytesRx, 0u);
   putUnlessDefault(e, "pktsTx", r.pktsTx, 0u);
   putUnlessDefault(e, "bytesTx", r.bytesTx, 0u);
   return e;
}

} // namespace

void readMacTable(Switch const &sw, Settings &in, MacTable &table) {
   for (Settings *entry : in.list("table")) {
      auto const [port, address] = entryPlace(sw, *entry);
      MacRecord r;
      r.key = {*address, entry->number<uint16_t>("vid", 0, VS_VLAN_ID_COUNT - 1),
               entry->number<uint32_t>("vni", 0)};
      r.port = port->index;
      r.kind = entry->choice<MacKind>(
          "type", {{"static", kMacStatic}, {"user", kMacUser}, {"learned", kMacLearned}},
          kMacLearned);
      r.overrides = entry->flag("overrides", false);
      r.elapsed = entry->number<uint32_t>("elapsed", 0);
      r.macMove = entry->number<uint32_t>("macMove", 0);
      r.refCount = entry->number<uint32_t>("refCount", 1);
      r.timestamp = entry->number<uint32_t>("timestamp", 0);
      r.rarpTxTimestamp = entry->number<uint32_t>("rarpTxTimestamp", 0);
      r.pktsRx = entry->number<uint64_t>("pktsRx", 0);
      r.bytesRx = entry->number<uint64_t>("bytesRx", 0);
      r.pktsTx = entry->number<uint64_t>("pktsTx", 0);
      r.bytesTx = entry->number<uint64_t>("bytesTx", 0);
      if (table.find(r.key) != nullptr)
         entry->fail("the table has an entry of this address, VLAN and network already", "address");
      table.put(r);
   }
}

void MacComponent::dumpHost(json &out) const {
   out["agingTime"] = host_.agingTime;
   out["macLimit"] = host_.macLimit;
   out["learnStatic"] = host_.learnStatic;
   out["staticMacAllow"] = host_.staticMacAllow;
}

void MacComponent::dumpSwitch(Host const &, Switch const &sw, json &out,
                              std::vector<json> &onPorts) const {
   MacState const &state = of(sw);
   if (state.agingTime)
      out["agingTime"] = *state.agingTime;
   if (state.macLimit)
      out["macLimit"] = *state.macLimit;
   if (state.learnStatic)
      out["learnStatic"] = *state.learnStatic;
   if (state.staticMacAllow)
      out["staticMacAllow"] = *state.staticMacAllow;
   putUnlessDefault(out, "teamLearning", state.teamLearning, kTeamLearningDefault);
   putUnlessDefault(out, "overlayCaching", state.overlayCaching, kOverlayCachingDefault);
   json table = json::array();
   for (auto const &r : state.macs.records())
      table.push_back(tableEntry(sw, r));
   out["table"] = std::move(table);

   for (auto const &port : sw.ports) {
      PortLearning const &p = state.ports[port.index];
      json &o = onPorts[port.index];
      putUnlessDefault(o, "learning", p.learning, true);
      putUnlessDefault(o, "flooding", p.flooding, true);
      putUnlessDefault(o, "macLimit", p.macLimit,
                       uint32_t{VSPORT_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT});
      o["macLimitPolicy"] =
          p.macLimitPolicy == VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP ? "drop" : "allow";
      json disallow = json::array();
      if (p.securityFlags & VSPORT_SECURITY_DISALLOW_PROMISC)
         disallow.push_back("promisc");
      if (p.securityFlags & VSPORT_SECURITY_DISALLOW_MAC_CHANGE)
         disallow.push_back("macChange");
      if (p.securityFlags & VSPORT_SECURITY_DISALLOW_FORGED_SRC)
         disallow.push_back("forgedSrc");
      o["disallow"] = std::move(disallow);
      putUnlessDefault(o, "noLearningDroppedPkts", p.noLearningDroppedPkts,
                       derivedNoLearningDropped(port, p.macLimitPolicy));
   }
}

} // namespace tessel
