/* Tests of the MAC table functions of the simulated libtessel.so: the views
 * of one table agree with each other, static entries set and cleared on a
 * port show at once in every view, bad arguments and limits give their
 * statuses without changing anything, tables scale linearly, and calls can
 * be abandoned through the guard without leaking a block. */
#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "check.h"
#include "hostapi/guard.h"
#include "hostapi/mac.h"
#include "hostapi/status.h"

extern "C" {
jmp_buf exception_buffer;
int exception_status;
char *exceptionMsg;
void *exceptionType;
}

namespace {

using check::at;

constexpr size_t kEntrySize = 103;
char const *const kSwitches[] = {"switch0", "switch1", "dswitch0", "dswitch1"};

/* A table handed out by the library, released when the test is done. */
struct Table {
   VSMACTable *table = nullptr;
   HYX_ReturnStatus status = -1;
   Table() = default;
   Table(Table const &) = delete;
   Table &operator=(Table const &) = delete;
   ~Table() { VSHYX_FreeMemory(table); }
   uint32_t size() const { return table != nullptr ? at<uint32_t>(table, 4) : 0; }
   unsigned char const *entry(uint32_t i) const {
      return reinterpret_cast<unsigned char const *>(table) + 8 + i * kEntrySize;
   }
};

/* The module passes enumeration arguments as the raw integers it was given;
 * these call the library the same way, with the C-ABI-equal integer types. */
using GetTableFn = HYX_ReturnStatus (*)(char const *, unsigned char, int, VSMACTable **);
using GetPortTableFn = HYX_ReturnStatus (*)(char const *, char const *, unsigned char,
                                            VSMACTable **);
using GetTeamTableFn = HYX_ReturnStatus (*)(char const *, unsigned char, VSMACTable **);

void getTable(Table &t, char const *sw, unsigned char addrType, int tableType) {
   t.status = reinterpret_cast<GetTableFn>(&VSHYX_GetMACTable)(sw, addrType, tableType, &t.table);
}
void getPortTable(Table &t, char const *sw, char const *port, unsigned char addrType) {
   t.status =
       reinterpret_cast<GetPortTableFn>(&VSHYX_GetPortMACTable)(sw, port, addrType, &t.table);
}
void getTeamTable(Table &t, char const *sw, unsigned char addrType) {
   t.status = reinterpret_cast<GetTeamTableFn>(&VSHYX_GetTeamMACTable)(sw, addrType, &t.table);
}

uint32_t portOf(unsigned char const *e) { return at<uint32_t>(e, 7); }
unsigned typeOf(unsigned char const *e) { return e[6]; }
std::string keyOf(unsigned char const *e) {
   return std::string(reinterpret_cast<char const *>(e), 6) +
          std::string(reinterpret_cast<char const *>(e) + 17, 6);
}

struct Ports {
   std::map<std::string, uint32_t> ids;
   std::set<uint32_t> team;
};

Ports portsOf(char const *sw) {
   Ports ports;
   VSSwitchPortInfo *table = nullptr;
   CHECK_EQ(VSHYX_GetSwitchPortInfo(sw, &table), HYX_OK);
   for (uint32_t i = 0; table != nullptr && i < at<uint32_t>(table, 4); ++i) {
      auto const *p = reinterpret_cast<unsigned char const *>(table) + 8 + i * 1685;
      uint32_t id = at<uint32_t>(p, 1442);
      ports.ids[reinterpret_cast<char const *>(p) + 4] = id;
      int32_t type = at<int32_t>(p, 1044);
      if (type == VS_PORT_CLIENT_UPLINK || type == VS_PORT_CLIENT_LAG)
         ports.team.insert(id);
   }
   VSHYX_FreeMemory(table);
   return ports;
}

/* A 103-byte entry naming an address, VLAN and network. */
std::vector<unsigned char> entry(unsigned char last, uint16_t vid, unsigned type,
                                 uint32_t vni = 0) {
   std::vector<unsigned char> e(kEntrySize, 0);
   unsigned char const mac[6] = {0x02, 0xcc, 0x00, 0x00, 0x00, last};
   memcpy(e.data(), mac, 6);
   e[6] = static_cast<unsigned char>(type);
   check::put<uint16_t>(e.data(), 17, vid);
   check::put<uint32_t>(e.data(), 19, vni);
   return e;
}

std::vector<unsigned char> batch(std::vector<std::vector<unsigned char>> const &entries) {
   std::vector<unsigned char> out;
   for (auto const &e : entries)
      out.insert(out.end(), e.begin(), e.end());
   return out;
}

VSMACEntry const *records(std::vector<unsigned char> const &bytes) {
   return reinterpret_cast<VSMACEntry const *>(bytes.data());
}

int lookup(char const *sw, unsigned char const *e, hyx_Bool searchTeam, HYX_ReturnStatus &status) {
   int result = 12345;
   status = VSHYX_GetMACEntry(sw, reinterpret_cast<VSMACEntry const *>(e), searchTeam, &result);
   return result;
}

/* The whole table, its parts by address and table type, the port tables,
 * the team table and single lookups all describe the same entries. */
void testViewsAgree() {
   for (char const *sw : kSwitches) {
      Ports const ports = portsOf(sw);
      Table all, fixed, user, learned, dynamic, statics, none, team;
      getTable(all, sw, VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE);
      getTable(fixed, sw, VS_MAC_ADDR_TYPE_STATIC, VS_ALL_MAC_TABLE);
      getTable(user, sw, VS_MAC_ADDR_TYPE_USER, VS_ALL_MAC_TABLE);
      getTable(learned, sw, VS_MAC_ADDR_TYPE_LEARNED, VS_ALL_MAC_TABLE);
      getTable(dynamic, sw, VS_MAC_ADDR_TYPE_ALL, VS_DYNAMIC_MAC_TABLE);
      getTable(statics, sw, VS_MAC_ADDR_TYPE_ALL, VS_STATIC_MAC_TABLE);
      getTable(none, sw, VS_MAC_ADDR_TYPE_LEARNED, VS_STATIC_MAC_TABLE);
      getTeamTable(team, sw, VS_MAC_ADDR_TYPE_ALL);
      for (Table const *t : {&all, &fixed, &user, &learned, &dynamic, &statics, &none, &team}) {
         CHECK_EQ(t->status, HYX_OK);
         CHECK(t->table != nullptr && at<uint32_t>(t->table, 0) == t->size());
      }
      CHECK(learned.size() > 0 && fixed.size() > 0 && team.size() > 0);
      CHECK_EQ(all.size(), fixed.size() + user.size() + learned.size());
      CHECK_EQ(dynamic.size(), learned.size());
      CHECK_EQ(statics.size(), fixed.size() + user.size());
      CHECK_EQ(none.size(), 0);
      for (uint32_t i = 0; i < dynamic.size(); ++i)
         CHECK(typeOf(dynamic.entry(i)) == VS_MAC_ADDR_TYPE_LEARNED && dynamic.entry(i)[11] == 1);
      for (uint32_t i = 0; i < statics.size(); ++i)
         CHECK(typeOf(statics.entry(i)) != VS_MAC_ADDR_TYPE_LEARNED && statics.entry(i)[11] == 0);

      std::set<std::string> keys;
      uint32_t teamEntries = 0;
      for (uint32_t i = 0; i < all.size(); ++i) {
         unsigned char const *e = all.entry(i);
         CHECK(keys.insert(keyOf(e)).second);
         bool const onTeam = ports.team.count(portOf(e)) != 0;
         teamEntries += onTeam ? 1 : 0;
         HYX_ReturnStatus status;
         CHECK_EQ(lookup(sw, e, 1, status), portOf(e));
         CHECK_EQ(status, HYX_OK);
         CHECK_EQ(lookup(sw, e, 0, status), onTeam ? -1 : static_cast<int>(portOf(e)));
         CHECK_EQ(status, onTeam ? HYX_NOT_FOUND : HYX_OK);
      }
      CHECK_EQ(team.size(), teamEntries);
      for (uint32_t i = 0; i < team.size(); ++i)
         CHECK(ports.team.count(portOf(team.entry(i))) != 0);

      /* The port tables split the table without overlap. */
      uint32_t perPort = 0;
      for (auto const &port : ports.ids) {
         Table t;
         getPortTable(t, sw, port.first.c_str(), VS_MAC_ADDR_TYPE_ALL);
         CHECK_EQ(t.status, HYX_OK);
         perPort += t.size();
         for (uint32_t i = 0; i < t.size(); ++i)
            CHECK_EQ(portOf(t.entry(i)), port.second);
      }
      CHECK_EQ(perPort, all.size());

      /* Each (network, VLAN) selection is exactly the matching entries. */
      std::map<std::pair<uint32_t, uint16_t>, uint32_t> segments;
      for (uint32_t i = 0; i < all.size(); ++i)
         ++segments[{at<uint32_t>(all.entry(i), 19), at<uint16_t>(all.entry(i), 17)}];
      for (auto const &seg : segments) {
         VSMACTable *bridged = nullptr;
         CHECK_EQ(VSHYX_GetBridgedMACTableByID(sw, seg.first.first, seg.first.second, &bridged),
                  HYX_OK);
         CHECK(bridged != nullptr && at<uint32_t>(bridged, 4) == seg.second);
         VSHYX_FreeMemory(bridged);
      }
   }

   /* Counts of the built-in switch0: four ports with their own address, ten
    * learned entries of which seven are behind the uplinks. */
   Table fixed, learned, team;
   getTable(fixed, "switch0", VS_MAC_ADDR_TYPE_STATIC, VS_ALL_MAC_TABLE);
   getTable(learned, "switch0", VS_MAC_ADDR_TYPE_LEARNED, VS_ALL_MAC_TABLE);
   getTeamTable(team, "switch0", VS_MAC_ADDR_TYPE_LEARNED);
   CHECK_EQ(fixed.size(), 4);
   CHECK_EQ(learned.size(), 10);
   CHECK_EQ(team.size(), 7);
   /* The overlay segment of dswitch0 reaches its VM ports and the team. */
   VSMACTable *overlay = nullptr;
   CHECK_EQ(VSHYX_GetBridgedMACTableByID("dswitch0", 5001, 0, &overlay), HYX_OK);
   CHECK(overlay != nullptr && at<uint32_t>(overlay, 4) >= 7);
   VSHYX_FreeMemory(overlay);
}

uint32_t countOn(char const *sw, char const *port, unsigned char addrType) {
   Table t;
   getPortTable(t, sw, port, addrType);
   CHECK_EQ(t.status, HYX_OK);
   return t.size();
}

/* Static entries set and cleared on ports, seen in every view at once. */
void testSetAndClear() {
   Ports const ports = portsOf("switch0");
   uint32_t const web = ports.ids.at("web-01.eth0");
   uint32_t const uplink = ports.ids.at("uplink1");
   auto const a = entry(1, 10, VS_MAC_ADDR_TYPE_USER);
   auto const b = entry(2, 10, VS_MAC_ADDR_TYPE_STATIC);
   HYX_ReturnStatus status;

   Table before;
   getTable(before, "switch0", VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE);
   auto const ab = batch({a, b});
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 2, records(ab)), HYX_OK);
   Table after, users;
   getTable(after, "switch0", VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE);
   getTable(users, "switch0", VS_MAC_ADDR_TYPE_USER, VS_STATIC_MAC_TABLE);
   CHECK_EQ(after.size(), before.size() + 2);
   CHECK_EQ(users.size(), 1);
   CHECK(users.size() == 1 && keyOf(users.entry(0)) == keyOf(a.data()) &&
         portOf(users.entry(0)) == web && users.entry(0)[11] == 0);
   CHECK_EQ(lookup("switch0", b.data(), 0, status), web);
   CHECK_EQ(countOn("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_USER), 1);

   /* On an uplink the entry belongs to the team side. */
   auto const c = entry(3, 0, VS_MAC_ADDR_TYPE_USER);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", std::to_string(uplink).c_str(), 1, records(c)),
            HYX_OK);
   Table team;
   getTeamTable(team, "switch0", VS_MAC_ADDR_TYPE_USER);
   CHECK(team.size() == 1 && portOf(team.entry(0)) == uplink);
   CHECK_EQ(lookup("switch0", c.data(), 0, status), -1);
   CHECK_EQ(status, HYX_NOT_FOUND);
   CHECK_EQ(lookup("switch0", c.data(), 1, status), uplink);

   /* An address static on another port is refused, and with it the batch. */
   auto const fresh = entry(4, 10, VS_MAC_ADDR_TYPE_USER);
   auto const conflict = batch({fresh, a});
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "db-01.eth0", 2, records(conflict)), HYX_EXISTS);
   CHECK_EQ(lookup("switch0", fresh.data(), 1, status), -1);

   /* A learned address is taken over, from another port too. */
   Table dbLearned;
   getPortTable(dbLearned, "switch0", "db-01.eth0", VS_MAC_ADDR_TYPE_LEARNED);
   CHECK_EQ(dbLearned.size(), 1);
   if (dbLearned.size() == 1) {
      std::vector<unsigned char> take(dbLearned.entry(0), dbLearned.entry(0) + kEntrySize);
      take[6] = VS_MAC_ADDR_TYPE_USER;
      CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 1, records(take)), HYX_OK);
      CHECK_EQ(countOn("switch0", "db-01.eth0", VS_MAC_ADDR_TYPE_LEARNED), 0);
      CHECK_EQ(lookup("switch0", take.data(), 0, status), web);
      Table web2;
      getPortTable(web2, "switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_USER);
      bool overridden = false;
      for (uint32_t i = 0; i < web2.size(); ++i)
         overridden =
             overridden || (keyOf(web2.entry(i)) == keyOf(take.data()) && web2.entry(i)[15] == 1);
      CHECK(overridden);
      /* Learned entries cannot be cleared as static ones, but this is now
       * static. */
      CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 1, records(take)), HYX_OK);
   }

   /* Setting again updates in place; a repeated key counts once. */
   auto const aStatic = entry(1, 10, VS_MAC_ADDR_TYPE_STATIC);
   auto const twice = batch({aStatic, aStatic});
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 2, records(twice)), HYX_OK);
   CHECK_EQ(countOn("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_USER), 0);
   CHECK_EQ(countOn("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_ALL), 1 + 2 + 2);

   /* Clearing is all or nothing, and only of the port's static entries. */
   auto const absent = batch({a, entry(9, 10, VS_MAC_ADDR_TYPE_USER)});
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 2, records(absent)), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "db-01.eth0", 1, records(a)), HYX_NOT_FOUND);
   CHECK_EQ(lookup("switch0", a.data(), 0, status), web);
   Table webLearned;
   getPortTable(webLearned, "switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_LEARNED);
   CHECK(webLearned.size() > 0 &&
         VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 1,
                                 reinterpret_cast<VSMACEntry const *>(webLearned.entry(0))) ==
             HYX_NOT_FOUND);
   /* Records at an odd address are read as well. */
   std::vector<unsigned char> odd(1 + ab.size());
   memcpy(odd.data() + 1, ab.data(), ab.size());
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 2,
                                    reinterpret_cast<VSMACEntry const *>(odd.data() + 1)),
            HYX_OK);
   CHECK_EQ(lookup("switch0", a.data(), 1, status), -1);
   CHECK_EQ(lookup("switch0", b.data(), 1, status), -1);
   Table end;
   getTable(end, "switch0", VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE);
   /* c stays; db-01's learned entry went away with the entry that took it. */
   CHECK_EQ(end.size(), before.size());
   tessel_sim_reset();
}

/* Each port holds at most VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX static
 * entries, counted with those it has. */
void testPortLimit() {
   std::vector<unsigned char> many(4096 * kEntrySize, 0);
   for (uint32_t i = 0; i < 4096; ++i) {
      unsigned char *e = many.data() + i * kEntrySize;
      unsigned char const mac[6] = {
          0x02, 0xdd, 0, static_cast<unsigned char>(i >> 8), static_cast<unsigned char>(i), 0x01};
      memcpy(e, mac, 6);
      e[6] = VS_MAC_ADDR_TYPE_USER;
   }
   /* app-01.eth0 has its own address already: 4095 more fit, 4096 do not. */
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 4096, records(many)),
            HYX_LIMIT_EXCEEDED);
   CHECK_EQ(countOn("switch0", "app-01.eth0", VS_MAC_ADDR_TYPE_ALL), 1);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 4095, records(many)), HYX_OK);
   CHECK_EQ(countOn("switch0", "app-01.eth0", VS_MAC_ADDR_TYPE_USER), 4095);
   auto const one = entry(7, 0, VS_MAC_ADDR_TYPE_USER);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 1, records(one)), HYX_LIMIT_EXCEEDED);
   /* Updating entries the port has is still allowed. */
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 3, records(many)), HYX_OK);
   tessel_sim_reset();
   CHECK_EQ(countOn("switch0", "app-01.eth0", VS_MAC_ADDR_TYPE_ALL), 1);
}

void testBadArguments() {
   long const blocks = tessel_sim_outstanding_blocks();
   auto const good = entry(5, 10, VS_MAC_ADDR_TYPE_USER);
   unsigned char tiny[1] = {0};
   auto const *tinyRecords = reinterpret_cast<VSMACEntry const *>(tiny);
   /* A count above the limit is refused before a record is read. */
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 4097, tinyRecords), HYX_LIMIT_EXCEEDED);
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 0xFFFFFFFFu, nullptr),
            HYX_LIMIT_EXCEEDED);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 1, nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 0, nullptr), HYX_OK);
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 0, nullptr), HYX_OK);
   CHECK_EQ(VSHYX_SetPortMACTable("switch9", "web-01.eth0", 0, nullptr), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-09.eth0", 1, records(good)), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_SetPortMACTable(nullptr, "web-01.eth0", 1, records(good)), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", nullptr, 1, records(good)), HYX_BAD_PARAM);
   for (unsigned type : {2u, 3u, 4u, 0xFFu}) {
      auto const bad = entry(5, 10, type);
      CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 1, records(bad)), HYX_BAD_PARAM);
   }
   auto const badVlan = entry(5, 4096, VS_MAC_ADDR_TYPE_USER);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 1, records(badVlan)), HYX_BAD_PARAM);
   std::vector<unsigned char> zero(kEntrySize, 0);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 1, records(zero)), HYX_BAD_PARAM);
   HYX_ReturnStatus status;
   CHECK_EQ(lookup("switch0", good.data(), 1, status), -1);

   Table t;
   for (unsigned char type : {4, 0x80, 0xFF}) {
      getTable(t, "switch0", type, VS_ALL_MAC_TABLE);
      CHECK_EQ(t.status, HYX_BAD_PARAM);
      getPortTable(t, "switch0", "hostport0", type);
      CHECK_EQ(t.status, HYX_BAD_PARAM);
      getTeamTable(t, "switch0", type);
      CHECK_EQ(t.status, HYX_BAD_PARAM);
   }
   for (int tableType : {-1, 3, 0x7FFFFFFF}) {
      getTable(t, "switch0", VS_MAC_ADDR_TYPE_ALL, tableType);
      CHECK_EQ(t.status, HYX_BAD_PARAM);
   }
   CHECK(t.table == nullptr);
   CHECK_EQ(VSHYX_GetMACTable("switch0", VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE, nullptr),
            HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetMACTable(nullptr, VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE, &t.table),
            HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetMACTable("dvs-prod", VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE, &t.table),
            HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetBridgedMACTableByID("switch0", 0, 4096, &t.table), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetBridgedMACTableByID("switch0", 0, 10, nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetPortMACTable("switch0", "", VS_MAC_ADDR_TYPE_ALL, &t.table), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetTeamMACTable("", VS_MAC_ADDR_TYPE_ALL, &t.table), HYX_NOT_FOUND);
   CHECK(t.table == nullptr);

   int result = 7;
   CHECK_EQ(VSHYX_GetMACEntry("switch0", nullptr, 1, &result), HYX_BAD_PARAM);
   CHECK_EQ(result, -1);
   result = 7;
   CHECK_EQ(VSHYX_GetMACEntry("switch0", records(good), 2, &result), HYX_BAD_PARAM);
   CHECK_EQ(result, -1);
   CHECK_EQ(VSHYX_GetMACEntry("switch0", records(good), 1, nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetMACEntry("switch9", records(good), 1, &result), HYX_NOT_FOUND);
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

/* A switch of 4096 ports and 131072 learned entries answers every view
 * correctly (its speed is measured by the benchmark, not here). */
void testScale() {
   CHECK_EQ(tessel_sim_add_switch("bench-macs", 4096, 131072), 0);
   long const blocks = tessel_sim_outstanding_blocks();
   {
      Table all;
      getTable(all, "bench-macs", VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE);
      CHECK_EQ(all.size(), 131072 + 4095);
      HYX_ReturnStatus status;
      for (uint32_t i = 0; i < all.size(); i += 997)
         CHECK_EQ(lookup("bench-macs", all.entry(i), 1, status), portOf(all.entry(i)));
      Table port;
      getPortTable(port, "bench-macs", "vm-17.eth0", VS_MAC_ADDR_TYPE_ALL);
      CHECK_EQ(port.size(), 32 + 1);
      for (int round = 0; round < 20; ++round) {
         auto const e = entry(static_cast<unsigned char>(round), 18, VS_MAC_ADDR_TYPE_USER);
         CHECK_EQ(VSHYX_SetPortMACTable("bench-macs", "vm-17.eth0", 1, records(e)), HYX_OK);
         CHECK_EQ(VSHYX_ClearPortMACTable("bench-macs", "vm-17.eth0", 1, records(e)), HYX_OK);
      }
      VSSwitchPortInfo *ports = nullptr;
      CHECK_EQ(VSHYX_GetSwitchPortInfo("bench-macs", &ports), HYX_OK);
      VSHYX_FreeMemory(ports);
   }
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
   tessel_sim_reset();
}

/* An abandoned call hands nothing out and writes nothing. */
void testAbandonedCall() {
   int excType = 0;
   long const blocks = tessel_sim_outstanding_blocks();
   VSMACTable *table = reinterpret_cast<VSMACTable *>(0x1234);
   int result = 7;
   auto const e = entry(1, 10, VS_MAC_ADDR_TYPE_USER);
   tessel_sim_inject_fault("VSHYX_GetMACTable", &excType, "mac table gone");
   tessel_sim_inject_fault("VSHYX_GetMACEntry", &excType, "entry gone");
   tessel_sim_inject_fault("VSHYX_SetPortMACTable", &excType, "set gone");
   /* Changed between setjmp and the jumps back. */
   volatile int calls = 0;
   exception_status = setjmp(exception_buffer);
   if (exception_status == 0 || calls < 3) {
      calls = calls + 1;
      if (calls == 1)
         VSHYX_GetMACTable("switch0", VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE, &table);
      else if (calls == 2)
         VSHYX_GetMACEntry("switch0", records(e), 1, &result);
      else if (calls == 3)
         VSHYX_SetPortMACTable("switch0", "web-01.eth0", 1, records(e));
   }
   CHECK_EQ(calls, 3);
   CHECK(exceptionType == &excType);
   CHECK(exceptionMsg != nullptr && strcmp(exceptionMsg, "set gone") == 0);
   CHECK(table == reinterpret_cast<VSMACTable *>(0x1234));
   CHECK_EQ(result, 7);
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
   HYX_ReturnStatus status;
   CHECK_EQ(lookup("switch0", e.data(), 1, status), -1);
}

} // namespace

int main() {
   testViewsAgree();
   testSetAndClear();
   testPortLimit();
   testBadArguments();
   testScale();
   testAbandonedCall();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("mac_test");
}
