/* The session tables the simulated libtessel.so takes and gives, beyond what
 * the module's tests reach: filter rules and prefixes survive a round trip
 * with their indexes renumbered, and blocks of random counts and contents
 * are accepted exactly when well formed, never read past the extent their
 * header gives (the sanitizer run checks the bound) and refused without a
 * change. */
#include <stdlib.h>
#include <string.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "check.h"
#include "hostapi/mirror.h"
#include "hostapi/status.h"

namespace {

using check::at;
using check::put;

constexpr char const *kSwitch = "dswitch0";
constexpr char const *kAlias = "dvs-prod";
constexpr size_t kHeader = sizeof(DVMirrorSessionTable);
constexpr size_t kSession = sizeof(DVMirrorSession);
constexpr size_t kEntity = sizeof(DVMirrorEntity);
constexpr size_t kRule = sizeof(DVMirrorFilterRule);
constexpr size_t kPrefix = sizeof(DVMirrorIpPrefix);

struct Counts {
   uint32_t sessions, entities, rules, prefixes;
   size_t size() const {
      return kHeader + kSession * sessions + kEntity * entities + kRule * rules +
             kPrefix * prefixes;
   }
   size_t session(uint32_t i) const { return kHeader + kSession * i; }
   size_t entity(uint32_t j) const { return kHeader + kSession * sessions + kEntity * j; }
   size_t rule(uint32_t r) const { return entity(entities) + kRule * r; }
   size_t prefix(uint32_t p) const { return rule(rules) + kPrefix * p; }
};

/* A block of exactly the header's extent, so any read past it is caught. */
unsigned char *newTable(Counts const &c, uint32_t version = VS_DVMIRROR_VERSION_V2) {
   auto *block = static_cast<unsigned char *>(calloc(1, c.size()));
   put<uint32_t>(block, 0, VS_DVMIRROR_MAGIC_NUM);
   put<uint32_t>(block, 4, version);
   put<uint32_t>(block, 8, c.sessions);
   put<uint32_t>(block, 12, c.entities);
   put<uint16_t>(block, 16, static_cast<uint16_t>(c.rules));
   put<uint16_t>(block, 18, static_cast<uint16_t>(c.prefixes));
   return block;
}

std::vector<unsigned char> currentTable() {
   DVMirrorSessionTable *table = nullptr;
   CHECK_EQ(VSDVS_GetDVMirrorSessions(kSwitch, kAlias, &table), HYX_OK);
   if (table == nullptr)
      return {};
   Counts const c{at<uint32_t>(table, 8), at<uint32_t>(table, 12), at<uint16_t>(table, 16),
                  at<uint16_t>(table, 18)};
   auto const *bytes = reinterpret_cast<unsigned char const *>(table);
   std::vector<unsigned char> copy(bytes, bytes + c.size());
   VSDVS_FreeMemory(table);
   return copy;
}

void setSession(unsigned char *block, Counts const &c, uint32_t i, char const *sid, uint32_t start,
                uint32_t dst, uint32_t in, uint32_t out, uint16_t firstRule, uint16_t rules) {
   size_t const s = c.session(i);
   memset(block + s, 0, 32);
   memcpy(block + s, sid, strnlen(sid, 32));
   put<uint32_t>(block, s + offsetof(DVMirrorSession, numDstEntities), dst);
   put<uint32_t>(block, s + offsetof(DVMirrorSession, numSrcInEntities), in);
   put<uint32_t>(block, s + offsetof(DVMirrorSession, numSrcOutEntities), out);
   put<uint32_t>(block, s + offsetof(DVMirrorSession, startIdx), start);
   put<uint16_t>(block, s + offsetof(DVMirrorSession, startRuleIdx), firstRule);
   put<uint16_t>(block, s + offsetof(DVMirrorSession, numFilterRules), rules);
}

void setRule(unsigned char *block, Counts const &c, uint32_t r, uint16_t firstIp, uint16_t src,
             uint16_t dst) {
   size_t const at = c.rule(r);
   put<uint16_t>(block, at + offsetof(DVMirrorFilterRule, startIPIdx), firstIp);
   put<uint16_t>(block, at + offsetof(DVMirrorFilterRule, numSrcIPs), src);
   put<uint16_t>(block, at + offsetof(DVMirrorFilterRule, numDstIPs), dst);
   put<uint16_t>(block, at + offsetof(DVMirrorFilterRule, protocol), static_cast<uint16_t>(6 + r));
}

/* Two sessions, each with its rules and prefixes laid out in order, come
 * back byte for byte; appended behind them, a table with its own rule 0 and
 * prefix 0 has both renumbered after the first table's. */
void testRulesRoundTrip() {
   Counts const c{2, 3, 3, 4};
   unsigned char *block = newTable(c);
   setSession(block, c, 0, "alpha", 0, 1, 1, 0, 0, 2);
   setSession(block, c, 1, "beta", 2, 1, 0, 0, 2, 1);
   setRule(block, c, 0, 0, 1, 1);
   setRule(block, c, 1, 2, 1, 0);
   setRule(block, c, 2, 3, 0, 1);
   for (uint32_t p = 0; p < c.prefixes; ++p)
      put<uint8_t>(block, c.prefix(p) + offsetof(DVMirrorIpPrefix, prefix_length),
                   static_cast<uint8_t>(8 * (p + 1)));
   for (uint32_t j = 0; j < c.entities; ++j)
      put<uint32_t>(block, c.entity(j), MIRROR_ENTTYPE_PORT);
   CHECK_EQ(
       VSDVS_SetDVMirrorSessions(kSwitch, kAlias, reinterpret_cast<DVMirrorSessionTable *>(block)),
       HYX_OK);
   std::vector<unsigned char> const got = currentTable();
   CHECK(got.size() == c.size() && memcmp(got.data(), block, c.size()) == 0);

   Counts const d{1, 0, 1, 1};
   unsigned char *more = newTable(d);
   setSession(more, d, 0, "gamma", 0, 0, 0, 0, 0, 1);
   setRule(more, d, 0, 0, 1, 0);
   put<uint8_t>(more, d.prefix(0) + offsetof(DVMirrorIpPrefix, prefix_length), 99);
   CHECK_EQ(VSDVS_AppendDVMirrorSessions(kSwitch, kAlias,
                                         reinterpret_cast<DVMirrorSessionTable *>(more)),
            HYX_OK);
   std::vector<unsigned char> const both = currentTable();
   Counts const e{3, 3, 4, 5};
   CHECK_EQ(both.size(), e.size());
   if (both.size() == e.size()) {
      CHECK_EQ(at<uint16_t>(both.data(), e.session(2) + offsetof(DVMirrorSession, startRuleIdx)),
               3);
      CHECK_EQ(at<uint16_t>(both.data(), e.rule(3) + offsetof(DVMirrorFilterRule, startIPIdx)), 4);
      CHECK_EQ(at<uint8_t>(both.data(), e.prefix(4) + offsetof(DVMirrorIpPrefix, prefix_length)),
               99);
   }
   free(block);
   free(more);
   CHECK_EQ(VSDVS_ClearDVMirrorSessions(kSwitch, kAlias), HYX_OK);
}

/* What the host must decide for a table, from its contract. */
bool wellFormed(unsigned char const *block, Counts const &c) {
   uint32_t const version = at<uint32_t>(block, 4);
   if (at<uint32_t>(block, 0) != VS_DVMIRROR_MAGIC_NUM || version < 1 || version > 4)
      return false;
   std::set<std::string> sids;
   for (uint32_t i = 0; i < c.sessions; ++i) {
      size_t const s = c.session(i);
      auto const *sid = reinterpret_cast<char const *>(block + s);
      size_t const len = strnlen(sid, 32);
      if (len == 0 || len == 32 || !sids.insert(std::string(sid, len)).second)
         return false;
      uint64_t const n = uint64_t{at<uint32_t>(block, s + 216)} + at<uint32_t>(block, s + 220) +
                         at<uint32_t>(block, s + 224);
      if (at<uint32_t>(block, s + 228) + n > c.entities)
         return false;
      uint32_t const first = at<uint16_t>(block, s + 159), rules = at<uint16_t>(block, s + 157);
      if (first + rules > c.rules)
         return false;
      for (uint32_t r = first; r < first + rules; ++r) {
         size_t const at = c.rule(r);
         if (uint32_t{check::at<uint16_t>(block, at)} + check::at<uint16_t>(block, at + 2) +
                 check::at<uint16_t>(block, at + 4) >
             c.prefixes)
            return false;
      }
   }
   return true;
}

/* Blocks of random counts and contents, biased towards the edges: each is
 * taken exactly when well formed; a refused one changes nothing. */
void testRandomTables() {
   std::mt19937 rng(12);
   auto pick = [&](uint32_t n) { return static_cast<uint32_t>(rng() % (n + 1)); };
   int taken = 0, refused = 0;
   for (int round = 0; round < 3000; ++round) {
      Counts const c{pick(4), pick(8), pick(3), pick(4)};
      unsigned char *block = newTable(c, pick(5));
      for (size_t b = kHeader; b < c.size(); ++b)
         block[b] = static_cast<unsigned char>(rng());
      if (pick(9) == 0)
         put<uint32_t>(block, 0, static_cast<uint32_t>(rng()));
      for (uint32_t i = 0; i < c.sessions; ++i) {
         char sid[33] = {0};
         snprintf(sid, sizeof sid, "s%u", pick(3));
         if (pick(20) == 0)
            memset(sid, 'x', 32);
         else if (pick(20) == 0)
            sid[0] = '\0';
         setSession(block, c, i, sid, pick(4), pick(2), pick(1), pick(1),
                    static_cast<uint16_t>(pick(2)), static_cast<uint16_t>(pick(1)));
      }
      for (uint32_t r = 0; r < c.rules; ++r)
         setRule(block, c, r, static_cast<uint16_t>(pick(3)), static_cast<uint16_t>(pick(1)),
                 static_cast<uint16_t>(pick(1)));
      bool const good = wellFormed(block, c);
      std::vector<unsigned char> const before = currentTable();
      HYX_ReturnStatus const status =
          pick(1) == 0 ? VSDVS_SetDVMirrorSessions(kSwitch, kAlias,
                                                   reinterpret_cast<DVMirrorSessionTable *>(block))
                       : VSDVS_AppendDVMirrorSessions(
                             kSwitch, kAlias, reinterpret_cast<DVMirrorSessionTable *>(block));
      if (!good) {
         CHECK_EQ(status, HYX_BAD_PARAM);
         CHECK(currentTable() == before);
         ++refused;
      } else if (status == HYX_OK) {
         ++taken;
      } else {
         /* Appending may clash with a session already there, or overflow. */
         CHECK(status == HYX_EXISTS || status == HYX_LIMIT_EXCEEDED);
         CHECK(currentTable() == before);
      }
      free(block);
      if (round % 16 == 0)
         CHECK_EQ(VSDVS_ClearDVMirrorSessions(kSwitch, kAlias), HYX_OK);
   }
   CHECK(taken > 100 && refused > 100);
   CHECK_EQ(VSDVS_ClearDVMirrorSessions(kSwitch, kAlias), HYX_OK);
}

} // namespace

int main() {
   testRulesRoundTrip();
   testRandomTables();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("mirror_test");
}
