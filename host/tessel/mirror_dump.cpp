/* The mirror subsystem's state of a distributed switch as topology settings:
 * its sessions as the topology's list when that gives them back exactly,
 * else as the bytes of the session table the host hands out (in
 * hexadecimal), which the reader checks as the host checks a table a caller
 * gives. */
#include <string.h>

#include "dump_support.h"
#include "hostapi/ports.h"
#include "mirror_model.h"

namespace tessel {

void readMirrorTableSetting(Switch const &sw, Settings &in, MirrorState &state) {
   if (!in.has("table"))
      return;
   if (!sw.distributed)
      in.fail("only a distributed switch keeps mirror sessions", "table");
   if (in.has("sessions"))
      in.fail("the table lists every session", "sessions");
   std::string const text = in.text("table", "");
   std::vector<unsigned char> bytes(text.size() / 2);
   auto hex = [](char c) {
      return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
   };
   bool ok = text.size() % 2 == 0;
   for (size_t i = 0; ok && i < bytes.size(); ++i) {
      int const hi = hex(text[2 * i]), lo = hex(text[2 * i + 1]);
      ok = hi >= 0 && lo >= 0;
      bytes[i] = static_cast<unsigned char>(hi * 16 + lo);
   }
   if (!ok)
      in.fail("not a session table in lower-case hexadecimal", "table");
   /* The table's extent follows from its header: it must be all there. */
   DVMirrorSessionTable header;
   if (bytes.size() < sizeof header)
      in.fail("shorter than a session table's header", "table");
   memcpy(&header, bytes.data(), sizeof header);
   uint64_t const need = sizeof header + uint64_t{sizeof(DVMirrorSession)} * header.numSessions +
                         uint64_t{sizeof(DVMirrorEntity)} * header.numEntities +
                         uint64_t{sizeof(DVMirrorFilterRule)} * header.numFilterRules +
                         uint64_t{sizeof(DVMirrorIpPrefix)} * header.numFilterIPs;
   if (need != bytes.size())
      in.fail(std::to_string(bytes.size()) + " bytes, where its header gives " +
                  std::to_string(need),
              "table");
   if (readMirrorTable(bytes.data(), state.sessions, state.version) != HYX_OK)
      in.fail("the host refuses this session table", "table");
}

namespace {

/* The port an endpoint of the topology's form names: an uplink by name, any
 * other port by ID; empty for any other endpoint. */
std::string entityPort(Switch const &sw, DVMirrorEntity const &e) {
   if (e.type == MIRROR_ENTTYPE_UPLINK) {
      std::string const name(e.uplink.string, strnlen(e.uplink.string, sizeof e.uplink.string));
      Port const *port = sw.findPort(name.c_str());
      return port != nullptr && port->clientType == VS_PORT_CLIENT_UPLINK ? name : std::string();
   }
   if (e.type == MIRROR_ENTTYPE_PORT)
      for (auto const &port : sw.ports)
         if (port.id == e.portId && port.clientType != VS_PORT_CLIENT_UPLINK)
            return port.clientName;
   return std::string();
}

bool sameBytes(void const *a, void const *b, size_t n) { return memcmp(a, b, n) == 0; }

/* The session in the topology's "sessions" form when that form gives it back
 * byte for byte (ports mirrored both ways, whole frames, no filters), else
 * null. */
json readableSession(Switch const &sw, MirrorSession const &s) {
   DVMirrorSession const &r = s.record;
   if (!s.rules.empty() || !s.prefixes.empty() || r.numSrcInEntities != r.numSrcOutEntities ||
       s.entities.size() != uint64_t{r.numDstEntities} + 2 * uint64_t{r.numSrcInEntities})
      return nullptr;
   json destinations = json::array(), sources = json::array();
   for (size_t i = 0; i < s.entities.size(); ++i) {
      std::string const port = entityPort(sw, s.entities[i]);
      if (port.empty())
         return nullptr;
      if (i < r.numDstEntities)
         destinations.push_back(port);
      else if (i < r.numDstEntities + r.numSrcInEntities)
         sources.push_back(port);
   }
   std::string const name(r.dname, strnlen(r.dname, sizeof r.dname));
   json entry = {{"sid", s.sid()}, {"destinations", destinations}, {"sources", sources}};
   if (name != s.sid())
      entry["name"] = name;
   if (s.legacy())
      entry["legacy"] = true;
   if (!s.enabled())
      entry["enabled"] = false;
   try {
      Settings in(&entry, "");
      MirrorSession const again = topologySession(sw, in);
      DVMirrorSession a = again.record, b = r;
      a.startIdx = b.startIdx = 0;
      a.startRuleIdx = b.startRuleIdx = 0;
      if (!sameBytes(&a, &b, sizeof a) || again.entities.size() != s.entities.size())
         return nullptr;
      for (size_t i = 0; i < s.entities.size(); ++i)
         if (!sameBytes(&again.entities[i], &s.entities[i], sizeof s.entities[i]))
            return nullptr;
   } catch (TopologyError const &) {
      return nullptr;
   }
   return entry;
}

} // namespace

void MirrorComponent::dumpSwitch(Host const &, Switch const &sw, json &out,
                                 std::vector<json> &) const {
   MirrorState const &state = of(sw);
   if (!sw.distributed)
      return;
   /* Sessions a topology would write as a list are dumped so; any other
    * table goes as its bytes. */
   json sessions = json::array();
   for (auto const &s : state.sessions) {
      json entry = state.version == VS_DVMIRROR_VERSION_V4 ? readableSession(sw, s) : json();
      if (entry.is_null())
         break;
      sessions.push_back(std::move(entry));
   }
   if (sessions.size() == state.sessions.size()) {
      if (!sessions.empty())
         out["sessions"] = std::move(sessions);
      return;
   }
   std::vector<unsigned char> bytes(mirrorTableSize(state.sessions));
   writeMirrorTable(state.sessions, state.version, bytes.data());
   static char const digits[] = "0123456789abcdef";
   std::string text;
   text.reserve(2 * bytes.size());
   for (unsigned char b : bytes) {
      text.push_back(digits[b >> 4]);
      text.push_back(digits[b & 15]);
   }
   out["table"] = std::move(text);
}

} // namespace tessel
