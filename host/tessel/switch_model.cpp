#include "switch_model.h"

#include <stdio.h>
#include <string.h>

#include <stdexcept>
#include <unordered_set>
#include <utility>

#include "sim_internal.h"

namespace tessel {

namespace {

/* Stores value at a byte offset of the packed record; the record's fields are
 * unaligned, so they are written by copy, never through a typed pointer. */
template <typename T> void put(VSInfo *info, size_t offset, T value) {
   memcpy(reinterpret_cast<char *>(info) + offset, &value, sizeof value);
}

#define PUT_FIELD(info, field, value)                                                              \
   put<decltype(VSInfo::field)>(info, offsetof(VSInfo, field), value)

/* add() keeps every text shorter than its field, so the record's zero fill
 * terminates it. */
void putText(VSInfo *info, size_t offset, std::string const &text) {
   memcpy(reinterpret_cast<char *>(info) + offset, text.data(), text.size());
}

void requireFits(std::string const &text, size_t width, char const *what) {
   if (text.size() >= width || text.find('\0') != std::string::npos)
      throw std::invalid_argument(std::string(what) + " does not fit its host field");
}

void require(bool condition, char const *what) {
   if (!condition)
      throw std::invalid_argument(what);
}

/* Port IDs are looked up from decimal text, so a client name must never read
 * as one. */
bool allDigits(std::string const &text) {
   for (char c : text) {
      if (c < '0' || c > '9')
         return false;
   }
   return true;
}

void resetHook() {
   try {
      SwitchModel::reset();
   } catch (std::exception const &e) {
      fprintf(stderr, "libtessel: switch model not restored: %s\n", e.what());
   }
}

/* Builds the model when the library is loaded and lets tessel_sim_reset
 * restore it. */
struct LoadTimeSetup {
   LoadTimeSetup() {
      SwitchModel::instance();
      tessel_sim_add_reset_hook(resetHook);
   }
   ~LoadTimeSetup() { tessel_sim_remove_reset_hook(resetHook); }
} g_loadTimeSetup;

/* ---- Building switches ----
 *
 * Figures are derived from the port ID through a fixed mixing function, so
 * the host reports the same plausible values in every run. */

uint64_t mix(uint64_t x) {
   x += 0x9E3779B97F4A7C15ull;
   x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
   x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
   return x ^ (x >> 31);
}

/* Port traits beyond name, type and segment. */
enum PortTrait : unsigned {
   kSinkPort = 1u << 0,
   kServicePort = 1u << 1,
   /* A small MAC limit that drops frames from further addresses. */
   kLimitedPort = 1u << 2,
   kNoLearning = 1u << 3,
};

struct PortPlan {
   std::string name;
   int32_t type;
   /* 4095 for a trunk of every VLAN. */
   uint16_t vlan;
   uint32_t vni;
   uint32_t learned;
   unsigned traits;
};

constexpr uint16_t kTrunkVlan = 4095;
constexpr uint32_t kLimitedPortMacs = 64;
constexpr uint32_t kMaxScaledPorts = 65536;
/* Port IDs are (switch ordinal + 2) << 24 plus the port number. */
constexpr size_t kMaxSwitches = 64;

MacAddress portMac(uint8_t ordinal, uint32_t index, bool team) {
   return {0x02,
           static_cast<uint8_t>(team ? 0x1b : 0x50),
           ordinal,
           static_cast<uint8_t>(index >> 16),
           static_cast<uint8_t>(index >> 8),
           static_cast<uint8_t>(index)};
}

MacAddress learnedMac(uint8_t ordinal, uint32_t serial) {
   return {0x0a,
           ordinal,
           static_cast<uint8_t>(serial >> 24),
           static_cast<uint8_t>(serial >> 16),
           static_cast<uint8_t>(serial >> 8),
           static_cast<uint8_t>(serial)};
}

void fillTraffic(Port &p, bool distributed) {
   uint64_t s = mix(p.id);
   uint64_t scale = p.team() ? 40 : 1;
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
   if (p.team() && distributed)
      c.infoCtrs.brBcastOverlayUplink = st.pktsRxBroadcast / 3;
   c.infoCtrs.loopBackPktDropCnt = (s >> 56) % 4;

   p.unicastRpfDroppedPkts = p.team() ? 0 : static_cast<uint32_t>((s >> 3) % 11);
   p.noLearningAllowedPkts = (s >> 17) % 300;
   p.noLearningDroppedPkts =
       p.macLimitPolicy == VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP ? 1 + (s >> 23) % 50 : 0;
   p.macsMoved = (s >> 29) % 4;
   p.allowedPktsWithPortLimit = p.team() ? 100 + (s >> 37) % 1000 : 0;
   p.cacheSrcHits = rx / 3;
   p.cacheDstHits = tx / 4;
   if (!p.team()) {
      p.rarpSent = 3;
      p.rarpTime = 30 + static_cast<uint32_t>((s >> 47) % 90);
   }
}

/* A multicast address derived from the low three bytes of a unicast one:
 * the solicited-node group of an IPv6 host. */
MacAddress solicitedNode(MacAddress const &mac) {
   return {0x33, 0x33, 0xff, mac[3], mac[4], mac[5]};
}

/* Adds the ports of plans to sw with their own (STATIC) entries and their
 * learned ones.  Team ports learn addresses on the segments of the other
 * ports. */
void addPorts(VirtualSwitch &sw, uint8_t ordinal, std::vector<PortPlan> const &plans,
              uint32_t clock) {
   uint32_t const idBase = (static_cast<uint32_t>(ordinal) + 2) << 24;
   std::vector<std::pair<uint16_t, uint32_t>> segments;
   for (auto const &plan : plans) {
      bool team = plan.type == VS_PORT_CLIENT_UPLINK || plan.type == VS_PORT_CLIENT_LAG;
      uint16_t vid = plan.vni != 0 || plan.vlan == kTrunkVlan ? 0 : plan.vlan;
      if (!team && (segments.empty() || segments.back() != std::make_pair(vid, plan.vni)))
         segments.emplace_back(vid, plan.vni);
   }
   if (segments.empty())
      segments.emplace_back(0, 0);

   uint32_t serial = 0;
   size_t teamSegment = 0;
   sw.ports.reserve(sw.ports.size() + plans.size());
   for (auto const &plan : plans) {
      Port p;
      p.index = static_cast<uint32_t>(sw.ports.size());
      p.id = idBase + p.index + 1;
      p.clientName = plan.name;
      p.clientType = plan.type;
      bool team = p.team();
      p.mac = portMac(ordinal, p.index, team);
      if (sw.distributed)
         p.dvPortId = std::to_string(100 + p.index);
      p.vni = plan.vni;
      p.defaultVid = plan.vni != 0 ? 0 : plan.vlan;
      p.primaryVid = p.defaultVid;
      if (team || plan.vlan == kTrunkVlan)
         p.vlanFlags = VS_VLAN_TP_FLAG_TAGGED_INPUT | VS_VLAN_TP_FLAG_TAGGED_OUTPUT;
      if (team)
         p.vlanFlags |= VS_VLAN_TP_FLAG_FILTER_ON_VIDS;
      else if (plan.vlan == kTrunkVlan)
         p.vlanFlags |= VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG;
      else if (plan.vlan != 0)
         p.vlanFlags |= VS_VLAN_TP_FLAG_OVERWRITE_VID;
      if (plan.vni != 0)
         p.vlanFlags |= VS_VLAN_TP_FLAG_TRUNK_VLAN_OVERLAY;
      p.vlanStatsEnabled = sw.distributed;
      p.sink = (plan.traits & kSinkPort) != 0;
      if (p.clientType == VS_PORT_CLIENT_VNIC && sw.assocMacFilterEnabled) {
         p.assocMacFilterEnabled = true;
         p.assocMacFilterStaticAging = (plan.traits & kServicePort) != 0;
         p.assocMacFilterQueueFeatures = 0x3;
      }
      uint64_t s = mix(p.id ^ 0x5A5A);
      p.ensSeqNo = sw.distributed ? 1 + s % 5000 : 0;
      p.privFlags = (team ? 0x1u : 0u) | (p.sink ? 0x4u : 0u) |
                    (p.clientType == VS_PORT_CLIENT_TCPIP ? 0x2u : 0u);
      if (!team) {
         p.multicastAddrs = {{0x01, 0x00, 0x5e, 0x00, 0x00, 0x01}, {0x33, 0x33, 0, 0, 0, 0x01}};
         if (p.clientType == VS_PORT_CLIENT_TCPIP) {
            p.multicastAddrs.push_back({0x01, 0x00, 0x5e, 0x00, 0x00, 0xfb});
            p.multicastAddrs.push_back(solicitedNode(p.mac));
            p.subnetConnectedVlan = p.defaultVid;
         }
      }
      p.multicastGroups = static_cast<uint32_t>(p.multicastAddrs.size());
      if (plan.traits & kLimitedPort) {
         p.macLimit = kLimitedPortMacs;
         p.macLimitPolicy = VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP;
      }
      p.learning = (plan.traits & kNoLearning) == 0;
      if (plan.traits & kServicePort)
         p.securityFlags = 0;
      else
         p.securityFlags = sw.distributed ? kSecurityFlagsAll : VSPORT_SECURITY_DISALLOW_PROMISC;
      fillTraffic(p, sw.distributed);

      uint16_t vid = plan.vni != 0 || plan.vlan == kTrunkVlan ? 0 : plan.vlan;
      if (!team) {
         MacRecord own;
         own.key = {p.mac, vid, plan.vni};
         own.port = p.index;
         own.kind = kMacStatic;
         own.elapsed = static_cast<uint32_t>(s % 86400);
         own.timestamp = clock - own.elapsed;
         own.rarpTxTimestamp = own.timestamp + 1;
         own.refCount = 1;
         own.pktsRx = p.stats.pktsTx;
         own.bytesRx = p.stats.bytesTx;
         own.pktsTx = p.stats.pktsRx;
         own.bytesTx = p.stats.bytesRx;
         sw.macs.put(own);
      }
      for (uint32_t n = 0; n < plan.learned; ++n) {
         uint64_t r = mix((static_cast<uint64_t>(p.id) << 20) ^ n);
         MacRecord learned;
         learned.port = p.index;
         learned.kind = kMacLearned;
         if (team) {
            auto const &seg = segments[teamSegment++ % segments.size()];
            learned.key = {learnedMac(ordinal, serial++), seg.first, seg.second};
         } else {
            learned.key = {learnedMac(ordinal, serial++), vid, plan.vni};
         }
         learned.elapsed = static_cast<uint32_t>(r % 300);
         learned.macMove = static_cast<uint32_t>((r >> 9) % 3);
         learned.timestamp = clock - learned.elapsed;
         learned.pktsRx = 10 + (r >> 12) % 50000;
         learned.bytesRx = learned.pktsRx * (64 + (r >> 30) % 1400);
         learned.pktsTx = 10 + (r >> 40) % 50000;
         learned.bytesTx = learned.pktsTx * (64 + (r >> 52) % 1400);
         sw.macs.put(learned);
      }
      sw.ports.push_back(std::move(p));
   }
}

/* A USER entry of the built-in model. */
void addUserEntry(VirtualSwitch &sw, char const *port, MacAddress mac, uint16_t vid, uint32_t vni,
                  uint32_t clock) {
   Port const *p = nullptr;
   for (auto const &candidate : sw.ports) {
      if (candidate.clientName == port)
         p = &candidate;
   }
   if (p == nullptr)
      throw std::invalid_argument("user entry on an unknown port");
   MacRecord user;
   user.key = {mac, vid, vni};
   user.port = p->index;
   user.kind = kMacUser;
   user.elapsed = 3600;
   user.timestamp = clock - user.elapsed;
   sw.macs.put(user);
}

} // namespace

/* ---- VirtualSwitch ---- */

Port *VirtualSwitch::findPort(char const *name) {
   auto byName = portsByName_.find(name);
   if (byName != portsByName_.end())
      return &ports[byName->second];
   size_t len = strlen(name);
   if (len == 0 || len > 10)
      return nullptr;
   uint64_t id = 0;
   for (size_t i = 0; i < len; ++i) {
      if (name[i] < '0' || name[i] > '9')
         return nullptr;
      id = id * 10 + static_cast<uint64_t>(name[i] - '0');
   }
   if (id > UINT32_MAX)
      return nullptr;
   auto byId = portsById_.find(static_cast<uint32_t>(id));
   return byId == portsById_.end() ? nullptr : &ports[byId->second];
}

bool VirtualSwitch::reported(MacRecord const &record) const {
   if (record.kind != kMacLearned)
      return true;
   Port const &port = ports[record.port];
   return port.learning && (!port.team() || teamLearning);
}

uint32_t VirtualSwitch::learnedOn(Port const &port) const {
   if (!port.learning || (port.team() && !teamLearning))
      return 0;
   return macs.counts(port.index).learned;
}

/* ---- SwitchModel ---- */

SwitchModel &SwitchModel::instance() {
   /* Never destroyed: a late call during process exit still finds it. */
   static SwitchModel *model = new SwitchModel(builtIn());
   return *model;
}

void SwitchModel::reset() {
   SwitchModel fresh = builtIn();
   std::swap(instance(), fresh);
}

SwitchModel SwitchModel::builtIn() {
   SwitchModel model;
   uint32_t const clock = model.now();
   int32_t const U = VS_PORT_CLIENT_UPLINK, T = VS_PORT_CLIENT_TCPIP, V = VS_PORT_CLIENT_VNIC;

   VirtualSwitch vs0;
   vs0.portsetName = "switch0";
   vs0.mtu = 1500;
   vs0.minValidVlan = 0;
   vs0.maxValidVlan = 4094;
   vs0.maxPorts = 128;
   vs0.flags = 0x1;
   vs0.vlanUseCounts = {{0, 4}, {10, 2}};
   addPorts(vs0, 0,
            {{"uplink0", U, 0, 0, 4, 0},
             {"uplink1", U, 0, 0, 3, 0},
             {"hostport0", T, 0, 0, 0, 0},
             {"web-01.eth0", V, 10, 0, 2, 0},
             {"db-01.eth0", V, 10, 0, 1, 0},
             {"app-01.eth0", V, 0, 0, 0, 0}},
            clock);
   model.add(std::move(vs0));

   VirtualSwitch vs1;
   vs1.portsetName = "switch1";
   vs1.mtu = 9000;
   vs1.minValidVlan = 1;
   vs1.maxValidVlan = 4094;
   vs1.maxPorts = 64;
   vs1.flags = 0x1;
   vs1.vlanUseCounts = {{20, 1}, {30, 2}};
   addPorts(
       vs1, 1,
       {{"uplink2", U, 30, 0, 2, 0}, {"hostport1", T, 20, 0, 0, 0}, {"build-01.eth0", V, 30, 0, 1, 0}},
       clock);
   addUserEntry(vs1, "build-01.eth0", {0x02, 0xaa, 0x01, 0x00, 0x00, 0x01}, 30, 0, clock);
   model.add(std::move(vs1));

   VirtualSwitch dvs;
   dvs.portsetName = "dswitch0";
   dvs.distributed = true;
   dvs.alias = "dvs-prod";
   dvs.dvsName = "50 1f 2a 3b 4c 5d 6e 7f-80 91 a2 b3 c4 d5 e6 f7";
   dvs.zarId = "zar-7c1e-0042";
   dvs.mtu = 9000;
   dvs.minValidVlan = 0;
   dvs.maxValidVlan = 4094;
   dvs.maxPorts = 1024;
   dvs.assocMacFilterEnabled = true;
   dvs.flags = 0x3;
   dvs.vlanUseCounts = {{0, 9}, {100, 3}, {200, 2}, {4095, 1}};
   dvs.numServiceVmPorts = 1;
   dvs.vdrPortId = 0x4000002;
   dvs.numRdmaEntries = 2;
   dvs.numRdmaTenantEntries = 1;
   addPorts(dvs, 2,
            {{"uplink4", U, 0, 0, 5, 0},
             {"vdrPort", VS_PORT_CLIENT_UNKNOWN, kTrunkVlan, 0, 0, kSinkPort},
             {"uplink5", U, 0, 0, 4, 0},
             {"lag1", VS_PORT_CLIENT_LAG, 0, 0, 2, 0},
             {"hostport2", T, 100, 0, 0, 0},
             {"hostport3", T, 200, 0, 0, 0},
             {"prod-web-01.eth0", V, 100, 0, 2, 0},
             {"prod-web-02.eth0", V, 100, 0, 1, 0},
             {"prod-web-03.eth0", V, 100, 0, 0, 0},
             {"prod-web-04.eth0", V, 100, 0, 0, 0},
             {"prod-app-01.eth0", V, 200, 0, 1, kLimitedPort},
             {"prod-app-02.eth0", V, 200, 0, 0, kLimitedPort},
             {"prod-app-03.eth0", V, 200, 0, 0, kLimitedPort},
             {"prod-db-01.eth0", V, 0, 5001, 3, 0},
             {"prod-db-02.eth0", V, 0, 5001, 1, 0},
             {"prod-db-03.eth0", V, 0, 5001, 0, 0},
             {"svm-guard.eth0", V, 0, 0, 0, kServicePort}},
            clock);
   addUserEntry(dvs, "prod-web-01.eth0", {0x02, 0xaa, 0x02, 0x00, 0x00, 0x01}, 100, 0, clock);
   addUserEntry(dvs, "uplink4", {0x02, 0xaa, 0x02, 0x00, 0x00, 0xfe}, 100, 0, clock);
   model.add(std::move(dvs));

   VirtualSwitch lab;
   lab.portsetName = "dswitch1";
   lab.distributed = true;
   lab.alias = "dvs-lab";
   lab.dvsName = "50 2a 91 c4 07 e3 5b 6d-19 8f 40 aa 23 71 ce 02";
   lab.zarId = "zar-7c1e-0043";
   lab.mtu = 1600;
   lab.minValidVlan = 0;
   lab.maxValidVlan = 4094;
   lab.maxPorts = 256;
   lab.flags = 0x2;
   lab.vlanUseCounts = {{0, 2}, {300, 2}};
   addPorts(lab, 3,
            {{"uplink6", U, 0, 0, 2, 0},
             {"hostport4", T, 300, 0, 0, 0},
             {"lab-01.eth0", V, 300, 0, 1, 0},
             {"lab-02.eth0", V, 0, 6001, 0, kNoLearning}},
            clock);
   model.add(std::move(lab));

   return model;
}

void SwitchModel::add(VirtualSwitch sw) {
   requireFits(sw.portsetName, VS_LIST_PS_ENTRY_LEN, "portset name");
   requireFits(sw.alias, VS_LIST_ALIAS_ENTRY_LEN, "alias");
   requireFits(sw.dvsName, sizeof(VSInfo::dvsName), "DVS name");
   requireFits(sw.zarId, sizeof(VSInfo::zarID), "zar id");
   require(!sw.portsetName.empty(), "switch without a portset name");
   require(sw.distributed || sw.alias.empty(), "only distributed switches have aliases");
   for (auto const &use : sw.vlanUseCounts)
      require(use.first < VS_VLAN_ID_COUNT, "VLAN id out of range");
   require(findByPortset(sw.portsetName.c_str()) == nullptr, "portset name already in use");
   require(sw.alias.empty() || findByAlias(sw.alias.c_str()) == nullptr, "alias already in use");
   require(switches_.size() < kMaxSwitches, "too many switches");
   require(sw.ports.size() <= sw.maxPorts, "more ports than the switch allows");

   sw.portsByName_.clear();
   sw.portsById_.clear();
   sw.portsByName_.reserve(sw.ports.size());
   sw.portsById_.reserve(sw.ports.size());
   for (size_t i = 0; i < sw.ports.size(); ++i) {
      Port const &p = sw.ports[i];
      require(p.index == i, "ports out of index order");
      require(p.id != 0, "port without an ID");
      requireFits(p.clientName, HYX_PORT_CLIENT_NAME_MAX, "client name");
      require(!p.clientName.empty() && !allDigits(p.clientName),
              "client name empty or read as a port ID");
      requireFits(p.dvPortId, VS_DVPORT_ID_LEN, "distributed port ID");
      require(sw.distributed || p.dvPortId.empty(), "only distributed ports have a dvPort ID");
      require(p.multicastAddrs.size() <= VSWITCH_ETH_MAX_EXACT_MULTICAST_ADDRS,
              "too many multicast addresses");
      require(p.defaultVid < VS_VLAN_ID_COUNT && p.primaryVid < VS_VLAN_ID_COUNT,
              "port VLAN out of range");
      require(p.macLimit <= VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX, "port MAC limit too high");
      require((p.securityFlags & ~kSecurityFlagsAll) == 0, "unknown security flags");
      require(sw.portsByName_.emplace(p.clientName, static_cast<uint32_t>(i)).second,
              "client name already in use");
      require(sw.portsById_.emplace(p.id, static_cast<uint32_t>(i)).second,
              "port ID already in use");
   }
   require(sw.vdrPortId == 0 || sw.portsById_.count(sw.vdrPortId) != 0,
           "VDR port is not a port of the switch");
   for (auto const &record : sw.macs.records()) {
      require(record.port < sw.ports.size(), "MAC entry on an unknown port");
      require(record.key.vid < VS_VLAN_ID_COUNT, "MAC entry VLAN out of range");
   }
   switches_.push_back(std::move(sw));
}

void SwitchModel::addScaled(std::string const &name, uint32_t ports, uint32_t learnedMacs) {
   require(ports >= 1 && ports <= kMaxScaledPorts, "port count out of range");
   require(learnedMacs <= VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED, "too many learned entries");
   require(static_cast<uint64_t>(learnedMacs) <=
               static_cast<uint64_t>(ports) * VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX,
           "more learned entries than the ports may hold");
   require(switches_.size() < kMaxSwitches, "too many switches");

   VirtualSwitch sw;
   sw.portsetName = name;
   sw.maxPorts = ports;
   sw.flags = 0x1;
   if (learnedMacs > global_.macLimit)
      sw.macLimit = VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED;
   std::vector<PortPlan> plans;
   plans.reserve(ports);
   for (uint32_t i = 0; i < ports; ++i) {
      uint32_t learned = learnedMacs / ports + (i < learnedMacs % ports ? 1 : 0);
      uint16_t vlan = static_cast<uint16_t>(1 + i % 100);
      if (i == 0 && ports > 1)
         plans.push_back({"uplink0", VS_PORT_CLIENT_UPLINK, 0, 0, learned, 0});
      else
         plans.push_back(
             {"vm-" + std::to_string(i) + ".eth0", VS_PORT_CLIENT_VNIC, vlan, 0, learned, 0});
   }
   sw.macs.reserve(static_cast<size_t>(ports) + learnedMacs);
   addPorts(sw, static_cast<uint8_t>(switches_.size()), plans, now());
   add(std::move(sw));
}

VirtualSwitch const *SwitchModel::findByPortset(char const *name) const {
   for (auto const &sw : switches_) {
      if (sw.portsetName == name)
         return &sw;
   }
   return nullptr;
}

VirtualSwitch *SwitchModel::findByPortset(char const *name) {
   for (auto &sw : switches_) {
      if (sw.portsetName == name)
         return &sw;
   }
   return nullptr;
}

VirtualSwitch const *SwitchModel::findByAlias(char const *alias) const {
   for (auto const &sw : switches_) {
      if (sw.distributed && !sw.alias.empty() && sw.alias == alias)
         return &sw;
   }
   return nullptr;
}

uint32_t agingTimeOf(SwitchModel const &model, VirtualSwitch const &sw) {
   return sw.agingTime.value_or(model.global().agingTime);
}

uint32_t macLimitOf(SwitchModel const &model, VirtualSwitch const &sw) {
   return sw.macLimit.value_or(model.global().macLimit);
}

bool learnStaticOf(SwitchModel const &model, VirtualSwitch const &sw) {
   return sw.learnStatic.value_or(model.global().learnStatic);
}

bool staticMacAllowOf(SwitchModel const &model, VirtualSwitch const &sw) {
   return sw.staticMacAllow.value_or(model.global().staticMacAllow);
}

void fillSwitchInfo(VirtualSwitch const &sw, VSInfo *info) {
   uint16_t sinks = 0;
   for (auto const &p : sw.ports)
      sinks = static_cast<uint16_t>(sinks + (p.sink ? 1 : 0));
   memset(info, 0, sizeof *info);
   PUT_FIELD(info, mtu, sw.mtu);
   PUT_FIELD(info, maxValidVlan, sw.maxValidVlan);
   PUT_FIELD(info, minValidVlan, sw.minValidVlan);
   PUT_FIELD(info, activePorts, static_cast<uint32_t>(sw.ports.size()));
   PUT_FIELD(info, maxPorts, sw.maxPorts);
   putText(info, offsetof(VSInfo, dvsName), sw.dvsName);
   putText(info, offsetof(VSInfo, zarID), sw.zarId);
   PUT_FIELD(info, numSinkPorts, sinks);
   PUT_FIELD(info, isAssocMACFilterEnabled, sw.assocMacFilterEnabled ? 1 : 0);
   PUT_FIELD(info, flags, sw.flags);
   PUT_FIELD(info, isForwardingDisabled, sw.forwardingDisabled ? 1 : 0);
   for (auto const &use : sw.vlanUseCounts) {
      put<hyx_VlanID>(info, offsetof(VSInfo, overlayVlanUseCount) + use.first * sizeof(hyx_VlanID),
                      use.second);
   }
   PUT_FIELD(info, numServiceVmPorts, sw.numServiceVmPorts);
   PUT_FIELD(info, vdrPortID, sw.vdrPortId);
   PUT_FIELD(info, numRdmaEntries, sw.numRdmaEntries);
   PUT_FIELD(info, numRdmaTenantEntries, sw.numRdmaTenantEntries);
}

} // namespace tessel
