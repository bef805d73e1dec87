#include "mirror_model.h"

#include <stddef.h>
#include <string.h>

#include <algorithm>
#include <set>

#include "api_support.h"
#include "hostapi/ports.h"

namespace tessel {

TESSEL_COMPONENT(MirrorComponent, "mirror", "ports");

std::string MirrorSession::sid() const {
   return std::string(record.sid, strnlen(record.sid, sizeof record.sid));
}

namespace {

/* An endpoint named by a port of the switch: an uplink by its name, any
 * other port by its ID. */
DVMirrorEntity portEntity(Switch const &sw, Settings &in, std::string const &name,
                          char const *key) {
   Port const *port = sw.findPort(name.c_str());
   if (port == nullptr)
      in.fail("no port " + name + " on the switch", key);
   DVMirrorEntity e;
   memset(&e, 0, sizeof e);
   if (port->clientType == VS_PORT_CLIENT_UPLINK) {
      e.type = MIRROR_ENTTYPE_UPLINK;
      memcpy(e.uplink.string, port->clientName.data(),
             std::min(port->clientName.size(), sizeof e.uplink.string - 1));
   } else {
      e.type = MIRROR_ENTTYPE_PORT;
      e.portId = port->id;
   }
   return e;
}

void copyText(char *dst, size_t size, std::string const &text, Settings &in, char const *key) {
   if (text.empty() || text.size() >= size)
      in.fail("a text of 1 to " + std::to_string(size - 1) + " bytes", key);
   memcpy(dst, text.data(), text.size());
}

} // namespace

/* A session of the topology: its identifier, name, destination and source
 * ports (mirrored both ways) and whether it is legacy (promiscuous) or
 * disabled. */
MirrorSession topologySession(Switch const &sw, Settings &in) {
   MirrorSession s;
   copyText(s.record.sid, sizeof s.record.sid, in.text("sid", ""), in, "sid");
   copyText(s.record.dname, sizeof s.record.dname, in.text("name", in.text("sid", "")), in, "name");
   s.record.snapLen = VS_DVMIRROR_SNAPLEN_COMPLETE;
   s.record.samplingRate = 1;
   if (in.flag("legacy", false))
      s.record.flags |= VS_DVMIRROR_FLAG_LEGACY;
   if (!in.flag("enabled", true))
      s.record.flags |= VS_DVMIRROR_FLAG_DISABLED;
   auto destinations = in.texts("destinations").value_or(std::vector<std::string>{});
   auto sources = in.texts("sources").value_or(std::vector<std::string>{});
   for (auto const &name : destinations)
      s.entities.push_back(portEntity(sw, in, name, "destinations"));
   for (int pass = 0; pass < 2; ++pass) {
      for (auto const &name : sources)
         s.entities.push_back(portEntity(sw, in, name, "sources"));
   }
   s.record.numDstEntities = static_cast<uint32_t>(destinations.size());
   s.record.numSrcInEntities = static_cast<uint32_t>(sources.size());
   s.record.numSrcOutEntities = static_cast<uint32_t>(sources.size());
   return s;
}

void MirrorComponent::addSwitch(Host &, Switch const &sw, SwitchSettings &settings) {
   MirrorState state;
   std::set<std::string> sids;
   for (Settings *entry : settings.onSwitch.list("sessions")) {
      if (!sw.distributed)
         entry->fail("only a distributed switch keeps mirror sessions");
      MirrorSession s = topologySession(sw, *entry);
      if (!sids.insert(s.sid()).second)
         entry->fail("a second session " + s.sid(), "sid");
      state.sessions.push_back(std::move(s));
   }
   readMirrorTableSetting(sw, settings.onSwitch, state);
   if (state.sessions.size() > VS_DVMIRROR_SESSIONS_MAX)
      settings.onSwitch.fail("more than " + std::to_string(VS_DVMIRROR_SESSIONS_MAX) + " sessions",
                             "sessions");
   switches_.push_back(std::move(state));
}

namespace {

constexpr size_t kHeader = sizeof(DVMirrorSessionTable);
constexpr size_t kSession = sizeof(DVMirrorSession);
constexpr size_t kEntity = sizeof(DVMirrorEntity);
constexpr size_t kRule = sizeof(DVMirrorFilterRule);
constexpr size_t kPrefix = sizeof(DVMirrorIpPrefix);

template <typename T> T recordAt(unsigned char const *base, size_t offset) {
   T value;
   memcpy(&value, base + offset, sizeof value);
   return value;
}

} // namespace

HYX_ReturnStatus readMirrorTable(void const *block, std::vector<MirrorSession> &sessions,
                                 uint32_t &version) {
   if (block == nullptr)
      return HYX_BAD_PARAM;
   auto const *base = static_cast<unsigned char const *>(block);
   DVMirrorSessionTable header;
   memcpy(&header, base, kHeader);
   uint32_t const magic = header.magicNum;
   int32_t const tableVersion = rawValue<int32_t>(header.version);
   uint32_t const numSessions = header.numSessions;
   uint32_t const numEntities = header.numEntities;
   uint32_t const numRules = header.numFilterRules;
   uint32_t const numPrefixes = header.numFilterIPs;
   if (magic != VS_DVMIRROR_MAGIC_NUM || tableVersion < VS_DVMIRROR_VERSION_V1 ||
       tableVersion > VS_DVMIRROR_VERSION_V4 || numSessions > VS_DVMIRROR_SESSIONS_MAX ||
       numEntities > VS_DVMIRROR_ENTITIES_MAX)
      return HYX_BAD_PARAM;

   size_t const entityBase = kHeader + kSession * numSessions;
   size_t const ruleBase = entityBase + kEntity * numEntities;
   size_t const prefixBase = ruleBase + kRule * numRules;
   std::vector<MirrorSession> out;
   std::set<std::string> seen;
   out.reserve(numSessions);
   for (uint32_t i = 0; i < numSessions; ++i) {
      MirrorSession s;
      s.record = recordAt<DVMirrorSession>(base, kHeader + kSession * i);
      size_t const sidLen = strnlen(s.record.sid, sizeof s.record.sid);
      if (sidLen == 0 || sidLen == sizeof s.record.sid || !seen.insert(s.sid()).second)
         return HYX_BAD_PARAM;
      uint64_t const count = uint64_t{s.record.numDstEntities} + s.record.numSrcInEntities +
                             s.record.numSrcOutEntities;
      if (uint64_t{s.record.startIdx} + count > numEntities)
         return HYX_BAD_PARAM;
      for (uint64_t j = 0; j < count; ++j)
         s.entities.push_back(
             recordAt<DVMirrorEntity>(base, entityBase + kEntity * (s.record.startIdx + j)));
      uint32_t const firstRule = s.record.startRuleIdx;
      if (uint64_t{firstRule} + s.record.numFilterRules > numRules)
         return HYX_BAD_PARAM;
      /* The prefixes of the session's rules are copied as the one run they
       * span, so the rules keep their relative indexes. */
      uint32_t low = UINT32_MAX, high = 0;
      for (uint32_t r = 0; r < s.record.numFilterRules; ++r) {
         auto rule = recordAt<DVMirrorFilterRule>(base, ruleBase + kRule * (firstRule + r));
         uint64_t const end = uint64_t{rule.startIPIdx} + rule.numSrcIPs + rule.numDstIPs;
         if (end > numPrefixes)
            return HYX_BAD_PARAM;
         if (end > rule.startIPIdx) {
            low = std::min<uint32_t>(low, rule.startIPIdx);
            high = std::max<uint32_t>(high, static_cast<uint32_t>(end));
         }
         s.rules.push_back(rule);
      }
      if (low < high) {
         for (uint32_t p = low; p < high; ++p)
            s.prefixes.push_back(recordAt<DVMirrorIpPrefix>(base, prefixBase + kPrefix * p));
         for (auto &rule : s.rules)
            rule.startIPIdx = static_cast<hyx_uint16>(rule.startIPIdx - low);
      }
      out.push_back(std::move(s));
   }
   sessions = std::move(out);
   version = static_cast<uint32_t>(tableVersion);
   return HYX_OK;
}

size_t mirrorTableSize(std::vector<MirrorSession> const &sessions) {
   size_t size = kHeader;
   for (auto const &s : sessions)
      size += kSession + kEntity * s.entities.size() + kRule * s.rules.size() +
              kPrefix * s.prefixes.size();
   return size;
}

std::vector<unsigned char> const &sessionTable(MirrorState &state) {
   if (state.tableStale) {
      state.table.assign(mirrorTableSize(state.sessions), 0);
      writeMirrorTable(state.sessions, state.version, state.table.data());
      state.tableStale = false;
   }
   return state.table;
}

void writeMirrorTable(std::vector<MirrorSession> const &sessions, uint32_t version, void *block) {
   auto *base = static_cast<unsigned char *>(block);
   uint32_t entities = 0, rules = 0, prefixes = 0;
   for (auto const &s : sessions) {
      entities += static_cast<uint32_t>(s.entities.size());
      rules += static_cast<uint32_t>(s.rules.size());
      prefixes += static_cast<uint32_t>(s.prefixes.size());
   }
   DVMirrorSessionTable header;
   memset(&header, 0, sizeof header);
   header.magicNum = VS_DVMIRROR_MAGIC_NUM;
   header.version = static_cast<DVMirrorVersion>(version);
   header.numSessions = static_cast<uint32_t>(sessions.size());
   header.numEntities = entities;
   header.numFilterRules = static_cast<hyx_uint16>(rules);
   header.numFilterIPs = static_cast<hyx_uint16>(prefixes);
   memcpy(base, &header, kHeader);

   size_t const entityBase = kHeader + kSession * sessions.size();
   size_t const ruleBase = entityBase + kEntity * entities;
   size_t const prefixBase = ruleBase + kRule * rules;
   uint32_t e = 0, r = 0, p = 0;
   for (size_t i = 0; i < sessions.size(); ++i) {
      MirrorSession const &s = sessions[i];
      /* The record goes straight to its place and its two indices are
         written over it there (patching a copy first and copying that made
         every session wait on its own just-written fields). */
      unsigned char *record = base + kHeader + kSession * i;
      hyx_uint16 const startRule = static_cast<hyx_uint16>(r);
      memcpy(record, &s.record, kSession);
      memcpy(record + offsetof(DVMirrorSession, startIdx), &e, sizeof e);
      memcpy(record + offsetof(DVMirrorSession, startRuleIdx), &startRule, sizeof startRule);
      for (auto const &entity : s.entities)
         memcpy(base + entityBase + kEntity * e++, &entity, kEntity);
      for (auto rule : s.rules) {
         rule.startIPIdx = static_cast<hyx_uint16>(rule.startIPIdx + p);
         memcpy(base + ruleBase + kRule * r++, &rule, kRule);
      }
      for (auto const &prefix : s.prefixes)
         memcpy(base + prefixBase + kPrefix * p++, &prefix, kPrefix);
   }
}

} // namespace tessel
