/* The exported MAC table functions of libtessel.so.
 *
 * Tables are built in two passes over the switch's entries (pick, then
 * write), so their cost is linear in the table size; single entries are found
 * through the table's hash index. */
#include <string.h>

#include <unordered_map>
#include <vector>

#include "api_support.h"
#include "mac_model.h"
#include "ports_model.h"

namespace tessel {
namespace {

/* Address types arrive as the byte the caller passed. */
bool validAddrType(unsigned addrType) { return addrType <= VS_MAC_ADDR_TYPE_ALL; }

bool kindMatches(unsigned addrType, MacKind kind) {
   return addrType == VS_MAC_ADDR_TYPE_ALL || addrType == kind;
}

/* What every entry of one switch's table shares: read once per table, not
 * once per entry. */
struct MacFill {
   Switch const &sw;
   PortsComponent const &ports;
   bool learnStatic;
   uint32_t agingTime;
};

/* Writes the 103-byte entry of record r at dst, every field of it, in
 * place (the record is packed: its fields are stored unaligned). */
void fillMacEntry(MacFill const &f, MacRecord const &r, unsigned char *dst) {
   Port const &p = f.sw.ports[r.port];
   bool const learned = r.kind == kMacLearned;
   PortState const &info = f.ports.of(f.sw, p);
   /* The switch filters associated addresses on this port. */
   bool const assoc = info.assocMacFilterEnabled;

   VSMACEntry *e = reinterpret_cast<VSMACEntry *>(dst);
   memcpy(e->macAddress, r.key.mac.data(), 6);
   e->macAddrType = static_cast<VSMACAddrType>(r.kind);
   e->portID = p.id;
   /* Learned entries age out unless the switch keeps them as static. */
   e->aging = learned && !f.learnStatic;
   e->assocMACFilterAging = assoc && !info.assocMacFilterStaticAging;
   e->isLearnedStatic = learned && f.learnStatic;
   e->markEntry = 0;
   e->overrideEntry = r.overrides;
   /* Team-side entries age with the switch's aging multiplier. */
   e->applyMaxAging = learned && !f.learnStatic && p.team();
   e->vid = r.key.vid;
   e->vni = r.key.vni;
   e->elapsed = learned && f.agingTime > 0 ? r.elapsed % f.agingTime : r.elapsed;
   e->macMove = r.macMove;
   e->refCount = r.refCount;
   e->macFilterPktsRx = r.pktsRx;
   e->macFilterBytesRx = r.bytesRx;
   e->macFilterPktsTx = r.pktsTx;
   e->macFilterBytesTx = r.bytesTx;
   e->assocMACFilterElapsedTime = assoc ? r.elapsed : 0;
   e->assocMACFilterPktsRx = assoc ? r.pktsRx / 2 : 0;
   e->assocMACFilterBytesRx = assoc ? r.bytesRx / 2 : 0;
   e->assocMACFilterTimestamp = assoc ? r.timestamp : 0;
   e->rarpTxTimestamp = r.rarpTxTimestamp;
   e->timestamp = r.timestamp;
}

/* Hands out the reported entries of sw for which matches(record) holds: the
 * first pass picks them (each record is judged once), the second writes
 * them. */
template <typename Pred>
HYX_ReturnStatus handOutTable(Switch const &sw, Pred matches, VSMACTable **table) {
   Host const &host = Host::instance();
   MacComponent const &mac = host.component<MacComponent>();
   auto const &records = mac.of(sw).macs.records();
   std::vector<MacRecord const *> picked;
   picked.reserve(records.size());
   for (auto const &r : records) {
      if (mac.reported(sw, r) && matches(r))
         picked.push_back(&r);
   }
   unsigned char *block = allocTable(static_cast<uint32_t>(picked.size()), sizeof(VSMACEntry));
   if (block == nullptr)
      return HYX_NO_MEMORY;
   MacFill const fill{sw, host.component<PortsComponent>(), mac.learnStatic(sw), mac.agingTime(sw)};
   unsigned char *slot = block + sizeof(VSMACTable);
   for (MacRecord const *r : picked) {
      fillMacEntry(fill, *r, slot);
      slot += sizeof(VSMACEntry);
   }
   *table = reinterpret_cast<VSMACTable *>(block);
   return HYX_OK;
}

HYX_ReturnStatus getMACTable(char const *switchName, unsigned addrType, int tableType,
                             VSMACTable **table) noexcept {
   if (table == nullptr || !validAddrType(addrType))
      return HYX_BAD_PARAM;
   if (tableType != VS_ALL_MAC_TABLE && tableType != VS_DYNAMIC_MAC_TABLE &&
       tableType != VS_STATIC_MAC_TABLE)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      return handOutTable(
          sw,
          [&](MacRecord const &r) {
             if (tableType == VS_DYNAMIC_MAC_TABLE && r.kind != kMacLearned)
                return false;
             if (tableType == VS_STATIC_MAC_TABLE && r.kind == kMacLearned)
                return false;
             return kindMatches(addrType, r.kind);
          },
          table);
   });
}

HYX_ReturnStatus getBridgedMACTable(char const *switchName, hyx_VirtualNetworkID vni,
                                    hyx_VlanID vlanID, VSMACTable **table) noexcept {
   if (table == nullptr || vlanID >= VS_VLAN_ID_COUNT)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      return handOutTable(
          sw, [&](MacRecord const &r) { return r.key.vni == vni && r.key.vid == vlanID; }, table);
   });
}

HYX_ReturnStatus getPortMACTable(char const *switchName, char const *portName, unsigned addrType,
                                 VSMACTable **table) noexcept {
   if (table == nullptr || !validAddrType(addrType))
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      uint32_t const index = port.index;
      return handOutTable(
          sw, [&](MacRecord const &r) { return r.port == index && kindMatches(addrType, r.kind); },
          table);
   });
}

HYX_ReturnStatus getTeamMACTable(char const *switchName, unsigned addrType,
                                 VSMACTable **table) noexcept {
   if (table == nullptr || !validAddrType(addrType))
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      return handOutTable(
          sw,
          [&](MacRecord const &r) {
             return sw.ports[r.port].team() && kindMatches(addrType, r.kind);
          },
          table);
   });
}

MacKey keyOf(VSMACEntry const &e) {
   MacKey key;
   memcpy(key.mac.data(), e.macAddress, 6);
   key.vid = e.vid;
   key.vni = e.vni;
   return key;
}

/* Copies record i of the caller's packed array; the array may sit at any
 * address. */
VSMACEntry entryAt(VSMACEntry const *entries, uint32_t i) {
   VSMACEntry e;
   memcpy(&e, reinterpret_cast<unsigned char const *>(entries) + static_cast<size_t>(i) * sizeof e,
          sizeof e);
   return e;
}

HYX_ReturnStatus getMACEntry(char const *switchName, VSMACEntry const *entry, hyx_Bool searchTeam,
                             int *result) noexcept {
   if (result != nullptr)
      *result = -1;
   bool team = false;
   if (entry == nullptr || result == nullptr || !readBool(searchTeam, team))
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      MacComponent const &mac = Host::instance().component<MacComponent>();
      MacRecord const *r = mac.of(sw).macs.find(keyOf(entryAt(entry, 0)));
      if (r == nullptr || !mac.reported(sw, *r))
         return HYX_NOT_FOUND;
      Port const &port = sw.ports[r->port];
      if (port.team() && !team)
         return HYX_NOT_FOUND;
      *result = static_cast<int>(port.id);
      return HYX_OK;
   });
}

/* Argument checks shared by Set and Clear, in this order: NULL names, a
 * count above the per-port limit (before any record is read), NULL records
 * with a non-zero count, then the switch and port.  body(table state,
 * switch, port) runs for a non-zero count; a count of 0 changes nothing. */
template <typename Body>
HYX_ReturnStatus withPortEntries(char const *switchName, char const *portName, hyx_uint32 count,
                                 VSMACEntry const *entries, Body body) noexcept {
   if (switchName == nullptr || portName == nullptr)
      return HYX_BAD_PARAM;
   if (count > VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX)
      return HYX_LIMIT_EXCEEDED;
   if (count > 0 && entries == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      return count == 0 ? HYX_OK
                        : body(Host::instance().component<MacComponent>().of(sw), sw, port);
   });
}

bool zeroMac(MacAddress const &mac) {
   for (uint8_t byte : mac) {
      if (byte != 0)
         return false;
   }
   return true;
}

HYX_ReturnStatus setPortMACTable(char const *switchName, char const *portName, hyx_uint32 count,
                                 VSMACEntry const *entries) noexcept {
   return withPortEntries(
       switchName, portName, count, entries,
       [&](MacState &state, Switch &sw, Port &port) -> HYX_ReturnStatus {
          Host &host = Host::instance();
          if (!host.component<MacComponent>().staticMacAllow(sw))
             return HYX_NO_PERMISSION;

          /* Everything is checked before anything changes; a later record with
           * the key of an earlier one replaces it. */
          uint32_t const now = host.now() + 1;
          std::vector<MacRecord> batch;
          std::unordered_map<MacKey, size_t, MacKeyHash> slots;
          batch.reserve(count);
          slots.reserve(count);
          uint32_t added = 0;
          for (uint32_t i = 0; i < count; ++i) {
             VSMACEntry const e = entryAt(entries, i);
             auto const type = getAt<unsigned char>(&e, offsetof(VSMACEntry, macAddrType));
             if (type != VS_MAC_ADDR_TYPE_STATIC && type != VS_MAC_ADDR_TYPE_USER)
                return HYX_BAD_PARAM;
             MacKey const key = keyOf(e);
             if (key.vid >= VS_VLAN_ID_COUNT || zeroMac(key.mac))
                return HYX_BAD_PARAM;
             MacRecord const *existing = state.macs.find(key);
             bool const ownStatic = existing != nullptr && existing->kind != kMacLearned &&
                                    existing->port == port.index;
             if (existing != nullptr && existing->kind != kMacLearned && !ownStatic)
                return HYX_EXISTS;
             MacRecord record;
             record.key = key;
             record.port = port.index;
             record.kind = static_cast<MacKind>(type);
             record.overrides = existing != nullptr && (ownStatic ? existing->overrides : true);
             record.macMove = existing != nullptr && existing->port != port.index ? 1 : 0;
             record.timestamp = now;
             auto slot = slots.emplace(key, batch.size());
             if (slot.second) {
                batch.push_back(record);
                added += ownStatic ? 0 : 1;
             } else {
                batch[slot.first->second] = record;
             }
          }
          if (state.macs.counts(port.index).fixed + added > VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX)
             return HYX_LIMIT_EXCEEDED;
          state.macs.reserve(state.macs.records().size() + added);
          host.tick();
          for (auto const &record : batch)
             state.macs.put(record);
          return HYX_OK;
       });
}

HYX_ReturnStatus clearPortMACTable(char const *switchName, char const *portName, hyx_uint32 count,
                                   VSMACEntry const *entries) noexcept {
   return withPortEntries(switchName, portName, count, entries,
                          [&](MacState &state, Switch &, Port &port) -> HYX_ReturnStatus {
                             std::vector<MacKey> keys;
                             keys.reserve(count);
                             for (uint32_t i = 0; i < count; ++i) {
                                MacKey const key = keyOf(entryAt(entries, i));
                                MacRecord const *existing = state.macs.find(key);
                                if (existing == nullptr || existing->kind == kMacLearned ||
                                    existing->port != port.index)
                                   return HYX_NOT_FOUND;
                                keys.push_back(key);
                             }
                             Host::instance().tick();
                             for (auto const &key : keys)
                                state.macs.erase(key);
                             return HYX_OK;
                          });
}

} // namespace
} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetMACTable,
                (char const *switchName, VSMACAddrType addrType, VSMacTableType tableType,
                 VSMACTable **table),
                tessel::getMACTable(switchName, tessel::rawValue<unsigned char>(addrType),
                                    tessel::rawValue<int>(tableType), table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetBridgedMACTableByID,
                (char const *switchName, hyx_VirtualNetworkID vni, hyx_VlanID vlanID,
                 VSMACTable **table),
                tessel::getBridgedMACTable(switchName, vni, vlanID, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetPortMACTable,
                (char const *switchName, char const *portName, VSMACAddrType addrType,
                 VSMACTable **table),
                tessel::getPortMACTable(switchName, portName,
                                        tessel::rawValue<unsigned char>(addrType), table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetTeamMACTable,
                (char const *switchName, VSMACAddrType addrType, VSMACTable **table),
                tessel::getTeamMACTable(switchName, tessel::rawValue<unsigned char>(addrType),
                                        table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetMACEntry,
                (char const *switchName, VSMACEntry const *entry, hyx_Bool searchTeam, int *result),
                tessel::getMACEntry(switchName, entry, searchTeam, result))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetPortMACTable,
                (char const *switchName, char const *portName, hyx_uint32 count,
                 VSMACEntry const *entries),
                tessel::setPortMACTable(switchName, portName, count, entries))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_ClearPortMACTable,
                (char const *switchName, char const *portName, hyx_uint32 count,
                 VSMACEntry const *entries),
                tessel::clearPortMACTable(switchName, portName, count, entries))
