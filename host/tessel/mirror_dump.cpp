/* The mirror subsystem's state of a distributed switch as topology settings:
 * its sessions exactly, as the bytes of the session table the host hands out
 * (in hexadecimal), which the reader checks as the host checks a table a
 * caller gives. */
#include <string.h>

#include "dump_support.h"
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

void MirrorComponent::dumpSwitch(Host const &, Switch const &sw, json &out,
                                 std::vector<json> &) const {
   MirrorState const &state = of(sw);
   if (!sw.distributed)
      return;
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
