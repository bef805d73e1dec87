/* MAC tables of the simulated libtessel.so beyond what the module's tests
 * see: static entries set and cleared in batches that succeed or change
 * nothing, the per-port limit, records read at any address, counts refused
 * before a record is read, tables that stay consistent at scale, and calls
 * abandoned through the guard without a leaked block or a change. */
#include <setjmp.h>
#include <string.h>

#include <string>
#include <vector>

#include "check.h"
#include "hostapi/guard_globals.h"
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

constexpr size_t kEntrySize = sizeof(VSMACEntry);
using Bytes = std::vector<unsigned char>;

/* A table handed out by the library, released when the test is done. */
struct Table {
   VSMACTable *table = nullptr;
   Table() = default;
   Table(Table const &) = delete;
   Table &operator=(Table const &) = delete;
   ~Table() { VSHYX_FreeMemory(table); }
   uint32_t size() const { return table != nullptr ? at<uint32_t>(table, 4) : 0; }
   unsigned char const *entry(uint32_t i) const {
      return reinterpret_cast<unsigned char const *>(table) + 8 + i * kEntrySize;
   }
};

uint32_t portOf(unsigned char const *e) { return at<uint32_t>(e, offsetof(VSMACEntry, portID)); }

/* Entries of addrType on a port. */
uint32_t countOn(char const *sw, char const *port, VSMACAddrType addrType) {
   Table t;
   CHECK_EQ(VSHYX_GetPortMACTable(sw, port, addrType, &t.table), HYX_OK);
   return t.size();
}

/* An entry naming an address, VLAN and type; rows joins several. */
Bytes entry(unsigned char last, uint16_t vid, unsigned type) {
   Bytes e(kEntrySize, 0);
   unsigned char const mac[6] = {0x02, 0xcc, 0x00, 0x00, 0x00, last};
   memcpy(e.data(), mac, 6);
   e[offsetof(VSMACEntry, macAddrType)] = static_cast<unsigned char>(type);
   check::put<uint16_t>(e.data(), offsetof(VSMACEntry, vid), vid);
   return e;
}

Bytes rows(std::vector<Bytes> const &entries) {
   Bytes out;
   for (auto const &e : entries)
      out.insert(out.end(), e.begin(), e.end());
   return out;
}

VSMACEntry const *records(Bytes const &bytes) {
   return reinterpret_cast<VSMACEntry const *>(bytes.data());
}

/* The port ID the switch finds an entry on (team side included), or -1. */
int lookup(char const *sw, unsigned char const *e) {
   int result = 12345;
   VSHYX_GetMACEntry(sw, reinterpret_cast<VSMACEntry const *>(e), 1, &result);
   return result;
}

uint32_t portId(char const *sw, char const *port) {
   VSPortInfo *info = nullptr;
   CHECK_EQ(VSHYX_GetPortInfo(sw, port, &info), HYX_OK);
   uint32_t id = info != nullptr ? at<uint32_t>(info, offsetof(VSPortInfo, portID)) : 0;
   VSHYX_FreeMemory(info);
   return id;
}

void testSetAndClearBatches() {
   auto const a = entry(1, 10, VS_MAC_ADDR_TYPE_USER);
   auto const b = entry(2, 10, VS_MAC_ADDR_TYPE_STATIC);
   auto const ab = rows({a, b});
   uint32_t const web = portId("switch0", "web-01.eth0");
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 2, records(ab)), HYX_OK);
   CHECK(lookup("switch0", a.data()) == static_cast<int>(web) &&
         lookup("switch0", b.data()) == static_cast<int>(web));

   /* An address static on another port refuses the whole batch. */
   auto const fresh = entry(4, 10, VS_MAC_ADDR_TYPE_USER);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "db-01.eth0", 2, records(rows({fresh, a}))),
            HYX_EXISTS);
   CHECK_EQ(lookup("switch0", fresh.data()), -1);

   /* A learned address is taken over from another port and marked so. */
   Table learned;
   CHECK_EQ(
       VSHYX_GetPortMACTable("switch0", "db-01.eth0", VS_MAC_ADDR_TYPE_LEARNED, &learned.table),
       HYX_OK);
   CHECK_EQ(learned.size(), 1);
   if (learned.size() == 1) {
      Bytes take(learned.entry(0), learned.entry(0) + kEntrySize);
      take[offsetof(VSMACEntry, macAddrType)] = VS_MAC_ADDR_TYPE_USER;
      CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 1, records(take)), HYX_OK);
      CHECK_EQ(countOn("switch0", "db-01.eth0", VS_MAC_ADDR_TYPE_LEARNED), 0);
      Table users;
      CHECK_EQ(VSHYX_GetPortMACTable("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_USER, &users.table),
               HYX_OK);
      bool overridden = false;
      for (uint32_t i = 0; i < users.size(); ++i)
         overridden = overridden || (memcmp(users.entry(i), take.data(), 6) == 0 &&
                                     users.entry(i)[offsetof(VSMACEntry, overrideEntry)] == 1);
      CHECK(overridden);
      /* A learned entry is not cleared as a static one. */
      Table webLearned;
      CHECK_EQ(VSHYX_GetPortMACTable("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_LEARNED,
                                     &webLearned.table),
               HYX_OK);
      CHECK(webLearned.size() > 0 &&
            VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 1,
                                    reinterpret_cast<VSMACEntry const *>(webLearned.entry(0))) ==
                HYX_NOT_FOUND);
   }

   /* Setting again updates in place; a repeated key counts once. */
   auto const aStatic = entry(1, 10, VS_MAC_ADDR_TYPE_STATIC);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 2, records(rows({aStatic, aStatic}))),
            HYX_OK);
   CHECK_EQ(countOn("switch0", "web-01.eth0", VS_MAC_ADDR_TYPE_USER), 1);

   /* Clearing is all or nothing, and only of the port's own static entries;
    * records at an odd address are read as well. */
   auto const absent = rows({a, entry(9, 10, VS_MAC_ADDR_TYPE_USER)});
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 2, records(absent)), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "db-01.eth0", 1, records(a)), HYX_NOT_FOUND);
   CHECK_EQ(lookup("switch0", a.data()), static_cast<int>(web));
   Bytes odd(1 + ab.size());
   memcpy(odd.data() + 1, ab.data(), ab.size());
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 2,
                                    reinterpret_cast<VSMACEntry const *>(odd.data() + 1)),
            HYX_OK);
   CHECK(lookup("switch0", a.data()) == -1 && lookup("switch0", b.data()) == -1);
   tessel_sim_reset();
}

/* A port holds at most VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX static entries,
 * its own address among them; updating entries it has stays allowed. */
void testPortLimit() {
   Bytes many(4096 * kEntrySize, 0);
   for (uint32_t i = 0; i < 4096; ++i) {
      unsigned char *e = many.data() + i * kEntrySize;
      unsigned char const mac[6] = {
          0x02, 0xdd, 0, static_cast<unsigned char>(i >> 8), static_cast<unsigned char>(i), 0x01};
      memcpy(e, mac, 6);
      e[offsetof(VSMACEntry, macAddrType)] = VS_MAC_ADDR_TYPE_USER;
   }
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 4096, records(many)),
            HYX_LIMIT_EXCEEDED);
   CHECK_EQ(countOn("switch0", "app-01.eth0", VS_MAC_ADDR_TYPE_ALL), 1);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 4095, records(many)), HYX_OK);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 1,
                                  records(entry(7, 0, VS_MAC_ADDR_TYPE_USER))),
            HYX_LIMIT_EXCEEDED);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "app-01.eth0", 3, records(many)), HYX_OK);
   tessel_sim_reset();
}

void testBadRecords() {
   /* A count above the limit is refused before a record is read. */
   unsigned char tiny[1] = {0};
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 4097,
                                  reinterpret_cast<VSMACEntry const *>(tiny)),
            HYX_LIMIT_EXCEEDED);
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 0xFFFFFFFFu, nullptr),
            HYX_LIMIT_EXCEEDED);
   CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 1, nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_ClearPortMACTable("switch0", "web-01.eth0", 0, nullptr), HYX_OK);
   Bytes const bad[] = {entry(5, 10, VS_MAC_ADDR_TYPE_LEARNED), entry(5, 10, 0xFF),
                        entry(5, 4096, VS_MAC_ADDR_TYPE_USER), Bytes(kEntrySize, 0)};
   for (auto const &e : bad)
      CHECK_EQ(VSHYX_SetPortMACTable("switch0", "web-01.eth0", 1, records(e)), HYX_BAD_PARAM);
   CHECK_EQ(lookup("switch0", bad[0].data()), -1);
   int result = 7;
   CHECK_EQ(VSHYX_GetMACEntry("switch0", nullptr, 1, &result), HYX_BAD_PARAM);
   CHECK_EQ(result, -1);
   CHECK_EQ(VSHYX_GetBridgedMACTableByID("switch0", 0, 4096, nullptr), HYX_BAD_PARAM);
}

/* A switch of 4096 ports and 131072 learned entries keeps its index and its
 * vector in step through changes (its speed is the benchmark's business). */
void testScale() {
   CHECK_EQ(tessel_sim_add_switch("bench-macs", 4096, 131072), 0);
   long const blocks = tessel_sim_outstanding_blocks();
   {
      for (int round = 0; round < 20; ++round) {
         auto const e = entry(static_cast<unsigned char>(round), 18, VS_MAC_ADDR_TYPE_USER);
         CHECK_EQ(VSHYX_SetPortMACTable("bench-macs", "vm-17.eth0", 1, records(e)), HYX_OK);
         if (round % 2 == 0)
            CHECK_EQ(VSHYX_ClearPortMACTable("bench-macs", "vm-17.eth0", 1, records(e)), HYX_OK);
      }
      Table all;
      CHECK_EQ(VSHYX_GetMACTable("bench-macs", VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE, &all.table),
               HYX_OK);
      CHECK_EQ(all.size(), 131072 + 4095 + 10);
      for (uint32_t i = 0; i < all.size(); i += 997)
         CHECK_EQ(lookup("bench-macs", all.entry(i)), portOf(all.entry(i)));
      CHECK_EQ(countOn("bench-macs", "vm-17.eth0", VS_MAC_ADDR_TYPE_ALL), 32 + 1 + 10);
   }
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
   tessel_sim_reset();
}

/* An abandoned call hands nothing out, writes nothing and changes nothing. */
void testAbandonedCalls() {
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
   CHECK_STR(exceptionMsg, "set gone");
   CHECK(table == reinterpret_cast<VSMACTable *>(0x1234));
   CHECK_EQ(result, 7);
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
   CHECK_EQ(lookup("switch0", e.data()), -1);
}

} // namespace

int main() {
   testSetAndClearBatches();
   testPortLimit();
   testBadRecords();
   testScale();
   testAbandonedCalls();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("mac_table_test");
}
